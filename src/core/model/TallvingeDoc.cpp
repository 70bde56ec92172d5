#include "model/TallvingeDoc.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <iterator>
#include <stdexcept>

namespace kv {

CTallvingeDoc::CTallvingeDoc() : m_views(std::make_shared<ViewList>()) {}

CTallvingeDoc::~CTallvingeDoc() = default;

std::string CTallvingeDoc::title() const {
    if (m_pathName.empty()) {
        return "Namnlös";
    }
    const auto slash = m_pathName.find_last_of('/');
    std::string name = slash == std::string::npos ? m_pathName : m_pathName.substr(slash + 1);
    if (name.size() > 4 && name.ends_with(".bok")) {
        name.resize(name.size() - 4);
    }
    return name;
}

// ---- changes and views ----

ChangeScope CTallvingeDoc::beginChange(ChangeKind kind) {
    return ChangeScope(*this, kind);
}

ChangeScope& CTallvingeDoc::currentScope() {
    if (m_scope == nullptr) {
        throw std::logic_error("the company changes outside a change scope");
    }
    return *m_scope;
}

void CTallvingeDoc::keepWholeStateForRollback() {
    auto saved = std::make_shared<CompanyState>(copyCompanyState(*this));
    currentScope().onRollback([this, saved] { restoreState(std::move(*saved)); });
}

void CTallvingeDoc::putBackBooks(CompanyState before, std::size_t pendingBankLines) {
    auto scope = beginChange();
    keepWholeStateForRollback();
    currentScope().onRollback([this, lines = m_pending.bankLines] { m_pending.bankLines = lines; });
    restoreState(std::move(before));
    m_pending.bankLines.resize(std::min(pendingBankLines, m_pending.bankLines.size()));
    scope.commit();
}

void CTallvingeDoc::keepAccountForRollback(std::size_t index) {
    // By position, not by pointer: a whole-state restore of an outer step
    // replaces the objects but keeps the positions.
    const CKonto& konto = *m_allaKonton.at(index);
    currentScope().onRollback([this, index, rows = konto.m_rader.size(), inUse = konto.m_nAnvands] {
        CKonto& restored = *m_allaKonton[index];
        restored.m_rader.resize(std::min(rows, restored.m_rader.size()));
        restored.m_nAnvands = inUse;
    });
}

void CTallvingeDoc::committed(ChangeKind kind) {
    if (kind == ChangeKind::Books) {
        m_modified = true;
    }
    m_views->updateAll();
}

ViewSubscription CTallvingeDoc::subscribe(DocumentView& view) {
    return ViewSubscription(m_views, &view);
}

void CTallvingeDoc::updateAllViews() {
    m_views->updateAll();
}

// ---- the files ----

void CTallvingeDoc::startAfresh() {
    restoreState(CompanyState{});
    m_pending = {};
}

void CTallvingeDoc::loadCompany(CompanyState&& state) {
    auto scope = beginChange(ChangeKind::Display);
    auto old = std::make_shared<CompanyState>(std::move(static_cast<CompanyState&>(*this)));
    auto pending = std::make_shared<PendingRecords>(std::move(m_pending));
    currentScope().onRollback([this, old, pending] {
        restoreState(std::move(*old));
        m_pending = std::move(*pending);
    });
    restoreState(std::move(state));
    m_pending = {}; // they belonged to the company that was open
    scope.commit();
}

void CTallvingeDoc::loadPeriod(CompanyState&& period) {
    auto scope = beginChange();
    keepWholeStateForRollback();
    m_nNastaVernr = period.m_nNastaVernr;
    m_nUtskrift1 = period.m_nUtskrift1;
    m_nUtskrift2 = period.m_nUtskrift2;
    m_bNyttForetag = period.m_bNyttForetag;
    m_pBalansGrid = std::move(period.m_pBalansGrid);
    m_pResultatGrid = std::move(period.m_pResultatGrid);
    m_nReserv1 = period.m_nReserv1;
    m_nFranManad = period.m_nFranManad;
    m_nFranAr = period.m_nFranAr;
    m_nReserv2 = period.m_nReserv2;
    m_nTillManad = period.m_nTillManad;
    m_nTillAr = period.m_nTillAr;
    m_nEndastAnvanda = period.m_nEndastAnvanda;
    m_nAktuellPeriod = period.m_nAktuellPeriod;
    m_nVinstrad = period.m_nVinstrad;
    m_allaKonton = std::move(period.m_allaKonton);
    m_resKonton = std::move(period.m_resKonton);
    m_balKonton = std::move(period.m_balKonton);
    m_balNummer = std::move(period.m_balNummer);
    m_resNummer = std::move(period.m_resNummer);
    m_momsregler = std::move(period.m_momsregler);
    m_verifikat = std::move(period.m_verifikat);
    scope.commit();
}

void CTallvingeDoc::openedFrom(std::string path, std::optional<FileStamp> stamp) {
    m_pathName = std::move(path);
    m_stampedPath = m_pathName;
    m_fileStamp = stamp;
    m_modified = false;
}

void CTallvingeDoc::savedAs(const CompanyFileName& name, bool periodFileWritten,
                            std::optional<FileStamp> stamp) {
    m_pathName = name.path;
    m_stampedPath = name.path;
    m_fileStamp = stamp;
    m_strEnhet = name.enhet;
    m_strFilnamn = name.filnamn;
    if (periodFileWritten) {
        markPeriodFileWritten();
    }
    m_modified = !periodFileWritten;
}

void CTallvingeDoc::markPeriodFileWritten() {
    m_strPeriodfilnamn = m_strFilnamn;
}

void CTallvingeDoc::filesRemoved() {
    m_pathName.clear();
    m_stampedPath.clear();
    m_fileStamp.reset();
    m_modified = true;
}

void CTallvingeDoc::renameTo(const CompanyFileName& name) {
    m_pathName = name.path;
    m_strEnhet = name.enhet;
    m_strFilnamn = name.filnamn;
}

void CTallvingeDoc::savedInFull() {
    m_modified = false;
}

void CTallvingeDoc::markUnsaved() {
    m_modified = true;
}

void CTallvingeDoc::recordSieImport(SieImportRecord record) {
    auto scope = beginChange();
    m_pending.imports.push_back(std::move(record));
    currentScope().onRollback([this] { m_pending.imports.pop_back(); });
    scope.commit();
}

void CTallvingeDoc::recordBankLines(std::vector<BankLineRecord> lines) {
    if (lines.empty()) {
        return;
    }
    auto scope = beginChange();
    const std::size_t before = m_pending.bankLines.size();
    m_pending.bankLines.insert(m_pending.bankLines.end(), std::make_move_iterator(lines.begin()),
                               std::make_move_iterator(lines.end()));
    currentScope().onRollback([this, before] { m_pending.bankLines.resize(before); });
    scope.commit();
}

void CTallvingeDoc::recordAttachments(std::vector<AttachmentRecord> attachments) {
    if (attachments.empty()) {
        return;
    }
    auto scope = beginChange();
    const std::size_t before = m_pending.attachments.size();
    m_pending.attachments.insert(m_pending.attachments.end(), std::make_move_iterator(attachments.begin()),
                                 std::make_move_iterator(attachments.end()));
    currentScope().onRollback([this, before] { m_pending.attachments.resize(before); });
    scope.commit();
}

// ---- what the windows show ----

void CTallvingeDoc::setOnlyUsedAccounts(bool only) {
    const std::int32_t value = only ? 1 : 0;
    if (m_nEndastAnvanda == value) {
        return;
    }
    auto scope = beginChange();
    assign(m_nEndastAnvanda, value);
    scope.commit();
}

void CTallvingeDoc::setMonthRange(std::optional<MonthRange> range) {
    auto scope = beginChange(ChangeKind::Display);
    assign(m_nDelperiod, range ? 1 : 0);
    if (range) {
        assign(m_nDelFranManad, range->from.month);
        assign(m_nDelFranAr, range->from.year);
        assign(m_nDelTillManad, range->to.month);
        assign(m_nDelTillAr, range->to.year);
    }
    scope.commit();
}

const GridState* CTallvingeDoc::statementGrid(Statement which) const {
    return which == Statement::Income ? m_pResultatGrid.get() : m_pBalansGrid.get();
}

void CTallvingeDoc::replaceStatementGrid(Statement which, std::unique_ptr<GridState> grid) {
    auto& field = which == Statement::Income ? m_pResultatGrid : m_pBalansGrid;
    auto old = std::make_shared<std::unique_ptr<GridState>>(std::move(get_underlying(field)));
    currentScope().onRollback([&field, old] { field = std::move(*old); });
    field = std::move(grid);
}

void CTallvingeDoc::makeStatementGrid(Statement which) {
    if (statementGrid(which) != nullptr) {
        return;
    }
    auto scope = beginChange(ChangeKind::Display);
    replaceStatementGrid(which, std::make_unique<GridState>());
    scope.commit();
}

void CTallvingeDoc::formatStatement(Statement which, const GridState& grid) {
    auto scope = beginChange();
    replaceStatementGrid(which, std::make_unique<GridState>(grid));
    scope.commit();
}

void CTallvingeDoc::setVatRules(std::vector<CAutomoms> rules) {
    auto scope = beginChange();
    assign(m_momsregler, std::move(rules));
    scope.commit();
}

// ---- reading ----

int CTallvingeDoc::accountIndex(std::int32_t number) const {
    for (std::size_t i = 0; i < m_allaKonton.size(); ++i) {
        if (m_allaKonton[i]->m_nKontonr == number) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

bool CTallvingeDoc::inBalNummer(std::int32_t number) const {
    return std::find(m_balNummer.begin(), m_balNummer.end(), number) != m_balNummer.end();
}

bool CTallvingeDoc::inResNummer(std::int32_t number) const {
    return std::find(m_resNummer.begin(), m_resNummer.end(), number) != m_resNummer.end();
}

Ore CTallvingeDoc::balanceOfBalanceAccount(std::size_t position) const {
    if (position >= m_balKonton.size()) {
        return 0;
    }
    return balanceUnder(*m_balKonton[position], RangeRule::WholePeriod);
}

RangeRule CTallvingeDoc::rangeRuleInForce() const {
    return m_nDelperiod == 1 ? RangeRule::SubPeriod : RangeRule::WholePeriod;
}

MonthSelection CTallvingeDoc::monthSelection(RangeRule rule) const {
    if (m_nDelperiod != 1) {
        return {};
    }
    return {rule, {m_nDelFranAr, m_nDelFranManad}, {m_nDelTillAr, m_nDelTillManad}};
}

Ore CTallvingeDoc::balanceUnder(const CKonto& konto, RangeRule rule) const {
    return balanceOf(konto, monthSelection(rule));
}

Ore CTallvingeDoc::RangeBalance(std::size_t position) const {
    if (position >= m_resKonton.size()) {
        return 0;
    }
    return balanceUnder(*m_resKonton[position], rangeRuleInForce());
}

Ore CTallvingeDoc::periodResult() const {
    return periodResult(monthSelection(rangeRuleInForce()));
}

Ore CTallvingeDoc::periodResult(const MonthSelection& months) const {
    Ore sum = 0;
    for (const CKonto* konto : m_resKonton) {
        sum = addOre(sum, balanceOf(*konto, months));
    }
    return -sum;
}

bool CTallvingeDoc::resultAccountNumber(std::int32_t& number) const {
    // The result row stands just above the end-marker row, the last income row.
    if (m_resKonton.size() < 2) {
        return false;
    }
    const CKonto& resultRow = *m_resKonton[m_resKonton.size() - 2];
    if (resultRow.m_strKolumn6 != "v") {
        return false;
    }
    number = readWholeNumber(resultRow.m_strKolumn2);
    return true;
}

void CTallvingeDoc::PostPeriodResult(std::int32_t& number) {
    PostPeriodResult(number, rangeRuleInForce());
}

void CTallvingeDoc::PostPeriodResult(std::int32_t& number, RangeRule rule) {
    auto scope = beginChange(ChangeKind::Display);
    keepResultRowsForRollback();
    postPeriodResultSteps(number, rule);
    scope.commit();
}

void CTallvingeDoc::keepResultRowsForRollback() {
    std::int32_t number = 0;
    if (!resultAccountNumber(number)) {
        return;
    }
    if (const int position = accountIndex(number); position > 0) {
        const auto at = static_cast<std::size_t>(position);
        currentScope().onRollback(
            [this, at, rows = m_allaKonton[at]->m_rader] { m_allaKonton[at]->m_rader = rows; });
    }
}

void CTallvingeDoc::postPeriodResultSteps(std::int32_t& number, RangeRule rule) {
    const Ore result = periodResult(monthSelection(rule));
    std::int32_t account = 0;
    if (!resultAccountNumber(account)) {
        return;
    }
    number = account;
    const int index = accountIndex(account);
    if (index <= 0) {
        return;
    }
    CKontorad row;
    row.m_strText = "Resultat";
    row.m_dKredit = toKronor(result);
    CKonto& konto = *m_allaKonton[static_cast<std::size_t>(index)];
    konto.m_rader.clear();
    konto.m_rader.push_back(std::move(row));
}

YearMonth CTallvingeDoc::latestVoucherDate(std::int32_t& vernr) const {
    YearMonth latest{2000, 1};
    for (const CEttVerifikat& ver : m_verifikat) {
        const YearMonth when{ver.m_nTransAr, ver.m_nTransManad};
        if (when > latest) {
            latest = when;
            vernr = ver.m_nVernr;
        }
    }
    return latest;
}

bool CTallvingeDoc::hasOpenPeriod() const {
    return m_nAktuellPeriod >= 0 && static_cast<std::size_t>(m_nAktuellPeriod) < m_perioder.size();
}

YearMonth CTallvingeDoc::periodStart() const {
    if (!hasOpenPeriod()) {
        return {};
    }
    const CPeriod& period = m_perioder[static_cast<std::size_t>(m_nAktuellPeriod)];
    return {period.m_nFranAr, period.m_nFranManad};
}

YearMonth CTallvingeDoc::periodEnd() const {
    if (!hasOpenPeriod()) {
        return {};
    }
    const CPeriod& period = m_perioder[static_cast<std::size_t>(m_nAktuellPeriod)];
    return {period.m_nTillAr, period.m_nTillManad};
}

std::string CTallvingeDoc::periodFileLabel() const {
    return "_" + std::to_string(m_nFranManad) + "." + std::to_string(m_nFranAr) + "-" +
           std::to_string(m_nTillManad) + "." + std::to_string(m_nTillAr) + ".per";
}

std::string CTallvingeDoc::periodLabel() const {
    return PeriodLabel(periodFileLabel());
}

std::string PeriodLabel(const std::string& periodFileLabel) {
    if (periodFileLabel.size() < 5) {
        return {};
    }
    const std::string middle = periodFileLabel.substr(1, periodFileLabel.size() - 5);
    const auto dash = middle.find('-');
    if (dash == std::string::npos) {
        return middle;
    }
    return middle.substr(0, dash) + " - " + middle.substr(dash + 1);
}

std::int32_t readWholeNumber(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    long long value = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])) != 0; ++i) {
        value = std::min(value * 10 + (text[i] - '0'), static_cast<long long>(INT_MAX) + 1);
    }
    value = negative ? -value : value;
    return static_cast<std::int32_t>(
        std::clamp(value, static_cast<long long>(INT_MIN), static_cast<long long>(INT_MAX)));
}

} // namespace kv
