#include "fileio/outsidefile.h"
#include "platform/registry.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

using namespace mitoon;

namespace {

// A test that would hang in open() or read() ends with SIGALRM instead.
class OutsideFile : public ::testing::Test
{
public:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        ::alarm(20);
    }
    void TearDown() override { ::alarm(0); }

    QString path(const char *name) const { return folder.filePath(QString::fromLatin1(name)); }
    QString file(const char *name, const QByteArray &bytes) const
    {
        QFile out(path(name));
        EXPECT_TRUE(out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size());
        return out.fileName();
    }
    // A file of `size` bytes that takes no room on disk.
    QString sparseFile(const char *name, qint64 size) const
    {
        QFile out(path(name));
        EXPECT_TRUE(out.open(QIODevice::WriteOnly) && out.resize(size));
        return out.fileName();
    }
    QString fifo(const char *name) const
    {
        EXPECT_EQ(::mkfifo(QFile::encodeName(path(name)).constData(), 0600), 0);
        return path(name);
    }
    QString link(const char *name, const QString &target) const
    {
        EXPECT_TRUE(QFile::link(target, path(name)));
        return path(name);
    }

    QTemporaryDir folder;
};

struct ReadRow
{
    const char *name;
    std::function<QString(const OutsideFile &)> make;
    qint64 limit;
    QByteArray bytes;
    int error; // with the reason below; -1 when the file reads
    QString reason;
};

void PrintTo(const ReadRow &row, std::ostream *out)
{
    *out << row.name;
}

class Reading : public OutsideFile, public ::testing::WithParamInterface<ReadRow>
{
};

TEST_P(Reading, GivesTheBytesOrWhyNot)
{
    const ReadRow &row = GetParam();
    const outsidefile::Contents contents = outsidefile::read(row.make(*this), row.limit);
    if (row.error < 0) {
        ASSERT_TRUE(contents.result.ok()) << contents.result.reason().toStdString();
        EXPECT_EQ(contents.bytes, row.bytes);
        return;
    }
    ASSERT_FALSE(contents.result.ok());
    EXPECT_EQ(contents.result.error(), row.error);
    EXPECT_TRUE(contents.result.reason().contains(row.reason))
        << contents.result.reason().toStdString();
    EXPECT_TRUE(contents.bytes.isEmpty());
}

const QString kNotRegular = QStringLiteral("通常のファイルではありません");
const QString kTooLarge = QStringLiteral("ファイルが大きすぎます");

