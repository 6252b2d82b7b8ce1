#include "app/settings.h"

#include "app/appinfo.h"
#include "fileio/outsidefile.h"
#include "platform/numbers.h"
#include "precise/runsetup.h"

#include <QStandardPaths>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <limits>

namespace mitoon {

namespace {

const QString kPixelPitchKey = QStringLiteral("Settings/PixelPitchMm");
const QString kPreciseTrialsKey = QStringLiteral("Settings/PreciseTrials");
const QString kPreciseToneKey = QStringLiteral("Settings/PreciseTone");

QString sectionKey(const char *name)
{
    return QStringLiteral("Settings/") + QLatin1String(name);
}

// A stored number: written in the C locale; a value typed in by hand in the user's locale reads
// as well.
std::optional<double> readNumber(const QVariant &stored)
{
    // An INI value with a comma in it reads as a list: "7500,5" typed by hand in a locale with a
    // decimal comma is one number again once joined.
    const QString text = stored.typeId() == QMetaType::QStringList
                             ? stored.toStringList().join(u',')
                             : stored.toString();
    if (const auto value = parseLocaleNumber(text, QLocale::c()))
        return value;
    return parseLocaleNumber(text);
}

std::optional<float> readSingle(const QVariant &stored)
{
    const std::optional<double> value = readNumber(stored);
    if (!value)
        return std::nullopt;
    // Positions and sizes are whole numbers of pixels further on: a single beyond the integer
    // range is no usable value, like a text that is not a number.
    const float single = float(*value);
    constexpr double kIntegerRange = 2147483648.0;
    if (!(std::fabs(double(single)) < kIntegerRange))
        return std::nullopt;
    return single;
}

QRectF outerRect(const WindowGeometry &geometry, const QSizeF &sizeWhereNone)
{
    return QRectF(geometry.left, geometry.top, geometry.width.value_or(sizeWhereNone.width()),
                  geometry.height.value_or(sizeWhereNone.height()));
}

} // namespace

QString Settings::defaultFileName()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + u'/' +
           appTitle() + QStringLiteral(".ini");
}

Settings::Settings(const QString &fileName) : fileName_(fileName) {}

fileio::Result Settings::fileStatus() const
{
    const outsidefile::Reader reader(fileName_, outsidefile::kSettingsLimit);
    const fileio::Result &read = reader.result();
    if (read.ok() || read.error() == ENOENT)
        return {};
    return read.withMessage(
        QStringLiteral("設定ファイル %1 を使えません。理由: %2。"
                       "ウィンドウの位置と大きさは既定の値になり、設定は保存されません。")
            .arg(fileName_, read.reason()));
}

WindowGeometry Settings::loadGeometry() const
{
    if (!fileStatus().ok())
        return WindowGeometry();
    const QSettings settings(fileName_, QSettings::IniFormat);
    auto read = [&settings](const char *key) -> std::optional<float> {
        const QVariant stored = settings.value(sectionKey(key));
        if (!stored.isValid())
            return std::nullopt;
        return readSingle(stored);
    };
    WindowGeometry geometry;
    geometry.left = read("MainLeft").value_or(geometry.left);
    geometry.top = read("MainTop").value_or(geometry.top);
    geometry.width = read("MainWidth");
    geometry.height = read("MainHeight");
    return geometry;
}

void Settings::storeGeometry(const WindowGeometry &geometry)
{
    if (!fileStatus().ok())
        return;
    QSettings settings(fileName_, QSettings::IniFormat);
    auto write = [&settings](const char *key, std::optional<float> value) {
        if (value)
            settings.setValue(sectionKey(key), formatGeneral(*value, 7, QLocale::c()));
    };
    write("MainLeft", geometry.left);
    write("MainTop", geometry.top);
    write("MainWidth", geometry.width);
    write("MainHeight", geometry.height);
    settings.sync();
}

