#include "ArchiveCli.h"

#include "CliCompany.h"
#include "storage/CompanyFiles.h"
#include "storage/OutputPaths.h"

#include "CliMessages.h"
#include "archive/ArchiveVerify.h"
#include "archive/YearArchive.h"

#include <iostream>
#include <unistd.h>

namespace kv::cli {

const char* const kArchiveHelp =
    R"(Årsarkiv:
  kvistoran-cli archive FÖRETAG.bok UT.zip [--period N]
      Skriver periodens årsarkiv till UT.zip: alla rapporter som PDF/A-filer
      (grundbok, huvudbok, råbalans, resultaträkning, balansräkning och
      momsrapport per kvartal), periodens SIE-fil, verifikatens underlag och
      manifest.json med varje fils SHA-256 och storlek. N är periodens nummer
      i listan som "periods" visar, räknat från 1 (förval: den öppna
      perioden). UT.zip skrivs hel eller inte alls; företagets filer ändras
      inte.
  kvistoran-cli verify-archive ARKIV.zip
      Kontrollerar att varje fil i ARKIV.zip stämmer med manifest.json och
      att arkivet inte har några filer utöver dem. Slutstatus 0 bara när
      allt stämmer.
)";

namespace {

constexpr const char* kArchiveProgram = "kvistoran-archive";

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

// The archive program: beside the tool, in the build tree's window program
// folder, or installed under libexec.
std::optional<std::string> archiveProgram() {
    std::string self(4096, '\0');
    const ssize_t length = ::readlink("/proc/self/exe", self.data(), self.size() - 1);
    if (length <= 0) {
        return std::nullopt;
    }
    self.resize(static_cast<std::size_t>(length));
    const std::string folder = folderOf(self);
    for (const std::string& candidate : {folder + "/" + kArchiveProgram, folder + "/../ui/" + kArchiveProgram,
                                         folder + "/../libexec/kvistoran/" + kArchiveProgram}) {
        if (::access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
    }
    return std::nullopt;
}

bool isPeriodNumber(const std::string& text) {
    return !text.empty() && text.size() < 6 && text.find_first_not_of("0123456789") == std::string::npos;
}

int archive(const std::vector<std::string>& args) {
    const bool plain = args.size() == 3;
    const bool withPeriod = args.size() == 5 && args[3] == "--period" && isPeriodNumber(args[4]);
    if (!plain && !withPeriod) {
        return failWith("felaktiga argument; se kvistoran-cli --help");
    }
    if (const auto refused = outputRefusal(fullPath(args[2]), OutputKind::Zip)) {
        return failWith(*refused);
    }
    settleBeforeReading(args[1]);
    const auto program = archiveProgram();
    if (!program) {
        return failWith("Programmet kvistoran-archive, som ritar arkivets rapporter, finns inte bredvid "
                        "kvistoran-cli. Installera om Kvistoran.");
    }
    std::vector<std::string> forwarded = {*program};
    forwarded.insert(forwarded.end(), args.begin() + 1, args.end());
    std::vector<char*> argv;
    for (std::string& arg : forwarded) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    ::execv(program->c_str(), argv.data());
    return failWith("Kan ej starta " + *program);
}

int verify(const std::string& path) {
    const ArchiveCheck check = verifyArchive(path);
    for (const std::string& problem : check.problems) {
        std::cout << problem << '\n';
    }
    if (!check.ok) {
        return failWith(path + ": " + std::to_string(check.problems.size()) +
                        (check.problems.size() == 1 ? " fil stämmer inte" : " filer stämmer inte") +
                        " med manifest.json");
    }
    std::cout << "Alla " << check.filesChecked << " filer stämmer med manifest.json.\n";
    return 0;
}

} // namespace

std::optional<int> runArchiveCommand(const std::vector<std::string>& args) {
    if (args.empty()) {
        return std::nullopt;
    }
    if (args[0] == "archive") {
        return archive(args);
    }
    if (args[0] == "verify-archive") {
        if (args.size() != 2) {
            return failWith("felaktiga argument; se kvistoran-cli --help");
        }
        return verify(args[1]);
    }
    return std::nullopt;
}

} // namespace kv::cli
