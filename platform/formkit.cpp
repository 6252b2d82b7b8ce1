#include "platform/formkit.h"

#include "platform/twips.h"

#include <QFontDatabase>
#include <QPalette>
#include <QWidget>

#include <algorithm>

namespace mitoon::formkit {

namespace {
// Set when the layout fonts' stand-ins lack characters of the program's own texts. Like Qt's
// table of font substitutions it holds for the whole program.
bool fixedTextsNeedFallback = false;
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

QIcon programIcon()
{
    return QIcon(QStringLiteral(":/assets/icon.png"));
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
