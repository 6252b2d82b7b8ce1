#include "app/settings.h"
#include "fileio/outsidefile.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>
#include <sys/stat.h>
#include <unistd.h>

using mitoon::OuterSizes;
using mitoon::ScreenArea;
using mitoon::Settings;
using mitoon::WindowGeometry;

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

// Without a stored size the window takes the size that shows its whole layout.
TEST(Settings, EmptyStoreGivesTheDefaults)
{
    IniFile ini;
    EXPECT_EQ(Settings(ini.path).loadGeometry(),
              (WindowGeometry{1000, 1000, std::nullopt, std::nullopt}));
}

TEST(Settings, RoundTripAsDecimalTextOfSingles)
{
    IniFile ini;
    Settings settings(ini.path);
    settings.storeGeometry({1500, 345, 6645.5f, 9075});
    EXPECT_EQ(settings.loadGeometry(), (WindowGeometry{1500, 345, 6645.5f, 9075}));
    const QByteArray text = ini.read();
    EXPECT_TRUE(text.contains("[Settings]")) << text.constData();
    EXPECT_TRUE(text.contains("MainLeft=1500")) << text.constData();
    EXPECT_TRUE(text.contains("MainWidth=6645.5")) << text.constData();
}

TEST(Settings, EachBadOrMissingValueFallsBackToItsOwnDefault)
{
    IniFile ini;
    ini.write("[Settings]\nMainLeft=abc\nMainTop=2000\nMainWidth=\nMainHeight=1e99\n");
    EXPECT_EQ(Settings(ini.path).loadGeometry(),
              (WindowGeometry{1000, 2000, std::nullopt, std::nullopt}));
}

// Positions and sizes become whole pixels: a single beyond the integer range is no usable value.
TEST(Settings, NumbersBeyondTheIntegerRangeFallBackToTheDefault)
{
    for (const char *value : {"3.4e38", "-3.4e38", "1e10", "2147483648", "-2147483904"}) {
        SCOPED_TRACE(value);
        IniFile ini;
        ini.write(QByteArray("[Settings]\nMainLeft=") + value + "\nMainWidth=" + value + "\n");
        EXPECT_EQ(Settings(ini.path).loadGeometry(), WindowGeometry());
    }
    IniFile ini;
    ini.write("[Settings]\nMainLeft=-2147483520\nMainWidth=2147483520\n");
    EXPECT_EQ(Settings(ini.path).loadGeometry(),
              (WindowGeometry{-2147483520.0f, 1000, 2147483520.0f, std::nullopt}));
}

// A value typed by hand with the user's decimal comma reads as the number it says; one with a
// decimal point reads in any locale.
TEST(Settings, ValueTypedInTheUsersLocaleIsRead)
{
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    IniFile ini;
    ini.write("[Settings]\nMainLeft=7500,5\nMainTop=1200.5\nMainWidth=\"8000,25\"\n");
    const WindowGeometry read = Settings(ini.path).loadGeometry();
    QLocale::setDefault(before);
    EXPECT_EQ(read, (WindowGeometry{7500.5f, 1200.5f, 8000.25f, std::nullopt}));
}

struct HostileRow
{
    const char *name;
    std::function<void(const QString &path)> place;
    QString reason;
};

// Whatever stands at the settings file's path, the program starts at once with the defaults,
// says why, and leaves the thing there as it was.
TEST(Settings, AnythingButASmallRegularFileIsNeitherReadNorWritten)
{
    const HostileRow rows[] = {
        {"fifo", [](const QString &path) { ::mkfifo(QFile::encodeName(path).constData(), 0600); },
         QStringLiteral("通常のファイルではありません")},
        {"link to /dev/zero",
         [](const QString &path) { QFile::link(QStringLiteral("/dev/zero"), path); },
         QStringLiteral("通常のファイルではありません")},
        {"folder", [](const QString &path) { QDir().mkpath(path); },
         QStringLiteral("同じ名前のフォルダーがあります")},
        {"over 1 MB",
         [](const QString &path) {
             QFile file(path);
             if (file.open(QIODevice::WriteOnly))
                 file.write("[Settings]\nMainLeft=2000\n" + QByteArray(1024 * 1024, '\n'));
         },
         QStringLiteral("読み込める大きさは 1 MB までです")},
    };
    for (const HostileRow &row : rows) {
        SCOPED_TRACE(row.name);
        IniFile ini;
        row.place(ini.path);
        const auto before = mitoon::outsidefile::identityOf(ini.path);
        ::alarm(30); // a read that waits for a writer ends the test instead of hanging it
        Settings settings(ini.path);
        const mitoon::fileio::Result status = settings.fileStatus();
        ASSERT_FALSE(status.ok());
        EXPECT_TRUE(status.message().contains(row.reason)) << status.message().toStdString();
        EXPECT_TRUE(status.message().contains(ini.path));
        EXPECT_EQ(settings.loadGeometry(), WindowGeometry());
        EXPECT_EQ(settings.loadPixelPitchMm(), std::nullopt);
        settings.storeGeometry({1500, 345, 6645.5f, 9075});
        settings.storePixelPitchMm(0.25);
        ::alarm(0);
        EXPECT_EQ(mitoon::outsidefile::identityOf(ini.path), before);
    }
    IniFile missing;
    EXPECT_TRUE(Settings(missing.path).fileStatus().ok());
}

