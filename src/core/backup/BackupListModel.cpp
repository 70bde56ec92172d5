#include "backup/BackupListModel.h"

#include "storage/BackupRestore.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>

namespace kv {

namespace {

std::string dateText(std::int32_t year, std::int32_t month, std::int32_t day) {
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", year, month, day);
    return text;
}

} // namespace

std::string backupTimeText(const BackupName& name) {
    const LocalTime& t = name.time;
    char text[48];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour,
                  t.minute, t.second);
    return text;
}

BackupListModel::BackupListModel(std::vector<BackupSummary> backups, const std::string& companyTitle)
    : m_backups(std::move(backups)), m_title(std::string(kBackupListTitle) + " av " + companyTitle) {
    // The newest backup that opens, else the newest.
    const auto opens = std::find_if(m_backups.begin(), m_backups.end(),
                                    [](const BackupSummary& backup) { return backup.opens(); });
    if (!m_backups.empty()) {
        m_selected = opens == m_backups.end() ? 0 : static_cast<std::int32_t>(opens - m_backups.begin());
    }
}

const std::vector<std::string>& BackupListModel::columnTitles() {
    static const std::vector<std::string> titles = {"Sparad", "Period", "Verifikat", "Senaste verifikat",
                                                    "Anmärkning"};
    return titles;
}

std::vector<std::string> BackupListModel::cells(std::size_t row) const {
    const BackupSummary& backup = m_backups.at(row);
    if (!backup.opens()) {
        return {backupTimeText(backup.name), "", "", "", "Skadad, kan inte öppnas: " + backup.damage};
    }
    std::string last;
    if (backup.lastVoucher) {
        const BackupVoucher& voucher = *backup.lastVoucher;
        last = dateText(voucher.year, voucher.month, voucher.day) + "  " + voucher.text;
    }
    return {backupTimeText(backup.name),
            periodText(backup.franManad, backup.franAr, backup.tillManad, backup.tillAr),
            std::to_string(backup.voucherCount), last,
            backup.periodDamage.empty() ? std::string() : "En periodfil är skadad: " + backup.periodDamage};
}

bool BackupListModel::damaged(std::size_t row) const {
    const BackupSummary& backup = m_backups.at(row);
    return !backup.opens() || !backup.periodDamage.empty();
}

void BackupListModel::select(std::int32_t row) {
    m_selected = row >= 0 && static_cast<std::size_t>(row) < m_backups.size() ? row : -1;
}

bool BackupListModel::canOpen() const {
    return m_selected >= 0 && m_backups[static_cast<std::size_t>(m_selected)].opens();
}

bool BackupListModel::accept() {
    m_accepted = canOpen();
    return m_accepted;
}

const BackupSummary& BackupListModel::chosen() const {
    if (!m_accepted) {
        throw std::logic_error("no backup was chosen");
    }
    return m_backups[static_cast<std::size_t>(m_selected)];
}

} // namespace kv
