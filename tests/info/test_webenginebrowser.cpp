#include "info/browser/addresscombobox.h"
#include "info/browser/frmBrowser.h"
#include "info/browser/webenginebrowser.h"

#include "localpageserver.h"
#include "support/testmain.h"
#include "waituntil.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include <functional>

using namespace mitoon;

namespace {

constexpr int kLoadTimeout = 20000;

bool waitUntil(const std::function<bool()> &predicate, int timeout = kLoadTimeout)
{
    return testing::waitUntil(predicate, timeout);
}

void pause(int milliseconds)
{
    waitUntil([] { return false; }, milliseconds);
}

} // namespace

// The browser window on the web engine, against pages served from 127.0.0.1.
class TestWebEngineBrowser : public QObject
{
    Q_OBJECT

public:
    // As in mitoon-browser: settled before the application object exists.
    static void initMain()
    {
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
        qputenv("QSG_RHI_BACKEND", "opengl");
    }

private:
    testing::LocalPageServer *server = nullptr;
    QPointer<frmBrowser> window;
    WebEngineBrowser *browser = nullptr;
    QStringList captions;

    QString url(const char *path) const { return server->url(QString::fromLatin1(path)); }

    void open(const QString &start)
    {
        browser = new WebEngineBrowser;
        browser->setHomePage(url("/home"));
        browser->setSearchPage(url("/search"));
        window = new frmBrowser(browser, start);
        captions.clear();
        connect(window, &QWidget::windowTitleChanged, this,
                [this](const QString &caption) { captions << caption; });
        window->Form_Load();
    }

    QStringList entries() const
    {
        QStringList list;
        for (int i = 0; i < window->cboAddress->count(); ++i)
            list << window->cboAddress->itemText(i);
        return list;
    }

    void typeAddress(const QString &address)
    {
        QLineEdit *edit = window->cboAddress->lineEdit();
        edit->selectAll();
        QTest::keyClicks(edit, address);
        QTest::keyClick(edit, Qt::Key_Return);
    }

    void clickToolButton(const QString &key)
    {
        for (QAction *action : window->tbToolBar->actions()) {
            if (action->data().toString() == key)
                QTest::mouseClick(window->tbToolBar->widgetForAction(action), Qt::LeftButton);
        }
    }

    // Waits until the page named `title` is shown and the poll has stopped.
    bool shows(const QString &title)
    {
        return waitUntil(
            [&] { return window->windowTitle() == title && !window->timTimer->isActive(); });
    }

private slots:
    void initTestCase()
    {
        server = new testing::LocalPageServer(this);
        QVERIFY(server->isListening());
        server->addPage(QStringLiteral("/a"), QStringLiteral("ページA"));
        server->addPage(QStringLiteral("/b"), QStringLiteral("ページB"));
        server->addPage(QStringLiteral("/home"), QStringLiteral("ホーム"));
        server->addPage(QStringLiteral("/search"), QStringLiteral("検索ページ"));
        server->addRedirect(QStringLiteral("/redirect"), url("/a"));
        server->addStalledPage(QStringLiteral("/slow"));
        // Each answer takes a while, so every load is visibly busy.
        server->setDelay(150);
    }

    void cleanup() { delete window; }

    void startPageShowsWorkingThenItsTitle()
    {
        open(url("/a"));
        QCOMPARE(entries(), QStringList{url("/a")});
        QVERIFY(shows(QStringLiteral("ページA")));
        QVERIFY(captions.contains(frmBrowser::kBusyCaption));
        QCOMPARE(captions.last(), QStringLiteral("ページA"));
        QCOMPARE(entries(), QStringList{url("/a")});
        QCOMPARE(window->cboAddress->currentText(), url("/a"));
    }

    void enterNavigatesAndHistoryMovesRevisitsToTheTop()
    {
        open(url("/a"));
        QVERIFY(shows(QStringLiteral("ページA")));
        captions.clear();
        typeAddress(url("/b"));
        QVERIFY(shows(QStringLiteral("ページB")));
        QVERIFY(captions.contains(frmBrowser::kBusyCaption));
        QCOMPARE(entries(), (QStringList{url("/b"), url("/a")}));

        typeAddress(url("/a"));
        QVERIFY(shows(QStringLiteral("ページA")));
        QCOMPARE(entries(), (QStringList{url("/a"), url("/b")}));

        clickToolButton(QStringLiteral("Back"));
        QVERIFY(shows(QStringLiteral("ページB")));
        QCOMPARE(entries(), (QStringList{url("/b"), url("/a")}));
        clickToolButton(QStringLiteral("Forward"));
        QVERIFY(shows(QStringLiteral("ページA")));
        QCOMPARE(entries(), (QStringList{url("/a"), url("/b")}));
    }

    void redirectedStartStaysAsTyped()
    {
        open(url("/redirect"));
        QVERIFY(shows(QStringLiteral("ページA")));
        QCOMPARE(entries().value(0), url("/a"));
        QVERIFY(entries().contains(url("/redirect")));
        QCOMPARE(entries().count(url("/a")), 1);
    }

    void stopEndsThePollAtOnce()
    {
        open(url("/a"));
        QVERIFY(shows(QStringLiteral("ページA")));
        typeAddress(url("/slow"));
        QVERIFY(waitUntil([&] { return window->windowTitle() == frmBrowser::kBusyCaption; }));
        pause(100);
        QCOMPARE(window->windowTitle(), frmBrowser::kBusyCaption);
        clickToolButton(QStringLiteral("Stop"));
        QVERIFY(!window->timTimer->isActive());
        QCOMPARE(window->windowTitle(), browser->LocationName().value());
        QVERIFY(window->windowTitle() != frmBrowser::kBusyCaption);
        pause(100);
        QVERIFY(!window->timTimer->isActive());
    }

    void homeAndSearchAreTheComponentsOwnPages()
    {
        open(url("/a"));
        QVERIFY(shows(QStringLiteral("ページA")));
        server->requests.clear();
        clickToolButton(QStringLiteral("Home"));
        QVERIFY(shows(QStringLiteral("ホーム")));
        QCOMPARE(browser->LocationURL().value(), url("/home"));
        QCOMPARE(entries().value(0), url("/home"));
        clickToolButton(QStringLiteral("Search"));
        QVERIFY(shows(QStringLiteral("検索ページ")));
        QVERIFY(!server->requests.contains(QStringLiteral("/a")));
    }

    void backWithoutEarlierPageDoesNothing()
    {
        open(url("/a"));
        QVERIFY(shows(QStringLiteral("ページA")));
        clickToolButton(QStringLiteral("Back"));
        QVERIFY(shows(QStringLiteral("ページA")));
        QCOMPARE(browser->LocationURL().value(), url("/a"));
    }
};

MITOON_TEST_MAIN(TestWebEngineBrowser)

#include "test_webenginebrowser.moc"
