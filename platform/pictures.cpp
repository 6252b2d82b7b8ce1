#include "platform/pictures.h"

#include <QHash>
#include <QImage>
#include <QImageReader>
#include <QMutex>

#include <optional>

namespace mitoon::pictures {

namespace {

// Pictures decoded ahead of time, until the call that needs them takes them.
QMutex preparedLock;
QHash<QString, QImage> prepared;

// The program's pictures are PNG files. Told so, the reader goes straight to its own PNG
// decoder; left to find out, it would load every image format plugin to ask it first.
QImage read(const QString &path)
{
    QImageReader reader(path, "png");
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

} // namespace

QPixmap pixmap(const QString &path)
{
    std::optional<QImage> image;
    {
        const QMutexLocker locker(&preparedLock);
        if (const auto found = prepared.constFind(path); found != prepared.cend()) {
            image = *found;
            prepared.erase(found);
        }
    }
    return QPixmap::fromImage(image ? std::move(*image) : read(path));
}

void prepare(const QString &path)
{
    QImage image = read(path);
    const QMutexLocker locker(&preparedLock);
    prepared.insert(path, std::move(image));
}

void dropPrepared()
{
    const QMutexLocker locker(&preparedLock);
    prepared.clear();
}

int preparedCount()
{
    const QMutexLocker locker(&preparedLock);
    return int(prepared.size());
}

QIcon programIcon()
{
    return QIcon(pixmap(QStringLiteral(":/assets/icon.png")));
}

} // namespace mitoon::pictures
