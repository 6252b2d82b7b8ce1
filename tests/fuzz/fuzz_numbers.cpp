// Fuzzes the reading of numbers from outside: the texts of the display-size and distance boxes
// (the sizing formula and the test start's range checks) and the stored window geometry.
#include "acuity/calibration.h"
#include "acuity/variant.h"
#include "app/windowsettings.h"

#include <QFile>
#include <QTemporaryDir>
#include <cmath>
#include <cstdint>
#include <cstdlib>

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

    // The same bytes as a settings file.
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("settings.ini"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        file.write(QByteArrayLiteral("[Settings]\nMainLeft="));
        file.write(reinterpret_cast<const char *>(data), qsizetype(size));
        file.write(QByteArrayLiteral("\n"));
    }
    const WindowGeometry geometry = WindowSettings(path).load();
    for (float v : {geometry.left, geometry.top, geometry.width, geometry.height})
        if (!std::isfinite(v))
            std::abort();
    return 0;
}
