#include "precise/preciserecords.h"
#include "records/recordfile.h"
#include "support/isolatedhome.h"
#include "support/preciseruns.h"
#include "support/recordfiletesting.h"

#include <QDataStream>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <functional>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace mitoon;
using mitoon::testing::readBytes;
using mitoon::testing::ReadOutcome;
using mitoon::testing::readRecords;
using mitoon::testing::writeBytes;

namespace {

// No test touches the user's files.
const QString kRecordFileTestsHome = mitoon::testing::isolateHome();

const QByteArray kOldLines = "#2006-06-09#,\"14:03:27\",\"0.8\",\"1.2\"\r\n"
                             "#2006-06-10#,\"08:00:00\",,\"1\"\r\n";

class RecordFileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(temporary.isValid());
        folder = temporary.path() + QStringLiteral("/Tool/devwork");
        ASSERT_TRUE(QDir().mkpath(folder));
        // Other users must reach the folder for the tests that run without special rights.
        for (const QString &path : {temporary.path(), temporary.path() + "/Tool", folder})
            ::chmod(QFile::encodeName(path).constData(), 0755);
    }

    // The read-only tests leave a folder that its owner could not empty otherwise.
    void TearDown() override { ::chmod(QFile::encodeName(folder).constData(), 0755); }

    QString path() const { return folder + QStringLiteral("/mitoon.txt"); }
    RecordFile file() const
    {
        return RecordFile(QStringLiteral("C:\\Tool\\devwork\\mitoon.txt"), path());
    }
    QStringList leftovers() const
    {
        return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }

    QTemporaryDir temporary;
    QString folder;
};

// A failure names the file both ways and gives the system's reason in Japanese.
void expectFailure(const fileio::Result &outcome, int error, const QString &localPath,
                   const QString &reason,
                   const QString &windowsPath = QStringLiteral("C:\\Tool\\devwork\\mitoon.txt"))
{
    EXPECT_FALSE(outcome.ok());
    EXPECT_EQ(outcome.error(), error);
    EXPECT_TRUE(outcome.message().contains(windowsPath)) << outcome.message().toStdString();
    EXPECT_TRUE(outcome.message().contains(localPath)) << outcome.message().toStdString();
    EXPECT_TRUE(outcome.message().contains(reason)) << outcome.message().toStdString();
}

TEST_F(RecordFileTest, AppendToAMissingFileCreatesItWithoutHeader)
{
    const auto clock = [] { return QDateTime(QDate(2026, 12, 9), QTime(14, 3, 27)); };
    ASSERT_TRUE(file().appendRecord("0.8", "1.2", clock).ok());
    EXPECT_EQ(readBytes(path()), QByteArray("#2026-12-09#,\"14:03:27\",\"0.8\",\"1.2\"\r\n"));
}

TEST_F(RecordFileTest, AppendKeepsWhatIsThereAndAddsAtTheEnd)
{
    ASSERT_TRUE(writeBytes(path(), kOldLines));
    ASSERT_TRUE(file().append("third\r\n").ok());
    ASSERT_TRUE(file().append("fourth\r\n").ok());
    EXPECT_EQ(readBytes(path()), kOldLines + "third\r\nfourth\r\n");
}

// The files that are appended to a line at a time, each through its own caller of the one safe
// append: the record file's save, and the two files of 精密測定 (the run's line, its trials).
struct Appender
{
    const char *name;
    const char *fileName; // in the drive folder
    QString windowsPath;
    // Made when a test runs: the texts they are built from are not there before main().
    QByteArray (*header)(); // before the first line of a new or empty file
    QByteArray (*line)();
    std::function<fileio::Result(const QString &path)> append;
};

precise::StoredRun aRun()
{
    return mitoon::testing::storedRun(QDateTime(QDate(2026, 12, 10), QTime(21, 3, 5)),
                                      precise::Eye::Right, 0.12, 0.04, 0.2);
}

