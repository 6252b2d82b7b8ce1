#include "fileio/outsidefile.h"

#include "fileio/systemerror.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace mitoon::outsidefile {

namespace {

Identity identityFrom(const struct stat &status)
{
    return {qint64(status.st_dev), qint64(status.st_ino), qint64(status.st_size),
            qint64(status.st_mtim.tv_sec), qint64(status.st_mtim.tv_nsec)};
}

QString tooLargeReason(qint64 limit)
{
    const QString size = limit % kMegabyte == 0 ? QStringLiteral("%1 MB").arg(limit / kMegabyte)
                                                : QStringLiteral("%1 バイト").arg(limit);
    return systemErrorText(EFBIG) + QStringLiteral("（読み込める大きさは %1 までです）").arg(size);
}

} // namespace

QString notRegularReason()
{
    return QStringLiteral("通常のファイルではありません（パイプやデバイスなど）");
}

std::optional<Identity> identityOf(const QString &path)
{
    struct stat status = {};
    if (::stat(posixio::nativePath(path).constData(), &status) != 0)
        return std::nullopt;
    return identityFrom(status);
}

Reader::Reader(const QString &path, qint64 limit) : limit_(limit)
{
    file_ = posixio::Descriptor(posixio::openFile(path, O_RDONLY | O_NONBLOCK));
    struct stat status = {};
    if (!file_.valid() || ::fstat(file_.get(), &status) != 0) {
        fail(errno);
        return;
    }
    if (S_ISDIR(status.st_mode)) {
        fail(EISDIR);
        return;
    }
    if (!S_ISREG(status.st_mode)) {
        fail(0, notRegularReason());
        return;
    }
    if (status.st_size > limit_) {
        fail(EFBIG, tooLargeReason(limit_));
        return;
    }
    identity_ = identityFrom(status);
}

void Reader::fail(int error)
{
    fail(error, systemErrorText(error));
}

void Reader::fail(int error, const QString &reason)
{
    result_ = fileio::Result::failure(error, reason);
    file_.reset();
}

bool Reader::read(qsizetype maximum, QByteArray *bytes)
{
    if (!file_.valid())
        return false;
    // One byte past the limit tells a file that has grown beyond it.
    const qint64 wanted = qMin<qint64>(maximum, limit_ + 1 - bytesRead_);
    const qsizetype start = bytes->size();
    bytes->resize(start + qsizetype(wanted));
    ssize_t got;
    do {
        got = ::read(file_.get(), bytes->data() + start, size_t(wanted));
    } while (got < 0 && errno == EINTR);
    bytes->resize(start + qMax<qsizetype>(got, 0));
    if (got < 0) {
        fail(errno);
        return false;
    }
    bytesRead_ += got;
    if (bytesRead_ > limit_) {
        fail(EFBIG, tooLargeReason(limit_));
        return false;
    }
    if (got == 0) {
        // What has been read is the file as it is now.
        struct stat status = {};
        if (::fstat(file_.get(), &status) == 0)
            identity_ = identityFrom(status);
        atEnd_ = true;
        file_.reset();
    }
    return true;
}

Contents read(const QString &path, qint64 limit)
{
    Reader reader(path, limit);
    Contents contents;
    if (reader.isOpen())
        contents.bytes.reserve(qsizetype(reader.identity().size));
    // Parts of the size the file had when opened, and a little more to see its end.
    while (!reader.atEnd()) {
        const qint64 expected = qMax<qint64>(reader.identity().size - contents.bytes.size(), 0);
        if (!reader.read(qsizetype(qMin<qint64>(expected + 4096, kMegabyte)), &contents.bytes))
            break;
    }
    contents.result = reader.result();
    if (!contents.result.ok())
        contents.bytes.clear();
    return contents;
}

} // namespace mitoon::outsidefile
