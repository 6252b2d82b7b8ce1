// Fuzzes the registry stand-in's file and the value conversion of the system-information
// lookup: whatever the registry file holds, the lookup ends in a program to start or in the
// one message, and a failed read leaves no text behind.
#include "info/sysinfolauncher.h"
#include "platform/registry.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>

using namespace mitoon;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static QTemporaryDir dir;
    static const QString path = dir.filePath(QStringLiteral("registry.txt"));
    static const bool configured = [] {
        qputenv("MITOON_REGISTRY", path.toLocal8Bit());
        qputenv("MITOON_DRIVE_C", dir.filePath(QStringLiteral("drive_c")).toLocal8Bit());
        return true;
    }();
    (void)configured;
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        file.write(reinterpret_cast<const char *>(data), qsizetype(size));
    }

    for (const auto &[key, value] :
         {std::pair{SysInfoLauncher::kMsinfoKey, SysInfoLauncher::kMsinfoValue},
          std::pair{SysInfoLauncher::kLocationKey, SysInfoLauncher::kLocationValue}}) {
        QString text = QStringLiteral("left over");
        try {
            if (!SysInfoLauncher::GetKeyValue(registry::HKEY_LOCAL_MACHINE,
                                              QString::fromLatin1(key), QString::fromLatin1(value),
                                              text) &&
                !text.isEmpty())
                std::abort();
        } catch (const SysInfoError &) {
            // A value that fills the whole buffer without a NUL: the lookup shows its message.
        }
    }

    int outcomes = 0;
    SysInfoLauncher::Services services;
    services.fileExists = [](const QString &) { return true; };
    services.startProgram = [&outcomes](const QString &program) {
        if (program.isEmpty())
            return false;
        ++outcomes;
        return true;
    };
    services.findDesktopTool = [] { return QString(); };
    services.showUnavailable = [&outcomes] { ++outcomes; };
    SysInfoLauncher(services).StartSysInfo();
    if (outcomes != 1)
        std::abort(); // exactly one program started, or the message once
    return 0;
}
