#include "app/WindowRegistry.h"

#include <algorithm>

namespace kv {

bool WindowRegistry::open(WindowKind kind) {
    if (isOpen(kind)) {
        return false;
    }
    m_open.push_back(kind);
    return true;
}

bool WindowRegistry::close(WindowKind kind) {
    if (!isOpen(kind)) {
        return false;
    }
    std::erase(m_open, kind);
    if (m_active == kind) {
        m_active.reset();
    }
    return true;
}

void WindowRegistry::clear() {
    m_open.clear();
    m_active.reset();
}

bool WindowRegistry::isOpen(WindowKind kind) const {
    return std::find(m_open.begin(), m_open.end(), kind) != m_open.end();
}

void WindowRegistry::setActive(std::optional<WindowKind> kind) {
    // Only an open window can be the active one.
    m_active = kind && isOpen(*kind) ? kind : std::nullopt;
}

} // namespace kv
