// File access for the archives: locked reading, and atomic replacement of a
// file (temporary file in the same folder, synced, then renamed over it).
// Only regular files are read or replaced; anything else at the path (a
// folder, a named pipe, a socket, a device, a broken or looping link) is
// refused before it is opened, so that nothing can make a read or save hang.
#pragma once

#include "model/FileStamp.h"
#include "storage/Archive.h"
#include "storage/Sha256.h"

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace kv {

// A failure of the file system: the error number it reported and the reason
// to show the user, in Swedish.
class FileError : public std::runtime_error {
public:
    FileError(const std::string& what, int errnum);
    FileError(const std::string& what, int errnum, std::string reason);
    [[nodiscard]] int errnum() const { return m_errnum; }
    [[nodiscard]] const std::string& reason() const { return m_reason; }

private:
    int m_errnum;
    std::string m_reason;
};

// The platform's report of a file error, in Swedish, for every error number.
std::string describeFileError(int errnum);

// An open file descriptor, closed when it goes.
class FileHandle {
public:
    FileHandle() = default;
    explicit FileHandle(int fd) : m_fd(fd) {}
    FileHandle(FileHandle&& other) noexcept : m_fd(other.release()) {}
    FileHandle& operator=(FileHandle&& other) noexcept;
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    ~FileHandle();

    [[nodiscard]] int fd() const { return m_fd; }
    [[nodiscard]] bool isOpen() const { return m_fd >= 0; }
    int release();
    void reset();

private:
    int m_fd = -1;
};

// Opens an existing regular file for reading under an exclusive advisory lock.
// Throws FileError (EWOULDBLOCK when another program holds the file).
FileHandle openLockedForReading(const std::string& path);

// Reads a regular file at its own offset (the descriptor's offset is left
// alone), so that twins can read the same file at once.
class FileSource final : public ByteSource {
public:
    explicit FileSource(int fd); // reads from the current offset to the end
    std::size_t read(char* data, std::size_t size) override;
    [[nodiscard]] std::uint64_t remaining() const override { return m_remaining; }
    [[nodiscard]] std::unique_ptr<ByteSource> twin() const override;

private:
    FileSource(int fd, std::uint64_t offset, std::uint64_t remaining)
        : m_fd(fd), m_offset(offset), m_remaining(remaining) {}

    int m_fd;
    std::uint64_t m_offset = 0;
    std::uint64_t m_remaining = 0;
};

// The stamp of the file at path (its links followed), or nothing when no
// file is there or it cannot be asked.
std::optional<FileStamp> fileStampOf(const std::string& path);
// The stamp of the open file.
std::optional<FileStamp> fileStampOf(const FileHandle& file);

// Writes a new version of a file. A symbolic link is written through: the
// file it leads to is replaced and the link stays. The target is locked while
// it is written; nothing reaches the target until commit() succeeds, and a
// writer that is destroyed without commit removes its temporary file.
// Temporary files that an interrupted save left in the folder are removed.
class AtomicFileWriter final : public ByteSink {
public:
    // mode, when given, is the new file's permission bits (a stored receipt
    // is read-only); else a replaced file's are kept.
    explicit AtomicFileWriter(const std::string& target,
                              std::optional<unsigned int> mode = std::nullopt); // throws FileError
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;
    ~AtomicFileWriter() override;

    // The SHA-256 of the bytes is taken as they are written; call before the first write.
    void takeDigest() { m_digest.emplace(); }
    void write(const char* data, std::size_t size) override; // throws FileError
    // The new file is whole on the disk, under its temporary name; nothing
    // more may be written. commit() does this first when it was not done.
    void finish(); // throws FileError
    void commit(); // throws FileError

    // The file that is replaced: the target with its links followed.
    [[nodiscard]] const std::string& replacedPath() const { return m_target; }
    // True when a file stood at the target when the writer began.
    [[nodiscard]] bool replacesExisting() const { return m_lock.isOpen(); }
    // Where the new file stands until commit().
    [[nodiscard]] const std::string& temporaryPath() const { return m_tempPath; }
    // After finish(): the new file's stamp, which the rename keeps, its size
    // and (with takeDigest) its SHA-256 in lower-case hex.
    [[nodiscard]] const FileStamp& stamp() const { return m_stamp; }
    [[nodiscard]] std::uint64_t size() const { return m_written; }
    [[nodiscard]] std::string digest() const { return m_digest ? m_digest->hexDigest() : std::string(); }

private:
    void removeStaleTemporaryFiles() const;
    void createTemporaryFile(unsigned int mode);

    std::string m_target;
    std::string m_tempPath;
    FileHandle m_lock;
    FileHandle m_temp;
    std::optional<Sha256> m_digest;
    std::uint64_t m_written = 0;
    FileStamp m_stamp;
    bool m_finished = false;
    bool m_committed = false;
};

// The name a save keeps a replaced file under until the save is whole:
// "." + file name + "." + digits + ".old", in the file's folder.
std::string keptFileName(const std::string& fileName, unsigned int number);
// The file that a temporary or kept file of a save belongs to: fileName for
// "." + fileName + "." + up to ten digits + ".tmp" or ".old"; nothing for
// any other name.
std::optional<std::string> leftoverFileOf(std::string_view name);

// Gives the regular file source a second name, target, which must not exist:
// a hard link where the disk allows one, else a synced copy. Throws FileError.
void linkOrCopyFile(const std::string& source, const std::string& target);
// A synced copy of the regular file source as target, which must not exist,
// readable as the source is and never writable. Throws FileError.
void copyFileReadOnly(const std::string& source, const std::string& target);

// Removes path when it is a regular file that no running save holds locked.
void removeWhenUnused(const std::string& path);

// Creates the folder (and its parents) when missing; returns false on failure.
bool makeFolder(const std::string& path);
bool fileExists(const std::string& path);

} // namespace kv
