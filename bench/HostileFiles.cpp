#include "HostileFiles.h"

#include "model/TallvingeDoc.h"
#include "storage/CompanyArchive.h"
#include "storage/GridStateArchive.h"

#include <cstring>
#include <stdexcept>

namespace kv::bench {

namespace {

// Little-endian fields, appended one by one.
class Fields {
public:
    Fields& i32(std::int32_t value) {
        char raw[4];
        std::memcpy(raw, &value, 4);
        m_bytes.append(raw, 4);
        return *this;
    }
    Fields& u16(std::uint16_t value) {
        m_bytes.push_back(static_cast<char>(value & 0xFF));
        m_bytes.push_back(static_cast<char>(value >> 8));
        return *this;
    }
    Fields& count(std::size_t value) {
        if (value < 0xFFFF) {
            return u16(static_cast<std::uint16_t>(value));
        }
        return u16(0xFFFF).i32(static_cast<std::int32_t>(value));
    }
    Fields& emptyText() {
        m_bytes.push_back('\0');
        return *this;
    }
    [[nodiscard]] const std::string& bytes() const { return m_bytes; }

private:
    std::string m_bytes;
};

std::string companyBytes(const CompanyState& doc) {
    StringSink sink;
    ArchiveWriter out(sink);
    writeCompanyArchive(out, doc, {});
    out.flush();
    return sink.bytes();
}

std::string gridBytes(const GridState& grid) {
    StringSink sink;
    ArchiveWriter out(sink);
    writeGridState(out, grid);
    out.flush();
    return sink.bytes();
}

constexpr std::size_t kCellBytes = 30; // an empty cell
constexpr std::size_t kGridFieldsAt = 16 + 2 + 2 + 2 + 12;

// A company with one grid of the largest size whose cells sit at the
// (row, column) places given; the cells fill what the file limit leaves.
template <typename Place> std::string companyWithGrid(Place place) {
    CompanyState doc;
    doc.m_strFilnamn = "Rutnät.bok";
    doc.m_pBalansGrid = std::make_unique<GridState>();
    std::string bytes = companyBytes(doc);
    const std::size_t emptyGrid = gridBytes(GridState()).size();
    Fields fields;
    fields.i32(1).i32(GridState::kMaxRows).i32(GridState::kMaxCols).count(GridState::kMaxCols + 1);
    for (std::int32_t c = 0; c <= GridState::kMaxCols; ++c) {
        fields.i32(0);
    }
    fields.i32(100).i32(0);
    const std::size_t room = kHostileFileLimit - (bytes.size() - emptyGrid) - fields.bytes().size() - 6;
    const std::size_t cells = room / kCellBytes;
    fields.count(cells);
    for (std::size_t i = 0; i < cells; ++i) {
        const auto [row, col] = place(i, cells);
        fields.i32(row).i32(col).emptyText().i32(0).i32(0).i32(0).emptyText().i32(0).i32(0);
    }
    return bytes.replace(kGridFieldsAt, emptyGrid, fields.bytes());
}

// The company with as many items added as the file limit leaves room for.
template <typename Add> std::string companyFilledWith(Add add) {
    const auto bytesWith = [&add](std::size_t items) {
        CompanyState doc;
        doc.m_strFilnamn = "Fylld.bok";
        add(doc, items);
        return companyBytes(doc);
    };
    const std::size_t one = bytesWith(1).size();
    const std::size_t each = bytesWith(2).size() - one;
    return bytesWith(1 + (kHostileFileLimit - one - 16) / each);
}

} // namespace

std::vector<HostileFile> hostileFiles() {
    std::vector<HostileFile> files;
    // Every cell at the last column, one row each: refused once the places run out.
    files.push_back({"grid-far-right", companyWithGrid([](std::size_t i, std::size_t) {
                         return std::pair{static_cast<std::int32_t>(i + 1), GridState::kMaxCols};
                     })});
    // As many places as the reader allows: rows at the last column while the
    // allowance lasts, the rest of the cells one place each.
    files.push_back({"grid-at-allowance", companyWithGrid([](std::size_t i, std::size_t cells) {
                         const std::size_t allowance = 32768 + 4 * cells;
                         const std::size_t wide = (allowance - cells) / GridState::kMaxCols;
                         return i < wide ? std::pair{static_cast<std::int32_t>(i + 1), GridState::kMaxCols}
                                         : std::pair{static_cast<std::int32_t>(i + 1), 0};
                     })});
    files.push_back({"empty-accounts", companyFilledWith([](CompanyState& doc, std::size_t n) {
                         for (std::size_t i = 0; i < n; ++i) {
                             doc.m_allaKonton.push_back(std::make_unique<CKonto>());
                         }
                     })});
    files.push_back({"posted-rows", companyFilledWith([](CompanyState& doc, std::size_t n) {
                         doc.m_allaKonton.push_back(std::make_unique<CKonto>());
                         doc.m_allaKonton.back()->m_rader.resize(n);
                     })});
    files.push_back({"voucher-lines", companyFilledWith([](CompanyState& doc, std::size_t n) {
                         doc.m_verifikat.resize(1);
                         doc.m_verifikat.back().m_rader.resize(n);
                     })});
    files.push_back(
        {"periods", companyFilledWith([](CompanyState& doc, std::size_t n) { doc.m_perioder.resize(n); })});
    // Texts of the euro sign, one byte in the file and three in memory.
    files.push_back({"euro-texts", companyFilledWith([](CompanyState& doc, std::size_t n) {
                         for (std::size_t i = 0; i < n; ++i) {
                             doc.m_allaKonton.push_back(std::make_unique<CKonto>());
                             for (int c = 0; c < 3000; ++c) {
                                 doc.m_allaKonton.back()->m_strKolumn2 += "€";
                             }
                         }
                     })});
    files.push_back({"zeros", std::string(kHostileFileLimit, '\0')});
    for (const HostileFile& file : files) {
        if (file.bytes.size() > kHostileFileLimit) {
            throw std::logic_error("hostile file " + file.name + " is too large");
        }
    }
    return files;
}

} // namespace kv::bench