std::optional<double> Settings::loadPixelPitchMm() const
{
    if (!fileStatus().ok())
        return std::nullopt;
    const QSettings settings(fileName_, QSettings::IniFormat);
    const QVariant stored = settings.value(kPixelPitchKey);
    if (!stored.isValid())
        return std::nullopt;
    return readNumber(stored).value_or(std::numeric_limits<double>::quiet_NaN());
}

void Settings::storePixelPitchMm(std::optional<double> pitchMm)
{
    if (!fileStatus().ok())
        return;
    QSettings settings(fileName_, QSettings::IniFormat);
    if (pitchMm)
        settings.setValue(kPixelPitchKey, formatGeneral(*pitchMm, 15, QLocale::c()));
    else
        settings.remove(kPixelPitchKey);
    settings.sync();
}

std::optional<int> Settings::loadPreciseTrials() const
{
    if (!fileStatus().ok())
        return std::nullopt;
    const QSettings settings(fileName_, QSettings::IniFormat);
    bool ok = false;
    const int trials = settings.value(kPreciseTrialsKey).toInt(&ok);
    if (!ok || std::find(precise::kTrialCounts.begin(), precise::kTrialCounts.end(), trials) ==
                   precise::kTrialCounts.end())
        return std::nullopt;
    return trials;
}

void Settings::storePreciseTrials(int trials)
{
    if (!fileStatus().ok())
        return;
    QSettings settings(fileName_, QSettings::IniFormat);
    settings.setValue(kPreciseTrialsKey, QString::number(trials));
    settings.sync();
}

std::optional<bool> Settings::loadPreciseTone() const
{
    if (!fileStatus().ok())
        return std::nullopt;
    const QSettings settings(fileName_, QSettings::IniFormat);
    const QString stored = settings.value(kPreciseToneKey).toString();
    if (stored != u"0" && stored != u"1")
        return std::nullopt;
    return stored == u"1";
}

void Settings::storePreciseTone(bool tone)
{
    if (!fileStatus().ok())
        return;
    QSettings settings(fileName_, QSettings::IniFormat);
    settings.setValue(kPreciseToneKey, tone ? QStringLiteral("1") : QStringLiteral("0"));
    settings.sync();
}

WindowGeometry Settings::keepReachable(const WindowGeometry &geometry,
                                       const QList<QRect> &screensInTwips)
{
    // Without a stored size the top-left corner alone decides.
    const QRectF window = outerRect(geometry, QSizeF(1, 1));
    for (const QRect &screen : screensInTwips)
        if (QRectF(screen).intersects(window))
            return geometry;
    return WindowGeometry();
}

QRectF Settings::placement(const WindowGeometry &stored, const OuterSizes &sizes,
                           const QList<ScreenArea> &screens)
{
    // The screen that holds the most of the window limits its size.
    auto clampToScreen = [&screens](QRectF outer) {
        const ScreenArea *holder = nullptr;
        double most = -1;
        for (const ScreenArea &screen : screens) {
            const QRectF common = screen.geometry.intersected(outer);
            const double area = common.isEmpty() ? 0 : common.width() * common.height();
            if (area > most) {
                most = area;
                holder = &screen;
            }
        }
        if (holder) {
            outer.setWidth(std::min(outer.width(), holder->available.width()));
            outer.setHeight(std::min(outer.height(), holder->available.height()));
        }
        return outer;
    };

    WindowGeometry geometry = stored;
    geometry.width =
        std::max(double(geometry.width.value_or(sizes.layout.width())), sizes.minimum.width());
    geometry.height =
        std::max(double(geometry.height.value_or(sizes.layout.height())), sizes.minimum.height());
    const QRectF clamped = clampToScreen(outerRect(geometry, sizes.layout));
    geometry.width = clamped.width();
    geometry.height = clamped.height();

    QList<QRect> screenRects;
    for (const ScreenArea &screen : screens)
        screenRects.append(screen.geometry.toAlignedRect());
    if (keepReachable(geometry, screenRects) == geometry)
        return clamped;
    return clampToScreen(outerRect(WindowGeometry(), sizes.layout));
}

} // namespace mitoon
