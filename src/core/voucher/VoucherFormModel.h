// The voucher dialog "Verifikat": its fields, the 75 lines of its grid with
// every cell, row and final check, the running sums, the question sequence
// of "OK" that registers or amends the voucher, the VAT line, transaction
// templates, the account list and "Ångra". A modeless form: the window
// program shows it beside the company's windows and forwards the user's
// events here; tests and the command-line tool drive it directly.
#pragma once

#include "attachments/AttachmentStore.h"
#include "grid/Grid.h"
#include "interaction/FormModel.h"
#include "interaction/Prompter.h"
#include "model/TallvingeDoc.h"
#include "storage/LocalClock.h"
#include "voucher/VoucherDate.h"
#include "voucher/VoucherLayout.h"
#include "voucher/VoucherRules.h"
#include "voucher/VoucherUndoStore.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kv {

// The edit fields of the dialog, and the grid, as places of the focus.
enum class VoucherField { TransDay, TransMonth, TransYear, Vertext, BokfDay, BokfMonth, BokfYear, Grid };

struct VoucherFormSetup {
    // The machine's date: the booking date and the prefix of amended lines.
    CalendarDate today = todaysDate();
    // The position in m_verifikat of the registered voucher to show; nothing for a new voucher.
    std::optional<std::size_t> registered;
    // The main window's part when the dialog hands over, after "OK" went
    // through or on "Avbryt", before the document's work.
    std::function<void()> handOver;
    // The time the receipts attached at registration are recorded with.
    LocalClock clock = localTimeNow;
};

class VoucherFormModel : public FormModel, private GridHooks, private DocumentView {
public:
    VoucherFormModel(CTallvingeDoc& doc, Prompter& prompter, VoucherFormSetup setup = {});
    VoucherFormModel(const VoucherFormModel&) = delete;
    VoucherFormModel& operator=(const VoucherFormModel&) = delete;
    ~VoucherFormModel() override;

    // ---- FormModel ----
    [[nodiscard]] FormKind kind() const override { return FormKind::Voucher; }
    [[nodiscard]] std::string title() const override;
    // The close box and Escape cancel; typed lines are not dropped without asking.
    bool mayClose() override;
    // Typed lines are not dropped with the company without asking either.
    bool mayDiscard() override;

    // ---- what the dialog shows ----
    [[nodiscard]] std::int32_t voucherNumber() const { return m_voucherNumber; }
    [[nodiscard]] const std::string& fieldText(VoucherField field) const;
    [[nodiscard]] bool isFieldEditable(VoucherField field) const;
    [[nodiscard]] std::string debitSumText() const;
    [[nodiscard]] std::string creditSumText() const;
    [[nodiscard]] std::string differenceText() const;
    [[nodiscard]] std::string balanceText() const;
    [[nodiscard]] Ore differenceOre() const { return m_creditOre - m_debitOre; }
    [[nodiscard]] bool registered() const { return m_bRegistrerat != 0; }
    [[nodiscard]] std::int32_t pinkRows() const { return m_nRosaRader; }
    // A registered voucher of more lines than the grid's rows: it is only shown.
    [[nodiscard]] bool longerThanTheDialog() const {
        return m_registeredLines.size() > static_cast<std::size_t>(kVoucherRows);
    }
    [[nodiscard]] Grid& grid() { return m_grid; }
    [[nodiscard]] const Grid& grid() const { return m_grid; }
    [[nodiscard]] std::shared_ptr<Grid> sharedGrid() const { return m_sharedGrid; }
    // Every account of the chart: the number, two blanks and the name.
    [[nodiscard]] const std::vector<std::string>& accountListLines() const { return m_accountList; }
    [[nodiscard]] bool canUndo() const { return m_undo.canUndo(); }
    // Where the focus should go, once; the dialog asks after each change.
    std::optional<VoucherField> takeFocusRequest();
    // The number the voucher got when it was registered, once it is.
    [[nodiscard]] std::optional<std::int32_t> registeredNumber() const { return m_registeredNumber; }

    // The run-time state of the checks.
    [[nodiscard]] std::int32_t lastUsedRow() const { return m_nSistaRad; }
    [[nodiscard]] bool valid() const { return m_bGiltigt != 0; }
    [[nodiscard]] bool cellOk() const { return m_bRutaOk != 0; }
    [[nodiscard]] bool gap() const { return m_bMellanrum; }
    [[nodiscard]] std::int32_t changedRow() const { return m_nAndradRad; }