std::vector<precise::TrialRecord> twoTrials()
{
    std::vector<precise::TrialRecord> trials(2);
    trials[0] = {1, 0.9, 40.5, 3, 3, true, 812};
    trials[1] = {2, 0.5, 16.1, 6, precise::kCannotSee, false, 2034};
    return trials;
}

const Appender kAppenders[] = {
    {"RecordFile", "mitoon.txt", QStringLiteral("C:\\Tool\\devwork\\mitoon.txt"),
     [] { return QByteArray(); }, [] { return QByteArray("#2026-12-09#,\"12:19:13\",,\r\n"); },
     [](const QString &path) {
         return RecordFile(QStringLiteral("C:\\Tool\\devwork\\mitoon.txt"), path)
             .append("#2026-12-09#,\"12:19:13\",,\r\n");
     }},
    {"PreciseRuns", "精密測定.csv", precise::kRunsFile, precise::runsHeader,
     [] { return precise::runLine(aRun()); },
     [](const QString &path) {
         precise::StoreState state;
         state.trialsStored = true;
         return precise::storeRun(aRun(), {}, state, path);
     }},
    {"PreciseTrials", "精密測定-試行.csv", precise::kTrialsFile, precise::trialsHeader,
     [] { return precise::trialLines(aRun().finished, twoTrials()); },
     [](const QString &path) {
         precise::StoreState state;
         state.runStored = true;
         return precise::storeRun(aRun(), twoTrials(), state, QString(), path);
     }},
};

class SafeAppend : public RecordFileTest, public ::testing::WithParamInterface<Appender>
{
protected:
    QString target() const { return folder + u'/' + QString::fromUtf8(GetParam().fileName); }
    fileio::Result append() const { return GetParam().append(target()); }
};

// Whatever left the file without a line end at its end (a hand edit, a cut-off copy, another
// tool), the saved line starts a line of its own and the lines stay apart. A file made by the
// save, or empty, gets its header first.
TEST_P(SafeAppend, EndsTheLastLineFirst)
{
    struct FreshLineRow
    {
        const char *name;
        QByteArray before;
        QByteArray after; // before the appended line
    };
    const QByteArray header = GetParam().header();
    const QByteArray line = GetParam().line();
    const FreshLineRow rows[] = {
        {"RecordWithoutLineEnd", "#2024-01-01#,\"10:00:00\",\"1.2\",\"0.8\"",
         "#2024-01-01#,\"10:00:00\",\"1.2\",\"0.8\"\r\n"},
        {"LineEndAlready", "a\r\n", "a\r\n"},
        {"CrWithoutLf", "a\r", "a\r\n"},
        {"LoneLf", "a\n", "a\n\r\n"},
        {"OneByte", "a", "a\r\n"},
        {"OnlyALineEnd", "\r\n", "\r\n"},
        {"EmptyFile", "", header},
    };
    for (const FreshLineRow &row : rows) {
        SCOPED_TRACE(row.name);
        ASSERT_TRUE(writeBytes(target(), row.before));
        ASSERT_TRUE(append().ok());
        EXPECT_EQ(readBytes(target()).toStdString(), (row.after + line).toStdString());
        if (header.isEmpty()) {
            const ReadOutcome read = readRecords(file());
            ASSERT_TRUE(read.ok());
            EXPECT_EQ(read.lines.last(), QStringLiteral("#2026-12-09#,\"12:19:13\",,"));
        }
    }
    ASSERT_TRUE(QFile::remove(target()));
    ASSERT_TRUE(append().ok());
    EXPECT_EQ(readBytes(target()), header + line);
}

TEST_P(SafeAppend, AFifoInPlaceOfTheFileTakesNoSave)
{
    ::alarm(20); // a save that waited for a reader of the FIFO would end here
    ASSERT_EQ(::mkfifo(QFile::encodeName(target()).constData(), 0600), 0);
    expectFailure(append(), 0, target(), QStringLiteral("通常のファイルではありません"),
                  GetParam().windowsPath);
    ::alarm(0);
}

