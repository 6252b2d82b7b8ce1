#include "records/progressiveloader.h"

#include "records/recordtext.h"

#include <QEvent>
#include <QPlainTextDocumentLayout>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextDocument>
#include <QThreadPool>

namespace mitoon {

namespace {
// How long the rest waits for the first lines to be painted, in case the box is not on view.
constexpr int kPaintWaitMs = 50;
// A document of more lines than this takes more than a few milliseconds to free.
constexpr int kFreeElsewhereLines = 20000;
} // namespace

ProgressiveLoader::ProgressiveLoader(QPlainTextEdit *box, std::unique_ptr<RecordText> text)
    : QObject(box), box_(box), text_(std::move(text))
{
    connect(&timer_, &QTimer::timeout, this, [this] {
        timer_.setInterval(0);
        appendPiece();
    });
    box_->viewport()->installEventFilter(this);
}

ProgressiveLoader::~ProgressiveLoader() = default;

bool ProgressiveLoader::eventFilter(QObject *, QEvent *event)
{
    // Once the first lines are on view, the rest may come.
    if (event->type() == QEvent::Paint && loading_ && timer_.interval() != 0)
        timer_.start(0);
    return false;
}

void ProgressiveLoader::load()
{
    stop();
    const fileio::Result opened = text_->rewind();
    if (!opened.ok()) {
        show(opened.message());
        return;
    }
    // The box shows this very text whole and untouched: showing it again only goes to its top.
    if (text_->reused() && shownWhole_ && !box_->document()->isModified()) {
        box_->document()->clearUndoRedoStacks();
        box_->moveCursor(QTextCursor::Start);
        box_->verticalScrollBar()->setValue(0);
        emit finished();
        return;
    }
    const RecordText::Piece first = text_->next();
    if (!first.outcome.ok()) {
        show(first.outcome.message());
        return;
    }
    replaceText(first.text);
    if (first.last) {
        complete();
        return;
    }
    loading_ = true;
    box_->document()->setUndoRedoEnabled(false);
    timer_.start(kPaintWaitMs);
}

void ProgressiveLoader::show(const QString &text)
{
    stop();
    replaceText(text);
}

void ProgressiveLoader::replaceText(const QString &text)
{
    shownWhole_ = false;
    QTextDocument *old = box_->document();
    if (old->blockCount() > kFreeElsewhereLines) {
        // Freeing a document of millions of lines would keep the window waiting for a second:
        // the box gets a fresh document, and a pool thread frees the old one.
        old->setParent(nullptr);
        auto *fresh = new QTextDocument(box_);
        fresh->setDocumentLayout(new QPlainTextDocumentLayout(fresh));
        fresh->setDefaultFont(old->defaultFont());
        box_->setDocument(fresh);
        old->moveToThread(nullptr);
        QThreadPool::globalInstance()->start([old] { delete old; });
    }
    box_->setPlainText(text);
}

void ProgressiveLoader::finish()
{
    while (loading_)
        appendPiece();
}

void ProgressiveLoader::appendPiece()
{
    const RecordText::Piece piece = text_->next();
    if (!piece.outcome.ok()) {
        show(piece.outcome.message());
        return;
    }
    // A cursor of our own at the end: the user's cursor and selection stay where they are.
    if (!piece.text.isEmpty()) {
        QTextCursor end(box_->document());
        end.movePosition(QTextCursor::End);
        end.insertText(piece.text);
    }
    if (piece.last)
        complete();
}

void ProgressiveLoader::complete()
{
    stop();
    // From here on, any change to the text is the user's.
    box_->document()->setModified(false);
    shownWhole_ = true;
    emit finished();
}

void ProgressiveLoader::stop()
{
    timer_.stop();
    if (loading_)
        box_->document()->setUndoRedoEnabled(true);
    loading_ = false;
}

} // namespace mitoon
