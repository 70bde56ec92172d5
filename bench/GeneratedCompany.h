// A generated company of realistic shape and adjustable size, for the
// benchmarks: a chart of 250 accounts with groups, sums and the fixed rows,
// VAT rules, a closed first period with its closing balances, and an open
// second period with opening balances and balanced four-line vouchers spread
// over its twelve months.
#pragma once

#include "model/TallvingeDoc.h"

#include <cstdint>
#include <vector>

namespace kv::bench {

// The chart grids as the chart editors hand them to approval.
std::vector<ChartRowTexts> generatedIncomeChart();
std::vector<ChartRowTexts> generatedBalanceChart();

// Clears doc and fills it with the company described above and voucherCount
// vouchers of four lines each. The same count always gives the same books.
void generateCompany(CTallvingeDoc& doc, int voucherCount);

// Rows of the charts that carry an account number.
std::size_t accountCount(const CTallvingeDoc& doc);
// Posted rows over all accounts.
std::size_t postedRowCount(const CTallvingeDoc& doc);

} // namespace kv::bench
