// The template chooser and the user's chart templates in the template file.
#include "ChartTestSupport.h"
#include "ScriptedPrompter.h"

#include "chart/ChartEditorModel.h"
#include "chart/ChartTemplates.h"
#include "chart/TemplateChooserModel.h"
#include "chart/UserTemplates.h"
#include "storage/CompanyFiles.h"
#include "storage/FileIo.h"
#include "storage/TemplateStore.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace kv {
namespace {

using test::postVoucher;
using test::ScriptedPrompter;
using test::setUpCompany;
using test::TemplateFolder;

std::unique_ptr<CKontoplan> namedTemplate(const std::string& name) {
    auto mall = std::make_unique<CKontoplan>();
    mall->m_strNamn = name;
    mall->m_nAntalRes = 1;
    auto konto = std::make_unique<CKonto>();
    konto->m_nKontonr = 3000;
    konto->m_strKolumn2 = name;
    mall->m_konton.push_back(std::move(konto));
    mall->m_konton.push_back(std::make_unique<CKonto>());
    return mall;
}

// Writes a template file holding templates with these names.
void writeTemplateFile(const std::string& folder, const std::vector<std::string>& names) {
    TemplateStore holder(folder);
    for (const std::string& name : names) {
        holder.store(namedTemplate(name), std::nullopt);
    }
    ASSERT_TRUE(holder.write().ok);
}

std::vector<std::string> namesInFile(const std::string& folder) {
    TemplateStore reader(folder);
    EXPECT_TRUE(reader.read().ok);
    std::vector<std::string> names;
    for (const auto& mall : reader.templates()) {
        names.push_back(mall->m_strNamn);
    }
    return names;
}

TEST(TemplateChooser, ListsTheBuiltInTemplatesFirstThenTheUsersSorted) {
    CTallvingeDoc doc;
    TemplateStore templates("");
    for (const char* name : {"Zeta.bok", "bägare.bok", "Ödla.bok", "alfa.bok", "Åsa.bok", "Ärla.bok"}) {
        templates.store(namedTemplate(name), std::nullopt);
    }
    TemplateChooserModel chooser(doc, templates);
    const std::vector<std::string> expected{
        kMallRikssvensk, kMallBaskonto, kMallFinlandssvensk, kMallForening, "alfa.bok",
        "bägare.bok",    "Zeta.bok",    "Åsa.bok",           "Ärla.bok",    "Ödla.bok"};
    EXPECT_EQ(chooser.entries(), expected);
    EXPECT_EQ(chooser.selected(), 0);
    chooser.accept();
    EXPECT_EQ(doc.state().m_strMallnamn, kMallRikssvensk);
    EXPECT_EQ(doc.state().m_nValdMall, -1);
    EXPECT_TRUE(doc.state().m_allaKonton.empty());
}

TEST(TemplateChooser, AUserTemplateIsCopiedIntoTheNewCompany) {
    CTallvingeDoc doc;
    TemplateStore templates("");
    templates.store(namedTemplate("Andra.bok"), std::nullopt);
    auto mall = std::make_unique<CKontoplan>();
    mall->m_strNamn = "Firma.bok";
    mall->m_nAntalRes = 2;
    mall->m_nAntalBal = 1;
    for (const std::int32_t number : {3000, 0, 1910}) {
        auto konto = std::make_unique<CKonto>();
        konto->m_nKontonr = number;
        konto->m_strKolumn2 = "Konto " + std::to_string(number);
        konto->m_strKolumn3 = "a";
        konto->m_nAnvands = 1;
        mall->m_konton.push_back(std::move(konto));
    }
    CAutomoms rule;
    rule.m_dMomssats = 25;
    rule.m_nKreditkonto = 3000;
    rule.m_nKreditMomskonto = 1910;
    mall->m_momsregler.push_back(rule);
    templates.store(std::move(mall), std::nullopt);

    TemplateChooserModel chooser(doc, templates);
    ASSERT_TRUE(chooser.selectName("Firma.bok"));
    chooser.accept();
    EXPECT_EQ(doc.state().m_strMallnamn, "Firma.bok");
    EXPECT_EQ(doc.state().m_nValdMall, 0);
    EXPECT_EQ(chosenUserTemplate(doc, templates), templates.templates()[1].get());
    ASSERT_EQ(doc.state().m_allaKonton.size(), 3u);
    EXPECT_EQ(doc.state().m_allaKonton[0]->m_strKolumn2, "Konto 3000");
    EXPECT_EQ(doc.state().m_allaKonton[0]->m_nAnvands, 0);
    EXPECT_EQ(doc.state().m_resNummer, (std::vector<std::int32_t>{3000, 0}));
    EXPECT_EQ(doc.state().m_balNummer, (std::vector<std::int32_t>{1910}));
    EXPECT_EQ(doc.state().m_momsregler, std::vector<CAutomoms>{rule});
    EXPECT_TRUE(doc.state().m_resKonton.empty()); // the user still approves both charts
}

class UserTemplates : public ::testing::Test {
protected:
    TemplateFolder folder;
    TemplateStore templates{folder.path()};
    ScriptedPrompter prompter;
};

TEST_F(UserTemplates, SavingAsksFirstAndNeedsASavedCompany) {
    CTallvingeDoc doc;
    setUpCompany(doc, kMallForening, folder.path());
    prompter.answer(Answer::Cancel);
    saveChartAsTemplate(doc, prompter, templates);
    EXPECT_EQ(prompter.said, std::vector<std::string>{kMsgSparasSomMall});
    EXPECT_FALSE(fileExists(templateFilePath(folder.path())));

    prompter.said.clear();
    prompter.answer(Answer::Ok);
    saveChartAsTemplate(doc, prompter, templates);
    EXPECT_EQ(prompter.said, (std::vector<std::string>{kMsgSparasSomMall, kMsgSparaForstSomMall}));
    EXPECT_FALSE(fileExists(templateFilePath(folder.path())));
}

TEST_F(UserTemplates, SavedTemplateHoldsTheChartsWithoutPostingsOrMarks) {
    CTallvingeDoc doc;
    setUpCompany(doc, kMallForening, folder.path());
    postVoucher(doc, 3, 2, 2012, {{1010, 100, 0}, {3000, 0, 100}});
    doc.renameTo({doc.pathName(), "/ho", "Föreningen.bok"});
    prompter.answer(Answer::Ok);
    saveChartAsTemplate(doc, prompter, templates);
    // The first save finds no file to read yet.
    EXPECT_EQ(prompter.said,
              (std::vector<std::string>{kMsgSparasSomMall, templateFileMessage(folder.path())}));
    EXPECT_FALSE(templates.saving());

    TemplateStore reader(folder.path());
    ASSERT_TRUE(reader.read().ok);
    ASSERT_EQ(reader.templates().size(), 1u);
    const CKontoplan& mall = *reader.templates().front();
    EXPECT_EQ(mall.m_strNamn, "Föreningen.bok");
    EXPECT_EQ(mall.m_nAntalRes, 236);
    EXPECT_EQ(mall.m_nAntalBal, 138);
    ASSERT_EQ(mall.m_konton.size(), 374u);
    EXPECT_EQ(mall.m_konton[2]->m_nKontonr, 3000);
    EXPECT_EQ(mall.m_konton[2]->m_nAnvands, 1);
    EXPECT_TRUE(mall.m_konton[2]->m_rader.empty());
    EXPECT_EQ(mall.m_konton[234]->m_strKolumn2, "2090");
    EXPECT_EQ(mall.m_konton[234]->m_strKolumn6, ""); // not even the result mark
    EXPECT_EQ(mall.m_momsregler.size(), 54u);

    // Saving the same company again replaces its template after showing its name.
    prompter.said.clear();
    test::loadEdited(doc, [](CompanyState& s) { s.m_resKonton[2]->m_strKolumn2 = "Avgifter"; });
    prompter.answer(Answer::Ok);
    saveChartAsTemplate(doc, prompter, templates);
    EXPECT_EQ(prompter.said, (std::vector<std::string>{kMsgSparasSomMall, "Föreningen.bok"}));
    ASSERT_TRUE(reader.read().ok);
    ASSERT_EQ(reader.templates().size(), 1u);
    EXPECT_EQ(reader.templates().front()->m_konton[2]->m_strKolumn2, "Avgifter");
    EXPECT_EQ(prompter.unscripted, 0);
}

TEST_F(UserTemplates, CompaniesWithTheSameFileNameShareOneTemplate) {
    test::TempDir dirs;
    CTallvingeDoc first;
    setUpCompany(first, kMallForening, folder.path());
    ASSERT_TRUE(std::filesystem::create_directory(dirs.file("a")));
    ASSERT_TRUE(std::filesystem::create_directory(dirs.file("b")));
    ASSERT_TRUE(saveCompany(first, dirs.file("a/Firma.bok")).ok);
    CTallvingeDoc second;
    setUpCompany(second, kMallBaskonto, folder.path());
    ASSERT_TRUE(saveCompany(second, dirs.file("b/Firma.bok")).ok);
    prompter.answer(Answer::Ok).answer(Answer::Ok);
    saveChartAsTemplate(first, prompter, templates);
    saveChartAsTemplate(second, prompter, templates);
    TemplateStore reader(folder.path());
    ASSERT_TRUE(reader.read().ok);
    ASSERT_EQ(reader.templates().size(), 1u);
    EXPECT_EQ(reader.templates().front()->m_konton.size(), second.state().m_allaKonton.size());
}

TEST_F(UserTemplates, AtMostOneHundredTemplates) {
    std::vector<std::string> names;
    for (int i = 0; i < 100; ++i) {
        names.push_back("Mall" + std::to_string(i) + ".bok");
    }
    writeTemplateFile(folder.path(), names);
    CTallvingeDoc doc;
    setUpCompany(doc, kMallForening, folder.path());
    doc.renameTo({doc.pathName(), "/ho", "Ny.bok"});
    // The chooser's list is in memory; the file holds 100.
    ASSERT_TRUE(templates.read().ok);
    ASSERT_EQ(templates.templates().size(), 100u);
    prompter.answer(Answer::Ok);
    saveChartAsTemplate(doc, prompter, templates);
    EXPECT_EQ(prompter.said.back(), kMsgRedan100Mallar);

    // An older list in memory does not get round the limit.
    TemplateStore older(folder.path());
    prompter.said.clear();
    prompter.answer(Answer::Ok);
    saveChartAsTemplate(doc, prompter, older);
    EXPECT_EQ(prompter.said, (std::vector<std::string>{kMsgSparasSomMall, kMsgRedan100Mallar}));
    EXPECT_EQ(namesInFile(folder.path()).size(), 100u);

    // Deleting one makes room.
    prompter.said.clear();
    prompter.answer(Answer::Ok);
    prompter.on<DeleteTemplateModel>([this](DeleteTemplateModel& dialog) {
        EXPECT_EQ(dialog.entries().front(), "Mall0.bok");
        EXPECT_EQ(dialog.entries()[1], "Mall1.bok");
        dialog.select(1);
        dialog.accept(prompter);
        return Answer::Ok;
    });
    deleteChartTemplate(prompter, templates);
    EXPECT_EQ(namesInFile(folder.path()).size(), 99u);
    prompter.answer(Answer::Ok);
    saveChartAsTemplate(doc, prompter, templates);
    const auto after = namesInFile(folder.path());
    EXPECT_EQ(after.size(), 100u);
    EXPECT_EQ(after.back(), "Ny.bok");
    EXPECT_EQ(std::count(after.begin(), after.end(), "Mall1.bok"), 0);
}

TEST_F(UserTemplates, DeletingTakesTheLastOfEqualNames) {
    writeTemplateFile(folder.path(), {"B.bok", "A.bok", "B.bok"});
    {
        // Rewrite the last "B.bok" with a second row so that the two can be told apart.
        TemplateStore holder(folder.path());
        ASSERT_TRUE(holder.read().ok);
        auto changed = namedTemplate("B.bok");
        changed->m_konton = copyKontoList(holder.templates()[2]->m_konton);
        changed->m_nAntalRes = 2;
        holder.store(std::move(changed), 2);
        ASSERT_TRUE(holder.write().ok);
    }
    prompter.answer(Answer::Ok);
    prompter.on<DeleteTemplateModel>([this](DeleteTemplateModel& dialog) {
        EXPECT_EQ(dialog.entries(), (std::vector<std::string>{"A.bok", "B.bok", "B.bok"}));
        dialog.select(1);
        dialog.accept(prompter);
        return Answer::Ok;
    });
    deleteChartTemplate(prompter, templates);
    TemplateStore reader(folder.path());
    ASSERT_TRUE(reader.read().ok);
    ASSERT_EQ(reader.templates().size(), 2u);
    EXPECT_EQ(reader.templates()[0]->m_strNamn, "B.bok");
    EXPECT_EQ(reader.templates()[0]->m_nAntalRes, 1);
    EXPECT_EQ(reader.templates()[1]->m_strNamn, "A.bok");
}

TEST_F(UserTemplates, DeletingFromAnEmptyListWritesNothing) {
    prompter.answer(Answer::Cancel);
    bool shown = false;
    prompter.on<DeleteTemplateModel>([this, &shown](DeleteTemplateModel& dialog) {
        shown = true;
        EXPECT_TRUE(dialog.entries().empty());
        EXPECT_EQ(dialog.selected(), -1);
        dialog.accept(prompter);
        return Answer::Ok;
    });
    deleteChartTemplate(prompter, templates);
    EXPECT_FALSE(shown);

    prompter.answer(Answer::Ok);
    deleteChartTemplate(prompter, templates);
    EXPECT_TRUE(shown);
    EXPECT_FALSE(fileExists(templateFilePath(folder.path())));
    EXPECT_EQ(prompter.said.back(), templateFileMessage(folder.path()));
}

TEST_F(UserTemplates, ADamagedTemplateFileIsNeverOverwritten) {
    ASSERT_TRUE(makeFolder(folder.path()));
    test::writeFile(templateFilePath(folder.path()), "inte en mallfil");
    CTallvingeDoc doc;
    setUpCompany(doc, kMallForening, folder.path());
    doc.renameTo({doc.pathName(), "/ho", "Firma.bok"});
    prompter.answer(Answer::Ok);
    saveChartAsTemplate(doc, prompter, templates);
    EXPECT_EQ(test::readFile(templateFilePath(folder.path())), "inte en mallfil");
    EXPECT_EQ(prompter.said.back().rfind("Mallfilen ", 0), 0u);
}

// Where the templates are kept is news on a first run (the information
// icon); a template file that cannot be read is a warning.
TEST_F(UserTemplates, AMissingTemplateFileInformsADamagedOneWarns) {
    tellFileReport(prompter, templates.read());
    EXPECT_EQ(prompter.kindOf[templateFileMessage(folder.path())], MessageKind::Information);

    ASSERT_TRUE(makeFolder(folder.path()));
    test::writeFile(templateFilePath(folder.path()), "inte en mallfil");
    prompter.kindOf.clear();
    tellFileReport(prompter, templates.read());
    EXPECT_EQ(prompter.kindOf[templateFileMessage(folder.path())], MessageKind::Refusal);
    EXPECT_EQ(prompter.kindOf.size(), 2U);
}

} // namespace
} // namespace kv
