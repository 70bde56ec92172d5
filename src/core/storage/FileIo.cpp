#include "storage/FileIo.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <optional>
#include <random>
#include <string_view>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kv {

namespace {

constexpr const char* kReasonFifo = "Sökvägen är en namngiven pipe (FIFO), inte en vanlig fil.";
constexpr const char* kReasonSocket = "Sökvägen är en socket, inte en vanlig fil.";
constexpr const char* kReasonDevice = "Sökvägen är en enhetsfil, inte en vanlig fil.";
constexpr const char* kReasonOther = "Sökvägen är inte en vanlig fil.";
constexpr const char* kReasonBrokenLink = "Sökvägen är en symbolisk länk till en fil som inte finns.";

[[noreturn]] void fail(const std::string& what, int errnum) {
    throw FileError(what, errnum);
}

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

// Refuses whatever is not a regular file, saying what it is.
void requireRegular(const struct stat& info, const std::string& path) {
    if (S_ISREG(info.st_mode)) {
        return;
    }
    if (S_ISDIR(info.st_mode)) {
        fail("open " + path, EISDIR);
    }
    const char* reason = S_ISFIFO(info.st_mode)                           ? kReasonFifo
                         : S_ISSOCK(info.st_mode)                         ? kReasonSocket
                         : S_ISCHR(info.st_mode) || S_ISBLK(info.st_mode) ? kReasonDevice
                                                                          : kReasonOther;
    throw FileError("open " + path, EINVAL, reason);
}

enum class PathKind { Absent, File, LinkToFile };

// What is at path, without opening it: a regular file, a link that leads to
// one, or nothing. Anything else, and a link that leads nowhere or in a
// ring, is refused.
PathKind examine(const std::string& path) {
    struct stat own {};
    if (::lstat(path.c_str(), &own) != 0) {
        if (errno == ENOENT) {
            return PathKind::Absent;
        }
        fail("stat " + path, errno);
    }
    if (!S_ISLNK(own.st_mode)) {
        requireRegular(own, path);
        return PathKind::File;
    }
    struct stat target {};
    if (::stat(path.c_str(), &target) != 0) {
        if (errno == ENOENT) {
            throw FileError("stat " + path, ENOENT, kReasonBrokenLink);
        }
        fail("stat " + path, errno);
    }
    requireRegular(target, path);
    return PathKind::LinkToFile;
}

FileStamp stampOf(const struct stat& info) {
    return {static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino),
            static_cast<std::uint64_t>(info.st_size),
            static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec};
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

// Opens path (never blocking, even on what turned into a pipe since it was
// examined), makes sure it is a regular file and locks it; retries when
// another writer replaced the file between the open and the lock. An absent
// file gives an empty handle when mayBeMissing.
FileHandle openAndLock(const std::string& path, int flags, bool mayBeMissing) {
    for (int attempt = 0; attempt < 5; ++attempt) {
        FileHandle handle(::open(path.c_str(), flags | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
        if (!handle.isOpen()) {
            if (errno == ENOENT && mayBeMissing) {
                return {};
            }
            fail("open " + path, errno);
        }
        struct stat info {};
        if (::fstat(handle.fd(), &info) != 0) {
            fail("stat " + path, errno);
        }
        requireRegular(info, path);
        if (!tryLock(handle.fd())) {
            fail("lock " + path, errno);
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

bool endsWith(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

// The file name that "." + name + "." + digits + suffix was made of, or
// nothing when name is not of that shape.
std::optional<std::string_view> leftoverFileName(std::string_view name, std::string_view suffix) {
    if (name.size() < suffix.size() + 3 || name.front() != '.' || !endsWith(name, suffix)) {
        return std::nullopt;
    }
    const std::string_view middle = name.substr(1, name.size() - 1 - suffix.size());
    const auto dot = middle.rfind('.');
    if (dot == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view digits = middle.substr(dot + 1);
    if (digits.empty() || digits.size() > 10 ||
        digits.find_first_not_of("0123456789") != std::string_view::npos) {
        return std::nullopt;
    }
    return middle.substr(0, dot);
}

// A temporary file of a save into this folder: "." + file name + "." + digits
// + ".tmp", for the file being saved or any company, period or template file.
bool isOurTemporaryFile(std::string_view name, std::string_view targetName) {
    const auto file = leftoverFileName(name, ".tmp");
    return file && (*file == targetName || endsWith(*file, ".bok") || endsWith(*file, ".per") ||
                    endsWith(*file, ".mal") || endsWith(*file, ".mal.bak"));
}

// A copy of source as target; read-only when asked, else as the source.
void copyFile(const std::string& source, const std::string& target, bool readOnly);

} // namespace

std::string keptFileName(const std::string& fileName, unsigned int number) {
    return "." + fileName + "." + std::to_string(number % 1000000000U) + ".old";
}

std::optional<std::string> leftoverFileOf(std::string_view name) {
    auto file = leftoverFileName(name, ".tmp");
    if (!file) {
        file = leftoverFileName(name, ".old");
    }
    return file ? std::optional<std::string>(*file) : std::nullopt;
}

// Each save keeps its temporary file locked until it is renamed.
void removeWhenUnused(const std::string& path) {
    const FileHandle file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC));
    struct stat info {};
    if (!file.isOpen() || ::fstat(file.fd(), &info) != 0 || !S_ISREG(info.st_mode) || !tryLock(file.fd()) ||
        !stillAt(file.fd(), path)) {
        return;
    }
    ::unlink(path.c_str());
}

std::optional<FileStamp> fileStampOf(const FileHandle& file) {
    struct stat info {};
    if (!file.isOpen() || ::fstat(file.fd(), &info) != 0) {
        return std::nullopt;
    }
    return stampOf(info);
}

std::optional<FileStamp> fileStampOf(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return std::nullopt;
    }
    return stampOf(info);
}

FileError::FileError(const std::string& what, int errnum)
    : std::runtime_error(what), m_errnum(errnum), m_reason(describeFileError(errnum)) {}

FileError::FileError(const std::string& what, int errnum, std::string reason)
    : std::runtime_error(what), m_errnum(errnum), m_reason(std::move(reason)) {}

std::string describeFileError(int errnum) {
    switch (errnum) {
    case ENOSPC:
    case EDQUOT:
        return "Det finns inte tillräckligt med utrymme på disken.";
    case EFBIG:
        return "Filen blir för stor.";
    case EOVERFLOW:
        return "Filen är för stor för att kunna läsas.";
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
    case ELOOP:
        return "För många nivåer av symboliska länkar: länkarna i sökvägen leder runt i en ring.";
    case EIO:
        return "Ett in- eller utmatningsfel inträffade på disken.";
    case EMFILE:
    case ENFILE:
        return "För många filer är öppna just nu. Stäng något program och försök igen.";
    case ENOMEM:
        return "Datorn har inte tillräckligt med minne.";
    case ETXTBSY:
        return "Filen används just nu som program och kan inte skrivas.";
    case EBUSY:
        return "Filen eller mappen är upptagen av systemet.";
    case EEXIST:
        return "Det finns redan en fil med det namnet.";
    case ENOTEMPTY:
        return "Mappen är inte tom.";
    case EXDEV:
        return "Filen kan inte flyttas mellan två olika diskar.";
    case EMLINK:
        return "Mappen rymmer inte fler filer.";
    case ENXIO:
    case ENODEV:
        return "Enheten som filen ligger på finns inte eller är inte ansluten.";
    case ENOMEDIUM:
    case EMEDIUMTYPE:
        return "Det finns ingen läsbar skiva i enheten.";
    case EINVAL:
        return "Åtgärden går inte att utföra på den här filen.";
    case EOPNOTSUPP:
        return "Filsystemet stöder inte åtgärden (till exempel att låsa filen).";
    case ENOLCK:
        return "Filen kan inte låsas just nu.";
    case EDEADLK:
        return "Filen kan inte låsas utan att två program väntar på varandra.";
    case EINTR:
    case ECANCELED:
        return "Åtgärden avbröts.";
    case EBADF:
    case EFAULT:
        return "Ett internt fel inträffade vid filåtkomsten.";
    case EPIPE:
        return "Förbindelsen till filen bröts.";
    case ESTALE:
        return "Filen på nätverksdisken finns inte längre där den fanns.";
    case ETIMEDOUT:
        return "Nätverksdisken svarade inte i tid.";
    case ENOTCONN:
    case ECONNRESET:
    case ECONNABORTED:
    case ECONNREFUSED:
    case EHOSTDOWN:
    case EHOSTUNREACH:
    case ENETDOWN:
    case ENETUNREACH:
    case ENETRESET:
    case ENOLINK:
    case EREMOTEIO:
    case ECOMM:
        return "Förbindelsen med nätverksdisken bröts.";
    case EUCLEAN:
    case EBADMSG:
        return "Filsystemet på disken är skadat. Låt kontrollera disken.";
    case EILSEQ:
        return "Filnamnet innehåller tecken som filsystemet inte tillåter.";
    default:
        // Never the system's own (English) text: the user reads Swedish.
        return "Ett oväntat fel inträffade vid filåtkomsten (felkod " + std::to_string(errnum) + ").";
    }
}

FileHandle& FileHandle::operator=(FileHandle&& other) noexcept {
    if (this != &other) {
        reset();
        m_fd = other.release();
    }
    return *this;
}

FileHandle::~FileHandle() {
    reset();
}

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
    if (examine(path) == PathKind::Absent) {
        fail("open " + path, ENOENT);
    }
    return openAndLock(path, O_RDONLY, false);
}

FileSource::FileSource(int fd) : m_fd(fd) {
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
        const off_t offset = ::lseek(fd, 0, SEEK_CUR);
        m_offset = static_cast<std::uint64_t>(offset > 0 ? offset : 0);
        const auto size = static_cast<std::uint64_t>(info.st_size);
        m_remaining = size - std::min(m_offset, size);
    }
}

std::unique_ptr<ByteSource> FileSource::twin() const {
    return std::unique_ptr<ByteSource>(new FileSource(m_fd, m_offset, m_remaining));
}

std::size_t FileSource::read(char* data, std::size_t size) {
    size = static_cast<std::size_t>(std::min<std::uint64_t>(size, m_remaining));
    std::size_t done = 0;
    while (done < size) {
        const ssize_t got = ::pread(m_fd, data + done, size - done, static_cast<off_t>(m_offset + done));
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
    m_offset += done;
    m_remaining -= done;
    if (done < size) {
        m_remaining = 0;
    }
    return done;
}

AtomicFileWriter::AtomicFileWriter(const std::string& target, std::optional<unsigned int> mode)
    : m_target(target) {
    if (examine(target) == PathKind::LinkToFile) {
        // Write through the link: the file it leads to is replaced, the link stays.
        std::error_code error;
        const auto resolved = std::filesystem::canonical(target, error);
        if (error) {
            fail("resolve " + target, error.value());
        }
        m_target = resolved.string();
    }
    m_lock = openAndLock(m_target, O_RDONLY, true);
    unsigned int kept = 0666;
    if (m_lock.isOpen()) {
        struct stat info {};
        if (::fstat(m_lock.fd(), &info) == 0) {
            kept = info.st_mode & 07777;
        }
        // A file the user made read-only is not replaced behind the user's back
        // (checked on the mode too, since the super-user may write anything).
        if ((kept & 0222) == 0) {
            fail("open " + m_target, EACCES);
        }
        if (::access(m_target.c_str(), W_OK) != 0) {
            fail("open " + m_target, errno);
        }
    }
    // Before the new file takes room: an interrupted save may have left its
    // temporary file, as large as the company, behind.
    removeStaleTemporaryFiles();
    createTemporaryFile(mode ? *mode : m_lock.isOpen() ? kept : 0);
}

void AtomicFileWriter::removeStaleTemporaryFiles() const {
    const std::string folder = folderOf(m_target);
    const std::string targetName = fileNameOf(m_target);
    std::error_code error;
    std::filesystem::directory_iterator entries(folder, error);
    for (; !error && entries != std::filesystem::directory_iterator(); entries.increment(error)) {
        const std::string name = entries->path().filename().string();
        if (isOurTemporaryFile(name, targetName)) {
            removeWhenUnused(folder + "/" + name);
        }
    }
}

void AtomicFileWriter::createTemporaryFile(unsigned int mode) {
    const std::string prefix = folderOf(m_target) + "/." + fileNameOf(m_target) + ".";
    std::random_device random;
    std::string path;
    for (int attempt = 0; attempt < 100; ++attempt) {
        path = prefix + std::to_string(random() % 1000000000U) + ".tmp";
        FileHandle temp(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
        if (!temp.isOpen()) {
            if (errno == EEXIST) {
                continue;
            }
            fail("create " + path, errno);
        }
        // Locked until it is renamed, so that the clean-up of another save
        // leaves it alone; that clean-up may have taken it just before the lock.
        if (!tryLock(temp.fd())) {
            if (errno == EWOULDBLOCK) {
                continue;
            }
            const int error = errno;
            ::unlink(path.c_str());
            fail("lock " + path, error);
        }
        if (!stillAt(temp.fd(), path)) {
            continue;
        }
        if (mode != 0) {
            ::fchmod(temp.fd(), static_cast<mode_t>(mode));
        }
        m_tempPath = path;
        m_temp = std::move(temp);
        return;
    }
    fail("create " + path, EEXIST);
}

AtomicFileWriter::~AtomicFileWriter() {
    if (!m_committed && !m_tempPath.empty()) {
        ::unlink(m_tempPath.c_str());
        m_temp.reset();
    }
}

void AtomicFileWriter::write(const char* data, std::size_t size) {
    if (m_finished) {
        fail("write " + m_tempPath, EBADF);
    }
    if (m_digest) {
        m_digest->update(std::string_view(data, size));
    }
    m_written += size;
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

void AtomicFileWriter::finish() {
    if (m_finished) {
        return;
    }
    if (::fsync(m_temp.fd()) != 0) {
        fail("sync " + m_tempPath, errno);
    }
    struct stat info {};
    if (::fstat(m_temp.fd(), &info) != 0) {
        fail("stat " + m_tempPath, errno);
    }
    m_stamp = stampOf(info);
    m_finished = true;
}

void AtomicFileWriter::commit() {
    finish();
    // The temporary file stays open, and so locked, until it has its new name.
    if (::rename(m_tempPath.c_str(), m_target.c_str()) != 0) {
        fail("rename " + m_target, errno);
    }
    m_committed = true;
    m_temp.reset(); // synced already: a late close error cannot lose anything
    syncFolder(folderOf(m_target));
    m_lock.reset();
}

void linkOrCopyFile(const std::string& source, const std::string& target) {
    if (::link(source.c_str(), target.c_str()) == 0) {
        return;
    }
    if (errno == EEXIST) {
        fail("link " + target, errno);
    }
    // No link here (another disk, or a file system without them): a copy.
    copyFile(source, target, false);
}

void copyFileReadOnly(const std::string& source, const std::string& target) {
    copyFile(source, target, true);
}

namespace {

// Written under a temporary name and renamed once it is whole.
void copyFile(const std::string& source, const std::string& target, bool readOnly) {
    const FileHandle in(::open(source.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (!in.isOpen()) {
        fail("open " + source, errno);
    }
    struct stat info {};
    if (::fstat(in.fd(), &info) != 0) {
        fail("stat " + source, errno);
    }
    requireRegular(info, source);
    if (examine(target) != PathKind::Absent) {
        fail("create " + target, EEXIST);
    }
    std::random_device random;
    const std::string temp =
        folderOf(target) + "/." + fileNameOf(target) + "." + std::to_string(random() % 1000000000U) + ".tmp";
    // As private as the file it copies.
    const mode_t mode = info.st_mode & (readOnly ? 0444 : 0777);
    FileHandle out(::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode));
    if (!out.isOpen()) {
        fail("create " + temp, errno);
    }
    const auto failRemoving = [&temp](const std::string& what, int errnum) {
        ::unlink(temp.c_str());
        fail(what, errnum);
    };
    ::fchmod(out.fd(), mode);
    FileSource bytes(in.fd());
    std::string buffer(std::size_t{1} << 16, '\0');
    for (std::size_t got = bytes.read(buffer.data(), buffer.size()); got > 0;
         got = bytes.read(buffer.data(), buffer.size())) {
        for (std::size_t done = 0; done < got;) {
            const ssize_t wrote = ::write(out.fd(), buffer.data() + done, got - done);
            if (wrote < 0 && errno == EINTR) {
                continue;
            }
            if (wrote <= 0) {
                failRemoving("write " + temp, wrote < 0 ? errno : ENOSPC);
            }
            done += static_cast<std::size_t>(wrote);
        }
    }
    if (::fsync(out.fd()) != 0) {
        failRemoving("sync " + temp, errno);
    }
    if (::rename(temp.c_str(), target.c_str()) != 0) {
        failRemoving("rename " + target, errno);
    }
    syncFolder(folderOf(target));
}

} // namespace

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