// A disk that fills up on the very line: the file keeps its bytes, also when the line would
// have started with the line end that the file lacked.
TEST_P(SafeAppend, AFailedSaveOnAFullFileSystemLeavesTheFileAsItWas)
{
    struct Case
    {
        QByteArray end;
        int room; // left in the file's last page: the line is cut short there
    };
    for (const Case &c : {Case{"\r\n", 0}, Case{"", 0}, Case{"\r\n", 3}, Case{"", 3}}) {
        // Nearly one page of the file system, so that the line needs a page more.
        QByteArray before = GetParam().header() + kOldLines;
        before += QByteArray(4096 - c.room - before.size() - c.end.size(), 'x') + c.end;
        const std::optional<QByteArray> report = mitoon::testing::runOnOwnFileSystem(
            folder, 64 * 1024, false,
            [&] {
                writeBytes(target(), before);
                QFile filler(folder + QStringLiteral("/filler"));
                if (filler.open(QIODevice::WriteOnly))
                    while (filler.write(QByteArray(4096, 'f')) == 4096 && filler.flush()) {
                    }
            },
            [&] {
                QByteArray bytes;
                QDataStream stream(&bytes, QIODevice::WriteOnly);
                stream << mitoon::testing::serialized(append()) << readBytes(target());
                return bytes;
            });
        if (!report)
            GTEST_SKIP() << "no file system of the test's own: mounting tmpfs needs root";
        QByteArray outcome;
        QByteArray after;
        QDataStream stream(*report);
        stream >> outcome >> after;
        expectFailure(mitoon::testing::deserialized(outcome), ENOSPC, target(),
                      QStringLiteral("ディスクに空きがありません"), GetParam().windowsPath);
        EXPECT_EQ(after, before);
    }
}

