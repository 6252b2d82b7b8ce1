#include "info/sysinfolauncher.h"

#include "platform/drivepath.h"

#include <QFileInfo>
#include <QProcess>
#include <QScopeGuard>
#include <QStandardPaths>

#include <utility>

namespace mitoon {

using namespace registry;

namespace {

constexpr DWORD kBufferSize = 1024;

// The character's code in the ANSI code page: one byte, or both bytes of a double-byte
// character, the lead byte first.
uint ansiCode(QChar c)
{
    uint code = 0;
    for (const char byte : toAnsi(QString(c)))
        code = (code << 8) | uchar(byte);
    return code;
}

// The program a registry path names on this machine: a path on drive C: lies in the drive
// folder, and an absolute path of this machine (a registry file written for it) is taken as it
// is. Any other path names nothing here.
QString programPath(const QString &registryPath)
{
    if (registryPath.startsWith(u'/'))
        return registryPath;
    return drive::mapPath(drive::root(), registryPath);
}

} // namespace

SysInfoLauncher::Services SysInfoLauncher::systemServices(std::function<void()> showUnavailable)
{
    Services services;
    services.fileExists = [](const QString &path) {
        const QFileInfo info(path);
        return info.isFile() && !info.isHidden();
    };
    services.startProgram = [](const QString &program) {
        // The path is the program itself: no shell, no splitting into arguments.
        return !program.isEmpty() && QProcess::startDetached(program, {});
    };
    services.findDesktopTool = [] {
        for (const QString &name : kDesktopTools) {
            const QString path = QStandardPaths::findExecutable(name);
            if (!path.isEmpty())
                return path;
        }
        return QString();
    };
    services.showUnavailable = std::move(showUnavailable);
    return services;
}

SysInfoLauncher::SysInfoLauncher(Services services) : services_(std::move(services)) {}

bool SysInfoLauncher::GetKeyValue(HKEY KeyRoot, const QString &KeyName, const QString &SubKeyRef,
                                  QString &KeyVal)
{
    HKEY hKey = 0;
    // Reading is all the lookup needs; an ordinary user may not open these keys for writing.
    if (RegOpenKeyEx(KeyRoot, toAnsi(KeyName).constData(), 0, KEY_READ, &hKey) != ERROR_SUCCESS) {
        KeyVal.clear();
        return false;
    }
    const auto closeKey = qScopeGuard([hKey] { RegCloseKey(hKey); });

    QByteArray buffer(kBufferSize, '\0');
    DWORD KeyValType = 0;
    DWORD KeyValSize = kBufferSize;
    if (RegQueryValueEx(hKey, toAnsi(SubKeyRef).constData(), nullptr, &KeyValType,
                        reinterpret_cast<unsigned char *>(buffer.data()),
                        &KeyValSize) != ERROR_SUCCESS) {
        KeyVal.clear();
        return false;
    }

    // The whole buffer is converted; the value's text ends at the first NUL.
    const QString converted = fromAnsi(buffer);
    const qsizetype end = converted.indexOf(QChar(0));
    if (end < 0)
        throw SysInfoError("registry value fills the buffer without a terminating NUL");
    const QString tmpVal = converted.left(end);

    switch (KeyValType) {
    case REG_SZ:
        KeyVal = tmpVal;
        break;
    case REG_DWORD:
        // The number's bytes, most significant first, as far as the text reaches.
        for (qsizetype i = tmpVal.size() - 1; i >= 0; --i)
            KeyVal += QString::number(ansiCode(tmpVal.at(i)), 16).toUpper();
        KeyVal.prepend(QStringLiteral("&h"));
        break;
    default:
        break;
    }
    return true;
}

void SysInfoLauncher::StartSysInfo()
{
    try {
        QString SysInfoPath;
        if (GetKeyValue(HKEY_LOCAL_MACHINE, QString::fromLatin1(kMsinfoKey),
                        QString::fromLatin1(kMsinfoValue), SysInfoPath)) {
            // The first place names the program itself; starting it is the only test.
            startOrComplain(programPath(SysInfoPath));
            return;
        }
        const QString program = fallbackProgram();
        if (!program.isEmpty()) {
            startOrComplain(program);
            return;
        }
    } catch (const SysInfoError &) {
    }
    services_.showUnavailable();
}

// The tool in the folder of the second place, else a desktop's own tool; empty when neither.
QString SysInfoLauncher::fallbackProgram()
{
    QString SysInfoPath;
    if (GetKeyValue(HKEY_LOCAL_MACHINE, QString::fromLatin1(kLocationKey),
                    QString::fromLatin1(kLocationValue), SysInfoPath)) {
        const QString program = programPath(SysInfoPath + kProgramFile);
        if (services_.fileExists(program))
            return program;
    }
    return services_.findDesktopTool();
}

void SysInfoLauncher::startOrComplain(const QString &program)
{
    if (program.isEmpty() || !services_.startProgram(program))
        services_.showUnavailable();
}

} // namespace mitoon
