// The period list "Öppna period": one entry per period of the company, the
// locked ones marked, from which the user picks the period to open.
#pragma once

#include "interaction/DialogModel.h"
#include "model/TallvingeDoc.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kv {

// One period as the list shows it: "01.2011  -  12.2011", with "   ( låst )"
// when locked is true.
std::string periodListEntry(const CPeriod& period, bool locked);

class PeriodListModel : public DialogModelOf<PeriodListModel> {
public:
    // Lists the company's periods, the last one selected.
    explicit PeriodListModel(const CTallvingeDoc& doc);

    [[nodiscard]] const char* title() const;
    [[nodiscard]] std::string dialogTitle() const override { return title(); }
    [[nodiscard]] const char* label() const;
    [[nodiscard]] const std::vector<std::string>& entries() const { return m_entries; }
    // The selected position (from 0), or -1 when the list is empty.
    [[nodiscard]] std::int32_t selected() const { return m_selected; }
    // Selects an entry; a position outside the list is ignored.
    void select(std::int32_t position);
    // OK: true when an entry is selected, which is then the period to open.
    bool accept();
    [[nodiscard]] bool accepted() const { return m_accepted; }

private:
    std::vector<std::string> m_entries;
    std::int32_t m_selected = -1;
    bool m_accepted = false;
};

} // namespace kv
