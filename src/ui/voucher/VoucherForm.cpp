#include "voucher/VoucherForm.h"

#include "app/AppController.h"
#include "attachments/AttachmentFiles.h"
#include "attachments/AttachmentViewer.h"
#include "attachments/Attachments.h"
#include "common/DialogLayout.h"
#include "common/FormWindow.h"
#include "common/TextRows.h"
#include "grid/GridCellLook.h"
#include "grid/GridWidget.h"
#include "voucher/VoucherFormModel.h"
#include "voucher/VoucherLayout.h"
#include "voucher/VoucherTexts.h"

#include <QApplication>
#include <QClipboard>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QShortcut>
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>

namespace kv::ui {

namespace {

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

std::size_t slot(VoucherField field) {
    return static_cast<std::size_t>(field);
}

QString colourName(unsigned rgbValue) {
    return QColor::fromRgb(static_cast<QRgb>(rgbValue)).name();
}

QLabel* label(const char* text, QWidget* parent) {
    auto* shown = new QLabel(uiText(text), parent);
    shown->setTextFormat(Qt::PlainText);
    return shown;
}

QLabel* hint(const char* text, QWidget* parent) {
    QLabel* shown = label(text, parent);
    shown->setStyleSheet(QStringLiteral("color: #5f6b7a;"));
    return shown;
}

// The edit fields in the order Return walks them; the grid comes after the text and after the booking date.
constexpr std::array<VoucherField, 7> kFieldOrder{
    VoucherField::TransDay, VoucherField::TransMonth, VoucherField::TransYear, VoucherField::Vertext,
    VoucherField::BokfDay,  VoucherField::BokfMonth,  VoucherField::BokfYear};

} // namespace

VoucherForm::VoucherForm(VoucherFormModel& model, AppController& controller, QWidget* parent)
    : QWidget(parent), m_model(model), m_shownGrid(model.sharedGrid()), m_controller(controller) {
    m_grid = new GridWidget(*m_shownGrid, this);
    m_grid->setPrompter(&controller.prompter());
    m_grid->view()->horizontalHeader()->setStretchLastSection(true);
    m_grid->view()->installEventFilter(this);
    // The widths were made for a standard character 7 pixels wide in the
    // font the program's layouts were made for; this font's is that much wider.
    model.setCharWidth(7.0 * layoutScale(m_grid->font()));

    m_accounts = new QListWidget(this);
    fitRowsToFont(*m_accounts);
    m_accounts->setUniformItemSizes(true);
    m_accounts->setFixedWidth(dialogUnits(*this, 118, 0).width());
    m_accounts->setToolTip(QStringLiteral("Dubbelklicka eller tryck Retur för att sätta in kontot på första "
                                          "lediga rad"));
    connect(m_accounts, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        m_model.insertAccount(static_cast<std::size_t>(m_accounts->row(item)));
    });

    auto* side = new QVBoxLayout;
    side->setSpacing(4);
    side->addWidget(m_accounts, 1);
    side->addWidget(buildAttachments());
    auto* middle = new QHBoxLayout;
    middle->addWidget(m_grid, 1);
    middle->addLayout(side);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->setSpacing(8);
    layout->addWidget(buildHead());
    layout->addLayout(middle, 1);
    layout->addWidget(buildFoot());

    setTabOrder(m_fields[slot(VoucherField::TransDay)], m_fields[slot(VoucherField::TransMonth)]);
    setTabOrder(m_fields[slot(VoucherField::TransMonth)], m_fields[slot(VoucherField::TransYear)]);
    setTabOrder(m_fields[slot(VoucherField::TransYear)], m_fields[slot(VoucherField::Vertext)]);
    setTabOrder(m_fields[slot(VoucherField::Vertext)], m_grid);
    buildShortcuts();
    fillAccountList();
    showModel(FormAspect::All);

    // Files dropped anywhere on the dialog are attached, the fields and the grid included.
    setAcceptDrops(true);
    installEventFilter(this);
    for (QWidget* child : findChildren<QWidget*>()) {
        child->installEventFilter(this);
    }
}

