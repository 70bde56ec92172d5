#include "sie/SieWriter.h"

#include "sie/SieChecksum.h"
#include "sie/SieCodePage.h"
#include "sie/SieFigures.h"

#include <ctime>
#include <map>

namespace kv {

namespace {

constexpr const char* kMsgIngenPeriodAttExportera =
    "Företaget har ingen öppen bokföringsperiod att exportera.";
// How many vouchers a refusal names before it says "and more".
constexpr std::size_t kNamedVouchers = 10;

// Writes records, each a label and its fields on one line, and keeps the
// checksum of what it wrote.
class RecordWriter {
public:
    explicit RecordWriter(std::string& out) : m_out(out) {}

    RecordWriter& record(std::string_view label) {
        m_out += label;
        m_checksum.add(label);
        return *this;
    }
    RecordWriter& plain(std::string_view value) {
        m_out += ' ';
        m_out += value;
        m_checksum.add(value);
        return *this;
    }
    // A text in quotes, in code page 437; where names the text in a note.
    RecordWriter& quoted(std::string_view utf8, const std::string& where = {}) {
        std::size_t replaced = 0;
        std::string text = encodePc8(utf8, replaced);
        // A text is one line of blanks and characters: a tab or line break would split it.
        for (char& c : text) {
            if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
                c = ' ';
            }
        }
        // A backslash before a quote or at the end would be read as an escape.
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\\' && (i + 1 == text.size() || text[i + 1] == '"')) {
                text[i] = '/';
                ++replaced;
            }
        }
        if (replaced > 0) {
            m_replaced += replaced;
            if (!where.empty() && m_places.size() < 5) {
                m_places.push_back(where);
            }
        }
        m_out += " \"";
        for (const char c : text) {
            if (c == '"') {
                m_out += '\\';
            }
            m_out += c;
        }
        m_out += '"';
        m_checksum.add(text);
        return *this;
    }
    RecordWriter& emptyList() {
        m_out += " {}";
        return *this;
    }
    void end() { m_out += "\r\n"; }
    // A line outside the checksum: the opening and closing "#KSUMMA" and the braces.
    void line(std::string_view text) {
        m_out += text;
        m_out += "\r\n";
    }

    [[nodiscard]] std::uint32_t checksum() const { return m_checksum.value(); }
    [[nodiscard]] std::size_t replaced() const { return m_replaced; }
    [[nodiscard]] const std::vector<std::string>& places() const { return m_places; }

private:
    std::string& m_out;
    SieChecksum m_checksum;
    std::size_t m_replaced = 0;
    std::vector<std::string> m_places;
};

SieDate firstDay(std::int32_t year, std::int32_t month) {
    return {year, month, 1};
}

SieDate lastDay(std::int32_t year, std::int32_t month) {
    return {year, month, daysInMonth(year, month)};
}

std::optional<SieDate> validDate(std::int32_t year, std::int32_t month, std::int32_t day) {
    if (year < 1000 || year > 9999 || day < 1 || day > daysInMonth(year, month)) {
        return std::nullopt;
    }
    return SieDate{year, month, day};
}

Ore lineAmount(const CVerifikatrad& line) {
    return addOre(toOre(line.m_dDebet), -toOre(line.m_dKredit));
}

// What keeps the vouchers from a valid file: a difference, or a date that is no date.
void checkVouchers(const CompanyState& company) {
    std::vector<std::string> problems;
    std::size_t count = 0;
    for (const CEttVerifikat& voucher : company.m_verifikat) {
        Ore sum = 0;
        bool amountWithoutAccount = false;
        for (const CVerifikatrad& line : voucher.m_rader) {
            if (line.m_nKonto > 0) {
                sum = addOre(sum, lineAmount(line));
            } else {
                amountWithoutAccount = amountWithoutAccount || lineAmount(line) != 0;
            }
        }
        std::string problem;
        if (!validDate(voucher.m_nTransAr, voucher.m_nTransManad, voucher.m_nTransDag)) {
            problem = "verifikat " + std::to_string(voucher.m_nVernr) + " har inget giltigt datum";
        } else if (amountWithoutAccount) {
            problem =
                "verifikat " + std::to_string(voucher.m_nVernr) + " har ett belopp på en rad utan konto";
        } else if (sum != 0) {
            problem =
                "verifikat " + std::to_string(voucher.m_nVernr) + " har differensen " + formatPlainOre(sum);
        }
        if (!problem.empty() && ++count <= kNamedVouchers) {
            problems.push_back(std::move(problem));
        }
    }
    if (count == 0) {
        return;
    }
    std::string message =
        "Företaget kan inte exporteras som SIE-fil, eftersom varje verifikat i en SIE-fil måste ha "
        "ett giltigt datum och vara i balans på sina konton: ";
    for (std::size_t i = 0; i < problems.size(); ++i) {
        message += (i == 0 ? "" : ", ") + problems[i];
    }
    if (count > problems.size()) {
        message += " och " + std::to_string(count - problems.size()) + " till";
    }
    message += ". Rätta verifikaten (lägg till rader så att debet och kredit blir lika på kontona) och "
               "exportera igen.";
    throw DocumentRefusal(message);
}

