#include "records/progressiveloader.h"
#include "records/recordformat.h"
#include "records/recordtext.h"
#include "support/recordfiletesting.h"
#include "support/testmain.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using mitoon::ProgressiveLoader;
using mitoon::RecordFile;
using mitoon::RecordText;

namespace {

const RecordText::Limits kLimits;

QStringList numberedLines(int count)
{
    QStringList lines;
    for (int i = 0; i < count; ++i)
        lines << QStringLiteral("#2006-06-09#,\"00:00:%1\",\"0.8\",\"1.2\"").arg(i);
    return lines;
}

QString expectedText(const QStringList &lines)
{
    QPlainTextEdit reference;
    reference.setPlainText(mitoon::recordformat::displayText(lines));
    return reference.toPlainText();
}

} // namespace

class TestProgressiveLoader : public QObject
{
    Q_OBJECT

    QTemporaryDir folder_;
    QString path() const { return folder_.filePath(QStringLiteral("mitoon.txt")); }
    RecordFile file() const { return RecordFile(QStringLiteral("C:\\mitoon.txt"), path()); }
    // The record file holds `lines`.
    bool write(const QStringList &lines) const
    {
        return mitoon::testing::writeBytes(path(),
                                           mitoon::recordformat::displayText(lines).toLatin1());
    }

private slots:
    void shortTextGoesInAtOnce()
    {
        QPlainTextEdit box;
        ProgressiveLoader loader(&box, std::make_unique<RecordText>(file()));
        QSignalSpy finished(&loader, &ProgressiveLoader::finished);
        const QStringList lines = numberedLines(kLimits.firstLines);
        QVERIFY(write(lines));
        loader.load();
        QVERIFY(!loader.loading());
        QCOMPARE(finished.count(), 1);
        QCOMPARE(box.toPlainText(), expectedText(lines));
    }

    void longTextEndsUpExactlyAsLoadedAtOnce()
    {
        QPlainTextEdit box;
        ProgressiveLoader loader(&box, std::make_unique<RecordText>(file()));
        const QStringList lines = numberedLines(3 * kLimits.pieceLines + 7);
        QVERIFY(write(lines));
        loader.load();
        QVERIFY(loader.loading());
        QCOMPARE(box.blockCount(), kLimits.firstLines + 1);
        QSignalSpy finished(&loader, &ProgressiveLoader::finished);
        QVERIFY(finished.wait(5000));
        QCOMPARE(box.toPlainText(), expectedText(lines));
    }

    void userEditsDuringTheLoadStayAndTheLoadIsNoUndoStep()
    {
        QPlainTextEdit box;
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        ProgressiveLoader loader(&box, std::make_unique<RecordText>(file()));
        const QStringList lines = numberedLines(2 * kLimits.pieceLines);
        QVERIFY(write(lines));
        loader.load();
        box.moveCursor(QTextCursor::Start);
        QTest::keyClicks(&box, QStringLiteral("memo "));
        loader.finish();
        QVERIFY(!loader.loading());
        QVERIFY(box.toPlainText().startsWith(QStringLiteral("memo #2006")));
        QVERIFY(box.toPlainText().endsWith(lines.last() + u'\n'));
        // Undo after the load takes nothing that the file put there.
        QTest::keyClicks(&box, QStringLiteral("x"));
        box.undo();
        QVERIFY(box.toPlainText().endsWith(lines.last() + u'\n'));
        QCOMPARE(box.blockCount(), lines.size() + 1);
    }

    void reloadDropsTheLoadGoingOn()
    {
        QPlainTextEdit box;
        ProgressiveLoader loader(&box, std::make_unique<RecordText>(file()));
        QVERIFY(write(numberedLines(3 * kLimits.pieceLines)));
        loader.load();
        const QStringList second = numberedLines(10);
        QVERIFY(write(second));
        loader.load();
        QVERIFY(!loader.loading());
        QTest::qWait(50); // a piece of the first load must not arrive now
        QCOMPARE(box.toPlainText(), expectedText(second));
        QVERIFY(write(numberedLines(3 * kLimits.pieceLines)));
        loader.load();
        loader.show(QStringLiteral("error line"));
        QTest::qWait(50);
        QCOMPARE(box.toPlainText(), QStringLiteral("error line"));
    }
};

MITOON_TEST_MAIN(TestProgressiveLoader)
#include "test_progressiveloader.moc"
