#include "platform/drivepath.h"
#include "support/isolatedhome.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace mitoon;

namespace {

const QString kHome = mitoon::testing::isolateHome();

// Sets an environment variable for one test and puts the old value back afterwards.
class ScopedVariable
{
public:
    ScopedVariable(const char *name, const QByteArray *value)
        : name_(name), had_(qEnvironmentVariableIsSet(name)), old_(qgetenv(name))
    {
        if (value)
            qputenv(name, *value);
        else
            qunsetenv(name);
    }
    ~ScopedVariable()
    {
        if (had_)
            qputenv(name_, old_);
        else
            qunsetenv(name_);
    }

private:
    const char *name_;
    bool had_;
    QByteArray old_;
};

struct MapRow
{
    const char *name;
    QString windowsPath;
    QString expected;
};

class MapPath : public ::testing::TestWithParam<MapRow>
{
};

TEST_P(MapPath, PutsDriveCBelowTheDriveFolder)
{
    EXPECT_EQ(drive::mapPath(QStringLiteral("/d"), GetParam().windowsPath), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, MapPath,
    ::testing::Values(
        MapRow{"RecordFile", drive::kRecordFile, "/d/Tool/devwork/mitoon.txt"},
        MapRow{"HelpFileKeepsItsNames", drive::kHelpFile, "/d/Tool/HELP/HELPファイル/MITOON.HLP"},
        MapRow{"LowerCaseDrive", "c:\\a.txt", "/d/a.txt"}, MapRow{"OtherDrive", "D:\\a.txt", ""},
        MapRow{"RelativePath", "Tool\\a.txt", ""}, MapRow{"DriveWithoutRoot", "C:a.txt", ""}),
    [](const ::testing::TestParamInfo<MapRow> &info) { return info.param.name; });

TEST(DriveRoot, FollowsTheEnvironment)
{
    const QByteArray own = "/srv/drive";
    const QByteArray data = "/srv/data";
    const QByteArray relative = "relative/data";
    {
        ScopedVariable drive("MITOON_DRIVE_C", &own);
        EXPECT_EQ(drive::root(), QStringLiteral("/srv/drive"));
    }
    ScopedVariable drive("MITOON_DRIVE_C", nullptr);
    {
        ScopedVariable xdg("XDG_DATA_HOME", &data);
        EXPECT_EQ(drive::root(), QStringLiteral("/srv/data/mitoon/drive_c"));
    }
    {
        ScopedVariable xdg("XDG_DATA_HOME", &relative);
        EXPECT_EQ(drive::root(), kHome + QStringLiteral("/.local/share/mitoon/drive_c"));
    }
    ScopedVariable xdg("XDG_DATA_HOME", nullptr);
    EXPECT_EQ(drive::root(), kHome + QStringLiteral("/.local/share/mitoon/drive_c"));
}

// The files below `folder`, relative to it, sorted.
QStringList filesBelow(const QString &folder)
{
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << QDir(folder).relativeFilePath(it.next());
    files.sort();
    return files;
}

class Provisioning : public ::testing::Test
{
protected:
    QString drivePath() const { return temporary.path() + QStringLiteral("/nested/drive_c"); }
    QTemporaryDir temporary;
    QByteArray driveVariable = QFile::encodeName(temporary.path() + "/nested/drive_c");
    ScopedVariable drive{"MITOON_DRIVE_C", &driveVariable};
};

TEST_F(Provisioning, SetsUpAMissingDriveWithTheRecordFolderAndTheHelpDocument)
{
    const QString record = drive::localPath(drive::kRecordFile);
    EXPECT_EQ(record, drivePath() + QStringLiteral("/Tool/devwork/mitoon.txt"));
    EXPECT_TRUE(QFileInfo(record).dir().exists());
    EXPECT_FALSE(QFileInfo::exists(record)); // the record file comes with the first save

    QFile help(drivePath() + QStringLiteral("/Tool/HELP/HELPファイル/MITOON.HLP"));
    ASSERT_TRUE(help.open(QIODevice::ReadOnly));
    QFile embedded(QStringLiteral(":/mitoon/help/mitoon-help.html"));
    ASSERT_TRUE(embedded.open(QIODevice::ReadOnly));
    const QByteArray document = help.readAll();
    EXPECT_EQ(document, embedded.readAll());
    EXPECT_TRUE(document.contains("<title>"));
    // Nothing but the drive folder itself is left beside it.
    EXPECT_EQ(QDir(temporary.path() + "/nested").entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList({"drive_c"}));
}

TEST_F(Provisioning, GivesAnExistingDriveOnlyItsMissingHelpDocument)
{
    ASSERT_TRUE(QDir().mkpath(drivePath()));
    EXPECT_TRUE(drive::provision().ok());
    EXPECT_EQ(drive::localPath(drive::kHelpFile),
              drivePath() + QStringLiteral("/Tool/HELP/HELPファイル/MITOON.HLP"));
    EXPECT_EQ(filesBelow(drivePath()), QStringList({"Tool/HELP/HELPファイル/MITOON.HLP"}));
    QFile help(drive::localPath(drive::kHelpFile));
    ASSERT_TRUE(help.open(QIODevice::ReadOnly));
    QFile embedded(QStringLiteral(":/mitoon/help/mitoon-help.html"));
    ASSERT_TRUE(embedded.open(QIODevice::ReadOnly));
    EXPECT_EQ(help.readAll(), embedded.readAll());
    EXPECT_TRUE(help.permissions() & QFileDevice::ReadOther);
}

TEST_F(Provisioning, NeverReplacesTheUsersHelpDocument)
{
    const QString help = drivePath() + QStringLiteral("/Tool/HELP/HELPファイル/MITOON.HLP");
    ASSERT_TRUE(QDir().mkpath(QFileInfo(help).path()));
    QFile own(help);
    ASSERT_TRUE(own.open(QIODevice::WriteOnly));
    own.write("the user's own help");
    own.close();
    EXPECT_TRUE(drive::provision().ok());
    ASSERT_TRUE(own.open(QIODevice::ReadOnly));
    EXPECT_EQ(own.readAll(), QByteArray("the user's own help"));
    EXPECT_EQ(filesBelow(drivePath()), QStringList({"Tool/HELP/HELPファイル/MITOON.HLP"}));
}

// The help keeps its 精密測定 section: the heading with its anchor, and the table of contents'
// link to that anchor.
TEST(HelpDocument, HasThePreciseMeasurementSectionAndItsContentsEntry)
{
    QFile embedded(QStringLiteral(":/mitoon/help/mitoon-help.html"));
    ASSERT_TRUE(embedded.open(QIODevice::ReadOnly));
    const QString document = QString::fromUtf8(embedded.readAll());
    EXPECT_TRUE(document.contains(QStringLiteral("<li><a href=\"#precise\">精密測定</a></li>")));
    EXPECT_TRUE(document.contains(QStringLiteral("<h2><a name=\"precise\"></a>精密測定</h2>")));
}

TEST_F(Provisioning, HappensOnlyOnce)
{
    ASSERT_TRUE(drive::provision().ok());
    ASSERT_TRUE(QDir(drivePath() + "/Tool/devwork").removeRecursively());
    ASSERT_TRUE(QFile::remove(drive::localPath(drive::kHelpFile)));
    EXPECT_TRUE(drive::provision().ok());
    // The program creates no folder of its own once the drive exists.
    EXPECT_FALSE(QFileInfo::exists(drivePath() + "/Tool/devwork"));
    // The help document is put back by the next start, not while the program runs.
    EXPECT_FALSE(QFileInfo::exists(drive::localPath(drive::kHelpFile)));
}

} // namespace
