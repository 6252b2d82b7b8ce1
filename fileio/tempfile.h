#pragma once

#include "fileio/posixio.h"

#include <QString>

#include <optional>

// Temporary files beside a file, for replacing it in one rename. They are made safely in a
// folder that others may write too: each has a name of its own (the file's name, a random
// part, ".tmp"), is created only where nothing stands (O_EXCL, never through a link) and stays
// locked while in use. Temporaries that a crash left behind are removed without following
// links.
namespace mitoon::tempfile {

struct Temporary
{
    posixio::Descriptor file;
    QString path;
};

// A new, empty, locked temporary file beside `file`, with the permissions a new file gets; or
// nothing, errno set.
std::optional<Temporary> create(const QString &file);

// A second name beside `file` for the file itself (a hard link), or a locked copy of it where
// the file system has no hard links; nothing, errno set, when neither can be made.
std::optional<Temporary> secondName(const QString &file);

// Removes the temporaries beside `file` that no one uses: its names with ".tmp" at the end
// ("mitoon.txt.tmp", "mitoon.txt.k3Xv9a.tmp"). A link or anything else that is no regular file
// goes as it is, whatever it points to; a temporary that another program has locked stays.
void removeStale(const QString &file);

} // namespace mitoon::tempfile
