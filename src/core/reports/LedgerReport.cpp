#include "reports/LedgerReport.h"

#include "reports/ReportBooks.h"
#include "reports/ReportCommon.h"
#include "reports/ReportText.h"
#include "reports/ReportTexts.h"

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

// Lays out the blocks of the ledger's screen form, line by line.
class LedgerScreen {
public:
    LedgerScreen(const CTallvingeDoc& doc, const ScreenMeasures& screen)
        : m_doc(doc), m_books(doc, RangeRule::SubPeriod), m_months(doc.monthSelection(RangeRule::SubPeriod)),
          m_lh(screenY(16, screen)), m_redLineY(screenY(90, screen)) {
        m_form.columns = {"Vernr", "Transdag", "Text", "Debet", "Kredit", "Saldo"};
        heading(screen);
    }

    void block(const CKonto& konto, bool redLineInPlace) {
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
        Ore debit = 0;
        Ore credit = 0;
        Ore balance = 0;
        Ore inRange = 0;
        bool anyInside = false;
        bool anyOutside = false;
        const auto& rows = m_books.rows(konto);
        m_form.lines.reserve(m_form.lines.size() + rows.size() + 4);
        for (const CKontorad& rad : rows) {
            const Ore d = toOre(rad.m_dDebet);
            const Ore c = toOre(rad.m_dKredit);
            debit = addOre(debit, d);
            credit = addOre(credit, c);
            balance = addOre(balance, addOre(d, -c));
            const bool inside = m_doc.state().m_nDelperiod == 1 && m_months.selects(rad);
            if (inside) {
                inRange = addOre(inRange, addOre(d, -c));
            }
            anyInside = anyInside || inside;
            anyOutside = anyOutside || !inside;
            const std::optional<Rgb> color = inside ? std::optional<Rgb>(kReportRed) : std::nullopt;
            m_form.lines.push_back(
                {m_y,
                 {text(zeroPadded(rad.m_nVernr, 4), 0, 1, TextAlign::Left, color),
                  text(dashedDate(rad.m_nDag, rad.m_nManad, rad.m_nAr), 1, 55, TextAlign::Left, color),
                  ruleAt(kTextRule, 155, 2),
                  text(firstCharacters(rad.m_strText, 35), 2, 155, TextAlign::Left, color),
                  text(formatOre(d), 3, 527, TextAlign::Right, color),
                  text(formatOre(c), 4, 631, TextAlign::Right, color),
                  text(formatOre(balance), 5, 742, TextAlign::Right, color)}});
            m_y += m_lh;
        }
        if (m_doc.state().m_nDelperiod == 1 && (anyInside || anyOutside)) {
            FormLine red = subPeriodLine(konto, anyInside, inRange);
            if (redLineInPlace) {
                red.y = m_redLineY;
                m_form.lines.push_back(std::move(red));
            } else {
                red.y = m_form.lines[redLine].y;
                m_form.lines[redLine] = std::move(red);
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
    }

    ReportForm finish() {
        m_form.height = m_y;
        return std::move(m_form);
    }

    [[nodiscard]] const ReportBooks& books() const { return m_books; }

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
};

} // namespace

std::vector<std::int32_t> ledgerAccounts(const CompanyState& company) {
    std::vector<std::int32_t> numbers;
    for (const auto& konto : company.m_allaKonton) {
        if (konto->m_nKontonr > 0) {
            numbers.push_back(konto->m_nKontonr);
        }
    }
    return numbers;
}

ReportForm ledgerForm(const CTallvingeDoc& doc, std::int32_t account, const ScreenMeasures& screen) {
    LedgerScreen form(doc, screen);
    const int index = account > 0 ? doc.accountIndex(account) : -1;
    if (index >= 0) {
        form.block(*doc.state().m_allaKonton[static_cast<std::size_t>(index)], true);
    }
    return form.finish();
}

ReportForm ledgerFormOfAll(const CTallvingeDoc& doc, const ScreenMeasures& screen) {
    LedgerScreen form(doc, screen);
    for (const auto& konto : doc.state().m_allaKonton) {
        if (konto->m_nKontonr > 0) {
            form.block(*konto, false);
        }
    }
    return form.finish();
}

Listing ledgerListing(const CTallvingeDoc& doc, const PrintDevice& device) {
    const CompanyState& company = doc.state();
    Listing listing;
    listing.placement = ListingPlacement::OwnPositions;
    listing.firstLine = 5;
    listing.heading = {{kHuvudbokPrinted, 150, 0}, {printedCompanyName(doc), 150, 1}, {kHeadingRule, 150, 3}};
    if (const auto date = lastBookingDate(company)) {
        listing.heading.push_back({kSenasteBokforingsdag + *date, 150, 2});
    }
    const ReportBooks books(doc, RangeRule::SubPeriod);
    const std::int32_t left = fixedX(155, device);
    const std::array<std::int32_t, 8> columns = {left,
                                                 0,
                                                 columnX(340, device),
                                                 columnX(350, device),
                                                 columnX(650, device),
                                                 columnX(1650, device),
                                                 columnX(1990, device),
                                                 columnX(2320, device)};
    const auto line = [&columns] {
        CUtskriftsrad out;
        out.m_x = columns;
        return out;
    };
    for (const auto& konto : company.m_allaKonton) {
        if (konto->m_nKontonr <= 0) {
            continue;
        }
        CUtskriftsrad head = line();
        head.m_text[0] = zeroPadded(konto->m_nKontonr, 5);
        head.m_text[2] = konto->m_strKolumn2;
        listing.lines.push_back(std::move(head));
        CUtskriftsrad titles = line();
        titles.m_text = {"Verifikat", "", "", "Transdag", "Text", "Debet", "Kredit", "Saldo"};
        listing.lines.push_back(std::move(titles));
        Ore debit = 0;
        Ore credit = 0;
        Ore balance = 0;
        for (const CKontorad& rad : books.rows(*konto)) {
            const Ore d = toOre(rad.m_dDebet);
            const Ore c = toOre(rad.m_dKredit);
            debit = addOre(debit, d);
            credit = addOre(credit, c);
            balance = addOre(balance, addOre(d, -c));
            CUtskriftsrad row = line();
            row.m_text[0] = zeroPadded(rad.m_nVernr, 5);
            row.m_text[3] = dashedDate(rad.m_nDag, rad.m_nManad, rad.m_nAr);
            row.m_text[4] = firstCharacters(rad.m_strText, 28);
            row.m_text[5] = formatOre(d);
            row.m_text[6] = formatOre(c);
            row.m_text[7] = formatOre(balance);
            listing.lines.push_back(std::move(row));
        }
        CUtskriftsrad underline = line();
        underline.m_text[0] = std::string(30, '_');
        underline.m_x[0] = columns[5] - fixedX(344, device);
        listing.lines.push_back(std::move(underline));
        CUtskriftsrad totals = line();
        totals.m_text[4] = kSumma;
        totals.m_text[5] = formatOre(debit);
        totals.m_text[6] = formatOre(credit);
        listing.lines.push_back(std::move(totals));
        CUtskriftsrad separator = line();
        separator.m_text[0] = std::string(91, '_');
        listing.lines.push_back(std::move(separator));
    }
    return listing;
}

} // namespace kv
