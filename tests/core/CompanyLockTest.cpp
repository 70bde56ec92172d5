// One program writes a company at a time: while another process holds the
// company's lock, the window program offers to open it read-only and every
// writing command refuses with who holds it; once that process is killed,
// the next opening proceeds.
#include "AppFakeHost.h"
#include "ChildProcess.h"
#include "CliRunner.h"
#include "InterruptedSave.h"
#include "ScriptedPrompter.h"
#include "TestSupport.h"

#include "app/AppController.h"
#include "app/AppTexts.h"
#include "app/SetupFlow.h"
#include "model/DocumentTexts.h"
#include "storage/CompanyLock.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <unistd.h>
#include <variant>

namespace kv {
namespace {

namespace session = test::interrupted;
using C = CommandId;

struct HeldCompany {
    test::TempDir templates;
    test::TempDir dir;
    std::string path = session::companyPath(dir.path());

    HeldCompany() { EXPECT_TRUE(session::prepare(dir.path(), templates.path())); }
};

TEST(CompanyLock, WhileAnotherProcessHoldsTheCompanyNothingWritesItAndAfterItsDeathAllDo) {
    HeldCompany company;
    auto holder = std::make_unique<test::ChildProcess>(std::vector<std::string>{"hold", company.path});
    ASSERT_EQ(holder->readLine(), "låst");
    const std::string before = test::readFile(company.path);

    // Who holds it, as the lock file tells.
    auto taken = CompanyLock::take(company.path, "test");
    ASSERT_TRUE(std::holds_alternative<LockHolder>(taken));
    const LockHolder held = std::get<LockHolder>(taken);
    EXPECT_EQ(held.program, "kvistoran-test-child");
    EXPECT_FALSE(held.user.empty());
    EXPECT_FALSE(held.since.empty());
    const std::string inUse = companyInUseMessage(held);
    EXPECT_TRUE(inUse.starts_with("Företaget är öppet i ett annat program (" + held.user + ", ")) << inUse;

    // The window program: the question, then the company read-only.
    {
        test::TempDir templates;
        test::ScriptedPrompter prompter;
        AppController app(prompter, templates.path());
        test::FakeHost host(app);
        prompter.answer(Answer::Cancel);
        EXPECT_FALSE(app.openAtStartUp(company.path));
        EXPECT_FALSE(app.companyOpen());
        prompter.answer(Answer::Ok);
        ASSERT_TRUE(app.openAtStartUp(company.path));
        ASSERT_EQ(prompter.said.size(), 2U);
        EXPECT_EQ(prompter.said[1], inUse + "\n\n" + kMsgOppnaSkrivskyddat);
        EXPECT_EQ(prompter.buttonOf[prompter.said[1]], "Öppna skrivskyddat");
        EXPECT_EQ(prompter.defaultOf[prompter.said[1]], Answer::Cancel);
        EXPECT_EQ(app.mainWindowTitle(), "  Kvistoran - Förening (skrivskyddat)");
        for (const CommandId writes : {C::NewVoucher, C::Save, C::SaveAs, C::NewPeriod, C::OpenPeriod,
                                       C::ImportBank, C::AddSie, C::VatRules, C::IncomeChart, C::Budget}) {
            EXPECT_FALSE(app.commandState(writes).enabled) << static_cast<int>(writes);
        }
        for (const CommandId reads : {C::TrialBalanceWindow, C::VoucherList, C::VatReportWindow}) {
            EXPECT_TRUE(app.commandState(reads).enabled) << static_cast<int>(reads);
        }
        EXPECT_FALSE(needsFirstVoucherHint(app.document())); // no way shown that is closed
        // The books refuse too, should anything reach them.
        EXPECT_THROW(app.document().registerVoucher(makeVoucher(5, 3, 2024, "X", {})), DocumentRefusal);
        EXPECT_FALSE(saveCompany(app.document(), company.path).ok);
        EXPECT_EQ(prompter.unscripted, 0);
    }

    // Every writing command refuses with the same facts and exit status 1; reading ones read.
    const std::string file = test::quoted(company.path);
    const std::vector<std::string> writing = {
        "add-voucher " + file + " --date 2024-03-05 --text Test 1930:D:100 3010:K:100",
        "attach " + file + " 1 " + test::quoted(company.dir.file("kvitto.pdf")),
        "new-period " + file + " --to 2025-12",
        "budget " + file + " --set 3010=1000",
        "bank-rules " + file + " --add Kaffe=4010",
        "resave " + file + " " + file,
        "add-sie " + file + " " + test::quoted(company.dir.file("kassa.si")) + " --yes",
        "import-bank " + file + " " + test::quoted(company.dir.file("mars.xml")) + " --account 1930 --yes",
    };
    test::writeFile(company.dir.file("kassa.si"), session::sieFile());
    for (const std::string& command : writing) {
        SCOPED_TRACE(command);
        const test::CliRun run = test::runCli(company.dir, command);
        EXPECT_EQ(run.status, 1);
        EXPECT_NE(run.err.find(inUse), std::string::npos) << run.err;
    }
    EXPECT_EQ(test::readFile(company.path), before);
    EXPECT_EQ(test::runCli(company.dir, "periods " + file).status, 0);
    EXPECT_EQ(test::runCli(company.dir, "report trial-balance " + file).status, 0);

    // The holder is killed: the kernel lets go of its lock, and the next opening proceeds.
    holder->kill();
    ASSERT_EQ(test::exitOf(holder->wait()), -SIGKILL);
    holder.reset();
    const test::CliRun added = test::runCli(company.dir, writing[0]);
    EXPECT_EQ(added.status, 0) << added.err;
    test::TempDir templates;
    test::ScriptedPrompter prompter;
    AppController app(prompter, templates.path());
    test::FakeHost host(app);
    ASSERT_TRUE(app.openAtStartUp(company.path));
    EXPECT_TRUE(prompter.said.empty());
    EXPECT_EQ(app.mainWindowTitle(), "  Kvistoran - Förening");
    EXPECT_TRUE(app.commandState(C::NewVoucher).enabled);
}

TEST(CompanyLock, OneProcessHoldsItsCompanyOnceAndLetsGoWithTheLastHolder) {
    test::TempDir dir;
    const std::string path = dir.file("Firma.bok");
    const std::string lockFile = dir.file(".Firma.bok.lock");
    {
        auto first = CompanyLock::take(path, "Kvistoran");
        ASSERT_TRUE(std::holds_alternative<CompanyLock>(first));
        EXPECT_TRUE(CompanyLock::heldHere(path));
        EXPECT_NE(test::readFile(lockFile).find("program=Kvistoran\n"), std::string::npos);
        {
            auto second = CompanyLock::take(dir.file("./Firma.bok"), "kvistoran-cli");
            EXPECT_TRUE(std::holds_alternative<CompanyLock>(second)); // the same process shares it
        }
        EXPECT_TRUE(CompanyLock::heldHere(path));
    }
    EXPECT_FALSE(CompanyLock::heldHere(path));
    EXPECT_FALSE(std::filesystem::exists(lockFile));
    // A lock file that a killed program left behind is taken over.
    test::writeFile(lockFile, "user=x\nhost=y\nprogram=z\nsince=1999-01-01 00:00\n");
    EXPECT_TRUE(std::holds_alternative<CompanyLock>(CompanyLock::take(path, "Kvistoran")));
}

} // namespace
} // namespace kv
