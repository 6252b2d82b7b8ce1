#include "fileio/shiftjis.h"
#include "records/recordtext.h"
#include "support/isolatedhome.h"
#include "support/recordfiletesting.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

using namespace mitoon;
using mitoon::testing::writeBytes;

namespace {

// No test touches the user's files.
const QString kRecordTextTestsHome = mitoon::testing::isolateHome();

// Small limits, so that short texts cross every boundary: slices, pieces and long lines.
RecordText::Limits smallLimits()
{
    RecordText::Limits limits;
    limits.sliceBytes = 7;
    limits.longestLine = 5;
    limits.firstLines = 2;
    limits.pieceLines = 3;
    limits.pieceCharacters = 8;
    return limits;
}

class RecordTextTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        // A test that would hang in open() or read() ends with SIGALRM instead.
        ::alarm(60);
    }
    void TearDown() override { ::alarm(0); }

    QString path() const { return folder.filePath(QStringLiteral("mitoon.txt")); }
    RecordFile file() const { return RecordFile(QStringLiteral("C:\\mitoon.txt"), path()); }

    QTemporaryDir folder;
};

struct Shown
{
    fileio::Result outcome;
    QStringList pieces;
};

// Every piece of the text from its top, checking on the way what no piece may exceed.
Shown showAll(RecordText &text)
{
    Shown shown;
    shown.outcome = text.rewind();
    const RecordText::Limits &limits = text.limits();
    for (bool first = true; shown.outcome.ok(); first = false) {
        const qint64 before = text.bytesRead();
        const RecordText::Piece piece = text.next();
        shown.outcome = piece.outcome;
        // One piece reads and decodes one slice of the file at most.
        EXPECT_LE(text.bytesRead() - before, limits.sliceBytes);
        const QStringList lines = piece.text.split(QStringLiteral("\r\n"));
        qsizetype boxLines = 0;
        for (const QString &line : lines.first(lines.size() - 1)) {
            boxLines += 1 + line.count(u'\n');
            EXPECT_LE(line.size(), limits.longestLine) << line.toStdString();
        }
        // A single line may hold more lines of the box than a piece, through its lone LFs.
        if (lines.size() > 2)
            EXPECT_LE(boxLines, first ? limits.firstLines : limits.pieceLines);
        EXPECT_LE(piece.text.size() - 2 * (lines.size() - 1),
                  qMax<qsizetype>(limits.pieceCharacters, limits.longestLine));
        shown.pieces.append(piece.text);
        if (piece.last)
            break;
    }
    return shown;
}

struct TextRow
{
    const char *name;
    QByteArray bytes;
    QString shown; // what the box gets, every line followed by CR LF
};

void PrintTo(const TextRow &row, std::ostream *out)
{
    *out << row.name;
}

class Texts : public RecordTextTest, public ::testing::WithParamInterface<TextRow>
{
};

