#include "info/browser/addresscombobox.h"
#include "info/browser/frmBrowser.h"

#include "support/fakebrowser.h"
#include "support/testmain.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolBar>

using namespace mitoon;
using mitoon::testing::FakeBrowser;

namespace {
const QString kStart = QStringLiteral("https://mitoon.example.org/");
} // namespace

// The browser window's rules against a component without a web engine.
class TestFrmBrowser : public QObject
{
    Q_OBJECT

private:
    QPointer<frmBrowser> window;
    FakeBrowser *browser = nullptr;

    void open(const QString &start = kStart)
    {
        browser = new FakeBrowser;
        window = new frmBrowser(browser, start);
        window->Form_Load();
    }

    QStringList listEntries() const
    {
        QStringList entries;
        for (int i = 0; i < window->cboAddress->count(); ++i)
            entries << window->cboAddress->itemText(i);
        return entries;
    }

    void clickToolButton(const QString &key)
    {
        for (QAction *action : window->tbToolBar->actions()) {
            if (action->data().toString() == key)
                QTest::mouseClick(window->tbToolBar->widgetForAction(action), Qt::LeftButton);
        }
    }

private slots:
    void cleanup() { delete window; }

    void loadShowsTheStartAddressAndNavigatesToIt()
    {
        open();
        QVERIFY(window->isVisible());
        QCOMPARE(window->StartingAddress, kStart);
        QCOMPARE(listEntries(), QStringList{kStart});
        QCOMPARE(window->cboAddress->currentText(), kStart);
        QVERIFY(window->timTimer->isActive());
        QCOMPARE(window->timTimer->interval(), 5);
        QCOMPARE(browser->calls, QStringList{QStringLiteral("Navigate ") + kStart});
        QVERIFY(window->windowTitle().isEmpty());
    }

    void loadWithoutStartAddressLoadsNothing()
    {
        open(QString());
        QCOMPARE(window->cboAddress->count(), 0);
        QVERIFY(!window->timTimer->isActive());
        QVERIFY(browser->calls.isEmpty());
    }

    void layoutAtLoad()
    {
        open();
        QCOMPARE(window->size(), QSize(435, 492));
        QCOMPARE(window->tbToolBar->geometry(), QRect(0, 0, 435, 36));
        QCOMPARE(window->Command1->geometry(), QRect(200, 0, 129, 33));
        QCOMPARE(window->picAddress->geometry(), QRect(0, 36, 435, 45));
        QCOMPARE(window->lblAddress->geometry(), QRect(3, 4, 205, 17));
        // Moved below the label at load and as wide as the window less 100 twips.
        QCOMPARE(window->cboAddress->geometry(), QRect(3, 22, 428, 20));
        QCOMPARE(window->brwWebBrowser->geometry(), QRect(3, 81, 428, 404));
    }

    void resizeFollowsTheWindowButNeverBelowZero_data()
    {
        QTest::addColumn<QSize>("windowSize");
        QTest::addColumn<int>("addressWidth");
        QTest::addColumn<QSize>("pageSize");
        QTest::newRow("wider and higher") << QSize(600, 500) << 593 << QSize(593, 412);
        QTest::newRow("narrower than 100 twips") << QSize(6, 500) << 428 << QSize(428, 412);
        QTest::newRow("lower than the address bar") << QSize(600, 80) << 593 << QSize(593, 404);
        QTest::newRow("exactly the margins") << QSize(7, 88) << 0 << QSize(0, 0);
    }

    void resizeFollowsTheWindowButNeverBelowZero()
    {
        QFETCH(QSize, windowSize);
        QFETCH(int, addressWidth);
        QFETCH(QSize, pageSize);
        open();
        window->resize(windowSize);
        QCOMPARE(window->cboAddress->width(), addressWidth);
        QCOMPARE(window->brwWebBrowser->size(), pageSize);
        QCOMPARE(window->brwWebBrowser->pos(), QPoint(3, 81));
        QCOMPARE(window->picAddress->width(), windowSize.width());
    }

