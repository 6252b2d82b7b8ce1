#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace mitoon::testing {

// A drive folder and a registry file of the test's own, in a fresh temporary folder.
class RegistryFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        drive = folder.path() + QStringLiteral("/drive_c");
        ASSERT_TRUE(QDir().mkpath(drive));
        qputenv("MITOON_DRIVE_C", QFile::encodeName(drive));
        qputenv("MITOON_REGISTRY", QFile::encodeName(registryFile()));
    }

    void TearDown() override
    {
        qunsetenv("MITOON_DRIVE_C");
        qunsetenv("MITOON_REGISTRY");
    }

    QString registryFile() const { return folder.path() + QStringLiteral("/test-registry.txt"); }

    void writeRegistry(const QString &text) const
    {
        QFile file(registryFile());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text.toUtf8());
    }

    // Creates a file below the drive folder; `relative` uses '/'.
    QString makeDriveFile(const QString &relative, const QByteArray &content = "x") const
    {
        const QString path = drive + u'/' + relative;
        QDir().mkpath(path.left(path.lastIndexOf(u'/')));
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(content);
        return path;
    }

    QTemporaryDir folder;
    QString drive;
};

// "hex(type):" data of `count` bytes `byte`, split over continued lines as an export file does.
inline QString hexValue(int type, int count, const QString &byte, const QString &tail = {})
{
    QString text = QStringLiteral("hex(%1):").arg(type, 0, 16);
    for (int i = 0; i < count; ++i) {
        text += byte;
        if (i + 1 < count || !tail.isEmpty())
            text += (i % 20 == 19) ? QStringLiteral(",\\\n  ") : QStringLiteral(",");
    }
    return text + tail;
}

} // namespace mitoon::testing
