// The browser window's program on a real X server: it stays above the window it is given, its
// caption becomes the page's title, and closing its window ends the program.

#include "localpageserver.h"
#include "support/testmain.h"
#include "waituntil.h"

#include <QApplication>
#include <QProcess>
#include <QTest>
#include <QWidget>
#include <cstdlib>

#include <xcb/xcb.h>

#include <cstring>

using namespace mitoon;
using testing::waitUntil;

namespace {

// A few questions to the X server over the application's own connection.
class X11
{
public:
    X11()
    {
        auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
        connection = x11 ? x11->connection() : nullptr;
        if (connection)
            root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    }

    xcb_atom_t atom(const char *name) const
    {
        const auto cookie = xcb_intern_atom(connection, 0, uint16_t(std::strlen(name)), name);
        xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(connection, cookie, nullptr);
        const xcb_atom_t atom = reply ? reply->atom : XCB_ATOM_NONE;
        free(reply);
        return atom;
    }

    QByteArray property(xcb_window_t window, xcb_atom_t name, xcb_atom_t type) const
    {
        const auto cookie = xcb_get_property(connection, 0, window, name, type, 0, 1024);
        xcb_get_property_reply_t *reply = xcb_get_property_reply(connection, cookie, nullptr);
        QByteArray value;
        if (reply)
            value = QByteArray(static_cast<const char *>(xcb_get_property_value(reply)),
                               xcb_get_property_value_length(reply));
        free(reply);
        return value;
    }

    // The top-level window that says it is transient for `owner`, or 0.
    xcb_window_t transientFor(xcb_window_t owner) const
    {
        const auto cookie = xcb_query_tree(connection, root);
        xcb_query_tree_reply_t *tree = xcb_query_tree_reply(connection, cookie, nullptr);
        xcb_window_t found = 0;
        const xcb_window_t *children = tree ? xcb_query_tree_children(tree) : nullptr;
        for (int i = 0; tree && i < xcb_query_tree_children_length(tree) && !found; ++i) {
            const QByteArray value =
                property(children[i], XCB_ATOM_WM_TRANSIENT_FOR, XCB_ATOM_WINDOW);
            if (value.size() == 4 && *reinterpret_cast<const xcb_window_t *>(value.data()) == owner)
                found = children[i];
        }
        free(tree);
        return found;
    }

    // What the close button of the window's frame sends.
    void requestClose(xcb_window_t window) const
    {
        xcb_client_message_event_t event{};
        event.response_type = XCB_CLIENT_MESSAGE;
        event.format = 32;
        event.window = window;
        event.type = atom("WM_PROTOCOLS");
        event.data.data32[0] = atom("WM_DELETE_WINDOW");
        event.data.data32[1] = XCB_CURRENT_TIME;
        xcb_send_event(connection, 0, window, XCB_EVENT_MASK_NO_EVENT,
                       reinterpret_cast<const char *>(&event));
        xcb_flush(connection);
    }

    xcb_connection_t *connection = nullptr;
    xcb_window_t root = 0;
};

} // namespace

class TestBrowserX11 : public QObject
{
    Q_OBJECT

public:
    static void initMain()
    {
        if (qEnvironmentVariableIsEmpty("DISPLAY"))
            std::exit(77); // no X server: skipped
        qputenv("QT_QPA_PLATFORM", "xcb");
    }

private slots:
    void keptAboveItsOwnerAndEndsWithItsWindow()
    {
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
        testing::LocalPageServer server;
        server.addPage(QStringLiteral("/"), QStringLiteral("ミトーンのページ"));
        QWidget owner;
        owner.show();
        QVERIFY(QTest::qWaitForWindowExposed(&owner));
        const X11 x;
        QVERIFY(x.connection);

        QProcess browser;
        browser.setProcessChannelMode(QProcess::ForwardedChannels);
        browser.start(QStringLiteral(MITOON_BROWSER_EXECUTABLE),
                      {QStringLiteral("--transient-for"), QString::number(owner.winId()),
                       QStringLiteral("--"), server.url(QStringLiteral("/"))});
        QVERIFY(browser.waitForStarted());

        xcb_window_t window = 0;
        QVERIFY(waitUntil([&] { return (window = x.transientFor(xcb_window_t(owner.winId()))); },
                          30000));
        const xcb_atom_t name = x.atom("_NET_WM_NAME");
        const xcb_atom_t utf8 = x.atom("UTF8_STRING");
        QString caption;
        waitUntil(
            [&] {
                // Looked up again: the window is made anew when the page area needs OpenGL.
                window = x.transientFor(xcb_window_t(owner.winId()));
                caption = QString::fromUtf8(x.property(window, name, utf8));
                return caption == QStringLiteral("ミトーンのページ");
            },
            30000);
        QCOMPARE(caption, QStringLiteral("ミトーンのページ"));

        // Asked again should the window be made anew meanwhile.
        xcb_window_t asked = 0;
        QVERIFY(waitUntil(
            [&] {
                window = x.transientFor(xcb_window_t(owner.winId()));
                if (window && window != asked)
                    x.requestClose(asked = window);
                return browser.state() == QProcess::NotRunning;
            },
            15000));
        QCOMPARE(browser.exitStatus(), QProcess::NormalExit);
        QCOMPARE(browser.exitCode(), 0);
    }
};

MITOON_TEST_MAIN(TestBrowserX11)

#include "test_browser_x11.moc"
