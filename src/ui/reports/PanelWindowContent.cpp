#include "reports/PanelWindowContent.h"

#include "app/AppController.h"
#include "reports/ListingPrinting.h"
#include "reports/MonthRangeModel.h"
#include "reports/ReportData.h"
#include "reports/ReportFormView.h"

#include <QPrinter>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>

namespace kv::ui {

PanelWindowContent::PanelWindowContent(CTallvingeDoc& doc, AppController& controller, QWidget* parent)
    : WindowContent(parent), m_doc(&doc), m_controller(controller), m_subscription(doc.subscribe(*this)),
      m_scroll(new QScrollArea(this)), m_view(new ReportFormView), m_linesPerPage(controller.linesPerPage()) {
    m_scroll->setWidget(m_view);
    m_scroll->setWidgetResizable(true);
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setBackgroundRole(QPalette::Base);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_scroll);
    setFocusProxy(m_scroll);
    // Scrolling moves whole lines; a dragged scroll box stops on one.
    QScrollBar* bar = m_scroll->verticalScrollBar();
    bar->setSingleStep(m_view->textHeight());
    connect(bar, &QScrollBar::sliderMoved, this, [this, bar](int value) {
        const int line = std::max(1, m_view->textHeight());
        bar->setValue(value - value % line);
    });
}

PanelWindowContent::~PanelWindowContent() {
    m_subscription.reset();
}

void PanelWindowContent::detachFromDocument() {
    m_subscription.reset();
    m_doc = nullptr;
}

void PanelWindowContent::refresh() {
    if (m_doc == nullptr) {
        return;
    }
    rebuild(*m_view, *m_doc);
}

void PanelWindowContent::rebuild(ReportFormView& view, const CTallvingeDoc& doc) {
    view.setForm(buildForm(doc, view.screenMeasures()));
}

bool PanelWindowContent::offersMonthRange() const {
    return m_doc != nullptr && m_doc->hasOpenPeriod();
}

void PanelWindowContent::describe(ViewCapabilities& view) const {
    view = {};
    view.canPrint = m_doc != nullptr;
    view.canExport = m_doc != nullptr;
    view.monthRange = offersMonthRange();
    view.monthRangeActive = m_doc != nullptr && m_doc->state().m_nDelperiod == 1;
}

std::optional<ReportData> PanelWindowContent::reportData() const {
    return m_doc != nullptr ? std::optional(buildData(*m_doc)) : std::nullopt;
}

bool PanelWindowContent::perform(CommandId id) {
    if (id != CommandId::MonthRange || m_doc == nullptr || !offersMonthRange()) {
        return false;
    }
    runMonthRange(*m_doc, m_controller.prompter());
    emit commandStateChanged();
    return true;
}

void PanelWindowContent::print(QPrinter* printer) {
    if (printer == nullptr || m_doc == nullptr) {
        return;
    }
    // The first real device settles the lines per page; after that they only
    // ever shrink, here and for the whole program.
    const PrintDevice device = printDeviceOf(*printer);
    m_linesPerPage = linesWhenPrinting(m_linesPerPage, device);
    const PageLines program = m_controller.linesPerPage();
    if (!program.fromDevice || m_linesPerPage.lines < program.lines) {
        m_controller.setLinesPerPage(m_linesPerPage);
    }
    printListing(*printer, buildListing(*m_doc, device), m_linesPerPage.lines);
}

int PanelWindowContent::pageCount(QPrinter* printer) const {
    if (printer == nullptr || m_doc == nullptr) {
        return 0;
    }
    const PrintDevice device = printDeviceOf(*printer);
    return kv::pageCount(buildListing(*m_doc, device).size(),
                         linesWhenPrinting(m_linesPerPage, device).lines);
}

void PanelWindowContent::previewEnded(int page) {
    if (scrollsToPreviewedPage() && page > 0) {
        m_scroll->verticalScrollBar()->setValue((page - 1) * m_linesPerPage.lines * m_view->textHeight());
    }
}

} // namespace kv::ui
