#include "app/RecentFiles.h"

#include <algorithm>

namespace kv {

RecentFiles::RecentFiles(const std::vector<std::string>& stored) {
    for (auto it = stored.rbegin(); it != stored.rend(); ++it) {
        if (!it->empty()) {
            add(*it);
        }
    }
}

void RecentFiles::add(const std::string& path) {
    if (path.empty()) {
        return;
    }
    remove(path);
    m_files.insert(m_files.begin(), path);
    if (m_files.size() > kMaxFiles) {
        m_files.resize(kMaxFiles);
    }
}

void RecentFiles::remove(const std::string& path) {
    std::erase(m_files, path);
}

std::string RecentFiles::menuText(std::size_t index, const std::string& home) const {
    if (index >= m_files.size()) {
        return {};
    }
    std::string path = m_files[index];
    if (!home.empty() && home != "/" && path.starts_with(home + "/")) {
        path = "~" + path.substr(home.size());
    }
    std::string text = "&" + std::to_string(index + 1) + " ";
    for (const char c : path) {
        text += c;
        if (c == '&') {
            text += '&';
        }
    }
    return text;
}

} // namespace kv
