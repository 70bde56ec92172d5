// The voucher grid: its rows and columns, their titles and widths, and the
// colours of the voucher dialog.
#pragma once

#include "grid/GridState.h"

#include <array>
#include <cstdint>

namespace kv {

inline constexpr std::int32_t kVoucherRows = 75;
inline constexpr std::int32_t kVoucherCols = 6;

inline constexpr std::int32_t kColKonto = 1;
inline constexpr std::int32_t kColKontonamn = 2;
inline constexpr std::int32_t kColRadtext = 3;
inline constexpr std::int32_t kColDebet = 4;
inline constexpr std::int32_t kColKredit = 5;
inline constexpr std::int32_t kColMoms = 6;

inline constexpr std::array<const char*, kVoucherCols> kVoucherColumnTitles{"Konto", "Kontonamn", "Radtext",
                                                                            "Debet", "Kredit",    "Moms"};
// Base widths in pixels; index 0 is the row-number column.
inline constexpr std::array<std::int32_t, kVoucherCols + 1> kVoucherColumnWidths{20, 60, 110, 200,
                                                                                 80, 80, 50};

inline constexpr Rgb kPinkRow = rgb(255, 235, 240);
inline constexpr Rgb kSumFieldColour = rgb(200, 255, 255);
inline constexpr Rgb kNumberFieldColour = rgb(246, 251, 184);
inline constexpr Rgb kBalanceFieldColour = rgb(220, 255, 214);
// The VAT column is the program's: it shows in a light grey.
inline constexpr Rgb kVatColumnColour = rgb(244, 246, 248);

// How much wider than their base the columns are drawn for a font whose
// standard character is charWidth pixels wide.
double voucherWidthFactor(double charWidth);

} // namespace kv