// Accounts that voucher lines name but the chart has lost, with the name the
// lines give them and the sum of their lines.
struct LostAccount {
    std::string name;
    Ore sum = 0;
};

std::map<std::int32_t, LostAccount> lostAccounts(const CTallvingeDoc& doc) {
    std::map<std::int32_t, LostAccount> lost;
    for (const CEttVerifikat& voucher : doc.state().m_verifikat) {
        for (const CVerifikatrad& line : voucher.m_rader) {
            if (line.m_nKonto > 0 && !doc.hasAccount(line.m_nKonto)) {
                LostAccount& account = lost[line.m_nKonto];
                if (account.name.empty()) {
                    account.name = line.m_strKontonamn;
                }
                account.sum = addOre(account.sum, lineAmount(line));
            }
        }
    }
    return lost;
}

SieAccountType typeByNumber(std::int32_t number) {
    const std::string digits = std::to_string(number);
    switch (digits[0]) {
    case '1':
        return SieAccountType::Asset;
    case '2':
        return SieAccountType::Liability;
    case '3':
        return SieAccountType::Income;
    default:
        return SieAccountType::Cost;
    }
}

void writeHead(RecordWriter& out, const CTallvingeDoc& doc, const SieDate& generated) {
    const CompanyState& company = doc.state();
    out.record("#PROGRAM").quoted(kSieProgramName).plain(sieProgramVersion()).end();
    out.record("#FORMAT").plain("PC8").end();
    out.record("#GEN").plain(formatSieDate(generated)).end();
    out.record("#SIETYP").plain("4").end();
    out.record("#FNAMN").quoted(sieCompanyName(doc), "företagsnamnet").end();
    out.record("#RAR")
        .plain("0")
        .plain(formatSieDate(firstDay(company.m_nFranAr, company.m_nFranManad)))
        .plain(formatSieDate(lastDay(company.m_nTillAr, company.m_nTillManad)))
        .end();
    if (company.m_nAktuellPeriod > 0) {
        const CPeriod& previous = company.m_perioder[static_cast<std::size_t>(company.m_nAktuellPeriod) - 1];
        out.record("#RAR")
            .plain("-1")
            .plain(formatSieDate(firstDay(previous.m_nFranAr, previous.m_nFranManad)))
            .plain(formatSieDate(lastDay(previous.m_nTillAr, previous.m_nTillManad)))
            .end();
    }
}

void writeAccount(RecordWriter& out, std::int32_t number, const std::string& name, SieAccountType type) {
    const std::string digits = std::to_string(number);
    out.record("#KONTO").plain(digits).quoted(name, "konto " + digits).end();
    out.record("#KTYP").plain(digits).plain(std::string(1, sieTypeLetter(type))).end();
}

void writeBalance(RecordWriter& out, const char* label, std::int32_t number, Ore amount) {
    out.record(label).plain("0").plain(std::to_string(number)).plain(formatPlainOre(amount)).end();
}

