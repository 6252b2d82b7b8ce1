// Saves and clears the record file given as its argument without end, reporting on standard
// output each step before it starts ("saving N", "clearing", "stripping") and each save and
// clear once it has returned ("saved N", "cleared"). Now and then it strips the line end off
// the file's last line, as a hand edit may, so that the next save has to end that line first.
// The crash test kills it at random moments.
#include "churnlines.h"
#include "records/recordfile.h"

#include <QFile>

#include <cstdio>
#include <random>
#include <unistd.h>

using namespace mitoon;

namespace {

void report(const QByteArray &text)
{
    (void)::write(STDOUT_FILENO, text.constData(), text.size());
}

int nextCounter(const RecordFile &file)
{
    int next = 1;
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
    int counter = nextCounter(file);
    std::mt19937 random(std::random_device{}());
    for (;;) {
        const int saves = std::uniform_int_distribution(1, 12)(random);
        for (int i = 0; i < saves; ++i, ++counter) {
            if (std::uniform_int_distribution(0, 3)(random) == 0) {
                report("stripping\n");
                stripLineEnd(file.localPath(), std::uniform_int_distribution(1, 2)(random));
            }
            report("saving " + QByteArray::number(counter) + '\n');
            if (!file.append(testing::churn::line(counter)).ok())
                return 1;
            report("saved " + QByteArray::number(counter) + '\n');
        }
        report("clearing\n");
        if (!file.clear().ok())
            return 1;
        report("cleared\n");
    }
}
