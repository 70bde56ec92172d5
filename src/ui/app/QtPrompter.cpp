#include "app/QtPrompter.h"

#include "app/AppTexts.h"

#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

namespace kv::ui {

namespace {

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

QString companyFilter() {
    return QString::fromUtf8(kCompanyFileFilter);
}

} // namespace

void QtPrompter::message(const std::string& text) {
    QMessageBox box(QMessageBox::Warning, QString::fromUtf8(kAppTitle), qs(text), QMessageBox::NoButton,
                    m_parent);
    box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.exec();
}

Answer QtPrompter::askOkCancel(const std::string& text) {
    QMessageBox box(QMessageBox::Warning, QString::fromUtf8(kAppTitle), qs(text), QMessageBox::NoButton,
                    m_parent);
    QPushButton* ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    QPushButton* cancel = box.addButton(QStringLiteral("Avbryt"), QMessageBox::RejectRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(cancel);
    box.exec();
    return box.clickedButton() == ok ? Answer::Ok : Answer::Cancel;
}

Answer QtPrompter::askYesNoCancel(const std::string& text) {
    QMessageBox box(QMessageBox::Question, QString::fromUtf8(kAppTitle), qs(text), QMessageBox::NoButton,
                    m_parent);
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
    const QString path = QFileDialog::getOpenFileName(m_parent, QStringLiteral("Öppna ett företag"),
                                                      QString(), companyFilter());
    if (path.isEmpty()) {
        return std::nullopt;
    }
    return QFile::encodeName(path).toStdString();
}

std::optional<std::string> QtPrompter::chooseCompanySaveName(const std::string& suggestedName) {
    QFileDialog dialog(m_parent, QStringLiteral("Spara företaget som"), QString(), companyFilter());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QString::fromUtf8(kCompanyFileExtension).mid(1));
    dialog.selectFile(QFile::decodeName(suggestedName.c_str()));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return QFile::encodeName(dialog.selectedFiles().constFirst()).toStdString();
}

} // namespace kv::ui
