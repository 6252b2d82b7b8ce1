// Kills a process that saves and clears the record file in a loop, and stores a run of 精密測定
// after some saves, at random moments, and checks after every kill that the record file, its
// backups and the two files of 精密測定 hold whole lines only (none torn, none glued to the
// next), that a clear left either the old lines or the header alone, and that no reported save
// went missing. The process also strips the line end off the last lines now and then, so kills
// land in saves that have to end that line first.
//
// $MITOON_CRASH_KILLS sets the number of kills (400 when unset, about ten seconds).
#include "churnlines.h"
#include "support/isolatedhome.h"
#include "support/recordfiletesting.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QMap>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <optional>
#include <poll.h>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

using namespace mitoon;
using mitoon::testing::readBytes;
namespace churn = mitoon::testing::churn;

namespace {

const QString kHome = mitoon::testing::isolateHome();

struct KilledRun
{
    QList<QByteArray> events; // "saved N" and "cleared", in order
};

// Reads what the process has reported so far; waits up to `timeoutMs` for the first bytes.
void readReports(int fd, QByteArray *text, int timeoutMs)
{
    pollfd poll = {fd, POLLIN, 0};
    char buffer[4096];
    while (::poll(&poll, 1, timeoutMs) > 0) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got <= 0)
            return;
        text->append(buffer, got);
        timeoutMs = 0;
    }
}

// Starts the churning process, waits until it is at work, lets it go on for `microseconds`
// and kills it.
KilledRun runAndKill(const QString &recordPath, int microseconds)
{
    int output[2];
    if (::pipe(output) != 0)
        return {};
    const QByteArray argument = QFile::encodeName(recordPath);
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(output[1], STDOUT_FILENO);
        ::close(output[0]);
        ::close(output[1]);
        ::execl(MITOON_RECORD_CHURN, MITOON_RECORD_CHURN, argument.constData(),
                static_cast<char *>(nullptr));
        ::_exit(127);
    }
    ::close(output[1]);
    QByteArray text;
    readReports(output[0], &text, 10000);
    ::usleep(useconds_t(microseconds));
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    readReports(output[0], &text, 0);
    ::close(output[0]);
    KilledRun run;
    run.events = text.split('\n');
    run.events.removeLast(); // the kill may have cut the last report short
    return run;
}

// What the process was doing when it was killed: the step it had started and not finished.
QByteArray stepInProgress(const QList<QByteArray> &events)
{
    if (events.isEmpty())
        return "starting";
    const QByteArray &last = events.last();
    if (last.startsWith("saving ")) {
        const bool afterStripping = events.size() > 1 && events[events.size() - 2] == "stripping";
        return afterStripping ? "saving after stripping" : "saving";
    }
    if (last.startsWith("storing "))
        return "storing a run";
    if (last == "clearing" || last == "stripping")
        return last;
    return "between steps";
}

// A file whose last line lost its end to a strip, with that end put back. A clear keeps such a
// file as it is, as a backup.
QByteArray endLastLine(QByteArray bytes)
{
    if (!bytes.isEmpty() && !bytes.endsWith('\n'))
        bytes += bytes.endsWith('\r') ? "\n" : "\r\n";
    return bytes;
}

