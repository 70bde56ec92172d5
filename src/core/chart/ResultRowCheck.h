// The check, before vouchers are entered and periods created or opened, that
// the income chart names where its result goes.
#pragma once

namespace kv {

class CTallvingeDoc;
class Prompter;

// Shows the problem with the result row, if any; true when the command may go on.
bool checkResultRow(const CTallvingeDoc& doc, Prompter& prompter);

} // namespace kv
