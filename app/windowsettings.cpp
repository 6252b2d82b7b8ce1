#include "app/windowsettings.h"

#include "acuity/variant.h"
#include "platform/appinfo.h"

#include <QStandardPaths>
#include <cmath>
#include <limits>

namespace mitoon {

namespace {

struct Key
{
    const char *name;
    float WindowGeometry::*member;
};

constexpr Key kKeys[] = {
    {"MainLeft", &WindowGeometry::left},
    {"MainTop", &WindowGeometry::top},
    {"MainWidth", &WindowGeometry::width},
    {"MainHeight", &WindowGeometry::height},
};

const QString kPixelPitchKey = QStringLiteral("Settings/PixelPitchMm");

QString sectionKey(const Key &key)
{
    return QStringLiteral("Settings/") + QLatin1String(key.name);
}

std::optional<float> readSingle(const QString &text)
{
    // Written in the C locale; a value typed in by hand in the user's locale reads as well.
    auto value = parseLocaleNumber(text, QLocale::c());
    if (!value)
        value = parseLocaleNumber(text);
    if (!value || std::fabs(*value) > 3.4e38)
        return std::nullopt;
    return float(*value);
}

} // namespace

QString WindowSettings::defaultFileName()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + u'/' +
           appTitle() + QStringLiteral(".ini");
}

WindowSettings::WindowSettings(const QString &fileName) : fileName_(fileName) {}

WindowGeometry WindowSettings::load() const
{
    const QSettings settings(fileName_, QSettings::IniFormat);
    WindowGeometry geometry;
    for (const Key &key : kKeys) {
        const QVariant stored = settings.value(sectionKey(key));
        if (!stored.isValid())
            continue;
        if (const auto value = readSingle(stored.toString()))
            geometry.*key.member = *value;
    }
    return geometry;
}

void WindowSettings::store(const WindowGeometry &geometry)
{
    QSettings settings(fileName_, QSettings::IniFormat);
    for (const Key &key : kKeys)
        settings.setValue(sectionKey(key), formatGeneral(geometry.*key.member, 7, QLocale::c()));
    settings.sync();
}

std::optional<double> WindowSettings::loadPixelPitchMm() const
{
    const QSettings settings(fileName_, QSettings::IniFormat);
    const QVariant stored = settings.value(kPixelPitchKey);
    if (!stored.isValid())
        return std::nullopt;
    // Written in the C locale; a value typed in by hand in the user's locale reads as well.
    const QString text = stored.toString();
    if (const auto value = parseLocaleNumber(text, QLocale::c()))
        return value;
    if (const auto value = parseLocaleNumber(text))
        return value;
    return std::numeric_limits<double>::quiet_NaN();
}

void WindowSettings::storePixelPitchMm(std::optional<double> pitchMm)
{
    QSettings settings(fileName_, QSettings::IniFormat);
    if (pitchMm)
        settings.setValue(kPixelPitchKey, formatGeneral(*pitchMm, 15, QLocale::c()));
    else
        settings.remove(kPixelPitchKey);
    settings.sync();
}

WindowGeometry WindowSettings::keepReachable(const WindowGeometry &geometry,
                                             const QList<QRect> &screensInTwips)
{
    const QRect window(int(geometry.left), int(geometry.top), int(geometry.width),
                       int(geometry.height));
    if (screensInTwips.isEmpty())
        return geometry;
    for (const QRect &screen : screensInTwips)
        if (screen.intersects(window))
            return geometry;
    return WindowGeometry();
}

} // namespace mitoon
