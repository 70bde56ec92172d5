// How the document changes and how its views hear of it.
//
// Every change of the company runs inside a ChangeScope: the views are told
// once, when the outermost scope commits; a scope that ends without commit
// (a throw, or an early return) puts back everything changed inside it and
// tells nobody. A view subscribes with a ViewSubscription, which unsubscribes
// when it goes, so that no view can outlive its subscription.
#pragma once

#include <functional>
#include <memory>
#include <vector>

namespace kv {

class CTallvingeDoc;

// Receives a call after every committed change of the document; rebuilds
// what it shows from the document and changes nothing.
class DocumentView {
public:
    virtual ~DocumentView() = default;
    virtual void onDocumentUpdated() = 0;
};

// The views of one document, shared with the subscriptions so that a view
// may outlive the document (or the other way round) without harm.
class ViewList {
public:
    void add(DocumentView* view);
    void remove(DocumentView* view);
    // Tells every view; a view may unsubscribe (close) while it is told.
    void updateAll();

private:
    std::vector<DocumentView*> m_views;
};

class ViewSubscription {
public:
    ViewSubscription() = default;
    ViewSubscription(std::shared_ptr<ViewList> views, DocumentView* view);
    ViewSubscription(ViewSubscription&& other) noexcept;
    ViewSubscription& operator=(ViewSubscription&& other) noexcept;
    ViewSubscription(const ViewSubscription&) = delete;
    ViewSubscription& operator=(const ViewSubscription&) = delete;
    ~ViewSubscription();

    // Ends the subscription now.
    void reset();
    [[nodiscard]] bool active() const { return m_view != nullptr && !m_views.expired(); }

private:
    std::weak_ptr<ViewList> m_views;
    DocumentView* m_view = nullptr;
};

// What a change does to the company: Books changes are saved (the document
// becomes modified); Display changes only alter what the views show.
enum class ChangeKind { Books, Display };

class ChangeScope {
public:
    ChangeScope(const ChangeScope&) = delete;
    ChangeScope& operator=(const ChangeScope&) = delete;
    ChangeScope(ChangeScope&&) = delete;
    ChangeScope& operator=(ChangeScope&&) = delete;
    ~ChangeScope();

    // The change is complete. The outermost scope marks the document
    // modified (for a change of the books) and tells every view once.
    void commit();

private:
    friend class CTallvingeDoc;
    ChangeScope(CTallvingeDoc& doc, ChangeKind kind);
    // How to put back one step; run in reverse order when the scope fails.
    void onRollback(std::function<void()> undo);

    CTallvingeDoc& m_doc;
    ChangeKind m_kind;
    ChangeScope* m_outer;
    std::vector<std::function<void()>> m_undo;
    bool m_committed = false;
    bool m_booksChanged = false; // a committed inner scope changed the books
};

} // namespace kv
