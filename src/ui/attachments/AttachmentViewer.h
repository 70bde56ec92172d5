// "Underlag till verifikat 12": a voucher's attachments as pages, one at a
// time, as large as the window lets them be — every page of a PDF, an image
// scaled to fit with its proportions kept, a file that cannot be read as a
// page that says why. A list of the pages beside, "Föregående" and "Nästa"
// below with the page number between them; Page Up and Page Down, Home and
// End step through them, Escape closes the window.
#pragma once

#include "attachments/AttachmentPages.h"

#include <QImage>
#include <QWidget>

#include <vector>

class QLabel;
class QListWidget;
class QPushButton;

namespace kv::ui {

// Paints one page of the attachments, centred on a grey ground.
class AttachmentPageView : public QWidget {
    Q_OBJECT
public:
    explicit AttachmentPageView(AttachmentPages& pages, QWidget* parent = nullptr);

    void showPage(std::size_t index);
    // What is painted now: the page drawn for the view's size, or a null
    // image and the message that stands in its place.
    [[nodiscard]] QImage shownImage();
    [[nodiscard]] QString shownMessage() const;

    [[nodiscard]] QSize sizeHint() const override { return {560, 720}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    [[nodiscard]] QSize pageBound() const;

    AttachmentPages& m_pages;
    std::size_t m_index = 0;
    // The page last drawn, for the size it was drawn for.
    QImage m_drawn;
    std::size_t m_drawnIndex = static_cast<std::size_t>(-1);
    QSize m_drawnBound;
};

class AttachmentViewer : public QWidget {
    Q_OBJECT
public:
    // voucherNumber 0 is a voucher not yet registered.
    AttachmentViewer(int voucherNumber, std::vector<AttachmentSource> sources, QWidget* parent = nullptr);
    ~AttachmentViewer() override;

    [[nodiscard]] int voucherNumber() const { return m_voucherNumber; }
    [[nodiscard]] std::size_t pageCount() const { return m_pages.pageCount(); }
    [[nodiscard]] std::size_t currentPage() const { return m_current; }
    void showPage(std::size_t index);
    void nextPage();
    void previousPage();

    [[nodiscard]] QString pageNumberText() const; // "Sida 2 av 5"
    [[nodiscard]] QString headingText() const;    // the attachment's name, and its page when it has several
    [[nodiscard]] QImage shownImage() { return m_view->shownImage(); }
    [[nodiscard]] QString shownMessage() const { return m_view->shownMessage(); }
    [[nodiscard]] QListWidget* pageList() const { return m_list; }
    [[nodiscard]] QPushButton* nextButton() const { return m_next; }
    [[nodiscard]] QPushButton* previousButton() const { return m_previous; }

    [[nodiscard]] QSize sizeHint() const override;

private:
    int m_voucherNumber;
    AttachmentPages m_pages;
    std::size_t m_current = 0;
    QListWidget* m_list = nullptr;
    QLabel* m_heading = nullptr;
    QLabel* m_path = nullptr;
    AttachmentPageView* m_view = nullptr;
    QPushButton* m_previous = nullptr;
    QPushButton* m_next = nullptr;
    QLabel* m_number = nullptr;
};

// Sizes window to what it wants within the screen of over, and places it
// centred over over, wholly on that screen, its frame included.
void placeOnScreen(QWidget& window, const QWidget* over);

// Opens the viewer of a voucher's attachments as a window of its own over
// parent; a viewer of the same voucher that is open already gives way to it,
// so that it shows what the voucher has now. It opens wholly on the screen.
AttachmentViewer* showAttachmentViewer(QWidget* parent, int voucherNumber,
                                       std::vector<AttachmentSource> sources);

} // namespace kv::ui
