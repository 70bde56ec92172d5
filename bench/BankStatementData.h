// Bank statements and bank payments for the benchmarks, made in code: the
// same count always gives the same lines.
#pragma once

#include "bank/BankStatement.h"
#include "model/CompanySettings.h"
#include "model/TallvingeDoc.h"

#include <vector>

namespace kv::bench {

// Registers count two-sided payments from 1930 to a cost account, texted
// with a counterpart and an invoice number, spread over the open period.
void addBankPayments(CTallvingeDoc& doc, int count);

// A statement of lineCount lines of the open period's year: payments to the
// counterparts of addBankPayments (found by history), to those of the rules,
// and to unknown ones, and a few deposits.
BankStatement bankStatementOf(int lineCount);

// 40 rules: contains and equals, signs and amount ranges.
std::vector<BankRule> bankRules();

} // namespace kv::bench