// The pieces together are the text a whole-file read shows, with long lines cut.
TEST_P(Texts, ComeInBoundedPiecesThatMakeTheWholeText)
{
    const TextRow &row = GetParam();
    ASSERT_TRUE(writeBytes(path(), row.bytes));
    RecordText text(file(), smallLimits());
    const Shown shown = showAll(text);
    ASSERT_TRUE(shown.outcome.ok()) << shown.outcome.message().toStdString();
    EXPECT_EQ(shown.pieces.join(QString()), row.shown);
    // The graph takes the same text at once.
    const RecordText::Whole whole = RecordText(file(), smallLimits()).whole();
    EXPECT_TRUE(whole.outcome.ok());
    EXPECT_EQ(whole.text, row.shown);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Texts,
    ::testing::Values(TextRow{"Empty", "", ""},
                      TextRow{"Records", "#a#,\"1\"\r\n#b#,,\r\nc\r\nd\r\ne\r\n",
                              "#a#,\"\r\n1\"\r\n#b#,,\r\nc\r\nd\r\ne\r\n"},
                      TextRow{"CrOnlyAndNoEndOnTheLastLine", "a\rb\r\rc", "a\r\nb\r\n\r\nc\r\n"},
                      TextRow{"CrLfAcrossSlices", "abcdef\r\ng", "abcde\r\nf\r\ng\r\n"},
                      TextRow{"DoubleByteCharactersAcrossSlices",
                              "\x93\xfa\x95\x74\x93\xfa\x95\x74\r\n", u"日付日付\r\n"_qs},
                      TextRow{"LeadByteAtTheEnd", "ab\x93", u"ab\uFFFD\r\n"_qs},
                      TextRow{"NulBytes", QByteArray(12, '\0'),
                              QString(5, QChar(0)) + "\r\n" + QString(5, QChar(0)) + "\r\n" +
                                  QString(2, QChar(0)) + "\r\n"},
                      TextRow{"LoneLfsCountAsLinesOfTheBox", "\n\n\r\n\n\ra\rb\r",
                              "\n\n\r\n\n\r\na\r\nb\r\n"}),
    [](const auto &info) { return std::string(info.param.name); });

// A megabyte of NUL bytes, as a crash of another program can leave, with the window's own
// limits: lines of at most a few thousand characters, pieces of a bounded size.
TEST_F(RecordTextTest, AMegabyteOfNulBytesComesInBoundedPieces)
{
    ASSERT_TRUE(writeBytes(path(), QByteArray(1 << 20, '\0')));
    RecordText text(file());
    const Shown shown = showAll(text);
    ASSERT_TRUE(shown.outcome.ok());
    EXPECT_GT(shown.pieces.size(), 50);
    const QString whole = shown.pieces.join(QString());
    EXPECT_EQ(whole.count(QChar(0)), 1 << 20);
    EXPECT_EQ(whole.count(QStringLiteral("\r\n")), (1 << 20) / text.limits().longestLine);
}

TEST_F(RecordTextTest, AnUnchangedFileIsNotReadAgain)
{
    ASSERT_TRUE(writeBytes(path(), "a\r\nb\r\nc\r\nd\r\n"));
    RecordText text(file(), smallLimits());
    const Shown first = showAll(text);
    EXPECT_FALSE(text.reused());
    const qint64 read = text.bytesRead();
    EXPECT_EQ(read, 12);

    const Shown again = showAll(text);
    EXPECT_TRUE(text.reused());
    EXPECT_EQ(again.pieces, first.pieces);
    EXPECT_EQ(text.bytesRead(), read);

    // One more record: read afresh.
    QFile more(path());
    ASSERT_TRUE(more.open(QIODevice::Append) && more.write("e\r\n") == 3);
    more.close();
    const Shown changed = showAll(text);
    EXPECT_FALSE(text.reused());
    EXPECT_EQ(changed.pieces.join(QString()), "a\r\nb\r\nc\r\nd\r\ne\r\n");
}

// Focus again in the middle of a long load: what was decoded is shown again, the rest read on.
TEST_F(RecordTextTest, ARewindDuringTheLoadKeepsWhatWasDecoded)
{
    ASSERT_TRUE(writeBytes(path(), "a\r\nb\r\nc\r\nd\r\ne\r\nf\r\n"));
    RecordText text(file(), smallLimits());
    ASSERT_TRUE(text.rewind().ok());
    const QString firstPiece = text.next().text;
    text.next();
    const qint64 read = text.bytesRead();
    ASSERT_TRUE(text.rewind().ok());
    EXPECT_TRUE(text.reused());
    EXPECT_EQ(text.next().text, firstPiece);
    EXPECT_EQ(text.bytesRead(), read);
    const Shown rest = showAll(text);
    EXPECT_EQ(rest.pieces.join(QString()), "a\r\nb\r\nc\r\nd\r\ne\r\nf\r\n");
}

