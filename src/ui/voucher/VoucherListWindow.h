// The voucher list window "  Verifikat / Sök verifikat": every voucher of the
// open period, one line each, rebuilt on every change of the document. A
// click or Return opens the voucher in the voucher dialog. A voucher with
// receipts has a paper clip by its number; "Visa underlag" (the menu
// "Verifikat", or a right click on it) shows them.
#pragma once

#include "common/WindowContent.h"
#include "model/TallvingeDoc.h"
#include "voucher/VoucherListModel.h"

#include <QAbstractTableModel>
#include <QIcon>

#include <memory>
#include <optional>

class QTableView;

namespace kv {
class AppController;
}

namespace kv::ui {

// The voucher list as a Qt model: each line is asked of the core list when
// it shows, so that a list of any length opens at once.
class VoucherListItems : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit VoucherListItems(const VoucherListModel& list, QObject* parent = nullptr);

    void rebuilt(); // the core list was rebuilt
    [[nodiscard]] int rowCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] int columnCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex& index, int role) const override;
    [[nodiscard]] QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    // Whether the voucher at row has receipts, saved or not.
    [[nodiscard]] bool hasAttachments(std::size_t row) const { return m_list.hasAttachments(row); }

private:
    const VoucherListModel& m_list;
    QIcon m_mark;
};

class VoucherListWindow : public WindowContent, private DocumentView {
    Q_OBJECT
public:
    VoucherListWindow(CTallvingeDoc& doc, AppController& controller, QWidget* parent = nullptr);
    ~VoucherListWindow() override;

    // Marks the voucher at position row, centred, with the focus; Return or a click opens it.
    void markRow(std::size_t row);
    void detachFromDocument() override;
    void describe(ViewCapabilities& view) const override;
    bool perform(CommandId id) override;
    // "Visa underlag" for the voucher at row.
    void showAttachments(std::size_t row);

    [[nodiscard]] QTableView* view() const { return m_view; }
    [[nodiscard]] VoucherListItems* items() const { return m_items.get(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void onDocumentUpdated() override;
    [[nodiscard]] std::optional<std::size_t> rowAt(QPoint viewportPos) const;
    void open(std::optional<std::size_t> row);
    void rightClick(std::optional<std::size_t> row, QPoint globalPos);
    [[nodiscard]] std::optional<std::size_t> markedRow() const;

    CTallvingeDoc* m_doc;
    AppController& m_controller;
    ViewSubscription m_subscription;
    VoucherListModel m_list;
    std::unique_ptr<VoucherListItems> m_items;
    QTableView* m_view;
};

} // namespace kv::ui
