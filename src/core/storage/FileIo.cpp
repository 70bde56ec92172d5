#include "storage/FileIo.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kv {

namespace {

[[noreturn]] void fail(const std::string& what, int errnum) { throw FileError(what, errnum); }

std::string folderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string fileNameOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Locks an open file exclusively without waiting.
bool tryLock(int fd) {
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno != EINTR) {
            return false;
        }
    }
    return true;
}

// True when fd is still the file at path (it was not replaced meanwhile).
bool stillAt(int fd, const std::string& path) {
    struct stat byFd {};
    struct stat byPath {};
    return ::fstat(fd, &byFd) == 0 && ::stat(path.c_str(), &byPath) == 0 && byFd.st_dev == byPath.st_dev &&
           byFd.st_ino == byPath.st_ino;
}

// Opens path with flags and locks it; retries when another writer replaced
// the file between the open and the lock. An absent file gives an empty handle
// when mayBeMissing.
FileHandle openAndLock(const std::string& path, int flags, bool mayBeMissing) {
    for (int attempt = 0; attempt < 5; ++attempt) {
        FileHandle handle(::open(path.c_str(), flags | O_CLOEXEC));
        if (!handle.isOpen()) {
            if (errno == ENOENT && mayBeMissing) {
                return {};
            }
            fail("open " + path, errno);
        }
        if (!tryLock(handle.fd())) {
            fail("lock " + path, errno == EWOULDBLOCK ? EWOULDBLOCK : errno);
        }
        if (stillAt(handle.fd(), path)) {
            return handle;
        }
    }
    fail("lock " + path, EWOULDBLOCK);
}

void syncFolder(const std::string& folder) {
    FileHandle dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.isOpen()) {
        ::fsync(dir.fd()); // best effort: some file systems refuse to sync folders
    }
}

} // namespace

std::string describeFileError(int errnum) {
    switch (errnum) {
    case ENOSPC:
    case EDQUOT:
        return "Det finns inte tillräckligt med utrymme på disken.";
    case EFBIG:
        return "Filen blir för stor.";
    case EACCES:
    case EPERM:
        return "Åtkomst nekad: du saknar behörighet till filen eller mappen.";
    case EROFS:
        return "Disken är skrivskyddad.";
    case ENOENT:
        return "Filen eller mappen finns inte.";
    case ENOTDIR:
        return "En del av sökvägen är inte en mapp.";
    case EISDIR:
        return "Sökvägen är en mapp, inte en fil.";
    case EWOULDBLOCK:
        return "Filen används just nu av ett annat program.";
    case ENAMETOOLONG:
        return "Filnamnet är för långt.";
    case EIO:
        return "Ett in- eller utmatningsfel inträffade på disken.";
    default:
        return std::string("Filfel: ") + std::strerror(errnum);
    }
}

FileHandle& FileHandle::operator=(FileHandle&& other) noexcept {
    if (this != &other) {
        reset();
        m_fd = other.release();
    }
    return *this;
}

FileHandle::~FileHandle() { reset(); }

int FileHandle::release() {
    const int fd = m_fd;
    m_fd = -1;
    return fd;
}

void FileHandle::reset() {
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}

FileHandle openLockedForReading(const std::string& path) {
    FileHandle handle = openAndLock(path, O_RDONLY, false);
    struct stat info {};
    if (::fstat(handle.fd(), &info) != 0) {
        fail("stat " + path, errno);
    }
    if (S_ISDIR(info.st_mode)) {
        fail("open " + path, EISDIR);
    }
    return handle;
}

FileSource::FileSource(int fd) : m_fd(fd) {
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
        const off_t offset = ::lseek(fd, 0, SEEK_CUR);
        m_remaining = static_cast<std::uint64_t>(info.st_size - (offset > 0 ? offset : 0));
    }
}

std::size_t FileSource::read(char* data, std::size_t size) {
    size = static_cast<std::size_t>(std::min<std::uint64_t>(size, m_remaining));
    std::size_t done = 0;
    while (done < size) {
        const ssize_t got = ::read(m_fd, data + done, size - done);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            fail("read", errno);
        }
        if (got == 0) {
            break; // the file shrank under us: the reader reports truncation
        }
        done += static_cast<std::size_t>(got);
    }
    m_remaining -= done;
    if (done < size) {
        m_remaining = 0;
    }
    return done;
}

AtomicFileWriter::AtomicFileWriter(std::string target) : m_target(std::move(target)) {
    m_lock = openAndLock(m_target, O_RDONLY, true);
    mode_t mode = 0666;
    if (m_lock.isOpen()) {
        struct stat info {};
        if (::fstat(m_lock.fd(), &info) == 0) {
            if (S_ISDIR(info.st_mode)) {
                fail("open " + m_target, EISDIR);
            }
            mode = info.st_mode & 07777;
        }
        // A file the user made read-only is not replaced behind the user's back
        // (checked on the mode too, since the super-user may write anything).
        if ((mode & 0222) == 0) {
            fail("open " + m_target, EACCES);
        }
        if (::access(m_target.c_str(), W_OK) != 0) {
            fail("open " + m_target, errno);
        }
    }
    const std::string folder = folderOf(m_target);
    std::random_device random;
    for (int attempt = 0; attempt < 100 && !m_temp.isOpen(); ++attempt) {
        m_tempPath = folder + "/." + fileNameOf(m_target) + "." + std::to_string(random() % 1000000000U) + ".tmp";
        m_temp = FileHandle(::open(m_tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
        if (!m_temp.isOpen() && errno != EEXIST) {
            fail("create " + m_tempPath, errno);
        }
    }
    if (!m_temp.isOpen()) {
        fail("create " + m_tempPath, EEXIST);
    }
    if (m_lock.isOpen()) {
        ::fchmod(m_temp.fd(), mode);
    }
}

AtomicFileWriter::~AtomicFileWriter() {
    if (!m_committed && !m_tempPath.empty()) {
        m_temp.reset();
        ::unlink(m_tempPath.c_str());
    }
}

void AtomicFileWriter::write(const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t done = ::write(m_temp.fd(), data, size);
        if (done < 0 && errno == EINTR) {
            continue;
        }
        if (done <= 0) {
            fail("write " + m_tempPath, done < 0 ? errno : ENOSPC);
        }
        data += done;
        size -= static_cast<std::size_t>(done);
    }
}

void AtomicFileWriter::commit() {
    if (::fsync(m_temp.fd()) != 0) {
        fail("sync " + m_tempPath, errno);
    }
    if (::close(m_temp.release()) != 0) {
        fail("close " + m_tempPath, errno);
    }
    if (::rename(m_tempPath.c_str(), m_target.c_str()) != 0) {
        fail("rename " + m_target, errno);
    }
    m_committed = true;
    syncFolder(folderOf(m_target));
    m_lock.reset();
}

bool makeFolder(const std::string& path) {
    std::error_code error;
    std::filesystem::create_directories(path, error);
    return !error && std::filesystem::is_directory(path, error);
}

bool fileExists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

} // namespace kv
