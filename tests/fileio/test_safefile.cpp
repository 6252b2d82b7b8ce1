// What the one safe writer does beyond what the record file's tests pin down (they run through
// it): the header of a new file, writing only where nothing stands, a new file's permissions,
// and a step before the replacing that fails.
#include "fileio/safefile.h"
#include "support/recordfiletesting.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <sys/stat.h>

using namespace mitoon;
using mitoon::testing::readBytes;
using mitoon::testing::writeBytes;

namespace {

class SafeFile : public ::testing::Test
{
protected:
    QTemporaryDir folder;
    QString path(const char *name = "runs.csv") const
    {
        return folder.filePath(QString::fromUtf8(name));
    }
    QStringList entries() const
    {
        return QDir(folder.path())
            .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    }
    mode_t mode(const QString &file) const
    {
        struct stat status = {};
        return ::stat(QFile::encodeName(file).constData(), &status) == 0 ? status.st_mode & 07777
                                                                         : 0;
    }
};

TEST_F(SafeFile, TheHeaderGoesBeforeTheFirstLineOfANewOrEmptyFileOnly)
{
    const fileio::AppendOptions header{"head\r\n"};
    struct Row
    {
        std::optional<QByteArray> before; // nothing: no file
        QByteArray after;
    };
    for (const Row &row : {Row{std::nullopt, "head\r\nline\r\n"}, Row{"", "head\r\nline\r\n"},
                           Row{"head\r\nold\r\n", "head\r\nold\r\nline\r\n"},
                           Row{"head\r\nold", "head\r\nold\r\nline\r\n"}}) {
        QFile::remove(path());
        if (row.before)
            ASSERT_TRUE(writeBytes(path(), *row.before));
        ASSERT_TRUE(fileio::appendLine(path(), "line\r\n", header).ok());
        EXPECT_EQ(readBytes(path()), row.after) << row.before.value_or("(none)").toStdString();
    }
}

TEST_F(SafeFile, WithoutReplacingAFileThereStaysAndANewOneGetsItsPermissions)
{
    fileio::WriteOptions options;
    options.replace = false;
    options.permissions = 0604;
    ASSERT_TRUE(fileio::writeWhole(path(), "new", options).ok());
    EXPECT_EQ(readBytes(path()), QByteArray("new"));
    EXPECT_EQ(mode(path()), 0604u);

    const fileio::Result again = fileio::writeWhole(path(), "other", options);
    EXPECT_FALSE(again.ok());
    EXPECT_EQ(again.error(), EEXIST);
    EXPECT_EQ(readBytes(path()), QByteArray("new"));
    EXPECT_EQ(entries(), QStringList{"runs.csv"});
}

TEST_F(SafeFile, AFailingStepBeforeTheReplacingLeavesTheFileAndNoTemporary)
{
    ASSERT_TRUE(writeBytes(path(), "old"));
    fileio::WriteOptions options;
    QString seen;
    bool existed = false;
    options.beforeReplacing = [&](const QString &target, bool exists) {
        seen = target;
        existed = exists;
        return fileio::Result::failure(EIO);
    };
    const fileio::Result written = fileio::writeWhole(path(), "new", options);
    EXPECT_EQ(written.error(), EIO);
    EXPECT_EQ(seen, QFileInfo(path()).canonicalFilePath());
    EXPECT_TRUE(existed);
    EXPECT_EQ(readBytes(path()), QByteArray("old"));
    EXPECT_EQ(entries(), QStringList{"runs.csv"});
}

} // namespace
