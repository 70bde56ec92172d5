// The dialog "Säkerhetskopior": the backups of the open company, newest
// first, one row each, and the one the user chooses to open.
#pragma once

#include "interaction/DialogModel.h"
#include "storage/BackupList.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kv {

inline constexpr const char* kBackupListTitle = "Säkerhetskopior";
inline constexpr const char* kBackupListHint =
    "Varje gång företaget sparas över en tidigare version sparas den tidigare versionen här. Välj en "
    "säkerhetskopia och klicka Öppna för att spara den som ett eget företag under ett nytt namn och öppna "
    "det. "
    "Företaget som är öppet nu ändras inte.";
inline constexpr const char* kBackupOpenButton = "Öppna...";
inline constexpr const char* kBackupCloseButton = "Stäng";

class BackupListModel : public DialogModelOf<BackupListModel> {
public:
    // backups newest first, as listBackups gives them; the newest that
    // opens is selected.
    BackupListModel(std::vector<BackupSummary> backups, const std::string& companyTitle);

    [[nodiscard]] const std::string& title() const { return m_title; }
    [[nodiscard]] std::string dialogTitle() const override { return title(); }
    [[nodiscard]] static const std::vector<std::string>& columnTitles();
    [[nodiscard]] std::size_t rowCount() const { return m_backups.size(); }
    // The texts of the row's cells, in the order of the columns.
    [[nodiscard]] std::vector<std::string> cells(std::size_t row) const;
    // The backup, or one of its period files, cannot be read.
    [[nodiscard]] bool damaged(std::size_t row) const;

    // -1 when nothing is selected.
    [[nodiscard]] std::int32_t selected() const { return m_selected; }
    void select(std::int32_t row);
    // "Öppna" is offered for a selected backup whose company file reads.
    [[nodiscard]] bool canOpen() const;
    // "Öppna": true when the selected backup can be opened; the dialog then closes.
    bool accept();
    [[nodiscard]] bool accepted() const { return m_accepted; }
    // The backup chosen; only after accept() said yes.
    [[nodiscard]] const BackupSummary& chosen() const;

private:
    std::vector<BackupSummary> m_backups;
    std::string m_title;
    std::int32_t m_selected = -1;
    bool m_accepted = false;
};

// "2024-05-03 14:22:07".
std::string backupTimeText(const BackupName& name);

} // namespace kv
