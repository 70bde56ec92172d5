// Shows a window, checks that it draws, and keeps its picture in the folder
// KVISTORAN_SCREENSHOTS names, when it names one, to be looked at.
#pragma once

#include <QCoreApplication>
#include <QDir>
#include <QPixmap>
#include <QTest>
#include <QWidget>

namespace kv::test {

inline void keep(QWidget& widget, const QString& name) {
    widget.show();
    QVERIFY(QTest::qWaitForWindowExposed(&widget));
    QCoreApplication::processEvents();
    const QPixmap picture = widget.grab();
    QVERIFY(!picture.isNull());
    const QString folder = qEnvironmentVariable("KVISTORAN_SCREENSHOTS");
    if (!folder.isEmpty()) {
        QDir().mkpath(folder);
        QVERIFY(picture.save(QDir(folder).filePath(name)));
    }
}

} // namespace kv::test
