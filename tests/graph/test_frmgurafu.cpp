#include "app/frmMain.h"
#include "app/settings.h"
#include "fileio/shiftjis.h"
#include "graph/acuitygraph.h"
#include "graph/csvexport.h"
#include "graph/frmGurafu.h"
#include "graph/graphscale.h"
#include "platform/drivepath.h"
#include "platform/fonts.h"
#include "precise/preciserecords.h"
#include "records/recordformat.h"
#include "support/isolatedhome.h"
#include "support/modalwatch.h"
#include "support/pdfwords.h"
#include "support/preciseruns.h"
#include "support/printdialog.h"
#include "support/recordfiletesting.h"
#include "support/testmain.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QHelpEvent>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinterInfo>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QToolTip>

#include <cmath>

using namespace mitoon;
using mitoon::testing::readBytes;
using mitoon::testing::writeBytes;

namespace {

// Three records: both eyes, the left eye only, the right eye only.
const QString kRecords = QStringLiteral("#2026-01-10#,\"12:00:00\",\"1\",\"0.5\"\r\n"
                                        "#2026-03-01#,\"12:00:00\",\"0.2\",\r\n"
                                        "#2026-05-20#,\"12:00:00\",,\"2\"\r\n");

QString recordPath()
{
    return drive::localPath(drive::kRecordFile);
}

QString documentsFolder()
{
    return QDir::homePath() + QStringLiteral("/Documents");
}

void writeRecords(const QString &text)
{
    QVERIFY(writeBytes(recordPath(), shiftjis::encode(text).value()));
}

frmGurafu *openGraph()
{
    frmGurafu *window = frmGurafu::open(nullptr);
    if (!QTest::qWaitForWindowExposed(window))
        return nullptr;
    return window;
}

qint64 secondsOf(const QDateTime &at)
{
    return graphscale::startOfDay(at.date()) + at.time().msecsSinceStartOfDay() / 1000;
}

// Where a value must appear, worked out from the plot's frame alone: the time axis runs over
// the span from `first` to `last` (13 pixels inside the frame at both ends when there are
// results of 精密測定), the acuity axis is logarithmic from 0.1 at the bottom to 2.0 at the top.
QPoint expectedAt(const AcuityGraph *graph, const QDateTime &first, const QDateTime &last,
                  const QDateTime &at, double acuity)
{
    const QRectF plot = graph->plotGeometry().plot;
    const double inset = graph->graph().data().hasPrecisePoints() ? 13 : 0;
    const graphscale::Span span = graphscale::timeSpan(secondsOf(first), secondsOf(last));
    const double x =
        plot.left() + inset + span.fraction(secondsOf(at)) * (plot.width() - 2 * inset);
    const double y = plot.bottom() - std::log(acuity / 0.1) / std::log(20.0) * plot.height();
    return QPointF(x, y).toPoint();
}

// The same for the records of kRecords alone.
QPoint expectedAt(const AcuityGraph *graph, const QDate &date, const QTime &time, double acuity)
{
    return expectedAt(graph, QDateTime(QDate(2026, 1, 10), QTime(12, 0)),
                      QDateTime(QDate(2026, 5, 20), QTime(12, 0)), QDateTime(date, time), acuity);
}

// The markers of 精密測定 stand 6 pixels beside their moment: the left eye's left, the right
// eye's right.
QPoint beside(QPoint at, precise::Eye eye)
{
    return at + QPoint(eye == precise::Eye::Left ? -6 : 6, 0);
}

QString runsPath()
{
    return drive::localPath(precise::kRunsFile);
}

// The runs file as 精密測定 writes it, and then `extra` as it is.
void writeRuns(const QList<precise::StoredRun> &runs, const QByteArray &extra = {})
{
    QByteArray bytes = precise::runsHeader();
    for (const precise::StoredRun &run : runs)
        bytes += precise::runLine(run);
    QVERIFY(writeBytes(runsPath(), bytes + extra));
}

const QDateTime kEarliestRun(QDate(2025, 12, 20), QTime(12, 0));
const QDateTime kLatestRun(QDate(2026, 6, 30), QTime(12, 0));

// Before, between and after the records: left 1.0 and 0.32, right 0.5.
QList<precise::StoredRun> threeRuns()
{
    return {testing::storedRun(kEarliestRun, precise::Eye::Left, 0.0, -0.1, 0.1),
            testing::storedRun(QDateTime(QDate(2026, 4, 1), QTime(12, 0)), precise::Eye::Left, 0.5,
                               0.4, 0.6),
            testing::storedRun(kLatestRun, precise::Eye::Right, 0.3, 0.2, 0.4)};
}

bool isBlue(QRgb c)
{
    return qBlue(c) > 170 && qRed(c) < 90 && qGreen(c) < 130;
}

bool isRed(QRgb c)
{
    return qRed(c) > 170 && qGreen(c) < 90 && qBlue(c) < 90;
}

// The marker's colour at its centre: the pixel there and its four neighbours agree.
bool centreIs(const QImage &image, QPoint at, bool (*colour)(QRgb))
{
    for (const QPoint d : {QPoint(0, 0), QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)})
        if (!colour(image.pixel(at + d)))
            return false;
    return true;
}

// The shades of 精密測定, apart from the classic test's brighter blue and red.
bool isDarkBlue(QRgb c)
{
    return qBlue(c) > 100 && qBlue(c) < 165 && qRed(c) < 40 && qGreen(c) < 70;
}

bool isDarkRed(QRgb c)
{
    return qRed(c) > 115 && qRed(c) < 170 && qGreen(c) < 40 && qBlue(c) < 70;
}

int countPixels(const QImage &image, const QRect &area, bool (*colour)(QRgb))
{
    int n = 0;
    const QRect inside = area & image.rect();
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            n += colour(image.pixel(x, y));
    return n;
}

