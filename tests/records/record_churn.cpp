// Saves and clears the record file given as its argument without end, and after some saves
// stores a run of 精密測定 in the two files beside it, reporting on standard output each step
// before it starts ("saving N", "storing N", "clearing", "stripping") and each once it has
// returned ("saved N", "stored N", "cleared"). Now and then it strips the line end off the
// last line of all three files, as a hand edit may, so that the next save has to end that line
// first. The crash test kills it at random moments.
#include "churnlines.h"
#include "precise/preciserecords.h"
#include "records/recordfile.h"

#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <random>
#include <unistd.h>

using namespace mitoon;

namespace {

void report(const QByteArray &text)
{
    (void)::write(STDOUT_FILENO, text.constData(), text.size());
}

int nextCounter(const RecordFile &file, const QString &runsPath)
{
    int next = 1;
    QFile runs(runsPath);
    if (runs.open(QIODevice::ReadOnly)) {
        QByteArray bytes = runs.readAll();
        if (!bytes.endsWith('\n'))
            bytes += bytes.endsWith('\r') ? "\n" : "\r\n";
        if (const auto counters = testing::churn::parseRuns(bytes, false);
            counters && !counters->isEmpty())
            next = counters->last() + 1;
    }
    for (const QString &path : {file.localPath(), file.backupPath()}) {
        QFile existing(path);
        if (!existing.open(QIODevice::ReadOnly))
            continue;
        QByteArray bytes = existing.readAll();
        // A run killed after stripping left the last line without its end.
        if (!bytes.endsWith('\n'))
            bytes += bytes.endsWith('\r') ? "\n" : "\r\n";
        if (const auto parsed = testing::churn::parse(bytes); parsed && !parsed->counters.isEmpty())
            next = qMax(next, parsed->counters.last() + 1);
    }
    return next;
}

// Takes the LF, or the CR LF, off the end of the file when it ends in CR LF.
void stripLineEnd(const QString &path, int bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite) || file.size() < 2 || !file.seek(file.size() - 2) ||
        file.read(2) != "\r\n")
        return;
    file.resize(file.size() - bytes);
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2)
        return 2;
    const RecordFile file(QStringLiteral("C:\\Tool\\devwork\\mitoon.txt"),
                          QFile::decodeName(argv[1]));
    const QString folder = QFileInfo(file.localPath()).path() + u'/';
    const QString runsPath = folder + QStringLiteral("精密測定.csv");
    const QString trialsPath = folder + QStringLiteral("精密測定-試行.csv");
    int counter = nextCounter(file, runsPath);
    std::mt19937 random(std::random_device{}());
    for (;;) {
        const int saves = std::uniform_int_distribution(1, 12)(random);
        for (int i = 0; i < saves; ++i, ++counter) {
            if (std::uniform_int_distribution(0, 3)(random) == 0) {
                report("stripping\n");
                const int bytes = std::uniform_int_distribution(1, 2)(random);
                for (const QString &path : {file.localPath(), runsPath, trialsPath})
                    stripLineEnd(path, bytes);
            }
            report("saving " + QByteArray::number(counter) + '\n');
            if (!file.append(testing::churn::line(counter)).ok())
                return 1;
            report("saved " + QByteArray::number(counter) + '\n');
            // A run of 精密測定 after one save in three, so that kills still land in clears.
            if (std::uniform_int_distribution(0, 2)(random) != 0)
                continue;
            report("storing " + QByteArray::number(counter) + '\n');
            precise::StoreState state;
            if (!precise::storeRun(testing::churn::run(counter), testing::churn::trials(counter),
                                   state, runsPath, trialsPath)
                     .ok())
                return 1;
            report("stored " + QByteArray::number(counter) + '\n');
        }
        report("clearing\n");
        if (!file.clear().ok())
            return 1;
        report("cleared\n");
    }
}
