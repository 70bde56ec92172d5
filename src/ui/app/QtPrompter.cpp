#include "app/QtPrompter.h"

#include "app/AppTexts.h"
#include "app/FileDialogs.h"
#include "app/RecentFilesStore.h"
#include "backup/BackupFlow.h" // Backups

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QSpacerItem>

namespace kv::ui {

namespace {

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

QString companyFilter() {
    return QString::fromUtf8(kCompanyFileFilter);
}

// The folder of the company opened or saved last, where the open dialog starts.
QString lastCompanyFolder() {
    const RecentFiles recent = loadRecentFiles();
    if (recent.size() > 0) {
        const QFileInfo last(QString::fromStdString(recent.files().front()));
        if (last.dir().exists()) {
            return last.absolutePath();
        }
    }
    return QDir::homePath();
}

// A short message must not make the box so narrow that its title is cut to
// "...": QMessageBox sizes itself, so the room goes in as a spacer.
void widenForTitle(QMessageBox& box) {
    QFont titleFont = box.font();
    titleFont.setBold(true);
    constexpr int kTitleBarRest = 150; // icon, buttons, frame
    const int wanted = QFontMetrics(titleFont).horizontalAdvance(box.windowTitle()) + kTitleBarRest;
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
        grid->addItem(new QSpacerItem(wanted, 0, QSizePolicy::Minimum, QSizePolicy::Minimum),
                      grid->rowCount(), 0, 1, grid->columnCount());
    }
}

QString companySuffix() {
    return QString::fromUtf8(kCompanyFileExtension).mid(1);
}

// A chosen file as the file system names it; nothing on Cancel.
std::optional<std::string> chosen(const QString& path) {
    if (path.isEmpty()) {
        return std::nullopt;
    }
    return QFile::encodeName(path).toStdString();
}

} // namespace

QWidget* QtPrompter::owner() const {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal != nullptr) {
        return modal;
    }
    // Vouchers: a message of a modeless form belongs to it, not to the main window.
    QWidget* active = QApplication::activeWindow();
    return active != nullptr ? active : m_parent;
}

Answer QtPrompter::show(DialogModel& dialog) {
    return m_views.show(dialog, *this, owner());
}

// Periods
Answer QtPrompter::askYesNo(const std::string& text) {
    QMessageBox box(QMessageBox::Question, QString::fromUtf8(kAppTitle), qs(text), QMessageBox::NoButton,
                    owner());
    widenForTitle(box);
    QPushButton* yes = box.addButton(QStringLiteral("Ja"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("Nej"), QMessageBox::NoRole);
    box.setDefaultButton(no);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes ? Answer::Yes : Answer::No;
}

// Vouchers
void QtPrompter::information(const std::string& caption, const std::string& text) {
    QMessageBox box(QMessageBox::Information, qs(caption), qs(text), QMessageBox::NoButton, owner());
    widenForTitle(box);
    box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.exec();
}

// Backups
std::optional<std::string> QtPrompter::chooseBackupCopyName(const std::string& suggestedPath) {
    // An existing file is never replaced: the copy refuses it, with its own message.
    return chosen(
        chooseFile(owner(), {QString::fromUtf8(kBackupCopyTitle), companyFilter(), QString(),
                             QFile::decodeName(suggestedPath.c_str()), companySuffix(), true, false}));
}

QMessageBox::Icon messageIcon(MessageKind kind) {
    switch (kind) {
    case MessageKind::Information:
        return QMessageBox::Information;
    case MessageKind::Failure:
        return QMessageBox::Critical;
    case MessageKind::Refusal:
        break;
    }
    return QMessageBox::Warning;
}

void QtPrompter::message(const std::string& text) {
    say(MessageKind::Refusal, text);
}

void QtPrompter::say(MessageKind kind, const std::string& text) {
    QMessageBox box(messageIcon(kind), QString::fromUtf8(kAppTitle), qs(text), QMessageBox::NoButton,
                    owner());
    widenForTitle(box);
    box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.exec();
}

Answer QtPrompter::askOkCancel(const std::string& text, Answer byDefault) {
    return askToProceed(text, "OK", byDefault);
}

Answer QtPrompter::askToProceed(const std::string& text, const std::string& okText, Answer byDefault) {
    QMessageBox box(QMessageBox::Question, QString::fromUtf8(kAppTitle), qs(text), QMessageBox::NoButton,
                    owner());
    widenForTitle(box);
    QPushButton* ok = box.addButton(qs(okText), QMessageBox::AcceptRole);
    QPushButton* cancel = box.addButton(QStringLiteral("Avbryt"), QMessageBox::RejectRole);
    box.setDefaultButton(byDefault == Answer::Ok ? ok : cancel);
    box.setEscapeButton(cancel);
    box.exec();
    return box.clickedButton() == ok ? Answer::Ok : Answer::Cancel;
}

Answer QtPrompter::askYesNoCancel(const std::string& text) {
    QMessageBox box(QMessageBox::Question, QString::fromUtf8(kAppTitle), qs(text), QMessageBox::NoButton,
                    owner());
    widenForTitle(box);
    QPushButton* yes = box.addButton(QStringLiteral("Ja"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("Nej"), QMessageBox::NoRole);
    QPushButton* cancel = box.addButton(QStringLiteral("Avbryt"), QMessageBox::RejectRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == yes) {
        return Answer::Yes;
    }
    return box.clickedButton() == no ? Answer::No : Answer::Cancel;
}

std::optional<std::string> QtPrompter::chooseCompanyToOpen() {
    return chosen(chooseFile(m_parent, {.title = QString::fromUtf8(kOpenCompanyTitle),
                                        .filter = companyFilter(),
                                        .folder = lastCompanyFolder()}));
}

std::optional<std::string> QtPrompter::chooseCompanySaveName(const std::string& suggestedName) {
    return chosen(chooseFile(m_parent, {QString::fromUtf8(kSaveCompanyTitle), companyFilter(), QString(),
                                        QFile::decodeName(suggestedName.c_str()), companySuffix(), true}));
}

// ---- SIE ----

std::optional<std::string> QtPrompter::chooseSieFileToOpen(const char* title) {
    return chosen(chooseFile(
        m_parent, {.title = QString::fromUtf8(title), .filter = QString::fromUtf8(kSieFileFilter)}));
}

std::optional<std::string> QtPrompter::chooseSieSaveName(const std::string& suggestedName) {
    return chosen(chooseFile(m_parent, {QString::fromUtf8(kSieSaveTitle), QString::fromUtf8(kSieFileFilter),
                                        QString(), QFile::decodeName(suggestedName.c_str()),
                                        QString::fromUtf8(kSieFileExtension).mid(1), true}));
}

// ---- Bank statements ----

std::optional<std::string> QtPrompter::chooseBankFileToOpen() {
    return chosen(chooseFile(m_parent, {.title = QString::fromUtf8(kBankOpenTitle),
                                        .filter = QString::fromUtf8(kBankFileFilter)}));
}

// ---- The year's archive ----

std::optional<std::string> QtPrompter::chooseArchiveSaveName(const std::string& suggestedPath) {
    return chosen(
        chooseFile(m_parent, {QString::fromUtf8(kArchiveSaveTitle), QString::fromUtf8(kArchiveFileFilter),
                              QString(), QFile::decodeName(suggestedPath.c_str()),
                              QString::fromUtf8(kArchiveFileExtension).mid(1), true}));
}

} // namespace kv::ui