TEST(CrashSafety, KillsDuringSavesAndClearsLeaveWholeLinesOnly)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString record = folder.path() + QStringLiteral("/mitoon.txt");
    const QString backup = record + QStringLiteral(".bak");
    const QString runsFiles[] = {folder.path() + QStringLiteral("/精密測定.csv"),
                                 folder.path() + QStringLiteral("/精密測定-試行.csv")};

    const unsigned seed = std::random_device{}();
    SCOPED_TRACE(::testing::Message() << "seed " << seed);
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> delay(0, 8000);
    const int kills = qEnvironmentVariableIsSet("MITOON_CRASH_KILLS")
                          ? qEnvironmentVariableIntValue("MITOON_CRASH_KILLS")
                          : 400;

    QElapsedTimer clock;
    clock.start();
    QMap<QByteArray, int> killedWhile;
    QSet<QString> datedBackupsSeen;
    int runs = 0;
    bool leftWithoutLineEnd = false;
    bool runsLeftWithoutLineEnd[] = {false, false};
    while (runs < kills) {
        const KilledRun run = runAndKill(record, delay(random));
        ++runs;
        ASSERT_FALSE(run.events.isEmpty()) << "the process never got to work";
        ++killedWhile[stepInProgress(run.events)];

        QByteArray recordBytes = readBytes(record);
        // A kill between stripping and the end of the save after it leaves the last line
        // without its end, also when the strip was in an earlier run; the next finished save or
        // clear ends or replaces that line.
        bool mayLackLineEnd = leftWithoutLineEnd;
        for (const QByteArray &event : run.events) {
            if (event == "stripping")
                mayLackLineEnd = true;
            else if (event.startsWith("saved ") || event == "cleared")
                mayLackLineEnd = false;
        }
        leftWithoutLineEnd = !recordBytes.isEmpty() && !recordBytes.endsWith('\n');
        if (leftWithoutLineEnd)
            ASSERT_TRUE(mayLackLineEnd) << "run " << runs << ": a line without its end";
        recordBytes = endLastLine(recordBytes);
        const auto current = churn::parse(recordBytes);
        ASSERT_TRUE(current) << "run " << runs << ": " << recordBytes.toHex(' ').toStdString()
                             << " events: " << run.events.join(' ').toStdString();
        std::optional<churn::Parsed> kept;
        if (QFileInfo::exists(backup)) {
            const QByteArray backupBytes = endLastLine(readBytes(backup));
            kept = churn::parse(backupBytes);
            ASSERT_TRUE(kept) << "run " << runs << ": " << backupBytes.toStdString();
        }
        // The backups before it keep dated names; each is checked once, as none changes.
        for (const QString &name :
             QDir(folder.path()).entryList({QStringLiteral("mitoon.txt.*-*.bak")}, QDir::Files)) {
            if (datedBackupsSeen.contains(name))
                continue;
            datedBackupsSeen.insert(name);
            const QByteArray bytes = endLastLine(readBytes(folder.filePath(name)));
            ASSERT_TRUE(churn::parse(bytes)) << "run " << runs << ": " << name.toStdString();
        }

        // The files of 精密測定: a line without its end only after a strip that no store has
        // followed, and the last run that reported back in both.
        const auto lastStored = [&]() -> std::optional<int> {
            for (qsizetype i = run.events.size() - 1; i >= 0; --i)
                if (run.events[i].startsWith("stored "))
                    return run.events[i].mid(7).toInt();
            return std::nullopt;
        }();
        for (int f = 0; f < 2; ++f) {
            QByteArray bytes = readBytes(runsFiles[f]);
            bool mayLack = runsLeftWithoutLineEnd[f];
            for (const QByteArray &event : run.events) {
                if (event == "stripping")
                    mayLack = true;
                else if (event.startsWith("stored "))
                    mayLack = false;
            }
            runsLeftWithoutLineEnd[f] = !bytes.isEmpty() && !bytes.endsWith('\n');
            if (runsLeftWithoutLineEnd[f])
                ASSERT_TRUE(mayLack) << "run " << runs << ": a line without its end in "
                                     << runsFiles[f].toStdString();
            bytes = endLastLine(bytes);
            const auto counters = churn::parseRuns(bytes, f == 1);
            ASSERT_TRUE(counters) << "run " << runs << ": " << bytes.toStdString()
                                  << " events: " << run.events.join(' ').toStdString();
            if (lastStored)
                EXPECT_TRUE(counters->contains(*lastStored))
                    << "run " << runs << ": " << runsFiles[f].toStdString();
            // Checked whole after every kill, the files start afresh now and then; the process
            // is not running now.
            if (counters->size() > 64)
                ASSERT_TRUE(QFile::remove(runsFiles[f]));
        }

        // The last save that reported back must still be on disk.
        const qsizetype lastSave = [&] {
            for (qsizetype i = run.events.size() - 1; i >= 0; --i)
                if (run.events[i].startsWith("saved "))
                    return i;
            return qsizetype(-1);
        }();
        if (lastSave < 0)
            continue;
        const int saved = run.events[lastSave].mid(6).toInt();
        const bool clearedSince = run.events.mid(lastSave).contains("cleared");
        if (clearedSince) {
            ASSERT_TRUE(current->header) << "run " << runs;
            EXPECT_TRUE(current->counters.isEmpty() || current->counters.first() > saved);
            ASSERT_TRUE(kept) << "run " << runs;
            ASSERT_FALSE(kept->counters.isEmpty()) << "run " << runs;
            EXPECT_EQ(kept->counters.last(), saved) << "run " << runs;
        } else if (!current->counters.contains(saved)) {
            // Killed after a clear had finished but before it could report.
            ASSERT_TRUE(current->header && current->counters.isEmpty()) << "run " << runs;
            ASSERT_TRUE(kept) << "run " << runs;
            EXPECT_TRUE(kept->counters.contains(saved)) << "run " << runs;
        }
    }
    std::printf("%d kills in %lld ms, %lld dated backups;", runs,
                static_cast<long long>(clock.elapsed()),
                static_cast<long long>(datedBackupsSeen.size()));
    for (auto it = killedWhile.constBegin(); it != killedWhile.constEnd(); ++it)
        std::printf(" %d while %s;", it.value(), it.key().constData());
    std::printf("\n");
    // The kills reach saves, clears and the saves that end a stripped line (each takes more
    // than a tenth of the kills, so that 300 kills missing one would be a one-in-10^13 chance).
    if (runs >= 300)
        for (const char *step : {"saving", "saving after stripping", "clearing"})
            EXPECT_GT(killedWhile.value(step), 0) << step;
}

} // namespace
