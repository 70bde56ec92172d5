#include "reports/JournalWindowContent.h"

#include "app/DialogLayout.h"
#include "chart/SetupFlow.h"

#include <QDate>
#include <QPushButton>

namespace kv::ui {

namespace {

// Where the guidance button stands in the window, in pixels: (1, 1) to (550, 130).
const QRect kGuidanceButtonPlace(QPoint(1, 1), QPoint(550, 130));

} // namespace

JournalWindowContent::JournalWindowContent(CTallvingeDoc& doc, Prompter& prompter, QWidget* parent)
    : WindowContent(parent), m_doc(&doc), m_prompter(prompter),
      m_guidance(new QPushButton(uiText(kGuidanceButtonText), this)) {
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
    m_guidance->setGeometry(kGuidanceButtonPlace);
    m_guidance->setDefault(true);
    m_guidance->hide();
    connect(m_guidance, &QPushButton::clicked, this, [this] {
        if (m_doc != nullptr) {
            runChartGuidance(*m_doc, m_prompter);
        }
    });
    doc.addView(this);
}

JournalWindowContent::~JournalWindowContent() {
    detachFromDocument();
}

void JournalWindowContent::detachFromDocument() {
    if (m_doc != nullptr) {
        m_doc->removeView(this);
        m_doc = nullptr;
    }
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
    // The year fields of a new company's first period suggest this year.
    const bool guidance = refreshJournalGuidance(*m_doc, m_prompter, QDate::currentDate().year());
    if (m_doc != nullptr) {
        m_guidance->setVisible(guidance);
    }
}

} // namespace kv::ui