VoucherForm::~VoucherForm() {
    delete m_grid; // before the grid it shows
}

QLineEdit* VoucherForm::field(VoucherField which) const {
    return which == VoucherField::Grid ? nullptr : m_fields[slot(which)];
}

QLineEdit* VoucherForm::makeEdit(VoucherField which, int maxLength, const QString& pattern) {
    auto* edit = new QLineEdit(this);
    edit->setMaxLength(maxLength);
    if (!pattern.isEmpty()) {
        edit->setValidator(new QRegularExpressionValidator(QRegularExpression(pattern), edit));
        edit->setAlignment(Qt::AlignRight);
        edit->setFixedWidth(QFontMetrics(edit->font()).horizontalAdvance(QString(maxLength + 2, '0')) + 12);
    }
    edit->setText(qs(m_model.fieldText(which)));
    if (!m_model.isFieldEditable(which)) {
        // A registered voucher's date and text are shown, not typed.
        edit->setReadOnly(true);
        edit->setFocusPolicy(Qt::NoFocus);
        edit->setStyleSheet(QStringLiteral("QLineEdit { background-color: #eef0f2; color: #333a42; }"));
    }
    connect(edit, &QLineEdit::textEdited, this,
            [this, which](const QString& text) { m_model.setFieldText(which, text.toStdString()); });
    edit->installEventFilter(this);
    m_fields[slot(which)] = edit;
    return edit;
}

QLineEdit* VoucherForm::makeDisplay(unsigned colour) {
    auto* display = new QLineEdit(this);
    display->setReadOnly(true);
    display->setFocusPolicy(Qt::NoFocus);
    display->setAlignment(Qt::AlignRight);
    display->setStyleSheet(QStringLiteral("QLineEdit { background-color: %1; border: 1px solid #b8c2cc; "
                                          "border-radius: 2px; padding: 1px 4px; }")
                               .arg(colourName(colour)));
    display->setMinimumWidth(
        QFontMetrics(display->font()).horizontalAdvance(QStringLiteral("999 999 999.00")) + 14);
    return display;
}

QPushButton* VoucherForm::makeButton(const char* text) {
    auto* button = new QPushButton(uiText(text), this);
    button->setAutoDefault(false);
    button->setFocusPolicy(Qt::TabFocus);
    return button;
}

QWidget* VoucherForm::buildHead() {
    auto* head = new QWidget(this);
    auto* grid = new QGridLayout(head);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(2);
    m_number = makeDisplay(kNumberFieldColour);
    m_number->setMinimumWidth(QFontMetrics(m_number->font()).horizontalAdvance(QStringLiteral("999999")) +
                              14);
    m_number->setMaximumWidth(m_number->minimumWidth() + 20);
    const QString twoDigits = QStringLiteral("\\d{0,2}");
    grid->addWidget(label(kLabelVerifikatNr, head), 0, 0);
    grid->addWidget(m_number, 0, 1);
    grid->addItem(new QSpacerItem(16, 1), 0, 2);
    grid->addWidget(label(kLabelTransdatum, head), 0, 3);
    auto* date = new QHBoxLayout;
    date->setSpacing(4);
    date->addWidget(makeEdit(VoucherField::TransDay, 2, twoDigits));
    date->addWidget(makeEdit(VoucherField::TransMonth, 2, twoDigits));
    date->addWidget(makeEdit(VoucherField::TransYear, 4, QStringLiteral("\\d{0,4}")));
    grid->addLayout(date, 0, 4);
    grid->addWidget(hint(kHintDatum, head), 1, 4, 1, 3);
    grid->addItem(new QSpacerItem(16, 1), 0, 5);
    grid->addWidget(label(kLabelVertext, head), 0, 6);
    QLineEdit* text = makeEdit(VoucherField::Vertext, 200, QString());
    text->setMinimumWidth(dialogUnits(*this, 140, 0).width());
    grid->addWidget(text, 0, 7);
    grid->setColumnStretch(7, 1);
    return head;
}

