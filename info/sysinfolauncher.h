#pragma once

#include "info/sysinfoerror.h"
#include "platform/registry.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace mitoon {

// Finds the system-information tool through the registry and starts it, or says that system
// information cannot be used at present.
//
// The tool is looked for in two registry places below HKEY_LOCAL_MACHINE, in this order: the
// program path in "SOFTWARE\Microsoft\Shared Tools\MSINFO", value "PATH", then the folder in
// "SOFTWARE\Microsoft\Shared Tools Location", value "MSINFO", which must hold "MSINFO32.EXE".
// Paths in the registry are Windows paths: those on drive C: are files in the drive folder, any
// other names no program here. When neither place gives a program, a desktop's own
// system-information program on PATH is started instead (kDesktopTools, first found wins).
class SysInfoLauncher
{
public:
    static inline const char *const kMsinfoKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
    static inline const char *const kMsinfoValue = "PATH";
    static inline const char *const kLocationKey = "SOFTWARE\\Microsoft\\Shared Tools Location";
    static inline const char *const kLocationValue = "MSINFO";
    static inline const QString kProgramFile = QStringLiteral("\\MSINFO32.EXE");
    static inline const QString kUnavailableMessage =
        QStringLiteral("現時点ではｼｽﾃﾑ情報を使用できません");

    // GNOME has no program of its own that shows this without arguments.
    static inline const QStringList kDesktopTools = {
        QStringLiteral("hardinfo2"), QStringLiteral("hardinfo"), QStringLiteral("kinfocenter")};

    // What the launcher does to the outside world; tests replace any of it.
    struct Services
    {
        // True for an existing ordinary file: not a folder, not hidden.
        std::function<bool(const QString &path)> fileExists;
        // Starts the program as a process of its own without arguments and without waiting.
        std::function<bool(const QString &program)> startProgram;
        // The full path of the first desktop tool found on PATH, or empty text.
        std::function<QString()> findDesktopTool;
        // Shows kUnavailableMessage and returns when the user has closed it.
        std::function<void()> showUnavailable;
    };

    // The real file test, process start and PATH search, with the given message.
    static Services systemServices(std::function<void()> showUnavailable);

    explicit SysInfoLauncher(Services services);

    // Reads the value `SubKeyRef` of the key `KeyName` below `KeyRoot` into `KeyVal`: the text
    // of a REG_SZ, "&h" and the hex codes of a REG_DWORD's characters, or `KeyVal` unchanged
    // for other types. False, with `KeyVal` empty, when the key or value cannot be read; data
    // that fills the whole 1024-byte buffer without a NUL throws SysInfoError.
    static bool GetKeyValue(registry::HKEY KeyRoot, const QString &KeyName,
                            const QString &SubKeyRef, QString &KeyVal);

    void StartSysInfo();

private:
    void startOrComplain(const QString &program);
    QString fallbackProgram();

    Services services_;
};

} // namespace mitoon
