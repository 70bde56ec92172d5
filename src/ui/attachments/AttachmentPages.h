// A voucher's attachments as the pages the viewer shows: every page of each
// PDF, each JPEG or PNG as one page, and a file that cannot be read as one
// page that says so. Files are told apart by their first bytes, not by their
// names (attachmentKindOf of the core).
#pragma once

#include <QImage>
#include <QString>

#include <memory>
#include <vector>

class QPdfDocument;

namespace kv::ui {

// One attachment to show: what the user called it and where its bytes are.
struct AttachmentSource {
    QString title;
    QString path;
    // Why the file cannot be shown, when that is known before it is opened
    // (say its bytes no longer match what was stored); shown in its page.
    QString failure = {};
};

class AttachmentPages {
public:
    explicit AttachmentPages(std::vector<AttachmentSource> sources);
    ~AttachmentPages();
    AttachmentPages(const AttachmentPages&) = delete;
    AttachmentPages& operator=(const AttachmentPages&) = delete;

    struct Page {
        std::size_t source = 0;
        int pageInFile = 0;  // the page of a PDF, 0 for an image
        int pagesInFile = 1; // how many pages the file has
        QString message;     // why the page cannot be shown; empty when it can
    };

    [[nodiscard]] std::size_t pageCount() const { return m_pages.size(); }
    [[nodiscard]] const Page& page(std::size_t index) const { return m_pages.at(index); }
    [[nodiscard]] const AttachmentSource& source(std::size_t index) const { return m_sources.at(index); }
    [[nodiscard]] std::size_t sourceCount() const { return m_sources.size(); }

    // The page drawn as large as fits in bound, its proportions kept. A null
    // image when it cannot be drawn; the page's message then says why.
    [[nodiscard]] QImage render(std::size_t index, QSize bound);

private:
    struct Source;
    void addSource(std::size_t index);

    std::vector<AttachmentSource> m_sources;
    std::vector<std::unique_ptr<Source>> m_loaded;
    std::vector<Page> m_pages;
};

} // namespace kv::ui
