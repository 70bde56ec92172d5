#include "reports/LedgerReport.h"

#include "reports/ReportBooks.h"
#include "reports/ReportCommon.h"
#include "reports/ReportText.h"
#include "reports/ReportTexts.h"

#include <algorithm>

namespace kv {

namespace {

const std::string kScreenRule(86, '_');
const std::string kTextRule(36, '_');

FormCell text(std::string value, std::int32_t column, std::int32_t x, TextAlign align = TextAlign::Left,
              std::optional<Rgb> color = std::nullopt) {
    return {std::move(value), column, x, align, color, false};
}

FormCell ruleAt(const std::string& rule, std::int32_t x, std::int32_t column = -1) {
    return {rule, column, x, TextAlign::Left, std::nullopt, true};
}

std::string monthText(const YearMonth& month) {
    return zeroPadded(month.month, 2) + "." + zeroPadded(month.year, 2);
}

} // namespace

// The rows of one account's block: each row's running balance is kept, its
// texts are made only when the row is shown.
struct RowBlock {
    const std::vector<CKontorad>* rows = nullptr;
    std::vector<Ore> balances;
    std::int32_t top = 0; // y of the first row
};

// Lays out the blocks of the ledger's screen form, line by line.
class LedgerScreen {
public:
    LedgerScreen(const CTallvingeDoc& doc, const ScreenMeasures& screen)
        : m_doc(doc), m_books(doc, RangeRule::SubPeriod), m_months(doc.monthSelection(RangeRule::SubPeriod)),
          m_lh(screenY(16, screen)), m_redLineY(screenY(90, screen)) {
        m_form.columns = {"Vernr", "Transdag", "Text", "Debet", "Kredit", "Saldo"};
        heading(screen);
    }

    // Adds the block of an account; its rows are left to rowLine, unless
    // formatted now (every line of the form at once).
    void block(const CKonto& konto, bool redLineInPlace, bool formatRows) {
        m_form.lines.push_back(
            {m_y, {text("KONTO  " + zeroPadded(konto.m_nKontonr, 4) + "  " + konto.m_strKolumn2, -1, 1)}});
        m_y += m_lh;
        const std::size_t redLine = m_form.lines.size();
        if (!redLineInPlace && m_doc.state().m_nDelperiod == 1) {
            m_form.lines.push_back({m_y, {}});
            m_y += m_lh;
        }
        m_form.lines.push_back(
            {m_y,
             {text("Vernr", 0, 1), text("Transdag", 1, 55), text("Text", 2, 155),
              text("Debet", 3, 527, TextAlign::Right), text("Kredit", 4, 631, TextAlign::Right),
              text("Saldo", 5, 742, TextAlign::Right)}});
        m_y += m_lh;
        RowBlock block;
        block.rows = &m_books.rows(konto);
        block.top = m_y;
        block.balances.reserve(block.rows->size());
        Ore debit = 0;
        Ore credit = 0;
        Ore balance = 0;
        Ore inRange = 0;
        bool anyInside = false;
        bool anyOutside = false;
        const bool ranged = m_doc.state().m_nDelperiod == 1;
        for (const CKontorad& rad : *block.rows) {
            const Ore d = toOre(rad.m_dDebet);
            const Ore c = toOre(rad.m_dKredit);
            debit = addOre(debit, d);
            credit = addOre(credit, c);
            balance = addOre(balance, addOre(d, -c));
            block.balances.push_back(balance);
            const bool inside = ranged && m_months.selects(rad);
            if (inside) {
                inRange = addOre(inRange, addOre(d, -c));
            }
            anyInside = anyInside || inside;
            anyOutside = anyOutside || !inside;
        }
        m_y += static_cast<std::int32_t>(block.rows->size()) * m_lh;
        if (ranged && (anyInside || anyOutside)) {
            FormLine red = subPeriodLine(konto, anyInside, inRange);
            if (redLineInPlace) {
                red.y = m_redLineY;
                m_form.lines.push_back(std::move(red));
            } else {
                red.y = m_form.lines[redLine].y;
                m_form.lines[redLine] = std::move(red);
            }
        }
        if (formatRows) {
            for (std::size_t i = 0; i < block.rows->size(); ++i) {
                m_form.lines.push_back(rowLine(block, i));
            }
        }
        m_y += m_lh;
        m_form.lines.push_back({m_y,
                                {text(kSumma, 2, 155), text(formatOre(debit), 3, 527, TextAlign::Right),
                                 text(formatOre(credit), 4, 631, TextAlign::Right)}});
        m_y += m_lh;
        m_form.lines.push_back({m_y,
                                {text(kDebMinusKre, 2, 155),
                                 text(formatOre(addOre(debit, -credit)), 3, 527, TextAlign::Right)}});
        m_y += m_lh;
        m_form.lines.push_back({m_y, {ruleAt(kScreenRule, 1)}});
        m_y += 2 * m_lh;
        m_form.height = m_y;
        if (!formatRows) {
            m_blocks.push_back(std::move(block));
        }
    }

