// The voucher list "  Verifikat / Sök verifikat": one line per voucher of the
// open period, rebuilt from the document on every update. Lines are made when
// asked for, so that a list of any length opens at once.
#pragma once

#include "attachments/Attachments.h"
#include "grid/GridState.h"
#include "model/TallvingeDoc.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace kv {

struct VoucherListColumn {
    const char* title;
    std::int32_t width; // pixels
};

inline constexpr std::array<VoucherListColumn, 8> kVoucherListColumns{{{"Vernr", 45},
                                                                       {"", 50},
                                                                       {"Transdag", 70},
                                                                       {"", 70},
                                                                       {"Verifikatets balans", 170},
                                                                       {"Vertext", 140},
                                                                       {"", 70},
                                                                       {"", 70}}};
inline constexpr int kListColVernr = 0;
inline constexpr int kListColTransdag = 2;
inline constexpr int kListColBalans = 4;
inline constexpr int kListColVertext = 5;

// The text colour of a list with a month range and a voucher inside it.
inline constexpr Rgb kListRangeColour = rgb(229, 81, 1);
inline constexpr Rgb kListColour = rgb(0, 0, 0);

class VoucherListModel {
public:
    explicit VoucherListModel(const CTallvingeDoc& doc) : m_doc(doc) { rebuild(); }

    // The document changed: what the whole list depends on is worked out again.
    void rebuild();

    [[nodiscard]] std::size_t rowCount() const { return m_doc.state().m_verifikat.size(); }
    [[nodiscard]] std::string text(std::size_t row, int column) const;
    // False for a voucher outside the chosen month range: its line shows only its number.
    [[nodiscard]] bool shownInFull(std::size_t row) const;
    // One colour for the whole list: the range colour once a voucher lies inside a chosen month range.
    [[nodiscard]] Rgb textColour() const { return m_colour; }
    // Whether the line's voucher has receipts: the database is asked once per
    // company and period opened (and after a save), not per line.
    [[nodiscard]] bool hasAttachments(std::size_t row) const;

private:
    const CTallvingeDoc& m_doc;
    mutable AttachmentMarks m_marks;
    Rgb m_colour = kListColour;
};

} // namespace kv
