// "Läs in kontoutdrag..." as the user meets it: the file, its columns when
// the CSV export is one the reader does not know, the bank's account in the
// books, and the review where the lines are booked.
#pragma once

#include "bank/BankFile.h"
#include "interaction/Prompter.h"
#include "model/CompanySettings.h"
#include "model/TallvingeDoc.h"
#include "storage/LocalClock.h"

#include <vector>

namespace kv {

inline constexpr const char* kMsgBankKanEjLasas = "Kontoutdraget kan inte läsas in";
// At most this many unreadable lines are listed by number in the question.
inline constexpr std::size_t kBankProblemsListed = 15;

// Asks for the file and reads it. A CSV export whose columns are not known
// opens the column dialog (a layout remembered for an account that reads the
// file is taken without asking). Lines that cannot be read are listed, and
// nothing is proposed unless the user takes the rest. Then the bank's book
// account is chosen (remembered per bank account, else 1930), the account
// and the columns are remembered in the company's database, and the review
// shows the proposals until the user closes it. What "Bokför" books there is
// one change of the books, saved with the company.
// A file with statements of several accounts goes through the account and
// the review once for each.
void runBankImport(CTallvingeDoc& doc, Prompter& prompter, const LocalClock& clock = localTimeNow);

// "Bankregler...": the company's rules for bank lines, listed and edited in
// a window of their own; each change is written to the database at once.
void runBankRules(const CTallvingeDoc& doc, Prompter& prompter);

// The CSV layouts the company keeps for its bank accounts, each with the book
// account it was kept with (a layout that is no longer readable is left out).
std::vector<RememberedLayout> rememberedLayouts(const std::vector<BankAccountSetting>& settings);

} // namespace kv
