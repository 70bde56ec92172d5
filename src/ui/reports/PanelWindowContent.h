// What the journal, the ledger and the trial balance share: a drawn panel in
// a scrolling area, rebuilt from the document on every change, printed as
// the report's listing, and the month range.
#pragma once

#include "common/WindowContent.h"
#include "model/TallvingeDoc.h"
#include "reports/Listing.h"
#include "reports/PageLayout.h"
#include "reports/ReportForm.h"

class QScrollArea;

namespace kv {
class AppController;
}

namespace kv::ui {

class ReportFormView;

class PanelWindowContent : public WindowContent, protected DocumentView {
    Q_OBJECT
public:
    PanelWindowContent(CTallvingeDoc& doc, AppController& controller, QWidget* parent = nullptr);
    ~PanelWindowContent() override;

    void detachFromDocument() override;
    void describe(ViewCapabilities& view) const override;
    [[nodiscard]] std::optional<ReportData> reportData() const override;
    bool perform(CommandId id) override;
    void print(QPrinter* printer) override;
    [[nodiscard]] int pageCount(QPrinter* printer) const override;
    void previewEnded(int page) override;

    [[nodiscard]] ReportFormView* formView() const { return m_view; }
    [[nodiscard]] QScrollArea* scrollArea() const { return m_scroll; }
    [[nodiscard]] int linesPerPage() const { return m_linesPerPage.lines; }

protected:
    [[nodiscard]] virtual ReportForm buildForm(const CTallvingeDoc& doc,
                                               const ScreenMeasures& screen) const = 0;
    // Shows the document in the panel; by default the form of buildForm.
    virtual void rebuild(ReportFormView& view, const CTallvingeDoc& doc);
    [[nodiscard]] virtual Listing buildListing(const CTallvingeDoc& doc, const PrintDevice& device) const = 0;
    [[nodiscard]] virtual ReportData buildData(const CTallvingeDoc& doc) const = 0;
    // The journal offers the month range only once the income chart is there.
    [[nodiscard]] virtual bool offersMonthRange() const;
    // The journal and the trial balance show the page last previewed.
    [[nodiscard]] virtual bool scrollsToPreviewedPage() const { return true; }

    void refresh();
    void onDocumentUpdated() override { refresh(); }
    [[nodiscard]] CTallvingeDoc* document() const { return m_doc; }
    [[nodiscard]] AppController& controller() const { return m_controller; }

private:
    CTallvingeDoc* m_doc;
    AppController& m_controller;
    ViewSubscription m_subscription;
    QScrollArea* m_scroll;
    ReportFormView* m_view;
    PageLines m_linesPerPage;
};

} // namespace kv::ui