    // ---- the user's actions ----
    void setFieldText(VoucherField field, std::string text);
    // Tab in "Vertext": into the grid, on the first row the user may write.
    void leaveTextField();
    // "OK": checks, asks and registers; true when the voucher is registered and the dialog goes.
    bool ok();
    // "Avbryt": nothing is registered and the dialog goes, once the user
    // has agreed to lose what was typed.
    void cancel();
    // "Moms    Alt + / ": the VAT line of the current row.
    void vatLine();
    // "Klistra in transaktionsmall  F12": the clipboard's lines at the first free row.
    void pasteTemplate(const std::string& clipboardText);
    // A double click on the account list's line: that account at the first free row.
    void insertAccount(std::size_t line);
    // "Ångra"
    void undo();
    // "INFO trans.mall"
    void showTemplateInfo();
    // ---- receipts ("underlag") ----
    // "Bifoga underlag..." or files dropped on the dialog: each file is read
    // and checked at once; a refused one is told through the prompter (its
    // name and why) and left out, the others are chosen. A company never
    // saved has no folder for them: the user is told to save it first and
    // nothing is chosen. Chosen files are copied into the company's store
    // when "OK" registers the voucher, before the registration; a file that
    // cannot be copied stops the registration.
    void attachFiles(const std::vector<std::string>& paths);
    // The files chosen for this registration, in the order chosen; the same
    // content is chosen once.
    [[nodiscard]] const std::vector<CheckedAttachment>& chosenAttachments() const { return m_chosen; }
    // Drops a chosen file before the registration.
    void removeChosenAttachment(std::size_t index);
    // The receipts the registered voucher has already (saved and not yet
    // saved), in the order they were added; none for a new voucher. Kept
    // receipts are never removed: an amendment only adds.
    [[nodiscard]] std::vector<AttachmentRecord> keptAttachments() const;
    // The company file the kept receipts' store belongs to (attachmentStoredPath).
    [[nodiscard]] const std::string& companyPath() const { return m_doc.pathName(); }

    // Types text into a cell as the user does: moves there, types over it and
    // leaves it. False when a check refused the move or the text.
    bool typeCell(CellPos cell, const std::string& text);

    // The columns are drawn this much wider than their base widths, for a
    // font whose standard character is charWidth pixels wide.
    void setCharWidth(double charWidth);

private:
    // ---- GridHooks ----
    bool validateCell(Grid& grid, std::int32_t row, std::int32_t col) override;
    bool startEditing(Grid& grid, std::int32_t row, std::int32_t col) override;
    void readOnlyCellTouched(Grid& grid, std::int32_t row, std::int32_t col) override;
    bool mayMoveCurrentCell(Grid& grid, CellPos from, CellPos to) override;
    void currentCellMoving(Grid& grid, CellPos from, CellPos to) override;
    void cellChanged(Grid& grid, std::int32_t row, std::int32_t col) override;
    bool keyDown(Grid& grid, const GridKey& key) override;
    bool copy(Grid& grid) override;
    bool cut(Grid& grid) override;

    // ---- DocumentView: the chart may change while the dialog is open ----
    void onDocumentUpdated() override;

    // Set-up.
    void buildGrid();
    void styleRow(std::int32_t row);
    void loadRegistered(const CEttVerifikat& voucher);
    void fillAccountList();

    // The recalculation after every change: dates, sums, names, prefixes, VAT column.
    enum class DateReport { Always, WhenChanged, Never };
    void recalculate(DateReport report);
    bool transferDates(DateReport report);
    void fillRow(std::int32_t row);
    [[nodiscard]] std::string amendedPrefix() const;
    void showBalanceOf(std::int32_t row);
    [[nodiscard]] CellPos nextCell(CellPos from, bool backwards) const;
    [[nodiscard]] std::int32_t firstFreeRow() const;
    [[nodiscard]] bool anythingTyped() const;
    void tell(const std::string& text);
    void focus(VoucherField field);

    // "OK".
    [[nodiscard]] bool finalCheckPasses();
    [[nodiscard]] bool askDifference();
    [[nodiscard]] bool inOpenPeriod() const;
    [[nodiscard]] bool askRegistration();
    [[nodiscard]] std::string registrationQuestion() const;
    bool handOverAndRegister();
    [[nodiscard]] CEttVerifikat buildVoucher() const;
    [[nodiscard]] CVerifikatrad lineOf(std::int32_t row) const;
    void close();

    CTallvingeDoc& m_doc;
    Prompter& m_prompter;
    VoucherFormSetup m_setup;
    VoucherRules m_rules;
    // Shared with the dialog on the screen, which may still show the grid for
    // a moment after the model has gone (its hooks and undo store then are unplugged).
    std::shared_ptr<Grid> m_sharedGrid = std::make_shared<Grid>();
    Grid& m_grid = *m_sharedGrid;
    VoucherUndoStore m_undo;
    ViewSubscription m_subscription;

    std::int32_t m_voucherNumber = 0;
    std::array<std::string, 7> m_fields; // the edit fields, in VoucherField order
    std::vector<std::string> m_accountList;
    std::vector<std::int32_t> m_accountNumbers;
    std::optional<std::string> m_pendingAccount;
    std::optional<VoucherField> m_focusRequest;
    std::array<std::string, 6> m_lastDateComplaint; // the date fields when a date was last refused
    std::optional<std::int32_t> m_registeredNumber;
    std::vector<CVerifikatrad> m_registeredLines;
    bool m_closed = false;
    std::vector<CheckedAttachment> m_chosen;

    Ore m_debitOre = 0;
    Ore m_creditOre = 0;
    std::int32_t m_bRegistrerat = 0;
    std::int32_t m_nRosaRader = 0;
    std::int32_t m_nSistaRad = 0;
    std::int32_t m_bGiltigt = 0;
    std::int32_t m_bRutaOk = 1;
    // What the last refused cell was told, said again when "OK" meets it still open.
    std::string m_refusal;
    std::int32_t m_bSvar = 0;
    bool m_bMellanrum = false;
    std::int32_t m_nAndradRad = 0;
    double m_dKontosaldo = 0.0;
};

} // namespace kv
