// The user's own chart templates: the list in the template file of one
// folder, shared by every company the user keeps. The application owns one
// store for the session; a company starts from one of its templates but
// keeps nothing of the list.
#pragma once

#include "storage/CompanyArchive.h"
#include "storage/CompanyFiles.h"

#include <cstddef>
#include <optional>
#include <string>

namespace kv {

class TemplateStore {
public:
    // folder: where the template file is (see defaultTemplateFolder).
    explicit TemplateStore(std::string folder);
    TemplateStore(const TemplateStore&) = delete;
    TemplateStore& operator=(const TemplateStore&) = delete;

    [[nodiscard]] const std::string& folder() const { return m_folder; }

    // Reads the template file: its templates replace those held. A file that
    // is missing or cannot be read leaves none; one that exists but cannot be
    // read is from then on never written over (see write).
    FileReport read();
    // Writes the templates held as the template file. Refused, with the
    // user's message, while the file read last could not be read: it may hold
    // templates that would otherwise be lost.
    FileReport write();

    [[nodiscard]] const TemplateList& templates() const { return m_templates; }
    // The first template of that name, or nullptr.
    [[nodiscard]] const CKontoplan* find(const std::string& name) const;
    // Whether the template file has been read.
    [[nodiscard]] bool wasRead() const { return m_read; }
    // The file exists but could not be read at the last read.
    [[nodiscard]] bool fileUnreadable() const { return m_unreadable; }
    // True only while write() writes the file.
    [[nodiscard]] bool saving() const { return m_saving; }

    // Adds a template, or replaces the one at replacing.
    void store(std::unique_ptr<CKontoplan> mall, std::optional<std::size_t> replacing);
    // Removes the template at index (nothing when there is none).
    void remove(std::size_t index);

private:
    std::string m_folder;
    TemplateList m_templates;
    bool m_read = false;
    bool m_unreadable = false;
    bool m_saving = false;
};

} // namespace kv
