// "Arkiv → Skapa årsarkiv..." as the user meets it: what is offered, the
// save that comes first, the messages, and the writing handed to the window
// program.
#include "AppFakeHost.h"
#include "ScriptedPrompter.h"
#include "TestSupport.h"

#include "app/AppController.h"
#include "archive/ArchiveFlow.h"
#include "periods/PeriodDialogModel.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace kv {
namespace {

using C = CommandId;
using test::ScriptedPrompter;
using test::TempDir;

struct Written {
    std::string path;
    std::size_t attachments = 0;
    bool modifiedWhenWritten = true;
    std::int32_t monthRangeWhenWritten = -1; // m_nDelperiod as the writer saw it
};

struct App {
    TempDir templates;
    TempDir files;
    ScriptedPrompter prompter;
    AppController controller{prompter, templates.path()};
    test::FakeHost host{controller};
    std::vector<Written> written;
    std::optional<std::string> failWith; // the writer's failure, if any

    App() {
        prompter.on<PeriodDialogModel>([](PeriodDialogModel&) { return Answer::Cancel; });
    }

    // A new company with books and one voucher, never saved.
    void openBooks() {
        controller.execute(C::NewCompany);
        test::buildSmallCompany(controller.document());
        test::postVoucher(controller.document(), 5, 2, 2012, {{1930, 100, 0}, {3000, 0, 100}});
        prompter.said.clear();
    }
    // The same, saved as Firma.bok.
    void openSavedBooks() {
        openBooks();
        prompter.chooseFile(files.file("Firma"));
        ASSERT_TRUE(controller.save());
        prompter.said.clear();
    }
    std::optional<std::string> run() {
        return runYearArchive(controller, [this](const CTallvingeDoc& doc, const std::string& path,
                                                 const std::vector<ArchiveAttachment>& attachments) {
            if (failWith) {
                throw YearArchiveError(*failWith);
            }
            written.push_back(
                {path, attachments.size(), doc.isModified() || doc.neverSaved(), doc.state().m_nDelperiod});
        });
    }
};

TEST(ArchiveFlow, TheMenuItemNeedsBooksAndIsCarriedOutByTheWindowProgram) {
    App app;
    EXPECT_FALSE(app.controller.commandState(C::YearArchive).enabled);
    app.controller.execute(C::NewCompany);
    EXPECT_FALSE(app.controller.commandState(C::YearArchive).enabled); // no charts yet
    test::buildSmallCompany(app.controller.document());
    app.controller.document().updateAllViews();
    EXPECT_TRUE(app.controller.commandState(C::YearArchive).enabled);
    app.controller.execute(C::YearArchive);
    EXPECT_EQ(app.host.performed, (std::vector<CommandId>{C::YearArchive}));
    app.controller.document().savedInFull();
}

TEST(ArchiveFlow, ASavedCompanyGetsItsArchiveBesideItAndIsToldWhere) {
    App app;
    app.openSavedBooks();
    const std::string suggested = app.files.file("Firma-2012.zip");
    app.prompter.chooseFile(app.files.file("Arkiv 2012"));
    const auto path = app.run();
    const std::string expected = app.files.file("Arkiv 2012.zip");
    EXPECT_EQ(path, expected);
    ASSERT_EQ(app.written.size(), 1U);
    EXPECT_EQ(app.written[0].path, expected);
    EXPECT_EQ(app.prompter.said, (std::vector<std::string>{"<spara årsarkiv som " + suggested + ">",
                                                           kMsgArkivSkapat + expected}));
    EXPECT_EQ(app.prompter.kindOf[kMsgArkivSkapat + expected], MessageKind::Information);
}

TEST(ArchiveFlow, AChosenRunOfMonthsIsSetAsideWhileTheWholePeriodIsArchived) {
    App app;
    app.openSavedBooks();
    const MonthRange range{{2012, 2}, {2012, 3}};
    app.controller.document().setMonthRange(range);
    ASSERT_EQ(app.controller.document().state().m_nDelperiod, 1);
    app.prompter.chooseFile(app.files.file("Arkiv"));
    ASSERT_TRUE(app.run());
    ASSERT_EQ(app.written.size(), 1U);
    EXPECT_EQ(app.written[0].monthRangeWhenWritten, 0);
    const CompanyState& after = app.controller.document().state();
    EXPECT_EQ(after.m_nDelperiod, 1);
    EXPECT_EQ((YearMonth{after.m_nDelFranAr, after.m_nDelFranManad}), range.from);
    EXPECT_EQ((YearMonth{after.m_nDelTillAr, after.m_nDelTillManad}), range.to);
    EXPECT_FALSE(app.controller.document().isModified());
}

TEST(ArchiveFlow, UnsavedChangesAreSavedFirstOrNothingIsWritten) {
    struct Case {
        const char* name;
        bool neverSaved;
        Answer answer;
        bool written;
    };
    for (const Case& c :
         {Case{"changed, OK", false, Answer::Ok, true}, Case{"changed, Cancel", false, Answer::Cancel, false},
          Case{"never saved, OK", true, Answer::Ok, true},
          Case{"never saved, Cancel", true, Answer::Cancel, false}}) {
        SCOPED_TRACE(c.name);
        App app;
        if (c.neverSaved) {
            app.openBooks();
        } else {
            app.openSavedBooks();
            test::postVoucher(app.controller.document(), 6, 2, 2012, {{1930, 5, 0}, {3000, 0, 5}});
            ASSERT_TRUE(app.controller.document().isModified());
        }
        app.prompter.answer(c.answer);
        if (c.neverSaved && c.answer == Answer::Ok) {
            app.prompter.chooseFile(app.files.file("Firma")); // the save asks for a name
        }
        if (c.written) {
            app.prompter.chooseFile(app.files.file("arkiv.zip"));
        }
        app.run();
        ASSERT_FALSE(app.prompter.said.empty());
        EXPECT_EQ(app.prompter.said[0], kMsgArkivSparaForst);
        EXPECT_EQ(app.written.size(), c.written ? 1U : 0U);
        EXPECT_EQ(app.controller.document().isModified(), !c.written);
        if (c.written) {
            EXPECT_FALSE(app.written[0].modifiedWhenWritten);
            EXPECT_TRUE(std::filesystem::exists(app.files.file("Firma.bok")));
            // The suggestion follows the name the save gave.
            EXPECT_NE(std::find(app.prompter.said.begin(), app.prompter.said.end(),
                                "<spara årsarkiv som " + app.files.file("Firma-2012.zip") + ">"),
                      app.prompter.said.end());
        }
        app.controller.document().savedInFull();
        EXPECT_EQ(app.prompter.unscripted, 0);
    }
}

TEST(ArchiveFlow, CancelOrAFailedWriteIsToldAndWritesNothing) {
    App app;
    app.openSavedBooks();
    app.prompter.chooseFile(std::nullopt);
    EXPECT_EQ(app.run(), std::nullopt);
    EXPECT_TRUE(app.written.empty());
    EXPECT_EQ(app.prompter.said.size(), 1U); // only the file dialog

    app.prompter.said.clear();
    app.failWith = "Kan ej skriva arkivet /x.zip: Disken är full.";
    app.prompter.chooseFile(app.files.file("arkiv"));
    EXPECT_EQ(app.run(), std::nullopt);
    const std::string told = std::string(kMsgArkivKanEjSkapas) + *app.failWith;
    EXPECT_EQ(app.prompter.said.back(), told);
    EXPECT_EQ(app.prompter.kindOf[told], MessageKind::Failure);
}

TEST(ArchiveFlow, AnExistingFileTheExtensionWasAddedToIsAskedAbout) {
    App app;
    app.openSavedBooks();
    test::writeFile(app.files.file("arkiv.zip"), "gammalt");
    for (const Answer answer : {Answer::Cancel, Answer::Ok}) {
        app.prompter.said.clear();
        app.prompter.chooseFile(app.files.file("arkiv"));
        app.prompter.answer(answer);
        app.run();
        ASSERT_GE(app.prompter.said.size(), 2U);
        const std::string question =
            "Filen " + app.files.file("arkiv.zip") + " finns redan. Vill du ersätta den ?";
        EXPECT_EQ(app.prompter.said[1], question);
        EXPECT_EQ(app.prompter.defaultOf[question], Answer::Cancel);
    }
    EXPECT_EQ(app.written.size(), 1U);
}

TEST(ArchiveFlow, TheArchiveNameNeverLandsOnTheCompanysOwnFiles) {
    struct Case {
        const char* chosen;
        const char* path;
    };
    for (const Case& c : {Case{"/a/Firma", "/a/Firma.zip"}, Case{"/a/Firma.ZIP", "/a/Firma.ZIP"},
                          Case{"/a/Firma.bok", "/a/Firma.bok.zip"},
                          Case{"/a/Firma.kvdb", "/a/Firma.kvdb.zip"}, Case{"/a/.zip", "/a/.zip.zip"}}) {
        EXPECT_EQ(archivePathOf(c.chosen), c.path) << c.chosen;
    }
}

TEST(ArchiveFlow, TheSuggestedNameCarriesTheCompanyAndThePeriodsYears) {
    struct Case {
        PeriodChoice period;
        const char* years;
    };
    for (const Case& c : {Case{{1, 2012, 12, 2012}, "-2012"}, Case{{7, 2025, 6, 2026}, "-2025-2026"}}) {
        CTallvingeDoc doc;
        doc.addFirstPeriod(c.period);
        // Never saved: no folder yet, the name only.
        EXPECT_EQ(suggestedArchivePath(doc), doc.title() + c.years + ".zip");
    }
    App app;
    app.openSavedBooks();
    EXPECT_EQ(suggestedArchivePath(app.controller.document()), app.files.file("Firma-2012.zip"));
    app.controller.document().savedInFull();
}

} // namespace
} // namespace kv
