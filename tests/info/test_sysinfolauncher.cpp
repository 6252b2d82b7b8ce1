#include "info/sysinfolauncher.h"

#include "support/registryfixture.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QThread>

using namespace mitoon;
using mitoon::testing::hexValue;
using mitoon::testing::RegistryFixture;

namespace {

const QString kFirstPlace =
    QStringLiteral("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared Tools\\MSINFO]\n");
const QString kSecondPlace =
    QStringLiteral("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared Tools Location]\n");

QString firstPath(const QString &data)
{
    return kFirstPlace + "\"PATH\"=" + data + "\n";
}
QString secondFolder(const QString &data)
{
    return kSecondPlace + "\"MSINFO\"=" + data + "\n";
}
QString quoted(const QString &text)
{
    return u'"' + QString(text).replace(QStringLiteral("\\"), QStringLiteral("\\\\")) + u'"';
}

// ---- GetKeyValue -------------------------------------------------------------------------

struct KeyValueRow
{
    const char *name;
    QString registry;
    QString entry; // KeyVal on entry
    bool result;
    QString keyVal;
};

void PrintTo(const KeyValueRow &row, std::ostream *out)
{
    *out << row.name;
}

class GetKeyValue : public RegistryFixture, public ::testing::WithParamInterface<KeyValueRow>
{
};

TEST_P(GetKeyValue, ReadsOneValue)
{
    const KeyValueRow &row = GetParam();
    writeRegistry(row.registry);
    QString KeyVal = row.entry;
    EXPECT_EQ(SysInfoLauncher::GetKeyValue(registry::HKEY_LOCAL_MACHINE,
                                           QString::fromLatin1(SysInfoLauncher::kMsinfoKey),
                                           QStringLiteral("PATH"), KeyVal),
              row.result);
    EXPECT_EQ(KeyVal, row.keyVal);
}

INSTANTIATE_TEST_SUITE_P(
    Values, GetKeyValue,
    ::testing::Values(
        KeyValueRow{"String", firstPath(quoted("C:\\Tools\\情報.EXE")), "keep", true,
                    "C:\\Tools\\情報.EXE"},
        KeyValueRow{"StringEndsAtFirstNul", firstPath("hex(1):41,00,42,00"), "", true, "A"},
        KeyValueRow{"StringWithoutNulShorterThanBuffer", firstPath("hex(1):41,42"), "", true, "AB"},
        KeyValueRow{"DwordBytesMostSignificantFirst", firstPath("dword:12345678"), "", true,
                    "&h12345678"},
        KeyValueRow{"DwordDigitsWithoutLeadingZeros", firstPath("dword:0000012a"), "", true,
                    "&h12A"},
        KeyValueRow{"DwordTextEndsAtZeroByte", firstPath("dword:00000100"), "", true, "&h"},
        KeyValueRow{"DwordDoubleByteCharacterIsOneCode", firstPath("dword:00004081"), "", true,
                    "&h8140"},
        KeyValueRow{"DwordAppendsToTheEntryValue", firstPath("dword:0000002a"), "X", true, "&hX2A"},
        KeyValueRow{"BinaryLeavesTheEntryValue", firstPath("hex:41,42,00"), "keep", true, "keep"},
        KeyValueRow{"ExpandStringLeavesTheEntryValue", firstPath("hex(2):41,00"), "keep", true,
                    "keep"},
        KeyValueRow{"MissingKey", secondFolder(quoted("C:\\x")), "keep", false, ""},
        KeyValueRow{"MissingValue", kFirstPlace + "\"Other\"=\"x\"\n", "keep", false, ""},
        KeyValueRow{"KeyTheUserMayNotOpen", firstPath(quoted("C:\\x")) + ";access=none\n", "keep",
                    false, ""},
        KeyValueRow{"ReadOnlyKeyIsRead", firstPath(quoted("C:\\x")) + ";access=read\n", "", true,
                    "C:\\x"},
        KeyValueRow{"LongerThanTheBufferCountsAsAbsent", firstPath(quoted(QString(1024, u'a'))),
                    "keep", false, ""},
        KeyValueRow{"NulInTheLastByteFits", firstPath(quoted(QString(1023, u'a'))), "", true,
                    QString(1023, u'a')}),
    [](const auto &info) { return std::string(info.param.name); });

class GetKeyValueFailure : public RegistryFixture
{
};

TEST_F(GetKeyValueFailure, FullBufferWithoutNulIsARunTimeFailure)
{
    writeRegistry(firstPath(hexValue(1, 1024, QStringLiteral("41"))));
    QString KeyVal;
    EXPECT_THROW(SysInfoLauncher::GetKeyValue(registry::HKEY_LOCAL_MACHINE,
                                              QString::fromLatin1(SysInfoLauncher::kMsinfoKey),
                                              QStringLiteral("PATH"), KeyVal),
                 SysInfoError);
}

// ---- StartSysInfo ------------------------------------------------------------------------

struct LaunchRow
{
    const char *name;
    QString registry;
    QStringList driveFiles; // files to create below the drive folder
    QString desktopTool;    // what the PATH search finds, below the drive folder
    QStringList started;    // programs started, below the drive folder
    int messages;
    int desktopLookups;
};

void PrintTo(const LaunchRow &row, std::ostream *out)
{
    *out << row.name;
}

class StartSysInfo : public RegistryFixture, public ::testing::WithParamInterface<LaunchRow>
{
};

TEST_P(StartSysInfo, StartsTheToolOrSaysSo)
{
    const LaunchRow &row = GetParam();
    writeRegistry(row.registry);
    for (const QString &file : row.driveFiles)
        makeDriveFile(file);

    QStringList started;
    int messages = 0;
    int desktopLookups = 0;
    auto services = SysInfoLauncher::systemServices([&] { ++messages; });
    // A program starts when it exists; nothing is really run.
    services.startProgram = [&](const QString &program) {
        const bool exists = QFileInfo(program).isFile();
        if (exists)
            started << (program.startsWith(drive + u'/') ? program.mid(drive.size() + 1) : program);
        return exists;
    };
    services.findDesktopTool = [&] {
        ++desktopLookups;
        return row.desktopTool.isEmpty() ? QString() : drive + u'/' + row.desktopTool;
    };
    SysInfoLauncher(services).StartSysInfo();

    EXPECT_EQ(started, row.started);
    EXPECT_EQ(messages, row.messages);
    EXPECT_EQ(desktopLookups, row.desktopLookups);
}

const QString kTool = QStringLiteral("Program Files/MSInfo/MSINFO32.EXE");
const QString kToolPath = quoted(QStringLiteral("C:\\Program Files\\MSInfo\\MSINFO32.EXE"));
const QString kFolder = quoted(QStringLiteral("C:\\Shared\\MSInfo"));
const QString kFolderTool = QStringLiteral("Shared/MSInfo/MSINFO32.EXE");
const QString kHardinfo = QStringLiteral("usr/bin/hardinfo");

INSTANTIATE_TEST_SUITE_P(
    Places, StartSysInfo,
    ::testing::Values(
        LaunchRow{"FirstPlaceStartsItsProgram",
                  firstPath(kToolPath) + secondFolder(kFolder),
                  {kTool, kFolderTool},
                  {},
                  {kTool},
                  0,
                  0},
        LaunchRow{"FirstPlaceMissingProgramIsFinal",
                  firstPath(kToolPath) + secondFolder(kFolder),
                  {kFolderTool},
                  kHardinfo,
                  {},
                  1,
                  0},
        LaunchRow{"SecondPlaceFolderHoldsTheTool",
                  secondFolder(kFolder),
                  {kFolderTool},
                  {},
                  {kFolderTool},
                  0,
                  0},
        LaunchRow{"SecondPlaceWithoutTheTool", secondFolder(kFolder), {}, {}, {}, 1, 1},
        LaunchRow{"SecondPlaceToolNameIsExact",
                  secondFolder(kFolder),
                  {"Shared/MSInfo/msinfo32.exe"},
                  {},
                  {},
                  1,
                  1},
        LaunchRow{"BothPlacesAbsent", "", {}, {}, {}, 1, 1},
        LaunchRow{"KeysTheUserMayNotOpen",
                  firstPath(kToolPath) + ";access=none\n" + secondFolder(kFolder) +
                      ";access=none\n",
                  {kTool, kFolderTool},
                  {},
                  {},
                  1,
                  1},
        LaunchRow{"FirstTooLongSecondTried",
                  firstPath(quoted(QString(1100, u'a'))) + secondFolder(kFolder),
                  {kFolderTool},
                  {},
                  {kFolderTool},
                  0,
                  0},
        LaunchRow{"SecondTooLong", secondFolder(quoted(QString(1100, u'a'))), {}, {}, {}, 1, 1},
        LaunchRow{"FirstFullBufferWithoutNul",
                  firstPath(hexValue(1, 1024, QStringLiteral("43"))) + secondFolder(kFolder),
                  {kFolderTool},
                  kHardinfo,
                  {},
                  1,
                  0},
        LaunchRow{"SecondFullBufferWithoutNul",
                  secondFolder(hexValue(1, 1024, "43")),
                  {},
                  kHardinfo,
                  {},
                  1,
                  0},
        LaunchRow{"FirstPlaceNumberIsNoProgram", firstPath("dword:0000002a"), {}, {}, {}, 1, 0},
        LaunchRow{"FirstPlaceOtherTypeLeavesThePathEmpty",
                  firstPath("hex:43,00") + secondFolder(kFolder),
                  {kFolderTool},
                  {},
                  {},
                  1,
                  0},
        LaunchRow{"OtherDriveIsNotHere",
                  firstPath(quoted("D:\\MSINFO32.EXE")),
                  {"MSINFO32.EXE"},
                  {},
                  {},
                  1,
                  0},
        LaunchRow{
            "PathOfThisMachineAsItIs", firstPath(quoted("/bin/true")), {}, {}, {"/bin/true"}, 0, 0},
        LaunchRow{"DesktopToolWhenNeitherPlaceGivesOne",
                  secondFolder(kFolder),
                  {kHardinfo},
                  kHardinfo,
                  {kHardinfo},
                  0,
                  1},
        LaunchRow{"DesktopToolThatCannotStart", "", {}, kHardinfo, {}, 1, 1}),
    [](const auto &info) { return std::string(info.param.name); });

// ---- Starting a real program ---------------------------------------------------------------

class StartSysInfoProcess : public RegistryFixture
{
protected:
    // A shell script that leaves `marker` behind when it runs.
    QString makeTool(const QString &relative, const QString &marker)
    {
        const QString path =
            makeDriveFile(relative, "#!/bin/sh\ntouch '" + QFile::encodeName(marker) + "'\n");
        QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner);
        return path;
    }

