// The company document: it owns every record of the open company and tells
// its views when something changed. It knows nothing of any window system.
#pragma once

#include "grid/GridState.h"
#include "model/Amount.h"
#include "model/CompanyRecords.h"
#include "model/DocumentChange.h"
#include "model/FileStamp.h"
#include "model/MonthSelection.h"
#include "model/Records.h"
#include "model/YearMonth.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace kv {

inline constexpr const char* kNyttForetag = "Nytt företag123456";
inline constexpr const char* kIngenMall = "xxx123456";
inline constexpr const char* kNyttDokumentText = "Kanske nytt bokföringsprogram...";
inline constexpr const char* kEndMarker = "Exempel";

// Texts of chart-grid columns 1 to 6 of one row (index 0 is column 1).
using ChartRowTexts = std::array<std::string, 6>;

// Every field of the company, stored and run-time, with its starting value.
// Kept apart from the document so that clearing is one assignment.
struct CompanyState {
    // Stored in the company file and the period files.
    std::int32_t m_nNastaVernr = 1;
    std::int32_t m_nUtskrift1 = 2046;
    std::int32_t m_nUtskrift2 = 2046;
    std::int32_t m_bNyttForetag = 1;
    DeepConst<std::unique_ptr<GridState>> m_pBalansGrid;
    DeepConst<std::unique_ptr<GridState>> m_pResultatGrid;
    std::int32_t m_nReserv1 = 0;
    std::int32_t m_nFranManad = 0;
    std::int32_t m_nFranAr = 0;
    std::int32_t m_nReserv2 = 0;
    std::int32_t m_nTillManad = 0;
    std::int32_t m_nTillAr = 0;
    std::int32_t m_nEndastAnvanda = 0;
    std::string m_strEnhet = kNyttForetag;   // company file only
    std::string m_strFilnamn = kNyttForetag; // company file only
    std::int32_t m_nAktuellPeriod = 0;
    std::int32_t m_nVinstrad = 0;
    KontoList m_allaKonton; // owning: income rows, then balance rows
    KontoRefs m_resKonton;  // referring into m_allaKonton
    KontoRefs m_balKonton;  // referring into m_allaKonton
    std::vector<std::int32_t> m_balNummer;
    std::vector<std::int32_t> m_resNummer;
    std::vector<CAutomoms> m_momsregler;
    std::vector<CEttVerifikat> m_verifikat; // voucher k at position k-1
    std::vector<CPeriod> m_perioder;        // company file only

    // Run-time only.
    std::string m_strPeriodfilnamn = kNyttForetag;
    std::string m_strMallnamn = kIngenMall;
    // -1: a built-in template (or none yet); 0: the user template named
    // m_strMallnamn, whose rows and VAT rules the company took; -2: the
    // company's VAT rules are its own.
    std::int32_t m_nValdMall = -1;
    std::string m_strNyttDokument = kNyttDokumentText;
    std::int32_t m_nSenasteAr = 0;
    std::int32_t m_nSenasteManad = 0;
    std::int32_t m_nSenasteDag = 0;

    // Month range of the reports.
    std::int32_t m_nDelperiod = 0;
    std::int32_t m_nDelFranManad = 0;
    std::int32_t m_nDelFranAr = 0;
    std::int32_t m_nDelTillManad = 0;
    std::int32_t m_nDelTillAr = 0;

    // Trial-balance listing length.
    std::int32_t m_nUtskrift3 = 0;

    // Opening another period automatically.
    std::int32_t m_bAutoOppna = 0;
    std::int32_t m_nAutoPeriod = 0;
};

// The months of a period, as the period dialog chose them.
struct PeriodChoice {
    std::int32_t franManad = 0;
    std::int32_t franAr = 0;
    std::int32_t tillManad = 0;
    std::int32_t tillAr = 0;
};

// A document operation refused because its precondition does not hold; the
// document is unchanged. what() is the text for the user.
class DocumentRefusal : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A run of months of the open period that the reports show.
struct MonthRange {
    YearMonth from;
    YearMonth to;
};

// SIE: the opening balance of one balance-sheet account, debit positive.
struct OpeningBalance {
    std::int32_t account = 0;
    Ore amount = 0;
};

// Where the company's files are: the path of the company file and the two
// texts that the company file stores, the first characters of its path and
// its file name.
struct CompanyFileName {
    std::string path;
    std::string enhet;
    std::string filnamn;
};

// The two statement windows, whose grids the company keeps.
enum class Statement { Income, Balance };