    // Row i of a block, formatted.
    [[nodiscard]] FormLine rowLine(const RowBlock& block, std::size_t i) const {
        const CKontorad& rad = (*block.rows)[i];
        const bool inside = m_doc.state().m_nDelperiod == 1 && m_months.selects(rad);
        const std::optional<Rgb> color = inside ? std::optional<Rgb>(kReportRed) : std::nullopt;
        return {block.top + static_cast<std::int32_t>(i) * m_lh,
                {text(zeroPadded(rad.m_nVernr, 4), 0, 1, TextAlign::Left, color),
                 text(dashedDate(rad.m_nDag, rad.m_nManad, rad.m_nAr), 1, 55, TextAlign::Left, color),
                 ruleAt(kTextRule, 155, 2),
                 text(firstCharacters(rad.m_strText, 35), 2, 155, TextAlign::Left, color),
                 text(formatOre(toOre(rad.m_dDebet)), 3, 527, TextAlign::Right, color),
                 text(formatOre(toOre(rad.m_dKredit)), 4, 631, TextAlign::Right, color),
                 text(formatOre(block.balances[i]), 5, 742, TextAlign::Right, color)}};
    }

    [[nodiscard]] std::vector<FormLine> rowLines(std::int32_t top, std::int32_t bottom) const {
        std::vector<FormLine> lines;
        for (const RowBlock& block : m_blocks) {
            const auto count = static_cast<std::int32_t>(block.balances.size());
            const std::int32_t first = std::max(0, (top - block.top) / m_lh);
            const std::int32_t last = std::min(count - 1, (bottom - block.top) / m_lh);
            for (std::int32_t i = first; i <= last; ++i) {
                lines.push_back(rowLine(block, static_cast<std::size_t>(i)));
            }
        }
        return lines;
    }

    [[nodiscard]] const ReportForm& form() const { return m_form; }
    ReportForm takeForm() { return std::move(m_form); }

private:
    void heading(const ScreenMeasures& screen) {
        const CompanyState& company = m_doc.state();
        m_form.lines.push_back({1,
                                {text(kPeriodLead, -1, 473, TextAlign::Left, kReportOrange),
                                 text(m_doc.periodLabel(), -1, 540, TextAlign::Left, kReportOrange)}});
        if (const auto range = subPeriodText(company)) {
            m_form.lines.push_back({15, {text(*range, -1, 473, TextAlign::Left, kReportOrange)}});
        }
        const std::int32_t y0 = screenY(15, screen);
        m_form.lines.push_back({y0, {text(kHuvudbok, -1, 1)}});
        m_y = y0 + 2 * m_lh;
        if (const auto date = lastBookingDate(company)) {
            m_form.lines.push_back({m_y, {text(kSenasteBokforingsdag + *date, -1, 1)}});
        }
        m_y += 3 * m_lh;
        m_form.lines.push_back({m_y, {ruleAt(kScreenRule, 1)}});
        m_y += m_lh;
        m_form.height = m_y;
    }

