#include "support/recordfiletesting.h"

#include "records/recordtext.h"

#include <QDataStream>

#include <cstdlib>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

namespace mitoon::testing {

ReadOutcome readRecords(const RecordFile &file)
{
    RecordText text(file);
    ReadOutcome outcome;
    static_cast<fileio::Result &>(outcome) = text.rewind();
    QString shown;
    while (outcome.ok()) {
        const RecordText::Piece piece = text.next();
        static_cast<fileio::Result &>(outcome) = piece.outcome;
        shown += piece.text;
        if (piece.last)
            break;
    }
    if (outcome.ok())
        outcome.lines = recordformat::splitLines(shown);
    return outcome;
}

namespace {

// Runs `operation` in a child process after `setUp` there, and gives back the bytes it
// returned; nothing when `setUp` failed, so that the caller can skip.
std::optional<QByteArray> runInChild(const std::function<bool()> &setUp,
                                     const std::function<QByteArray()> &operation)
{
    int channel[2];
    if (::pipe(channel) != 0)
        return std::nullopt;
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        if (!setUp())
            ::_exit(4);
        const QByteArray report = operation();
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
        return std::nullopt;
    return report;
}

} // namespace

QByteArray serialized(const fileio::Result &outcome)
{
    QByteArray report;
    QDataStream stream(&report, QIODevice::WriteOnly);
    stream << outcome.ok() << qint32(outcome.error()) << outcome.reason() << outcome.message();
    return report;
}

fileio::Result deserialized(const QByteArray &report)
{
    bool ok = true;
    qint32 error = 0;
    QString reason;
    QString message;
    QDataStream stream(report);
    stream >> ok >> error >> reason >> message;
    if (ok)
        return {};
    return fileio::Result::failure(error, reason).withMessage(message);
}

std::optional<QByteArray> runUnprivileged(const std::function<QByteArray()> &operation)
{
    if (::geteuid() != 0)
        return operation();
    constexpr uid_t kNobody = 65534;
    return runInChild([] { return ::setgid(kNobody) == 0 && ::setuid(kNobody) == 0; }, operation);
}

fileio::Result runUnprivileged(const std::function<fileio::Result()> &operation)
{
    const std::optional<QByteArray> report = runUnprivileged(
        std::function<QByteArray()>([&operation] { return serialized(operation()); }));
    if (!report)
        return fileio::Result::failure(-1, QStringLiteral("the unprivileged child failed"))
            .withMessage(QStringLiteral("the unprivileged child failed"));
    return deserialized(*report);
}

std::optional<QByteArray> runOnOwnFileSystem(const QString &folder, qint64 bytes, bool readOnly,
                                             const std::function<void()> &prepare,
                                             const std::function<QByteArray()> &operation)
{
    const QByteArray target = QFile::encodeName(folder);
    const QByteArray options = "size=" + QByteArray::number(bytes);
    return runInChild(
        [&] {
            if (::unshare(CLONE_NEWNS) != 0 ||
                ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
                ::mount("tmpfs", target.constData(), "tmpfs", 0, options.constData()) != 0)
                return false;
            prepare();
            return !readOnly || ::mount(nullptr, target.constData(), nullptr,
                                        MS_REMOUNT | MS_RDONLY, options.constData()) == 0;
        },
        operation);
}

} // namespace mitoon::testing
