#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

// The fonts of the layouts: "ＭＳ Ｐゴシック" and "ＭＳ ゴシック" as the layouts name them, the
// installed faces that stand in for them, and fonts condensed to fit a box.
namespace mitoon::fonts {

inline const QString kPGothic = QStringLiteral("ＭＳ Ｐゴシック");
inline const QString kGothic = QStringLiteral("ＭＳ ゴシック");

// A font of the layouts: family by the name the layouts use, point size and weight.
QFont font(const QString &family, double points, bool bold = false);

// The same for texts of the program's own, all of whose characters the font has: Qt then needs
// no fallback fonts for it, which saves a fontconfig search per font at start-up. Boxes that
// show text from outside keep font(). Where the layout fonts' stand-ins are not complete
// Japanese fonts (registerSubstitutions), these fonts take fallback fonts too.
QFont fixedFont(const QString &family, double points, bool bold = false);

// `font` condensed just enough that each of `texts` shows whole in `width` pixels, its ink
// and a cursor after it: the stretch goes down from 100 in steps of 2 until all fit, to 52 at
// most. Each stretch is a font of its own to load, so the result may have been worked out
// ahead of time (prepareCondensed); the first call that asks for it takes it from there.
QFont condensedToFit(QFont font, int width, const QStringList &texts);

// The work of condensedToFit() done ahead on any thread, also while the GUI thread works: fonts
// are reentrant, and what is prepared is handed over under a lock. `font` must be one of the
// calling thread's own. What is not taken stays until dropPrepared().
void prepareCondensed(const QFont &font, int width, const QStringList &texts);
void dropPrepared();
// How many prepared stretches are waiting to be taken.
int preparedCount();

// The installed face that stands in for a font the layouts name (kPGothic or kGothic), given
// the installed families that can show Japanese: the IPA font metric-compatible with it, else
// another common Japanese Gothic font, else any Japanese face, a Gothic before a Mincho. With
// no Japanese face at all it is the IPA font's name.
struct StandIn
{
    QString family;
    // A complete Japanese font, with Latin letters and half-width kana: the program's own
    // texts need no fallback fonts in it. Faces such as "Droid Sans Fallback" lack Latin.
    bool complete = false;
};
StandIn standIn(const QString &layoutFamily, const QStringList &japaneseFamilies);

// The font names of the layouts resolve to their stand-ins among the installed fonts, so that
// fixed texts show in a Japanese face rather than as empty boxes wherever the IPA fonts are
// missing. The overload takes the installed Japanese families from the caller.
void registerSubstitutions();
void registerSubstitutions(const QStringList &japaneseFamilies);

} // namespace mitoon::fonts