QWidget* VoucherForm::buildFoot() {
    auto* foot = new QWidget(this);
    auto* grid = new QGridLayout(foot);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(6);
    m_debit = makeDisplay(kSumFieldColour);
    m_credit = makeDisplay(kSumFieldColour);
    m_difference = makeDisplay(kSumFieldColour);
    m_balance = makeDisplay(kBalanceFieldColour);

    auto* sums = new QHBoxLayout;
    sums->setSpacing(6);
    sums->addWidget(label(kLabelSumDeb, foot));
    sums->addWidget(m_debit);
    sums->addWidget(label(kSignMinus, foot));
    sums->addWidget(label(kLabelSumKre, foot));
    sums->addWidget(m_credit);
    sums->addWidget(label(kSignEquals, foot));
    sums->addWidget(label(kLabelDifferens, foot));
    sums->addWidget(m_difference);
    sums->addStretch(1);
    sums->addWidget(label(kLabelKontosaldo, foot));
    sums->addWidget(m_balance);
    sums->addWidget(hint(kHintKontosaldo, foot));
    grid->addLayout(sums, 0, 0, 1, 2);

    auto* booking = new QHBoxLayout;
    booking->setSpacing(4);
    booking->addWidget(label(kLabelBokfDag, foot));
    booking->addSpacing(4);
    booking->addWidget(hint(kLabelBokforingsdatum, foot));
    booking->addWidget(makeEdit(VoucherField::BokfDay, 2, QStringLiteral("\\d{0,2}")));
    booking->addWidget(makeEdit(VoucherField::BokfMonth, 2, QStringLiteral("\\d{0,2}")));
    booking->addWidget(makeEdit(VoucherField::BokfYear, 4, QStringLiteral("\\d{0,4}")));
    booking->addStretch(1);
    grid->addLayout(booking, 1, 0, 1, 2);

    m_vat = makeButton(kButtonMoms);
    m_template = makeButton(kButtonKlistraInMall);
    m_info = makeButton(kButtonInfoMall);
    m_undo = makeButton(kButtonVoucherAngra);
    m_attach = new QPushButton(QStringLiteral("Bifoga underlag..."), this);
    m_showAttachments = new QPushButton(QStringLiteral("Visa underlag"), this);
    for (QPushButton* button : {m_attach, m_showAttachments}) {
        button->setAutoDefault(false);
        button->setFocusPolicy(Qt::TabFocus);
    }
    m_attach->setToolTip(QStringLiteral("PDF-, JPEG- eller PNG-filer, en eller flera. Filer kan också dras "
                                        "till dialogen."));
    m_ok = makeButton(kButtonVoucherOk);
    m_cancel = makeButton(kButtonAvbryt);
    m_ok->setToolTip(QStringLiteral("Ctrl+Retur"));
    m_ok->setMinimumWidth(dialogUnits(*this, 50, 0).width());
    m_cancel->setMinimumWidth(dialogUnits(*this, 50, 0).width());
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(6);
    for (QPushButton* button : {m_vat, m_template, m_info, m_undo}) {
        buttons->addWidget(button);
    }
    buttons->addSpacing(12);
    buttons->addWidget(m_attach);
    buttons->addWidget(m_showAttachments);
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    grid->addLayout(buttons, 2, 0, 1, 2);

    connect(m_ok, &QPushButton::clicked, this, [this] { m_model.ok(); });
    connect(m_cancel, &QPushButton::clicked, this, [this] { m_model.cancel(); });
    connect(m_vat, &QPushButton::clicked, this, [this] { m_model.vatLine(); });
    connect(m_template, &QPushButton::clicked, this,
            [this] { m_model.pasteTemplate(QApplication::clipboard()->text().toStdString()); });
    connect(m_info, &QPushButton::clicked, this, [this] { m_model.showTemplateInfo(); });
    connect(m_undo, &QPushButton::clicked, this, [this] { m_model.undo(); });
    connect(m_attach, &QPushButton::clicked, this, [this] {
        const QStringList files = m_chooseFiles ? m_chooseFiles(this) : chooseAttachmentFiles(this);
        std::vector<std::string> paths;
        for (const QString& file : files) {
            paths.push_back(file.toStdString());
        }
        if (!paths.empty()) {
            m_model.attachFiles(paths);
            fillAttachmentList();
        }
    });
    connect(m_showAttachments, &QPushButton::clicked, this, &VoucherForm::showAttachments);
    return foot;
}

