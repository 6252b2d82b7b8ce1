#include "platform/drivepath.h"
#include "platform/fonts.h"
#include "records/frmHyouji.h"
#include "records/printing.h"
#include "records/recordformat.h"
#include "support/isolatedhome.h"
#include "support/modalwatch.h"
#include "support/pdfwords.h"
#include "support/printdialog.h"
#include "support/recordfiletesting.h"
#include "support/testmain.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace mitoon;
using mitoon::testing::PdfWord;

namespace {

const QString kRecord = QStringLiteral("#2006-06-09#,\"14:03:27\",\"0.8\",\"1.2\"");

QStringList texts(const QList<PdfWord> &words)
{
    QStringList list;
    for (const PdfWord &word : words)
        list.append(word.text);
    return list;
}

bool printToPdf(const QString &path, const QString &text)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    return printing::printText(printer, text);
}

QString documentsFolder()
{
    return QDir::homePath() + QStringLiteral("/Documents");
}

} // namespace

class TestPrinting : public QObject
{
    Q_OBJECT

    QTemporaryDir temporary_;

private slots:
    void cleanup()
    {
        if (frmHyouji *window = frmHyouji::loaded())
            window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QDir(documentsFolder()).removeRecursively();
        QFile::remove(QDir::homePath() + QStringLiteral("/mitoon.pdf"));
    }

    void printsTheTextIn14PointType()
    {
        const QString pdf = temporary_.filePath(QStringLiteral("records.pdf"));
        const QString header = u'"' + recordformat::headerText() + u'"';
        QVERIFY(printToPdf(pdf, header + u'\n' + kRecord + u'\n' + kRecord + u'\n'));
        const auto words = testing::readPdfWords(pdf);
        QVERIFY(words);
        QCOMPARE(texts(*words),
                 (QStringList{"\"", "日", "付", "時", "刻", "左目", "右目\"", kRecord, kRecord}));
        // A word's box spans the font's ascent and descent: one em, 14 points, for this face.
        for (const PdfWord &word : *words)
            QVERIFY2(qAbs(word.height() - printing::kTextPointSize) < 0.5,
                     qPrintable(QStringLiteral("%1: %2 pt").arg(word.text).arg(word.height())));
        // Lines follow each other at the line spacing of 14-point type, not of another size.
        const double pitch = (*words).last().yMin - (*words)[7].yMin;
        QVERIFY2(pitch > 14.0 && pitch < 14.0 * 1.5, qPrintable(QString::number(pitch)));
    }

    void longTextsRunOverPagesWithoutLosingALine()
    {
        const QString pdf = temporary_.filePath(QStringLiteral("long.pdf"));
        QStringList lines;
        for (int i = 1; i <= 150; ++i)
            lines.append(QStringLiteral("line%1").arg(i));
        QVERIFY(printToPdf(pdf, lines.join(u'\n') + u'\n'));
        const auto words = testing::readPdfWords(pdf);
        QVERIFY(words);
        QCOMPARE(texts(*words), lines);
        QVERIFY((*words).last().page >= 3);
    }

    void withoutPrinterThePdfGoesToTheDocumentsFolder()
    {
        QVERIFY(QDir().mkpath(documentsFolder()));
        QCOMPARE(printing::fallbackPdfPath(), documentsFolder() + QStringLiteral("/mitoon.pdf"));
        QVERIFY(QDir(documentsFolder()).removeRecursively());
        QCOMPARE(printing::fallbackPdfPath(), QDir::homePath() + QStringLiteral("/mitoon.pdf"));
    }

    void enterInTheBoxPrintsTheTextAsShown()
    {
        if (!QPrinterInfo::availablePrinterNames().isEmpty())
            QSKIP("a printer is installed; the dialog would print on paper");
        QVERIFY(QDir().mkpath(documentsFolder()));
        const QString record = drive::localPath(drive::kRecordFile);
        QVERIFY(testing::writeBytes(record, kRecord.toLatin1() + "\r\n"));
        frmHyouji *window = frmHyouji::instance();
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        // The box loads in its focus step, once the activation has been handled.
        QCoreApplication::processEvents();
        window->Text->moveCursor(QTextCursor::End);
        QTest::keyClicks(window->Text, QStringLiteral("typed"));

        bool printToFileOffered = false;
        testing::acceptPrintDialog(printToFileOffered);
        QTest::keyClick(window->Text, Qt::Key_Return);
        QVERIFY(printToFileOffered);
        const auto words = testing::readPdfWords(documentsFolder() + QStringLiteral("/mitoon.pdf"));
        QVERIFY(words);
        QCOMPARE(texts(*words), (QStringList{kRecord, "typed"}));
        // Enter pressed the default button; it did not start a new line in the box.
        QCOMPARE(window->Text->blockCount(), 2);
    }

    // The user learns that nothing was printed, and where it should have gone.
    void aFailedPrintIsTold()
    {
        frmHyouji *window = frmHyouji::instance();
        bool printed = true;
        const QString told = testing::toldOfFailedPrint(
            temporary_.filePath(QStringLiteral("no-such-folder/mitoon.pdf")),
            [window](QPrinter &printer) { return window->printTo(printer); }, printed);
        QVERIFY(!printed);
        QVERIFY2(told.contains(QStringLiteral("に印刷できませんでした")) &&
                     told.contains(QStringLiteral("no-such-folder/mitoon.pdf")),
                 qPrintable(told));
    }

    void cancellingTheDialogPrintsNothing()
    {
        QVERIFY(QDir().mkpath(documentsFolder()));
        frmHyouji *window = frmHyouji::instance();
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        bool dialogSeen = false;
        testing::whenModal([&](QWidget *modal) {
            dialogSeen = qobject_cast<QPrintDialog *>(modal) != nullptr;
            modal->close();
        });
        QTest::mouseClick(window->print, Qt::LeftButton);
        QVERIFY(dialogSeen);
        QVERIFY(!QFileInfo::exists(documentsFolder() + QStringLiteral("/mitoon.pdf")));
    }
};

MITOON_TEST_MAIN(TestPrinting)

#include "test_printing.moc"
