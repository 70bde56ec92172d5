// File access for the archives: locked reading, and atomic replacement of a
// file (temporary file in the same folder, synced, then renamed over it).
#pragma once

#include "storage/Archive.h"

#include <stdexcept>
#include <string>

namespace kv {

// A failure of the file system, with the error number it reported.
class FileError : public std::runtime_error {
public:
    FileError(const std::string& what, int errnum) : std::runtime_error(what), m_errnum(errnum) {}
    [[nodiscard]] int errnum() const { return m_errnum; }

private:
    int m_errnum;
};

// The platform's report of a file error, in Swedish.
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

// Opens an existing file for reading under an exclusive advisory lock.
// Throws FileError (EWOULDBLOCK when another program holds the file).
FileHandle openLockedForReading(const std::string& path);

class FileSource final : public ByteSource {
public:
    explicit FileSource(int fd); // reads from the current offset to the end
    std::size_t read(char* data, std::size_t size) override;
    [[nodiscard]] std::uint64_t remaining() const override { return m_remaining; }

private:
    int m_fd;
    std::uint64_t m_remaining = 0;
};

// Writes a new version of a file. The target is locked while it is written;
// nothing reaches the target until commit() succeeds, and a writer that is
// destroyed without commit removes its temporary file.
class AtomicFileWriter final : public ByteSink {
public:
    explicit AtomicFileWriter(std::string target); // throws FileError
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;
    ~AtomicFileWriter() override;

    void write(const char* data, std::size_t size) override; // throws FileError
    void commit();                                           // throws FileError

private:
    std::string m_target;
    std::string m_tempPath;
    FileHandle m_lock;
    FileHandle m_temp;
    bool m_committed = false;
};

// Creates the folder (and its parents) when missing; returns false on failure.
bool makeFolder(const std::string& path);
bool fileExists(const std::string& path);

} // namespace kv
