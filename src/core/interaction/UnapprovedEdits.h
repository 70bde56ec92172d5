// The guard of a dialog whose grid edits count only once approved: Escape or
// the window's close button asks before the edits are thrown away.
#pragma once

#include "grid/Grid.h"
#include "interaction/Prompter.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kv {

inline constexpr const char* kAskCloseUnapproved =
    "Ändringarna är inte godkända och försvinner om fönstret stängs.\n\nVill du stänga utan att spara dem?";

class UnapprovedEdits {
public:
    // Remembers the grid as the dialog opened it.
    explicit UnapprovedEdits(const Grid& grid) : m_grid(grid), m_opened(textsOf(grid)) {}

    // Whether the user has changed a cell since, an open edit included.
    [[nodiscard]] bool any() const { return textsOf(m_grid) != m_opened; }

    // True when the dialog may close: nothing changed, or the user agreed.
    [[nodiscard]] bool mayDiscard(Prompter* prompter) const {
        return prompter == nullptr || !any() || prompter->askYesNo(kAskCloseUnapproved) == Answer::Yes;
    }

private:
    static std::vector<std::string> textsOf(const Grid& grid) {
        std::vector<std::string> texts;
        texts.reserve(static_cast<std::size_t>((grid.rowCount() + 1) * (grid.colCount() + 1)) + 1);
        texts.push_back(std::to_string(grid.rowCount()));
        for (std::int32_t row = 1; row <= grid.rowCount(); ++row) {
            for (std::int32_t col = 1; col <= grid.colCount(); ++col) {
                texts.push_back(grid.text(row, col));
            }
        }
        return texts;
    }

    const Grid& m_grid;
    std::vector<std::string> m_opened;
};

} // namespace kv
