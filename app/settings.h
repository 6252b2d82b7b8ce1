#pragma once

#include "fileio/result.h"

#include <QList>
#include <QRect>
#include <QRectF>
#include <QSettings>
#include <optional>

namespace mitoon {

// The main window's position and outer size in twips, as the settings store keeps them. A size
// that is not stored is the size that shows the window's whole layout.
struct WindowGeometry
{
    float left = 1000;
    float top = 1000;
    std::optional<float> width;
    std::optional<float> height;

    bool operator==(const WindowGeometry &) const = default;
};

// One screen in twips: the whole of it, and the part that windows may use (without panels).
struct ScreenArea
{
    QRectF geometry;
    QRectF available;
};

// Outer sizes of the main window in twips, frame and menu bar included: the one that shows the
// whole layout, and the least that still shows the layout's first row of controls.
struct OuterSizes
{
    QSizeF layout;
    QSizeF minimum;
};

// The program's settings, section "Settings" of an INI file under the application title in the
// user's configuration folder: the four window-geometry keys, stored as the decimal text of
// single precision numbers, the pixel pitch of the screen check, and the choices of "精密測定".
class Settings
{
public:
    // An INI file named after the application title, in $XDG_CONFIG_HOME.
    static QString defaultFileName();

    explicit Settings(const QString &fileName = defaultFileName());

    // Whether the settings file can be used (a file not there yet can), and if not, why, in
    // Japanese. Something other than a regular file at its path (a FIFO would keep the
    // program waiting, a device may never end), a folder or a file over 1 MB is neither read
    // nor written: the program then runs with the defaults and keeps nothing.
    fileio::Result fileStatus() const;

    // A key that is missing, or holds no number within the integer range, gives that key's
    // default; so does every key of a file that cannot be used.
    WindowGeometry loadGeometry() const;
    void storeGeometry(const WindowGeometry &geometry);

    // The size of one screen pixel in millimetres as the user measured it with a card, key
    // "PixelPitchMm" of the same section: nothing when none is stored, NaN when what is stored
    // is no finite number. Storing nothing removes the key.
    std::optional<double> loadPixelPitchMm() const;
    void storePixelPitchMm(std::optional<double> pitchMm);

    // "精密測定": how many rings a run shows (key "PreciseTrials", 18, 24, 30 or 48) and whether
    // a short tone sounds after each answer ("PreciseTone", 1 or 0). Nothing when nothing
    // usable is stored.
    std::optional<int> loadPreciseTrials() const;
    void storePreciseTrials(int trials);
    std::optional<bool> loadPreciseTone() const;
    void storePreciseTone(bool tone);

    // A window that lies wholly outside every screen opens at the defaults instead; one that
    // is partly off screen stays where it was stored. Without any screen to judge by, the
    // defaults are used too.
    static WindowGeometry keepReachable(const WindowGeometry &geometry,
                                        const QList<QRect> &screensInTwips);

    // Where the main window opens, outer geometry in twips: the stored geometry, with the
    // layout's size where none is stored; width and height at least `sizes.minimum` and at most
    // the available area of the screen that holds the window; the default position and size
    // when no part of it would be on a screen.
    static QRectF placement(const WindowGeometry &stored, const OuterSizes &sizes,
                            const QList<ScreenArea> &screens);

private:
    QString fileName_;
};

} // namespace mitoon
