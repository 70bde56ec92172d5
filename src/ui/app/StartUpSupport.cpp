#include "app/StartUpSupport.h"

#include "app/QtPrompter.h"
#include "grid/GridWidget.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QLibraryInfo>
#include <QLocale>
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

void preferSwedishDates() {
    // The time locale in force: LC_ALL over LC_TIME over LANG.
    QByteArray all = qgetenv("LC_ALL");
    const QByteArray time = !all.isEmpty()                         ? all
                            : qEnvironmentVariableIsSet("LC_TIME") ? qgetenv("LC_TIME")
                                                                   : qgetenv("LANG");
    if (time.startsWith("sv")) {
        return;
    }
    if (!all.isEmpty()) {
        // LC_ALL would overrule LC_TIME; it goes, its value staying for every other part.
        for (const char* part : {"LC_CTYPE", "LC_NUMERIC", "LC_COLLATE", "LC_MONETARY", "LC_MESSAGES"}) {
            qputenv(part, all);
        }
        qputenv("LANG", all);
        qunsetenv("LC_ALL");
    }
    qputenv("LC_TIME", "sv_SE.UTF-8");
}

void installSwedishQtTexts(QCoreApplication& app) {
    QLocale::setDefault(QLocale(QLocale::Swedish, QLocale::Sweden));
    // The system's old catalogue first; the program's own, installed last, is asked first.
    install(app, QStringLiteral("qt_sv"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    const QString installed =
        QCoreApplication::applicationDirPath() + QStringLiteral("/../share/kvistoran/translations");
    if (!install(app, QStringLiteral("qtbase_sv"), installed)) {
        install(app, QStringLiteral("qtbase_sv"), QStringLiteral(KVISTORAN_BUILD_TRANSLATIONS));
    }
}

void installGridMessageBox() {
    GridWidget::setMessageBox([](QWidget* over, const std::string& text) {
        QtPrompter prompter;
        prompter.setParent(over);
        prompter.message(text);
    });
}

} // namespace kv::ui
