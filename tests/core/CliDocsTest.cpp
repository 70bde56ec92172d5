// The manual page and the bash completion of kvistoran-cli name every command
// and option its help text names.
#include "CliRunner.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

namespace kv {
namespace {

using test::CliRun;
using test::runCli;
using test::TempDir;

std::string sourceFile(const std::string& relative) {
    std::ifstream in(std::string(KVISTORAN_SOURCE_DIR) + "/" + relative, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// troff's escaped minus signs as the shell's hyphens.
std::string plainTroff(std::string text) {
    for (std::size_t at = text.find("\\-"); at != std::string::npos; at = text.find("\\-", at)) {
        text.erase(at, 1);
    }
    return text;
}

// The commands ("kvistoran-cli WORD" at the start of a help line) and the
// options ("--word") of the help text.
std::set<std::string> namesIn(const std::string& help) {
    std::set<std::string> names;
    const std::regex command(R"(^  kvistoran-cli ([a-z-]+))", std::regex::multiline);
    for (auto it = std::sregex_iterator(help.begin(), help.end(), command); it != std::sregex_iterator();
         ++it) {
        names.insert((*it)[1]);
    }
    const std::regex option(R"(--[a-z][a-z-]*)");
    for (auto it = std::sregex_iterator(help.begin(), help.end(), option); it != std::sregex_iterator();
         ++it) {
        names.insert(it->str());
    }
    return names;
}

TEST(CliDocs, ManualPageAndCompletionNameEveryCommandAndOptionOfTheHelp) {
    TempDir dir;
    const CliRun help = runCli(dir, "--help");
    ASSERT_EQ(help.status, 0);
    const std::set<std::string> names = namesIn(help.out);
    ASSERT_GT(names.size(), 30U); // every command and option, not a part of them
    EXPECT_TRUE(names.contains("import-bank"));
    EXPECT_TRUE(names.contains("--csv-sv"));

    const std::string manual = plainTroff(sourceFile("man/kvistoran-cli.1"));
    const std::string completion = sourceFile("completion/kvistoran-cli");
    ASSERT_FALSE(manual.empty());
    ASSERT_FALSE(completion.empty());
    for (const std::string& name : names) {
        const std::regex word("(^|[^a-z-])" + name + "($|[^a-z-])");
        EXPECT_TRUE(std::regex_search(manual, word)) << name << " saknas i man/kvistoran-cli.1";
        EXPECT_TRUE(std::regex_search(completion, word)) << name << " saknas i completion/kvistoran-cli";
    }
}

} // namespace
} // namespace kv
