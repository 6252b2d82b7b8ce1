#pragma once

#include "fileio/result.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>
#include <sys/types.h>

// The one way the program writes a file: whole files replaced in one step, and lines appended
// that reach the disk whole or not at all. A file at a path that is a link to a file elsewhere
// stays a link: the operation acts on the file it leads to, resolved once per operation. Each
// call opens, uses and closes its files; nothing stays open.
namespace mitoon::fileio {

// Where `path` leads, resolved once: the file a link points to, or `path` itself for a file
// that does not exist yet (it is made where its path says). A link that leads nowhere leads to
// no file: nothing, with the failure.
std::optional<QString> resolve(const QString &path, Result *failure);

struct WriteOptions
{
    // A file already there is replaced, keeping its permissions; without it, the write fails
    // with EEXIST and leaves that file as it is.
    bool replace = true;
    // The permissions of a new file; without them, those any new file gets (0666 less the
    // umask).
    std::optional<mode_t> permissions;
    // Runs once the new contents are on disk, just before they take the file's place, with the
    // file's resolved path and whether a file stands there now; a failure here ends the write
    // and leaves the file as it was.
    std::function<Result(const QString &target, bool exists)> beforeReplacing;
};

// Writes `bytes` as the file `path` in one step: into a temporary file of its own beside the
// file (created only where nothing stands, never through a link, locked while in use), synced
// to disk, then renamed over the file, and the folder synced. A failure leaves any old file
// as it was and no temporary file behind; temporaries that a crash left beside the file are
// removed first. A folder, a FIFO or a device at the path is not replaced.
Result writeWhole(const QString &path, const QByteArray &bytes, const WriteOptions &options = {});

struct AppendOptions
{
    // Written before the first line of a file that is new or empty, in the same write.
    QByteArray header;
};

// Appends `line` (with its line end) to the file `path`, creating it, never through a link,
// when it is really missing. The line goes in with one write and is synced to disk before it
// counts as appended; a line that may not have reached the disk whole is taken back out, so the
// file keeps whole lines only. A line always starts on a fresh line, whatever left the file
// without a line end at its end (CR LF; a lone CR gets its LF). Saves wait for each other (a
// lock on the file), and a save that finds the file replaced meanwhile writes to the new one.
// A FIFO or a socket at the path is refused; a device is written as it is.
Result appendLine(const QString &path, const QByteArray &line, const AppendOptions &options = {});

// The real cause behind `error` for the file `path`: a missing folder (ENOENT) may hide that
// the folder could not be made where it belongs, for want of permission or on a read-only disk.
int realCause(const QString &path, int error);

// A failure on the file `windowsPath` (`localPath` here) as the user reads it:
// "<subject> <windowsPath>（<localPath>）<what>。理由: <reason>。", the reason being the real cause
// behind a missing folder. A success stays as it is.
Result told(const Result &result, const QString &subject, const QString &windowsPath,
            const QString &localPath, const QString &what);

} // namespace mitoon::fileio
