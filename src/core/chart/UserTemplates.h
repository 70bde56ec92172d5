// The user's chart templates in the shared template file: saving the open
// company's charts as a template, deleting one, and starting a new company
// from one.
#pragma once

#include "interaction/DialogModel.h"
#include "interaction/Prompter.h"
#include "model/TallvingeDoc.h"
#include "storage/CompanyFiles.h"

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

// "Spara i kontoplanmallar", into the template file of templateFolder.
void saveChartAsTemplate(CTallvingeDoc& doc, Prompter& prompter, const std::string& templateFolder);

// The dialog that lists the templates for "Ta bort från kontoplanmallar".
class DeleteTemplateModel : public DialogModelOf<DeleteTemplateModel> {
public:
    DeleteTemplateModel(CTallvingeDoc& doc, std::string templateFolder);
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
    CTallvingeDoc& m_doc;
    std::string m_templateFolder;
    std::vector<std::string> m_entries;
    std::int32_t m_selected = -1;
};

// "Ta bort från kontoplanmallar": the question, then the dialog.
void deleteChartTemplate(CTallvingeDoc& doc, Prompter& prompter, const std::string& templateFolder);

} // namespace kv
