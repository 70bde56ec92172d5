#include "storage/CompanyLock.h"

#include "storage/CompanyFiles.h"
#include "storage/FileIo.h"
#include "storage/LocalClock.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <map>
#include <mutex>
#include <string_view>
#include <utility>

namespace kv {

namespace {

// What a holder's text may be: printable and short (the file is anyone's to write).
std::string cleaned(std::string_view text) {
    std::string out;
    for (const char c : text.substr(0, 200)) {
        if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F) {
            out += c;
        }
    }
    return out;
}

std::string userName() {
    std::array<char, 4096> buffer{};
    struct passwd entry {};
    struct passwd* found = nullptr;
    if (::getpwuid_r(::geteuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr &&
        found->pw_name != nullptr) {
        return found->pw_name;
    }
    return std::to_string(::geteuid());
}

std::string hostName() {
    std::array<char, 256> name{};
    if (::gethostname(name.data(), name.size() - 1) != 0) {
        return {};
    }
    return name.data();
}

std::string minuteText(const LocalTime& time) {
    std::array<char, 32> text{};
    std::snprintf(text.data(), text.size(), "%04d-%02d-%02d %02d:%02d", time.year, time.month, time.day,
                  time.hour, time.minute);
    return text.data();
}

std::string holderText(const std::string& program) {
    return "user=" + cleaned(userName()) + "\nhost=" + cleaned(hostName()) + "\nprogram=" + cleaned(program) +
           "\npid=" + std::to_string(::getpid()) + "\nsince=" + minuteText(localTimeNow()) + "\n";
}

LockHolder parseHolder(std::string_view text) {
    LockHolder holder;
    while (!text.empty()) {
        const auto end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        const auto equals = line.find('=');
        if (equals == std::string_view::npos) {
            continue;
        }
        const std::string_view key = line.substr(0, equals);
        const std::string value = cleaned(line.substr(equals + 1));
        if (key == "user") {
            holder.user = value;
        } else if (key == "host") {
            holder.host = value;
        } else if (key == "program") {
            holder.program = value;
        } else if (key == "since") {
            holder.since = value;
        } else if (key == "pid" && !value.empty() && value.size() < 10 &&
                   value.find_first_not_of("0123456789") == std::string::npos) {
            holder.pid = std::stol(value);
        }
    }
    return holder;
}

LockHolder readHolder(int fd) {
    std::array<char, 2048> buffer{};
    const ssize_t got = ::pread(fd, buffer.data(), buffer.size(), 0);
    return parseHolder(got > 0 ? std::string_view(buffer.data(), static_cast<std::size_t>(got))
                               : std::string_view());
}

using FileKey = std::pair<std::uint64_t, std::uint64_t>; // device, inode

} // namespace

struct CompanyLock::Held {
    Held(std::string lockPath, FileHandle lockFile, std::optional<FileKey> fileKey)
        : path(std::move(lockPath)), file(std::move(lockFile)), key(fileKey) {}
    Held(const Held&) = delete;
    Held& operator=(const Held&) = delete;
    ~Held();

    std::string path;
    FileHandle file;            // locked; closed when nothing is locked
    std::optional<FileKey> key; // nothing for a lock that locks nothing
};

namespace {

struct Registry {
    std::mutex mutex;
    std::map<FileKey, std::weak_ptr<CompanyLock::Held>> byFile;
};

Registry& registry() {
    static Registry held;
    return held;
}

std::optional<FileKey> keyOf(int fd) {
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        return std::nullopt;
    }
    return FileKey{static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)};
}

bool stillNamed(const FileKey& key, const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && static_cast<std::uint64_t>(info.st_dev) == key.first &&
           static_cast<std::uint64_t>(info.st_ino) == key.second;
}

std::shared_ptr<CompanyLock::Held> alreadyHeld(const FileKey& key) {
    Registry& held = registry();
    const std::scoped_lock guard(held.mutex);
    const auto found = held.byFile.find(key);
    return found == held.byFile.end() ? nullptr : found->second.lock();
}

