#include "periods/RenameDialogModel.h"

#include "periods/PeriodTexts.h"
#include "storage/CompanyFiles.h"
#include "storage/Cp1252.h"

#include <algorithm>
#include <filesystem>

namespace kv {

namespace {

// The longest name whose period folder and period files still make file names.
constexpr std::size_t kMaxNameBytes = 200;

std::string folderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

bool blank(const std::string& text) {
    return text.find_first_not_of(" \t") == std::string::npos;
}

} // namespace

std::optional<std::string> companyNameProblem(const std::string& name) {
    if (name.find('/') != std::string::npos) {
        return kMsgNamnMedSnedstreck;
    }
    if (std::any_of(name.begin(), name.end(), [](char c) {
            const auto byte = static_cast<unsigned char>(c);
            return byte < 0x20 || byte == 0x7F;
        })) {
        return kMsgNamnMedStyrtecken;
    }
    if (const std::string unstorable = firstUnstorableCharacter(name); !unstorable.empty()) {
        return unstorableNameMessage(unstorable);
    }
    if (name.size() > kMaxNameBytes) {
        return kMsgNamnForLangt;
    }
    return std::nullopt;
}

bool nameTakenInFolder(const std::string& folder, const std::string& name) {
    namespace fs = std::filesystem;
    std::error_code error;
    fs::directory_iterator entries(folder.empty() ? fs::path(".") : fs::path(folder), error);
    for (; !error && entries != fs::directory_iterator(); entries.increment(error)) {
        if (entries->path().filename().stem().string() == name) {
            return true;
        }
    }
    return false;
}

RenameDialogModel::RenameDialogModel(const CTallvingeDoc& doc)
    : m_currentName(companyTitleOf(doc.state().m_strFilnamn)), m_folder(folderOf(doc.pathName())) {}

const char* RenameDialogModel::title() const {
    return kRenameTitle;
}

const char* RenameDialogModel::currentNameLabel() const {
    return kCurrentNameLabel;
}

const char* RenameDialogModel::newNameLabel() const {
    return kNewNameLabel;
}

RenameCheck RenameDialogModel::accept(Prompter& prompter) {
    m_accepted = false;
    if (blank(m_newName)) {
        prompter.message(kMsgGeNyttNamn);
        return RenameCheck::StayOpen;
    }
    if (const auto problem = companyNameProblem(m_newName)) {
        prompter.message(*problem);
        return RenameCheck::StayOpen;
    }
    if (nameTakenInFolder(m_folder, m_newName)) {
        prompter.message(nameTakenMessage(m_folder));
        return RenameCheck::Taken;
    }
    m_accepted = true;
    return RenameCheck::Accepted;
}

} // namespace kv
