#include "platform/registry.h"

#include "fileio/outsidefile.h"
#include "fileio/shiftjis.h"
#include "platform/drivepath.h"

#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QStringList>

#include <cstring>
#include <optional>

namespace mitoon::registry {

namespace {

struct Value
{
    DWORD type = REG_NONE;
    QByteArray data;
};

struct Key
{
    std::optional<REGSAM> rights; // what the user may do, when the file says so
    QHash<QString, Value> values; // by case-folded name
};

// The keys of the file by their case-folded full path, "hkey_local_machine\software\...".
using Keys = QHash<QString, Key>;

struct OpenKey
{
    QString path; // case-folded full path
    REGSAM granted = 0;
    QHash<QString, Value> values;
};

// The access bits that say nothing about rights: the 32/64-bit view of the registry.
constexpr REGSAM kViewFlags = 0x0100 | 0x0200;

QHash<HKEY, OpenKey> &openKeys()
{
    static QHash<HKEY, OpenKey> keys;
    return keys;
}

HKEY nextHandle()
{
    static HKEY handle = 0x100;
    handle += 4;
    return handle;
}

QString rootName(HKEY root)
{
    static const QHash<HKEY, QString> names = {
        {HKEY_CLASSES_ROOT, QStringLiteral("HKEY_CLASSES_ROOT")},
        {HKEY_CURRENT_USER, QStringLiteral("HKEY_CURRENT_USER")},
        {HKEY_LOCAL_MACHINE, QStringLiteral("HKEY_LOCAL_MACHINE")},
        {HKEY_USERS, QStringLiteral("HKEY_USERS")}};
    return names.value(root);
}

QString fold(const QString &name)
{
    return name.toCaseFolded();
}

// A quoted name or text at `pos` ("..." with \\ and \" escapes); `pos` moves past it.
std::optional<QString> quoted(const QString &line, qsizetype &pos)
{
    if (pos >= line.size() || line.at(pos) != u'"')
        return std::nullopt;
    QString text;
    for (++pos; pos < line.size(); ++pos) {
        const QChar c = line.at(pos);
        if (c == u'"') {
            ++pos;
            return text;
        }
        if (c == u'\\' && pos + 1 < line.size())
            ++pos;
        text += line.at(pos);
    }
    return std::nullopt;
}

std::optional<QByteArray> hexBytes(QString text)
{
    text.remove(u' ').remove(u'\t');
    QByteArray bytes;
    if (text.isEmpty())
        return bytes;
    for (const QString &item : text.split(u',')) {
        bool ok = false;
        const uint byte = item.toUInt(&ok, 16);
        if (!ok || item.size() > 2 || byte > 0xff)
            return std::nullopt;
        bytes.append(char(byte));
    }
    return bytes;
}

// The data after '=' in a value line.
std::optional<Value> valueData(const QString &text)
{
    if (text.startsWith(u'"')) {
        qsizetype pos = 0;
        const auto content = quoted(text, pos);
        if (!content || !text.mid(pos).trimmed().isEmpty())
            return std::nullopt;
        return Value{REG_SZ, toAnsi(*content) + '\0'};
    }
    if (text.startsWith(QLatin1String("dword:"), Qt::CaseInsensitive)) {
        const QString digits = text.mid(6).trimmed();
        bool ok = false;
        const uint number = digits.toUInt(&ok, 16);
        if (!ok || digits.size() > 8)
            return std::nullopt;
        QByteArray bytes(4, '\0');
        for (int i = 0; i < 4; ++i)
            bytes[i] = char((number >> (8 * i)) & 0xff);
        return Value{REG_DWORD, bytes};
    }
    // hex:.. is REG_BINARY, hex(N):.. a value of type N.
    static const QRegularExpression hex(QStringLiteral("^hex(?:\\(([0-9a-f]{1,8})\\))?:(.*)$"),
                                        QRegularExpression::CaseInsensitiveOption);
    if (const QRegularExpressionMatch match = hex.match(text); match.hasMatch()) {
        const DWORD type =
            match.hasCaptured(1) ? match.captured(1).toUInt(nullptr, 16) : REG_BINARY;
        if (const auto bytes = hexBytes(match.captured(2)))
            return Value{type, *bytes};
    }
    return std::nullopt;
}

void readValueLine(const QString &line, Key &key)
{
    qsizetype pos = 0;
    QString name;
    if (line.startsWith(u'@')) {
        pos = 1;
    } else if (const auto quotedName = quoted(line, pos)) {
        name = *quotedName;
    } else {
        return;
    }
    while (pos < line.size() && line.at(pos).isSpace())
        ++pos;
    if (pos >= line.size() || line.at(pos) != u'=')
        return;
    if (const auto value = valueData(line.mid(pos + 1).trimmed()))
        key.values.insert(fold(name), *value);
}

void readAccess(const QString &comment, Key *key)
{
    static const QHash<QString, REGSAM> levels = {{QStringLiteral("none"), 0},
                                                  {QStringLiteral("read"), KEY_READ},
                                                  {QStringLiteral("full"), KEY_ALL_ACCESS}};
    static const QRegularExpression access(QStringLiteral("^;\\s*access\\s*=\\s*(\\w+)\\s*$"),
                                           QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = access.match(comment);
    const QString level = match.captured(1).toLower();
    if (key && match.hasMatch() && levels.contains(level))
        key->rights = levels.value(level);
}

// The file's lines with every line that ends in a backslash joined to the next one.
QStringList logicalLines(const QString &text)
{
    QStringList lines;
    QString pending;
    for (const QString &raw : text.split(u'\n')) {
        QString line = raw.trimmed();
        if (!pending.isEmpty() || line.endsWith(u'\\')) {
            pending += line;
            if (pending.endsWith(u'\\') && !pending.startsWith(u'[')) {
                pending.chop(1);
                continue;
            }
            line = pending;
            pending.clear();
        }
        lines.append(line);
    }
    if (!pending.isEmpty())
        lines.append(pending);
    return lines;
}

Keys readFile(const QString &path)
{
    Keys keys;
    // A file that cannot be read, however big or whatever stands there, is an empty registry
    // like a missing one.
    const outsidefile::Contents contents = outsidefile::read(path, outsidefile::kRegistryLimit);
    if (!contents.result.ok())
        return keys;
    QString text = QString::fromUtf8(contents.bytes);
    if (text.startsWith(QChar(0xfeff)))
        text.remove(0, 1);

    Key *current = nullptr;
    for (const QString &line : logicalLines(text)) {
        if (line.isEmpty())
            continue;
        if (line.startsWith(u';')) {
            readAccess(line, current);
        } else if (line.startsWith(u'[') && line.endsWith(u']')) {
            const QString path = line.mid(1, line.size() - 2).trimmed();
            // "[-path]" deletes a key in an export file; here it only ends the previous key.
            current = path.startsWith(u'-') ? nullptr : &keys[fold(path)];
        } else if (current) {
            readValueLine(line, *current);
        }
    }
    return keys;
}

// Keys below HKEY_LOCAL_MACHINE are read-only for an ordinary user unless the file says more.
REGSAM grantedRights(const QString &path, const std::optional<REGSAM> &rights)
{
    const bool machine = path.startsWith(fold(rootName(HKEY_LOCAL_MACHINE)) + u'\\');
    return rights.value_or(machine ? KEY_READ : KEY_ALL_ACCESS);
}

} // namespace

QString filePath()
{
    const QString override = qEnvironmentVariable("MITOON_REGISTRY");
    if (!override.isEmpty())
        return override;
    return QFileInfo(drive::root()).path() + QStringLiteral("/registry.txt");
}

LONG RegOpenKeyEx(HKEY key, const char *subKey, DWORD options, REGSAM samDesired, HKEY *result)
{
    Q_UNUSED(options);
    if (!result)
        return ERROR_INVALID_PARAMETER;
    QString base = fold(rootName(key));
    if (base.isEmpty()) {
        const auto open = openKeys().constFind(key);
        if (open == openKeys().constEnd())
            return ERROR_INVALID_HANDLE;
        base = open->path;
    }
    const QString relative = subKey ? fromAnsi(QByteArray(subKey)) : QString();
    const QString path = relative.isEmpty() ? base : base + u'\\' + fold(relative);

    const Keys keys = readFile(filePath());
    OpenKey opened{path, 0, {}};
    std::optional<REGSAM> rights;
    if (const auto found = keys.constFind(path); found != keys.constEnd()) {
        opened.values = found->values;
        rights = found->rights;
    } else {
        // A key exists when it is listed or lies above a listed key.
        const QString prefix = path + u'\\';
        bool above = false;
        for (auto it = keys.constBegin(); it != keys.constEnd() && !above; ++it)
            above = it.key().startsWith(prefix);
        if (!above)
            return ERROR_FILE_NOT_FOUND;
    }
    opened.granted = grantedRights(path, rights);
    const REGSAM wanted = samDesired & ~kViewFlags;
    if (opened.granted == 0 || (wanted & ~opened.granted) != 0)
        return ERROR_ACCESS_DENIED;
    opened.granted = wanted;

    const HKEY handle = nextHandle();
    openKeys().insert(handle, opened);
    *result = handle;
    return ERROR_SUCCESS;
}

LONG RegQueryValueEx(HKEY key, const char *valueName, DWORD *reserved, DWORD *type,
                     unsigned char *data, DWORD *size)
{
    const auto open = openKeys().constFind(key);
    if (open == openKeys().constEnd())
        return ERROR_INVALID_HANDLE;
    if (reserved || (data && !size))
        return ERROR_INVALID_PARAMETER;
    if (!(open->granted & KEY_QUERY_VALUE))
        return ERROR_ACCESS_DENIED;
    const QString name = valueName ? fold(fromAnsi(QByteArray(valueName))) : QString();
    const auto value = open->values.constFind(name);
    if (value == open->values.constEnd())
        return ERROR_FILE_NOT_FOUND;

    if (type)
        *type = value->type;
    const auto length = DWORD(value->data.size());
    if (data && *size < length) {
        *size = length;
        return ERROR_MORE_DATA;
    }
    if (data)
        std::memcpy(data, value->data.constData(), length);
    if (size)
        *size = length;
    return ERROR_SUCCESS;
}

LONG RegCloseKey(HKEY key)
{
    if (!rootName(key).isEmpty())
        return ERROR_SUCCESS;
    return openKeys().remove(key) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

QByteArray toAnsi(const QString &text)
{
    return shiftjis::encodeReplacing(text);
}

QString fromAnsi(const QByteArray &bytes)
{
    return shiftjis::decode(bytes);
}

} // namespace mitoon::registry
