#include "records/frmHyouji.h"

#include "app/appinfo.h"
#include "platform/focusstepdispatcher.h"
#include "platform/fonts.h"
#include "platform/formlayout.h"
#include "platform/loadedforms.h"
#include "platform/onewindow.h"
#include "platform/pictures.h"
#include "platform/screenplacement.h"
#include "platform/systemcolor.h"
#include "platform/twips.h"
#include "records/printing.h"
#include "records/progressiveloader.h"
#include "records/recordfile.h"
#include "records/recordformat.h"
#include "records/recordtext.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QScrollBar>
#include <QTextDocument>
#include <QtMath>

namespace mitoon {

namespace {

OneWindow<frmHyouji> &kept()
{
    static OneWindow<frmHyouji> window;
    return window;
}

} // namespace

frmHyouji *frmHyouji::instance()
{
    return kept().getOrMake([] {
        auto *window = new frmHyouji;
        LoadedForms::add(window);
        return window;
    });
}

frmHyouji *frmHyouji::loaded()
{
    return kept().get();
}

frmHyouji::frmHyouji()
{
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    setWindowTitle(QStringLiteral("結果表示"));
    setWindowIcon(pictures::programIcon());
    setFont(fonts::font(fonts::kPGothic, 12));
    setBackground(this, systemColor(SystemColor::ThreeDLight));
    createControls();
    layOut();
    fitRecordLines();
    connectHandlers();
    // The box is first in the tab order: it takes the focus, and loads, when the window opens.
    Text->setFocus();
}

void frmHyouji::createControls()
{
    using namespace Qt::StringLiterals;
    using enum formlayout::Kind;
    using fonts::kPGothic;
    using formlayout::to;
    const formlayout::Look heading{.alignment = Qt::AlignLeft | Qt::AlignTop,
                                   .background = systemColor(SystemColor::ThreeDLight)};
    // clang-format off
    const formlayout::Row rows[] = {
        // name       kind      text               left, top, width, height  font                  tab look                    member
        {"Text",      textArea, {},               { 120,  840, 4335, 5175}, {},                   0, {},                      to(Text)},
        {"Label1",    label,    u"記録表示"_s,    {1560,  240, 1575,  495}, {kPGothic, 18},       1, heading,                 to(Label1)},
        {"tojiru",    button,   u"閉じる"_s,      { 120, 6000, 1695,  615}, {kPGothic, 12, true}, 2, {},                      to(tojiru)},
        {"detaclear", button,   u"全ﾃﾞｰﾀｰ削除"_s, {3120, 6120, 1335,  495}, {kPGothic, 9.75},     3, {},                      to(detaclear)},
        {"print",     button,   u"印刷"_s,        {2040, 6000,  855,  375}, {kPGothic, 12, true}, 4, {.defaultButton = true}, to(print)},
    };
    // clang-format on
    formlayout::create(rows, this, formlayout::Fonts::plain);
    loader_ = new ProgressiveLoader(Text, std::make_unique<RecordText>(RecordFile::standard()));
}

void frmHyouji::layOut()
{
    // The client area is 5040 × 7815 twips with its top-left corner at 10065, 450 on the
    // screen; resizing the window leaves the controls where they are.
    setGeometry(twips::rect(10065, 450, 5040, 7815));
    // Wholly on the main window's screen, however small.
    screenplacement::keepOnMainScreen(this);
}

// The Gothic that stands in for the layout's font draws digits wider than the one the box was
// made for: it is condensed just enough that a record line, whatever its digits, shows on one
// line of the box.
void frmHyouji::fitRecordLines()
{
    QStringList lines = {recordformat::headerText()};
    for (char digit = '0'; digit <= '9'; ++digit) {
        const QString two(2, QLatin1Char(digit));
        const QString value = QStringLiteral("%1.%1").arg(QLatin1Char(digit));
        lines << QStringLiteral("#%1%1-%1-%1#,\"%1:%1:%1\",\"%2\",\"%2\"").arg(two, value);
    }
    const int width = Text->width() - 2 * Text->frameWidth() -
                      Text->verticalScrollBar()->sizeHint().width() -
                      2 * qCeil(Text->document()->documentMargin());
    Text->setFont(fonts::condensedToFit(Text->font(), width, lines));
}

void frmHyouji::connectHandlers()
{
    Text->installEventFilter(this);
    // The box reloads whenever it gains the focus, also when its window is activated again.
    focusSteps_ = new FocusStepDispatcher(this, FocusStepDispatcher::Leaving::LosesTheFocus);
    focusSteps_->setStep(Text, [this] { Text_GotFocus(); });
    connect(tojiru, &QPushButton::clicked, this, &frmHyouji::tojiru_Click);
    connect(print, &QPushButton::clicked, this, &frmHyouji::print_Click);
    connect(detaclear, &QPushButton::clicked, this, &frmHyouji::detaclear_Click);
}

bool frmHyouji::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != Text)
        return QDialog::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress) {
        // With a default button, Enter in the box presses "印刷"; Ctrl+Enter starts a new line.
        const auto *key = static_cast<QKeyEvent *>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            !(key->modifiers() & Qt::ControlModifier)) {
            print->click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmHyouji::keyPressEvent(QKeyEvent *event)
{
    // The window has no cancel button, so Esc does not close it.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void frmHyouji::Text_GotFocus()
{
    loader_->load();
}

void frmHyouji::print_Click()
{
    QPrinter printer(QPrinter::HighResolution);
    if (printing::askToPrint(this, printer, QStringLiteral("mitoon.pdf"), printing::Pages::chosen))
        printTo(printer);
}

bool frmHyouji::printTo(QPrinter &printer)
{
    loader_->finish();
    const bool printed = printing::printText(printer, Text->toPlainText() + u'\n');
    if (!printed)
        printing::tellFailure(this, printer);
    return printed;
}

void frmHyouji::detaclear_Click()
{
    const fileio::Result outcome = RecordFile::standard().clear();
    if (!outcome.ok()) {
        // The button stays, so the user can try again once the folder is put right.
        QMessageBox::warning(this, appTitle(), outcome.message());
        return;
    }
    detaclear->hide();
}

void frmHyouji::tojiru_Click()
{
    hide();
}

} // namespace mitoon
