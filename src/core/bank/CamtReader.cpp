#include "bank/CamtReader.h"

#include "bank/BankValues.h"

#include <pugixml.hpp>

#include <algorithm>
#include <array>
#include <initializer_list>
#include <vector>

namespace kv {

namespace {

std::string_view localName(const pugi::xml_node& node) {
    const std::string_view name = node.name();
    const std::size_t colon = name.find(':');
    return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

// The first child element of that local name.
pugi::xml_node child(const pugi::xml_node& node, std::string_view name) {
    for (pugi::xml_node c = node.first_child(); c; c = c.next_sibling()) {
        if (c.type() == pugi::node_element && localName(c) == name) {
            return c;
        }
    }
    return {};
}

// The children of that local name.
std::vector<pugi::xml_node> children(const pugi::xml_node& node, std::string_view name) {
    std::vector<pugi::xml_node> out;
    for (pugi::xml_node c = node.first_child(); c; c = c.next_sibling()) {
        if (c.type() == pugi::node_element && localName(c) == name) {
            out.push_back(c);
        }
    }
    return out;
}

pugi::xml_node path(pugi::xml_node node, std::initializer_list<std::string_view> names) {
    for (const std::string_view name : names) {
        if (!node) {
            break;
        }
        node = child(node, name);
    }
    return node;
}

std::string textOf(const pugi::xml_node& node) {
    return node ? std::string(trimBankText(node.text().get())) : std::string();
}

std::string quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

// Swedish for what the XML parser found wrong.
std::string parseFailure(pugi::xml_parse_status status) {
    switch (status) {
    case pugi::status_no_document_element:
        return "filen innehåller inget XML-element";
    case pugi::status_end_element_mismatch:
        return "ett element avslutas inte som det börjar (filen kan vara avklippt)";
    case pugi::status_unrecognized_tag:
    case pugi::status_bad_start_element:
    case pugi::status_bad_end_element:
        return "ett element är felskrivet";
    case pugi::status_bad_attribute:
        return "ett attribut är felskrivet";
    case pugi::status_bad_pcdata:
    case pugi::status_bad_cdata:
    case pugi::status_bad_comment:
    case pugi::status_bad_pi:
    case pugi::status_bad_doctype:
        return "texten är inte giltig XML";
    case pugi::status_out_of_memory:
        return "minnet räckte inte";
    default:
        return "filen är inte giltig XML";
    }
}

// Line numbers from byte offsets.
class Lines {
public:
    explicit Lines(std::string_view bytes) {
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            if (bytes[i] == '\n') {
                m_breaks.push_back(i);
            }
        }
    }
    [[nodiscard]] std::size_t at(std::ptrdiff_t offset) const {
        if (offset < 0) {
            return 0;
        }
        return static_cast<std::size_t>(
                   std::lower_bound(m_breaks.begin(), m_breaks.end(), static_cast<std::size_t>(offset)) -
                   m_breaks.begin()) +
               1;
    }

private:
    std::vector<std::size_t> m_breaks;
};

// A camt amount: digits, at most two decimals after a point, no sign.
std::optional<Ore> camtAmount(std::string_view text) {
    text = trimBankText(text);
    if (text.empty() ||
        !std::all_of(text.begin(), text.end(), [](char c) { return (c >= '0' && c <= '9') || c == '.'; })) {
        return std::nullopt;
    }
    return parseBankAmount(text, DecimalMark::Point);
}

// The date of a Dt or DtTm inside node (BookgDt, ValDt, a balance's Dt).
std::optional<BankDate> camtDate(const pugi::xml_node& node, std::string& written) {
    pugi::xml_node value = child(node, "Dt");
    if (!value) {
        value = child(node, "DtTm");
    }
    written = textOf(value);
    return parseBankDate(written);
}

// The name of a party of RltdPties: Dbtr/Nm, or Dbtr/Pty/Nm (newer versions).
std::string partyName(const pugi::xml_node& parties, std::string_view role) {
    const pugi::xml_node party = child(parties, role);
    std::string name = textOf(child(party, "Nm"));
    if (name.empty()) {
        name = textOf(path(party, {"Pty", "Nm"}));
    }
    return name;
}

// What the bank transaction code says, in Swedish words, for an entry
// that names no counterpart and carries no message (a salary batch, a fee):
// the ISO code's family and sub-family, else the direction.
std::string bankTransactionText(const pugi::xml_node& code, Ore amount) {
    const pugi::xml_node domain = child(code, "Domn");
    const std::string family = textOf(path(domain, {"Fmly", "Cd"}));
    const std::string sub = textOf(path(domain, {"Fmly", "SubFmlyCd"}));
    struct Words {
        const char* code;
        const char* text;
    };
    static constexpr std::array<Words, 14> kSubFamilies = {{
        {"SALA", "Löneutbetalning"},
        {"PENS", "Pensionsutbetalning"},
        {"CHRG", "Bankavgift"},
        {"FEES", "Bankavgift"},
        {"COMM", "Bankavgift"},
        {"INTR", "Ränta"},
        {"TAXE", "Skatt"},
        {"CWDL", "Kontantuttag"},
        {"CDPT", "Insättning"},
        {"POSD", "Kortbetalning"},
        {"POSC", "Kortbetalning"},
        {"STDO", "Stående överföring"},
        {"DMCT", "Överföring"},
        {"ESCT", "Överföring"},
    }};
    static constexpr std::array<Words, 7> kFamilies = {{
        {"CCRD", "Kortbetalning"},
        {"MCRD", "Kortbetalning"},
        {"RDDT", "Autogiro"},
        {"IDDT", "Autogiro"},
        {"CNTR", "Kontanter"},
        {"RCDT", "Inbetalning"},
        {"ICDT", "Betalning"},
    }};
    for (const Words& words : kSubFamilies) {
        if (sub == words.code) {
            return words.text;
        }
    }
    for (const Words& words : kFamilies) {
        if (family == words.code) {
            return words.text;
        }
    }
    return amount < 0 ? "Uttag" : "Insättning";
}

class CamtReader {
public:
    CamtReader(std::string_view bytes, BankStatements& statements, BankFileKind kind)
        : m_lines(bytes), m_statements(statements), m_kind(kind) {}

