// What a save finds on the disk: another program's company file where the
// company's own stood, and a database change that a killed program left
// half made.
#include "AppFakeHost.h"
#include "ChildProcess.h"
#include "InterruptedSave.h"
#include "ScriptedPrompter.h"
#include "TestSupport.h"

#include "app/AppController.h"
#include "app/AppTexts.h"
#include "storage/CompanyDatabase.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <filesystem>

namespace kv {
namespace {

namespace session = test::interrupted;

// Another program saves the company file the way every program saves: a new
// file renamed over the old one.
void replaceElsewhere(const std::string& path, const std::string& bytes) {
    test::writeFile(path + ".annan", bytes);
    ASSERT_EQ(std::rename((path + ".annan").c_str(), path.c_str()), 0);
}

TEST(CompanySave, ASaveNeverWritesOverACompanyFileAnotherProgramPutThere) {
    const test::TempDir templates;
    const test::TempDir dir;
    ASSERT_TRUE(session::prepare(dir.path(), templates.path()));
    const std::string path = session::companyPath(dir.path());
    CTallvingeDoc doc;
    ASSERT_TRUE(openCompany(doc, path).ok);
    test::postVoucher(doc, 5, 3, 2024, {{1930, 10, 0}, {3010, 0, 10}});
    ASSERT_TRUE(saveCompany(doc, path).ok); // its own save is its own file
    test::postVoucher(doc, 6, 3, 2024, {{1930, 20, 0}, {3010, 0, 20}});

    const std::string theirs = test::readFile(path) + "x";
    replaceElsewhere(path, theirs);
    const FileReport refused = saveCompany(doc, path);
    EXPECT_FALSE(refused.ok);
    EXPECT_TRUE(refused.changedElsewhere);
    ASSERT_FALSE(refused.messages.empty());
    EXPECT_NE(refused.messages.back().find(kMsgChangedElsewhere), std::string::npos);
    EXPECT_EQ(test::readFile(path), theirs);
    EXPECT_TRUE(doc.isModified());

    // The file taken away meanwhile: nothing is overwritten, the save writes it again.
    std::filesystem::remove(path);
    EXPECT_TRUE(saveCompany(doc, path).ok);
}

TEST(CompanySave, TheWindowProgramOffersAnotherNameWhenItsFileWasReplaced) {
    const test::TempDir templates;
    const test::TempDir dir;
    ASSERT_TRUE(session::prepare(dir.path(), templates.path()));
    const std::string path = session::companyPath(dir.path());
    test::ScriptedPrompter prompter;
    AppController app(prompter, templates.path());
    test::FakeHost host(app);
    ASSERT_TRUE(app.openAtStartUp(path));
    test::postVoucher(app.document(), 5, 3, 2024, {{1930, 10, 0}, {3010, 0, 10}});
    const std::string theirs = test::readFile(path) + "x";
    replaceElsewhere(path, theirs);

    prompter.answer(Answer::Ok).chooseFile(dir.file("Kopia"));
    app.execute(CommandId::Save);
    ASSERT_EQ(prompter.said.size(), 3U);
    EXPECT_NE(prompter.said[0].find(kMsgChangedElsewhere), std::string::npos);
    EXPECT_EQ(prompter.said[1], kMsgSparaUnderAnnatNamn);
    EXPECT_EQ(prompter.buttonOf[prompter.said[1]], kSparaSomKnapp);
    EXPECT_EQ(test::readFile(path), theirs);
    EXPECT_EQ(app.document().pathName(), dir.file("Kopia.bok"));
    EXPECT_FALSE(app.document().isModified());
    EXPECT_EQ(app.mainWindowTitle(), "  Kvistoran - Kopia");
    EXPECT_EQ(prompter.unscripted, 0);
}

// A program killed amid a change of the database leaves SQLite's journal,
// which must be rolled back before the file can be read: the next reader
// has SQLite take the change back and reads what was saved.
TEST(CompanySave, AChangeAKilledProgramLeftHalfMadeIsTakenBackWhenRead) {
    const test::TempDir templates;
    const test::TempDir dir;
    ASSERT_TRUE(session::prepare(dir.path(), templates.path()));
    const std::string path = session::companyPath(dir.path());
    const std::string database = companyDatabasePath(path);
    {
        test::ChildProcess child({"journal", database});
        ASSERT_EQ(test::exitOf(child.wait()), -SIGKILL);
    }
    ASSERT_TRUE(std::filesystem::exists(database + "-journal"));
    EXPECT_EQ(databaseVersion(database), kDatabaseVersion);
    EXPECT_TRUE(readSieImports(path, 0).empty());
    EXPECT_EQ(readBankLines(path, bankAccountKey(session::statement(), session::kBankAccount)).size(), 1U);
    EXPECT_FALSE(std::filesystem::exists(database + "-journal"));
}

} // namespace
} // namespace kv