// The text is the file as it was when the load began: a record saved meanwhile shows at the
// next load.
TEST_F(RecordTextTest, LinesSavedDuringTheLoadWaitForTheNextLoad)
{
    ASSERT_TRUE(writeBytes(path(), "a\r\nb\r\nc\r\nd\r\n"));
    RecordText text(file(), smallLimits());
    ASSERT_TRUE(text.rewind().ok());
    QString shown = text.next().text;
    QFile more(path());
    ASSERT_TRUE(more.open(QIODevice::Append) && more.write("saved\r\n") == 7);
    more.close();
    for (RecordText::Piece piece; !piece.last;) {
        piece = text.next();
        shown += piece.text;
    }
    EXPECT_EQ(shown, "a\r\nb\r\nc\r\nd\r\n");
    EXPECT_EQ(showAll(text).pieces.join(QString()), "a\r\nb\r\nc\r\nd\r\nsaved\r\n");
}

struct RefusedRow
{
    const char *name;
    std::function<void(const QString &path)> place;
    int error;
    QString reason;
};

void PrintTo(const RefusedRow &row, std::ostream *out)
{
    *out << row.name;
}

class Refused : public RecordTextTest, public ::testing::WithParamInterface<RefusedRow>
{
};

// Whatever stands at the record file's path, the load ends at once with a reason.
TEST_P(Refused, EndsWithTheReason)
{
    const RefusedRow &row = GetParam();
    row.place(path());
    RecordText::Limits limits;
    limits.fileBytes = 10;
    RecordText text(file(), limits);
    const fileio::Result outcome = text.rewind();
    EXPECT_FALSE(outcome.ok());
    EXPECT_EQ(outcome.error(), row.error);
    EXPECT_TRUE(outcome.message().contains(QStringLiteral("を読み込めませんでした")));
    EXPECT_TRUE(outcome.message().contains(row.reason)) << outcome.message().toStdString();
    EXPECT_TRUE(text.next().last);
    const RecordText::Whole whole = RecordText(file(), limits).whole();
    EXPECT_FALSE(whole.outcome.ok());
    EXPECT_EQ(whole.outcome.message(), outcome.message());
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Refused,
    ::testing::Values(
        RefusedRow{"Fifo",
                   [](const QString &path) { ::mkfifo(QFile::encodeName(path).constData(), 0600); },
                   0, QStringLiteral("通常のファイルではありません")},
        RefusedRow{"LinkToDevZero",
                   [](const QString &path) { QFile::link(QStringLiteral("/dev/zero"), path); }, 0,
                   QStringLiteral("通常のファイルではありません")},
        RefusedRow{"OverTheLimit", [](const QString &path) { writeBytes(path, "0123456789a"); },
                   EFBIG, QStringLiteral("ファイルが大きすぎます（読み込める大きさは 10 バイト")},
        RefusedRow{"FolderInItsPlace", [](const QString &path) { QDir().mkpath(path); }, EISDIR,
                   QStringLiteral("同じ名前のフォルダーがあります")}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(RecordTextTest, AFileThatCannotBeReadToItsEndDropsWhatWasShown)
{
    ASSERT_TRUE(writeBytes(path(), "a\r\nb\r\nc\r\nd\r\n"));
    RecordText text(file(), smallLimits());
    ASSERT_TRUE(text.rewind().ok());
    text.next();
    // The folder entry is replaced by a shorter file meanwhile; the open file reads on to its
    // own end, so the text stays the one of the file opened.
    ASSERT_TRUE(QFile::remove(path()));
    ASSERT_TRUE(writeBytes(path(), "x\r\n"));
    QString rest;
    for (RecordText::Piece piece; !piece.last;) {
        piece = text.next();
        ASSERT_TRUE(piece.outcome.ok());
        rest += piece.text;
    }
    EXPECT_EQ(rest, "c\r\nd\r\n");
    EXPECT_EQ(showAll(text).pieces.join(QString()), "x\r\n");
}

} // namespace
