#include "reports/TrialBalanceWindowContent.h"

#include "app/SetupFlow.h"

namespace kv::ui {

TrialBalanceWindowContent::TrialBalanceWindowContent(CTallvingeDoc& doc, Prompter& prompter, QWidget* parent)
    : EmptyWindowContent(parent), m_doc(&doc), m_prompter(prompter) {}

void TrialBalanceWindowContent::firstUpdate() {
    if (m_doc != nullptr) {
        runRequestedEditors(*m_doc, m_prompter);
    }
}

} // namespace kv::ui