QWidget* VoucherForm::buildAttachments() {
    auto* box = new QWidget(this);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 4, 0, 0);
    layout->setSpacing(2);
    m_attachmentCount = new QLabel(box);
    m_attachmentCount->setTextFormat(Qt::PlainText);
    m_attachments = new QListWidget(box);
    fitRowsToFont(*m_attachments);
    m_attachments->setFixedWidth(m_accounts->minimumWidth());
    m_attachments->setFixedHeight(4 * textRowHeight(m_attachments->font()) + 6);
    m_attachments->setFocusPolicy(Qt::TabFocus);
    m_attachments->setContextMenuPolicy(Qt::CustomContextMenu);
    m_attachments->setToolTip(QStringLiteral("Dra filer hit eller välj \u201dBifoga underlag...\u201d. "
                                             "Delete tar bort en fil som ännu inte har bifogats."));
    connect(m_attachments, &QListWidget::itemActivated, this,
            [this](QListWidgetItem*) { showAttachments(); });
    connect(m_attachments, &QWidget::customContextMenuRequested, this, [this](QPoint at) {
        const int row = m_attachments->row(m_attachments->itemAt(at));
        QMenu menu(this);
        menu.addAction(QStringLiteral("Visa underlag"), this, &VoucherForm::showAttachments)
            ->setEnabled(m_attachments->count() > 0);
        QAction* remove = menu.addAction(QStringLiteral("Ta bort ur listan"), this, [this, row] {
            m_attachments->setCurrentRow(row);
            removeChosenAttachment();
        });
        remove->setEnabled(row >= 0 && static_cast<std::size_t>(row) >= m_keptShown);
        menu.exec(m_attachments->viewport()->mapToGlobal(at));
    });
    layout->addWidget(m_attachmentCount);
    layout->addWidget(m_attachments);
    return box;
}

void VoucherForm::fillAttachmentList() {
    std::vector<AttachmentRecord> kept;
    QString failure;
    try {
        kept = m_model.keptAttachments();
    } catch (const std::exception& error) { // the company's database cannot be read
        failure = qs(error.what());
    }
    const std::vector<CheckedAttachment>& chosen = m_model.chosenAttachments();
    const int current = m_attachments->currentRow();
    m_attachments->clear();
    for (const AttachmentRecord& record : kept) {
        auto* item = new QListWidgetItem(qs(record.fileName), m_attachments);
        item->setToolTip(
            QStringLiteral("%1, bifogad %2").arg(qs(attachmentSizeText(record.size)), qs(record.addedAt)));
    }
    for (const CheckedAttachment& file : chosen) {
        auto* item = new QListWidgetItem(QStringLiteral("%1 (ny)").arg(qs(file.fileName)), m_attachments);
        item->setForeground(QColor(0x1a, 0x5f, 0xb4));
        item->setToolTip(QStringLiteral("%1, %2. Bifogas när verifikatet registreras med OK.")
                             .arg(qs(file.sourcePath), qs(attachmentSizeText(file.size))));
    }
    m_keptShown = kept.size();
    m_attachmentCount->setText(failure.isEmpty() ? attachmentCountText(kept.size() + chosen.size())
                                                 : QStringLiteral("Underlag: kan inte läsas"));
    m_attachmentCount->setToolTip(failure);
    if (m_attachments->count() > 0) {
        m_attachments->setCurrentRow(std::clamp(current, 0, m_attachments->count() - 1));
    }
    m_showAttachments->setEnabled(m_attachments->count() > 0);
}

