#include "recordfiletesting.h"

#include "records/recordtext.h"

#include <QDataStream>

#include <cstdlib>
#include <sys/wait.h>
#include <unistd.h>

namespace mitoon::testing {

ReadOutcome readRecords(const RecordFile &file)
{
    RecordText text(file);
    ReadOutcome outcome;
    static_cast<FileOutcome &>(outcome) = text.rewind();
    QString shown;
    while (outcome.ok) {
        const RecordText::Piece piece = text.next();
        static_cast<FileOutcome &>(outcome) = piece.outcome;
        shown += piece.text;
        if (piece.last)
            break;
    }
    if (outcome.ok)
        outcome.lines = recordformat::splitLines(shown);
    return outcome;
}

FileOutcome runUnprivileged(const std::function<FileOutcome()> &operation)
{
    if (::geteuid() != 0)
        return operation();

    int channel[2];
    if (::pipe(channel) != 0)
        return {false, errno, QStringLiteral("pipe failed")};
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        constexpr uid_t kNobody = 65534;
        if (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)
            ::_exit(2);
        const FileOutcome outcome = operation();
        QByteArray report;
        QDataStream stream(&report, QIODevice::WriteOnly);
        stream << outcome.ok << qint32(outcome.error) << outcome.message;
        const bool sent =
            ::write(channel[1], report.constData(), size_t(report.size())) == report.size();
        ::_exit(sent ? 0 : 3);
    }
    ::close(channel[1]);
    QByteArray report;
    char buffer[4096];
    ssize_t got;
    while ((got = ::read(channel[0], buffer, sizeof buffer)) > 0)
        report.append(buffer, got);
    ::close(channel[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return {false, -1, QStringLiteral("the unprivileged child failed")};
    FileOutcome outcome;
    qint32 error = 0;
    QDataStream stream(report);
    stream >> outcome.ok >> error >> outcome.message;
    outcome.error = error;
    return outcome;
}

} // namespace mitoon::testing
