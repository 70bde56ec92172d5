// The layouts of the company file, the period file and the template file.
#pragma once

#include "model/TallvingeDoc.h"
#include "storage/Archive.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kv {

using TemplateList = std::vector<std::unique_ptr<CKontoplan>>;

// Writes the company file. afterHeader runs once the fields up to
// m_nVinstrad are written: the open period's file is written there.
void writeCompanyArchive(ArchiveWriter& out, const CompanyState& doc,
                         const std::function<void()>& afterHeader);
// The same, with the two texts of the company file given: a save under a
// new name writes them before the company takes them.
void writeCompanyArchive(ArchiveWriter& out, const CompanyState& doc, const std::string& enhet,
                         const std::string& filnamn, const std::function<void()>& afterHeader);
void writePeriodArchive(ArchiveWriter& out, const CompanyState& doc, const std::string& companyFileName);
void writeTemplateArchive(ArchiveWriter& out, const TemplateList& templates);

// Readers build fresh records; any damage throws ArchiveError.
CompanyState readCompanyArchive(ArchiveReader& in);
// The company file name a period file starts with.
std::string readPeriodArchiveOwner(ArchiveReader& in);
// The rest of a period file: the stored fields of the period, in a fresh state.
CompanyState readPeriodArchiveBody(ArchiveReader& in);
TemplateList readTemplateArchive(ArchiveReader& in);

namespace detail {
// How many times vouchers read on a second thread were taken, for the tests.
std::size_t vouchersReadOnSecondThread() noexcept;
// For the tests: while set, the first thread waits at the vouchers until the
// second has said where it reads from, so that the split is the one the
// file's size gives, never the one a busy machine happens to give.
void awaitSecondThread(bool await) noexcept;
} // namespace detail

} // namespace kv