void VoucherForm::removeChosenAttachment() {
    const int row = m_attachments->currentRow();
    if (row >= 0 && static_cast<std::size_t>(row) >= m_keptShown) {
        m_model.removeChosenAttachment(static_cast<std::size_t>(row) - m_keptShown);
        fillAttachmentList(); // the model tells the window too; the list must not wait for it
    }
}

void VoucherForm::showAttachments() {
    std::vector<AttachmentSource> sources;
    try {
        sources = storedAttachmentSources(m_model.companyPath(), m_model.keptAttachments());
    } catch (const std::exception& error) {
        m_controller.prompter().message(error.what());
        return;
    }
    for (AttachmentSource& chosen : chosenAttachmentSources(m_model.chosenAttachments())) {
        sources.push_back(std::move(chosen));
    }
    // Over the main window, so that it may stay open once the dialog has closed.
    QWidget* owner = window()->parentWidget() != nullptr ? window()->parentWidget()->window() : window();
    showAttachmentViewer(owner, m_model.voucherNumber(), std::move(sources));
}

bool VoucherForm::dragOrDrop(QEvent* event) {
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        if (droppedFiles(drag->mimeData()).isEmpty()) {
            return false;
        }
        drag->setDropAction(Qt::CopyAction);
        drag->accept();
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        const QStringList files = droppedFiles(drop->mimeData());
        if (files.isEmpty()) {
            return false;
        }
        drop->setDropAction(Qt::CopyAction);
        drop->accept();
        std::vector<std::string> paths;
        for (const QString& file : files) {
            paths.push_back(file.toStdString());
        }
        // After the drop has returned: attaching may ask the user through dialogs.
        QMetaObject::invokeMethod(
            this,
            [this, paths] {
                m_model.attachFiles(paths);
                fillAttachmentList();
            },
            Qt::QueuedConnection);
        return true;
    }
    default:
        return false;
    }
}

void VoucherForm::buildShortcuts() {
    const auto add = [this](const QKeySequence& keys, auto action) {
        auto* shortcut = new QShortcut(keys, this);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, this, action);
    };
    add(QKeySequence(Qt::Key_F12), [this] { m_template->click(); });
    add(QKeySequence(Qt::AltModifier | Qt::KeypadModifier | Qt::Key_Slash), [this] { m_model.vatLine(); });
    add(QKeySequence(Qt::ControlModifier | Qt::Key_Return), [this] { m_model.ok(); });
    add(QKeySequence(Qt::ControlModifier | Qt::KeypadModifier | Qt::Key_Enter), [this] { m_model.ok(); });
}

void VoucherForm::fillAccountList() {
    QStringList lines;
    for (const std::string& line : m_model.accountListLines()) {
        lines << qs(line);
    }
    if (lines != m_shownAccounts) {
        m_shownAccounts = lines;
        m_accounts->clear();
        m_accounts->addItems(lines);
    }
}

void VoucherForm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!m_connected) {
        // The window around the form hears from the model and passes it on.
        if (auto* host = qobject_cast<FormWindow*>(window())) {
            connect(host, &FormWindow::modelChanged, this, &VoucherForm::showModel);
            m_connected = true;
            const QRect screen = host->screen()->availableGeometry();
            host->resize(
                QSize(std::max(host->width(), m_grid->naturalWidth() + m_accounts->minimumWidth() + 60),
                      std::max(host->height(), 620))
                    .boundedTo(screen.size() * 0.92));
        }
        applyFocusRequest();
    }
}

