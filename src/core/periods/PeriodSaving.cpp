#include "periods/PeriodSaving.h"

#include "chart/UserTemplates.h"
#include "storage/CompanyFiles.h"

namespace kv {

bool saveOpenPeriodAndCompany(CTallvingeDoc& doc, Prompter& prompter) {
    // Saving the company writes the open period's file on the way.
    const FileReport saved = saveCompany(doc, doc.pathName());
    tellFileReport(prompter, saved);
    return saved.ok;
}

bool lastPeriodIsOpen(const CTallvingeDoc& doc) {
    return doc.hasOpenPeriod() &&
           static_cast<std::size_t>(doc.state().m_nAktuellPeriod) + 1 == doc.state().m_perioder.size();
}

} // namespace kv
