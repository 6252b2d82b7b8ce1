#include "records/progressiveloader.h"
#include "records/recordformat.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>

using mitoon::ProgressiveLoader;

namespace {

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
private slots:
    void shortTextGoesInAtOnce()
    {
        QPlainTextEdit box;
        ProgressiveLoader loader(&box);
        QSignalSpy finished(&loader, &ProgressiveLoader::finished);
        const QStringList lines = numberedLines(ProgressiveLoader::kFirstLines);
        loader.load(lines);
        QVERIFY(!loader.loading());
        QCOMPARE(finished.count(), 1);
        QCOMPARE(box.toPlainText(), expectedText(lines));
    }

    void longTextEndsUpExactlyAsLoadedAtOnce()
    {
        QPlainTextEdit box;
        ProgressiveLoader loader(&box);
        const QStringList lines = numberedLines(3 * ProgressiveLoader::kChunkLines + 7);
        loader.load(lines);
        QVERIFY(loader.loading());
        QCOMPARE(box.blockCount(), ProgressiveLoader::kFirstLines + 1);
        QSignalSpy finished(&loader, &ProgressiveLoader::finished);
        QVERIFY(finished.wait(5000));
        QCOMPARE(box.toPlainText(), expectedText(lines));
    }

    void userEditsDuringTheLoadStayAndTheLoadIsNoUndoStep()
    {
        QPlainTextEdit box;
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        ProgressiveLoader loader(&box);
        const QStringList lines = numberedLines(2 * ProgressiveLoader::kChunkLines);
        loader.load(lines);
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
        ProgressiveLoader loader(&box);
        loader.load(numberedLines(3 * ProgressiveLoader::kChunkLines));
        const QStringList second = numberedLines(10);
        loader.load(second);
        QVERIFY(!loader.loading());
        QTest::qWait(50); // a chunk of the first load must not arrive now
        QCOMPARE(box.toPlainText(), expectedText(second));
        loader.load(numberedLines(3 * ProgressiveLoader::kChunkLines));
        loader.show(QStringLiteral("error line"));
        QTest::qWait(50);
        QCOMPARE(box.toPlainText(), QStringLiteral("error line"));
    }
};

QTEST_MAIN(TestProgressiveLoader)
#include "test_progressiveloader.moc"
