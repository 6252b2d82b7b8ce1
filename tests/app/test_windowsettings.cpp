#include "app/windowsettings.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

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

TEST(WindowSettings, EmptyStoreGivesTheDefaults)
{
    IniFile ini;
    EXPECT_EQ(WindowSettings(ini.path).load(), (WindowGeometry{1000, 1000, 6500, 6500}));
}

TEST(WindowSettings, RoundTripAsDecimalTextOfSingles)
{
    IniFile ini;
    WindowSettings settings(ini.path);
    settings.store({1500, 345, 6645.5f, 9075});
    EXPECT_EQ(settings.load(), (WindowGeometry{1500, 345, 6645.5f, 9075}));
    const QByteArray text = ini.read();
    EXPECT_TRUE(text.contains("[Settings]")) << text.constData();
    EXPECT_TRUE(text.contains("MainLeft=1500")) << text.constData();
    EXPECT_TRUE(text.contains("MainWidth=6645.5")) << text.constData();
}

TEST(WindowSettings, EachBadOrMissingValueFallsBackToItsOwnDefault)
{
    IniFile ini;
    ini.write("[Settings]\nMainLeft=abc\nMainTop=2000\nMainWidth=\nMainHeight=1e99\n");
    EXPECT_EQ(WindowSettings(ini.path).load(), (WindowGeometry{1000, 2000, 6500, 6500}));
}

TEST(WindowSettings, WhollyOffScreenOpensAtTheDefaults)
{
    const QList<QRect> screens = {QRect(0, 0, 19200, 14400), QRect(19200, 0, 19200, 14400)};
    const WindowGeometry partly{-3000, 500, 6500, 6500};
    EXPECT_EQ(WindowSettings::keepReachable(partly, screens), partly);
    const WindowGeometry onSecond{30000, 9000, 6500, 6500};
    EXPECT_EQ(WindowSettings::keepReachable(onSecond, screens), onSecond);
    EXPECT_EQ(WindowSettings::keepReachable({50000, 500, 6500, 6500}, screens), WindowGeometry());
    EXPECT_EQ(WindowSettings::keepReachable({500, -9000, 6500, 6500}, screens), WindowGeometry());
}