INSTANTIATE_TEST_SUITE_P(Files, SafeAppend, ::testing::ValuesIn(kAppenders),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(RecordFileTest, ClearLeavesTheHeaderAloneAndKeepsTheOldBytesAsBak)
{
    ASSERT_TRUE(writeBytes(path(), kOldLines));
    ASSERT_TRUE(file().clear().ok());
    EXPECT_EQ(readBytes(path()), recordformat::headerLine());
    EXPECT_EQ(readBytes(path()).size(), 41);
    EXPECT_EQ(readBytes(file().backupPath()), kOldLines);
    EXPECT_EQ(leftovers(), QStringList({"mitoon.txt", "mitoon.txt.bak"}));

    // The backup is a file of its own: later saves do not reach it.
    ASSERT_TRUE(file().append("new\r\n").ok());
    EXPECT_EQ(readBytes(file().backupPath()), kOldLines);
}

TEST_F(RecordFileTest, ClearAgainReplacesTheBakWithTheFileBeforeIt)
{
    ASSERT_TRUE(writeBytes(path(), kOldLines));
    ASSERT_TRUE(file().clear().ok());
    ASSERT_TRUE(file().append("new\r\n").ok());
    ASSERT_TRUE(file().clear().ok());
    EXPECT_EQ(readBytes(file().backupPath()), recordformat::headerLine() + "new\r\n");
}

// Someone who may write the folder plants links at the temporary names: the files they point
// to stay as they are, and the record file stays a file of its own.
TEST_F(RecordFileTest, ClearNeverWritesThroughAPlantedLink)
{
    const QString victim = temporary.path() + QStringLiteral("/victim");
    ASSERT_TRUE(writeBytes(victim, "precious\n"));
    for (const char *name : {"mitoon.txt.tmp", "mitoon.txt.bak.tmp"})
        ASSERT_TRUE(QFile::link(victim, folder + u'/' + QLatin1String(name)));
    ASSERT_TRUE(writeBytes(path(), kOldLines));
    ASSERT_TRUE(file().clear().ok());
    EXPECT_EQ(readBytes(victim), "precious\n");
    EXPECT_FALSE(QFileInfo(path()).isSymLink());
    EXPECT_EQ(readBytes(path()), recordformat::headerLine());
    EXPECT_EQ(readBytes(file().backupPath()), kOldLines);
    ASSERT_TRUE(file().append("new\r\n").ok());
    EXPECT_EQ(readBytes(victim), "precious\n");
}

// What a crash left behind goes with the next clear, links without what they point to; a
// temporary that another program is using stays.
TEST_F(RecordFileTest, ClearRemovesStaleTemporaries)
{
    const QString victim = temporary.path() + QStringLiteral("/victim");
    ASSERT_TRUE(writeBytes(victim, "precious\n"));
    ASSERT_TRUE(writeBytes(path(), kOldLines));
    ASSERT_TRUE(writeBytes(path() + QStringLiteral(".tmp"), "stale"));
    ASSERT_TRUE(writeBytes(path() + QStringLiteral(".a1B2c3.tmp"), "stale"));
    ASSERT_TRUE(QFile::link(victim, path() + QStringLiteral(".link.tmp")));
    ASSERT_TRUE(
        QFile::link(folder + QStringLiteral("/none"), path() + QStringLiteral(".gone.tmp")));
    ASSERT_EQ(::mkfifo(QFile::encodeName(path() + QStringLiteral(".fifo.tmp")).constData(), 0600),
              0);
    const QString inUse = path() + QStringLiteral(".Zz9yX8.tmp");
    ASSERT_TRUE(writeBytes(inUse, "in use"));
    QFile used(inUse);
    ASSERT_TRUE(used.open(QIODevice::ReadOnly));
    ASSERT_EQ(::flock(used.handle(), LOCK_EX), 0);

    ASSERT_TRUE(file().clear().ok());
    EXPECT_EQ(leftovers(), QStringList({"mitoon.txt", "mitoon.txt.Zz9yX8.tmp", "mitoon.txt.bak"}));
    EXPECT_EQ(readBytes(victim), "precious\n");
}

// A clear that fails on the way takes its temporary files with it and leaves the records.
TEST_F(RecordFileTest, AFailedClearLeavesNoTemporaries)
{
    const std::optional<QByteArray> report = mitoon::testing::runOnOwnFileSystem(
        folder, 64 * 1024, false,
        [&] {
            writeBytes(path(), kOldLines);
            QFile filler(folder + QStringLiteral("/filler"));
            if (filler.open(QIODevice::WriteOnly))
                while (filler.write(QByteArray(4096, 'f')) == 4096 && filler.flush()) {
                }
        },
        [&] {
            QByteArray bytes;
            QDataStream stream(&bytes, QIODevice::WriteOnly);
            stream << mitoon::testing::serialized(file().clear()) << readBytes(path())
                   << leftovers();
            return bytes;
        });
    if (!report)
        GTEST_SKIP() << "no file system of the test's own: mounting tmpfs needs root";
    QByteArray outcome;
    QByteArray after;
    QStringList names;
    QDataStream stream(*report);
    stream >> outcome >> after >> names;
    expectFailure(mitoon::testing::deserialized(outcome), ENOSPC, path(),
                  QStringLiteral("ディスクに空きがありません"));
    EXPECT_EQ(after, kOldLines);
    EXPECT_EQ(names, QStringList({"filler", "mitoon.txt"}));
}

// The record file may be a link to a file elsewhere (on another disk, in a shared folder):
// saving and clearing reach that file, the link stays and the backup goes beside the file.
TEST_F(RecordFileTest, ARecordFileThatIsALinkKeepsWorking)
{
    const QString elsewhere = temporary.path() + QStringLiteral("/elsewhere");
    ASSERT_TRUE(QDir().mkpath(elsewhere));
    const QString target = elsewhere + QStringLiteral("/records.txt");
    ASSERT_TRUE(writeBytes(target, kOldLines));
    ASSERT_TRUE(QFile::link(target, path()));

    ASSERT_TRUE(file().append("saved\r\n").ok());
    EXPECT_EQ(readBytes(target), kOldLines + "saved\r\n");
    ASSERT_TRUE(file().clear().ok());
    EXPECT_TRUE(QFileInfo(path()).isSymLink());
    EXPECT_EQ(readBytes(target), recordformat::headerLine());
    EXPECT_EQ(file().backupPath(), target + QStringLiteral(".bak"));
    EXPECT_EQ(readBytes(target + QStringLiteral(".bak")), kOldLines + "saved\r\n");
    EXPECT_EQ(leftovers(), QStringList({"mitoon.txt"}));
    ASSERT_TRUE(file().append("again\r\n").ok());
    EXPECT_EQ(readBytes(target), recordformat::headerLine() + "again\r\n");
    EXPECT_EQ(readRecords(file()).lines.last(), QStringLiteral("again"));
}

TEST_F(RecordFileTest, ALinkThatLeadsNowhereIsNoRecordFile)
{
    ASSERT_TRUE(QFile::link(folder + QStringLiteral("/gone.txt"), path()));
    const QString reason = QStringLiteral("そのようなファイルやフォルダーはありません");
    expectFailure(file().append("line\r\n"), ENOENT, path(), reason);
    expectFailure(file().clear(), ENOENT, path(), reason);
    EXPECT_TRUE(QFileInfo(path()).isSymLink());
    EXPECT_FALSE(QFileInfo::exists(folder + QStringLiteral("/gone.txt")));
}

// Each clear keeps what it removed: mitoon.txt.bak holds the newest, the ones before keep
// dated names of the moment they were moved aside, and no name is ever written twice.
TEST_F(RecordFileTest, ClearsInARowKeepEveryEarlierFile)
{
    const auto at = [](int second) {
        return [second] { return QDateTime(QDate(2026, 12, 9), QTime(14, 3, second)); };
    };
    ASSERT_TRUE(writeBytes(path(), kOldLines));
    ASSERT_TRUE(file().clear(at(1)).ok());
    ASSERT_TRUE(file().append("second\r\n").ok());
    ASSERT_TRUE(file().clear(at(27)).ok());
    EXPECT_EQ(leftovers(),
              QStringList({"mitoon.txt", "mitoon.txt.20261209-140327.bak", "mitoon.txt.bak"}));
    EXPECT_EQ(readBytes(folder + QStringLiteral("/mitoon.txt.20261209-140327.bak")), kOldLines);
    EXPECT_EQ(readBytes(file().backupPath()), recordformat::headerLine() + "second\r\n");

    // Two clears in the same second: the name is taken, the next one gets a number.
    ASSERT_TRUE(file().append("third\r\n").ok());
    ASSERT_TRUE(file().clear(at(27)).ok());
    ASSERT_TRUE(file().clear(at(27)).ok());
    EXPECT_EQ(leftovers(), QStringList({"mitoon.txt", "mitoon.txt.20261209-140327-2.bak",
                                        "mitoon.txt.20261209-140327-3.bak",
                                        "mitoon.txt.20261209-140327.bak", "mitoon.txt.bak"}));
    EXPECT_EQ(readBytes(folder + QStringLiteral("/mitoon.txt.20261209-140327.bak")), kOldLines);
    EXPECT_EQ(readBytes(folder + QStringLiteral("/mitoon.txt.20261209-140327-2.bak")),
              recordformat::headerLine() + "second\r\n");
    EXPECT_EQ(readBytes(folder + QStringLiteral("/mitoon.txt.20261209-140327-3.bak")),
              recordformat::headerLine() + "third\r\n");
    EXPECT_EQ(readBytes(file().backupPath()), recordformat::headerLine());
}

TEST_F(RecordFileTest, ClearWithoutAFileWritesTheHeaderAndNoBak)
{
    ASSERT_TRUE(file().clear().ok());
    EXPECT_EQ(readBytes(path()), recordformat::headerLine());
    EXPECT_EQ(leftovers(), QStringList({"mitoon.txt"}));
}

TEST_F(RecordFileTest, ClearKeepsTheFilesPermissions)
{
    ASSERT_TRUE(writeBytes(path(), kOldLines));
    ASSERT_EQ(::chmod(QFile::encodeName(path()).constData(), 0600), 0);
    ASSERT_TRUE(file().clear().ok());
    struct stat status = {};
    ASSERT_EQ(::stat(QFile::encodeName(path()).constData(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0600u);
}

TEST_F(RecordFileTest, ReadGivesTheLinesAsStored)
{
    ASSERT_TRUE(writeBytes(path(), recordformat::headerLine() + "#2006-06-09#,\"14:03:27\",,\r"
                                                                "last"));
    const ReadOutcome outcome = readRecords(file());
    ASSERT_TRUE(outcome.ok());
    EXPECT_EQ(outcome.lines, QStringList({u'"' + recordformat::headerText() + u'"',
                                          "#2006-06-09#,\"14:03:27\",,", "last"}));
}

TEST_F(RecordFileTest, ReadOfAnEmptyOrMissingFileGivesNoLines)
{
    ReadOutcome missing = readRecords(file());
    EXPECT_TRUE(missing.ok());
    EXPECT_TRUE(missing.lines.isEmpty());

    ASSERT_TRUE(writeBytes(path(), QByteArray()));
    ReadOutcome empty = readRecords(file());
    EXPECT_TRUE(empty.ok());
    EXPECT_TRUE(empty.lines.isEmpty());
}

TEST_F(RecordFileTest, ReadShowsInvalidBytesAsReplacementCharacters)
{
    ASSERT_TRUE(writeBytes(path(), QByteArray("\x93\xfa\x82\r\n\xff"
                                              "1.2\r\n")));
    const ReadOutcome outcome = readRecords(file());
    ASSERT_TRUE(outcome.ok());
    EXPECT_EQ(outcome.lines,
              QStringList({QStringLiteral("日\uFFFD"), QStringLiteral("\uFFFD1.2")}));
}

TEST_F(RecordFileTest, MissingFolderFailsEveryOperationAndCreatesNothing)
{
    ASSERT_TRUE(QDir(folder).removeRecursively());
    const QString reason = QStringLiteral("そのようなファイルやフォルダーはありません");
    expectFailure(file().append("line\r\n"), ENOENT, path(), reason);
    expectFailure(file().clear(), ENOENT, path(), reason);
    expectFailure(readRecords(file()), ENOENT, path(), reason);
    EXPECT_FALSE(QFileInfo::exists(folder));
}

TEST_F(RecordFileTest, AFolderInPlaceOfTheFileFailsAndStays)
{
    ASSERT_TRUE(QDir().mkpath(path()));
    const QString reason = QStringLiteral("同じ名前のフォルダーがあります");
    expectFailure(file().append("line\r\n"), EISDIR, path(), reason);
    expectFailure(file().clear(), EISDIR, path(), reason);
    expectFailure(readRecords(file()), EISDIR, path(), reason);
    EXPECT_TRUE(QFileInfo(path()).isDir());
    EXPECT_EQ(leftovers(), QStringList());
}

TEST_F(RecordFileTest, AFullDiskFailsTheSave)
{
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/full"), path()));
    expectFailure(file().append("line\r\n"), ENOSPC, path(),
                  QStringLiteral("ディスクに空きがありません"));
}

// The drive folder could not be set up where it belongs, so the record file's folder is
// missing: the messages name why it is missing, not just that it is. Root may write anywhere,
// so the tests take the rights of "nobody" or a read-only tmpfs of their own.
TEST_F(RecordFileTest, AMissingFolderThatCouldNotBeMadeNamesTheRealCause)
{
    const QString parent = temporary.path() + QStringLiteral("/data");
    ASSERT_TRUE(QDir().mkpath(parent));
    const QString drive = parent + QStringLiteral("/mitoon/drive_c");
    const QString record = drive + QStringLiteral("/Tool/devwork/mitoon.txt");
    const RecordFile file(QStringLiteral("C:\\Tool\\devwork\\mitoon.txt"), record);
    const auto everyOperation = [&] {
        QByteArray bytes;
        QDataStream stream(&bytes, QIODevice::WriteOnly);
        for (const fileio::Result &outcome : {file.append("line\r\n"), file.clear(),
                                              static_cast<fileio::Result>(readRecords(file))})
            stream << mitoon::testing::serialized(outcome);
        return bytes;
    };
    const auto expectReason = [&](const QByteArray &report, int error, const QString &reason) {
        QDataStream stream(report);
        for (int i = 0; i < 3; ++i) {
            QByteArray outcome;
            stream >> outcome;
            expectFailure(mitoon::testing::deserialized(outcome), error, record, reason);
        }
    };

    // The folder above may not be written.
    ASSERT_EQ(::chmod(QFile::encodeName(parent).constData(), 0555), 0);
    const std::optional<QByteArray> unprivileged =
        mitoon::testing::runUnprivileged(std::function<QByteArray()>(everyOperation));
    ::chmod(QFile::encodeName(parent).constData(), 0755);
    ASSERT_TRUE(unprivileged);
    expectReason(*unprivileged, EACCES, QStringLiteral("アクセスが許可されていません"));
    EXPECT_FALSE(QFileInfo::exists(drive));

    // The folder above is on a read-only disk.
    const std::optional<QByteArray> readOnly = mitoon::testing::runOnOwnFileSystem(
        parent, 64 * 1024, true, [] {}, everyOperation);
    if (!readOnly)
        GTEST_SKIP() << "no file system of the test's own: mounting tmpfs needs root";
    expectReason(*readOnly, EROFS, QStringLiteral("読み取り専用のファイルシステムです"));
}

TEST_F(RecordFileTest, ReadOnlyFolderRefusesANewFile)
{
    ASSERT_EQ(::chmod(QFile::encodeName(folder).constData(), 0555), 0);
    const RecordFile records = file();
    expectFailure(mitoon::testing::runUnprivileged([&] { return records.append("line\r\n"); }),
                  EACCES, path(), QStringLiteral("アクセスが許可されていません"));
    EXPECT_EQ(leftovers(), QStringList());
}

TEST_F(RecordFileTest, ReadOnlyFolderRefusesAClearAndLosesNothing)
{
    ASSERT_TRUE(writeBytes(path(), kOldLines));
    ::chmod(QFile::encodeName(path()).constData(), 0666);
    ASSERT_EQ(::chmod(QFile::encodeName(folder).constData(), 0555), 0);
    const RecordFile records = file();
    expectFailure(mitoon::testing::runUnprivileged([&] { return records.clear(); }), EACCES, path(),
                  QStringLiteral("アクセスが許可されていません"));
    EXPECT_EQ(readBytes(path()), kOldLines);
    EXPECT_EQ(leftovers(), QStringList({"mitoon.txt"}));
    // The file itself is still writable: saving goes on working.
    EXPECT_TRUE(mitoon::testing::runUnprivileged([&] { return records.append("line\r\n"); }).ok());
    EXPECT_EQ(readBytes(path()), kOldLines + "line\r\n");
}

TEST_F(RecordFileTest, ReadOnlyFileRefusesTheSaveAndKeepsItsBytes)
{
    ASSERT_TRUE(writeBytes(path(), kOldLines));
    ASSERT_EQ(::chmod(QFile::encodeName(path()).constData(), 0444), 0);
    const RecordFile records = file();
    expectFailure(mitoon::testing::runUnprivileged([&] { return records.append("line\r\n"); }),
                  EACCES, path(), QStringLiteral("アクセスが許可されていません"));
    EXPECT_EQ(readBytes(path()), kOldLines);
}

} // namespace
