// Fuzzes the reading of numbers from outside: the texts of the display-size and distance boxes
// (the sizing formula and the test start's range checks) and the stored window geometry, read
// and placed on a screen.
#include "acuity/calibration.h"
#include "acuity/variant.h"
#include "app/settings.h"

#include <QFile>
#include <QTemporaryDir>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <optional>

using namespace mitoon;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    for (const QLocale &locale : {QLocale::c(), QLocale(QLocale::German, QLocale::Germany),
                                  QLocale(QLocale::Japanese, QLocale::Japan)}) {
        if (const auto value = parseLocaleNumber(text, locale); value && !std::isfinite(*value))
            std::abort();
        const auto order = Variant::text(text).compare(300, locale);
        (void)order;
    }
    const Variant box = Variant::text(text);
    for (const Variant &other : {Variant::text(QStringLiteral("100")), box}) {
        if (const auto extent = ringExtent(kBaseWidth, box, other))
            if (!std::isfinite(*extent) || *extent <= 0)
                std::abort(); // the ring never gets an infinite, zero or negative size
    }

    // The same bytes as a settings file, as a position and as a size.
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("settings.ini"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        for (const QByteArray key :
             {QByteArrayLiteral("[Settings]\nMainLeft="), QByteArrayLiteral("\nMainWidth=")})
            file.write(key + QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
        file.write(QByteArrayLiteral("\n"));
    }
    const WindowGeometry geometry = Settings(path).loadGeometry();
    // Every value read becomes a whole number of pixels: it lies within the integer range.
    for (std::optional<float> v :
         {std::optional<float>(geometry.left), std::optional<float>(geometry.top), geometry.width,
          geometry.height})
        if (v && !(std::fabs(*v) < 2147483648.0f))
            std::abort();
    // Placed on a screen, the window shows at least its first row, at most the screen's
    // available area, and some part of it lies on the screen.
    const QList<ScreenArea> screen = {{QRectF(0, 0, 19200, 15360), QRectF(0, 0, 19200, 14760)}};
    const OuterSizes sizes{QSizeF(6645, 8130), QSizeF(2895, 1065)};
    const QRectF outer = Settings::placement(geometry, sizes, screen);
    if (!(outer.width() >= 2895 && outer.width() <= 19200 && outer.height() >= 1065 &&
          outer.height() <= 14760 && outer.intersects(screen.first().geometry)))
        std::abort();
    return 0;
}
