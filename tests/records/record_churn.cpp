// Saves and clears the record file given as its argument without end, reporting on standard
// output each save ("saved N") and clear ("cleared") once it has returned. The crash test
// kills it at random moments.
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
        if (const auto parsed = testing::churn::parse(existing.readAll());
            parsed && !parsed->counters.isEmpty())
            next = qMax(next, parsed->counters.last() + 1);
    }
    return next;
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
            if (!file.append(testing::churn::line(counter)).ok)
                return 1;
            report("saved " + QByteArray::number(counter) + '\n');
        }
        if (!file.clear().ok)
            return 1;
        report("cleared\n");
    }
}
