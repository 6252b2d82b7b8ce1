#include "app/settings.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>

using mitoon::Settings;
using mitoon::WindowGeometry;

TEST(PixelPitchSetting, RoundTripsBesideTheWindowGeometry)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("ミトーン.ini");
    Settings settings(path);
    EXPECT_FALSE(settings.loadPixelPitchMm());
    const WindowGeometry geometry{1500, 345, 6645.5f, 9075};
    settings.storeGeometry(geometry);
    settings.storePixelPitchMm(85.60 / 312);
    // Closing the main window stores the geometry again; the measurement stays.
    settings.storeGeometry(geometry);
    EXPECT_NEAR(*settings.loadPixelPitchMm(), 85.60 / 312, 1e-14);
    EXPECT_EQ(settings.loadGeometry(), geometry);
    QSettings ini(path, QSettings::IniFormat);
    EXPECT_EQ(ini.value("Settings/PixelPitchMm").toString(), "0.274358974358974");

    // A text that is no number reads as NaN, which the screen check refuses.
    ini.setValue("Settings/PixelPitchMm", "0.27 mm");
    ini.sync();
    EXPECT_TRUE(std::isnan(settings.loadPixelPitchMm().value_or(0)));

    settings.storePixelPitchMm(std::nullopt);
    EXPECT_FALSE(settings.loadPixelPitchMm());
    EXPECT_EQ(settings.loadGeometry(), geometry);
}