// Everyone reads the company through state(); only the operations below (and
// the archive code, through load*) change it. Each operation checks its
// preconditions, changes the company inside a ChangeScope and so either
// completes, with the views told once, or leaves the company as it was.
class CTallvingeDoc : private CompanyState {
public:
    CTallvingeDoc();
    CTallvingeDoc(const CTallvingeDoc&) = delete;
    CTallvingeDoc& operator=(const CTallvingeDoc&) = delete;
    ~CTallvingeDoc();

    [[nodiscard]] const CompanyState& state() const { return *this; }

    // ---- changes and views ----
    // Groups operations into one change: the views hear of it once, at the
    // commit of the outermost scope, and a scope left without commit puts
    // back everything changed inside it.
    [[nodiscard]] ChangeScope beginChange(ChangeKind kind = ChangeKind::Books);
    [[nodiscard]] ViewSubscription subscribe(DocumentView& view);
    // Tells every view to rebuild, without any change.
    void updateAllViews();
    // Whether the company differs from its files: the save question asks.
    [[nodiscard]] bool isModified() const { return m_modified; }

    // ---- the files ----
    // The full path of the company file; empty until it is saved or opened.
    [[nodiscard]] const std::string& pathName() const { return m_pathName; }
    // The window title: the file name without ".bok", or "Namnlös".
    [[nodiscard]] std::string title() const;
    // The company starts afresh: every record goes and every field returns
    // to its starting value. Its path and whether it is modified stay.
    void startAfresh();
    // What a company file held replaces the company's contents.
    void loadCompany(CompanyState&& state);
    // The company was read from the company file at path, which had the
    // stamp given: it stands there, and nothing in it is unsaved.
    void openedFrom(std::string path, std::optional<FileStamp> stamp = std::nullopt);
    // The company file at path as it stood when the company was read from it
    // or last saved there; nothing when it was not. A save checks that the
    // file standing there is still this one.
    [[nodiscard]] std::optional<FileStamp> fileStampAt(const std::string& path) const {
        return path == m_stampedPath ? m_fileStamp : std::nullopt;
    }
    // Another program writes the company: this one shows it and prints it,
    // and never registers or saves anything.
    [[nodiscard]] bool isReadOnly() const { return m_readOnly; }
    void openedReadOnly() { m_readOnly = true; }
    // What a period file held replaces the open period's stored fields; the
    // periods and the company's texts stay.
    void loadPeriod(CompanyState&& period);
    // The company file was written as name, and the open period's file with
    // it when periodFileWritten: the company stands under that name, and is
    // unmodified unless its period file did not get through (the next save
    // writes both again).
    void savedAs(const CompanyFileName& name, bool periodFileWritten,
                 std::optional<FileStamp> stamp = std::nullopt);
    // The open period's file was written with the company's current name.
    void markPeriodFileWritten();
    // The files of a new company were taken away again, as its first save
    // did not get through: it has no file, and all of it is unsaved.
    void filesRemoved();
    // The company stands under another name from now on, whose files the
    // rename writes; whether it is modified does not change.
    void renameTo(const CompanyFileName& name);
    // The company's files hold it as it stands: a flow that saved its files
    // inside its change says so once the change is committed.
    void savedInFull();
    // The company differs from its files by more than its committed changes
    // say (a company just made, a save that got only half through): the
    // next save writes it all, and closing it asks first.
    void markUnsaved();
    // The records for the company's database made since the last save,
    // which the next save writes with the files (see storage/CompanyDatabase.h).
    [[nodiscard]] const PendingRecords& pendingRecords() const { return m_pending; }
    // A SIE file read in; part of the change in progress.
    void recordSieImport(SieImportRecord record);
    // Bank statement lines booked; part of the change in progress.
    void recordBankLines(std::vector<BankLineRecord> lines);
    // Receipts attached to vouchers (their files already in the company's
    // store); part of the change in progress, so a registration taken back
    // takes its attachments back.
    void recordAttachments(std::vector<AttachmentRecord> attachments);
    // A booking taken back whole ("Ångra" after a bank statement was
    // booked): the books put back as a copy taken before it, and the bank
    // lines recorded since then (beyond the first pendingBankLines) dropped.
    // One change of the books.
    void putBackBooks(CompanyState before, std::size_t pendingBankLines);
    // The save has written the pending records.
    void pendingRecordsSaved() {
        m_pending = {};
        ++m_pendingSaves;
    }
    // How many saves have written pending records: what a cache of the
    // database's records compares to know that they changed.
    [[nodiscard]] std::uint64_t pendingSaves() const { return m_pendingSaves; }

