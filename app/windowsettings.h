#pragma once

#include <QList>
#include <QRect>
#include <QSettings>
#include <optional>

namespace mitoon {

// The main window's position and outer size in twips, as the settings store keeps them.
struct WindowGeometry
{
    float left = 1000;
    float top = 1000;
    float width = 6500;
    float height = 6500;

    bool operator==(const WindowGeometry &) const = default;
};

// The four window-geometry keys of section "Settings", stored as the decimal text of single
// precision numbers under the application title in the user's configuration folder.
class WindowSettings
{
public:
    // An INI file named after the application title, in $XDG_CONFIG_HOME.
    static QString defaultFileName();

    explicit WindowSettings(const QString &fileName = defaultFileName());

    // A key that is missing, or holds no number, gives that key's default.
    WindowGeometry load() const;
    void store(const WindowGeometry &geometry);

    // The size of one screen pixel in millimetres as the user measured it with a card, key
    // "PixelPitchMm" of the same section: nothing when none is stored, NaN when what is stored
    // is no finite number. Storing nothing removes the key.
    std::optional<double> loadPixelPitchMm() const;
    void storePixelPitchMm(std::optional<double> pitchMm);

    // A window that lies wholly outside every screen opens at the defaults instead; one that
    // is partly off screen stays where it was stored.
    static WindowGeometry keepReachable(const WindowGeometry &geometry,
                                        const QList<QRect> &screensInTwips);

private:
    QString fileName_;
};

} // namespace mitoon
