// What the program settles once when it starts.
#pragma once

#include "KvistoranVersion.h"
#include "reports/PageLayout.h"

#include <optional>
#include <string>
#include <vector>

namespace kv {

// The default printer's printable page height and the height of one line
// of its default font, both in the printer's device units.
struct PrinterMetrics {
    int printableHeight = 0;
    int lineHeight = 0;
};

// How many listing lines fit on a printed page: the lines of the printable
// height less five for the heading and the margin; the stand-in 20 without a
// printer or with metrics that describe no usable page.
PageLines linesPerPage(const std::optional<PrinterMetrics>& printer);

// Puts the runtime under the user's locale, except for numbers: amounts are
// written and read with a decimal point whatever the user's locale says.
void setUserLocale();

// What the command line asks for: a company to open, or help or the version.
struct CommandLine {
    bool help = false;
    bool version = false;
    std::optional<std::string> company;
    std::string error; // for the user, when the command line cannot be followed
};

// Reads the arguments after the program's name (the window system's own
// options already taken out).
CommandLine readCommandLine(const std::vector<std::string>& arguments);

inline constexpr const char* kCommandLineHelp = "Användning: kvistoran [FÖRETAG.bok]\n"
                                                "Startar Kvistoran. Ett företag som anges öppnas direkt.\n"
                                                "  -h, --help      Visar den här texten.\n"
                                                "  -v, --version   Visar programmets version.\n";
inline constexpr const char* kVersionText = "Kvistoran " KVISTORAN_VERSION "\n";

} // namespace kv