    // ---- chart templates ----
    // A new company chooses a built-in template by name; the chart editors
    // fill in its rows.
    void chooseTemplate(const std::string& name);
    // A new company starts from one of the user's templates (see
    // storage/TemplateStore.h): it takes the template's rows, unused and
    // without posted rows, and its VAT rules at once.
    void applyUserTemplate(const CKontoplan& mall);
    // The VAT rules are the company's own now: no template's rules apply.
    void forgetChosenTemplate();

    // ---- charts ----
    // Chart approval from the rows of a chart grid (row 1 first).
    void approveIncomeChart(const std::vector<ChartRowTexts>& rows);
    void approveBalanceChart(const std::vector<ChartRowTexts>& rows);
    void setOnlyUsedAccounts(bool only);
    // The month range of the reports, or the whole period.
    void setMonthRange(std::optional<MonthRange> range);
    // The grid of a statement window as the company keeps it; nullptr until
    // the window first opens.
    [[nodiscard]] const GridState* statementGrid(Statement which) const;
    // The statement window opens for the first time: the company keeps an
    // empty grid for it, which is nothing the user changed.
    void makeStatementGrid(Statement which);
    // The user formatted a statement window: the company keeps its grid and
    // becomes modified.
    void formatStatement(Statement which, const GridState& grid);

    // ---- VAT ----
    // The approved VAT rules; the company no longer follows a template's.
    void setVatRules(std::vector<CAutomoms> rules);

    // ---- periods ----
    // The first-period question has been asked; the company is no longer new.
    void firstPeriodAsked();
    // Appends the first period and opens it; refused when the company has one.
    void addFirstPeriod(const PeriodChoice& choice);
    // Closes the open period and opens a new last one after it: the result
    // is booked, the balances carried, the vouchers and posted rows go.
    void newPeriod(const PeriodChoice& choice);
    // Stores the open period's closing balances (and books its result) before
    // it is left; yields the result account, or -1 when there is none.
    std::int32_t closePeriod();
    // What another period's file held becomes the open period, with opening
    // balances from the period before it.
    void openPeriod(CompanyState&& period);
    // Moves the end month of the last period, which must be the open one.
    void changeEndDate(std::int32_t tillManad, std::int32_t tillAr);

    // ---- vouchers ----
    // Registers a new voucher in the open period: it gets the next number,
    // each line with an account is posted to it. Returns the number.
    std::int32_t registerVoucher(CEttVerifikat voucher);
    // Replaces registered voucher voucher.m_nVernr; its first postedLines
    // lines were posted at registration and are not posted again.
    void amendVoucher(CEttVerifikat voucher, std::int32_t postedLines);

    // ---- SIE: a company brought in from another program ----
    // Writes the opening balances ("Ingående balans", the first row of each
    // account) of the company's first period, where nothing is carried in
    // from an earlier one. Refused for a later period, for an account that
    // is not a numbered balance-sheet account, for the result account (its
    // balance is computed) and for an account that has an opening row.
    void addOpeningBalances(const std::vector<OpeningBalance>& balances);

    // ---- reading ----
    // Accounts.
    [[nodiscard]] int accountIndex(std::int32_t number) const;
    [[nodiscard]] bool hasAccount(std::int32_t number) const { return accountIndex(number) >= 0; }
    [[nodiscard]] bool inBalNummer(std::int32_t number) const;
    [[nodiscard]] bool inResNummer(std::int32_t number) const;
    [[nodiscard]] bool incomeChartApproved() const { return !m_resKonton.empty(); }
    [[nodiscard]] bool balanceChartApproved() const { return !m_balKonton.empty(); }
    [[nodiscard]] bool bothChartsApproved() const { return incomeChartApproved() && balanceChartApproved(); }
    // The balance-sheet account that carries the previous period's result,
    // or 0 when the chart names none.
    [[nodiscard]] std::int32_t carriedProfitAccount() const;

