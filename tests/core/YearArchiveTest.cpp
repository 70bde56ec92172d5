// The year's archive in the core: names inside the zip, the zip and its
// manifest written whole or not at all, and the check of an archive against
// its manifest, tampered and hostile archives included.
#include "archive/YearArchive.h"
#include "CliRunner.h"
#include "TestSupport.h"
#include "archive/ArchiveNames.h"
#include "archive/ArchiveVerify.h"
#include "storage/Sha256.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <zip.h>

#include <filesystem>
#include <functional>

namespace kv {
namespace {

using test::TempDir;

TEST(YearArchiveNames, FoldedAndSafe) {
    struct Case {
        std::string given;
        std::string folded;
    };
    for (const Case& c : std::vector<Case>{{"Alla konton / Råbalans", "alla-konton-rabalans"},
                                           {"Grundbok (verifikat)", "grundbok-verifikat"},
                                           {"Resultaträkning", "resultatrakning"},
                                           {"ÅÄÖ éü", "aao-eu"},
                                           {"../../etc/passwd", "etc-passwd"},
                                           {"日本", ""}}) {
        EXPECT_EQ(foldedName(c.given), c.folded) << c.given;
    }
    EXPECT_EQ(attachmentEntryName(12, 1, "Kvitto.PDF"), "underlag/0012-1-kvitto.pdf");
    EXPECT_EQ(attachmentEntryName(12345, 2, "Hyra mars å.jpg"), "underlag/12345-2-hyra-mars-a.jpg");
    EXPECT_EQ(attachmentEntryName(7, 3, "../..\\.pdf"), "underlag/0007-3-pdf");
    EXPECT_EQ(attachmentEntryName(7, 1, "§§§"), "underlag/0007-1-underlag");
    for (const std::string& unsafe :
         std::vector<std::string>{"", "/etc/passwd", "../x", "a/../../x", "a\\b", "a\nb"}) {
        EXPECT_TRUE(isUnsafeEntryName(unsafe)) << unsafe;
    }
    for (const char* safe : {"manifest.json", "underlag/0012-1-kvitto.pdf", "a/..b/c"}) {
        EXPECT_FALSE(isUnsafeEntryName(safe)) << safe;
    }
}

TEST(YearArchiveSha256, PiecesGiveTheWholeHash) {
    std::string bytes;
    for (int i = 0; i < 1000; ++i) {
        bytes.push_back(static_cast<char>(i * 7));
    }
    EXPECT_EQ(sha256Hex("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    for (const std::size_t split : {std::size_t{0}, std::size_t{1}, std::size_t{55}, std::size_t{64},
                                    std::size_t{65}, std::size_t{999}}) {
        Sha256 hash;
        hash.update(std::string_view(bytes).substr(0, split));
        hash.update(std::string_view(bytes).substr(split));
        EXPECT_EQ(hash.hexDigest(), sha256Hex(bytes)) << split;
    }
}

ArchiveHeader header() {
    return {"Föreningen Ek", "", "2026-01-01", "2026-12-31", "1.0", "2026-12-31T12:00:00Z"};
}

// An archive of two reports and one receipt read from disk.
std::string writeSample(const TempDir& dir) {
    test::writeFile(dir.file("kvitto.pdf"), "%PDF-1.4 kvitto");
    std::vector<ArchiveFile> files = {{"rapporter/grundbok.pdf", "Grundbok", "%PDF grundbok", {}, {}, 0},
                                      {"sie/ek.se", "SIE", "#FLAGGA 0\r\n", {}, {}, 0}};
    for (ArchiveFile& file : attachmentFiles({{12, "Kvitto.pdf", dir.file("kvitto.pdf"), {}, 0}})) {
        files.push_back(std::move(file));
    }
    const std::string path = dir.file("arkiv.zip");
    writeYearArchive(path, header(), files);
    return path;
}

TEST(YearArchive, ManifestMatchesItsFiles) {
    const TempDir dir;
    const std::string path = writeSample(dir);
    const ArchiveCheck check = verifyArchive(path);
    EXPECT_TRUE(check.ok);
    EXPECT_EQ(check.filesChecked, 3u);
    int error = 0;
    zip_t* zip = zip_open(path.c_str(), ZIP_RDONLY, &error);
    ASSERT_NE(zip, nullptr);
    auto read = [zip](const std::string& name) {
        zip_stat_t stat;
        zip_stat(zip, name.c_str(), 0, &stat);
        std::string bytes(stat.size, '\0');
        zip_file_t* file = zip_fopen(zip, name.c_str(), 0);
        zip_fread(file, bytes.data(), bytes.size());
        zip_fclose(file);
        return bytes;
    };
    const auto manifest = nlohmann::json::parse(read("manifest.json"));
    EXPECT_EQ(manifest["foretag"], "Föreningen Ek");
    EXPECT_EQ(manifest["period"]["till"], "2026-12-31");
    ASSERT_EQ(manifest["filer"].size(), 3u);
    EXPECT_EQ(manifest["filer"][2]["fil"], "underlag/0012-1-kvitto.pdf");
    for (const auto& file : manifest["filer"]) {
        const std::string bytes = read(file["fil"].get<std::string>());
        EXPECT_EQ(file["storlek"].get<std::size_t>(), bytes.size());
        EXPECT_EQ(file["sha256"], sha256Hex(bytes));
    }
    zip_discard(zip);
}

// Changes the sample archive with libzip as a careless or hostile hand would.
void change(const std::string& path, const std::function<void(zip_t*)>& edit) {
    int error = 0;
    zip_t* zip = zip_open(path.c_str(), 0, &error);
    ASSERT_NE(zip, nullptr);
    edit(zip);
    ASSERT_EQ(zip_close(zip), 0);
}

void put(zip_t* zip, const std::string& name, const std::string& bytes) {
    // The bytes must live until the archive is closed.
    static std::vector<std::unique_ptr<std::string>> kept;
    kept.push_back(std::make_unique<std::string>(bytes));
    zip_source_t* source = zip_source_buffer(zip, kept.back()->data(), kept.back()->size(), 0);
    zip_file_add(zip, name.c_str(), source, ZIP_FL_OVERWRITE);
}

TEST(YearArchive, TamperedArchiveNamesTheFile) {
    struct Case {
        const char* what;
        std::function<void(zip_t*)> edit;
        std::string reported;
    };
    const std::vector<Case> cases = {
        {"same size, other bytes", [](zip_t* z) { put(z, "sie/ek.se", "#FLAGGA 1\r\n"); },
         "sie/ek.se: innehållet skiljer sig"},
        {"other size", [](zip_t* z) { put(z, "rapporter/grundbok.pdf", "%PDF"); },
         "rapporter/grundbok.pdf: storleken skiljer sig"},
        {"removed",
         [](zip_t* z) { zip_delete(z, static_cast<zip_uint64_t>(zip_name_locate(z, "sie/ek.se", 0))); },
         "sie/ek.se: saknas i arkivet"},
        {"added outside", [](zip_t* z) { put(z, "../../evil.sh", "rm -rf"); },
         "../../evil.sh: finns i arkivet men inte i manifest.json (farligt filnamn)"},
        {"unpacks to far more", [](zip_t* z) { put(z, "sie/ek.se", std::string(50u << 20, '0')); },
         "sie/ek.se: storleken skiljer sig (11 byte enligt manifest.json, fler i arkivet)"},
    };
    for (const Case& c : cases) {
        const TempDir dir;
        const std::string path = writeSample(dir);
        change(path, c.edit);
        const ArchiveCheck check = verifyArchive(path);
        EXPECT_FALSE(check.ok) << c.what;
        ASSERT_EQ(check.problems.size(), 1u) << c.what;
        EXPECT_EQ(check.problems[0].rfind(c.reported, 0), 0u) << c.what << ": " << check.problems[0];
    }
}

TEST(YearArchive, UnreadableArchiveIsRefusedInSwedish) {
    struct Case {
        const char* what;
        std::function<void(const std::string&)> spoil;
        std::string told;
    };
    const std::vector<Case> cases = {
        {"not a zip", [](const std::string& p) { test::writeFile(p, "inget arkiv"); },
         "filen är inget zip-arkiv"},
        {"cut short", [](const std::string& p) { test::writeFile(p, test::readFile(p).substr(0, 200)); },
         "kan inte kontrolleras"},
        {"no manifest",
         [](const std::string& p) {
             change(p, [](zip_t* z) {
                 zip_delete(z, static_cast<zip_uint64_t>(zip_name_locate(z, "manifest.json", 0)));
             });
         },
         "det saknar manifest.json"},
        {"manifest not JSON",
         [](const std::string& p) { change(p, [](zip_t* z) { put(z, "manifest.json", "{"); }); },
         "manifest.json: kan inte läsas"},
    };
    for (const Case& c : cases) {
        const TempDir dir;
        const std::string path = writeSample(dir);
        c.spoil(path);
        try {
            const ArchiveCheck check = verifyArchive(path);
            EXPECT_FALSE(check.ok) << c.what;
            ASSERT_FALSE(check.problems.empty()) << c.what;
            EXPECT_NE(check.problems[0].find(c.told), std::string::npos)
                << c.what << ": " << check.problems[0];
        } catch (const YearArchiveError& error) {
            EXPECT_NE(std::string(error.what()).find(c.told), std::string::npos)
                << c.what << ": " << error.what();
        }
    }
    const TempDir dir;
    ArchiveLimits small;
    small.manifestBytes = 100;
    EXPECT_THROW(static_cast<void>(verifyArchive(writeSample(dir), small)), YearArchiveError);
}

TEST(YearArchive, FailedWriteLeavesTheOldArchive) {
    struct Case {
        const char* what;
        std::vector<ArchiveFile> files;
    };
    const std::vector<Case> cases = {
        {"receipt missing", {{"underlag/0001-1-a.pdf", "", {}, "/nonexistent/kvitto.pdf", {}, 0}}},
        {"two of one name", {{"a.pdf", "", "1", {}, {}, 0}, {"a.pdf", "", "2", {}, {}, 0}}},
        {"unsafe name", {{"../a.pdf", "", "1", {}, {}, 0}}},
        {"the manifest's name", {{"manifest.json", "", "{}", {}, {}, 0}}},
    };
    for (const Case& c : cases) {
        const TempDir dir;
        const std::string path = dir.file("arkiv.zip");
        test::writeFile(path, "det gamla arkivet");
        EXPECT_THROW(writeYearArchive(path, header(), c.files), YearArchiveError) << c.what;
        EXPECT_EQ(test::readFile(path), "det gamla arkivet") << c.what;
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1) << c.what;
    }
}

TEST(YearArchiveCli, ArchiveProgramMissingIsTold) {
    const TempDir dir;
    // The tool alone, without the archive program beside it.
    std::filesystem::copy_file(KVISTORAN_CLI, dir.file("kvistoran-cli"));
    const int status = std::system(
        ("cd " + test::quoted(dir.path()) + " && ./kvistoran-cli archive Firma.bok ut.zip 2> fel.txt")
            .c_str());
    EXPECT_NE(status, 0);
    EXPECT_NE(test::readFile(dir.file("fel.txt")).find("kvistoran-archive"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir.file("ut.zip")));
}

} // namespace
} // namespace kv
