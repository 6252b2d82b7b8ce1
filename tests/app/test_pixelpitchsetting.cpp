#include "app/windowsettings.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using mitoon::WindowGeometry;
using mitoon::WindowSettings;

namespace {

struct IniFile
{
    QTemporaryDir dir;
    QString path = dir.filePath("ミトーン.ini");

    void write(const QByteArray &contents)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(contents);
    }
    QByteArray read() const
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

} // namespace

TEST(PixelPitchSetting, RoundTripsBesideTheWindowGeometry)
{
    IniFile ini;
    WindowSettings settings(ini.path);
    EXPECT_FALSE(settings.loadPixelPitchMm());

    const WindowGeometry geometry{1500, 345, 6645.5f, 9075};
    settings.store(geometry);
    settings.storePixelPitchMm(85.60 / 312);
    EXPECT_NEAR(*settings.loadPixelPitchMm(), 85.60 / 312, 1e-14);
    EXPECT_EQ(settings.load(), geometry);
    EXPECT_TRUE(ini.read().contains("[Settings]\n")) << ini.read().constData();
    EXPECT_TRUE(ini.read().contains("PixelPitchMm=0.274358974358974")) << ini.read().constData();

    // Closing the main window stores the geometry again; the measurement stays.
    settings.store({1000, 1000, 6500, 6500});
    EXPECT_NEAR(*settings.loadPixelPitchMm(), 85.60 / 312, 1e-14);

    settings.storePixelPitchMm(std::nullopt);
    EXPECT_FALSE(settings.loadPixelPitchMm());
    EXPECT_FALSE(ini.read().contains("PixelPitchMm"));
    EXPECT_EQ(settings.load(), (WindowGeometry{1000, 1000, 6500, 6500}));
}

TEST(PixelPitchSetting, WhatIsNoNumberReadsAsNotANumber)
{
    IniFile ini;
    struct Row
    {
        const char *stored;
        double read; // NaN: stored, but no finite number
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    // Whether a number is a plausible pitch is for the screen check to say, not the store.
    for (const Row row : {Row{"abc", nan}, Row{"", nan}, Row{"0.27 mm", nan}, Row{"nan", nan},
                          Row{"inf", nan}, Row{"1e999", nan}, Row{"0.25", 0.25}, Row{"-1", -1.0},
                          Row{"0", 0.0}, Row{" 0.3 ", 0.3}}) {
        SCOPED_TRACE(row.stored);
        ini.write(QByteArray("[Settings]\nMainLeft=1500\nPixelPitchMm=") + row.stored + "\n");
        const std::optional<double> read = WindowSettings(ini.path).loadPixelPitchMm();
        ASSERT_TRUE(read);
        if (std::isnan(row.read))
            EXPECT_TRUE(std::isnan(*read)) << *read;
        else
            EXPECT_EQ(*read, row.read);
        EXPECT_EQ(WindowSettings(ini.path).load().left, 1500);
    }
    ini.write("[Settings]\nMainLeft=1500\n");
    EXPECT_FALSE(WindowSettings(ini.path).loadPixelPitchMm());
}
