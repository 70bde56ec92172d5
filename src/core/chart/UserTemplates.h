// The user's chart templates in the shared template file: saving the open
// company's charts as a template, deleting one, and starting a new company
// from one.
#pragma once

#include "interaction/DialogModel.h"
#include "interaction/Prompter.h"
#include "model/TallvingeDoc.h"
#include "storage/CompanyFiles.h"
#include "storage/TemplateStore.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kv {

inline constexpr std::size_t kMaxTemplates = 100;
inline constexpr const char* kMsgSparasSomMall =
    "Kontoplanen sparas som mall. Du kan använda mallen då ett nytt företag skapas";
inline constexpr const char* kMsgRedan100Mallar =
    "Det finns redan 100 st mallar. För att få plats med den här måste någon annan mall tas bort";
inline constexpr const char* kMsgSparaForstSomMall = "Du måste spara filen före den kan användas som mall";
inline constexpr const char* kMsgTasBortFranMallar =
    "Kontoplanen som du väljer tas bort från kontoplanmallar";
inline constexpr const char* kDeleteTemplateTitle = "Välj den mall som skall tas bort från kontomallar";

// Tells the user every message of a file operation, in order.
void tellFileReport(Prompter& prompter, const FileReport& report);

// Template names in the order a sorted list box shows them: alphabetical,
// letter case aside, with å, ä and ö after z.
void sortTemplateNames(std::vector<std::string>& names);

// A new company takes the template of this name: the user's template of that
// name when the store holds one, else the built-in template.
void chooseTemplate(CTallvingeDoc& doc, const TemplateStore& templates, const std::string& name);
// The user's template whose rows the chart editors show while the company
// follows it, or nullptr.
[[nodiscard]] const CKontoplan* chosenUserTemplate(const CTallvingeDoc& doc, const TemplateStore& templates);

// "Spara i kontoplanmallar": the company's charts into the template file.
void saveChartAsTemplate(const CTallvingeDoc& doc, Prompter& prompter, TemplateStore& templates);

// The dialog that lists the templates for "Ta bort från kontoplanmallar".
class DeleteTemplateModel : public DialogModelOf<DeleteTemplateModel> {
public:
    explicit DeleteTemplateModel(TemplateStore& templates);
    [[nodiscard]] std::string dialogTitle() const override { return kDeleteTemplateTitle; }

    // The dialog opens: reads the template file and lists the names, the first selected.
    void open(Prompter& prompter);
    [[nodiscard]] const std::vector<std::string>& entries() const { return m_entries; }
    // -1 when the list is empty.
    [[nodiscard]] std::int32_t selected() const { return m_selected; }
    void select(std::int32_t index);
    // OK: deletes the selected template and writes the file. The dialog always closes.
    void accept(Prompter& prompter);

private:
    TemplateStore& m_templates;
    std::vector<std::string> m_entries;
    std::int32_t m_selected = -1;
};

// "Ta bort från kontoplanmallar": the question, then the dialog.
void deleteChartTemplate(Prompter& prompter, TemplateStore& templates);

} // namespace kv
