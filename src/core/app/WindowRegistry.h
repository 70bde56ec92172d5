// Which windows of the company are open and which one is active. Each kind
// exists at most once.
#pragma once

#include "interaction/AppState.h"

#include <optional>
#include <vector>

namespace kv {

class WindowRegistry {
public:
    // Records a window as open; false when one of that kind already is.
    bool open(WindowKind kind);
    // Forgets a window; false when none of that kind was open.
    bool close(WindowKind kind);
    void clear();

    [[nodiscard]] bool isOpen(WindowKind kind) const;
    [[nodiscard]] bool empty() const { return m_open.empty(); }
    [[nodiscard]] std::size_t count() const { return m_open.size(); }
    // The open windows in the order they were opened.
    [[nodiscard]] const std::vector<WindowKind>& openWindows() const { return m_open; }

    void setActive(std::optional<WindowKind> kind);
    [[nodiscard]] std::optional<WindowKind> active() const { return m_active; }

private:
    std::vector<WindowKind> m_open;
    std::optional<WindowKind> m_active;
};

} // namespace kv
