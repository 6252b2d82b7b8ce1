#include "platform/drivepath.h"
#include "platform/formkit.h"
#include "recordfiletesting.h"
#include "records/frmHyouji.h"
#include "records/progressiveloader.h"
#include "records/recordfile.h"
#include "support/isolatedhome.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTimer>

using namespace mitoon;
using mitoon::testing::readBytes;
using mitoon::testing::writeBytes;

namespace {

const QByteArray kLines = "#2006-06-09#,\"14:03:27\",\"0.8\",\"1.2\"\r\n"
                          "#2006-06-09#,\"14:05:00\",,\r\n";
const QString kShownLines = QStringLiteral("#2006-06-09#,\"14:03:27\",\"0.8\",\"1.2\"\n"
                                           "#2006-06-09#,\"14:05:00\",,\n");

QString recordPath()
{
    return drive::localPath(drive::kRecordFile);
}

// The records window as the File menu shows it, once it has the focus in its box.
frmHyouji *showRecords()
{
    frmHyouji *window = frmHyouji::instance();
    window->show();
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window))
        return nullptr;
    QCoreApplication::processEvents();
    return window;
}

void destroyRecords()
{
    if (frmHyouji *window = frmHyouji::loaded())
        window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Moves the focus out of the box and back into it, as a click on a button and then into the
// box would.
void focusAwayAndBack(frmHyouji *window)
{
    window->tojiru->setFocus();
    QCoreApplication::processEvents();
    window->Text->setFocus();
    QCoreApplication::processEvents();
}

} // namespace

