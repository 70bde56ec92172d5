#include "chart/TemplateChooserModel.h"

#include "chart/ChartTemplates.h"
#include "chart/UserTemplates.h"

#include <algorithm>

namespace kv {

TemplateChooserModel::TemplateChooserModel(CTallvingeDoc& doc, const TemplateStore& templates)
    : m_doc(doc), m_templates(templates) {
    std::vector<std::string> userNames;
    for (const auto& mall : templates.templates()) {
        userNames.push_back(mall->m_strNamn);
    }
    sortTemplateNames(userNames);
    m_entries.assign(kBuiltInTemplateNames.begin(), kBuiltInTemplateNames.end());
    m_entries.insert(m_entries.end(), userNames.begin(), userNames.end());
}

void TemplateChooserModel::select(std::int32_t index) {
    if (index >= 0 && static_cast<std::size_t>(index) < m_entries.size()) {
        m_selected = index;
    }
}

bool TemplateChooserModel::selectName(const std::string& name) {
    const auto found = std::find(m_entries.begin(), m_entries.end(), name);
    if (found == m_entries.end()) {
        return false;
    }
    m_selected = static_cast<std::int32_t>(found - m_entries.begin());
    return true;
}

void TemplateChooserModel::accept() {
    chooseTemplate(m_doc, m_templates, m_entries[static_cast<std::size_t>(m_selected)]);
}

} // namespace kv
