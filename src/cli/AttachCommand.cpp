#include "AttachCommand.h"

#include "CliCompany.h"

#include "BackupCommands.h"
#include "CliMessages.h"

#include "attachments/Attachments.h"
#include "storage/CompanyDatabase.h"
#include "storage/CompanyFiles.h"
#include "storage/FileIo.h"
#include "storage/OutputPaths.h"

#include <iostream>
#include <map>
#include <stdexcept>

namespace kv::cli {

const char* const kAttachHelp =
    R"(Underlag:
  kvistoran-cli attach FÖRETAG.bok VERNR FIL...
      Bifogar filerna (PDF, JPEG eller PNG, högst 50 MB var; slaget avgörs
      av filens innehåll) som underlag till verifikat VERNR i den öppna
      perioden och sparar företaget: filerna kopieras till mappen
      FÖRETAG_underlag/ och raderna skrivs i företagets databas, allt eller
      ingenting. Samma fil sparas bara en gång. Skriver en rad per nytt
      underlag: verifikat, filnamn, storlek i byte, SHA-256 och tid.
  kvistoran-cli attachments FÖRETAG.bok [VERNR] [--extract MAPP]
      Listar underlagen i den öppna perioden (eller verifikat VERNR:s) en
      rad per underlag, med tabb mellan fälten: verifikat, filnamn,
      storlek i byte, SHA-256 och när det bifogades. Med --extract skrivs
      en kopia av varje underlag till MAPP, med namn som
      0012-1-kvitto.pdf (verifikatet, underlagets nummer på verifikatet,
      filnamnet); en fil som redan finns där skrivs inte över.
)";

namespace {

class Refusal : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

std::int32_t voucherNumberOf(const std::string& text) {
    if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos ||
        std::stoi(text) <= 0) {
        throw Refusal("verifikatnumret skrivs med siffror, t.ex. 12: " + text);
    }
    return std::stoi(text);
}

void openCompanyOrRefuse(CTallvingeDoc& doc, const std::string& path) {
    const FileReport opened = openCompany(doc, path);
    if (!opened.ok) {
        std::string line;
        for (const std::string& message : opened.messages) {
            line += (line.empty() ? "" : ": ") + message;
        }
        throw Refusal(line);
    }
    if (!doc.hasOpenPeriod()) {
        throw Refusal("Företaget har ingen öppen period.");
    }
}

void printRecord(const AttachmentRecord& record) {
    std::cout << record.voucher << '\t' << record.fileName << '\t' << record.size << '\t' << record.sha256
              << '\t' << record.addedAt << '\n';
}

int attach(const std::vector<std::string>& args) {
    if (args.size() < 4) {
        throw Refusal("attach behöver FÖRETAG.bok, VERNR och minst en fil; se kvistoran-cli --help");
    }
    const std::string company = fullPath(args[1]);
    const std::int32_t voucher = voucherNumberOf(args[2]);
    const std::vector<std::string> files(args.begin() + 3, args.end());
    const auto lock = lockCompany(company, "attach");
    if (!lock) {
        return 1;
    }
    CTallvingeDoc doc;
    openCompanyOrRefuse(doc, company);
    AttachmentStoring storing(company);
    const std::vector<AttachmentRecord> records = attachToVoucher(doc, voucher, files, storing, localTimeNow);
    if (!records.empty()) {
        const FileReport saved = saveCompany(doc, company);
        if (!saved.ok) {
            std::string line;
            for (const std::string& message : saved.messages) {
                line += (line.empty() ? "" : ": ") + message;
            }
            throw Refusal(line); // the files this command stored go with storing
        }
        storing.keep();
        printNotes(saved.messages);
    }
    if (records.size() < files.size()) {
        std::cerr << "kvistoran-cli: " << files.size() - records.size()
                  << (files.size() - records.size() == 1 ? " fil fanns" : " filer fanns")
                  << " redan bland verifikatets underlag och bifogades inte igen.\n";
    }
    for (const AttachmentRecord& record : records) {
        printRecord(record);
    }
    return 0;
}

void extract(const CTallvingeDoc& doc, const std::vector<AttachmentRecord>& records,
             const std::string& folder) {
    if (!fileExists(folder)) {
        throw Refusal("Mappen finns inte: " + folder);
    }
    if (const auto refused = outputFolderRefusal(folder)) {
        throw Refusal(*refused);
    }
    // Every copy is checked before the first is written, so that a damaged
    // receipt stops the extraction before anything is written.
    std::vector<std::pair<std::string, std::string>> copies;
    std::map<std::int32_t, std::size_t> running;
    for (const AttachmentRecord& record : records) {
        const std::string name =
            extractedAttachmentName(record.voucher, ++running[record.voucher], record.fileName);
        const std::string target = folder + (folder.ends_with('/') ? "" : "/") + name;
        if (fileExists(target)) {
            throw Refusal("Filen finns redan och skrivs inte över: " + target);
        }
        if (const auto refused = outputRefusal(target, OutputKind::Receipt)) {
            throw Refusal(*refused);
        }
        copies.emplace_back(target, readStoredAttachment(doc.pathName(), record));
    }
    for (const auto& [target, bytes] : copies) {
        try {
            AtomicFileWriter file(target);
            file.write(bytes.data(), bytes.size());
            file.commit();
        } catch (const FileError& error) {
            throw Refusal("Underlaget kunde inte skrivas: " + target + ": " + error.reason());
        }
        std::cout << target << '\n';
    }
}

int list(const std::vector<std::string>& args) {
    std::optional<std::string> company;
    std::optional<std::int32_t> voucher;
    std::optional<std::string> extractTo;
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--extract") {
            if (i + 1 >= args.size() || extractTo) {
                throw Refusal("--extract behöver en mapp; se kvistoran-cli --help");
            }
            extractTo = args[++i];
        } else if (args[i].starts_with("--")) {
            throw Refusal("felaktiga argument till attachments; se kvistoran-cli --help");
        } else if (!company) {
            company = args[i];
        } else if (!voucher) {
            voucher = voucherNumberOf(args[i]);
        } else {
            throw Refusal("felaktiga argument till attachments; se kvistoran-cli --help");
        }
    }
    if (!company) {
        throw Refusal("attachments behöver FÖRETAG.bok; se kvistoran-cli --help");
    }
    settleBeforeReading(*company);
    CTallvingeDoc doc;
    openCompanyOrRefuse(doc, fullPath(*company));
    std::vector<AttachmentRecord> records =
        voucher ? voucherAttachments(doc, *voucher) : periodAttachments(doc);
    if (extractTo) {
        extract(doc, records, *extractTo);
        return 0;
    }
    for (const AttachmentRecord& record : records) {
        printRecord(record);
    }
    return 0;
}

} // namespace

std::optional<int> runAttachCommand(const std::vector<std::string>& args) {
    if (args.empty() || (args[0] != "attach" && args[0] != "attachments")) {
        return std::nullopt;
    }
    try {
        return args[0] == "attach" ? attach(args) : list(args);
    } catch (const Refusal& refusal) {
        return failWith(refusal.what());
    } catch (const AttachmentError& error) {
        return failWith(error.what());
    } catch (const DatabaseError& error) {
        return failWith(error.what());
    }
}

} // namespace kv::cli
