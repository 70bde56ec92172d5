// The four companies opened or saved most recently, newest first.
#pragma once

#include <string>
#include <vector>

namespace kv {

class RecentFiles {
public:
    static constexpr std::size_t kMaxFiles = 4;

    RecentFiles() = default;
    // Starts from a stored list (newest first); empty and repeated entries are dropped.
    explicit RecentFiles(const std::vector<std::string>& stored);

    // Puts path first, removing an earlier entry for the same path.
    void add(const std::string& path);
    void remove(const std::string& path);

    [[nodiscard]] const std::vector<std::string>& files() const { return m_files; }
    [[nodiscard]] std::size_t size() const { return m_files.size(); }

    // The menu text of entry index: "&1 " and the path, with the home folder
    // shortened to "~" and every "&" doubled so that it shows as itself.
    [[nodiscard]] std::string menuText(std::size_t index, const std::string& home) const;

private:
    std::vector<std::string> m_files;
};

} // namespace kv
