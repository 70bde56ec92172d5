// Files that look readable but are not what they seem: zeros left by a crash,
// bytes after the last object, and grid states that would make a small file
// take gigabytes.
#include "ArchiveTestSupport.h"
#include "TestSupport.h"
#include "storage/GridStateArchive.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kv {
namespace {

using test::Bytes;

enum class FileKind { Company, Period, Template };

// What reading the bytes says: empty when the read succeeds.
std::string readError(FileKind kind, std::string_view bytes) {
    try {
        switch (kind) {
        case FileKind::Company:
            test::readCompanyBytes(bytes);
            break;
        case FileKind::Period:
            test::readPeriodBytes(bytes);
            break;
        case FileKind::Template:
            test::readTemplateBytes(bytes);
            break;
        }
    } catch (const ArchiveError& error) {
        return error.what();
    }
    return {};
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(ZeroedFile, IsRefusedAsDamagedAtAnySize) {
    constexpr std::size_t kSmallestCompany = 74; // every field at its shortest
    const std::string nothing = "Filen är skadad: den innehåller inga uppgifter, bara nollor.";
    const std::string noOwner = "Filen är skadad: den anger inte vilket företag den hör till.";
    struct Case {
        FileKind kind;
        std::size_t size;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {FileKind::Company, kSmallestCompany, nothing},
        {FileKind::Company, kSmallestCompany + 1, nothing},
        {FileKind::Company, 4096, nothing},
        {FileKind::Company, 1 << 20, nothing},
        {FileKind::Period, 72, noOwner},
        {FileKind::Period, 4096, noOwner},
        {FileKind::Template, 3, "efter de sista uppgifterna följer ytterligare 1 byte"},
        {FileKind::Template, 4096, "efter de sista uppgifterna följer ytterligare 4094 byte"},
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(contains(readError(c.kind, std::string(c.size, '\0')), c.expected))
            << static_cast<int>(c.kind) << " of " << c.size
            << " bytes: " << readError(c.kind, std::string(c.size, '\0'));
    }
    EXPECT_TRUE(contains(readError(FileKind::Company, std::string(kSmallestCompany - 1, '\0')), "tar slut"));
    // The template file of no templates is two zero bytes, and stays readable.
    EXPECT_EQ(readError(FileKind::Template, std::string(2, '\0')), "");
    // A company without anything but its name is not a ruin.
    CompanyState named;
    named.m_strFilnamn = "Firma.bok";
    EXPECT_EQ(readError(FileKind::Company, test::companyBytes(named)), "");
}

TEST(FileWithBytesLeftOver, IsRefusedForEveryKindOfFile) {
    const CompanyState doc = test::fullCompany();
    TemplateList templates;
    templates.push_back(std::make_unique<CKontoplan>());
    templates.back()->m_konton = copyKontoList(doc.m_allaKonton);
    const std::vector<std::pair<FileKind, std::string>> files = {
        {FileKind::Company, test::companyBytes(doc)},
        {FileKind::Period, test::periodBytes(doc, "Firma.bok")},
        {FileKind::Template, test::templateBytes(templates)},
    };
    for (const auto& [kind, bytes] : files) {
        ASSERT_EQ(readError(kind, bytes), "");
        EXPECT_EQ(
            readError(kind, bytes + '\0'),
            "Filen är skadad: efter de sista uppgifterna följer ytterligare 1 byte som inte hör till filen.");
        EXPECT_TRUE(contains(readError(kind, bytes + bytes), "ytterligare " + std::to_string(bytes.size())));
    }
}

// ---- grid states ----

constexpr std::size_t kGridFieldsAt = 16 + 2 + 2 + 2 + 12; // after the grid class's description

// The company file of a small company whose balance-sheet grid has the fields given.
std::string companyWithGridFields(const std::string& fields) {
    CompanyState doc = test::smallCompany();
    doc.m_pBalansGrid = std::make_unique<GridState>();
    std::string bytes = test::companyBytes(doc);
    const std::string empty =
        test::writtenBytes([](ArchiveWriter& out) { writeGridState(out, GridState()); });
    EXPECT_EQ(bytes.substr(kGridFieldsAt, empty.size()), empty);
    return bytes.replace(kGridFieldsAt, empty.size(), fields);
}

// Grid fields of 100 000 rows and 256 columns with one empty cell at each
// (row, column) given.
std::string gridFields(const std::vector<std::pair<std::int32_t, std::int32_t>>& cells) {
    Bytes bytes;
    bytes.i32(1).i32(GridState::kMaxRows).i32(GridState::kMaxCols).u16(GridState::kMaxCols + 1);
    for (int c = 0; c <= GridState::kMaxCols; ++c) {
        bytes.i32(0);
    }
    bytes.i32(100).i32(0);
    if (cells.size() < 0xFFFF) {
        bytes.u16(static_cast<std::uint16_t>(cells.size()));
    } else {
        bytes.u16(0xFFFF).u32(static_cast<std::uint32_t>(cells.size()));
    }
    for (const auto& [row, col] : cells) {
        bytes.i32(row).i32(col).text("").i32(0).i32(0).i32(0).text("").i32(0).i32(0);
    }
    return bytes;
}

// Runs read in a child process that may not take more than limitMb of
// address space more than it has; returns what read returned, or -1 when the
// child did not end by itself. (The limit is left out under AddressSanitizer,
// which reserves terabytes of address space.)
int runWithMemoryLimit(std::size_t limitMb, const std::function<int()>& read) {
    const pid_t child = ::fork();
    if (child == 0) {
#if !defined(__SANITIZE_ADDRESS__)
        std::size_t pages = 0;
        std::ifstream("/proc/self/statm") >> pages;
        const rlim_t limit = pages * static_cast<rlim_t>(::sysconf(_SC_PAGESIZE)) + (limitMb << 20);
        const rlimit bound{limit, limit};
        ::setrlimit(RLIMIT_AS, &bound);
#else
        (void)limitMb;
#endif
        int result = 0;
        try {
            result = read();
        } catch (const std::bad_alloc&) {
            result = 99;
        }
        std::_Exit(result);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(GridBomb, ASmallFileCannotMakeTheReaderTakeMuchMemory) {
    // One cell far to the right in each row: just under 1 MB, and 880 MB if
    // every cell took a place for each column before it.
    std::vector<std::pair<std::int32_t, std::int32_t>> sparse;
    for (std::int32_t row = 1; row <= 33000; ++row) {
        sparse.emplace_back(row, GridState::kMaxCols);
    }
    const std::string bomb = companyWithGridFields(gridFields(sparse));
    ASSERT_LT(bomb.size(), std::size_t{1} << 20);
    const std::string zeros(1 << 20, '\0');

    for (const auto& [bytes, expected] :
         {std::pair{&bomb, "Filen innehåller ett felaktigt rutnät"}, std::pair{&zeros, "bara nollor"}}) {
        const int outcome = runWithMemoryLimit(64, [bytes, expected] {
            const std::string error = readError(FileKind::Company, *bytes);
            return contains(error, expected) ? 0 : error.empty() ? 1 : 2;
        });
        EXPECT_EQ(outcome, 0) << expected << " (1: read, 2: another error, 99: out of memory)";
    }
    EXPECT_EQ(readError(FileKind::Company, bomb),
              "Filen innehåller ett felaktigt rutnät: cellerna ligger för glest för att kunna läsas.");
}

TEST(GridBomb, CellsMustComeRowByRowAndColumnByColumn) {
    const std::vector<std::pair<std::vector<std::pair<std::int32_t, std::int32_t>>, bool>> cases = {
        {{{0, 1}, {0, 2}, {1, 0}, {5, 256}}, true},
        {{{0, 2}, {0, 1}}, false}, // columns backwards
        {{{3, 1}, {2, 1}}, false}, // rows backwards
        {{{2, 7}, {2, 7}}, false}, // the same cell twice
    };
    for (const auto& [cells, readable] : cases) {
        const std::string error = readError(FileKind::Company, companyWithGridFields(gridFields(cells)));
        if (readable) {
            EXPECT_EQ(error, "");
        } else {
            EXPECT_EQ(error, "Filen innehåller ett felaktigt rutnät: cellerna står i fel ordning.");
        }
    }
}

TEST(GridBomb, ASparseGridOfTheProgramIsSavedSoThatItCanBeRead) {
    // Formats far to the right in many rows: more places than the reader
    // allows for so few cells, so the save stores the rows in full.
    GridState grid;
    grid.setRowCount(600);
    grid.setColCount(GridState::kMaxCols);
    CellStyle bold;
    bold.bold = true;
    for (std::int32_t row = 1; row <= 600; row += 3) {
        grid.setStyle(row, GridState::kMaxCols - row % 7, bold);
    }
    grid.setText(600, 1, "Summa");
    grid.setText(0, GridState::kMaxCols, "Not");
    const std::string bytes = test::writtenBytes([&grid](ArchiveWriter& out) { writeGridState(out, grid); });
    MemorySource source(bytes);
    ArchiveReader in(source);
    EXPECT_EQ(readGridState(in), grid);
    EXPECT_TRUE(in.atEnd());
    // Read and saved again, it gives the same bytes.
    MemorySource again(bytes);
    ArchiveReader reread(again);
    const GridState read = readGridState(reread);
    EXPECT_EQ(test::writtenBytes([&read](ArchiveWriter& out) { writeGridState(out, read); }), bytes);

    // A grid of the usual kind keeps storing only the cells that hold something.
    GridState usual;
    usual.setRowCount(3);
    usual.setColCount(4);
    usual.setText(2, 3, "x");
    const std::string small =
        test::writtenBytes([&usual](ArchiveWriter& out) { writeGridState(out, usual); });
    EXPECT_EQ(small.size(), 4 * 3 + 2 + 5 * 4 + 4 + 4 + 2 + 31);
}

} // namespace
} // namespace kv