    static bool waitForFile(const QString &path)
    {
        QElapsedTimer clock;
        clock.start();
        while (!QFileInfo::exists(path) && clock.elapsed() < 10000)
            QThread::msleep(20);
        return QFileInfo::exists(path);
    }

    int messages = 0;
};

TEST_F(StartSysInfoProcess, StartsThePathAsOneProgramWithoutAShell)
{
    // In a shell the space and the semicolon would run "touch" on a file in `injected`.
    const QString marker = folder.path() + QStringLiteral("/ran");
    const QString injected = folder.path() + QStringLiteral("/injected");
    ASSERT_TRUE(QDir().mkpath(injected));
    const QString odd = QStringLiteral("Odd Folder;touch ") + injected;
    makeTool(odd + QStringLiteral("/MSINFO32.EXE"), marker);
    writeRegistry(secondFolder(quoted(QStringLiteral("C:\\") + QString(odd).replace(u'/', u'\\'))));
    auto services = SysInfoLauncher::systemServices([&] { ++messages; });
    services.findDesktopTool = [] { return QString(); };
    SysInfoLauncher(services).StartSysInfo();

    EXPECT_EQ(messages, 0);
    EXPECT_TRUE(waitForFile(marker));
    EXPECT_FALSE(QFileInfo::exists(injected + QStringLiteral("/MSINFO32.EXE")));
}

