// The menu bars, keys, status texts and help texts as data.
#include "app/AppTexts.h"
#include "app/Menus.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace kv {
namespace {

using C = CommandId;

std::vector<const MenuItem*> commandItems(const MenuBar& bar) {
    std::vector<const MenuItem*> items;
    for (const Menu& menu : bar.menus) {
        for (const MenuItem& item : menu.items) {
            if (item.kind == MenuItem::Kind::Command) {
                items.push_back(&item);
            }
        }
    }
    return items;
}

const MenuItem* find(const MenuBar& bar, C id) {
    for (const MenuItem* item : commandItems(bar)) {
        if (item->id == id) {
            return item;
        }
    }
    return nullptr;
}

std::vector<std::string> titles(const MenuBar& bar) {
    std::vector<std::string> result;
    for (const Menu& menu : bar.menus) {
        result.push_back(menu.title);
    }
    return result;
}

const std::set<C> kGridCommands = {
    C::Redo,       C::Find,       C::Replace,         C::FindAgain,     C::ZoomIn,     C::ZoomOut,
    C::Zoom100,    C::ReadOnly,   C::PrintLike,       C::RemoveColumns, C::RemoveRows, C::InsertColumns,
    C::InsertRows, C::AlignLeft,  C::AlignCenter,     C::AlignRight,    C::Bold,       C::Italic,
    C::Underline,  C::CellFormat, C::OnlyUsedAccounts};

TEST(AppMenus, TheMenuWithoutACompanyHasFileViewAndHelp) {
    const MenuBar& bar = menuBar(MenuBarId::NoCompany);
    EXPECT_EQ(titles(bar), (std::vector<std::string>{"&Arkiv", "&Visa", "&Hjälp"}));
    EXPECT_EQ(find(bar, C::NewCompany)->text, "&Nytt företag");
    EXPECT_EQ(find(bar, C::OpenCompany)->text, "&Öppna ett företag...");
    EXPECT_EQ(find(bar, C::AppExit)->text, "&Avsluta");
    const auto& file = bar.menus[0].items;
    EXPECT_TRUE(std::any_of(file.begin(), file.end(),
                            [](const MenuItem& item) { return item.kind == MenuItem::Kind::RecentFiles; }));
    EXPECT_EQ(find(bar, C::ImportSie)->text, "&Importera SIE-fil...");
    EXPECT_EQ(commandItems(bar).size(), 7U);
}

TEST(AppMenus, TheReportMenuIsTheCompanyMenuWithTheGridCommands) {
    const MenuBar& company = menuBar(MenuBarId::Company);
    const MenuBar& report = menuBar(MenuBarId::Report);
    EXPECT_EQ(titles(company),
              (std::vector<std::string>{"&Arkiv", "&Redigera", "&Visa", "V&erifikat", "&Kontoplan", "&Moms",
                                        "&Period", "&Fönster", "&Hjälp"}));
    EXPECT_EQ(titles(report), (std::vector<std::string>{"&Arkiv", "&Redigera", "&Visa / Inställningar",
                                                        "F&ormatera", "V&erifikat", "&Kontoplan", "&Moms",
                                                        "&Period", "&Fönster", "&Hjälp"}));
    for (const MenuItem* item : commandItems(company)) {
        EXPECT_EQ(kGridCommands.count(item->id), 0U) << item->text;
        const MenuItem* same = find(report, item->id);
        ASSERT_NE(same, nullptr) << item->text;
    }
    for (const C id : kGridCommands) {
        EXPECT_NE(find(report, id), nullptr) << static_cast<int>(id);
    }
    // "Leta verifikat" stands in two menus under one command.
    const auto items = commandItems(company);
    EXPECT_EQ(
        std::count_if(items.begin(), items.end(), [](const MenuItem* i) { return i->id == C::VoucherList; }),
        2);
}

TEST(AppMenus, EveryCommandHasAStatusTextAndARule) {
    for (const MenuBarId id : {MenuBarId::NoCompany, MenuBarId::Company, MenuBarId::Report}) {
        for (const MenuItem* item : commandItems(menuBar(id))) {
            EXPECT_FALSE(statusText(item->id).empty()) << item->text;
            const auto& all = allCommands();
            EXPECT_NE(std::find(all.begin(), all.end(), item->id), all.end()) << item->text;
        }
    }
    EXPECT_EQ(statusText(C::NewVoucher), "Nytt verifikat");
    EXPECT_EQ(statusText(C::FindVoucher), "Ta fram önskat verifikat");
}

TEST(AppMenus, KeysAreUniqueAndTheVoucherKeysAreOnTheNumericKeypad) {
    std::vector<KeyChord> seen;
    for (const C id : allCommands()) {
        for (const KeyChord& chord : commandKeys(id)) {
            EXPECT_EQ(std::count(seen.begin(), seen.end(), chord), 0) << static_cast<int>(id);
            seen.push_back(chord);
        }
    }
    EXPECT_EQ(commandKeys(C::NewVoucher), (std::vector<KeyChord>{{KeyName::KeypadPlus}}));
    EXPECT_EQ(commandKeys(C::VoucherList), (std::vector<KeyChord>{{KeyName::KeypadMultiply}}));
    EXPECT_EQ(commandKeys(C::FindVoucher), (std::vector<KeyChord>{{KeyName::KeypadMinus}}));
    EXPECT_EQ(commandKeys(C::Undo).size(), 2U);
    EXPECT_EQ(commandKeys(C::PreviousWindow), (std::vector<KeyChord>{{KeyName::F6, 0, false, true, false}}));
    // Their menu texts name the key already.
    EXPECT_EQ(find(menuBar(MenuBarId::Company), C::NewVoucher)->text, "Nytt verifikat      +");
    EXPECT_TRUE(keyNamedInMenuText(C::NewVoucher));
    EXPECT_FALSE(keyNamedInMenuText(C::Save));
}

TEST(AppMenus, EveryHelpItemShowsAText) {
    const Menu& help = menuBar(MenuBarId::Company).menus.back();
    int texts = 0;
    for (const MenuItem& item : help.items) {
        if (item.kind == MenuItem::Kind::Command && item.id != C::About && item.id != C::Calendar) {
            EXPECT_TRUE(helpText(item.id, "/mallar").has_value()) << item.text;
            ++texts;
        }
    }
    EXPECT_EQ(texts, 8);
    EXPECT_FALSE(helpText(C::Save, "/mallar").has_value());
}

TEST(AppMenus, TheTemplateHelpNamesTheRealTemplateFolder) {
    const std::string text = *helpText(C::HelpTemplates, "/home/anna/mallar");
    EXPECT_EQ(text,
              "Alla kontoplaner som du väljer att spara som mall finns i mappen  /home/anna/mallar.  Välj  "
              "Kontoplan-Spara i kontoplanmallar.  Mappen öppnas automatiskt då du skapar ett nytt företag.");
}

} // namespace
} // namespace kv
