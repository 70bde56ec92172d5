#include "ReportCommand.h"

#include "budget/BudgetReport.h"
#include "reports/MonthRangeModel.h"
#include "reports/PdfWriter.h"
#include "reports/ReportKinds.h"
#include "reports/ReportText.h"
#include "reports/VatReport.h"
#include "storage/CompanyFiles.h"
#include "storage/FileIo.h"

#include <nlohmann/json.hpp>

#include <cstdio>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>

namespace kv::cli {

namespace {

// A refusal of the command line, with its one line for the user.
class Refusal : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

using Kind = ReportKind;
enum class Format { Text, Csv, Json, Pdf };

struct Request {
    Kind kind = Kind::TrialBalance;
    bool budget = false; // "Budget och utfall", which stands on the income statement
    std::string company;
    std::optional<YearMonth> from;
    std::optional<YearMonth> to;
    std::optional<std::int32_t> account;
    Format format = Format::Text;
    std::optional<std::string> out;
};

YearMonth yearMonth(const std::string& text) {
    const bool shaped = text.size() == 7 && text[4] == '-' &&
                        text.find_first_not_of("0123456789-") == std::string::npos &&
                        text.find('-', 5) == std::string::npos;
    const int month = shaped ? std::stoi(text.substr(5)) : 0;
    if (!shaped || month < 1 || month > 12) {
        throw Refusal("månaden skrivs ÅÅÅÅ-MM, t.ex. 2012-03: " + text);
    }
    return {std::stoi(text.substr(0, 4)), month};
}

Request readRequest(const std::vector<std::string>& args) {
    static const std::map<std::string, Kind> kinds = {
        {"journal", Kind::Journal}, {"ledger", Kind::Ledger},   {"trial-balance", Kind::TrialBalance},
        {"income", Kind::Income},   {"balance", Kind::Balance}, {"vat", Kind::Vat}};
    static const std::map<std::string, Format> formats = {
        {"text", Format::Text}, {"csv", Format::Csv}, {"json", Format::Json}, {"pdf", Format::Pdf}};
    if (args.size() < 3) {
        throw Refusal("report behöver ett slag och en företagsfil; se kvistoran-cli --help");
    }
    Request request;
    const auto kind = kinds.find(args[1]);
    request.budget = args[1] == "budget";
    if (kind == kinds.end() && !request.budget) {
        throw Refusal("okänt slag av rapport: " + args[1] +
                      " (journal, ledger, trial-balance, income, balance, vat eller budget)");
    }
    request.kind = request.budget ? Kind::Income : kind->second;
    request.company = args[2];
    for (std::size_t i = 3; i < args.size(); i += 2) {
        const std::string& option = args[i];
        if (i + 1 >= args.size()) {
            throw Refusal(option + " saknar sitt värde; se kvistoran-cli --help");
        }
        const std::string& value = args[i + 1];
        if (option == "--from") {
            request.from = yearMonth(value);
        } else if (option == "--to") {
            request.to = yearMonth(value);
        } else if (option == "--account") {
            const std::int32_t number = readWholeNumber(value);
            if (number <= 0 || value.find_first_not_of("0123456789") != std::string::npos) {
                throw Refusal("kontonumret ska vara ett heltal över 0: " + value);
            }
            request.account = number;
        } else if (option == "--format") {
            const auto format = formats.find(value);
            if (format == formats.end()) {
                throw Refusal("okänt format: " + value + " (text, csv, json eller pdf)");
            }
            request.format = format->second;
        } else if (option == "--out") {
            request.out = value;
        } else {
            throw Refusal("okänt val: " + option + "; se kvistoran-cli --help");
        }
    }
    if (request.from.has_value() != request.to.has_value()) {
        throw Refusal("--from och --to anges tillsammans");
    }
    if (request.account && request.kind != Kind::Ledger) {
        throw Refusal("--account gäller bara ledger");
    }
    return request;
}

// The momsrapport's months: those asked for (the whole period too), else the
// last quarter with vouchers.
std::optional<VatRange> vatRange(const Request& request) {
    if (request.kind != Kind::Vat || !request.from) {
        return std::nullopt;
    }
    return VatRange{*request.from, *request.to, false};
}

void applyMonths(CTallvingeDoc& doc, const Request& request) {
    if (!request.from) {
        return;
    }
    if (!doc.hasOpenPeriod()) {
        throw Refusal("företaget har ingen period att välja månader i");
    }
    const MonthRangeChoice choice = chooseMonths(doc, *request.from, *request.to);
    if (choice.refusal) {
        throw Refusal(*choice.refusal);
    }
    if (request.kind != Kind::Vat) {
        doc.setMonthRange(choice.range);
    }
}

std::vector<ListingPage> printedPages(const CTallvingeDoc& doc, const Request& request) {
    if (!hasListing(request.kind) && !request.budget) {
        throw Refusal("resultat- och balansräkningen skrivs ut från sina fönster; välj text, csv eller json");
    }
    const PrintDevice device = a4PdfDevice();
    const HelveticaMeasurer measurer;
    const Listing listing = request.budget ? budgetReportListing(buildBudgetReport(doc), doc, device)
                            : request.kind == Kind::Vat
                                ? vatReportListing(buildVatReport(doc, vatRange(request)), doc, device)
                                : reportListing(doc, request.kind, device);
    const int perPage = linesPerPageOn(device);
    const int pages = pageCount(listing.size(), perPage);
    std::vector<ListingPage> out;
    out.reserve(static_cast<std::size_t>(pages));
    for (int page = 1; page <= pages; ++page) {
        out.push_back(layoutListingPage(listing, device, measurer, perPage, page));
    }
    return out;
}

const char* title(const Request& request) {
    return request.budget ? kBudgetReportTitle : reportTitle(request.kind);
}

std::string rendered(const CTallvingeDoc& doc, const Request& request) {
    if (request.format == Format::Pdf) {
        return pdfDocument(printedPages(doc, request), title(request));
    }
    if (request.account && !doc.hasAccount(*request.account)) {
        throw Refusal("kontot " + std::to_string(*request.account) + " finns inte i kontoplanen");
    }
    std::vector<ReportForm> forms;
    std::optional<VatReport> vat;
    if (request.budget) {
        forms = {budgetReportForm(buildBudgetReport(doc))};
    } else if (request.kind == Kind::Vat) {
        vat = buildVatReport(doc, vatRange(request));
        ReportForm title;
        title.lines.push_back(
            {0, {{reportTitle(request.kind), -1, 0, TextAlign::Left, std::nullopt, false}}});
        forms = {title, vatReportForm(*vat, ScreenMeasures{})};
    } else {
        forms = reportForms(doc, request.kind, request.account);
    }
    std::string out;
    if (request.format == Format::Json) {
        nlohmann::ordered_json json;
        json["rapport"] = title(request);
        json["period"] = doc.periodLabel();
        if (vat && vat->shown) {
            json["månader"] = vatRangeText(vat->range);
            // The sums as numbers in öre, and the return's boxes, for programs that read them.
            json["utgående moms"] = {{"bokförd", vat->outputBooked}, {"beräknad", vat->outputImplied}};
            json["ingående moms"] = {{"bokförd", vat->inputBooked}, {"beräknad", vat->inputImplied}};
            json["moms att betala"] = vat->toPay();
            json["rutor"] = nlohmann::ordered_json::array();
            for (const VatBox& box : vat->boxes) {
                json["rutor"].push_back(
                    {{"ruta", box.code}, {"text", box.label}, {"kronor", box.kronor}, {"öre", box.exact}});
            }
        }
        json["delar"] = nlohmann::ordered_json::array();
        for (const ReportForm& form : forms) {
            json["delar"].push_back({{"kolumner", form.columns}, {"rader", formRecords(form)}});
        }
        return json.dump(2) + "\n";
    }
    for (const ReportForm& form : forms) {
        out += request.format == Format::Csv ? formAsCsv(form) : formAsText(form);
    }
    return out;
}

void write(const std::string& bytes, const std::optional<std::string>& out) {
    if (!out) {
        if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size() || std::fflush(stdout) != 0) {
            throw Refusal("kunde inte skriva till standard ut");
        }
        return;
    }
    try {
        AtomicFileWriter file(fullPath(*out));
        file.write(bytes.data(), bytes.size());
        file.commit();
    } catch (const FileError& error) {
        throw Refusal("Kan ej skriva till filen " + *out + ": " + error.reason());
    }
}

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KV_LEAK_CHECKED 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define KV_LEAK_CHECKED 1
#endif

// The process ends with the report, and the books go with it: taking them
// apart row by row would only add to the time. A build with a leak check
// takes them apart, so that the check sees every allocation go.
void leaveBooks(std::unique_ptr<CTallvingeDoc> doc) {
#ifdef KV_LEAK_CHECKED
    doc.reset();
#else
    static_cast<void>(doc.release());
#endif
}

} // namespace

int reportCommand(const std::vector<std::string>& args) {
    try {
        const Request request = readRequest(args);
        auto doc = std::make_unique<CTallvingeDoc>();
        const FileReport opened = openCompany(*doc, fullPath(request.company));
        if (!opened.ok) {
            std::string line;
            for (const std::string& message : opened.messages) {
                line += (line.empty() ? "" : ": ") + message;
            }
            throw Refusal(line);
        }
        applyMonths(*doc, request);
        // The reports read the result account as holding the result (ReportBooks):
        // nothing is posted in the company.
        write(rendered(*doc, request), request.out);
        leaveBooks(std::move(doc));
        return 0;
    } catch (const Refusal& refusal) {
        std::string line = refusal.what();
        for (char& c : line) {
            c = c == '\n' ? ' ' : c;
        }
        std::fprintf(stderr, "kvistoran-cli: %s\n", line.c_str());
        return 1;
    }
}

} // namespace kv::cli
