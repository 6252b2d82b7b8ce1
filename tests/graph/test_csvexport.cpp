#include "graph/csvexport.h"
#include "graph/recordseries.h"
#include "support/recordfiletesting.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sys/stat.h>

using namespace mitoon;
using mitoon::testing::readBytes;
using mitoon::testing::writeBytes;

namespace {

const QString kRecords = QStringLiteral("\"    日   付       時   刻   左目 右目\"\r\n"
                                        "#2026-12-09#,\"12:17:01\",\"1.1\",\"0.3\"\r\n"
                                        "#2026-12-10#,\"07:05:09\",\"1\",\r\n"
                                        "#2027-01-02#,\"23:59:59\",,\"0,8\"\r\n"
                                        "#2027-01-03#,\"00:00:00\",,\r\n");

TEST(CsvBytes, BomHeaderCrLfIsoDatesPointsAndEmptyFields)
{
    const QByteArray expected = "\xEF\xBB\xBF"
                                "日付,時刻,左目,右目,左目logMAR,右目logMAR\r\n"
                                "2026-12-09,12:17:01,1.1,0.3,-0.04,0.52\r\n"
                                "2026-12-10,07:05:09,1,,0.00,\r\n"
                                "2027-01-02,23:59:59,,0.8,,0.10\r\n"
                                "2027-01-03,00:00:00,,,,\r\n";
    EXPECT_EQ(csvexport::csvBytes(recordseries::parse(kRecords).records), expected);
}

TEST(CsvBytes, NoRecordsIsTheHeaderAlone)
{
    EXPECT_EQ(csvexport::csvBytes({}),
              QByteArray("\xEF\xBB\xBF日付,時刻,左目,右目,左目logMAR,右目logMAR\r\n"));
}

class CsvFile : public ::testing::Test
{
protected:
    QTemporaryDir folder;
    QString path(const char *name) const { return folder.filePath(QString::fromUtf8(name)); }
    QStringList entries() const
    {
        return QDir(folder.path())
            .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    }
};

TEST_F(CsvFile, ReplacesAnOldFileWholeAndKeepsItsPermissions)
{
    const QString csv = path("mitoon-records.csv");
    ASSERT_TRUE(writeBytes(csv, QByteArray(5000, 'x')));
    ASSERT_EQ(::chmod(QFile::encodeName(csv).constData(), 0640), 0);
    const fileio::Result outcome = csvexport::writeFile(csv, "new\r\n");
    ASSERT_TRUE(outcome.ok()) << outcome.message().toStdString();
    EXPECT_EQ(readBytes(csv), QByteArray("new\r\n"));
    struct stat status = {};
    ASSERT_EQ(::stat(QFile::encodeName(csv).constData(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0640u);
    EXPECT_EQ(entries(), QStringList{"mitoon-records.csv"}); // no temporary file left
}

TEST_F(CsvFile, FailuresSayWhyInJapaneseAndLeaveNothingBehind)
{
    const fileio::Result missing =
        csvexport::writeFile(path("no-such-folder/mitoon-records.csv"), "x");
    EXPECT_FALSE(missing.ok());
    EXPECT_TRUE(missing.message().contains(QStringLiteral("書き出せませんでした")));
    EXPECT_TRUE(
        missing.message().contains(QStringLiteral("そのようなファイルやフォルダーはありません")))
        << missing.message().toStdString();

    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("taken.csv")));
    const fileio::Result folderInTheWay = csvexport::writeFile(path("taken.csv"), "x");
    EXPECT_FALSE(folderInTheWay.ok());
    EXPECT_TRUE(folderInTheWay.message().contains(QStringLiteral("同じ名前のフォルダーがあります")))
        << folderInTheWay.message().toStdString();
    EXPECT_EQ(entries(), QStringList{"taken.csv"});
}

TEST_F(CsvFile, NeverWritesTheRecordFileNotEvenThroughALink)
{
    const QString record = path("mitoon.txt");
    const QByteArray bytes = kRecords.toUtf8();
    ASSERT_TRUE(writeBytes(record, bytes));
    ASSERT_TRUE(QFile::link(record, path("link.csv")));

    for (const QString &target : {record, path("link.csv"), folder.path() + "/./mitoon.txt"}) {
        const fileio::Result outcome = csvexport::writeFile(target, "x", record);
        EXPECT_FALSE(outcome.ok()) << target.toStdString();
        EXPECT_TRUE(outcome.message().contains(QStringLiteral("記録ファイル")));
    }
    EXPECT_EQ(readBytes(record), bytes);
    // Any other file is written.
    EXPECT_TRUE(csvexport::writeFile(path("other.csv"), "x", record).ok());
}

} // namespace
