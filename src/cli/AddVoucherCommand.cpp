#include "AddVoucherCommand.h"

#include "CliCompany.h"

#include "CliPrompter.h"
#include "storage/CompanyFiles.h"
#include "storage/FileIo.h"
#include "voucher/NewVoucherCheck.h"
#include "voucher/VoucherFormModel.h"
#include "voucher/VoucherLayout.h"
#include "voucher/VoucherTexts.h"

#include <algorithm>
#include <iostream>
#include <optional>

namespace kv::cli {

const char* const kAddVoucherHelp =
    R"(  kvistoran-cli add-voucher FIL.bok --date ÅÅÅÅ-MM-DD --text TEXT RAD... [--allow-difference]
      Registrerar ett verifikat i den öppna perioden så som verifikatdialogen
      gör det, med samma kontroller och meddelanden, och sparar företaget.
      Varje RAD skrivs KONTO:D:BELOPP[:RADTEXT] för debet eller
      KONTO:K:BELOPP[:RADTEXT] för kredit; beloppet med komma eller punkt.
      Utan RADTEXT får raden verifikatets text. Ett verifikat med differens
      registreras bara med --allow-difference. Verifikatets nummer skrivs på
      standard ut.
)";

namespace {

struct TypedLine {
    std::string account;
    bool debit = true;
    std::string amount;
    std::string text;
};

struct Request {
    std::string company;
    std::string date;
    std::string text;
    bool allowDifference = false;
    std::vector<TypedLine> lines;
};

// Tells what went wrong, as the user of the dialog would have been told, and fails.
int refuse(const std::vector<std::string>& said) {
    std::vector<std::string> told;
    for (const std::string& text : said) {
        if (std::find(told.begin(), told.end(), text) == told.end()) {
            told.push_back(text);
        }
    }
    if (told.empty()) {
        told.emplace_back("Verifikatet registrerades inte.");
    }
    for (const std::string& text : told) {
        std::cerr << "kvistoran-cli: " << text << '\n';
    }
    return 1;
}

int refuse(const std::string& text) {
    return refuse(std::vector<std::string>{text});
}

std::optional<TypedLine> readLine(const std::string& arg) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (parts.size() < 3) {
        const std::size_t colon = arg.find(':', start);
        if (colon == std::string::npos) {
            break;
        }
        parts.push_back(arg.substr(start, colon - start));
        start = colon + 1;
    }
    parts.push_back(arg.substr(start)); // the line text may hold colons itself
    if (parts.size() < 3 || (parts[1] != "D" && parts[1] != "K" && parts[1] != "d" && parts[1] != "k")) {
        return std::nullopt;
    }
    return TypedLine{parts[0], parts[1] == "D" || parts[1] == "d", parts[2],
                     parts.size() > 3 ? parts[3] : ""};
}

std::optional<Request> readRequest(const std::vector<std::string>& args, std::string& error) {
    Request request;
    bool haveDate = false;
    bool haveText = false;
    std::vector<std::string> positional;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--allow-difference") {
            request.allowDifference = true;
        } else if ((arg == "--date" || arg == "--text") && i + 1 < args.size()) {
            (arg == "--date" ? request.date : request.text) = args[++i];
            (arg == "--date" ? haveDate : haveText) = true;
        } else if (arg.starts_with("--")) {
            error = "okänt argument till add-voucher: " + arg + "; se kvistoran-cli --help";
            return std::nullopt;
        } else {
            positional.push_back(arg);
        }
    }
    if (positional.empty() || !haveDate || !haveText) {
        error = "add-voucher behöver en företagsfil, --date och --text; se kvistoran-cli --help";
        return std::nullopt;
    }
    request.company = positional.front();
    for (std::size_t i = 1; i < positional.size(); ++i) {
        const auto line = readLine(positional[i]);
        if (!line) {
            error = "raden skrivs KONTO:D:BELOPP[:RADTEXT] eller KONTO:K:BELOPP[:RADTEXT]: " + positional[i];
            return std::nullopt;
        }
        request.lines.push_back(*line);
    }
    if (request.lines.size() > static_cast<std::size_t>(kVoucherRows)) {
        error = "ett verifikat har högst " + std::to_string(kVoucherRows) + " rader";
        return std::nullopt;
    }
    return request;
}

