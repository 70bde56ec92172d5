// The voucher dialog on the screen: it shows a VoucherFormModel and hands the
// user's typing, keys and buttons to it. Keyboard first: Tab and Return walk
// date, text and the grid's lines; F12, Alt + keypad / and Ctrl+Return work
// wherever the focus is in the dialog. "Bifoga underlag..." or files dropped
// anywhere on the dialog choose receipts for the voucher; the list under the
// accounts shows those it has and those chosen, "Visa underlag" shows them.
#pragma once

#include "interaction/FormModel.h"

#include <QStringList>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>

class QLabel;
class QLineEdit;
class QMimeData;
class QListWidget;
class QPushButton;

namespace kv {
class AppController;
class Grid;
class VoucherFormModel;
enum class VoucherField;
} // namespace kv

namespace kv::ui {

class GridWidget;

class VoucherForm : public QWidget {
    Q_OBJECT
public:
    VoucherForm(VoucherFormModel& model, AppController& controller, QWidget* parent = nullptr);
    ~VoucherForm() override;

    [[nodiscard]] GridWidget* gridWidget() const { return m_grid; }
    [[nodiscard]] QLineEdit* field(VoucherField field) const;
    [[nodiscard]] QListWidget* accountList() const { return m_accounts; }
    [[nodiscard]] QPushButton* okButton() const { return m_ok; }
    [[nodiscard]] QPushButton* undoButton() const { return m_undo; }
    [[nodiscard]] QLineEdit* differenceField() const { return m_difference; }
    [[nodiscard]] QPushButton* attachButton() const { return m_attach; }
    [[nodiscard]] QPushButton* showAttachmentsButton() const { return m_showAttachments; }
    [[nodiscard]] QListWidget* attachmentList() const { return m_attachments; }
    [[nodiscard]] QLabel* attachmentCount() const { return m_attachmentCount; }

    // What "Bifoga underlag..." asks the user with; Qt's file dialog unless replaced.
    void setFileChooser(std::function<QStringList(QWidget*)> chooser) { m_chooseFiles = std::move(chooser); }
    // "Visa underlag": the viewer of the receipts kept and chosen.
    void showAttachments();

    [[nodiscard]] QSize sizeHint() const override;

    // Shows what the model says changed.
    void showModel(kv::FormAspects aspects);

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* makeEdit(VoucherField field, int maxLength, const QString& pattern);
    QLineEdit* makeDisplay(unsigned colour);
    QPushButton* makeButton(const char* text);
    QWidget* buildHead();
    QWidget* buildFoot();
    void buildShortcuts();
    void fillAccountList();
    QWidget* buildAttachments();
    void fillAttachmentList();
    void removeChosenAttachment();
    // Files dragged over the dialog: true when the event carried files and was handled.
    bool dragOrDrop(QEvent* event);
    void applyFocusRequest();
    void fieldLeft(VoucherField field, bool backwards);

    VoucherFormModel& m_model;
    // The grid stays while the grid widget shows it, even once the model has gone.
    std::shared_ptr<Grid> m_shownGrid;
    AppController& m_controller;
    std::array<QLineEdit*, 7> m_fields{};
    QLineEdit* m_number = nullptr;
    QLineEdit* m_debit = nullptr;
    QLineEdit* m_credit = nullptr;
    QLineEdit* m_difference = nullptr;
    QLineEdit* m_balance = nullptr;
    GridWidget* m_grid = nullptr;
    QListWidget* m_accounts = nullptr;
    QStringList m_shownAccounts;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    QPushButton* m_vat = nullptr;
    QPushButton* m_template = nullptr;
    QPushButton* m_info = nullptr;
    QPushButton* m_undo = nullptr;
    QPushButton* m_attach = nullptr;
    QPushButton* m_showAttachments = nullptr;
    QLabel* m_attachmentCount = nullptr;
    QListWidget* m_attachments = nullptr;
    std::size_t m_keptShown = 0; // the list's first rows are the kept receipts, then the chosen ones
    std::function<QStringList(QWidget*)> m_chooseFiles;
    bool m_connected = false;
};

} // namespace kv::ui
