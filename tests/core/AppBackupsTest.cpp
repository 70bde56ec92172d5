// "Arkiv - Säkerhetskopior...": the list, the new company's name, and the
// copy opening in the company's place.
#include "AppFakeHost.h"
#include "BackupTestSupport.h"
#include "ScriptedPrompter.h"

#include "app/AppController.h"
#include "backup/BackupFlow.h"
#include "backup/BackupListModel.h"
#include "periods/PeriodDialogModel.h"
#include "storage/BackupRestore.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

using C = CommandId;
using test::ScriptedPrompter;

struct App {
    test::History history;
    test::TempDir templates;
    ScriptedPrompter prompter;
    AppController controller{prompter, templates.path()};
    test::FakeHost host{controller};

    App() { EXPECT_TRUE(controller.openAtStartUp(history.path)); }
    CTallvingeDoc& doc() { return controller.document(); }
    // The user opens the backup at row in the list.
    void choose(std::int32_t row) {
        prompter.on<BackupListModel>([row](BackupListModel& list) {
            list.select(row);
            return list.accept() ? Answer::Ok : Answer::Cancel;
        });
    }
};

TEST(AppBackups, TheChosenBackupOpensAsACompanyOfItsOwn) {
    App app;
    const auto before = test::snapshot(app.history.dir.path());
    EXPECT_TRUE(app.controller.commandState(C::Backups).enabled);
    app.choose(1);
    const std::string copy = app.history.dir.file("Kopia.bok");
    app.prompter.chooseFile(app.history.dir.file("Kopia"));
    app.controller.execute(C::Backups);

    EXPECT_EQ(app.prompter.dialogs, (std::vector<std::string>{"Säkerhetskopior av Firma"}));
    ASSERT_EQ(app.prompter.said.size(), 3U);
    EXPECT_EQ(app.prompter.said[0],
              "<spara kopia som " + app.history.dir.file("Firma_2024-05-03_10-00-01.bok") + ">");
    EXPECT_TRUE(
        app.prompter.said[1].starts_with("Säkerhetskopian innehåller inte perioderna 1.2013 - 12.2013."));
    EXPECT_EQ(app.prompter.said[2], backupOpensMessage("2024-05-03 10:00:01", copy, "Firma"));
    EXPECT_EQ(app.prompter.kindOf[app.prompter.said[2]], MessageKind::Information);
    // The unchanged company closed without a question; the copy is open in its place.
    ASSERT_TRUE(app.controller.companyOpen());
    EXPECT_EQ(app.doc().pathName(), copy);
    EXPECT_EQ(app.controller.mainWindowTitle(), "  Kvistoran - Kopia");
    EXPECT_EQ(app.doc().state().m_verifikat.size(), 1U);
    EXPECT_EQ(app.controller.recentFiles().files().front(), copy);
    auto after = test::snapshot(app.history.dir.path());
    std::erase_if(after, [](const auto& entry) { return entry.first.find("Kopia") != std::string::npos; });
    EXPECT_EQ(after, before);
    EXPECT_EQ(app.prompter.unscripted, 0);
}

TEST(AppBackups, ACompanyWithChangesAsksFirstAndMayStay) {
    App app;
    test::changeSomething(app.doc());
    app.choose(0);
    app.prompter.chooseFile(app.history.dir.file("Kopia.bok")).answer(Answer::Cancel);
    app.controller.execute(C::Backups);
    // The copy is written; the company stays open with its changes, and the user learns where the copy is.
    EXPECT_EQ(app.prompter.said.back(), backupKeptMessage(app.history.dir.file("Kopia.bok")));
    EXPECT_EQ(app.prompter.kindOf[app.prompter.said.back()], MessageKind::Information);
    EXPECT_EQ(app.doc().pathName(), app.history.path);
    EXPECT_TRUE(app.doc().isModified());
    EXPECT_TRUE(std::filesystem::exists(app.history.dir.file("Kopia.bok")));
}

TEST(AppBackups, CancellingOrARefusedNameWritesNothing) {
    App app;
    const auto before = test::snapshot(app.history.dir.path());
    // Stäng in the list.
    app.prompter.on<BackupListModel>([](BackupListModel&) { return Answer::Cancel; });
    app.controller.execute(C::Backups);
    // Avbryt in the name dialog.
    app.choose(0);
    app.prompter.chooseFile(std::nullopt);
    app.controller.execute(C::Backups);
    // The company's own name.
    app.prompter.chooseFile(app.history.path);
    app.controller.execute(C::Backups);
    EXPECT_EQ(app.prompter.said.back(), kMsgRestoreOverCompany);
    EXPECT_EQ(app.doc().pathName(), app.history.path);
    EXPECT_EQ(test::snapshot(app.history.dir.path()), before);
}

TEST(AppBackups, OnlyASavedCompanyHasBackups) {
    test::TempDir templates;
    ScriptedPrompter prompter;
    AppController controller{prompter, templates.path()};
    test::FakeHost host{controller};
    prompter.on<PeriodDialogModel>([](PeriodDialogModel&) { return Answer::Cancel; });
    controller.execute(C::NewCompany);
    EXPECT_FALSE(controller.commandState(C::Backups).enabled);

    test::TempDir dir;
    prompter.chooseFile(dir.file("Ny.bok"));
    controller.execute(C::SaveAs);
    EXPECT_TRUE(controller.commandState(C::Backups).enabled);
    prompter.said.clear();
    controller.execute(C::Backups);
    EXPECT_EQ(prompter.said, (std::vector<std::string>{kMsgNoBackups}));
    EXPECT_EQ(prompter.kindOf[kMsgNoBackups], MessageKind::Information);
}

} // namespace
} // namespace kv
