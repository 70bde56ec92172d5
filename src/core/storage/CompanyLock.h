// One program writes a company at a time. Beside the company file Firma.bok
// stands, while a program has the company open for writing, the lock file
// .Firma.bok.lock: the kernel holds the lock (flock), so a program that is
// killed never leaves a company locked, and the file says who holds it (the
// user, the computer, the program and since when), for the message of the
// program that finds the company in use.
//
// Within one process a company is locked once: a second CompanyLock of the
// same company shares the first one's lock, and the lock goes with the last.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <variant>

namespace kv {

inline constexpr const char* kLockFileSuffix = ".lock";

// Who holds a company's lock, as its lock file says; a text the file does not
// give is empty.
struct LockHolder {
    std::string user;
    std::string host;
    std::string program;
    std::string since; // local time, "2026-12-10 14:03"
    long pid = 0;

    bool operator==(const LockHolder&) const = default;
};

// "." + file name + ".lock" beside the company file.
std::string companyLockPath(const std::string& companyPath);

// "Företaget är öppet i ett annat program (anna, kontoret, sedan 2026-12-10 14:03)."
std::string companyInUseMessage(const LockHolder& holder);

class CompanyLock {
public:
    // Takes the lock of the company at companyPath for program (the name the
    // lock file gives to others), or tells who holds it. A folder where no
    // lock file can be made (a read-only disk) gives a lock that locks
    // nothing: nobody can write there. Never waits.
    static std::variant<CompanyLock, LockHolder> take(const std::string& companyPath,
                                                      const std::string& program);
    // Whether this process holds the lock of the company at companyPath.
    static bool heldHere(const std::string& companyPath);

    CompanyLock(CompanyLock&&) noexcept = default;
    CompanyLock& operator=(CompanyLock&&) noexcept = default;
    CompanyLock(const CompanyLock&) = delete;
    CompanyLock& operator=(const CompanyLock&) = delete;
    ~CompanyLock() = default;

    // The company file the lock is for.
    [[nodiscard]] const std::string& companyPath() const { return m_companyPath; }

    struct Held; // the process's one lock of a company, shared

private:
    CompanyLock(std::string companyPath, std::shared_ptr<Held> held)
        : m_companyPath(std::move(companyPath)), m_held(std::move(held)) {}

    std::string m_companyPath;
    std::shared_ptr<Held> m_held;
};

// The name a program gives in the lock file: "Kvistoran", "kvistoran-cli import-bank".
inline constexpr const char* kWindowProgramName = "Kvistoran";

} // namespace kv