TEST_F(StartSysInfoProcess, ProgramThatCannotRunGivesTheMessage)
{
    makeDriveFile(QStringLiteral("MSInfo/MSINFO32.EXE"), "not a program");
    writeRegistry(firstPath(quoted(QStringLiteral("C:\\MSInfo\\MSINFO32.EXE"))));
    SysInfoLauncher(SysInfoLauncher::systemServices([&] { ++messages; })).StartSysInfo();
    EXPECT_EQ(messages, 1);
}

TEST_F(StartSysInfoProcess, FolderNamedLikeTheToolIsNoTool)
{
    QDir().mkpath(drive + QStringLiteral("/MSInfo/MSINFO32.EXE"));
    writeRegistry(secondFolder(quoted(QStringLiteral("C:\\MSInfo"))));
    auto services = SysInfoLauncher::systemServices([&] { ++messages; });
    services.findDesktopTool = [] { return QString(); };
    SysInfoLauncher(services).StartSysInfo();
    EXPECT_EQ(messages, 1);
}

TEST_F(StartSysInfoProcess, DesktopToolsAreLookedForOnPath)
{
    const QString bin = folder.path() + QStringLiteral("/bin");
    QDir().mkpath(bin);
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(bin));
    const QString kinfocenter = bin + QStringLiteral("/kinfocenter");
    QFile file(kinfocenter);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    QFile::setPermissions(kinfocenter, QFile::permissions(kinfocenter) | QFile::ExeOwner);

    const QString found = SysInfoLauncher::systemServices({}).findDesktopTool();
    qputenv("PATH", path);
    EXPECT_EQ(found, kinfocenter);
}

} // namespace