// QPlainTextEdit keeps lines, not line ends: the CR LF that follows every line in the box reads
// back from toPlainText() as '\n', so a box of n lines reads as n '\n'-terminated lines.
class TestFrmHyouji : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        destroyRecords();
        QFile::remove(recordPath());
        QDir().mkpath(QFileInfo(recordPath()).path());
    }
    void cleanup() { destroyRecords(); }

    void firstShowLoadsTheFileAsStored()
    {
        QVERIFY(writeBytes(recordPath(), recordformat::headerLine() + kLines));
        QSignalSpy loads(frmHyouji::instance()->Text, &QPlainTextEdit::textChanged);
        frmHyouji *window = showRecords();
        QVERIFY(window);
        QCOMPARE(window->focusWidget(), window->Text);
        // Showing and activating the window is one focus gain: the file is read once.
        QCOMPARE(loads.count(), 1);
        QCOMPARE(window->Text->toPlainText(),
                 u'"' + recordformat::headerText() + QStringLiteral("\"\n") + kShownLines);
    }

    void shownTexts_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("shown");
        QTest::newRow("header only") << recordformat::headerLine()
                                     << u'"' + recordformat::headerText() + QStringLiteral("\"\n");
        QTest::newRow("empty file") << QByteArray() << QString();
        QTest::newRow("CR line ends") << QByteArray("a\rb\r") << QStringLiteral("a\nb\n");
        QTest::newRow("no end on the last line")
            << QByteArray("a\r\nb") << QStringLiteral("a\nb\n");
        QTest::newRow("invalid bytes")
            << QByteArray("\x93\xfa\xff\r\n") << QStringLiteral("日\uFFFD\n");
    }
    void shownTexts()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, shown);
        QVERIFY(writeBytes(recordPath(), bytes));
        frmHyouji *window = showRecords();
        QVERIFY(window);
        QCOMPARE(window->Text->toPlainText(), shown);
    }

    void missingFileShowsAnEmptyBox()
    {
        frmHyouji *window = showRecords();
        QVERIFY(window);
        QCOMPARE(window->Text->toPlainText(), QString());
    }

    void unreadableFileSaysWhyInsideTheBox_data()
    {
        QTest::addColumn<bool>("folderInPlaceOfTheFile");
        QTest::newRow("missing folder") << false;
        QTest::newRow("folder in place of the file") << true;
    }
    void unreadableFileSaysWhyInsideTheBox()
    {
        QFETCH(bool, folderInPlaceOfTheFile);
        if (folderInPlaceOfTheFile)
            QVERIFY(QDir().mkpath(recordPath()));
        else
            QVERIFY(QDir(QFileInfo(recordPath()).path()).removeRecursively());
        frmHyouji *window = showRecords();
        QVERIFY(window);
        const QString text = window->Text->toPlainText();
        QVERIFY2(text.contains(QStringLiteral("を読み込めませんでした")), qPrintable(text));
        QVERIFY(text.contains(drive::kRecordFile));
        QVERIFY(text.contains(recordPath()));
        QVERIFY(!text.contains(u'\n'));
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
        QDir(recordPath()).removeRecursively();
    }

    void everyFocusGainLoadsAfresh()
    {
        QVERIFY(writeBytes(recordPath(), kLines));
        frmHyouji *window = showRecords();
        QVERIFY(window);
        QTest::keyClicks(window->Text, QStringLiteral("typed"));
        QVERIFY(window->Text->toPlainText().contains(QStringLiteral("typed")));
        QVERIFY(!readBytes(recordPath()).contains("typed"));
        focusAwayAndBack(window);
        QCOMPARE(window->Text->toPlainText(), kShownLines);
    }

    void savingWhileOpenShowsAtTheNextFocusGainOnly()
    {
        QVERIFY(writeBytes(recordPath(), kLines));
        frmHyouji *window = showRecords();
        QVERIFY(window);
        const auto clock = [] { return QDateTime(QDate(2026, 12, 9), QTime(14, 3, 27)); };
        QVERIFY(RecordFile::standard().appendRecord("0.8", "1.2", clock).ok);
        QCoreApplication::processEvents();
        QCOMPARE(window->Text->toPlainText(), kShownLines);
        focusAwayAndBack(window);
        QCOMPARE(window->Text->toPlainText(),
                 kShownLines + QStringLiteral("#2026-12-09#,\"14:03:27\",\"0.8\",\"1.2\"\n"));
    }

    void comingBackToTheWindowLoadsAfreshButAMenuDoesNot()
    {
        QVERIFY(writeBytes(recordPath(), kLines));
        frmHyouji *window = showRecords();
        QVERIFY(window);
        const QByteArray later = "#2026-12-09#,\"14:03:27\",\"0.8\",\"1.2\"\r\n";
        QVERIFY(writeBytes(recordPath(), kLines + later));

        // The box's context menu takes and gives back no focus: no load.
        bool menuShown = false;
        QTimer::singleShot(0, window, [&menuShown] {
            if (QWidget *menu = QApplication::activePopupWidget()) {
                menuShown = true;
                menu->close();
            }
        });
        QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, QPoint(5, 5));
        QCoreApplication::sendEvent(window->Text->viewport(), &menuEvent);
        QCoreApplication::processEvents();
        QVERIFY(menuShown);
        QCOMPARE(window->Text->toPlainText(), kShownLines);

        // Another window of the program takes the focus and the user comes back: a load.
        QWidget other;
        other.setFocusPolicy(Qt::StrongFocus);
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        QCOMPARE(window->Text->toPlainText(), kShownLines);
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        QCoreApplication::processEvents();
        QCOMPARE(window->Text->toPlainText(),
                 kShownLines + QStringLiteral("#2026-12-09#,\"14:03:27\",\"0.8\",\"1.2\"\n"));
    }

    void clearHidesTheButtonAndTheBoxWaitsForTheFocus()
    {
        QVERIFY(writeBytes(recordPath(), kLines));
        frmHyouji *window = showRecords();
        QVERIFY(window);
        QTest::mouseClick(window->detaclear, Qt::LeftButton);
        QCOMPARE(readBytes(recordPath()), recordformat::headerLine());
        QCOMPARE(readBytes(recordPath() + QStringLiteral(".bak")), kLines);
        QVERIFY(!window->detaclear->isVisible());
        QCOMPARE(window->Text->toPlainText(), kShownLines);

        QTest::mouseClick(window->Text->viewport(), Qt::LeftButton);
        // The box's focus step runs once the click has been handled.
        QCoreApplication::processEvents();
        QCOMPARE(window->Text->toPlainText(),
                 u'"' + recordformat::headerText() + QStringLiteral("\"\n"));
    }

    void hidingAndShowingKeepsTheButtonHidden()
    {
        frmHyouji *window = showRecords();
        QVERIFY(window);
        QTest::mouseClick(window->detaclear, Qt::LeftButton);
        QTest::mouseClick(window->tojiru, Qt::LeftButton);
        QVERIFY(!window->isVisible());
        QCOMPARE(frmHyouji::loaded(), window);
        QCOMPARE(showRecords(), window);
        QVERIFY(!window->detaclear->isVisible());
    }

    void theCloseBoxDestroysAndTheNextWindowHasTheButtonAgain()
    {
        QPointer<frmHyouji> first = showRecords();
        QVERIFY(first);
        QTest::mouseClick(first->detaclear, Qt::LeftButton);
        first->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(first.isNull());
        QCOMPARE(frmHyouji::loaded(), nullptr);
        frmHyouji *second = showRecords();
        QVERIFY(second);
        QVERIFY(second->detaclear->isVisible());
    }

    void escapeLeavesTheWindowOpen()
    {
        frmHyouji *window = showRecords();
        QVERIFY(window);
        QTest::keyClick(window->tojiru, Qt::Key_Escape);
        QVERIFY(window->isVisible());
    }

    void layout()
    {
        frmHyouji *window = showRecords();
        QVERIFY(window);
        // Client area 5040 × 7815 twips at 10065, 450 on the screen.
        QCOMPARE(window->geometry(), QRect(671, 30, 336, 521));
        QCOMPARE(window->Text->geometry(), QRect(8, 56, 289, 345));
        QCOMPARE(window->detaclear->geometry(), QRect(208, 408, 89, 33));
        QVERIFY(window->print->isDefault());
        // Tab order: the box, then "閉じる", "全ﾃﾞｰﾀｰ削除", "印刷".
        QList<QWidget *> order;
        QWidget *next = window->Text;
        for (int i = 0; i < 4; ++i, next = next->nextInFocusChain()) {
            while (next->focusPolicy() == Qt::NoFocus || next->window() != window)
                next = next->nextInFocusChain();
            order.append(next);
        }
        QCOMPARE(order, (QList<QWidget *>{window->Text, window->tojiru, window->detaclear,
                                          window->print}));
    }

    void aHundredThousandLinesLoad()
    {
        QByteArray bytes = recordformat::headerLine();
        for (int i = 0; i < 100000; ++i)
            bytes += recordformat::recordLine(
                QDateTime(QDate(2006, 6, 9), QTime(0, 0).addSecs(i % 86400)), "0.8", "1.2");
        QVERIFY(writeBytes(recordPath(), bytes));
        frmHyouji *window = showRecords();
        QVERIFY(window);
        QElapsedTimer timer;
        timer.start();
        window->Text_GotFocus();
        const qint64 shown = timer.elapsed();
        // The top of the file is there at once, the rest comes while the window stays usable.
        QCOMPARE(window->Text->document()->firstBlock().text(),
                 u'"' + recordformat::headerText() + u'"');
        QVERIFY(window->loader()->loading());
        QSignalSpy finished(window->loader(), &mitoon::ProgressiveLoader::finished);
        QVERIFY(finished.wait(10000));
        qInfo("100,000 lines (%lld bytes): first lines shown after %lld ms, all in after %lld ms",
              static_cast<long long>(bytes.size()), static_cast<long long>(shown),
              static_cast<long long>(timer.elapsed()));
        // The lines, the header and the empty line after the last line end.
        QCOMPARE(window->Text->blockCount(), 100002);
        QCOMPARE(window->Text->document()->findBlockByNumber(100000).text(),
                 QStringLiteral("#2006-06-09#,\"03:46:39\",\"0.8\",\"1.2\""));
    }
};

int main(int argc, char **argv)
{
    mitoon::testing::isolateHome();
    QApplication app(argc, argv);
    formkit::registerFontSubstitutions();
    TestFrmHyouji test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_frmhyouji.moc"
