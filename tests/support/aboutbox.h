#pragma once

#include "info/frmAbout.h"

#include <QFile>
#include <QLineEdit>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>

namespace mitoon::testing {

// The About box over an owner window that holds some state of its own, with a drive folder
// and an empty registry of the test's own. The test calls setUp() in initTestCase() and
// closeBox() in cleanup().
struct AboutBoxFixture
{
    QTemporaryDir folder;
    std::unique_ptr<QWidget> owner;
    QLineEdit *ownerState = nullptr;
    QPointer<frmAbout> box;

    bool setUp()
    {
        if (!folder.isValid())
            return false;
        qputenv("MITOON_DRIVE_C", QFile::encodeName(folder.filePath(QStringLiteral("drive_c"))));
        qputenv("MITOON_REGISTRY", QFile::encodeName(folder.filePath(QStringLiteral("none.txt"))));
        owner = std::make_unique<QWidget>();
        ownerState = new QLineEdit(QStringLiteral("右眼 1.2"), owner.get());
        owner->show();
        return true;
    }

    // A new box over the owner, shown; false when the window system never showed it (or, with
    // `active`, never activated it).
    bool openBox(bool active)
    {
        box = new frmAbout(owner.get());
        box->show();
        return active ? QTest::qWaitForWindowActive(box) : QTest::qWaitForWindowExposed(box);
    }

    void closeBox() { delete box; }
};

} // namespace mitoon::testing