void writeVoucher(RecordWriter& out, const CEttVerifikat& voucher) {
    const SieDate date = *validDate(voucher.m_nTransAr, voucher.m_nTransManad, voucher.m_nTransDag);
    const SieDate registered =
        validDate(voucher.m_nBokfAr, voucher.m_nBokfManad, voucher.m_nBokfDag).value_or(date);
    const std::string where = "verifikat " + std::to_string(voucher.m_nVernr);
    out.record("#VER")
        .quoted("A")
        .plain(std::to_string(voucher.m_nVernr))
        .plain(formatSieDate(date))
        .quoted(voucher.m_strVertext, where)
        .plain(formatSieDate(registered))
        .end();
    out.line("{");
    for (const CVerifikatrad& line : voucher.m_rader) {
        // A line without an account is an empty row of the voucher dialog: a
        // voucher in balance has no amount there.
        if (line.m_nKonto <= 0) {
            continue;
        }
        out.record("#TRANS")
            .plain(std::to_string(line.m_nKonto))
            .emptyList()
            .plain(formatPlainOre(lineAmount(line)))
            .quoted("")
            .quoted(line.m_strRadtext, where)
            .end();
    }
    out.line("}");
}

} // namespace

std::string sieCompanyName(const CTallvingeDoc& doc) {
    if (doc.neverSaved()) {
        return doc.title();
    }
    std::string name = doc.state().m_strFilnamn;
    if (name.size() > 4 && name.ends_with(".bok")) {
        name.resize(name.size() - 4);
    }
    return name;
}

SieDate sieToday() {
    // The user's own day, not the day at Greenwich.
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (::localtime_r(&now, &local) == nullptr) {
        return {1970, 1, 1};
    }
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

SieExport writeSie(const CTallvingeDoc& doc, const SieDate& generated) {
    const CompanyState& company = doc.state();
    if (!doc.hasOpenPeriod()) {
        throw DocumentRefusal(kMsgIngenPeriodAttExportera);
    }
    checkVouchers(company);

    SieExport result;
    result.bytes.reserve(256 + company.m_verifikat.size() * 160);
    RecordWriter out(result.bytes);
    out.line("#FLAGGA 0");
    out.line("#KSUMMA");
    writeHead(out, doc, generated);

    const std::vector<SieAccountFigures> figures = sieAccountFigures(doc);
    const std::map<std::int32_t, LostAccount> lost = lostAccounts(doc);
    for (const SieAccountFigures& account : figures) {
        writeAccount(out, account.konto->m_nKontonr, account.konto->m_strKolumn2, account.type);
    }
    for (const auto& [number, account] : lost) {
        writeAccount(out, number, account.name, typeByNumber(number));
    }
    for (const SieAccountFigures& account : figures) {
        if (account.opening) {
            writeBalance(out, "#IB", account.konto->m_nKontonr, *account.opening);
        }
    }
    for (const SieAccountFigures& account : figures) {
        if (account.closing) {
            writeBalance(out, "#UB", account.konto->m_nKontonr, *account.closing);
        }
    }
    for (const auto& [number, account] : lost) {
        if (typeByNumber(number) == SieAccountType::Asset ||
            typeByNumber(number) == SieAccountType::Liability) {
            writeBalance(out, "#UB", number, account.sum);
        }
    }
    for (const SieAccountFigures& account : figures) {
        if (account.result) {
            writeBalance(out, "#RES", account.konto->m_nKontonr, *account.result);
        }
    }
    for (const auto& [number, account] : lost) {
        if (typeByNumber(number) == SieAccountType::Income || typeByNumber(number) == SieAccountType::Cost) {
            writeBalance(out, "#RES", number, account.sum);
        }
    }
    for (const CEttVerifikat& voucher : company.m_verifikat) {
        writeVoucher(out, voucher);
    }
    out.line("#KSUMMA " + std::to_string(out.checksum()));

    result.accounts = figures.size() + lost.size();
    result.vouchers = company.m_verifikat.size();
    if (out.replaced() > 0) {
        std::string note =
            std::to_string(out.replaced()) +
            " tecken finns inte i SIE-filens teckentabell (PC8) och skrevs som närmaste bokstav "
            "eller \"?\"";
        for (std::size_t i = 0; i < out.places().size(); ++i) {
            note += (i == 0 ? ": " : ", ") + out.places()[i];
        }
        result.notes.push_back(note + ".");
    }
    for (const auto& [number, account] : lost) {
        result.notes.push_back(
            "Konto " + std::to_string(number) +
            " används i verifikat men finns inte längre i kontoplanen. Det togs med i filen med "
            "namnet från verifikatraderna och summan av dem.");
    }
    return result;
}

} // namespace kv
