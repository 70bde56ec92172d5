// The company document: it owns every record of the open company and tells
// its views when something changed. It knows nothing of any window system.
#pragma once

#include "grid/GridState.h"
#include "model/Amount.h"
#include "model/Records.h"
#include "model/YearMonth.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kv {

inline constexpr const char* kNyttForetag = "Nytt företag123456";
inline constexpr const char* kIngenMall = "xxx123456";
inline constexpr const char* kNyttDokumentText = "Kanske nytt bokföringsprogram...";
inline constexpr const char* kEndMarker = "Exempel";

// Texts of chart-grid columns 1 to 6 of one row (index 0 is column 1).
using ChartRowTexts = std::array<std::string, 6>;

// Receives a call after every change of the document; rebuilds what it shows.
class DocumentView {
public:
    virtual ~DocumentView() = default;
    virtual void onDocumentUpdated() = 0;
};

// Every field of the company, stored and run-time, with its starting value.
// Kept apart from the document so that clearing is one assignment.
struct CompanyState {
    // Stored in the company file and the period files.
    std::int32_t m_nNastaVernr = 1;
    std::int32_t m_nUtskrift1 = 2046;
    std::int32_t m_nUtskrift2 = 2046;
    std::int32_t m_bNyttForetag = 1;
    std::unique_ptr<GridState> m_pBalansGrid;
    std::unique_ptr<GridState> m_pResultatGrid;
    std::int32_t m_nReserv1 = 0;
    std::int32_t m_nFranManad = 0;
    std::int32_t m_nFranAr = 0;
    std::int32_t m_nReserv2 = 0;
    std::int32_t m_nTillManad = 0;
    std::int32_t m_nTillAr = 0;
    std::int32_t m_nEndastAnvanda = 0;
    std::string m_strEnhet = kNyttForetag;  // company file only
    std::string m_strFilnamn = kNyttForetag; // company file only
    std::int32_t m_nAktuellPeriod = 0;
    std::int32_t m_nVinstrad = 0;
    KontoList m_allaKonton;               // owning: income rows, then balance rows
    std::vector<CKonto*> m_resKonton;     // referring into m_allaKonton
    std::vector<CKonto*> m_balKonton;     // referring into m_allaKonton
    std::vector<std::int32_t> m_balNummer;
    std::vector<std::int32_t> m_resNummer;
    std::vector<CAutomoms> m_momsregler;
    std::vector<CEttVerifikat> m_verifikat; // voucher k at position k-1
    std::vector<CPeriod> m_perioder;        // company file only

    // Run-time only.
    std::string m_strPeriodfilnamn = kNyttForetag;
    std::string m_strMallnamn = kIngenMall;
    std::int32_t m_nValdMall = -1;
    std::string m_strNyttDokument = kNyttDokumentText;
    std::int32_t m_bVerifikatOppen = 0;
    std::int32_t m_nSenasteAr = 0;
    std::int32_t m_nSenasteManad = 0;
    std::int32_t m_nSenasteDag = 0;
    std::int32_t m_bMallLage = 0;
    std::int32_t m_bMallarLasta = 0; // the template file has been read
    std::int32_t m_bMallfilOlast = 0; // it exists but could not be read: never overwrite it
    std::vector<std::unique_ptr<CKontoplan>> m_mallar;

    // Month range of the reports.
    std::int32_t m_nDelperiod = 0;
    std::int32_t m_nDelFranManad = 0;
    std::int32_t m_nDelFranAr = 0;
    std::int32_t m_nDelTillManad = 0;
    std::int32_t m_nDelTillAr = 0;
    std::int32_t m_bKumulativ = 0; // raised only around one result posting

    // Journal print range and trial-balance listing length.
    std::int32_t m_nFranVernr = 0;
    std::int32_t m_nTillVernr = 0;
    std::int32_t m_nUtskrift3 = 0;

    // One-shot requests that the trial-balance and voucher-list windows act on.
    std::int32_t m_bBegarResultatplan = 0;
    std::int32_t m_bBegarBalansplan = 0;
    std::int32_t m_bBegarMoms = 0;
    std::int32_t m_bBegarVerifikatSok = 0;

    // Opening another period automatically.
    std::int32_t m_bAutoOppna = 0;
    std::int32_t m_nAutoPeriod = 0;
};