void registerHeld(const std::shared_ptr<CompanyLock::Held>& lock) {
    Registry& held = registry();
    const std::scoped_lock guard(held.mutex);
    held.byFile[*lock->key] = lock;
}

FileHandle openLockFile(const std::string& path) {
    const int flags = O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY;
    FileHandle file(::open(path.c_str(), O_RDWR | O_CREAT | flags, 0666));
    if (!file.isOpen() && errno == EACCES) {
        file = FileHandle(::open(path.c_str(), O_RDONLY | flags)); // another user's lock file
    }
    return file;
}

} // namespace

CompanyLock::Held::~Held() {
    if (!key) {
        return;
    }
    {
        Registry& held = registry();
        const std::scoped_lock guard(held.mutex);
        const auto found = held.byFile.find(*key);
        if (found != held.byFile.end() && found->second.expired()) {
            held.byFile.erase(found);
        }
    }
    // Removed while still locked: a program that opened the file meanwhile
    // finds it gone from its name once it has the lock, and tries again.
    if (stillNamed(*key, path)) {
        ::unlink(path.c_str());
    }
}

std::string companyLockPath(const std::string& companyPath) {
    const std::string name = fileNameOf(companyPath);
    return companyPath.substr(0, companyPath.size() - name.size()) + "." + name + kLockFileSuffix;
}

std::string companyInUseMessage(const LockHolder& holder) {
    const auto orUnknown = [](const std::string& text, const char* unknown) {
        return text.empty() ? std::string(unknown) : text;
    };
    std::string message =
        "Företaget är öppet i ett annat program (" + orUnknown(holder.user, "okänd användare") + ", " +
        orUnknown(holder.host, "okänd dator") + ", sedan " + orUnknown(holder.since, "okänd tid") + ").";
    if (!holder.program.empty()) {
        message += " Programmet är " + holder.program + ".";
    }
    return message;
}

std::variant<CompanyLock, LockHolder> CompanyLock::take(const std::string& companyPath,
                                                        const std::string& program) {
    const std::string full = fullPath(companyPath);
    const std::string path = companyLockPath(full);
    for (int attempt = 0; attempt < 5; ++attempt) {
        FileHandle file = openLockFile(path);
        const std::optional<FileKey> key = file.isOpen() ? keyOf(file.fd()) : std::nullopt;
        if (!key) {
            // No lock file can be had here: nobody can save here either.
            return CompanyLock(full, std::make_shared<Held>(path, FileHandle(), std::nullopt));
        }
        if (auto shared = alreadyHeld(*key)) {
            return CompanyLock(full, std::move(shared));
        }
        if (::flock(file.fd(), LOCK_EX | LOCK_NB) != 0) {
            if (errno == EWOULDBLOCK) {
                return readHolder(file.fd());
            }
            if (errno == EINTR) {
                continue;
            }
            // A file system without locks: the company's stamp still guards the save.
            return CompanyLock(full, std::make_shared<Held>(path, FileHandle(), std::nullopt));
        }
        if (!stillNamed(*key, path)) {
            continue; // the holder let go and removed the file meanwhile
        }
        const std::string text = holderText(program);
        // Who holds it is only told to the next program: a holder text that
        // could not be written leaves the lock held and the text unknown.
        if (::ftruncate(file.fd(), 0) == 0 && ::pwrite(file.fd(), text.data(), text.size(), 0) < 0) {
            errno = 0;
        }
        auto held = std::make_shared<Held>(path, std::move(file), key);
        registerHeld(held);
        return CompanyLock(full, std::move(held));
    }
    return LockHolder{};
}

bool CompanyLock::heldHere(const std::string& companyPath) {
    struct stat info {};
    if (::stat(companyLockPath(fullPath(companyPath)).c_str(), &info) != 0) {
        return false;
    }
    return alreadyHeld({static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)}) !=
           nullptr;
}

} // namespace kv