    void pollShowsWorkingWhileBusyThenTheName()
    {
        open();
        browser->busy = true;
        QTRY_COMPARE(window->windowTitle(), frmBrowser::kBusyCaption);
        window->setWindowTitle(QStringLiteral("something else"));
        QTRY_COMPARE(window->windowTitle(), frmBrowser::kBusyCaption);
        QVERIFY(window->timTimer->isActive());
        browser->name = QStringLiteral("ミトーンのページ");
        browser->busy = false;
        QTRY_VERIFY(!window->timTimer->isActive());
        QCOMPARE(window->windowTitle(), QStringLiteral("ミトーンのページ"));
    }

    void pollStopsWhenBusyCannotBeRead()
    {
        open();
        browser->busy = true;
        browser->failing << QStringLiteral("Busy");
        browser->name = QStringLiteral("名前");
        window->timTimer_Timer();
        QVERIFY(!window->timTimer->isActive());
        QCOMPARE(window->windowTitle(), QStringLiteral("名前"));
    }

    void downloadCompleteShowsTheName()
    {
        open();
        browser->name = QStringLiteral("ダウンロード済み");
        emit browser->DownloadComplete();
        QCOMPARE(window->windowTitle(), QStringLiteral("ダウンロード済み"));
    }

    void historyKeepsEachAddressOnceNewestFirst_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QStringList>("completed");
        QTest::addColumn<QStringList>("list");
        const QString a = QStringLiteral("http://a.example/");
        const QString b = QStringLiteral("http://b.example/");
        const QString c = QStringLiteral("http://c.example/");
        QTest::newRow("start page completes") << a << QStringList{a} << QStringList{a};
        QTest::newRow("new addresses go on top")
            << a << QStringList{a, b, c} << QStringList{c, b, a};
        QTest::newRow("revisit moves to the top")
            << a << QStringList{a, b, c, a} << QStringList{a, c, b};
        QTest::newRow("same address twice") << a << QStringList{a, b, b} << QStringList{b, a};
        QTest::newRow("start as typed stays when reported in another form")
            << QStringLiteral("a.example") << QStringList{a} << QStringList{a, "a.example"};
        QTest::newRow("comparison is case-sensitive")
            << QStringLiteral("http://A.example/") << QStringList{a}
            << QStringList{a, "http://A.example/"};
    }

    void historyKeepsEachAddressOnceNewestFirst()
    {
        QFETCH(QString, start);
        QFETCH(QStringList, completed);
        QFETCH(QStringList, list);
        open(start);
        for (const QString &address : completed)
            browser->completeNavigation(address, address + QStringLiteral(" の題"));
        QCOMPARE(listEntries(), list);
        QCOMPARE(window->cboAddress->currentIndex(), 0);
        QCOMPARE(window->cboAddress->currentText(), list.first());
        QCOMPARE(window->windowTitle(), completed.last() + QStringLiteral(" の題"));
        // Rearranging the list never starts another navigation.
        QCOMPARE(browser->calls, QStringList{QStringLiteral("Navigate ") + start});
        QVERIFY(!window->suppressNavigation);
    }

    void listUpdateSelectsWithNavigationSuppressed()
    {
        open();
        QList<bool> suppressed;
        connect(window->cboAddress, &AddressComboBox::Click, this,
                [&] { suppressed << window->suppressNavigation; });
        browser->completeNavigation(QStringLiteral("http://b.example/"), QString());
        QCOMPARE(suppressed, QList<bool>{true});
    }

    void enterInTheAddressBoxNavigates()
    {
        open();
        window->timTimer->stop();
        QLineEdit *edit = window->cboAddress->lineEdit();
        edit->selectAll();
        QTest::keyClicks(edit, QStringLiteral("http://typed.example/"));
        QCOMPARE(browser->calls.size(), 1);
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(browser->calls.last(), QStringLiteral("Navigate http://typed.example/"));
        QVERIFY(window->timTimer->isActive());
        QTest::keyClick(edit, Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(browser->calls.size(), 3);
        // Typed text joins the list only once its navigation completes.
        QCOMPARE(listEntries(), QStringList{kStart});
    }

    void choosingAListEntryNavigates()
    {
        open();
        browser->completeNavigation(QStringLiteral("http://b.example/"), QString());
        browser->calls.clear();
        QTest::keyClick(window->cboAddress, Qt::Key_Down);
        QCOMPARE(browser->calls, QStringList{QStringLiteral("Navigate ") + kStart});

        window->cboAddress->showPopup();
        QAbstractItemView *view = window->cboAddress->view();
        QTRY_VERIFY(view->isVisible());
        const QRect first = view->visualRect(view->model()->index(0, 0));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, first.center());
        QCOMPARE(browser->calls.last(), QStringLiteral("Navigate http://b.example/"));
    }

    void toolbarButtons_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("call");
        QTest::newRow("back") << "Back"
                              << "GoBack";
        QTest::newRow("forward") << "Forward"
                                 << "GoForward";
        QTest::newRow("refresh") << "Refresh"
                                 << "Refresh";
        QTest::newRow("home is the component's home") << "Home"
                                                      << "GoHome";
        QTest::newRow("search") << "Search"
                                << "GoSearch";
    }

    void toolbarButtons()
    {
        QFETCH(QString, key);
        QFETCH(QString, call);
        open();
        window->timTimer->stop();
        clickToolButton(key);
        QCOMPARE(browser->calls, (QStringList{QStringLiteral("Navigate ") + kStart, call}));
        QVERIFY(window->timTimer->isActive());
    }

    void toolbarLooks()
    {
        open();
        const QStringList tips = {"戻る", "進む", "中止", "再表示", "ﾎｰﾑ", "検索"};
        const QList<QAction *> actions = window->tbToolBar->actions();
        QCOMPARE(actions.size(), 6);
        for (int i = 0; i < 6; ++i) {
            QCOMPARE(actions.at(i)->toolTip(), tips.at(i));
            QVERIFY(actions.at(i)->text().isEmpty());
            QCOMPARE(actions.at(i)->icon().availableSizes().value(0), QSize(24, 24));
        }
        QCOMPARE(window->Command1->text(), QStringLiteral("ミトーンに戻る"));
        QVERIFY(window->Command1->font().bold());
        QCOMPARE(window->lblAddress->text(), QStringLiteral("ｱﾄﾞﾚｽ(&A):"));
    }

    void stopEndsThePollAndShowsTheName()
    {
        open();
        browser->busy = true;
        browser->name = QStringLiteral("読み込み途中");
        clickToolButton(QStringLiteral("Stop"));
        QVERIFY(!window->timTimer->isActive());
        QCOMPARE(browser->calls.last(), QStringLiteral("Stop"));
        QCOMPARE(window->windowTitle(), QStringLiteral("読み込み途中"));
    }

    void failingStepsAreSkipped()
    {
        open();
        window->setWindowTitle(QStringLiteral("前の題"));
        browser->failing = {QStringLiteral("LocationName"), QStringLiteral("Stop")};
        browser->completeNavigation(QStringLiteral("http://b.example/"), QStringLiteral("b"));
        QCOMPARE(listEntries(), (QStringList{"http://b.example/", kStart}));
        QCOMPARE(window->windowTitle(), QStringLiteral("前の題"));

        browser->failing = {QStringLiteral("LocationURL"), QStringLiteral("Stop")};
        browser->completeNavigation(QStringLiteral("http://c.example/"), QStringLiteral("c"));
        QCOMPARE(listEntries(), (QStringList{"http://b.example/", kStart}));
        QCOMPARE(window->windowTitle(), QStringLiteral("c"));

        window->tbToolBar_ButtonClick(QStringLiteral("Stop"));
        QVERIFY(!window->timTimer->isActive());
        QCOMPARE(window->windowTitle(), QStringLiteral("c"));

        browser->failing = {QStringLiteral("GoBack")};
        window->tbToolBar_ButtonClick(QStringLiteral("Back"));
        QVERIFY(window->timTimer->isActive());
        QTRY_VERIFY(!window->timTimer->isActive());
    }

    void focusAndAccessKey()
    {
        open();
        QVERIFY(QTest::qWaitForWindowActive(window));
        QCOMPARE(QApplication::focusWidget(), window->brwWebBrowser);
        QTest::keyClick(window, Qt::Key_A, Qt::AltModifier);
        QVERIFY(window->cboAddress->hasFocus());
    }

    void command1ClosesTheWindow()
    {
        open();
        QTest::mouseClick(window->Command1, Qt::LeftButton);
        QVERIFY(!window || !window->isVisible());
        QTRY_VERIFY(!window);
    }
};

MITOON_TEST_MAIN(TestFrmBrowser)
#include "test_frmbrowser.moc"
