// The voucher list window "  Verifikat / Sök verifikat": every voucher of the
// open period, one line each, rebuilt on every change of the document. A
// click or Return opens the voucher in the voucher dialog.
#pragma once

#include "common/WindowContent.h"
#include "model/TallvingeDoc.h"
#include "voucher/VoucherListModel.h"

#include <QAbstractTableModel>

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

private:
    const VoucherListModel& m_list;
};

class VoucherListWindow : public WindowContent, private DocumentView {
    Q_OBJECT
public:
    VoucherListWindow(CTallvingeDoc& doc, AppController& controller, QWidget* parent = nullptr);
    ~VoucherListWindow() override;

    // Marks the voucher at position row, centred, with the focus; Return or a click opens it.
    void markRow(std::size_t row);
    void detachFromDocument() override;

    [[nodiscard]] QTableView* view() const { return m_view; }
    [[nodiscard]] VoucherListItems* items() const { return m_items.get(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void onDocumentUpdated() override;
    [[nodiscard]] std::optional<std::size_t> rowAt(QPoint viewportPos) const;
    void open(std::optional<std::size_t> row);

    CTallvingeDoc* m_doc;
    AppController& m_controller;
    ViewSubscription m_subscription;
    VoucherListModel m_list;
    std::unique_ptr<VoucherListItems> m_items;
    QTableView* m_view;
};

} // namespace kv::ui
