#include "storage/TemplateStore.h"

#include <algorithm>

namespace kv {

TemplateStore::TemplateStore(std::string folder) : m_folder(std::move(folder)) {}

FileReport TemplateStore::read() {
    TemplateFileContents contents = readTemplateFile(m_folder);
    m_templates = std::move(contents.templates);
    m_unreadable = contents.unreadable;
    m_read = true;
    return std::move(contents.report);
}

FileReport TemplateStore::write() {
    m_saving = true;
    FileReport report;
    if (m_unreadable) {
        report.fail(kMsgKanEjSparaPerioden);
        report.note(
            "Mallfilen " + templateFilePath(m_folder) +
            " kunde inte läsas och skrivs därför inte över. Flytta eller ta bort den och försök igen.");
    } else {
        report = writeTemplateFile(m_folder, m_templates);
    }
    m_saving = false;
    return report;
}

const CKontoplan* TemplateStore::find(const std::string& name) const {
    const auto found = std::find_if(m_templates.begin(), m_templates.end(),
                                    [&name](const auto& mall) { return mall->m_strNamn == name; });
    return found == m_templates.end() ? nullptr : found->get();
}

void TemplateStore::store(std::unique_ptr<CKontoplan> mall, std::optional<std::size_t> replacing) {
    if (replacing && *replacing < m_templates.size()) {
        m_templates[*replacing] = std::move(mall);
    } else {
        m_templates.push_back(std::move(mall));
    }
}

void TemplateStore::remove(std::size_t index) {
    if (index < m_templates.size()) {
        m_templates.erase(m_templates.begin() + static_cast<std::ptrdiff_t>(index));
    }
}

} // namespace kv
