#include "platform/fonts.h"

#include "platform/preparedstore.h"

#include <QFontDatabase>
#include <QFontMetrics>

#include <algorithm>
#include <optional>

namespace mitoon::fonts {

namespace {
// Set when the layout fonts' stand-ins lack characters of the program's own texts. Like Qt's
// table of font substitutions it holds for the whole program.
bool fixedTextsNeedFallback = false;

// Stretches worked out ahead of time, until the call that needs them takes them.
struct Prepared
{
    QString font; // QFont::toString()
    int width;
    QStringList texts;
    int stretch;
};

PreparedStore<QList<Prepared>> prepared;

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

std::optional<int> takeCondensed(const QString &font, int width, const QStringList &texts)
{
    return prepared.use([&](QList<Prepared> &items) -> std::optional<int> {
        for (qsizetype i = 0; i < items.size(); ++i) {
            const Prepared &entry = items.at(i);
            if (entry.font == font && entry.width == width && entry.texts == texts) {
                const int stretch = entry.stretch;
                items.removeAt(i);
                return stretch;
            }
        }
        return std::nullopt;
    });
}

} // namespace

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

void prepareCondensed(const QFont &font, int width, const QStringList &texts)
{
    Prepared entry{font.toString(), width, texts, condensedStretch(font, width, texts)};
    prepared.use([&entry](QList<Prepared> &items) { items.append(std::move(entry)); });
}

void dropPrepared()
{
    prepared.clear();
}

int preparedCount()
{
    return prepared.count();
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

void registerSubstitutions()
{
    // Filling the font database is the cost here, and the first text shown would fill it
    // anyway. Then the list of Japanese families comes from flags it already holds, cheaper
    // than a single QFontDatabase::hasFamily(), which asks fontconfig for aliases.
    registerSubstitutions(QFontDatabase::families(QFontDatabase::Japanese));
}

void registerSubstitutions(const QStringList &japaneseFamilies)
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

} // namespace mitoon::fonts