INSTANTIATE_TEST_SUITE_P(
    Files, Reading,
    ::testing::Values(
        ReadRow{
            "RegularFile", [](auto &t) { return t.file("a", "abc\r\n"); }, 100, "abc\r\n", -1, {}},
        ReadRow{"EmptyFile", [](auto &t) { return t.file("a", ""); }, 100, "", -1, {}},
        ReadRow{"LinkToARegularFile",
                [](auto &t) { return t.link("l", t.file("a", "abc")); },
                100,
                "abc",
                -1,
                {}},
        ReadRow{"JustAtTheLimit", [](auto &t) { return t.file("a", "1234"); }, 4, "1234", -1, {}},
        ReadRow{"OverTheLimit",
                [](auto &t) { return t.file("a", "12345"); },
                4,
                {},
                EFBIG,
                kTooLarge + QStringLiteral("（読み込める大きさは 4 バイト までです）")},
        ReadRow{"SparseFileOverSixteenMegabytes",
                [](auto &t) { return t.sparseFile("a", 16 * outsidefile::kMegabyte + 1); },
                outsidefile::kRegistryLimit,
                {},
                EFBIG,
                QStringLiteral("16 MB")},
        ReadRow{"Missing",
                [](auto &t) { return t.path("none"); },
                100,
                {},
                ENOENT,
                QStringLiteral("そのようなファイルやフォルダーはありません")},
        ReadRow{"Folder",
                [](auto &t) { return t.folder.path(); },
                100,
                {},
                EISDIR,
                QStringLiteral("同じ名前のフォルダーがあります")},
        ReadRow{"FifoWithoutWriter", [](auto &t) { return t.fifo("f"); }, 100, {}, 0, kNotRegular},
        ReadRow{"LinkToDevZero",
                [](auto &t) { return t.link("l", QStringLiteral("/dev/zero")); },
                100,
                {},
                0,
                kNotRegular},
        ReadRow{"LinkToAFifo",
                [](auto &t) { return t.link("l", t.fifo("f")); },
                100,
                {},
                0,
                kNotRegular}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(OutsideFile, AFileThatGrowsPastItsLimitWhileReadIsRefused)
{
    const QString name = file("a", "1234");
    outsidefile::Reader reader(name, 6);
    ASSERT_TRUE(reader.isOpen());
    QFile more(name);
    ASSERT_TRUE(more.open(QIODevice::Append) && more.write("5678") == 4);
    more.close();
    QByteArray bytes;
    while (!reader.atEnd() && reader.read(3, &bytes)) {
    }
    ASSERT_FALSE(reader.result().ok());
    EXPECT_EQ(reader.result().error(), EFBIG);
    EXPECT_FALSE(reader.isOpen());
    EXPECT_LE(bytes.size(), 7);
}

TEST_F(OutsideFile, ReadsInPartsOfTheAskedSize)
{
    outsidefile::Reader reader(file("a", "abcdefg"), 100);
    QByteArray bytes;
    ASSERT_TRUE(reader.read(3, &bytes));
    EXPECT_EQ(bytes, "abc");
    ASSERT_TRUE(reader.read(3, &bytes));
    ASSERT_TRUE(reader.read(3, &bytes));
    EXPECT_EQ(bytes, "abcdefg");
    EXPECT_FALSE(reader.atEnd());
    ASSERT_TRUE(reader.read(3, &bytes));
    EXPECT_TRUE(reader.atEnd());
    EXPECT_EQ(reader.bytesRead(), 7);
}

TEST_F(OutsideFile, IdentityChangesWithEveryWriteAndReplacement)
{
    const QString name = file("a", "abc");
    const auto first = outsidefile::identityOf(name);
    ASSERT_TRUE(first);
    EXPECT_EQ(outsidefile::identityOf(name), first);
    EXPECT_EQ(outsidefile::Reader(name, 100).identity(), *first);

    // Same size, new bytes: the modification time tells.
    struct timespec later[2] = {{0, UTIME_OMIT}, {first->modifiedSeconds + 1, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(name).constData(), later, 0), 0);
    EXPECT_NE(outsidefile::identityOf(name), first);

    // Another file put in its place with the same size and time: the inode tells.
    const auto touched = outsidefile::identityOf(name);
    const QString other = file("b", "xyz");
    struct timespec same[2] = {{0, UTIME_OMIT},
                               {touched->modifiedSeconds, touched->modifiedNanoseconds}};
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(other).constData(), same, 0), 0);
    ASSERT_TRUE(QFile::remove(name));
    ASSERT_TRUE(QFile::rename(other, name));
    EXPECT_NE(outsidefile::identityOf(name), touched);
    EXPECT_FALSE(outsidefile::identityOf(path("none")));
}

// Whatever stands at the registry's path, RegOpenKeyEx answers at once: an empty registry.
TEST_F(OutsideFile, RegistryFileThatCannotBeReadIsAnEmptyRegistry)
{
    const QString registryFile = path("registry.txt");
    for (const auto &place : std::initializer_list<std::function<void()>>{
             [&] { fifo("registry.txt"); },
             [&] { link("registry.txt", QStringLiteral("/dev/zero")); },
             [&] { sparseFile("registry.txt", outsidefile::kRegistryLimit + 1); }}) {
        QFile::remove(registryFile);
        place();
        qputenv("MITOON_REGISTRY", QFile::encodeName(registryFile));
        registry::HKEY handle = 0;
        EXPECT_EQ(registry::RegOpenKeyEx(registry::HKEY_LOCAL_MACHINE, "SOFTWARE", 0,
                                         registry::KEY_READ, &handle),
                  registry::ERROR_FILE_NOT_FOUND);
    }
    qunsetenv("MITOON_REGISTRY");
}

} // namespace