enum class RangeRule { WholePeriod, SubPeriod, Cumulative };

class CTallvingeDoc : public CompanyState {
public:
    CTallvingeDoc() = default;
    CTallvingeDoc(const CTallvingeDoc&) = delete;
    CTallvingeDoc& operator=(const CTallvingeDoc&) = delete;

    // Deletes every owned record and returns every field to its starting value.
    void clear();
    // Replaces the company's contents (not its views or modified flag).
    void replaceState(CompanyState&& state);

    // The full path of the company file; empty until it is saved or opened.
    [[nodiscard]] const std::string& pathName() const { return m_pathName; }
    void setPathName(std::string path) { m_pathName = std::move(path); }
    // The window title: the file name without ".bok", or "Namnlös".
    [[nodiscard]] std::string title() const;

    // Views and the modified flag.
    void addView(DocumentView* view);
    void removeView(DocumentView* view);
    void updateAllViews();
    void setModified(bool modified = true) { m_modified = modified; }
    [[nodiscard]] bool isModified() const { return m_modified; }
    // Marks the document modified and updates all views: what every changer does last.
    void changed();

    // Accounts.
    [[nodiscard]] int accountIndex(std::int32_t number) const;
    [[nodiscard]] bool hasAccount(std::int32_t number) const { return accountIndex(number) >= 0; }
    [[nodiscard]] bool inBalNummer(std::int32_t number) const;
    [[nodiscard]] bool inResNummer(std::int32_t number) const;
    [[nodiscard]] bool incomeChartApproved() const { return !m_resKonton.empty(); }
    [[nodiscard]] bool balanceChartApproved() const { return !m_balKonton.empty(); }
    [[nodiscard]] bool bothChartsApproved() const { return incomeChartApproved() && balanceChartApproved(); }

    // Balances in öre, debit minus credit.
    [[nodiscard]] Ore balanceOfBalanceAccount(std::size_t position) const;
    [[nodiscard]] Ore RangeBalance(std::size_t position) const;
    [[nodiscard]] RangeRule rangeRuleInForce() const;
    [[nodiscard]] Ore balanceUnder(const CKonto& konto, RangeRule rule) const;
    // Books the period result as the result account's single row; sets number
    // to the result account, or leaves it when there is none.
    void PostPeriodResult(std::int32_t& number);
    // The result account named by the result row, or nothing.
    [[nodiscard]] bool resultAccountNumber(std::int32_t& number) const;
    [[nodiscard]] Ore periodResult() const;

    // Dates and periods.
    [[nodiscard]] YearMonth latestVoucherDate(std::int32_t& vernr) const;
    [[nodiscard]] YearMonth periodStart() const;
    [[nodiscard]] YearMonth periodEnd() const;
    [[nodiscard]] bool hasOpenPeriod() const;
    [[nodiscard]] std::string periodFileLabel() const;
    [[nodiscard]] std::string periodLabel() const;
    [[nodiscard]] bool neverSaved() const { return m_strFilnamn == kNyttForetag; }

    // Chart approval from the rows of a chart grid (row 1 first).
    void approveIncomeChart(const std::vector<ChartRowTexts>& rows);
    void approveBalanceChart(const std::vector<ChartRowTexts>& rows);

private:
    std::vector<CKonto*> takeChartRows(const std::vector<ChartRowTexts>& rows, std::vector<CKonto*>& subset,
                                       std::vector<std::int32_t>& numbers, const std::vector<CKonto*>& other);
    [[nodiscard]] CKonto* reusableRow(std::int32_t number, const std::vector<CKonto*>& taken,
                                      const std::vector<CKonto*>& other) const;
    void finishApproval(std::vector<CKonto*> ordered);

    std::vector<DocumentView*> m_views;
    bool m_modified = false;
    std::string m_pathName;
};

// "1.2012 - 12.2012" from the period-file label "_1.2012-12.2012.per".
std::string PeriodLabel(const std::string& periodFileLabel);

// Whole-number reading of a text, as the chart and the rules read their cells:
// leading blanks, an optional sign, then digits up to the first other character;
// 0 when there are none; clamped to the 32-bit range.
std::int32_t readWholeNumber(const std::string& text);

} // namespace kv