    FormLine subPeriodLine(const CKonto& konto, bool anyInside, Ore inRange) const {
        const CompanyState& company = m_doc.state();
        const std::string range = monthText({company.m_nDelFranAr, company.m_nDelFranManad}) + " - " +
                                  monthText({company.m_nDelTillAr, company.m_nDelTillManad});
        std::string line;
        if (anyInside) {
            line = kDelarssaldo + range + kDelperiodensDebKre + formatPlainOre(inRange);
        } else {
            line = (m_books.isResultAccount(konto) ? kVinstForlustIPerioden : kTransaktionerSaknas) + range;
        }
        return {0, {text(line, -1, 155, TextAlign::Left, kReportRed)}};
    }

    const CTallvingeDoc& m_doc;
    ReportBooks m_books;
    MonthSelection m_months;
    std::int32_t m_lh;
    std::int32_t m_redLineY;
    std::int32_t m_y = 0;
    ReportForm m_form;
    std::vector<RowBlock> m_blocks;
};

std::vector<std::int32_t> ledgerAccounts(const CompanyState& company) {
    std::vector<std::int32_t> numbers;
    for (const auto& konto : company.m_allaKonton) {
        if (konto->m_nKontonr > 0) {
            numbers.push_back(konto->m_nKontonr);
        }
    }
    return numbers;
}

LedgerScreenForm::LedgerScreenForm(const CTallvingeDoc& doc, std::int32_t account,
                                   const ScreenMeasures& screen)
    : m_screen(std::make_unique<LedgerScreen>(doc, screen)) {
    const int index = account > 0 ? doc.accountIndex(account) : -1;
    if (index >= 0) {
        m_screen->block(*doc.state().m_allaKonton[static_cast<std::size_t>(index)], true, false);
    }
}

LedgerScreenForm::~LedgerScreenForm() = default;
LedgerScreenForm::LedgerScreenForm(LedgerScreenForm&&) noexcept = default;
LedgerScreenForm& LedgerScreenForm::operator=(LedgerScreenForm&&) noexcept = default;

const ReportForm& LedgerScreenForm::fixedLines() const {
    return m_screen->form();
}

std::vector<FormLine> LedgerScreenForm::rowLines(std::int32_t top, std::int32_t bottom) const {
    return m_screen->rowLines(top, bottom);
}

ReportForm LedgerScreenForm::whole() const {
    ReportForm form = m_screen->form();
    for (FormLine& line : rowLines(0, form.height)) {
        form.lines.push_back(std::move(line));
    }
    return form;
}

ReportForm ledgerForm(const CTallvingeDoc& doc, std::int32_t account, const ScreenMeasures& screen) {
    return LedgerScreenForm(doc, account, screen).whole();
}

ReportForm ledgerFormOfAll(const CTallvingeDoc& doc, const ScreenMeasures& screen) {
    LedgerScreen form(doc, screen);
    for (const auto& konto : doc.state().m_allaKonton) {
        if (konto->m_nKontonr > 0) {
            form.block(*konto, false, true);
        }
    }
    return form.takeForm();
}

namespace {

// The printed ledger of every account, each line made when its page is laid
// out: account line, headings, the rows, underline, totals, separator.
class LedgerLines {
public:
    LedgerLines(const CTallvingeDoc& doc, const PrintDevice& device, LedgerAccounts which)
        : m_books(doc, RangeRule::SubPeriod) {
        m_columns = {fixedX(155, device),   0,
                     columnX(340, device),  columnX(350, device),
                     columnX(650, device),  columnX(1650, device),
                     columnX(1990, device), columnX(2320, device)};
        m_underlineX = m_columns[5] - fixedX(344, device);
        std::size_t line = 0;
        for (const auto& konto : doc.state().m_allaKonton) {
            if (konto->m_nKontonr <= 0) {
                continue;
            }
            Block block;
            block.konto = konto.get();
            block.rows = &m_books.rows(*konto);
            if (which == LedgerAccounts::WithRows && block.rows->empty()) {
                continue;
            }
            block.first = line;
            block.balances.reserve(block.rows->size());
            Ore balance = 0;
            for (const CKontorad& rad : *block.rows) {
                const Ore d = toOre(rad.m_dDebet);
                const Ore c = toOre(rad.m_dKredit);
                block.debit = addOre(block.debit, d);
                block.credit = addOre(block.credit, c);
                balance = addOre(balance, addOre(d, -c));
                block.balances.push_back(balance);
            }
            line += block.rows->size() + 5;
            m_blocks.push_back(std::move(block));
        }
        m_count = line;
    }

