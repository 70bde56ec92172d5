#include "reports/JournalWindowContent.h"

#include "app/DialogLayout.h"
#include "app/SetupFlow.h"

#include <QPushButton>

namespace kv::ui {

namespace {

// Where the guidance button stands in the window, in pixels: (1, 1) to (550, 130).
const QRect kGuidanceButtonPlace(QPoint(1, 1), QPoint(550, 130));

} // namespace

JournalWindowContent::JournalWindowContent(CTallvingeDoc& doc, std::function<void()> runGuidance,
                                           QWidget* parent)
    : WindowContent(parent), m_doc(&doc), m_subscription(doc.subscribe(*this)),
      m_guidance(new QPushButton(uiText(kGuidanceButtonText), this)) {
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
    m_guidance->setGeometry(kGuidanceButtonPlace);
    m_guidance->setDefault(true);
    m_guidance->hide();
    connect(m_guidance, &QPushButton::clicked, this, [this, run = std::move(runGuidance)] {
        if (m_doc != nullptr) {
            run();
        }
    });
}

JournalWindowContent::~JournalWindowContent() {
    detachFromDocument();
}

void JournalWindowContent::detachFromDocument() {
    m_subscription.reset();
    m_doc = nullptr;
}

void JournalWindowContent::firstUpdate() {
    refresh();
}

void JournalWindowContent::onDocumentUpdated() {
    refresh();
}

void JournalWindowContent::refresh() {
    if (m_doc == nullptr) {
        return;
    }
    m_guidance->setVisible(needsChartGuidance(*m_doc));
}

} // namespace kv::ui
