#include "ChartTestSupport.h"
#include "TestSupport.h"

#include "storage/CompanyFiles.h"
#include "storage/TemplateStore.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kv {
namespace {

using test::buildSmallCompany;
using test::postVoucher;
using test::readFile;
using test::TempDir;
using test::TemplateFolder;
using test::writeFile;

// Holds an exclusive lock on a file as another program would.
class ForeignLock {
public:
    explicit ForeignLock(const std::string& path) : m_fd(::open(path.c_str(), O_RDONLY)) {
        if (m_fd >= 0) {
            ::flock(m_fd, LOCK_EX);
        }
    }
    ForeignLock(const ForeignLock&) = delete;
    ForeignLock& operator=(const ForeignLock&) = delete;
    ~ForeignLock() {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }

private:
    int m_fd;
};

void addSomeVouchers(CTallvingeDoc& doc, int count) {
    for (int i = 0; i < count; ++i) {
        const double amount = 100.0 + i;
        postVoucher(doc, 1 + i % 28, 1 + i % 12, 2012, {{1930, amount, 0}, {3000, 0, amount}});
    }
}

std::vector<std::string> filesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

TEST(CompanyPaths, PeriodFolderAndFilesAreNamedAfterTheCompany) {
    EXPECT_EQ(periodFolderPath("/hem/bok/Firma.bok"), "/hem/bok/Firma_perioder/");
    EXPECT_EQ(periodFilePath("/hem/bok/Firma.bok", 0), "/hem/bok/Firma_perioder/Firma0.per");
    EXPECT_EQ(periodFilePath("/hem/bok/Firma.bok", 2), "/hem/bok/Firma_perioder/Firma2.per");
    EXPECT_EQ(periodFilePath("/hem/bok/Firma.bok", 12), "/hem/bok/Firma_perioder/Firma12.per");
    // A name without a four-character extension still loses four characters.
    EXPECT_EQ(periodFolderPath("/hem/bok/Foretaget.x"), "/hem/bok/Foretag_perioder/");
    EXPECT_EQ(periodFilePathForOpening("/hem/bok/Firma.bok", "Firma.bok", 1),
              "/hem/bok/Firma_perioder/Firma1.per");
    EXPECT_EQ(companyTitleOf("/a/Mittföretag AB.bok"), "Mittföretag AB");
}

TEST(CompanyPaths, TemplateFolderFollowsTheEnvironment) {
    EXPECT_EQ(templateFilePath("/m"), "/m/mallalternativ.mal");
    EXPECT_EQ(
        templateFileMessage("/m"),
        "Kontoplanmallarna sparas i / läses från filen  -/m/mallalternativ.mal- . Tryck OK och fortsätt. ");
    struct Case {
        const char* chosen;
        const char* dataHome;
        const char* home;
        const char* folder;
    };
    for (const Case& c :
         {Case{"/mallar", "/data", "/home/a", "/mallar"},
          Case{"", "/data", "/home/a", "/data/kvistoran/bokforingsmallar"},
          Case{nullptr, nullptr, "/home/a", "/home/a/.local/share/kvistoran/bokforingsmallar"},
          Case{nullptr, "", nullptr, "./.local/share/kvistoran/bokforingsmallar"}}) {
        EXPECT_EQ(defaultTemplateFolder(c.chosen, c.dataHome, c.home), c.folder);
    }
}

TEST(CompanySave, WritesTheCompanyAndTheOpenPeriodFile) {
    TempDir dir;
    CTallvingeDoc doc;
    buildSmallCompany(doc);
    addSomeVouchers(doc, 5);
    test::loadEdited(doc, [](CompanyState& state) {
        CPeriod second;
        second.m_nFranManad = 1;
        second.m_nFranAr = 2013;
        second.m_nTillManad = 12;
        second.m_nTillAr = 2013;
        state.m_perioder.push_back(std::move(second));
        state.m_perioder.emplace_back();
        state.m_nAktuellPeriod = 2;
    });
    doc.markUnsaved();

    const std::string path = dir.file("Firma.bok");
    const FileReport report = saveCompany(doc, path);
    ASSERT_TRUE(report.ok) << (report.messages.empty() ? "" : report.messages.front());
    EXPECT_TRUE(report.messages.empty());
    EXPECT_FALSE(doc.isModified());
    EXPECT_EQ(doc.pathName(), path);
    EXPECT_EQ(doc.title(), "Firma");
    EXPECT_EQ(doc.state().m_strFilnamn, "Firma.bok");
    EXPECT_EQ(doc.state().m_strEnhet, path.substr(0, 3));
    EXPECT_EQ(doc.state().m_strPeriodfilnamn, "Firma.bok");
    EXPECT_EQ(filesIn(dir.path()), (std::vector<std::string>{"Firma.bok", "Firma_perioder"}));
    EXPECT_EQ(filesIn(dir.file("Firma_perioder")), (std::vector<std::string>{"Firma2.per"}));

    // Saving again overwrites both files in place, keeps the old ones as a
    // backup and leaves no temporary files.
    test::changeSomething(doc);
    const std::string before = readFile(dir.file("Firma_perioder/Firma2.per"));
    ASSERT_TRUE(saveCompany(doc, path).ok);
    EXPECT_NE(readFile(dir.file("Firma_perioder/Firma2.per")), before);
    EXPECT_EQ(filesIn(dir.path()),
              (std::vector<std::string>{"Firma.bok", "Firma_perioder", "Firma_säkerhetskopior"}));
    EXPECT_EQ(filesIn(dir.file("Firma_perioder")), (std::vector<std::string>{"Firma2.per"}));
}

TEST(CompanySave, OpenReadsBackWhatWasSaved) {
    TempDir dir;
    CTallvingeDoc doc;
    buildSmallCompany(doc);
    addSomeVouchers(doc, 3);
    ASSERT_TRUE(saveCompany(doc, dir.file("Förening.bok")).ok);

    CTallvingeDoc opened;
    const FileReport report = openCompany(opened, dir.file("Förening.bok"));
    ASSERT_TRUE(report.ok);
    EXPECT_FALSE(opened.isModified());
    EXPECT_EQ(opened.state().m_strFilnamn, "Förening.bok");
    ASSERT_EQ(opened.state().m_verifikat.size(), 3U);
    EXPECT_EQ(opened.state().m_verifikat[2], doc.state().m_verifikat[2]);
    ASSERT_EQ(opened.state().m_allaKonton.size(), doc.state().m_allaKonton.size());
    for (std::size_t i = 0; i < doc.state().m_allaKonton.size(); ++i) {
        EXPECT_EQ(*opened.state().m_allaKonton[i], *doc.state().m_allaKonton[i]);
    }
    EXPECT_EQ(opened.state().m_resKonton.front(), opened.state().m_allaKonton.front().get());
    // Opening reads the company file only: a missing period folder does not matter.
    std::filesystem::remove_all(dir.file("Förening_perioder"));
    CTallvingeDoc again;
    EXPECT_TRUE(openCompany(again, dir.file("Förening.bok")).ok);
}

TEST(CompanySave, AFailedSaveKeepsTheTextsAndTheModifiedMark) {
    TempDir dir;
    CTallvingeDoc doc;
    buildSmallCompany(doc);
    doc.markUnsaved();
    const FileReport report = saveCompany(doc, dir.file("saknas/Firma.bok"));
    EXPECT_FALSE(report.ok);
    ASSERT_FALSE(report.messages.empty());
    EXPECT_NE(report.messages.back().find("Det gick inte att spara"), std::string::npos);
    EXPECT_TRUE(doc.isModified());
    EXPECT_TRUE(doc.neverSaved());
    EXPECT_EQ(doc.state().m_strEnhet, "Nytt företag123456");
    EXPECT_TRUE(doc.pathName().empty());
}

TEST(CompanySave, ATextThatCannotBeStoredFailsCleanly) {
    TempDir dir;
    CTallvingeDoc doc;
    buildSmallCompany(doc);
    ASSERT_TRUE(saveCompany(doc, dir.file("Firma.bok")).ok);
    const std::string company = readFile(dir.file("Firma.bok"));
    const std::string period = readFile(dir.file("Firma_perioder/Firma0.per"));

    test::loadEdited(doc, [](CompanyState& s) { s.m_allaKonton.front()->m_strKolumn2 = "Intäkter → kassa"; });
    doc.markUnsaved();
    const FileReport report = saveCompany(doc, dir.file("Firma.bok"));
    EXPECT_FALSE(report.ok);
    EXPECT_EQ(report.messages.front(),
              "Kan ej skriva till filen\n" + dir.file("Firma_perioder/Firma0.per") +
                  "\n\nTexten \"Intäkter → kassa\" innehåller tecknet \"→\", som inte "
                  "kan sparas i filen.");
    EXPECT_TRUE(doc.isModified());
    EXPECT_EQ(readFile(dir.file("Firma.bok")), company);
    EXPECT_EQ(readFile(dir.file("Firma_perioder/Firma0.per")), period);
    EXPECT_EQ(filesIn(dir.path()), (std::vector<std::string>{"Firma.bok", "Firma_perioder"}));
}

TEST(CompanySave, AFullDiskLeavesTheOldFileWhole) {
    TempDir dir;
    CTallvingeDoc doc;
    buildSmallCompany(doc);
    ASSERT_TRUE(saveCompany(doc, dir.file("Firma.bok")).ok);
    const std::string before = readFile(dir.file("Firma.bok"));
    addSomeVouchers(doc, 2000);

    // The child can write only a little, as on a nearly full disk.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{4096, 4096};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        doc.markUnsaved();
        const FileReport report = saveCompany(doc, dir.file("Firma.bok"));
        std::_Exit(!report.ok && doc.isModified() ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(readFile(dir.file("Firma.bok")), before);
    EXPECT_EQ(filesIn(dir.path()), (std::vector<std::string>{"Firma.bok", "Firma_perioder"}));
}

TEST(CompanySave, AReadOnlyFileIsNotReplaced) {
    TempDir dir;
    CTallvingeDoc doc;
    buildSmallCompany(doc);
    ASSERT_TRUE(saveCompany(doc, dir.file("Firma.bok")).ok);
    ::chmod(dir.file("Firma.bok").c_str(), 0444);
    const std::string before = readFile(dir.file("Firma.bok"));
    addSomeVouchers(doc, 1);
    const FileReport report = saveCompany(doc, dir.file("Firma.bok"));
    EXPECT_FALSE(report.ok);
    EXPECT_NE(report.messages.back().find("Åtkomst nekad"), std::string::npos);
    EXPECT_EQ(readFile(dir.file("Firma.bok")), before);
}

TEST(CompanySave, AFileHeldByAnotherProgramIsNotWritten) {
    TempDir dir;
    CTallvingeDoc doc;
    buildSmallCompany(doc);
    ASSERT_TRUE(saveCompany(doc, dir.file("Firma.bok")).ok);
    const std::string period = readFile(dir.file("Firma_perioder/Firma0.per"));
    addSomeVouchers(doc, 1);
    doc.markUnsaved();
    {
        ForeignLock lock(dir.file("Firma_perioder/Firma0.per"));
        const FileReport report = saveCompany(doc, dir.file("Firma.bok"));
        EXPECT_FALSE(report.ok);
        // The message names the period file and says why it could not be saved.
        ASSERT_EQ(report.messages.size(), 1U);
        EXPECT_EQ(report.messages[0], "Kan ej spara perioden/filen\n" +
                                          dir.file("Firma_perioder/Firma0.per") +
                                          "\n\nFilen används just nu av ett annat program.");
        // The company file itself got through; the period file waits for the next save.
        EXPECT_TRUE(doc.isModified());
        EXPECT_EQ(readFile(dir.file("Firma_perioder/Firma0.per")), period);
    }
    EXPECT_TRUE(saveCompany(doc, dir.file("Firma.bok")).ok);
    EXPECT_FALSE(doc.isModified());
}

TEST(CompanyOpen, ADamagedFileIsRefusedAndTheDocumentCleared) {
    TempDir dir;
    CTallvingeDoc doc;
    buildSmallCompany(doc);
    ASSERT_TRUE(saveCompany(doc, dir.file("Firma.bok")).ok);
    const std::string bytes = readFile(dir.file("Firma.bok"));
    writeFile(dir.file("Trasig.bok"), bytes.substr(0, bytes.size() / 2));

    CTallvingeDoc opened;
    buildSmallCompany(opened);
    const FileReport report = openCompany(opened, dir.file("Trasig.bok"));
    EXPECT_FALSE(report.ok);
    ASSERT_EQ(report.messages.size(), 1U);
    EXPECT_NE(report.messages[0].find("Trasig.bok"), std::string::npos);
    EXPECT_NE(report.messages[0].find("Filen "), std::string::npos) << report.messages[0];
    EXPECT_TRUE(opened.state().m_allaKonton.empty());
    EXPECT_TRUE(opened.neverSaved());

    EXPECT_FALSE(openCompany(opened, dir.file("finns-inte.bok")).ok);
    EXPECT_FALSE(openCompany(opened, dir.path()).ok);
}

TEST(CompanyOpen, AFileOfAnotherKindIsNamedWithWhatToOpenInstead) {
    TempDir dir;
    CTallvingeDoc doc;
    buildSmallCompany(doc);
    ASSERT_TRUE(saveCompany(doc, dir.file("Förening.bok")).ok);
    const auto refusal = [](const std::string& path) {
        CTallvingeDoc opened;
        const FileReport report = openCompany(opened, path);
        EXPECT_FALSE(report.ok);
        EXPECT_TRUE(opened.neverSaved());
        return report.messages.size() == 1 ? report.messages[0] : std::string();
    };

    // A period file: which company it belongs to, where that is, and how to open the period.
    const std::string period = refusal(dir.file("Förening_perioder/Förening0.per"));
    EXPECT_NE(period.find("Förening0.per"), std::string::npos) << period;
    EXPECT_NE(period.find("Filen är en periodfil (.per), inte ett företag"), std::string::npos) << period;
    EXPECT_NE(period.find("Förening"), std::string::npos);
    EXPECT_NE(period.find("Period - Öppna period"), std::string::npos);
    EXPECT_NE(period.find(dir.file("Förening.bok")), std::string::npos) << period;
    EXPECT_EQ(period.find("nummer"), std::string::npos) << period;

    // The chart templates.
    TemplateFolder folder;
    TemplateStore store(folder.path());
    auto mall = std::make_unique<CKontoplan>();
    mall->m_strNamn = "Förening.bok";
    store.store(std::move(mall), std::nullopt);
    ASSERT_TRUE(store.write().ok);
    const std::string templates = refusal(templateFilePath(folder.path()));
    EXPECT_NE(templates.find("Filen är en fil med kontoplanmallar (.mal), inte ett företag"),
              std::string::npos)
        << templates;
    EXPECT_NE(templates.find("Arkiv - Nytt företag"), std::string::npos);

    // A SIE file, a PDF and an empty file.
    writeFile(dir.file("Export.bok"), "#FLAGGA 0\r\n#PROGRAM \"Kvistoran\" 1\r\n");
    EXPECT_NE(refusal(dir.file("Export.bok")).find("Arkiv - Importera SIE-fil"), std::string::npos);
    writeFile(dir.file("Utskrift.bok"), "%PDF-1.4\n");
    EXPECT_NE(refusal(dir.file("Utskrift.bok")).find("PDF-fil"), std::string::npos);
    writeFile(dir.file("Tom.bok"), "");
    EXPECT_NE(refusal(dir.file("Tom.bok")).find("Filen är tom"), std::string::npos);

    // A company file is none of these.
    EXPECT_FALSE(otherFileKind(dir.file("Förening.bok")).has_value());
}

TEST(PeriodFile, ReadsOnlyAFileThatBelongsToTheCompany) {
    TempDir dir;
    CTallvingeDoc doc;
    buildSmallCompany(doc);
    addSomeVouchers(doc, 4);
    ASSERT_TRUE(saveCompany(doc, dir.file("Firma.bok")).ok);

    CTallvingeDoc reader;
    ASSERT_TRUE(openCompany(reader, dir.file("Firma.bok")).ok);
    test::loadEdited(reader, [](CompanyState& state) {
        state.m_verifikat.clear();
        state.m_resKonton.clear();
        state.m_balKonton.clear();
        state.m_allaKonton.clear();
    });
    const FileReport read = readPeriodFile(reader, 0);
    ASSERT_TRUE(read.ok);
    EXPECT_EQ(reader.state().m_verifikat.size(), 4U);
    EXPECT_EQ(reader.state().m_allaKonton.size(), doc.state().m_allaKonton.size());
    EXPECT_EQ(reader.state().m_perioder.size(), 1U);

    // A period file written by another company file of the same folder is not read.
    test::loadEdited(reader, [](CompanyState& state) {
        state.m_strFilnamn = "Annan.bok";
        state.m_verifikat.clear();
    });
    reader.openedFrom(dir.file("Firma.bok"));
    std::filesystem::copy(dir.file("Firma_perioder"), dir.file("Annan_perioder"));
    reader.openedFrom(dir.file("Annan.bok"));
    EXPECT_FALSE(readPeriodFile(reader, 0).ok);
    EXPECT_TRUE(reader.state().m_verifikat.empty());

    const FileReport missing = readPeriodFile(reader, 7);
    EXPECT_FALSE(missing.ok);
    EXPECT_EQ(missing.messages.front(), "Kan ej öppna filen\n" + dir.file("Annan_perioder/Annan7.per") +
                                            "\n\nFilen eller mappen finns inte.");
}

TEST(PeriodFile, ADamagedPeriodFileLeavesTheDocumentAsItWas) {
    TempDir dir;
    CTallvingeDoc doc;
    buildSmallCompany(doc);
    addSomeVouchers(doc, 2);
    ASSERT_TRUE(saveCompany(doc, dir.file("Firma.bok")).ok);
    const std::string bytes = readFile(dir.file("Firma_perioder/Firma0.per"));
    writeFile(dir.file("Firma_perioder/Firma0.per"), bytes.substr(0, bytes.size() - 3));

    const FileReport report = readPeriodFile(doc, 0);
    EXPECT_FALSE(report.ok);
    EXPECT_EQ(report.messages.front(), "Kan ej läsa från filen\n" + dir.file("Firma_perioder/Firma0.per") +
                                           "\n\nFilen tar slut för tidigt; den är avkortad eller skadad.");
    EXPECT_EQ(doc.state().m_verifikat.size(), 2U);
    EXPECT_EQ(doc.state().m_resKonton.front(), doc.state().m_allaKonton.front().get());
}

TEST(TemplateFile, SavesAndReadsTheSharedTemplates) {
    TemplateFolder folder;
    TemplateStore store(folder.path());
    EXPECT_FALSE(store.wasRead());
    FileReport first = store.read();
    EXPECT_FALSE(first.ok);
    EXPECT_EQ(first.messages, (std::vector<std::string>{templateFileMessage(folder.path())}));
    EXPECT_TRUE(store.wasRead());
    EXPECT_FALSE(store.fileUnreadable()); // a missing file is not in the way

    auto mall = std::make_unique<CKontoplan>();
    mall->m_strNamn = "Firma.bok";
    mall->m_nAntalRes = 1;
    mall->m_konton.push_back(std::make_unique<CKonto>());
    mall->m_konton.back()->m_nKontonr = 3000;
    mall->m_momsregler.push_back(CAutomoms{25.0, 0, 3000, 0, 2610, "Försäljning moms 25%", 0});
    store.store(std::move(mall), std::nullopt);
    ASSERT_TRUE(store.write().ok);
    EXPECT_FALSE(store.saving());

    TemplateStore other(folder.path());
    ASSERT_TRUE(other.read().ok);
    ASSERT_EQ(other.templates().size(), 1U);
    EXPECT_EQ(other.templates()[0]->m_strNamn, "Firma.bok");
    EXPECT_EQ(other.templates()[0]->m_momsregler.front().m_strKommentar, "Försäljning moms 25%");
    EXPECT_EQ(other.find("Firma.bok"), other.templates()[0].get());
    EXPECT_EQ(other.find("Annan.bok"), nullptr);
}

TEST(TemplateFile, AnUnreadableFileIsNeverOverwritten) {
    TemplateFolder folder;
    const std::string damaged("\x05\x00\xff", 3);
    writeFile(templateFilePath(folder.path()), damaged);
    TemplateStore store(folder.path());
    const FileReport read = store.read();
    EXPECT_FALSE(read.ok);
    EXPECT_EQ(read.messages.front(), templateFileMessage(folder.path()));
    EXPECT_TRUE(store.templates().empty());
    EXPECT_TRUE(store.fileUnreadable());

    store.store(std::make_unique<CKontoplan>(), std::nullopt);
    const FileReport write = store.write();
    EXPECT_FALSE(write.ok);
    EXPECT_EQ(write.messages,
              (std::vector<std::string>{
                  kMsgKanEjSparaPerioden,
                  "Mallfilen " + templateFilePath(folder.path()) +
                      " kunde inte läsas och skrivs därför inte över. Flytta eller ta bort den "
                      "och försök igen."}));
    EXPECT_EQ(readFile(templateFilePath(folder.path())), damaged);
    EXPECT_FALSE(store.saving());

    // The store lives as long as the program: once the user has moved the
    // file away, the next reading lets the templates be written again.
    std::filesystem::remove(templateFilePath(folder.path()));
    static_cast<void>(store.read());
    EXPECT_FALSE(store.fileUnreadable());
    store.store(std::make_unique<CKontoplan>(), std::nullopt);
    EXPECT_TRUE(store.write().ok);
    TemplateStore reader(folder.path());
    ASSERT_TRUE(reader.read().ok);
    EXPECT_EQ(reader.templates().size(), 1U);
}

TEST(TemplateFile, TwoProgramsCannotUseTheFileAtOnce) {
    TemplateFolder folder;
    TemplateStore store(folder.path());
    store.store(std::make_unique<CKontoplan>(), std::nullopt);
    ASSERT_TRUE(store.write().ok);
    const std::string bytes = readFile(templateFilePath(folder.path()));

    ForeignLock lock(templateFilePath(folder.path()));
    TemplateStore other(folder.path());
    EXPECT_FALSE(other.read().ok);
    store.store(std::make_unique<CKontoplan>(), std::nullopt);
    EXPECT_FALSE(store.write().ok);
    EXPECT_EQ(readFile(templateFilePath(folder.path())), bytes);
}

} // namespace
} // namespace kv
