// What a hostile or unlucky file system can put where a company file should
// be: pipes, sockets, devices, folders and links of every sort, and what an
// interrupted save leaves behind. Nothing may hang, and nothing is written
// where it should not be.
#include "TestSupport.h"

#include "storage/CompanyFiles.h"
#include "storage/FileIo.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <map>
#include <poll.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kv {
namespace {

using test::buildSmallCompany;
using test::readFile;
using test::TempDir;
using test::writeFile;

namespace fs = std::filesystem;

struct Outcome {
    bool hung = false;
    bool ok = false;
    std::string messages; // joined by "|"
};

// Runs a file operation in a child process, so that an operation that hangs
// fails the test instead of stopping it.
Outcome runGuarded(const std::function<FileReport()>& operation) {
    int fds[2];
    if (::pipe(fds) != 0) {
        return {true, false, "pipe"};
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(fds[0]);
        const FileReport report = operation();
        std::string text = report.ok ? "1" : "0";
        for (const auto& message : report.messages) {
            text += message + "|";
        }
        const ssize_t written = ::write(fds[1], text.data(), text.size());
        std::_Exit(written == static_cast<ssize_t>(text.size()) ? 0 : 1);
    }
    ::close(fds[1]);
    Outcome outcome;
    std::string text;
    pollfd wait{fds[0], POLLIN, 0};
    for (;;) {
        if (::poll(&wait, 1, 20000) <= 0) {
            outcome.hung = true;
            ::kill(child, SIGKILL);
            break;
        }
        char buffer[4096];
        const ssize_t got = ::read(fds[0], buffer, sizeof buffer);
        if (got <= 0) {
            break;
        }
        text.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(fds[0]);
    ::waitpid(child, nullptr, 0);
    outcome.ok = text.starts_with("1");
    outcome.messages = text.empty() ? text : text.substr(1);
    return outcome;
}

// Every entry under folder (links not followed) with its kind and contents.
std::map<std::string, std::string> snapshot(const std::string& folder) {
    std::map<std::string, std::string> entries;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        const std::string name = entry.path().string();
        if (entry.is_symlink()) {
            entries[name] = "link to " + fs::read_symlink(entry.path()).string();
        } else if (entry.is_regular_file()) {
            entries[name] = readFile(name);
        } else {
            entries[name] = "other";
        }
    }
    return entries;
}

// A Unix socket bound to a path, closed when it goes.
class BoundSocket {
public:
    explicit BoundSocket(const std::string& path) : m_fd(::socket(AF_UNIX, SOCK_STREAM, 0)) {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
        m_bound = ::bind(m_fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    }
    BoundSocket(const BoundSocket&) = delete;
    BoundSocket& operator=(const BoundSocket&) = delete;
    ~BoundSocket() { ::close(m_fd); }
    [[nodiscard]] bool bound() const { return m_bound; }

private:
    int m_fd;
    bool m_bound = false;
};

TEST(HostilePath, IsRefusedWithoutHangingOrWritingAnything) {
    TempDir dir;
    CTallvingeDoc saved;
    buildSmallCompany(saved);
    ASSERT_TRUE(saveCompany(saved, dir.file("Firma.bok")).ok);
    const std::string company = readFile(dir.file("Firma.bok"));

    ASSERT_EQ(::mkfifo(dir.file("Ror.bok").c_str(), 0644), 0);
    const BoundSocket socket(dir.file("Uttag.bok"));
    ASSERT_TRUE(socket.bound());
    fs::create_directory(dir.file("Mapp.bok"));
    fs::create_symlink(dir.file("Borta.bok"), dir.file("Bruten.bok"));
    fs::create_symlink("Ring2.bok", dir.file("Ring1.bok"));
    fs::create_symlink("Ring1.bok", dir.file("Ring2.bok"));
    fs::create_symlink("/dev/zero", dir.file("Enhet.bok"));
    fs::create_symlink(dir.file("Ror.bok"), dir.file("TillRor.bok"));
    fs::create_symlink("Firma.bok", dir.file("Lank.bok"));

    struct Case {
        const char* what;
        std::string path;
        const char* reason; // nullptr: opening and saving work
    };
    const std::vector<Case> cases = {
        {"named pipe", dir.file("Ror.bok"), "Sökvägen är en namngiven pipe (FIFO), inte en vanlig fil."},
        {"link to a named pipe", dir.file("TillRor.bok"),
         "Sökvägen är en namngiven pipe (FIFO), inte en vanlig fil."},
        {"socket", dir.file("Uttag.bok"), "Sökvägen är en socket, inte en vanlig fil."},
        {"device", "/dev/zero", "Sökvägen är en enhetsfil, inte en vanlig fil."},
        {"link to a device", dir.file("Enhet.bok"), "Sökvägen är en enhetsfil, inte en vanlig fil."},
        {"folder", dir.file("Mapp.bok"), "Sökvägen är en mapp, inte en fil."},
        {"dangling link", dir.file("Bruten.bok"),
         "Sökvägen är en symbolisk länk till en fil som inte finns."},
        {"link loop", dir.file("Ring1.bok"),
         "För många nivåer av symboliska länkar: länkarna i sökvägen leder runt i en ring."},
        {"link to a file", dir.file("Lank.bok"), nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto before = snapshot(dir.path());
        const Outcome opened = runGuarded([&c] {
            CTallvingeDoc doc;
            return openCompany(doc, c.path);
        });
        ASSERT_FALSE(opened.hung);
        const Outcome written = runGuarded([&c] {
            CTallvingeDoc doc;
            buildSmallCompany(doc);
            test::postVoucher(doc, 3, 4, 2012, {{1930, 10, 0}, {3000, 0, 10}});
            doc.markUnsaved();
            FileReport report = saveCompany(doc, c.path);
            // A failed save leaves the document modified.
            report.ok = report.ok && !doc.isModified();
            return report;
        });
        ASSERT_FALSE(written.hung);
        if (c.reason == nullptr) {
            EXPECT_TRUE(opened.ok) << opened.messages;
            EXPECT_TRUE(written.ok) << written.messages;
            continue;
        }
        EXPECT_FALSE(opened.ok);
        EXPECT_EQ(opened.messages,
                  "Det gick inte att öppna företaget i filen\n" + c.path + "\n\n" + c.reason + "|");
        EXPECT_FALSE(written.ok);
        EXPECT_EQ(written.messages,
                  "Det gick inte att spara företaget i filen\n" + c.path + "\n\n" + c.reason + "|");
        EXPECT_EQ(snapshot(dir.path()), before);
    }
    // Saving through the link replaced the file it leads to, and it stays a link.
    EXPECT_TRUE(fs::is_symlink(dir.file("Lank.bok")));
    EXPECT_NE(readFile(dir.file("Firma.bok")), company);
    EXPECT_TRUE(fs::is_fifo(dir.file("Ror.bok")));
}

TEST(SaveThroughLink, ReplacesTheFileTheLinkLeadsToAndKeepsTheLink) {
    TempDir dir;
    fs::create_directories(dir.file("arkiv"));
    fs::create_directories(dir.file("skrivbord"));
    CTallvingeDoc doc;
    buildSmallCompany(doc);
    ASSERT_TRUE(saveCompany(doc, dir.file("arkiv/Riktig.bok")).ok);
    ::chmod(dir.file("arkiv/Riktig.bok").c_str(), 0640);
    // A chain of two links, the first one relative.
    fs::create_symlink(dir.file("arkiv/Riktig.bok"), dir.file("arkiv/Mellan.bok"));
    fs::create_symlink("../arkiv/Mellan.bok", dir.file("skrivbord/Firma.bok"));

    test::postVoucher(doc, 3, 4, 2012, {{1930, 10, 0}, {3000, 0, 10}});
    ASSERT_TRUE(saveCompany(doc, dir.file("skrivbord/Firma.bok")).ok);

    EXPECT_EQ(fs::read_symlink(dir.file("skrivbord/Firma.bok")), "../arkiv/Mellan.bok");
    EXPECT_TRUE(fs::is_symlink(dir.file("arkiv/Mellan.bok")));
    EXPECT_EQ(fs::status(dir.file("arkiv/Riktig.bok")).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    CTallvingeDoc opened;
    ASSERT_TRUE(openCompany(opened, dir.file("arkiv/Riktig.bok")).ok);
    EXPECT_EQ(opened.state().m_verifikat.size(), 1U);
    // The company is known by the path the user chose; no temporary file is left anywhere.
    EXPECT_EQ(doc.pathName(), dir.file("skrivbord/Firma.bok"));
    EXPECT_EQ(opened.state().m_strFilnamn, "Firma.bok");
    // The backup of the replaced company file stands beside the link, under the
    // name the user chose (no period file stood there yet); its own name is the
    // time of the save (here "…").
    const std::string backups = "skrivbord/Firma_säkerhetskopior/";
    std::vector<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(dir.path())) {
        std::string name = entry.path().lexically_relative(dir.path()).string();
        if (name.starts_with(backups)) {
            const auto slash = name.find('/', backups.size());
            name = backups + "…" + (slash == std::string::npos ? "" : name.substr(slash));
        }
        names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{
                         "arkiv", "arkiv/Mellan.bok", "arkiv/Riktig.bok", "arkiv/Riktig_perioder",
                         "arkiv/Riktig_perioder/Riktig0.per", "skrivbord", "skrivbord/Firma.bok",
                         "skrivbord/Firma_perioder", "skrivbord/Firma_perioder/Firma0.per",
                         "skrivbord/Firma_säkerhetskopior", "skrivbord/Firma_säkerhetskopior/…",
                         "skrivbord/Firma_säkerhetskopior/…/Firma.bok"}));
}

// Holds a file open and locked, as a save in another program does with its temporary file.
class HeldFile {
public:
    explicit HeldFile(const std::string& path) : m_fd(::open(path.c_str(), O_RDONLY)) {
        ::flock(m_fd, LOCK_EX);
    }
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;
    ~HeldFile() { ::close(m_fd); }

private:
    int m_fd;
};

TEST(StaleTemporaryFiles, TheNextSaveInTheFolderRemovesOnlyOurUnusedOnes) {
    TempDir dir;
    CTallvingeDoc doc;
    buildSmallCompany(doc);
    ASSERT_TRUE(saveCompany(doc, dir.file("Firma.bok")).ok);
    writeFile(dir.file("minnesanteckning.txt"), "min egen fil");

    struct Case {
        const char* name;
        bool held;
        bool removed;
    };
    const std::vector<Case> cases = {
        {".Firma.bok.123456789.tmp", false, true},   // left by a killed save
        {".Firma.bok.7.tmp", false, true},           //
        {".Annan.bok.55.tmp", false, true},          // another company of the folder
        {".Annan0.per.55.tmp", false, true},         // a period or template file
        {".mallalternativ.mal.1.tmp", false, true},  //
        {".Firma.bok.424242.tmp", true, false},      // a save that is running
        {".Firma.bok.tmp", false, false},            // not our pattern
        {".Firma.bok.12a.tmp", false, false},        //
        {".anteckning.txt.12.tmp", false, false},    // another program's
        {"Firma.bok.12.tmp", false, false},          // not hidden
        {".Firma.bok.12345678901.tmp", false, false} // more digits than we write
    };
    std::vector<std::unique_ptr<HeldFile>> held;
    for (const Case& c : cases) {
        writeFile(dir.file(c.name), std::string(1000, 'x'));
        if (c.held) {
            held.push_back(std::make_unique<HeldFile>(dir.file(c.name)));
        }
    }
    // A link with our pattern is not followed, nor removed.
    fs::create_symlink("minnesanteckning.txt", dir.file(".Lank.bok.99.tmp"));

    test::postVoucher(doc, 3, 4, 2012, {{1930, 10, 0}, {3000, 0, 10}});
    ASSERT_TRUE(saveCompany(doc, dir.file("Firma.bok")).ok);
    for (const Case& c : cases) {
        EXPECT_EQ(fs::exists(dir.file(c.name)), !c.removed) << c.name;
    }
    EXPECT_TRUE(fs::is_symlink(dir.file(".Lank.bok.99.tmp")));
    EXPECT_EQ(readFile(dir.file("minnesanteckning.txt")), "min egen fil");

    // The period folder is cleaned when its file is saved.
    writeFile(dir.file("Firma_perioder/.Firma0.per.31.tmp"), "x");
    ASSERT_TRUE(saveCompany(doc, dir.file("Firma.bok")).ok);
    EXPECT_FALSE(fs::exists(dir.file("Firma_perioder/.Firma0.per.31.tmp")));
}

TEST(FileErrorText, EveryErrorTheFileCodeCanMeetIsSwedish) {
    // What open, read, write, fsync, rename, flock and stat report, locally and on network disks.
    const std::vector<int> known = {
        ENOSPC,    EDQUOT,   EFBIG,        EOVERFLOW, EACCES,      EPERM,   EROFS,     ENOENT,    ENOTDIR,
        EISDIR,    EAGAIN,   ENAMETOOLONG, ELOOP,     EIO,         EMFILE,  ENFILE,    ENOMEM,    ETXTBSY,
        EBUSY,     EEXIST,   ENOTEMPTY,    EXDEV,     EMLINK,      ENXIO,   ENODEV,    ENOMEDIUM, EINVAL,
        ENOTSUP,   ENOLCK,   EDEADLK,      EINTR,     ECANCELED,   EBADF,   EFAULT,    EPIPE,     ESTALE,
        ETIMEDOUT, ENOTCONN, ECONNRESET,   EHOSTDOWN, ENETUNREACH, ENOLINK, EREMOTEIO, EUCLEAN,   EILSEQ,
    };
    EXPECT_EQ(describeFileError(100000), "Ett oväntat fel inträffade vid filåtkomsten (felkod 100000).");
    for (const int errnum : known) {
        EXPECT_EQ(describeFileError(errnum).find("felkod"), std::string::npos) << std::strerror(errnum);
    }
    // No error number gives the system's own English text.
    for (int errnum = 1; errnum < 134; ++errnum) {
        EXPECT_EQ(describeFileError(errnum).find(std::strerror(errnum)), std::string::npos) << errnum;
    }
}

} // namespace
} // namespace kv
