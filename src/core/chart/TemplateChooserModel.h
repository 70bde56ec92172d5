// The template chooser "Kontoplanmallar" of a new company: the four built-in
// templates on top, then the user's templates; OK makes the chosen one the
// company's template.
#pragma once

#include "interaction/DialogModel.h"
#include "model/TallvingeDoc.h"
#include "storage/TemplateStore.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kv {

inline constexpr const char* kTemplateChooserTitle = "Kontoplanmallar";
inline constexpr const char* kTemplateChooserLabel = "Välj en mall";

class TemplateChooserModel : public DialogModelOf<TemplateChooserModel> {
public:
    // Lists the user's templates as the store last read them.
    TemplateChooserModel(CTallvingeDoc& doc, const TemplateStore& templates);
    [[nodiscard]] std::string dialogTitle() const override { return kTemplateChooserTitle; }

    [[nodiscard]] const std::vector<std::string>& entries() const { return m_entries; }
    [[nodiscard]] std::int32_t selected() const { return m_selected; }
    void select(std::int32_t index);
    // Selects the entry with this text; false when there is none.
    bool selectName(const std::string& name);

    // OK: the selected text becomes m_strMallnamn; a user template of that
    // name is copied into the company (m_nValdMall 0), else m_nValdMall is -1.
    void accept();

private:
    CTallvingeDoc& m_doc;
    const TemplateStore& m_templates;
    std::vector<std::string> m_entries;
    std::int32_t m_selected = 0;
};

} // namespace kv