    // Balances in öre, debit minus credit.
    [[nodiscard]] Ore balanceOfBalanceAccount(std::size_t position) const;
    [[nodiscard]] Ore RangeBalance(std::size_t position) const;
    // Reports: the month range as a value. rangeRuleInForce is the sub-period
    // form while a range is chosen; monthSelection(rule) the months a rule
    // takes under the chosen range (the whole period while none is chosen).
    [[nodiscard]] RangeRule rangeRuleInForce() const;
    [[nodiscard]] MonthSelection monthSelection(RangeRule rule) const;
    [[nodiscard]] Ore balanceUnder(const CKonto& konto, RangeRule rule) const;
    // Books the period result as the result account's single row; sets number
    // to the result account, or leaves it when there is none. The row is
    // derived from the books, so it is a change of what is shown: it does
    // not mark the company modified, and a change that fails around it puts
    // the account's rows back. Without a rule, the rule in force. (The
    // reports do not need it: they read the result through ReportBooks.)
    void PostPeriodResult(std::int32_t& number);
    void PostPeriodResult(std::int32_t& number, RangeRule rule);
    // The result account named by the result row, or nothing.
    [[nodiscard]] bool resultAccountNumber(std::int32_t& number) const;
    [[nodiscard]] Ore periodResult() const;
    [[nodiscard]] Ore periodResult(const MonthSelection& months) const;

    // Dates and periods.
    [[nodiscard]] YearMonth latestVoucherDate(std::int32_t& vernr) const;
    [[nodiscard]] YearMonth periodStart() const;
    [[nodiscard]] YearMonth periodEnd() const;
    [[nodiscard]] bool hasOpenPeriod() const;
    // True when the open period is older than the second-to-last one.
    [[nodiscard]] bool periodLocked() const;
    [[nodiscard]] std::string periodFileLabel() const;
    [[nodiscard]] std::string periodLabel() const;
    [[nodiscard]] bool neverSaved() const { return m_strFilnamn == kNyttForetag; }

private:
    friend class ChangeScope;

    // The innermost open scope; operations record how to undo their steps in it.
    ChangeScope& currentScope();
    // Makes the whole company restorable by the current scope (for the
    // operations that touch most of it).
    void keepWholeStateForRollback();
    void keepAccountForRollback(std::size_t index);
    // Keeps every row of the result account, which the result posting replaces.
    void keepResultRowsForRollback();
    void postPeriodResultSteps(std::int32_t& number, RangeRule rule);
    void restoreState(CompanyState&& state) { static_cast<CompanyState&>(*this) = std::move(state); }
    // Sets a field of the company inside the current scope, which can put it back.
    template <typename T> void assign(T& field, T value) {
        currentScope().onRollback([&field, old = field] { field = old; });
        field = std::move(value);
    }
    void committed(ChangeKind kind);
    // Puts a statement grid in place inside the current scope, which can put the old one back.
    void replaceStatementGrid(Statement which, std::unique_ptr<GridState> grid);

    std::vector<CKonto*> takeChartRows(const std::vector<ChartRowTexts>& rows, KontoRefs& subset,
                                       std::vector<std::int32_t>& numbers, const KontoRefs& other);
    [[nodiscard]] CKonto* reusableRow(std::int32_t number, const std::vector<CKonto*>& taken,
                                      const KontoRefs& other);
    void finishApproval(std::vector<CKonto*> ordered);

    void checkVoucherFits(const CEttVerifikat& voucher, std::size_t firstNewLine) const;
    void postLines(const CEttVerifikat& voucher, std::size_t firstLine);
    void keepPeriodForRollback(std::size_t index);
    void keepClosingForRollback();
    void setBooksAsideForRollback();
    std::int32_t closePeriodSteps();
    void applyOpeningBalances(std::int32_t resultAccount);
    void carryPreviousResult(const CPeriod& previous, const CKonto* resultCopy);
    void applyInUseRule();

    std::shared_ptr<ViewList> m_views;
    ChangeScope* m_scope = nullptr;
    bool m_modified = false;
    std::string m_pathName;
    std::string m_stampedPath;
    std::optional<FileStamp> m_fileStamp;
    bool m_readOnly = false;
    PendingRecords m_pending;
    std::uint64_t m_pendingSaves = 0;
};

// A deep copy of a company's contents: the subsets refer into the copy.
CompanyState copyCompanyState(const CompanyState& state);

// A voucher as typed: dated, with its text and lines; the sums, the
// difference and the line count follow from the lines.
CEttVerifikat makeVoucher(std::int32_t day, std::int32_t month, std::int32_t year, std::string text,
                          std::vector<CVerifikatrad> lines);
// "1.2012 - 12.2012" from the period-file label "_1.2012-12.2012.per".
std::string PeriodLabel(const std::string& periodFileLabel);

// Whole-number reading of a text, as the chart and the rules read their cells:
// leading blanks, an optional sign, then digits up to the first other character;
// 0 when there are none; clamped to the 32-bit range.
std::int32_t readWholeNumber(const std::string& text);

} // namespace kv
