#include "platform/drivepath.h"
#include "platform/fonts.h"
#include "platform/formlayout.h"
#include "records/frmHyouji.h"
#include "records/progressiveloader.h"
#include "records/recordfile.h"
#include "records/recordtext.h"
#include "support/isolatedhome.h"
#include "support/layoutcheck.h"
#include "support/recordfiletesting.h"
#include "support/testmain.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QElapsedTimer>
#include <QFontInfo>
#include <QGlyphRun>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRawFont>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <QTimer>

#include <sys/stat.h>

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
        QTest::addColumn<QString>("inPlaceOfTheFile");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing folder")
            << QStringLiteral("no folder")
            << QStringLiteral("そのようなファイルやフォルダーはありません");
        QTest::newRow("folder in place of the file")
            << QStringLiteral("folder") << QStringLiteral("同じ名前のフォルダーがあります");
        const QString notRegular = QStringLiteral("通常のファイルではありません");
        QTest::newRow("FIFO") << QStringLiteral("FIFO") << notRegular;
        QTest::newRow("link to /dev/zero") << QStringLiteral("/dev/zero") << notRegular;
        QTest::newRow("more than 512 MB")
            << QStringLiteral("large") << QStringLiteral("ファイルが大きすぎます");
    }
    void unreadableFileSaysWhyInsideTheBox()
    {
        QFETCH(QString, inPlaceOfTheFile);
        QFETCH(QString, reason);
        const QByteArray local = QFile::encodeName(recordPath());
        if (inPlaceOfTheFile == QStringLiteral("folder"))
            QVERIFY(QDir().mkpath(recordPath()));
        else if (inPlaceOfTheFile == QStringLiteral("no folder"))
            QVERIFY(QDir(QFileInfo(recordPath()).path()).removeRecursively());
        else if (inPlaceOfTheFile == QStringLiteral("FIFO"))
            QCOMPARE(::mkfifo(local.constData(), 0600), 0);
        else if (inPlaceOfTheFile == QStringLiteral("large")) {
            // Sparse: it takes no room on disk.
            QFile large(recordPath());
            QVERIFY(large.open(QIODevice::WriteOnly) && large.resize(513 * 1024 * 1024));
        } else
            QVERIFY(QFile::link(inPlaceOfTheFile, recordPath()));
        frmHyouji *window = showRecords();
        QVERIFY(window);
        const QString text = window->Text->toPlainText();
        QVERIFY2(text.contains(QStringLiteral("を読み込めませんでした")), qPrintable(text));
        QVERIFY(text.contains(drive::kRecordFile));
        QVERIFY(text.contains(recordPath()));
        QVERIFY2(text.contains(reason), qPrintable(text));
        QVERIFY(!text.contains(u'\n'));
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
        QDir(recordPath()).removeRecursively();
        QFile::remove(recordPath());
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

    void anUnchangedFileShowsAgainFromItsTop()
    {
        QByteArray bytes;
        for (int i = 0; i < 200; ++i)
            bytes += kLines;
        QVERIFY(writeBytes(recordPath(), bytes));
        frmHyouji *window = showRecords();
        QVERIFY(window);
        QTRY_VERIFY(!window->loader()->loading());
        const QString shown = window->Text->toPlainText();
        QCOMPARE(shown.count(u'\n'), 400);
        window->Text->moveCursor(QTextCursor::End);
        QVERIFY(window->Text->verticalScrollBar()->value() > 0);
        focusAwayAndBack(window);
        QCOMPARE(window->Text->toPlainText(), shown);
        QCOMPARE(window->Text->textCursor().position(), 0);
        QCOMPARE(window->Text->verticalScrollBar()->value(), 0);
        QVERIFY(!window->Text->document()->isUndoAvailable());
    }

    void savingWhileOpenShowsAtTheNextFocusGainOnly()
    {
        QVERIFY(writeBytes(recordPath(), kLines));
        frmHyouji *window = showRecords();
        QVERIFY(window);
        const auto clock = [] { return QDateTime(QDate(2026, 12, 9), QTime(14, 3, 27)); };
        QVERIFY(RecordFile::standard().appendRecord("0.8", "1.2", clock).ok());
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

    // The box draws the digits and signs of a record line in the layout's Gothic, as its
    // Japanese, with no second face for Latin text.
    void recordLinesAreDrawnInTheGothic()
    {
        QVERIFY(writeBytes(recordPath(), recordformat::headerLine() + kLines));
        frmHyouji *window = showRecords();
        QVERIFY(window);
        QSet<QString> faces;
        for (QTextBlock block = window->Text->document()->firstBlock(); block.length() > 1;
             block = block.next())
            for (const QGlyphRun &run : block.layout()->glyphRuns(0, block.length() - 1))
                faces.insert(run.rawFont().familyName());
        QCOMPARE(faces, QSet<QString>({QRawFont::fromFont(window->Text->font()).familyName()}));
        QCOMPARE(QFontInfo(window->Text->font()).family(), QStringLiteral("IPAPGothic"));
    }

    void layout()
    {
        frmHyouji *window = showRecords();
        QVERIFY(window);
        // Client area 5040 × 7815 twips at 10065, 450 on the screen, moved left so that it lies
        // wholly on the test's screen of 800 pixels across.
        QCOMPARE(window->geometry().size(), QSize(336, 521));
        QCOMPARE(window->geometry().top(), 30);
        QVERIFY(window->screen()->availableGeometry().contains(window->frameGeometry()));
        QCOMPARE(window->Text->geometry(), QRect(8, 56, 289, 345));
        QCOMPARE(window->detaclear->geometry(), QRect(208, 408, 89, 33));
        QVERIFY(window->print->isDefault());
        // Tab order: the box, then "閉じる", "全ﾃﾞｰﾀｰ削除", "印刷".
        using enum formlayout::Kind;
        using fonts::kPGothic;
        const formlayout::Look heading{.alignment = Qt::AlignLeft | Qt::AlignTop,
                                       .background = QColor(227, 227, 227)};
        // clang-format off
        const formlayout::Row expected[] = {
            // name       kind      text           left, top, width, height  font                  tab
            {"Text",      textArea, {},            { 120,  840, 4335, 5175}, {kPGothic, 12},       0},
            {"Label1",    label,    "記録表示",    {1560,  240, 1575,  495}, {kPGothic, 18},       1, heading},
            {"tojiru",    button,   "閉じる",      { 120, 6000, 1695,  615}, {kPGothic, 12, true}, 2},
            {"detaclear", button,   "全ﾃﾞｰﾀｰ削除", {3120, 6120, 1335,  495}, {kPGothic, 9.75},     3},
            {"print",     button,   "印刷",        {2040, 6000,  855,  375}, {kPGothic, 12, true}, 4, {.defaultButton = true}},

        };
        // clang-format on
        const QStringList differences = testing::layoutMismatches(window, expected);
        QVERIFY2(differences.isEmpty(), qPrintable(differences.join(u'\n')));
    }

    // A megabyte of NUL bytes, one line without end: the box takes it in bounded pieces, one
    // per turn of the event loop, in lines of a bounded length, and the window stays usable.
    void aMegabyteOfNulBytesLeavesTheEventLoopTurning()
    {
        QVERIFY(writeBytes(recordPath(), QByteArray(1 << 20, '\0')));
        const RecordText::Limits limits;
        QTimer turn;
        turn.setInterval(0);
        int turnsWhileLoading = 0;
        qsizetype characters = 0;
        qsizetype mostInOneTurn = 0;
        QPlainTextEdit *box = nullptr;
        connect(&turn, &QTimer::timeout, this, [&] {
            if (!box)
                return;
            const qsizetype now = box->document()->characterCount();
            mostInOneTurn = qMax(mostInOneTurn, now - characters);
            characters = now;
            if (frmHyouji::loaded()->loader()->loading())
                ++turnsWhileLoading;
        });
        turn.start();
        frmHyouji *window = frmHyouji::instance();
        box = window->Text;
        characters = box->document()->characterCount();
        QSignalSpy finished(window->loader(), &ProgressiveLoader::finished);
        window->show();
        window->activateWindow();
        QVERIFY(finished.wait(60000));
        turn.stop();
        QVERIFY2(turnsWhileLoading > 50, qPrintable(QString::number(turnsWhileLoading)));
        // One piece at most, with the line breaks of the box.
        QVERIFY2(mostInOneTurn <= limits.pieceCharacters + 2 * limits.pieceLines,
                 qPrintable(QString::number(mostInOneTurn)));
        const QString shown = box->toPlainText();
        QCOMPARE(shown.count(QChar(0)), 1 << 20);
        for (QTextBlock block = box->document()->firstBlock(); block.isValid();
             block = block.next())
            QVERIFY(block.length() <= limits.longestLine + 1);
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

MITOON_TEST_MAIN(TestFrmHyouji)

#include "test_frmhyouji.moc"
