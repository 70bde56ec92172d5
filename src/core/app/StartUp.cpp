#include "app/StartUp.h"

#include <clocale>

namespace kv {

PageLines linesPerPage(const std::optional<PrinterMetrics>& printer) {
    if (!printer || printer->lineHeight <= 0 || printer->printableHeight <= 0) {
        return {};
    }
    const int lines = printer->printableHeight / printer->lineHeight - 5;
    return lines > 0 ? PageLines{lines, true} : PageLines{};
}

void setUserLocale() {
    std::setlocale(LC_ALL, "");
    std::setlocale(LC_NUMERIC, "C");
}

CommandLine readCommandLine(const std::vector<std::string>& arguments) {
    CommandLine line;
    bool optionsEnded = false;
    for (const std::string& argument : arguments) {
        if (!optionsEnded && argument == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && (argument == "-h" || argument == "--help")) {
            line.help = true;
        } else if (!optionsEnded && (argument == "-v" || argument == "--version")) {
            line.version = true;
        } else if (!optionsEnded && argument.size() > 1 && argument.front() == '-') {
            line.error = "Okänt val: " + argument;
            return line;
        } else if (line.company) {
            line.error = "Ange högst ett företag.";
            return line;
        } else {
            line.company = argument;
        }
    }
    return line;
}

} // namespace kv