TEST(Settings, WhollyOffScreenOpensAtTheDefaults)
{
    const QList<QRect> screens = {QRect(0, 0, 19200, 14400), QRect(19200, 0, 19200, 14400)};
    const WindowGeometry partly{-3000, 500, 6500, 6500};
    EXPECT_EQ(Settings::keepReachable(partly, screens), partly);
    const WindowGeometry onSecond{30000, 9000, 6500, 6500};
    EXPECT_EQ(Settings::keepReachable(onSecond, screens), onSecond);
    EXPECT_EQ(Settings::keepReachable({50000, 500, 6500, 6500}, screens), WindowGeometry());
    EXPECT_EQ(Settings::keepReachable({500, -9000, 6500, 6500}, screens), WindowGeometry());
}

namespace {

// One screen of 1280 × 1024 pixels with a panel of 40 pixels at the bottom, in twips.
const QList<ScreenArea> kScreen = {{QRectF(0, 0, 19200, 15360), QRectF(0, 0, 19200, 14760)}};
// Layout and least size of the main window with a menu bar of 20 pixels and no frame.
const OuterSizes kSizes{QSizeF(6645, 7830 + 300), QSizeF(2895, 495 + 270 + 300)};

} // namespace

struct PlacementRow
{
    const char *settings;
    QRectF outer;
};

// Stored sizes are clamped: at least the first row of the layout, at most the available area.
TEST(Settings, PlacementClampsTheStoredSize)
{
    const PlacementRow rows[] = {
        {"", QRectF(1000, 1000, 6645, 8130)},
        {"MainWidth=-1\nMainHeight=6500", QRectF(1000, 1000, 2895, 6500)},
        {"MainWidth=5\nMainHeight=5", QRectF(1000, 1000, 2895, 1065)},
        {"MainWidth=1e9\nMainHeight=1e9", QRectF(1000, 1000, 19200, 14760)},
        {"MainLeft=3.4e38\nMainTop=3.4e38\nMainWidth=3.4e38\nMainHeight=3.4e38",
         QRectF(1000, 1000, 6645, 8130)},
        {"MainLeft=1500\nMainTop=345\nMainWidth=6645.5\nMainHeight=9075",
         QRectF(1500, 345, 6645.5, 9075)},
        // No part on the screen: the default position and size.
        {"MainLeft=1e9\nMainTop=0\nMainWidth=6500\nMainHeight=6500",
         QRectF(1000, 1000, 6645, 8130)},
        // Clamped to the screen's width, it would lie wholly left of the screen.
        {"MainLeft=-20000\nMainTop=0\nMainWidth=1e9\nMainHeight=6500",
         QRectF(1000, 1000, 6645, 8130)},
        {"MainLeft=-3000\nMainTop=500\nMainWidth=6500\nMainHeight=6500",
         QRectF(-3000, 500, 6500, 6500)},
    };
    for (const PlacementRow &row : rows) {
        SCOPED_TRACE(row.settings);
        IniFile ini;
        ini.write(QByteArray("[Settings]\n") + row.settings + "\n");
        EXPECT_EQ(Settings::placement(Settings(ini.path).loadGeometry(), kSizes, kScreen),
                  row.outer);
    }
}

TEST(Settings, WithoutScreensTheDefaultGeometry)
{
    const WindowGeometry stored{3000, 4000, 7000, 8000};
    EXPECT_EQ(Settings::keepReachable(stored, {}), WindowGeometry());
    EXPECT_EQ(Settings::placement(stored, kSizes, {}), QRectF(1000, 1000, 6645, 8130));
}
