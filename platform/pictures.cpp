#include "platform/pictures.h"

#include "platform/preparedstore.h"

#include <QHash>
#include <QImage>
#include <QImageReader>

#include <optional>

namespace mitoon::pictures {

namespace {

// Pictures decoded ahead of time, until the call that needs them takes them.
PreparedStore<QHash<QString, QImage>> prepared;

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
    std::optional<QImage> image = prepared.use([&path](QHash<QString, QImage> &items) {
        return items.contains(path) ? std::optional(items.take(path)) : std::nullopt;
    });
    return QPixmap::fromImage(image ? std::move(*image) : read(path));
}

void prepare(const QString &path)
{
    QImage image = read(path);
    prepared.use([&](QHash<QString, QImage> &items) { items.insert(path, std::move(image)); });
}

void dropPrepared()
{
    prepared.clear();
}

int preparedCount()
{
    return prepared.count();
}

QIcon programIcon()
{
    return QIcon(pixmap(QStringLiteral(":/assets/icon.png")));
}

} // namespace mitoon::pictures
