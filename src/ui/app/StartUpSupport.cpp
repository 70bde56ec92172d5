#include "app/StartUpSupport.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QLibraryInfo>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTranslator>

#include <memory>

namespace kv::ui {

std::optional<PrinterMetrics> defaultPrinterMetrics() {
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) {
        return std::nullopt;
    }
    QPrinter printer(info, QPrinter::HighResolution);
    const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
    const QFontMetrics metrics(QFont(), &printer);
    return PrinterMetrics{page.height(), metrics.height()};
}

void installSwedishQtTexts(QCoreApplication& app) {
    auto translator = std::make_unique<QTranslator>();
    if (translator->load(QStringLiteral("qt_sv"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        translator->setParent(&app);
        QCoreApplication::installTranslator(translator.release());
    }
}

} // namespace kv::ui
