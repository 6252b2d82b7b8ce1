#include "app/frmMain.h"
#include "app/settings.h"
#include "fileio/shiftjis.h"
#include "graph/acuitygraph.h"
#include "graph/frmGurafu.h"
#include "graph/graphscale.h"
#include "platform/drivepath.h"
#include "platform/fonts.h"
#include "records/recordformat.h"
#include "support/isolatedhome.h"
#include "support/modalwatch.h"
#include "support/pdfwords.h"
#include "support/printdialog.h"
#include "support/recordfiletesting.h"
#include "support/testmain.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinterInfo>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

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

// Where a record's value must appear, worked out from the plot's frame alone: the time axis
// runs over the span of the records, the acuity axis is logarithmic from 0.1 at the bottom to
// 2.0 at the top.
QPoint expectedAt(const AcuityGraph *graph, const QDate &date, const QTime &time, double acuity)
{
    const QRectF plot = graph->plotGeometry().plot;
    const auto moment = [](const QDate &d, const QTime &t) {
        return graphscale::startOfDay(d) + t.msecsSinceStartOfDay() / 1000;
    };
    const graphscale::Span span = graphscale::timeSpan(moment(QDate(2026, 1, 10), QTime(12, 0)),
                                                       moment(QDate(2026, 5, 20), QTime(12, 0)));
    const double x = plot.left() + span.fraction(moment(date, time)) * plot.width();
    const double y = plot.bottom() - std::log(acuity / 0.1) / std::log(20.0) * plot.height();
    return QPointF(x, y).toPoint();
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
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(temporary_.filePath(QStringLiteral("no-such-folder/graph.pdf")));
        QString told;
        testing::whenModal([&told](QWidget *modal) {
            if (auto *box = qobject_cast<QMessageBox *>(modal))
                told = box->text();
            modal->close();
        });
        QVERIFY(!window->printTo(printer));
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
};

MITOON_TEST_MAIN(TestFrmGurafu)

#include "test_frmgurafu.moc"
