// The window program on the real dialogs and message boxes, shown with a
// saved association in its folder, for the tests that drive it from the menu
// bar. The company is not yet open.
#pragma once

#include "ModalDriver.h"
#include "SavedCompany.h"

#include "app/AppController.h"
#include "app/AppDialogViews.h"
#include "app/MainWindow.h"
#include "app/QtPrompter.h"

#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <string>

namespace kv::test {

struct AssociationProgram {
    QTemporaryDir folder;
    std::string path = savedAssociation(folder);
    ui::QtPrompter prompter{ui::programDialogViews()};
    AppController controller{prompter, folder.path().toStdString()};
    std::unique_ptr<ui::MainWindow> window;
    ModalDriver driver;

    AssociationProgram() {
        QStandardPaths::setTestModeEnabled(true);
        ui::setWindowsOpenMaximized(true); // as a user has them at first
        QVERIFY(!path.empty());
        window = std::make_unique<ui::MainWindow>(controller);
        window->resize(1000, 700);
        window->show();
        prompter.setParent(window.get());
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }
    AssociationProgram(const AssociationProgram&) = delete;
    AssociationProgram& operator=(const AssociationProgram&) = delete;
    ~AssociationProgram() {
        if (controller.companyOpen()) {
            controller.document().savedInFull(); // nothing asks on the way out
        }
        window.reset();
    }
};

} // namespace kv::test