QSize VoucherForm::sizeHint() const {
    // Every column of the grid in view beside the account list, and a good part of the lines.
    const QMargins margins = layout()->contentsMargins();
    QSize wanted(m_grid->naturalWidth() + m_accounts->sizeHint().width() + margins.left() + margins.right() +
                     12,
                 dialogUnits(*this, 0, 360).height());
    wanted = wanted.expandedTo(layout()->minimumSize());
    if (const QScreen* shown = screen()) {
        wanted = wanted.boundedTo(shown->availableGeometry().size() * 0.94);
    }
    return wanted;
}

void VoucherForm::showModel(kv::FormAspects aspects) {
    if (aspects.has(FormAspect::Sums)) {
        m_number->setText(QString::number(m_model.voucherNumber()));
        m_debit->setText(qs(m_model.debitSumText()));
        m_credit->setText(qs(m_model.creditSumText()));
        m_difference->setText(qs(m_model.differenceText()));
        m_balance->setText(qs(m_model.balanceText()));
    }
    if (aspects.has(FormAspect::Buttons)) {
        m_undo->setEnabled(m_model.canUndo());
    }
    if (aspects.has(FormAspect::Attachments)) {
        fillAttachmentList();
    }
    if (aspects.has(FormAspect::Fields)) {
        for (const VoucherField which : kFieldOrder) {
            const QString text = qs(m_model.fieldText(which));
            if (m_fields[slot(which)]->text() != text) {
                m_fields[slot(which)]->setText(text);
            }
        }
        fillAccountList();
        if (isVisible()) {
            applyFocusRequest();
        }
    }
}

void VoucherForm::applyFocusRequest() {
    const auto request = m_model.takeFocusRequest();
    if (!request) {
        return;
    }
    if (*request == VoucherField::Grid) {
        m_grid->setFocus(Qt::OtherFocusReason);
        return;
    }
    QLineEdit* edit = m_fields[slot(*request)];
    edit->setFocus(Qt::OtherFocusReason);
    edit->selectAll();
}

void VoucherForm::fieldLeft(VoucherField which, bool backwards) {
    const auto at = std::find(kFieldOrder.begin(), kFieldOrder.end(), which) - kFieldOrder.begin();
    if (backwards) {
        if (at > 0 && which != VoucherField::BokfDay) {
            QLineEdit* previous = m_fields[slot(kFieldOrder[static_cast<std::size_t>(at - 1)])];
            previous->setFocus(Qt::BacktabFocusReason);
            previous->selectAll();
        }
        return;
    }
    if (which == VoucherField::Vertext || which == VoucherField::BokfYear) {
        m_model.leaveTextField(); // into the grid, on the first line the user may write
        applyFocusRequest();
        return;
    }
    QLineEdit* next = m_fields[slot(kFieldOrder[static_cast<std::size_t>(at + 1)])];
    next->setFocus(Qt::TabFocusReason);
    next->selectAll();
}

bool VoucherForm::eventFilter(QObject* watched, QEvent* event) {
    if (dragOrDrop(event)) {
        return true;
    }
    if (watched == m_attachments && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        removeChosenAttachment();
        return true;
    }
    if (event->type() != QEvent::KeyPress) {
        return QWidget::eventFilter(watched, event);
    }
    auto* key = static_cast<QKeyEvent*>(event);
    if (watched == m_grid->view()) {
        // "Ångra" of the voucher: the sums follow.
        if (key->matches(QKeySequence::Undo)) {
            m_model.undo();
            return true;
        }
        return QWidget::eventFilter(watched, event);
    }
    for (const VoucherField which : kFieldOrder) {
        if (watched != m_fields[slot(which)]) {
            continue;
        }
        const bool plain = (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) == 0;
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        const bool tab = key->key() == Qt::Key_Tab && plain;
        // "dag + månad + år": the keypad's + moves on from a date field.
        const bool plus = key->key() == Qt::Key_Plus && key->modifiers().testFlag(Qt::KeypadModifier) &&
                          plain && which != VoucherField::Vertext;
        if ((enter && plain) || (tab && which == VoucherField::Vertext) || plus) {
            fieldLeft(which, key->modifiers().testFlag(Qt::ShiftModifier));
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace kv::ui
