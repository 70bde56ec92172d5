// File access for the archives: locked reading, and atomic replacement of a
// file (temporary file in the same folder, synced, then renamed over it).
// Only regular files are read or replaced; anything else at the path (a
// folder, a named pipe, a socket, a device, a broken or looping link) is
// refused before it is opened, so that nothing can make a read or save hang.
#pragma once

#include "storage/Archive.h"

#include <stdexcept>
#include <string>

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

// Writes a new version of a file. A symbolic link is written through: the
// file it leads to is replaced and the link stays. The target is locked while
// it is written; nothing reaches the target until commit() succeeds, and a
// writer that is destroyed without commit removes its temporary file.
// Temporary files that an interrupted save left in the folder are removed.
class AtomicFileWriter final : public ByteSink {
public:
    explicit AtomicFileWriter(const std::string& target); // throws FileError
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;
    ~AtomicFileWriter() override;

    void write(const char* data, std::size_t size) override; // throws FileError
    void commit();                                           // throws FileError

    // The file that is replaced: the target with its links followed.
    [[nodiscard]] const std::string& replacedPath() const { return m_target; }
    // True when a file stood at the target when the writer began.
    [[nodiscard]] bool replacesExisting() const { return m_lock.isOpen(); }

private:
    void removeStaleTemporaryFiles() const;
    void createTemporaryFile(unsigned int mode);

    std::string m_target;
    std::string m_tempPath;
    FileHandle m_lock;
    FileHandle m_temp;
    bool m_committed = false;
};

// Gives the regular file source a second name, target, which must not exist:
// a hard link where the disk allows one, else a synced copy. Throws FileError.
void linkOrCopyFile(const std::string& source, const std::string& target);

// Creates the folder (and its parents) when missing; returns false on failure.
bool makeFolder(const std::string& path);
bool fileExists(const std::string& path);

} // namespace kv
