// The dialogs of "Läs in kontoutdrag..." before the review: which column of
// an unknown CSV export holds what, and which account of the books the
// bank's account is booked on.
#pragma once

#include "bank/BankStatement.h"
#include "bank/CsvBankReader.h"
#include "bank/CsvLayout.h"
#include "interaction/DialogModel.h"
#include "model/TallvingeDoc.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kv {

inline constexpr const char* kBankColumnsTitle = "Kolumner i kontoutdraget";
inline constexpr const char* kBankAccountTitle = "Bankkontot i bokföringen";
inline constexpr const char* kBankNoColumn = "(ingen)";
// How many of the file's first records the column dialog shows.
inline constexpr std::size_t kBankPreviewRecords = 6;

// The fields the user can place, in the dialog's order.
inline constexpr std::array<CsvField, 8> kBankMappedFields{
    CsvField::Date,   CsvField::Text, CsvField::Counterpart, CsvField::Reference,
    CsvField::Amount, CsvField::In,   CsvField::Out,         CsvField::Balance};

// "Datum", "Belopp", "In (insättningar)", … as the dialog labels a field.
std::string bankFieldLabel(CsvField field);

// Which column of a CSV export holds what: the file's first records, a
// choice of column per field. OK takes a layout that has a date, a text
// and an amount (or both in and out), each column used once.
class CsvColumnsModel : public DialogModelOf<CsvColumnsModel> {
public:
    // The columns begin as detection found them (or as a layout remembered
    // for the account put them); fileName names the file in the intro.
    CsvColumnsModel(CsvDetection detection, std::string fileName);

    [[nodiscard]] std::string dialogTitle() const override { return kBankColumnsTitle; }
    // What could not be found, and what to do.
    [[nodiscard]] std::string intro() const;

    // The columns to choose among: "(ingen)" first, then "1: Datum", …
    [[nodiscard]] std::vector<std::string> columnChoices() const;
    [[nodiscard]] std::size_t columnCount() const { return m_columnCount; }
    // The choice of a field: 0 for none, else the column from 1.
    [[nodiscard]] std::size_t choice(CsvField field) const;
    void setChoice(CsvField field, std::size_t choice);

    // The records shown, each with columnCount() cells.
    [[nodiscard]] const std::vector<std::vector<std::string>>& previewRows() const { return m_preview; }

    // OK: the refusal for the user, or nothing when the layout is whole
    // (then accepted() and layout() hold it).
    std::optional<std::string> accept();
    [[nodiscard]] bool accepted() const { return m_accepted; }
    [[nodiscard]] const CsvLayout& layout() const { return m_layout; }

private:
    CsvDetection m_detection;
    std::string m_fileName;
    CsvLayout m_layout;
    std::size_t m_columnCount = 0;
    std::vector<std::string> m_columnNames;
    std::vector<std::vector<std::string>> m_preview;
    bool m_accepted = false;
};

// The account of the books that the bank's account is booked on: one of the
// balance chart's accounts (not the result account), typed or chosen from
// the list.
class BankAccountChoiceModel : public DialogModelOf<BankAccountChoiceModel> {
public:
    // offered: the account remembered for the bank account, else 1930 when
    // the balance chart has it; 0 for none.
    BankAccountChoiceModel(const CTallvingeDoc& doc, const BankStatement& statement, std::int32_t offered);

    [[nodiscard]] std::string dialogTitle() const override { return kBankAccountTitle; }
    // Which statement it is: the bank account, the lines and their dates.
    [[nodiscard]] std::string intro() const;

    // The balance chart's accounts, "1930  Checkräkningskonto".
    [[nodiscard]] const std::vector<std::string>& accountLines() const { return m_lines; }
    // The list's line of the typed account, if it is there.
    [[nodiscard]] std::optional<std::size_t> selected() const;
    void select(std::size_t line);

    [[nodiscard]] const std::string& typed() const { return m_typed; }
    void setTyped(std::string typed) { m_typed = std::move(typed); }

    // OK: the refusal for the user, or nothing when the typed number is an
    // account of the balance chart (then chosen() is it).
    std::optional<std::string> accept();
    [[nodiscard]] std::int32_t chosen() const { return m_chosen; }

private:
    std::string m_intro;
    std::vector<std::string> m_lines;
    std::vector<std::int32_t> m_numbers;
    std::string m_typed;
    std::int32_t m_chosen = 0;
};

} // namespace kv
