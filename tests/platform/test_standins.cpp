#include "app/appinfo.h"
#include "platform/fonts.h"
#include "platform/onewindow.h"
#include "platform/statusbar.h"
#include "platform/wrappinglabel.h"
#include "support/testmain.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFontMetrics>
#include <QPointer>
#include <QTest>

using namespace mitoon;

namespace {

bool isInk(QRgb pixel)
{
    return qGray(pixel) < 100;
}

// The leftmost dark pixel within `area` of `image`, or -1.
int firstInk(const QImage &image, const QRect &area)
{
    for (int x = area.left(); x <= area.right(); ++x)
        for (int y = area.top(); y <= area.bottom(); ++y)
            if (isInk(image.pixel(x, y)))
                return x;
    return -1;
}

} // namespace

// What our status bar and notice label put on the screen that Qt's own pieces do not.
class TestStandIns : public QObject
{
    Q_OBJECT

private slots:

    void statusBarFramesEveryPanel_data()
    {
        QTest::addColumn<QString>("message");
        QTest::newRow("panel text") << QString();
        QTest::newRow("message") << QStringLiteral("左目測定中");
    }

    // Each panel sits in a sunken frame with its text inside; the message takes the first
    // panel's place in its frame, and the date and time panels stay.
    void statusBarFramesEveryPanel()
    {
        QFETCH(QString, message);
        StatusBar bar;
        bar.setFont(fonts::fixedFont(fonts::kPGothic, 9));
        bar.resize(443, 18);
        bar.setPanelText(QStringLiteral("ｽﾃｰﾀｽ"));
        bar.setSimpleText(message);
        const QStringList texts = bar.panelTexts();
        QCOMPARE(texts.first(), message.isEmpty() ? QStringLiteral("ｽﾃｰﾀｽ") : message);
        QCOMPARE(texts.size(), 3);
        QVERIFY(!texts[1].isEmpty() && !texts[2].isEmpty());

        const QImage image = bar.grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QRgb background = bar.palette().color(QPalette::Button).rgb();
        for (int panel = 0; panel < 3; ++panel) {
            const QRect text = bar.textRect(panel);
            const QRect frame = text.adjusted(-4, 0, 4, 0);
            QVERIFY2(image.pixel(frame.center().x(), frame.top()) != background,
                     qPrintable(QStringLiteral("no top edge over panel %1").arg(panel)));
            QVERIFY2(image.pixel(frame.left(), frame.center().y()) != background,
                     qPrintable(QStringLiteral("no left edge of panel %1").arg(panel)));
            const int ink = firstInk(image, text);
            QVERIFY2(ink >= text.left() && ink <= text.left() + 3,
                     qPrintable(QStringLiteral("panel %1's text starts at %2, its room at %3")
                                    .arg(panel)
                                    .arg(ink)
                                    .arg(text.left())));
        }
    }

    // A line breaks between any two full-width characters and spaces do not hang past its end:
    // the 33 opening spaces fill the first line and push the first words into the second half
    // of the next one.
    void noticeBreaksItsOpeningSpacesLikeAnyCharacter()
    {
        WrappingLabel notice(warningNotice());
        notice.setFont(fonts::font(fonts::kPGothic, 9));
        notice.resize(273, 73);
        const QImage image = notice.grab().toImage().convertToFormat(QImage::Format_RGB32);
        const int line = QFontMetrics(notice.font()).lineSpacing();
        const auto band = [&](int n) { return QRect(0, n * line, image.width(), line); };
        QCOMPARE(firstInk(image, band(0)), -1);
        QVERIFY2(firstInk(image, band(1)) >= image.width() / 2 - 12,
                 qPrintable(QString::number(firstInk(image, band(1)))));
        for (int n = 2; n <= 3; ++n) {
            const int ink = firstInk(image, band(n));
            QVERIFY2(ink >= 0 && ink < 12, qPrintable(QString::number(ink)));
        }
    }

    // The same window comes back while it is open or hidden; once it is closed, even before
    // Qt has deleted it, a new one is made.
    void oneWindowKeepsOneCopyUntilItIsClosed()
    {
        OneWindow<QWidget> kept;
        int made = 0;
        const auto make = [&made] {
            ++made;
            auto *window = new QWidget;
            window->setAttribute(Qt::WA_DeleteOnClose);
            return window;
        };
        QWidget *first = kept.getOrMake(make);
        bringToFront(first);
        QCOMPARE(kept.getOrMake(make), first);
        first->hide();
        QCOMPARE(kept.get(), first);

        bringToFront(first);
        const QPointer<QWidget> closing = first;
        first->close();
        QVERIFY(closing); // deleted later
        QCOMPARE(kept.get(), nullptr);
        QWidget *second = kept.getOrMake(make);
        QVERIFY(second != first);
        QCOMPARE(made, 2);
        QTRY_VERIFY(closing.isNull());
        QCOMPARE(kept.get(), second);
        delete second;
        QCOMPARE(kept.get(), nullptr);
    }

    // A close the window refuses leaves it the one kept.
    void aRefusedCloseKeepsTheWindow()
    {
        struct Stubborn : QWidget
        {
            void closeEvent(QCloseEvent *event) override { event->ignore(); }
        };
        OneWindow<QWidget> kept;
        QWidget *window = kept.getOrMake([] { return new Stubborn; });
        bringToFront(window);
        window->close();
        QCOMPARE(kept.get(), window);
        QCoreApplication::processEvents(); // the next turn of the event loop
        window->hide();
        QCOMPARE(kept.get(), window);
        delete window;
    }
};

MITOON_TEST_MAIN(TestStandIns)
#include "test_standins.moc"
