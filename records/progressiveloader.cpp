#include "records/progressiveloader.h"

#include "records/recordformat.h"

#include <QEvent>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>
#include <limits>

namespace mitoon {

namespace {
// How long the rest waits for the first lines to be painted, in case the box is not on view.
constexpr int kPaintWaitMs = 50;
} // namespace

ProgressiveLoader::ProgressiveLoader(QPlainTextEdit *box) : QObject(box), box_(box)
{
    connect(&timer_, &QTimer::timeout, this, [this] {
        timer_.setInterval(0);
        appendChunk(kChunkLines);
    });
    box_->viewport()->installEventFilter(this);
}

bool ProgressiveLoader::eventFilter(QObject *, QEvent *event)
{
    // Once the first lines are on view, the rest may come.
    if (event->type() == QEvent::Paint && loading() && timer_.interval() != 0)
        timer_.start(0);
    return false;
}

void ProgressiveLoader::load(const QStringList &lines)
{
    load(recordformat::displayText(lines));
}

void ProgressiveLoader::load(const QString &text)
{
    timer_.stop();
    text_ = text;
    next_ = 0;
    box_->setPlainText(takeLines(kFirstLines));
    if (!loading()) {
        text_.clear();
        emit finished();
        return;
    }
    // What arrives later is no edit of the user's: it stays out of the undo history.
    box_->document()->setUndoRedoEnabled(false);
    timer_.start(kPaintWaitMs);
}

void ProgressiveLoader::show(const QString &text)
{
    timer_.stop();
    text_.clear();
    next_ = 0;
    box_->setPlainText(text);
}

void ProgressiveLoader::finish()
{
    if (loading())
        appendChunk(std::numeric_limits<int>::max());
}

QString ProgressiveLoader::takeLines(int lines)
{
    const qsizetype start = next_;
    qsizetype end = start;
    for (int taken = 0; taken < lines && end < text_.size(); ++end) {
        if (text_[end] != u'\r')
            continue;
        if (end + 1 < text_.size() && text_[end + 1] == u'\n')
            ++end;
        ++taken;
    }
    next_ = end;
    return recordformat::displayText(
        recordformat::splitLines(QStringView(text_).mid(start, end - start)));
}

void ProgressiveLoader::appendChunk(int lines)
{
    // A cursor of our own at the end: the user's cursor and selection stay where they are.
    QTextCursor end(box_->document());
    end.movePosition(QTextCursor::End);
    end.insertText(takeLines(lines));
    if (loading())
        return;
    timer_.stop();
    text_.clear();
    next_ = 0;
    box_->document()->setUndoRedoEnabled(true);
    emit finished();
}

} // namespace mitoon
