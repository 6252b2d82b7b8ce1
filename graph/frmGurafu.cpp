#include "graph/frmGurafu.h"

#include "app/appinfo.h"
#include "graph/acuitygraph.h"
#include "graph/csvexport.h"
#include "graph/graphseries.h"
#include "graph/recordseries.h"
#include "platform/drivepath.h"
#include "platform/fonts.h"
#include "platform/loadedforms.h"
#include "platform/onewindow.h"
#include "platform/pictures.h"
#include "platform/screenplacement.h"
#include "platform/systemcolor.h"
#include "platform/twips.h"
#include "precise/preciserecords.h"
#include "records/printing.h"
#include "records/recordfile.h"
#include "records/recordtext.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace mitoon {

namespace {

OneWindow<frmGurafu> &kept()
{
    static OneWindow<frmGurafu> window;
    return window;
}

QString title()
{
    return QStringLiteral("記録のグラフ");
}

QString hintText()
{
    return QStringLiteral("点にマウスを合わせるかクリックすると、その日時と視力が出ます。");
}

// The sentence in the middle of a graph without points.
QString emptyMessage(const fileio::Result &read, bool fileExists,
                     const recordseries::RecordSeries &series)
{
    if (!read.ok())
        return read.message();
    if (!fileExists)
        return QStringLiteral("記録ファイルはまだありません。"
                              "検査の結果を保存すると、ここにグラフが出ます。");
    if (series.records.isEmpty())
        return QStringLiteral("記録ファイルには、まだ記録がありません。"
                              "検査の結果を保存すると、ここにグラフが出ます。");
    return QStringLiteral("記録には、まだ視力の値がありません。");
}

} // namespace

frmGurafu *frmGurafu::open(const QWidget *mainWindow)
{
    const bool created = !kept().get();
    frmGurafu *window = kept().getOrMake([] {
        auto *made = new frmGurafu;
        LoadedForms::add(made);
        return made;
    });
    window->reload();
    if (created)
        window->place(mainWindow);
    bringToFront(window);
    return window;
}

frmGurafu *frmGurafu::loaded()
{
    return kept().get();
}

frmGurafu::frmGurafu()
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlags(Qt::Window);
    setWindowTitle(title());
    setWindowIcon(pictures::programIcon());
    setFont(fonts::font(fonts::kPGothic, 10.5));
    setBackground(this, systemColor(SystemColor::ThreeDLight));
    createControls();
    layOut();
    connectHandlers();
}

void frmGurafu::createControls()
{
    gurafu = new AcuityGraph(this);
    lblKiroku = new QLabel(this);
    lblKiroku->setWordWrap(true);
    lblTen = new QLabel(hintText(), this);
    lblTen->setWordWrap(true);

    print = new QPushButton(QStringLiteral("印刷"), this);
    print->setFont(fonts::fixedFont(fonts::kPGothic, 12, true));
    csvkakidasi = new QPushButton(QStringLiteral("CSVで書き出す"), this);
    csvkakidasi->setFont(fonts::fixedFont(fonts::kPGothic, 12, true));
    tojiru = new QPushButton(QStringLiteral("閉じる"), this);
    tojiru->setFont(fonts::fixedFont(fonts::kPGothic, 12, true));
    for (QPushButton *button : {print, csvkakidasi, tojiru})
        button->setAutoDefault(false);
}

void frmGurafu::layOut()
{
    // The graph takes whatever room the window has; the texts and buttons below it keep their
    // natural size, so every caption fits whatever the font.
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(print);
    buttons->addWidget(csvkakidasi);
    buttons->addStretch(1);
    buttons->addWidget(tojiru);

    auto *column = new QVBoxLayout(this);
    column->addWidget(gurafu, 1);
    column->addWidget(lblKiroku);
    column->addWidget(lblTen);
    column->addLayout(buttons);

    // 720 × 520 pixels at 96 dots per inch.
    resize(twips::toPixelsRounded(10800), twips::toPixelsRounded(7800));
}

void frmGurafu::connectHandlers()
{
    connect(gurafu, &AcuityGraph::pointShown, this, &frmGurafu::showPoint);
    connect(print, &QPushButton::clicked, this, &frmGurafu::print_Click);
    connect(csvkakidasi, &QPushButton::clicked, this, &frmGurafu::csvkakidasi_Click);
    connect(tojiru, &QPushButton::clicked, this, &frmGurafu::tojiru_Click);
}

// Where a new graph window opens: in the middle of the screen the main window is on, no larger
// than that screen.
void frmGurafu::place(const QWidget *mainWindow)
{
    screenplacement::centreOnScreenOf(this, mainWindow);
}

void frmGurafu::reload()
{
    const RecordFile file = RecordFile::standard();
    const RecordText::Whole read = RecordText(file).whole();
    recordseries::RecordSeries series;
    if (read.outcome.ok())
        series = recordseries::parse(read.text);
    const QString empty = emptyMessage(read.outcome, QFileInfo::exists(file.localPath()), series);
    // The runs of 精密測定 beside it; a runs file that cannot be read is said in the summary
    // and leaves the record file's graph as it is.
    precise::RunsRead runs = precise::readRuns(drive::localPath(precise::kRunsFile));

    lblKiroku->setText((read.outcome.ok()
                            ? recordseries::summaryText(series)
                            : QStringLiteral("記録ファイルを読み込めませんでした。")) +
                       preciseSummaryText(runs));
    QString details = recordseries::skippedText(series, 20);
    if (!runs.result.ok())
        details += (details.isEmpty() ? QString() : QStringLiteral("\n")) + runs.result.message();
    lblKiroku->setToolTip(details);
    // The CSV file holds the record file's records alone, as it always has.
    csvkakidasi->setEnabled(!series.records.isEmpty());
    gurafu->setSeries(std::move(series), std::move(runs.runs.runs), empty);
}

void frmGurafu::showPoint(const QString &text)
{
    lblTen->setText(text.isEmpty() ? hintText() : text);
}

void frmGurafu::print_Click()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    printer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
    printer.setDocName(title());
    // The graph is one page.
    if (printing::askToPrint(this, printer, QStringLiteral("mitoon-graph.pdf"),
                             printing::Pages::whole))
        printTo(printer);
}

bool frmGurafu::printTo(QPrinter &printer)
{
    QPainter painter;
    bool printed = painter.begin(&printer);
    if (printed) {
        const QRectF page(QPointF(0, 0),
                          printer.pageLayout().paintRectPixels(printer.resolution()).size());
        gurafu->graph().paintPage(painter, page, title(), lblKiroku->text());
        printed = painter.end();
    }
    if (!printed)
        printing::tellFailure(this, printer);
    return printed;
}

void frmGurafu::csvkakidasi_Click()
{
    const QFileInfo proposed(csvexport::proposedPath());
    QFileDialog dialog(this, QStringLiteral("CSVで書き出す"), proposed.path(),
                       QStringLiteral("CSV ファイル (*.csv)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    dialog.selectFile(proposed.fileName());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    exportCsv(dialog.selectedFiles().constFirst());
}

bool frmGurafu::exportCsv(const QString &path)
{
    const fileio::Result outcome =
        csvexport::writeFile(path, csvexport::csvBytes(gurafu->graph().series().records),
                             RecordFile::standard().localPath());
    if (!outcome.ok()) {
        QMessageBox::warning(this, appTitle(), outcome.message());
        return false;
    }
    lblTen->setText(
        QStringLiteral("CSV ファイル「%1」に書き出しました。").arg(QDir::toNativeSeparators(path)));
    return true;
}

void frmGurafu::tojiru_Click()
{
    close();
}

void frmGurafu::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace mitoon