    // One Stmt (or Ntfctn): onto the statement of its account, a new one
    // for an account the file has not named before.
    void readStatement(const pugi::xml_node& statementNode);

private:
    void problem(const pugi::xml_node& node, std::string reason);
    void readBalance(const pugi::xml_node& balance);
    void readEntry(const pugi::xml_node& entry);
    [[nodiscard]] std::size_t lineOf(const pugi::xml_node& node) const {
        return m_lines.at(node.offset_debug());
    }

public:
    std::size_t problemsLeftOut = 0;

private:
    Lines m_lines;
    BankStatements& m_statements;
    BankFileKind m_kind;
    BankStatement* m_statement = nullptr; // the account's, while its Stmt is read
    std::size_t m_linesRead = 0;          // of every account
};

void CamtReader::problem(const pugi::xml_node& node, std::string reason) {
    if (m_statement->problems.size() >= kMaxBankProblems) {
        ++problemsLeftOut;
        return;
    }
    m_statement->problems.push_back({lineOf(node), std::move(reason)});
}

void CamtReader::readStatement(const pugi::xml_node& statementNode) {
    const pugi::xml_node account = child(statementNode, "Acct");
    std::string number = textOf(path(account, {"Id", "IBAN"}));
    if (number.empty()) {
        number = textOf(path(account, {"Id", "Othr", "Id"}));
    }
    const std::string currency = textOf(child(account, "Ccy"));
    const auto same = std::find_if(m_statements.begin(), m_statements.end(), [&](const BankStatement& s) {
        return s.account == number && (currency.empty() || s.currency.empty() || s.currency == currency);
    });
    if (same == m_statements.end()) {
        BankStatement added;
        added.kind = m_kind;
        added.account = number;
        added.currency = currency;
        m_statements.push_back(std::move(added));
        m_statement = &m_statements.back();
    } else {
        m_statement = &*same;
    }
    for (const pugi::xml_node& balance : children(statementNode, "Bal")) {
        readBalance(balance);
    }
    for (const pugi::xml_node& entry : children(statementNode, "Ntry")) {
        readEntry(entry);
    }
}

void CamtReader::readBalance(const pugi::xml_node& balance) {
    const std::string type = textOf(path(balance, {"Tp", "CdOrPrtry", "Cd"}));
    const bool opening = type == "OPBD" || type == "PRCD";
    const bool closing = type == "CLBD";
    if (!opening && !closing) {
        return; // interim and available balances are not the statement's
    }
    const pugi::xml_node amountNode = child(balance, "Amt");
    const std::string amountText = textOf(amountNode);
    std::optional<Ore> amount = camtAmount(amountText);
    if (!amount) {
        problem(balance, "saldot " + quoted(amountText) + " går inte att läsa");
        return;
    }
    const std::string sign = textOf(child(balance, "CdtDbtInd"));
    if (sign == "DBIT") {
        amount = -*amount;
    } else if (sign != "CRDT") {
        problem(balance, "saldot saknar CRDT eller DBIT");
        return;
    }
    if (m_statement->currency.empty()) {
        m_statement->currency = amountNode.attribute("Ccy").value();
    }
    std::string dateText;
    const std::optional<BankDate> date = camtDate(child(balance, "Dt"), dateText);
    if (!date) {
        problem(balance, dateText.empty() ? "saldot saknar datum"
                                          : "saldots datum " + quoted(dateText) + " går inte att läsa");
        return;
    }
    // The first opening balance and the last closing balance of the file.
    if (opening && !m_statement->openingBalance) {
        m_statement->openingBalance = amount;
        m_statement->openingDate = date;
    } else if (closing) {
        m_statement->closingBalance = amount;
        m_statement->closingDate = date;
    }
}

// What one transaction of an entry says.
struct Transaction {
    pugi::xml_node node;
    std::optional<Ore> amount; // signed; nothing when the transaction has none of its own
    std::string counterpart;
    std::string reference;
    std::string text;
};

void appendDistinct(std::string& to, const std::string& text) {
    if (text.empty() || to == text || to.find(text + ", ") == 0 || to.ends_with(", " + text) ||
        to.find(", " + text + ", ") != std::string::npos) {
        return;
    }
    to += (to.empty() ? "" : ", ") + text;
}

void CamtReader::readEntry(const pugi::xml_node& entry) {
    const pugi::xml_node amountNode = child(entry, "Amt");
    const std::string amountText = textOf(amountNode);
    const std::optional<Ore> amount = camtAmount(amountText);
    if (!amount) {
        problem(entry, amountText.empty() ? "posten saknar belopp"
                                          : "beloppet " + quoted(amountText) + " går inte att läsa");
        return;
    }
    const std::string currency = amountNode.attribute("Ccy").value();
    if (m_statement->currency.empty()) {
        m_statement->currency = currency;
    } else if (!currency.empty() && currency != m_statement->currency) {
        problem(entry, "beloppet är i " + currency + " men kontot i " + m_statement->currency);
        return;
    }
    const std::string sign = textOf(child(entry, "CdtDbtInd"));
    if (sign != "CRDT" && sign != "DBIT") {
        problem(entry, "posten saknar CRDT eller DBIT");
        return;
    }
    // CdtDbtInd is the direction of the entry itself, a reversal's too
    // (RvslInd only says that it takes back an earlier entry of the other
    // direction): out is negative.
    const bool negative = sign == "DBIT";
    std::string status = textOf(child(entry, "Sts"));
    if (status.empty()) {
        status = textOf(path(entry, {"Sts", "Cd"}));
    }
    if (!status.empty() && status != "BOOK") {
        problem(entry, "posten är inte bokförd (status " + status + ") och lästes inte in");
        return;
    }
    std::string dateText;
    const std::optional<BankDate> bookingDate = camtDate(child(entry, "BookgDt"), dateText);
    if (!bookingDate) {
        problem(entry, dateText.empty() ? "posten saknar bokföringsdag"
                                        : "bokföringsdagen " + quoted(dateText) + " går inte att läsa");
        return;
    }
    std::optional<BankDate> valueDate;
    if (const pugi::xml_node valueNode = child(entry, "ValDt")) {
        valueDate = camtDate(valueNode, dateText);
        if (!valueDate && !dateText.empty()) {
            problem(entry, "valutadagen " + quoted(dateText) + " går inte att läsa");
            return;
        }
    }
    const std::string entryText = textOf(child(entry, "AddtlNtryInf"));

    // The transactions of the entry, from every NtryDtls.
    std::vector<Transaction> transactions;
    bool ownAmounts = true;
    Ore sum = 0;
    for (const pugi::xml_node& details : children(entry, "NtryDtls")) {
        for (const pugi::xml_node& tx : children(details, "TxDtls")) {
            Transaction t;
            t.node = tx;
            pugi::xml_node txAmount = child(tx, "Amt");
            if (!txAmount) {
                txAmount = path(tx, {"AmtDtls", "TxAmt", "Amt"});
            }
            const std::string txCurrency = txAmount.attribute("Ccy").value();
            if (const std::optional<Ore> ore = camtAmount(textOf(txAmount));
                ore && (txCurrency.empty() || txCurrency == currency)) {
                const std::string txSign = textOf(child(tx, "CdtDbtInd"));
                const bool txNegative = txSign.empty() ? negative : txSign == "DBIT";
                t.amount = txNegative ? -*ore : *ore;
                sum = addOre(sum, *t.amount);
            } else {
                ownAmounts = false;
            }
            const pugi::xml_node parties = child(tx, "RltdPties");
            const bool credit = !negative;
            t.counterpart = partyName(parties, credit ? "Dbtr" : "Cdtr");
            if (t.counterpart.empty()) {
                t.counterpart = partyName(parties, credit ? "UltmtDbtr" : "UltmtCdtr");
            }
            const pugi::xml_node remittance = child(tx, "RmtInf");
            for (const pugi::xml_node& structured : children(remittance, "Strd")) {
                t.reference = bankReferenceText(textOf(path(structured, {"CdtrRefInf", "Ref"})));
                if (!t.reference.empty()) {
                    break;
                }
            }
            if (t.reference.empty()) {
                for (const pugi::xml_node& free : children(remittance, "Ustrd")) {
                    const std::string part = textOf(free);
                    t.reference += (t.reference.empty() || part.empty() ? "" : " ") + part;
                }
            }
            t.text = textOf(child(tx, "AddtlTxInf"));
            transactions.push_back(std::move(t));
        }
    }
    const Ore entryAmount = negative ? -*amount : *amount;
    const auto add = [&](const pugi::xml_node& node, Ore ore, std::string counterpart, std::string reference,
                         std::string text) {
        if (++m_linesRead > kMaxBankLines) {
            throw BankFileError(
                "Filen har fler än " + std::to_string(kMaxBankLines) +
                " transaktioner. Dela upp den i kortare perioder och läs in dem var för sig.");
        }
        BankLine line;
        line.lineNumber = lineOf(node);
        line.bookingDate = *bookingDate;
        line.valueDate = valueDate;
        line.amount = ore;
        line.counterpart = std::move(counterpart);
        line.reference = std::move(reference);
        line.text = std::move(text);
        m_statement->lines.push_back(std::move(line));
    };
    // One line per transaction when each has its amount and they add up to
    // the entry; else one line for the entry.
    if (transactions.size() > 1 && ownAmounts && sum == entryAmount) {
        for (Transaction& t : transactions) {
            add(t.node, *t.amount, std::move(t.counterpart), std::move(t.reference),
                t.text.empty() ? entryText : std::move(t.text));
        }
        return;
    }
    std::string counterpart;
    std::string reference;
    std::string text;
    for (const Transaction& t : transactions) {
        appendDistinct(counterpart, t.counterpart);
        appendDistinct(reference, t.reference);
        appendDistinct(text, t.text);
    }
    if (entryText.empty() && text.empty() && counterpart.empty() && reference.empty()) {
        text = bankTransactionText(child(entry, "BkTxCd"), entryAmount);
    }
    add(entry, entryAmount, std::move(counterpart), std::move(reference),
        entryText.empty() ? text : entryText);
}

// The element that holds the statements, within a few levels of the root
// (a file may wrap the document in an envelope with a business header).
pugi::xml_node findMessage(const pugi::xml_node& root, BankFileKind& kind) {
    std::vector<pugi::xml_node> level = {root};
    for (int depth = 0; depth < 4 && !level.empty(); ++depth) {
        std::vector<pugi::xml_node> next;
        for (const pugi::xml_node& node : level) {
            for (pugi::xml_node c = node.first_child(); c; c = c.next_sibling()) {
                if (c.type() != pugi::node_element) {
                    continue;
                }
                if (localName(c) == "BkToCstmrStmt") {
                    kind = BankFileKind::Camt053;
                    return c;
                }
                if (localName(c) == "BkToCstmrDbtCdtNtfctn") {
                    kind = BankFileKind::Camt054;
                    return c;
                }
                if (next.size() < 64) {
                    next.push_back(c);
                }
            }
        }
        level = std::move(next);
    }
    return {};
}

} // namespace

BankStatements readCamtStatements(std::string_view bytes) {
    if (bytes.size() > kMaxBankFileBytes) {
        throw BankFileError("Filen är för stor för att vara ett kontoutdrag som programmet kan läsa in (" +
                            std::to_string(bytes.size() / (1024 * 1024)) + " MB).");
    }
    pugi::xml_document document;
    const pugi::xml_parse_result parsed =
        document.load_buffer(bytes.data(), bytes.size(), pugi::parse_default, pugi::encoding_auto);
    if (!parsed) {
        const Lines lines(bytes);
        throw BankFileError(
            "Filen är inte ett kontoutdrag i XML som går att läsa: " + parseFailure(parsed.status) +
            " (rad " + std::to_string(lines.at(parsed.offset)) + ").");
    }
    BankFileKind kind = BankFileKind::Camt053;
    const pugi::xml_node message = findMessage(document, kind);
    if (!message) {
        throw BankFileError("Filen är inget kontoutdrag (camt.053) eller avisering (camt.054): "
                            "elementet BkToCstmrStmt eller BkToCstmrDbtCdtNtfctn saknas.");
    }
    const std::string_view part = kind == BankFileKind::Camt053 ? "Stmt" : "Ntfctn";
    const std::vector<pugi::xml_node> parts = children(message, part);
    if (parts.empty()) {
        throw BankFileError(kind == BankFileKind::Camt053 ? "Filen innehåller inget kontoutdrag (Stmt)."
                                                          : "Filen innehåller ingen avisering (Ntfctn).");
    }
    BankStatements statements;
    statements.reserve(parts.size()); // the reader keeps a pointer into them
    CamtReader reader(bytes, statements, kind);
    for (const pugi::xml_node& each : parts) {
        reader.readStatement(each);
    }
    if (reader.problemsLeftOut > 0) {
        statements.back().problems.push_back(
            {0, "ytterligare " + std::to_string(reader.problemsLeftOut) + " poster gick inte att läsa"});
    }
    return statements;
}

} // namespace kv
