#include "records/recordtext.h"

#include <utility>

namespace mitoon {

namespace {
// A lone LF inside a line starts a line of its own in the box.
qsizetype boxLines(const QString &line)
{
    return 1 + line.count(u'\n');
}
} // namespace

RecordText::RecordText(RecordFile file) : RecordText(std::move(file), Limits()) {}

RecordText::RecordText(RecordFile file, Limits limits)
    : file_(std::move(file)), limits_(limits), splitter_(limits.longestLine)
{
}

fileio::Result RecordText::rewind()
{
    position_ = 0;
    const std::optional<outsidefile::Identity> now = outsidefile::identityOf(file_.localPath());
    reused_ = identity_ && now == identity_;
    if (reused_)
        return {};

    restart();
    reader_.emplace(file_.localPath(), limits_.fileBytes);
    if (!reader_->result().ok()) {
        const fileio::Result outcome = file_.readOutcome(reader_->result());
        reader_.reset();
        // No file yet in an existing folder simply means no records yet.
        if (outcome.ok())
            pieces_.append(Piece{{}, true, {}});
        complete_ = outcome.ok();
        return outcome;
    }
    identity_ = reader_->identity();
    return {};
}

void RecordText::restart()
{
    pieces_.clear();
    complete_ = false;
    identity_.reset();
    reader_.reset();
    bytesRead_ = 0;
    decoder_ = shiftjis::Decoder();
    splitter_ = recordformat::LineSplitter(limits_.longestLine);
    lines_.clear();
    nextLine_ = 0;
}

RecordText::Piece RecordText::next()
{
    if (position_ < pieces_.size())
        return pieces_[position_++];
    if (complete_ || !identity_)
        return Piece{{}, true, {}};

    const int wanted = pieces_.isEmpty() ? limits_.firstLines : limits_.pieceLines;
    if (reader_ && lines_.size() - nextLine_ < wanted)
        readSlice();
    if (reader_ && !reader_->result().ok()) {
        const fileio::Result outcome = file_.readOutcome(reader_->result());
        restart();
        return Piece{{}, true, outcome};
    }
    Piece piece = takePiece();
    complete_ = piece.last;
    pieces_.append(piece);
    ++position_;
    return piece;
}

void RecordText::readSlice()
{
    // The text is the file as it was when it was opened: lines saved since then show at the
    // next load, as with a file read at once.
    const qint64 end = identity_->size;
    QByteArray bytes;
    for (;;) {
        const qint64 room = qMin<qint64>(limits_.sliceBytes - bytes.size(), end - bytesRead_);
        if (room <= 0 || reader_->atEnd())
            break;
        if (!reader_->read(qsizetype(room), &bytes))
            return;
        bytesRead_ = reader_->bytesRead();
    }
    splitter_.feed(decoder_.decode(bytes), &lines_);
    if (bytesRead_ < end && !reader_->atEnd())
        return;
    // A file that has become shorter meanwhile ends where it ends now.
    if (reader_->atEnd())
        identity_ = reader_->identity();
    reader_.reset();
    splitter_.feed(decoder_.finish(), &lines_);
    splitter_.finish(&lines_);
}

RecordText::Piece RecordText::takePiece()
{
    const qsizetype wanted = pieces_.isEmpty() ? limits_.firstLines : limits_.pieceLines;
    qsizetype shownLines = 0;
    qsizetype characters = 0;
    const qsizetype first = nextLine_;
    while (nextLine_ < lines_.size() && shownLines < wanted) {
        const QString &line = lines_[nextLine_];
        if (shownLines > 0 && characters + line.size() > limits_.pieceCharacters)
            break;
        shownLines += boxLines(line);
        characters += line.size();
        ++nextLine_;
    }
    Piece piece;
    piece.text = recordformat::displayText(lines_.mid(first, nextLine_ - first));
    if (nextLine_ == lines_.size()) {
        lines_.clear();
        nextLine_ = 0;
        piece.last = !reader_;
    }
    return piece;
}

RecordText::Whole RecordText::whole()
{
    Whole whole{rewind(), {}};
    while (whole.outcome.ok()) {
        Piece piece = next();
        if (!piece.outcome.ok())
            return {piece.outcome, {}};
        whole.text += piece.text;
        if (piece.last)
            break;
    }
    return whole;
}

} // namespace mitoon
