#include "platform/formkit.h"

#include "platform/twips.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QHash>
#include <QImage>
#include <QImageReader>
#include <QMutex>
#include <QPalette>
#include <QWidget>

#include <algorithm>
#include <optional>

namespace mitoon::formkit {

namespace {
// Set when the layout fonts' stand-ins lack characters of the program's own texts. Like Qt's
// table of font substitutions it holds for the whole program.
bool fixedTextsNeedFallback = false;

// Results worked out ahead of time, until the call that needs them takes them.
struct Prepared
{
    struct Condensed
    {
        QString font; // QFont::toString()
        int width;
        QStringList texts;
        int stretch;
    };
    QMutex lock;
    QList<Condensed> condensed;
    QHash<QString, QImage> pictures;
};

Prepared &prepared()
{
    static Prepared store;
    return store;
}

int condensedStretch(QFont font, int width, const QStringList &texts)
{
    int stretch = 100;
    for (; stretch > 50; stretch -= 2) {
        font.setStretch(stretch);
        const QFontMetrics metrics(font);
        const bool fits = std::all_of(texts.begin(), texts.end(), [&](const QString &text) {
            return metrics.horizontalAdvance(text) + 1 <= width &&
                   metrics.boundingRect(text).right() < width;
        });
        if (fits)
            return stretch;
    }
    return stretch + 2; // none fits: the narrowest tried
}

// The program's pictures are PNG files. Told so, the reader goes straight to its own PNG
// decoder; left to find out, it would load every image format plugin to ask it first.
QImage readPicture(const QString &path)
{
    QImageReader reader(path, "png");
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

std::optional<int> takeCondensed(const QString &font, int width, const QStringList &texts)
{
    Prepared &store = prepared();
    const QMutexLocker locker(&store.lock);
    for (qsizetype i = 0; i < store.condensed.size(); ++i) {
        const Prepared::Condensed &entry = store.condensed.at(i);
        if (entry.font == font && entry.width == width && entry.texts == texts) {
            const int stretch = entry.stretch;
            store.condensed.removeAt(i);
            return stretch;
        }
    }
    return std::nullopt;
}

} // namespace

void place(QWidget *widget, int left, int top, int width, int height)
{
    widget->setGeometry(twips::rect(left, top, width, height));
}

void setClientSize(QWidget *window, int width, int height)
{
    window->setFixedSize(twips::toPixelsRounded(width), twips::toPixelsRounded(height));
}

QFont font(const QString &family, double points, bool bold)
{
    QFont f(family);
    f.setPointSizeF(points);
    f.setWeight(bold ? QFont::Bold : QFont::Normal);
    return f;
}

QFont fixedFont(const QString &family, double points, bool bold)
{
    QFont f = font(family, points, bold);
    if (!fixedTextsNeedFallback)
        f.setStyleStrategy(QFont::NoFontMerging);
    return f;
}

QFont condensedToFit(QFont font, int width, const QStringList &texts)
{
    const std::optional<int> ahead = takeCondensed(font.toString(), width, texts);
    font.setStretch(ahead ? *ahead : condensedStretch(font, width, texts));
    return font;
}

QPixmap picture(const QString &path)
{
    Prepared &store = prepared();
    std::optional<QImage> image;
    {
        const QMutexLocker locker(&store.lock);
        if (const auto found = store.pictures.constFind(path); found != store.pictures.cend()) {
            image = *found;
            store.pictures.erase(found);
        }
    }
    return QPixmap::fromImage(image ? std::move(*image) : readPicture(path));
}

void prepareCondensed(const QFont &font, int width, const QStringList &texts)
{
    const int stretch = condensedStretch(font, width, texts);
    Prepared &store = prepared();
    const QMutexLocker locker(&store.lock);
    store.condensed.append({font.toString(), width, texts, stretch});
}

void preparePicture(const QString &path)
{
    QImage image = readPicture(path);
    Prepared &store = prepared();
    const QMutexLocker locker(&store.lock);
    store.pictures.insert(path, std::move(image));
}

void dropPrepared()
{
    Prepared &store = prepared();
    const QMutexLocker locker(&store.lock);
    store.condensed.clear();
    store.pictures.clear();
}

int preparedCount()
{
    Prepared &store = prepared();
    const QMutexLocker locker(&store.lock);
    return int(store.condensed.size() + store.pictures.size());
}

QIcon programIcon()
{
    return QIcon(picture(QStringLiteral(":/assets/icon.png")));
}

QColor systemColor(SystemColor color)
{
    switch (color) {
    case SystemColor::Window:
    case SystemColor::CaptionText:
    case SystemColor::HighlightText:
        return QColor(255, 255, 255);
    case SystemColor::ThreeDLight:
        return QColor(227, 227, 227);
    }
    return QColor(255, 255, 255);
}

void setBackground(QWidget *widget, const QColor &color)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, color);
    // Buttons fill their background with the button colour.
    palette.setColor(widget->backgroundRole(), color);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

StandIn standIn(const QString &layoutFamily, const QStringList &japaneseFamilies)
{
    // Complete Japanese fonts, best first: the IPA font metric-compatible with the named one,
    // then the Gothic fonts Linux distributions commonly bring, monospaced ones first for the
    // monospaced font.
    static const QStringList kPGothicFaces = {
        QStringLiteral("IPAPGothic"),       QStringLiteral("IPAexGothic"),
        QStringLiteral("Noto Sans CJK JP"), QStringLiteral("Source Han Sans JP"),
        QStringLiteral("TakaoPGothic"),     QStringLiteral("VL PGothic"),
        QStringLiteral("IPAGothic")};
    static const QStringList kGothicFaces = {
        QStringLiteral("IPAGothic"),       QStringLiteral("Noto Sans Mono CJK JP"),
        QStringLiteral("TakaoGothic"),     QStringLiteral("VL Gothic"),
        QStringLiteral("IPAPGothic"),      QStringLiteral("IPAexGothic"),
        QStringLiteral("Noto Sans CJK JP")};
    const QStringList &faces = layoutFamily == kGothic ? kGothicFaces : kPGothicFaces;
    for (const QString &face : faces) {
        if (japaneseFamilies.contains(face, Qt::CaseInsensitive))
            return {face, true};
    }
    const auto isMincho = [](const QString &family) {
        return family.contains(QLatin1String("Mincho"), Qt::CaseInsensitive) ||
               family.contains(QStringLiteral("明朝")) ||
               family.contains(QLatin1String("Serif"), Qt::CaseInsensitive);
    };
    const auto gothic =
        std::find_if_not(japaneseFamilies.begin(), japaneseFamilies.end(), isMincho);
    if (gothic != japaneseFamilies.end())
        return {*gothic, false};
    return {japaneseFamilies.value(0, faces.first()), false};
}

void registerFontSubstitutions()
{
    // Filling the font database is the cost here, and the first text shown would fill it
    // anyway. Then the list of Japanese families comes from flags it already holds, cheaper
    // than a single QFontDatabase::hasFamily(), which asks fontconfig for aliases.
    registerFontSubstitutions(QFontDatabase::families(QFontDatabase::Japanese));
}

void registerFontSubstitutions(const QStringList &japaneseFamilies)
{
    bool complete = true;
    for (const QString &layoutFamily : {kPGothic, kGothic}) {
        const StandIn face = standIn(layoutFamily, japaneseFamilies);
        QFont::removeSubstitutions(layoutFamily);
        QFont::insertSubstitution(layoutFamily, face.family);
        complete = complete && face.complete;
    }
    fixedTextsNeedFallback = !complete;
}

} // namespace mitoon::formkit
