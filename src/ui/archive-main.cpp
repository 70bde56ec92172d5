// kvistoran-archive: writes the year's archive of a company as the window
// program prints it, without a window. kvistoran-cli archive runs it, so
// that the command-line tool itself stays free of Qt.
#include "KvistoranVersion.h"
#include "archive/ArchivePlan.h"
#include "archive/ArchiveRendering.h"
#include "storage/CompanyFiles.h"

#include <QApplication>

#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>

namespace {

// Qt's notes about the platform (no runtime folder, no display) are no concern
// of the user's; what goes wrong is told by the program itself.
void quietQt(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg) {
        std::cerr << message.toStdString() << '\n';
    }
}

int fail(const std::string& message) {
    std::cerr << "kvistoran-cli: " << message << '\n';
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    // No display is needed: the pages are drawn offscreen.
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    const std::vector<std::string> args(argv + 1, argv + argc);
    std::optional<int> period;
    if (args.size() == 4 && args[2] == "--period" && !args[3].empty() &&
        args[3].find_first_not_of("0123456789") == std::string::npos && args[3].size() < 6) {
        period = std::stoi(args[3]);
    } else if (args.size() != 2) {
        return fail("användning: kvistoran-cli archive FÖRETAG.bok UT.zip [--period N]");
    }
    qInstallMessageHandler(quietQt);
    QApplication app(argc, argv);
    try {
        kv::CTallvingeDoc doc;
        const kv::FileReport opened = kv::openArchiveBooks(doc, kv::fullPath(args[0]), period);
        if (!opened.ok) {
            std::string line;
            for (const std::string& message : opened.messages) {
                line += (line.empty() ? "" : ": ") + message;
            }
            return fail(line);
        }
        kv::ui::writeArchiveOf(doc, args[1], kv::archiveAttachments(doc));
    } catch (const std::exception& error) {
        return fail(error.what());
    }
    return 0;
}
