#pragma once

#include "fileio/outsidefile.h"
#include "fileio/shiftjis.h"
#include "records/recordfile.h"
#include "records/recordformat.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace mitoon {

// The text the records window shows, read from the record file a slice at a time so that no
// file, however long or strange, keeps the window waiting: every line followed by CR LF, as
// stored, except that a line longer than Limits::longestLine characters is shown as several
// (the file itself keeps it whole). The text comes in pieces that the box takes one per turn of
// the event loop; each piece costs at most one slice of the file to read and decode.
//
// The decoded pieces are kept. Shown again while the file has not changed since (same device,
// inode, size and modification time), the text comes from them instead of from the file.
class RecordText
{
public:
    struct Limits
    {
        qint64 fileBytes = outsidefile::kRecordLimit;
        qsizetype sliceBytes = 64 * 1024;
        qsizetype longestLine = 4096;
        // The first piece: the top of the text, shown at once.
        int firstLines = 30;
        // Every later piece: at most this many lines of the box and this many characters, or a
        // single line of the file when that alone has more.
        int pieceLines = 4000;
        qsizetype pieceCharacters = 16 * 1024;
    };

    struct Piece
    {
        QString text;
        // Nothing follows this piece.
        bool last = false;
        // When not ok, the text ends here for this reason and what came before is void.
        fileio::Result outcome;
    };

    struct Whole
    {
        fileio::Result outcome;
        QString text;
    };

    explicit RecordText(RecordFile file);
    RecordText(RecordFile file, Limits limits);

    // The whole text at once, for a reader that takes the records as data (the graph).
    Whole whole();

    // Starts the text again from its top. A file that cannot be opened says why; a file missing
    // in an existing folder is an empty text.
    fileio::Result rewind();
    // The next piece of the text.
    Piece next();

    // Whether the last rewind kept the text decoded before, and how much of the file has been
    // read since the file was last opened.
    bool reused() const { return reused_; }
    qint64 bytesRead() const { return bytesRead_; }
    const Limits &limits() const { return limits_; }

private:
    void restart();
    void readSlice();
    Piece takePiece();

    RecordFile file_;
    Limits limits_;

    QList<Piece> pieces_; // the text decoded so far
    qsizetype position_ = 0;
    bool complete_ = false;
    std::optional<outsidefile::Identity> identity_;
    bool reused_ = false;

    std::optional<outsidefile::Reader> reader_;
    qint64 bytesRead_ = 0;
    shiftjis::Decoder decoder_;
    recordformat::LineSplitter splitter_;
    QStringList lines_; // split off, not yet in a piece
    qsizetype nextLine_ = 0;
};

} // namespace mitoon