// "2025-03-05" as the three date fields; the dialog's own rules judge the values.
bool setDate(VoucherFormModel& form, const std::string& date) {
    if (date.size() != 10 || date[4] != '-' || date[7] != '-') {
        return false;
    }
    const std::string year = date.substr(0, 4);
    const std::string month = date.substr(5, 2);
    const std::string day = date.substr(8, 2);
    const auto digits = [](const std::string& part) {
        return std::all_of(part.begin(), part.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    if (!digits(year) || !digits(month) || !digits(day)) {
        return false;
    }
    form.setFieldText(VoucherField::TransDay, day);
    form.setFieldText(VoucherField::TransMonth, month);
    form.setFieldText(VoucherField::TransYear, year);
    return true;
}

bool isDifferenceQuestion(const std::string& text) {
    return text == kAskDifferens || text.starts_with(kAskDifferensIgen);
}

// Types the lines into the dialog's grid as a user would, row by row.
bool typeLines(VoucherFormModel& form, const Request& request) {
    std::int32_t row = 1;
    for (const TypedLine& line : request.lines) {
        const std::string& text = line.text.empty() ? request.text : line.text;
        if (!form.typeCell({row, kColKonto}, line.account) || !form.typeCell({row, kColRadtext}, text) ||
            !form.typeCell({row, line.debit ? kColDebet : kColKredit}, line.amount)) {
            return false;
        }
        ++row;
    }
    return true;
}

} // namespace

int addVoucher(const std::vector<std::string>& args) {
    std::string error;
    const auto request = readRequest(args, error);
    if (!request) {
        return refuse(error);
    }
    const auto lock = lockCompany(request->company, "add-voucher");
    if (!lock) {
        return 1;
    }
    CTallvingeDoc doc;
    const FileReport opened = openCompany(doc, fullPath(request->company));
    if (!opened.ok) {
        return refuse(opened.messages);
    }
    bool differenceAsked = false;
    CliPrompter prompter([&](const std::string& question) {
        if (isDifferenceQuestion(question)) {
            differenceAsked = true;
        }
        return !differenceAsked || request->allowDifference ? Answer::Ok : Answer::Cancel;
    });
    // The tool shows no voucher dialog but the one it types into below.
    if (checkNewVoucher(doc, prompter, false) != NewVoucherOutcome::Ready) {
        return refuse(prompter.said);
    }
    std::optional<std::int32_t> number;
    {
        VoucherFormModel form(doc, prompter);
        if (!setDate(form, request->date)) {
            return refuse("datumet skrivs ÅÅÅÅ-MM-DD: " + request->date);
        }
        form.setFieldText(VoucherField::Vertext, request->text);
        if (!typeLines(form, *request)) {
            return refuse(prompter.said);
        }
        const std::size_t beforeOk = prompter.said.size();
        if (!form.ok()) {
            std::vector<std::string> said(prompter.said.begin() + static_cast<std::ptrdiff_t>(beforeOk),
                                          prompter.said.end());
            if (differenceAsked && !request->allowDifference) {
                said.push_back("Verifikatet har en differens på " + form.differenceText() +
                               " och registreras inte utan --allow-difference.");
            }
            return refuse(said);
        }
        number = form.registeredNumber();
    }
    const FileReport saved = saveCompany(doc, fullPath(request->company));
    if (!saved.ok) {
        return refuse(saved.messages);
    }
    // The warnings of an unusual posting did not stop the voucher; they are still told.
    for (const std::string& text : prompter.said) {
        std::cerr << "kvistoran-cli: " << text << '\n';
    }
    std::cout << number.value_or(0) << '\n';
    return 0;
}

} // namespace kv::cli
