#pragma once

#include <QByteArray>
#include <QDir>
#include <QTemporaryDir>

namespace mitoon::testing {

// Points HOME, the XDG folders and the emulated drive into a fresh temporary folder, so that
// no test reads or writes the real user's files. Call before the application object exists.
inline QString isolateHome()
{
    static QTemporaryDir home;
    const QString root = home.path();
    const auto set = [&root](const char *name, const QString &sub) {
        QDir().mkpath(root + sub);
        qputenv(name, (root + sub).toLocal8Bit());
    };
    set("HOME", QString());
    set("XDG_CONFIG_HOME", QStringLiteral("/.config"));
    set("XDG_DATA_HOME", QStringLiteral("/.local/share"));
    set("XDG_CACHE_HOME", QStringLiteral("/.cache"));
    set("XDG_RUNTIME_DIR", QStringLiteral("/runtime"));
    QFile::setPermissions(root + QStringLiteral("/runtime"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("MITOON_DRIVE_C", (root + QStringLiteral("/drive_c")).toLocal8Bit());
    return root;
}

} // namespace mitoon::testing