    [[nodiscard]] std::size_t count() const { return m_count; }

    [[nodiscard]] CUtskriftsrad line(std::size_t index) const {
        const auto after =
            std::upper_bound(m_blocks.begin(), m_blocks.end(), index,
                             [](std::size_t i, const Block& block) { return i < block.first; });
        const Block& block = *(after - 1);
        const std::size_t at = index - block.first;
        const std::size_t rows = block.rows->size();
        CUtskriftsrad out;
        out.m_x = m_columns;
        if (at == 0) {
            out.m_text[0] = zeroPadded(block.konto->m_nKontonr, 5);
            out.m_text[2] = block.konto->m_strKolumn2;
        } else if (at == 1) {
            out.m_text = {"Verifikat", "", "", "Transdag", "Text", "Debet", "Kredit", "Saldo"};
        } else if (at < rows + 2) {
            const CKontorad& rad = (*block.rows)[at - 2];
            out.m_text[0] = zeroPadded(rad.m_nVernr, 5);
            out.m_text[3] = dashedDate(rad.m_nDag, rad.m_nManad, rad.m_nAr);
            out.m_text[4] = firstCharacters(rad.m_strText, 28);
            out.m_text[5] = formatOre(toOre(rad.m_dDebet));
            out.m_text[6] = formatOre(toOre(rad.m_dKredit));
            out.m_text[7] = formatOre(block.balances[at - 2]);
        } else if (at == rows + 2) {
            out.m_text[0] = std::string(30, '_');
            out.m_x[0] = m_underlineX;
        } else if (at == rows + 3) {
            out.m_text[4] = kSumma;
            out.m_text[5] = formatOre(block.debit);
            out.m_text[6] = formatOre(block.credit);
        } else {
            out.m_text[0] = std::string(91, '_');
        }
        return out;
    }

private:
    struct Block {
        const CKonto* konto = nullptr;
        const std::vector<CKontorad>* rows = nullptr;
        std::size_t first = 0; // the account line's index in the listing
        std::vector<Ore> balances;
        Ore debit = 0;
        Ore credit = 0;
    };

    ReportBooks m_books;
    std::array<std::int32_t, 8> m_columns{};
    std::int32_t m_underlineX = 0;
    std::vector<Block> m_blocks;
    std::size_t m_count = 0;
};

} // namespace

Listing ledgerListing(const CTallvingeDoc& doc, const PrintDevice& device, LedgerAccounts which) {
    const CompanyState& company = doc.state();
    Listing listing;
    listing.placement = ListingPlacement::OwnPositions;
    listing.firstLine = 5;
    listing.heading = {{kHuvudbokPrinted, 150, 0}, {printedCompanyName(doc), 150, 1}, {kHeadingRule, 150, 3}};
    if (const auto date = lastBookingDate(company)) {
        listing.heading.push_back({kSenasteBokforingsdag + *date, 150, 2});
    }
    // The books of the document as it stands: the listing lives no longer
    // than one printing, during which the document does not change.
    auto lines = std::make_shared<const LedgerLines>(doc, device, which);
    listing.madeCount = lines->count();
    listing.makeLine = [lines](std::size_t index) { return lines->line(index); };
    return listing;
}

} // namespace kv
