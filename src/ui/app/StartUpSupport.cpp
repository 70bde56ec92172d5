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

namespace {

bool install(QCoreApplication& app, const QString& name, const QString& folder) {
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(name, folder)) {
        return false;
    }
    translator->setParent(&app);
    QCoreApplication::installTranslator(translator.release());
    return true;
}

} // namespace

void installSwedishQtTexts(QCoreApplication& app) {
    // The system's old catalogue first; the program's own, installed last, is asked first.
    install(app, QStringLiteral("qt_sv"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    const QString installed =
        QCoreApplication::applicationDirPath() + QStringLiteral("/../share/kvistoran/translations");
    if (!install(app, QStringLiteral("qtbase_sv"), installed)) {
        install(app, QStringLiteral("qtbase_sv"), QStringLiteral(KVISTORAN_BUILD_TRANSLATIONS));
    }
}

} // namespace kv::ui
