#include "bank/BankDialogs.h"

#include <algorithm>

namespace kv {

namespace {

std::string linesText(std::size_t count) {
    return std::to_string(count) + (count == 1 ? " rad" : " rader");
}

} // namespace

std::string bankFieldLabel(CsvField field) {
    switch (field) {
    case CsvField::Date:
        return "Datum";
    case CsvField::ValueDate:
        return "Valutadag";
    case CsvField::Text:
        return "Text";
    case CsvField::Counterpart:
        return "Motpart";
    case CsvField::Reference:
        return "Referens";
    case CsvField::Amount:
        return "Belopp";
    case CsvField::In:
        return "In (insättningar)";
    case CsvField::Out:
        return "Ut (uttag)";
    case CsvField::Balance:
        return "Saldo";
    case CsvField::Account:
        return "Konto (bankens kontonummer)";
    }
    return {};
}

// ---- the columns of a CSV export ----

CsvColumnsModel::CsvColumnsModel(CsvDetection detection, std::string fileName)
    : m_detection(std::move(detection)), m_fileName(std::move(fileName)), m_layout(m_detection.layout) {
    const std::vector<CsvRecord>& records = m_detection.firstRecords;
    for (const CsvRecord& record : records) {
        m_columnCount = std::max(m_columnCount, record.fields.size());
    }
    // The heading names the columns; without one, each is its number.
    const std::size_t header = m_layout.headerRow.value_or(records.size());
    for (std::size_t column = 0; column < m_columnCount; ++column) {
        const bool named = header < records.size() && column < records[header].fields.size() &&
                           !records[header].fields[column].empty();
        m_columnNames.push_back(named ? records[header].fields[column]
                                      : "Kolumn " + std::to_string(column + 1));
    }
    for (std::size_t i = 0; i < records.size() && m_preview.size() < kBankPreviewRecords; ++i) {
        std::vector<std::string> row = records[i].fields;
        row.resize(m_columnCount);
        m_preview.push_back(std::move(row));
    }
    // A column the layout names beyond the file's columns is no choice.
    for (const CsvField field : kBankMappedFields) {
        if (m_layout.column(field) && *m_layout.column(field) >= m_columnCount) {
            m_layout.column(field).reset();
        }
    }
}

std::string CsvColumnsModel::intro() const {
    std::string text = m_detection.message();
    if (text.empty()) {
        text = "Ange vilken kolumn som har vad.";
    }
    return m_fileName + ": " + text +
           " Valet sparas för bankkontot och används nästa gång ett kontoutdrag läses in.";
}

std::vector<std::string> CsvColumnsModel::columnChoices() const {
    std::vector<std::string> choices{kBankNoColumn};
    for (std::size_t column = 0; column < m_columnCount; ++column) {
        choices.push_back(std::to_string(column + 1) + ": " + m_columnNames[column]);
    }
    return choices;
}

std::size_t CsvColumnsModel::choice(CsvField field) const {
    const auto column = m_layout.column(field);
    return column ? *column + 1 : 0;
}

void CsvColumnsModel::setChoice(CsvField field, std::size_t choice) {
    m_accepted = false;
    if (choice == 0 || choice > m_columnCount) {
        m_layout.column(field).reset();
    } else {
        m_layout.column(field) = choice - 1;
    }
}

std::optional<std::string> CsvColumnsModel::accept() {
    m_accepted = false;
    if (!m_layout.column(CsvField::Date)) {
        return std::string("Ange kolumnen med datum.");
    }
    if (!m_layout.column(CsvField::Text) && !m_layout.column(CsvField::Counterpart)) {
        return std::string("Ange kolumnen med text (eller motpart).");
    }
    const bool amount = m_layout.column(CsvField::Amount).has_value();
    const bool in = m_layout.column(CsvField::In).has_value();
    const bool out = m_layout.column(CsvField::Out).has_value();
    if (amount && (in || out)) {
        return std::string("Ange antingen en kolumn för belopp eller kolumner för in och ut, inte båda.");
    }
    if (!amount && !(in && out)) {
        return std::string("Ange kolumnen med belopp, eller både kolumnen för in och kolumnen för ut.");
    }
    for (std::size_t i = 0; i < kBankMappedFields.size(); ++i) {
        for (std::size_t j = i + 1; j < kBankMappedFields.size(); ++j) {
            const auto a = m_layout.column(kBankMappedFields[i]);
            if (a && a == m_layout.column(kBankMappedFields[j])) {
                return "Kolumn " + std::to_string(*a + 1) + " är vald för både " +
                       bankFieldLabel(kBankMappedFields[i]) + " och " + bankFieldLabel(kBankMappedFields[j]) +
                       ".";
            }
        }
    }
    m_accepted = true;
    return std::nullopt;
}

// ---- the bank's account in the books ----

BankAccountChoiceModel::BankAccountChoiceModel(const CTallvingeDoc& doc, const BankStatement& statement,
                                               std::int32_t offered) {
    std::int32_t result = 0;
    const bool hasResult = doc.resultAccountNumber(result);
    for (const CKonto* konto : doc.state().m_balKonton) {
        if (konto->m_nKontonr <= 0 || (hasResult && konto->m_nKontonr == result)) {
            continue;
        }
        m_lines.push_back(std::to_string(konto->m_nKontonr) + "  " + konto->m_strKolumn2);
        m_numbers.push_back(konto->m_nKontonr);
    }
    if (std::find(m_numbers.begin(), m_numbers.end(), offered) != m_numbers.end()) {
        m_typed = std::to_string(offered);
    }
    std::string lines = linesText(statement.lines.size());
    if (!statement.lines.empty()) {
        const auto [first, last] = std::minmax_element(
            statement.lines.begin(), statement.lines.end(),
            [](const BankLine& a, const BankLine& b) { return a.bookingDate < b.bookingDate; });
        lines += " (" + first->bookingDate.text() + " – " + last->bookingDate.text() + ")";
    }
    m_intro = statement.account.empty() ? "Kontoutdraget, " + lines + ", anger inget bankkonto."
                                        : "Kontoutdrag för " + statement.account + ", " + lines + ".";
    m_intro += " Välj det konto i balansräkningen som bankkontot bokförs på.";
}

std::string BankAccountChoiceModel::intro() const {
    return m_intro;
}

std::optional<std::size_t> BankAccountChoiceModel::selected() const {
    for (std::size_t line = 0; line < m_numbers.size(); ++line) {
        if (std::to_string(m_numbers[line]) == m_typed) {
            return line;
        }
    }
    return std::nullopt;
}

void BankAccountChoiceModel::select(std::size_t line) {
    if (line < m_numbers.size()) {
        m_typed = std::to_string(m_numbers[line]);
    }
}

std::optional<std::string> BankAccountChoiceModel::accept() {
    m_chosen = 0;
    std::string typed = m_typed;
    typed.erase(std::remove(typed.begin(), typed.end(), ' '), typed.end());
    if (typed.empty()) {
        return std::string("Ange kontonumret för bankkontot.");
    }
    for (const std::int32_t number : m_numbers) {
        if (std::to_string(number) == typed) {
            m_chosen = number;
            return std::nullopt;
        }
    }
    return "Konto " + typed + " finns inte i balansräkningens kontoplan. Välj ett konto i listan.";
}

} // namespace kv
