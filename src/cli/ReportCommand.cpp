#include "ReportCommand.h"

#include "CliCompany.h"
#include "CliMessages.h"
#include "storage/OutputPaths.h"

#include "budget/BudgetReport.h"
#include "reports/MonthRangeModel.h"
#include "reports/PdfWriter.h"
#include "reports/ReportDataFiles.h"
#include "reports/ReportKinds.h"
#include "reports/ReportText.h"
#include "reports/VatReport.h"
#include "storage/CompanyFiles.h"
#include "storage/FileIo.h"

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
enum class Format { Text, Csv, Json, Pdf, Xlsx };

struct Request {
    Kind kind = Kind::TrialBalance;
    bool budget = false; // "Budget och utfall", which stands on the income statement
    std::string company;
    std::optional<YearMonth> from;
    std::optional<YearMonth> to;
    std::optional<std::int32_t> account;
    Format format = Format::Text;
    bool swedishCsv = false; // --csv-sv: semicolons and decimal commas
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
    static const std::map<std::string, Format> formats = {{"text", Format::Text},
                                                          {"csv", Format::Csv},
                                                          {"json", Format::Json},
                                                          {"pdf", Format::Pdf},
                                                          {"xlsx", Format::Xlsx}};
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
    std::optional<Format> formatAsked;
    for (std::size_t i = 3; i < args.size(); i += 2) {
        const std::string& option = args[i];
        if (option == "--csv-sv") {
            request.swedishCsv = true;
            --i; // a choice without a value
            continue;
        }
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
                throw Refusal("okänt format: " + value + " (text, csv, json, pdf eller xlsx)");
            }
            formatAsked = format->second;
        } else if (option == "--out") {
            request.out = value;
        } else {
            throw Refusal("okänt val: " + option + "; se kvistoran-cli --help");
        }
    }
    request.format = formatAsked.value_or(request.swedishCsv ? Format::Csv : Format::Text);
    if (request.swedishCsv && request.format != Format::Csv) {
        throw Refusal("--csv-sv gäller bara csv");
    }
    if (request.format == Format::Xlsx && !request.out) {
        throw Refusal("xlsx skrivs till en fil: ange --out FIL.xlsx");
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

// The report as data, in the format asked for.
std::string dataFile(const CTallvingeDoc& doc, const Request& request) {
    const ReportData data = request.budget ? budgetReportData(doc, buildBudgetReport(doc))
                            : request.kind == Kind::Vat
                                ? vatReportData(doc, buildVatReport(doc, vatRange(request)))
                                : reportData(doc, request.kind, request.account);
    if (request.format == Format::Json) {
        return reportJson(data);
    }
    if (request.format == Format::Xlsx) {
        try {
            return reportXlsx(data);
        } catch (const ReportDataError& error) {
            throw Refusal(error.what());
        }
    }
    return reportCsv(data, request.swedishCsv ? kCsvSwedish : kCsvPlain);
}

std::string rendered(const CTallvingeDoc& doc, const Request& request) {
    if (request.format == Format::Pdf) {
        return pdfDocument(printedPages(doc, request), title(request));
    }
    if (request.account && !doc.hasAccount(*request.account)) {
        throw Refusal("kontot " + std::to_string(*request.account) + " finns inte i kontoplanen");
    }
    if (request.format == Format::Csv || request.format == Format::Json || request.format == Format::Xlsx) {
        return dataFile(doc, request);
    }
    std::vector<ReportForm> forms;
    if (request.budget) {
        forms = {budgetReportForm(buildBudgetReport(doc))};
    } else if (request.kind == Kind::Vat) {
        ReportForm title;
        title.lines.push_back(
            {0, {{reportTitle(request.kind), -1, 0, TextAlign::Left, std::nullopt, false}}});
        forms = {title, vatReportForm(buildVatReport(doc, vatRange(request)), ScreenMeasures{})};
    } else {
        forms = reportForms(doc, request.kind, request.account);
    }
    std::string out;
    for (const ReportForm& form : forms) {
        out += formAsText(form);
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
        if (request.out) {
            const OutputKind kind = request.format == Format::Pdf    ? OutputKind::Pdf
                                    : request.format == Format::Xlsx ? OutputKind::Zip
                                                                     : OutputKind::Text;
            if (const auto refused = outputRefusal(fullPath(*request.out), kind)) {
                throw Refusal(oneLine(*refused));
            }
        }
        settleBeforeReading(request.company);
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
