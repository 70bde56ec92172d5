#include "model/DocumentChange.h"

#include "model/TallvingeDoc.h"

#include <algorithm>

namespace kv {

void ViewList::add(DocumentView* view) {
    if (view != nullptr && std::find(m_views.begin(), m_views.end(), view) == m_views.end()) {
        m_views.push_back(view);
    }
}

void ViewList::remove(DocumentView* view) {
    std::erase(m_views, view);
}

void ViewList::updateAll() {
    // A view may unsubscribe (close) while it updates: walk a copy, and skip
    // the views that left meanwhile.
    const auto views = m_views;
    for (DocumentView* view : views) {
        if (std::find(m_views.begin(), m_views.end(), view) != m_views.end()) {
            view->onDocumentUpdated();
        }
    }
}

ViewSubscription::ViewSubscription(std::shared_ptr<ViewList> views, DocumentView* view)
    : m_views(views), m_view(view) {
    views->add(view);
}

ViewSubscription::ViewSubscription(ViewSubscription&& other) noexcept
    : m_views(std::move(other.m_views)), m_view(other.m_view) {
    other.m_view = nullptr;
}

ViewSubscription& ViewSubscription::operator=(ViewSubscription&& other) noexcept {
    if (this != &other) {
        reset();
        m_views = std::move(other.m_views);
        m_view = other.m_view;
        other.m_view = nullptr;
    }
    return *this;
}

ViewSubscription::~ViewSubscription() {
    reset();
}

void ViewSubscription::reset() {
    if (const auto views = m_views.lock(); views && m_view != nullptr) {
        views->remove(m_view);
    }
    m_views.reset();
    m_view = nullptr;
}

ChangeScope::ChangeScope(CTallvingeDoc& doc, ChangeKind kind)
    : m_doc(doc), m_kind(kind), m_outer(doc.m_scope) {
    doc.m_scope = this;
}

ChangeScope::~ChangeScope() {
    m_doc.m_scope = m_outer;
    if (m_committed) {
        return;
    }
    // Put back every step, newest first. The steps only shrink containers
    // and assign saved values, so they do not throw.
    for (auto undo = m_undo.rbegin(); undo != m_undo.rend(); ++undo) {
        (*undo)();
    }
}

void ChangeScope::onRollback(std::function<void()> undo) {
    m_undo.push_back(std::move(undo));
}

void ChangeScope::commit() {
    if (m_committed) {
        return;
    }
    m_committed = true;
    const bool books = m_booksChanged || m_kind == ChangeKind::Books;
    if (m_outer != nullptr) {
        // The outer scope undoes these steps too if it fails, and tells the views.
        for (auto& undo : m_undo) {
            m_outer->m_undo.push_back(std::move(undo));
        }
        m_outer->m_booksChanged = m_outer->m_booksChanged || books;
        return;
    }
    m_doc.committed(books ? ChangeKind::Books : ChangeKind::Display);
}

} // namespace kv
