// kvistoran-cli: looks into and converts company files from the command line.
#include "DumpJson.h"
#include "storage/CompanyFiles.h"

#include <iostream>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr const char* kHelp =
    R"(Användning:
  kvistoran-cli dump FIL
      Skriver FIL som JSON på standard ut. FIL är en företagsfil (.bok), en
      periodfil (.per) eller en mallfil (.mal); filändelsen avgör vilken.
  kvistoran-cli resave IN.bok UT.bok
      Läser företaget i IN.bok och sparar det som UT.bok så som programmet
      sparar: företagsfilen och den öppna periodens fil i UT:s periodmapp.
  kvistoran-cli --help
      Visar den här texten.

En felaktig fil eller ett felaktigt argument ger en rad på standard fel och
slutstatus 1; då skrivs ingenting.
)";

int failWith(const std::string& message) {
    std::string line = message;
    for (char& c : line) {
        if (c == '\n') {
            c = ' ';
        }
    }
    std::cerr << "kvistoran-cli: " << line << '\n';
    return 1;
}

std::string joined(const std::vector<std::string>& messages) {
    std::string out;
    for (const auto& message : messages) {
        out += (out.empty() ? "" : ": ") + message;
    }
    return out;
}

bool endsWith(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

int dump(const std::string& path) {
    kv::Json json;
    std::string error;
    if (endsWith(path, ".bok")) {
        error = kv::readArchiveAt(path, [&json](kv::ArchiveReader& in) {
            json = kv::companyToJson(kv::readCompanyArchive(in));
        });
    } else if (endsWith(path, ".per")) {
        error = kv::readArchiveAt(path, [&json](kv::ArchiveReader& in) {
            const std::string owner = kv::readPeriodArchiveOwner(in);
            json = kv::periodToJson(owner, kv::readPeriodArchiveBody(in));
        });
    } else if (endsWith(path, ".mal")) {
        error = kv::readArchiveAt(path, [&json](kv::ArchiveReader& in) {
            json = kv::templatesToJson(kv::readTemplateArchive(in));
        });
    } else {
        return failWith("okänd filtyp: " + path + " (väntade .bok, .per eller .mal)");
    }
    if (!error.empty()) {
        return failWith(path + ": " + error);
    }
    std::cout << json.dump(2) << '\n';
    return 0;
}

int resave(const std::string& in, const std::string& out) {
    kv::CTallvingeDoc doc;
    const kv::FileReport opened = kv::openCompany(doc, in);
    if (!opened.ok) {
        return failWith(joined(opened.messages));
    }
    const kv::FileReport saved = kv::saveCompany(doc, out);
    if (!saved.ok) {
        return failWith(joined(saved.messages));
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        std::cerr << kHelp;
        return 1;
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        std::cout << kHelp;
        return 0;
    }
    try {
        if (args[0] == "dump" && args.size() == 2) {
            return dump(args[1]);
        }
        if (args[0] == "resave" && args.size() == 3) {
            return resave(args[1], args[2]);
        }
    } catch (const std::exception& error) {
        return failWith(error.what());
    }
    return failWith("felaktiga argument; se kvistoran-cli --help");
}
