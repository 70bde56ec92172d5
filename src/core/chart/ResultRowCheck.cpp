#include "chart/ResultRowCheck.h"

#include "interaction/Prompter.h"
#include "model/ResultRow.h"

namespace kv {

bool checkResultRow(const CTallvingeDoc& doc, Prompter& prompter) {
    if (const auto problem = resultRowProblem(doc)) {
        prompter.message(*problem);
        return false;
    }
    return true;
}

} // namespace kv
