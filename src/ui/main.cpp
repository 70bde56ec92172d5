// kvistoran: the window program.
#include "KvistoranVersion.h"
#include "app/AppController.h"
#include "app/AppDialogViews.h"
#include "app/Icons.h"
#include "app/MainWindow.h"
#include "app/QtPrompter.h"
#include "app/RecentFilesStore.h"
#include "app/StartUp.h"
#include "app/StartUpSupport.h"
#include "storage/CompanyFiles.h"

#include <QApplication>

#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

int main(int argc, char* argv[]) {
    // Help and version need no display.
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "-h" || argument == "--help" || argument == "-v" || argument == "--version") {
            const bool help = argument == "-h" || argument == "--help";
            std::cout << (help ? kv::kCommandLineHelp : kv::kVersionText);
            return 0;
        }
    }
    kv::ui::preferSwedishDates();
    QApplication app(argc, argv);
    // Qt has put the runtime under the user's locale; numbers keep the decimal point.
    kv::setUserLocale();
    QCoreApplication::setOrganizationName(QStringLiteral("Kvistoran"));
    QCoreApplication::setApplicationName(QStringLiteral("Kvistoran"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KVISTORAN_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("kvistoran"));
    QApplication::setWindowIcon(kv::ui::programIcon());
    kv::ui::installSwedishQtTexts(app);
    kv::ui::installGridMessageBox();

    // The arguments left once Qt has taken its own, as the bytes the file system knows.
    std::vector<std::string> arguments(argv + 1, argv + argc);
    const kv::CommandLine commandLine = kv::readCommandLine(arguments);
    if (!commandLine.error.empty()) {
        std::cerr << commandLine.error << "\n" << kv::kCommandLineHelp;
        return 1;
    }

    kv::ui::QtPrompter prompter{kv::ui::programDialogViews()};
    // The only place that reads the environment: where the user's chart templates are.
    kv::AppController controller(prompter, kv::defaultTemplateFolder(std::getenv("KVISTORAN_MALLAR"),
                                                                     std::getenv("XDG_DATA_HOME"),
                                                                     std::getenv("HOME")));
    controller.setLinesPerPage(kv::linesPerPage(kv::ui::defaultPrinterMetrics()));
    controller.recentFiles() = kv::ui::loadRecentFiles();

    kv::ui::MainWindow window(controller);
    // A company named on the command line is opened and stays open.
    if (commandLine.company) {
        controller.openAtStartUp(*commandLine.company);
    }
    window.showMaximized();
    prompter.setParent(&window);
    return QApplication::exec();
}