// Pixels inside a shape of `colour`, with its four neighbours of the same: not the smoothed
// edge of a shape of another colour, which can pass for it.
int countSolid(const QImage &image, const QRect &area, bool (*colour)(QRgb))
{
    int n = 0;
    const QRect inside = area & image.rect().adjusted(1, 1, -1, -1);
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            n += centreIs(image, QPoint(x, y), colour);
    return n;
}

QImage painted(const GraphPainter &graph, QSize size)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::lightGray);
    QPainter painter(&image);
    graph.paint(painter, QRectF(QPointF(0, 0), size));
    painter.end();
    return image;
}

QStringList wordTexts(const QList<testing::PdfWord> &words)
{
    QStringList texts;
    for (const testing::PdfWord &word : words)
        texts.append(word.text);
    return texts;
}

} // namespace

class TestFrmGurafu : public QObject
{
    Q_OBJECT

    QTemporaryDir temporary_;

private slots:
    void init()
    {
        QFile::remove(recordPath());
        QFile::remove(runsPath());
        QDir(runsPath()).removeRecursively();
        QDir().mkpath(QFileInfo(recordPath()).path());
    }

    void cleanup()
    {
        if (frmGurafu *window = frmGurafu::loaded())
            window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!frmGurafu::loaded());
        QDir(documentsFolder()).removeRecursively();
        QDir(recordPath()).removeRecursively();
    }

    void eachEyeIsDrawnInItsColourWhereItsValuesBelong()
    {
        writeRecords(kRecords);
        frmGurafu *window = openGraph();
        QVERIFY(window);
        QCOMPARE(window->windowTitle(), QStringLiteral("記録のグラフ"));
        const QImage image = window->gurafu->grab().toImage();
        QCOMPARE(image.size(), window->gurafu->size());
        const QTime noon(12, 0);
        const QPoint both1 = expectedAt(window->gurafu, QDate(2026, 1, 10), noon, 1.0);
        const QPoint both05 = expectedAt(window->gurafu, QDate(2026, 1, 10), noon, 0.5);
        const QPoint leftOnly = expectedAt(window->gurafu, QDate(2026, 3, 1), noon, 0.2);
        const QPoint rightOnly = expectedAt(window->gurafu, QDate(2026, 5, 20), noon, 2.0);
        QVERIFY(centreIs(image, both1, isBlue));
        QVERIFY(centreIs(image, both05, isRed));
        QVERIFY(centreIs(image, leftOnly, isBlue));
        QVERIFY(centreIs(image, rightOnly, isRed)); // 2.0 sits on the top edge
        // The left eye was not measured in the last record: no blue anywhere above that date.
        const QRect plot = window->gurafu->plotGeometry().plot.toRect();
        for (int y = plot.top() - 4; y <= plot.bottom() + 4; ++y)
            QVERIFY2(!isBlue(image.pixel(rightOnly.x(), y)), qPrintable(QString::number(y)));
        // Nor is there a red point at the left eye's only record: the red line passes above it.
        QVERIFY(!isRed(image.pixel(leftOnly)));
    }

    void pointingAtAPointShowsItsDateTimeAndValue()
    {
        writeRecords(kRecords);
        frmGurafu *window = openGraph();
        QVERIFY(window);
        const QTime noon(12, 0);
        const QPoint leftOnly = expectedAt(window->gurafu, QDate(2026, 3, 1), noon, 0.2);
        const QPoint rightOnly = expectedAt(window->gurafu, QDate(2026, 5, 20), noon, 2.0);

        QTest::mouseMove(window->gurafu, leftOnly + QPoint(3, -2));
        QTRY_COMPARE(window->lblTen->text(),
                     QStringLiteral("2026-03-01 12:00:00　左目 0.2（logMAR 0.70）"));
        QTest::mouseClick(window->gurafu, Qt::LeftButton, {}, rightOnly);
        QTest::mouseMove(window->gurafu, QPoint(window->gurafu->width() / 2, 2));
        // Away from the points, the clicked one stays on view.
        QTRY_COMPARE(window->lblTen->text(),
                     QStringLiteral("2026-05-20 12:00:00　右目 2.0（logMAR -0.30）"));
        // The arrow keys step through the chosen eye's points; Up and Down change eyes.
        QTest::keyClick(window->gurafu, Qt::Key_Left);
        QCOMPARE(window->lblTen->text(),
                 QStringLiteral("2026-01-10 12:00:00　右目 0.5（logMAR 0.30）"));
        QTest::keyClick(window->gurafu, Qt::Key_Up);
        QCOMPARE(window->lblTen->text(),
                 QStringLiteral("2026-01-10 12:00:00　左目 1.0（logMAR 0.00）"));
        QTest::keyClick(window->gurafu, Qt::Key_End);
        QCOMPARE(window->lblTen->text(),
                 QStringLiteral("2026-03-01 12:00:00　左目 0.2（logMAR 0.70）"));
        // A click beside every point lets go of the chosen one.
        QTest::mouseClick(window->gurafu, Qt::LeftButton, {},
                          QPoint(window->gurafu->width() / 2, 2));
        QTRY_COMPARE(window->lblTen->text(), QStringLiteral("点にマウスを合わせるかクリックすると、"
                                                            "その日時と視力が出ます。"));
    }

    void skippedLinesAreCountedAndNamed()
    {
        // The header, a blank line, text typed by the user in Shift-JIS, a broken date.
        writeRecords(u'"' + recordformat::headerText() + QStringLiteral("\"\r\n\r\n") +
                     QStringLiteral("右目がかすむ\r\n#2026-02-30#,\"12:00:00\",\"1\",\"1\"\r\n") +
                     kRecords);
        frmGurafu *window = openGraph();
        QVERIFY(window);
        QCOMPARE(window->lblKiroku->text(),
                 QStringLiteral("記録 3 件（左目 2 点、右目 2 点）。飛ばした行 4 行（空の行 1、"
                                "見出しの行 1、記録の形ではない行 1、日付が読めない行 1）。"));
        QCOMPARE(window->lblKiroku->toolTip(),
                 QStringLiteral("1 行目: 見出しの行\n2 行目: 空の行\n3 行目: 記録の形ではない行\n"
                                "4 行目: 日付が読めない行"));
        QCOMPARE(int(window->gurafu->graph().points(recordseries::Eye::Hidari).size()), 2);
    }

    void graphWithoutPointsSaysWhy_data()
    {
        QTest::addColumn<QByteArray>("bytes"); // empty: no file at all
        QTest::addColumn<bool>("folderInTheWay");
        QTest::addColumn<QString>("sentence");
        QTest::addColumn<bool>("exportable");
        const QString saveHint = QStringLiteral("検査の結果を保存すると、ここにグラフが出ます。");
        QTest::newRow("no file") << QByteArray() << false
                                 << QStringLiteral("記録ファイルはまだありません。") + saveHint
                                 << false;
        QTest::newRow("header only")
            << recordformat::headerLine() << false
            << QStringLiteral("記録ファイルには、まだ記録がありません。") + saveHint << false;
        QTest::newRow("no measured eye")
            << QByteArray("#2026-12-09#,\"12:17:01\",,\r\n") << false
            << QStringLiteral("記録には、まだ視力の値がありません。") << true;
        QTest::newRow("unreadable")
            << QByteArray() << true << QStringLiteral("を読み込めませんでした") << false;
    }

    void graphWithoutPointsSaysWhy()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, folderInTheWay);
        QFETCH(QString, sentence);
        QFETCH(bool, exportable);
        if (folderInTheWay)
            QVERIFY(QDir().mkpath(recordPath()));
        else if (!bytes.isEmpty())
            QVERIFY(writeBytes(recordPath(), bytes));
        frmGurafu *window = openGraph();
        QVERIFY(window);
        const GraphPainter &graph = window->gurafu->graph();
        QVERIFY(!graph.hasPoints());
        QVERIFY2(graph.message().contains(sentence), qPrintable(graph.message()));
        QCOMPARE(window->csvkakidasi->isEnabled(), exportable);
        // The sentence is written across the middle of the plot.
        const QImage image = window->gurafu->grab().toImage();
        const QRect plot = window->gurafu->plotGeometry().plot.toRect();
        int dark = 0;
        for (int x = plot.left() + 1; x < plot.right(); ++x)
            for (int y = plot.center().y() - 30; y < plot.center().y() + 30; ++y)
                dark += qGray(image.pixel(x, y)) < 100;
        QVERIFY2(dark > 100, qPrintable(QString::number(dark)));
        // Nothing was created or written.
        QCOMPARE(QFileInfo::exists(recordPath()), !bytes.isEmpty() || folderInTheWay);
        if (!bytes.isEmpty())
            QCOMPARE(readBytes(recordPath()), bytes);
    }

    void theMenuOpensOneWindowAndReadsTheFileAgain()
    {
        writeRecords(kRecords);
        Settings settings(temporary_.filePath(QStringLiteral("settings.ini")));
        frmMain main(settings);
        main.setAttribute(Qt::WA_DeleteOnClose, false);
        QMenu *file = main.menuBar()->actions().value(0)->menu();
        QVERIFY(file);
        QStringList items;
        for (const QAction *action : file->actions())
            items.append(action->isSeparator() ? QStringLiteral("-") : action->text());
        // The start-up created no graph window.
        QVERIFY(!frmGurafu::loaded());
        const int at = int(items.indexOf(QStringLiteral("記録のグラフ")));
        QCOMPARE(items.mid(0, at + 1),
                 (QStringList{"記録を見る", "-", "結果を保存", "-", "記録のグラフ"}));
        QCOMPARE(items.mid(items.size() - 2), (QStringList{"-", "終了"}));

        file->actions()[at]->trigger();
        frmGurafu *first = frmGurafu::loaded();
        QVERIFY(first);
        QVERIFY(QTest::qWaitForWindowExposed(first));
        QVERIFY(first->isWindow() && !first->parentWidget()); // modeless, without an owner
        QVERIFY(!first->isModal());
        QVERIFY(main.screen()->availableGeometry().contains(first->geometry()));
        QVERIFY(first->lblKiroku->text().startsWith(QStringLiteral("記録 3 件")));

        QFile append(recordPath());
        QVERIFY(append.open(QIODevice::Append));
        append.write("#2026-06-01#,\"09:00:00\",\"1.2\",\"1.2\"\r\n");
        append.close();
        file->actions()[at]->trigger();
        QCOMPARE(frmGurafu::loaded(), first);
        QVERIFY(first->lblKiroku->text().startsWith(QStringLiteral("記録 4 件")));
    }

    void csvGoesWhereTheUserSaysAndReadsBackInACsvReader()
    {
        QVERIFY(QDir().mkpath(documentsFolder()));
        writeRecords(kRecords + QStringLiteral("#2026-06-01#,\"09:00:00\",\"1,2\",\"0.8\"\r\n"));
        const QByteArray recordBytes = readBytes(recordPath());
        frmGurafu *window = openGraph();
        QVERIFY(window);
        const QString csv = temporary_.filePath(QStringLiteral("records.csv"));
        QString proposed;
        bool typed = false;
        testing::whenModal([&](QWidget *modal) {
            auto *dialog = qobject_cast<QFileDialog *>(modal);
            if (!dialog) {
                modal->close();
                return;
            }
            proposed = dialog->selectedFiles().value(0);
            // Typed into the name box, as a user would; selectFile() leaves the box alone
            // while it has the focus.
            auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
            typed = name != nullptr;
            if (name)
                name->setText(csv);
            static_cast<QDialog *>(dialog)->accept(); // QFileDialog::accept checks the name
        });
        QTest::mouseClick(window->csvkakidasi, Qt::LeftButton);
        QCOMPARE(proposed, documentsFolder() + QStringLiteral("/mitoon-records.csv"));
        QVERIFY(typed);
        QVERIFY(QFileInfo::exists(csv));
        QVERIFY(window->lblTen->text().contains(QStringLiteral("書き出しました")));

        QProcess python;
        python.start(QStringLiteral("python3"),
                     {QStringLiteral("-c"),
                      QStringLiteral("import csv, json, sys\n"
                                     "with open(sys.argv[1], encoding='utf-8-sig', newline='') "
                                     "as f:\n"
                                     "    print(json.dumps(list(csv.reader(f))))"),
                      csv});
        QVERIFY(python.waitForFinished(30000));
        QCOMPARE(python.exitCode(), 0);
        const QJsonArray rows = QJsonDocument::fromJson(python.readAllStandardOutput()).array();
        QCOMPARE(rows.size(), 5);
        const QStringList expected[] = {
            {"日付", "時刻", "左目", "右目", "左目logMAR", "右目logMAR"},
            {"2026-01-10", "12:00:00", "1", "0.5", "0.00", "0.30"},
            {"2026-03-01", "12:00:00", "0.2", "", "0.70", ""},
            {"2026-05-20", "12:00:00", "", "2", "", "-0.30"},
            {"2026-06-01", "09:00:00", "1.2", "0.8", "-0.08", "0.10"},
        };
        for (qsizetype i = 0; i < rows.size(); ++i) {
            QStringList row;
            for (const QJsonValue &field : rows[i].toArray())
                row.append(field.toString());
            QCOMPARE(row, expected[i]);
        }
        QCOMPARE(readBytes(recordPath()), recordBytes);
    }

    void csvFailuresAreToldAndTheRecordFileIsNoTarget()
    {
        writeRecords(kRecords);
        const QByteArray recordBytes = readBytes(recordPath());
        frmGurafu *window = openGraph();
        QVERIFY(window);
        for (const QString &target :
             {temporary_.filePath(QStringLiteral("no-such-folder/records.csv")), recordPath()}) {
            QString told;
            testing::whenModal([&](QWidget *modal) {
                if (auto *box = qobject_cast<QMessageBox *>(modal))
                    told = box->text();
                modal->close();
            });
            QVERIFY(!window->exportCsv(target));
            QVERIFY2(told.contains(QStringLiteral("書き出せませんでした")) ||
                         told.contains(QStringLiteral("記録ファイルなので")),
                     qPrintable(told));
        }
        QCOMPARE(readBytes(recordPath()), recordBytes);
    }

    void printsALandscapePageToPdfWithoutAPrinter()
    {
        if (!QPrinterInfo::availablePrinterNames().isEmpty())
            QSKIP("a printer is installed; the dialog would print on paper");
        QVERIFY(QDir().mkpath(documentsFolder()));
        writeRecords(kRecords);
        const QByteArray recordBytes = readBytes(recordPath());
        frmGurafu *window = openGraph();
        QVERIFY(window);
        bool printToFileOffered = false;
        testing::acceptPrintDialog(printToFileOffered);
        QTest::mouseClick(window->print, Qt::LeftButton);
        QVERIFY(printToFileOffered);
        const auto words =
            testing::readPdfWords(documentsFolder() + QStringLiteral("/mitoon-graph.pdf"));
        QVERIFY(words);
        const QStringList texts = wordTexts(*words);
        // pdftotext splits Japanese runs into words of its own choosing.
        const QString joined = texts.join(QString());
        for (const char *expected : {"記録のグラフ", "記録3件", "視力", "logMAR", "左目", "右目"})
            QVERIFY2(joined.contains(QString::fromUtf8(expected)),
                     qPrintable(expected + QStringLiteral(" not in ") + texts.join(u' ')));
        for (const char *expected : {"0.1", "2.0", "-0.3", "2026-02", "2026-05"})
            QVERIFY2(texts.contains(QString::fromUtf8(expected)),
                     qPrintable(expected + QStringLiteral(" not in ") + texts.join(u' ')));
        // A word beyond the width of a portrait A4 or Letter page: the page lies on its side.
        double right = 0;
        for (const testing::PdfWord &word : *words)
            right = std::max(right, word.xMax);
        QVERIFY2(right > 620, qPrintable(QString::number(right)));
        QCOMPARE(readBytes(recordPath()), recordBytes);
    }

    // As in the records window: a print that fails is told, naming its file.
    void aFailedPrintIsTold()
    {
        writeRecords(kRecords);
        frmGurafu *window = openGraph();
        QVERIFY(window);
        bool printed = true;
        const QString told = testing::toldOfFailedPrint(
            temporary_.filePath(QStringLiteral("no-such-folder/graph.pdf")),
            [window](QPrinter &printer) { return window->printTo(printer); }, printed);
        QVERIFY(!printed);
        QVERIFY2(told.contains(QStringLiteral("に印刷できませんでした")) &&
                     told.contains(QStringLiteral("no-such-folder/graph.pdf")),
                 qPrintable(told));
    }

    void everyTextFitsItsControl()
    {
        writeRecords(kRecords);
        frmGurafu *window = openGraph();
        QVERIFY(window);
        for (const QPushButton *button : {window->print, window->csvkakidasi, window->tojiru}) {
            QVERIFY2(button->width() >= button->sizeHint().width(), qPrintable(button->text()));
            QVERIFY(button->height() >= button->sizeHint().height());
        }
        for (const QLabel *label : {window->lblKiroku, window->lblTen})
            QVERIFY(label->height() >= label->heightForWidth(label->width()));
        // At its smallest the window still shows every caption whole.
        window->resize(window->minimumSizeHint());
        QCoreApplication::processEvents();
        QVERIFY(window->csvkakidasi->width() >= window->csvkakidasi->sizeHint().width());
        QVERIFY(window->tojiru->geometry().right() < window->width());
    }

    void aHundredThousandLinesKeepTheirFirstAndLastPoints()
    {
        QString text;
        text.reserve(100000 * 40);
        QDate date(1800, 1, 1);
        for (int i = 0; i < 100000; ++i, date = date.addDays(1))
            text += u'#' + date.toString(u"yyyy-MM-dd") + QStringLiteral("#,\"08:00:00\",\"") +
                    (i % 2 ? QStringLiteral("0.5") : QStringLiteral("0.6")) +
                    QStringLiteral("\",\"1.2\"\r\n");
        // The first and last records stand apart from all the others.
        text.prepend(QStringLiteral("#1799-12-31#,\"08:00:00\",\"2\",\"0.1\"\r\n"));
        text += u'#' + date.toString(u"yyyy-MM-dd") +
                QStringLiteral("#,\"08:00:00\",\"2\",\"0.1\"\r\n");
        writeRecords(text);
        frmGurafu *window = openGraph();
        QVERIFY(window);
        QCOMPARE(window->gurafu->graph().series().records.size(), 100002);
        const QImage image = window->gurafu->grab().toImage();
        const GraphPainter::Geometry geometry = window->gurafu->plotGeometry();
        const auto &left = window->gurafu->graph().points(recordseries::Eye::Hidari);
        const auto &right = window->gurafu->graph().points(recordseries::Eye::Migi);
        // Circles of the left eye over the squares of the right: the right eye's first and last
        // points (0.1, at the bottom) and the left eye's (2.0, at the top).
        QVERIFY(centreIs(image, geometry.position(left.front()).toPoint(), isBlue));
        QVERIFY(centreIs(image, geometry.position(left.back()).toPoint(), isBlue));
        QVERIFY(centreIs(image, geometry.position(right.front()).toPoint(), isRed));
        QVERIFY(centreIs(image, geometry.position(right.back()).toPoint(), isRed));
    }

    void bothKindsAreDrawnApartAndCounted()
    {
        writeRecords(kRecords);
        writeRuns(threeRuns(), "2026-12-10,21:03:05,右目,壊れた行\r\n");
        frmGurafu *window = openGraph();
        QVERIFY(window);
        QCOMPARE(window->lblKiroku->text(),
                 QStringLiteral("記録 3 件（左目 2 点、右目 2 点）。精密測定 3 回（左目 2 回、右目 "
                                "1 回）。精密測定の記録で飛ばした行 1 行。"));
        const GraphPainter &graph = window->gurafu->graph();
        QCOMPARE(int(graph.points(recordseries::Eye::Hidari).size()), 2);
        QCOMPARE(int(graph.points(recordseries::Eye::Migi).size()), 2);
        QCOMPARE(int(graph.points(recordseries::Eye::Hidari, SeriesKind::Precise).size()), 2);
        QCOMPARE(int(graph.points(recordseries::Eye::Migi, SeriesKind::Precise).size()), 1);
        // The time axis runs from the earliest run to the latest, both beyond the records.
        const graphscale::Span span = window->gurafu->plotGeometry().span;
        const graphscale::Span expected =
            graphscale::timeSpan(secondsOf(kEarliestRun), secondsOf(kLatestRun));
        QCOMPARE(span.from, expected.from);
        QCOMPARE(span.to, expected.to);

        const QImage image = window->gurafu->grab().toImage();
        const auto at = [&](const QDateTime &when, double acuity) {
            return expectedAt(window->gurafu, kEarliestRun, kLatestRun, when, acuity);
        };
        const QTime noon(12, 0);
        QVERIFY(centreIs(image, at(QDateTime(QDate(2026, 1, 10), noon), 1.0), isBlue));
        QVERIFY(centreIs(image, at(QDateTime(QDate(2026, 1, 10), noon), 0.5), isRed));
        QVERIFY(centreIs(image, at(QDateTime(QDate(2026, 3, 1), noon), 0.2), isBlue));
        const QPoint firstLeft = beside(at(kEarliestRun, 1.0), precise::Eye::Left);
        const QPoint secondLeft = beside(
            at(QDateTime(QDate(2026, 4, 1), noon), std::pow(10.0, -0.5)), precise::Eye::Left);
        const QPoint right = beside(at(kLatestRun, 0.5), precise::Eye::Right);
        QVERIFY(centreIs(image, firstLeft, isDarkBlue));
        QVERIFY(centreIs(image, secondLeft, isDarkBlue));
        QVERIFY(centreIs(image, right, isDarkRed));
        // Each interval is a bar through its marker, up to the better end (logMAR -0.1 for the
        // first run, 1.26) and down to the worse (logMAR 0.1, 0.79).
        for (const double acuity : {1.2, 0.83})
            QVERIFY(countPixels(image, QRect(firstLeft.x() - 1, at(kEarliestRun, acuity).y(), 3, 1),
                                isDarkBlue) > 0);
        QCOMPARE(countPixels(image, QRect(firstLeft.x() - 1, at(kEarliestRun, 1.4).y(), 3, 1),
                             isDarkBlue),
                 0);
        // No line joins the two results of the left eye.
        for (int i = 1; i < 10; ++i) {
            const QPoint between = firstLeft + (secondLeft - firstLeft) * i / 10;
            QVERIFY2(!isDarkBlue(image.pixel(between)), qPrintable(QString::number(i)));
        }
    }

    void graphWithOnlyRunsShowsThem()
    {
        writeRuns({testing::storedRun(kLatestRun, precise::Eye::Right, 0.3, 0.2, 0.4)});
        frmGurafu *window = openGraph();
        QVERIFY(window);
        QCOMPARE(window->lblKiroku->text(),
                 QStringLiteral("記録 0 件（左目 0 点、右目 0 点）。精密測定 1 回（左目 0 回、右目 "
                                "1 回）。"));
        QVERIFY(window->gurafu->graph().hasPoints());
        QVERIFY(!window->csvkakidasi->isEnabled()); // the CSV file holds records only
        const QImage image = window->gurafu->grab().toImage();
        QVERIFY(centreIs(image,
                         beside(expectedAt(window->gurafu, kLatestRun, kLatestRun, kLatestRun, 0.5),
                                precise::Eye::Right),
                         isDarkRed));
        // No sentence across the plot: the graph has a point.
        const QRect plot = window->gurafu->plotGeometry().plot.toRect();
        int dark = 0;
        for (int x = plot.left() + 1; x < plot.center().x() - 20; ++x)
            for (int y = plot.center().y() - 30; y < plot.center().y() + 30; ++y)
                dark += qGray(image.pixel(x, y)) < 100;
        QCOMPARE(dark, 0);
    }

    // Both eyes measured one after the other, to the same value: side by side, each reached by
    // the mouse.
    void bothEyesOfOneSittingStandSideBySide()
    {
        // Late in the evening: the right eye's star stands beside the end of the time axis.
        const QDateTime first(QDate(2026, 12, 10), QTime(23, 58, 5));
        const QDateTime second = first.addSecs(40);
        writeRuns({testing::storedRun(first, precise::Eye::Right, 0.3, 0.2, 0.4),
                   testing::storedRun(second, precise::Eye::Left, 0.3, 0.2, 0.4)});
        frmGurafu *window = openGraph();
        QVERIFY(window);
        const QImage image = window->gurafu->grab().toImage();
        const QPoint right =
            beside(expectedAt(window->gurafu, first, second, first, 0.5), precise::Eye::Right);
        const QPoint left =
            beside(expectedAt(window->gurafu, first, second, second, 0.5), precise::Eye::Left);
        QVERIFY2(right.x() - left.x() >= 10,
                 qPrintable(QStringLiteral("%1 %2").arg(left.x()).arg(right.x())));
        QVERIFY(centreIs(image, right, isDarkRed));
        QVERIFY(centreIs(image, left, isDarkBlue));
        for (const auto &[at, eye] : {std::pair(left, "左目"), std::pair(right, "右目")}) {
            QTest::mouseMove(window->gurafu, at);
            QTRY_VERIFY2(window->lblTen->text().contains(QStringLiteral("精密測定 ") +
                                                         QString::fromUtf8(eye)),
                         qPrintable(window->lblTen->text()));
        }
    }

    // The texts themselves are tabled with the series; here the window shows one on hover, in
    // the tooltip and after a click.
    void pointingAtARunShowsItsValueAndInterval()
    {
        const precise::StoredRun run =
            testing::storedRun(QDateTime(QDate(2026, 3, 15), QTime(21, 3, 5)), precise::Eye::Left,
                               -0.2, -0.28, -0.12, precise::RangeLimit::None, true);
        const QString text = QStringLiteral("2026-03-15 21:03:05　精密測定 左目 1.6（logMAR -0.20、"
                                            "95 % -0.28～-0.12）　画面未校正");
        writeRecords(kRecords);
        writeRuns({run});
        frmGurafu *window = openGraph();
        QVERIFY(window);
        QString shown;
        connect(window->gurafu, &AcuityGraph::pointShown, this,
                [&shown](const QString &t) { shown = t; });
        const QPoint at = beside(expectedAt(window->gurafu, run.finished.date(),
                                            run.finished.time(), run.result.decimal),
                                 run.result.eye);
        QTest::mouseMove(window->gurafu, at + QPoint(2, 2));
        QTRY_COMPARE(window->lblTen->text(), text);
        QCOMPARE(shown, text);
        QHelpEvent help(QEvent::ToolTip, at, window->gurafu->mapToGlobal(at));
        QCoreApplication::sendEvent(window->gurafu, &help);
        QTRY_COMPARE(QToolTip::text(), text);
        QToolTip::hideText();
        // Clicked, it stays on view when the mouse leaves it.
        QTest::mouseClick(window->gurafu, Qt::LeftButton, {}, at);
        QTest::mouseMove(window->gurafu, QPoint(window->gurafu->width() / 2, 2));
        QTRY_COMPARE(window->lblTen->text(), text);
        QCOMPARE(window->gurafu->chosen()->kind, SeriesKind::Precise);
    }

    void aResultAtALimitHasAnArrowTowardsWhereTheAcuityMayLie_data()
    {
        QTest::addColumn<int>("limit");
        QTest::addColumn<bool>("up");
        QTest::addColumn<bool>("down");
        QTest::newRow("within the range") << int(precise::RangeLimit::None) << false << false;
        QTest::newRow("at least (finest)") << int(precise::RangeLimit::Finest) << true << false;
        QTest::newRow("at most (coarsest)") << int(precise::RangeLimit::Coarsest) << false << true;
    }

    void aResultAtALimitHasAnArrowTowardsWhereTheAcuityMayLie()
    {
        QFETCH(int, limit);
        QFETCH(bool, up);
        QFETCH(bool, down);
        // Alone on the graph, between grid lines: 0.35 at noon of its only day.
        const QDateTime noon(QDate(2026, 3, 15), QTime(12, 0));
        writeRuns({testing::storedRun(noon, precise::Eye::Left, -std::log10(0.35), 0.40, 0.51,
                                      precise::RangeLimit(limit))});
        frmGurafu *window = openGraph();
        QVERIFY(window);
        const QImage image = window->gurafu->grab().toImage();
        const QPoint at =
            beside(expectedAt(window->gurafu, noon, noon, noon, 0.35), precise::Eye::Left);
        QVERIFY(centreIs(image, at, isDarkBlue));
        // The arrow's head is right of the marker, on the side the arrow points to.
        const auto bluish = [](QRgb c) { return qBlue(c) > qRed(c) + 40; };
        const auto anyBluish = [&](const QRect &area) {
            for (int y = area.top(); y <= area.bottom(); ++y)
                for (int x = area.left(); x <= area.right(); ++x)
                    if (bluish(image.pixel(at + QPoint(x, y))))
                        return true;
            return false;
        };
        QCOMPARE(anyBluish(QRect(QPoint(5, -4), QPoint(6, -2))), up);
        QCOMPARE(anyBluish(QRect(QPoint(5, 2), QPoint(6, 4))), down);
        QCOMPARE(anyBluish(QRect(QPoint(7, -6), QPoint(11, 6))), up || down);
    }

    void arrowKeysVisitEverySeries()
    {
        writeRecords(kRecords);
        const QDateTime march(QDate(2026, 3, 15), QTime(9, 0));
        writeRuns({testing::storedRun(QDateTime(QDate(2026, 2, 1), QTime(9, 0)), precise::Eye::Left,
                                      0.0, -0.1, 0.1),
                   testing::storedRun(QDateTime(QDate(2026, 4, 1), QTime(9, 0)), precise::Eye::Left,
                                      0.1, 0.0, 0.2),
                   testing::storedRun(march, precise::Eye::Right, 0.3, 0.2, 0.4)});
        frmGurafu *window = openGraph();
        QVERIFY(window);
        const QPoint leftOnly =
            expectedAt(window->gurafu, QDateTime(QDate(2026, 1, 10), QTime(12, 0)),
                       QDateTime(QDate(2026, 5, 20), QTime(12, 0)),
                       QDateTime(QDate(2026, 3, 1), QTime(12, 0)), 0.2);
        QTest::mouseClick(window->gurafu, Qt::LeftButton, {}, leftOnly);
        QTRY_COMPARE(window->lblTen->text(),
                     QStringLiteral("2026-03-01 12:00:00　左目 0.2（logMAR 0.70）"));
        QTest::mouseMove(window->gurafu, QPoint(window->gurafu->width() / 2, 2));
        // Down: the next series, at its point nearest in time; Left and Right within it.
        const QStringList steps[] = {
            {"Down", "2026-01-10 12:00:00　右目 0.5（logMAR 0.30）"},
            {"Down", "2026-02-01 09:00:00　精密測定 左目 1.0（logMAR 0.00、95 % -0.10～0.10）"},
            {"Right", "2026-04-01 09:00:00　精密測定 左目 0.79（logMAR 0.10、95 % 0.00～0.20）"},
            {"Right", "2026-04-01 09:00:00　精密測定 左目 0.79（logMAR 0.10、95 % 0.00～0.20）"},
            {"Down", "2026-03-15 09:00:00　精密測定 右目 0.50（logMAR 0.30、95 % 0.20～0.40）"},
            {"Down", "2026-03-01 12:00:00　左目 0.2（logMAR 0.70）"},
            {"Up", "2026-03-15 09:00:00　精密測定 右目 0.50（logMAR 0.30、95 % 0.20～0.40）"},
            {"Up", "2026-04-01 09:00:00　精密測定 左目 0.79（logMAR 0.10、95 % 0.00～0.20）"},
            {"Home", "2026-02-01 09:00:00　精密測定 左目 1.0（logMAR 0.00、95 % -0.10～0.10）"},
        };
        const QMap<QString, Qt::Key> keys = {{"Down", Qt::Key_Down},
                                             {"Up", Qt::Key_Up},
                                             {"Right", Qt::Key_Right},
                                             {"Home", Qt::Key_Home}};
        for (const QStringList &step : steps) {
            QTest::keyClick(window->gurafu, keys.value(step[0]));
            QCOMPARE(window->lblTen->text(), step[1]);
        }
    }

    void theLegendNamesEverySeriesShown()
    {
        writeRecords(kRecords);
        frmGurafu *window = openGraph();
        QVERIFY(window);
        const auto names = [&] {
            QStringList list;
            for (const GraphPainter::LegendEntry &entry : window->gurafu->graph().legendEntries())
                list.append(entry.name);
            return list;
        };
        QCOMPARE(names(), (QStringList{"左目", "右目"}));
        const QRect above(0, 0, window->gurafu->width(),
                          window->gurafu->plotGeometry().plot.toRect().top() - 1);
        QCOMPARE(countSolid(window->gurafu->grab().toImage(), above, isDarkBlue), 0);

        writeRuns(threeRuns());
        window->reload();
        QCOMPARE(names(), (QStringList{"左目", "右目", "精密測定 左目", "精密測定 右目"}));
        const QList<GraphPainter::LegendEntry> entries = window->gurafu->graph().legendEntries();
        QCOMPARE(entries[2].series, (SeriesId{recordseries::Eye::Hidari, SeriesKind::Precise}));
        QCOMPARE(entries[3].series, (SeriesId{recordseries::Eye::Migi, SeriesKind::Precise}));
        // Each series' colour is in the legend over the plot, on one row in the window.
        QCOMPARE(window->gurafu->plotGeometry().legendRows, 1);
        const QImage image = window->gurafu->grab().toImage();
        for (bool (*colour)(QRgb) : {isBlue, isRed, isDarkBlue, isDarkRed})
            QVERIFY(countSolid(image, above, colour) > 4);
        // On a narrow graph 精密測定's entries go to a row of their own above the classic ones.
        const GraphPainter &graph = window->gurafu->graph();
        const QImage narrow = painted(graph, QSize(320, 220));
        const GraphPainter::Geometry geometry = graph.geometry(QRectF(0, 0, 320, 220), &narrow);
        QCOMPARE(geometry.legendRows, 2);
        const QRect legend(0, 0, 320, geometry.plot.toRect().top() - 1);
        int lowestPrecise = -1, highestClassic = legend.bottom() + 1;
        for (int y = legend.top(); y <= legend.bottom(); ++y) {
            const QRect row(0, y, 320, 1);
            if (countSolid(narrow, row, isDarkBlue) + countSolid(narrow, row, isDarkRed) > 0)
                lowestPrecise = y;
            if (countSolid(narrow, row, isBlue) + countSolid(narrow, row, isRed) > 0)
                highestClassic = std::min(highestClassic, y);
        }
        QVERIFY2(lowestPrecise >= 0 && lowestPrecise < highestClassic,
                 qPrintable(QStringLiteral("%1 %2").arg(lowestPrecise).arg(highestClassic)));
        for (bool (*colour)(QRgb) : {isBlue, isRed, isDarkBlue, isDarkRed})
            QVERIFY(countSolid(narrow, legend, colour) > 4);
    }

    // A runs file without runs draws the graph as if there were none.
    void aRunsFileWithoutRunsChangesNoPixel()
    {
        writeRecords(kRecords);
        frmGurafu *window = openGraph();
        QVERIFY(window);
        const QImage without = window->gurafu->grab().toImage();
        const QString summary = window->lblKiroku->text();
        writeRuns({});
        window->reload();
        QCOMPARE(window->gurafu->grab().toImage(), without);
        QCOMPARE(window->lblKiroku->text(), summary);
        writeRuns({}, "壊れた行\r\n");
        window->reload();
        QCOMPARE(window->gurafu->grab().toImage(), without);
        QCOMPARE(window->lblKiroku->text(),
                 summary + QStringLiteral("精密測定の記録で飛ばした行 1 行。"));
    }

    void aRunsFileThatCannotBeReadIsSaidBesideTheRecords()
    {
        writeRecords(kRecords);
        QVERIFY(QDir().mkpath(runsPath()));
        frmGurafu *window = openGraph();
        QVERIFY(window);
        const QString text = window->lblKiroku->text();
        QVERIFY2(
            text.startsWith(QStringLiteral("記録 3 件（左目 2 点、右目 2 点）。精密測定の記録を"
                                           "読み込めませんでした（")),
            qPrintable(text));
        QVERIFY2(window->lblKiroku->toolTip().contains(runsPath()),
                 qPrintable(window->lblKiroku->toolTip()));
        QCOMPARE(int(window->gurafu->graph().points(recordseries::Eye::Hidari).size()), 2);
        const QImage image = window->gurafu->grab().toImage();
        const QTime noon(12, 0);
        QVERIFY(centreIs(image, expectedAt(window->gurafu, QDate(2026, 1, 10), noon, 1.0), isBlue));
        QVERIFY(centreIs(image, expectedAt(window->gurafu, QDate(2026, 5, 20), noon, 2.0), isRed));
        QVERIFY(window->csvkakidasi->isEnabled());
    }

    void csvHoldsTheRecordsAloneWhateverTheRunsFile()
    {
        writeRecords(kRecords);
        const QString csv = temporary_.filePath(QStringLiteral("with-runs.csv"));
        writeRuns(threeRuns());
        frmGurafu *window = openGraph();
        QVERIFY(window);
        QVERIFY(window->exportCsv(csv));
        QFile::remove(runsPath());
        window->reload();
        const QString alone = temporary_.filePath(QStringLiteral("without-runs.csv"));
        QVERIFY(window->exportCsv(alone));
        QCOMPARE(readBytes(csv), readBytes(alone));
        QCOMPARE(readBytes(csv), csvexport::csvBytes(recordseries::parse(kRecords).records));
    }

    void printsThePreciseSeries()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty())
            QSKIP("pdftoppm is not installed");
        writeRecords(kRecords);
        writeRuns(threeRuns());
        frmGurafu *window = openGraph();
        QVERIFY(window);
        const QString pdf = temporary_.filePath(QStringLiteral("precise.pdf"));
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        printer.setPageOrientation(QPageLayout::Landscape);
        QVERIFY(window->printTo(printer));
        const auto words = testing::readPdfWords(pdf);
        QVERIFY(words);
        const QString joined = wordTexts(*words).join(QString());
        for (const char *expected : {"精密測定3回", "精密測定左目", "精密測定右目"})
            QVERIFY2(joined.contains(QString::fromUtf8(expected)), qPrintable(joined));
        // The page as pixels has the markers and bars of both eyes in their shades.
        QProcess raster;
        raster.start(QStringLiteral("pdftoppm"),
                     {QStringLiteral("-r"), QStringLiteral("60"), QStringLiteral("-png"),
                      QStringLiteral("-singlefile"), pdf,
                      temporary_.filePath(QStringLiteral("page"))});
        QVERIFY(raster.waitForFinished(30000));
        QCOMPARE(raster.exitCode(), 0);
        const QImage page(temporary_.filePath(QStringLiteral("page.png")));
        QVERIFY(!page.isNull());
        QVERIFY(countPixels(page, page.rect(), isDarkBlue) > 20);
        QVERIFY(countPixels(page, page.rect(), isDarkRed) > 10);
    }
};

MITOON_TEST_MAIN(TestFrmGurafu)

#include "test_frmgurafu.moc"
