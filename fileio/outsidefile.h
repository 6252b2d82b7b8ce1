#pragma once

#include "fileio/posixio.h"
#include "fileio/result.h"

#include <QByteArray>
#include <QString>

#include <optional>

// Files that come from outside the program: the record file, the registry file, the help
// document, the settings. Anything may stand at their paths, so such a file is opened only when
// it is a regular file or a link to one, without waiting (a FIFO blocks open() until a writer
// comes, a device may never end), and it is read up to a stated limit.
namespace mitoon::outsidefile {

inline constexpr qint64 kMegabyte = 1024 * 1024;
inline constexpr qint64 kRecordLimit = 512 * kMegabyte;
inline constexpr qint64 kRegistryLimit = 16 * kMegabyte;
inline constexpr qint64 kHelpLimit = 16 * kMegabyte;
inline constexpr qint64 kSettingsLimit = 1 * kMegabyte;

// What tells one state of a file from another: a file with the same identity has not been
// replaced, written or touched since.
struct Identity
{
    qint64 device = 0;
    qint64 inode = 0;
    qint64 size = 0;
    qint64 modifiedSeconds = 0;
    qint64 modifiedNanoseconds = 0;

    bool operator==(const Identity &) const = default;
};

// The reason given for anything that is neither a regular file nor a folder.
QString notRegularReason();

// The identity of the file at `path` (after links), or nothing when it cannot be looked at.
std::optional<Identity> identityOf(const QString &path);

// An outside file opened for reading a part at a time.
class Reader
{
public:
    // Opens `path`, a file of at most `limit` bytes; result() says why when it could not: the
    // errno of the call that failed (EISDIR for a folder, EFBIG for a file over its limit, 0 for
    // anything else that is no regular file) and the reason in Japanese.
    Reader(const QString &path, qint64 limit);

    bool isOpen() const { return file_.valid(); }
    const fileio::Result &result() const { return result_; }
    // The file as it was opened, and once read to its end, as it was then.
    const Identity &identity() const { return identity_; }

    // Appends up to `maximum` more bytes to `bytes`. False, with result() failed and the file
    // closed, when reading failed or the file has grown past its limit. At the end of the file
    // it appends nothing and atEnd() turns true.
    bool read(qsizetype maximum, QByteArray *bytes);
    bool atEnd() const { return atEnd_; }
    qint64 bytesRead() const { return bytesRead_; }

private:
    void fail(int error);
    void fail(int error, const QString &reason);

    posixio::Descriptor file_;
    qint64 limit_;
    fileio::Result result_;
    Identity identity_;
    qint64 bytesRead_ = 0;
    bool atEnd_ = false;
};

struct Contents
{
    QByteArray bytes;
    fileio::Result result;
};

// The whole file at `path`, or why it could not be read.
Contents read(const QString &path, qint64 limit);

} // namespace mitoon::outsidefile
