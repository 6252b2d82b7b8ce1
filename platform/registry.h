#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

// The system registry, as far as the program reads it: open a key below a predefined root with
// the rights asked for, query one value's type and data into the caller's buffer, close the key.
// Calls and results follow RegOpenKeyExA, RegQueryValueExA and RegCloseKey, down to the bytes:
// the system-information lookup reads a value's raw bytes into a 1024-byte buffer and makes its
// text from them (a REG_DWORD shows as the hex codes of its bytes, a full buffer without a NUL
// is an error), so a friendlier interface that returned texts would change what it finds.
//
// The registry lives in a text file, by default `registry.txt` beside the emulated drive folder
// (the folder of drive::root(), so ~/.local/share/mitoon/registry.txt), or wherever
// $MITOON_REGISTRY names. The file is read afresh by every RegOpenKeyEx; a missing file is an
// empty registry. It is UTF-8 text in the syntax of the registry editor's export files:
//
//     REGEDIT4
//
//     [HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Shared Tools\MSINFO]
//     "PATH"="C:\\Program Files\\Common Files\\Microsoft Shared\\MSInfo\\MSINFO32.EXE"
//     "Count"=dword:0000002a
//     "Flags"=hex:01,00,ff
//     "Raw"=hex(1):41,42,43,\
//       44,00
//     @="the key's unnamed value"
//     ;access=none
//
// - A first line "REGEDIT4" or "Windows Registry Editor Version 5.00" is optional; blank lines
//   and lines starting with ';' are ignored.
// - "[ROOT\path]" starts a key. Roots are written out (HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER,
//   HKEY_CLASSES_ROOT, HKEY_USERS). Every key above a listed key exists too. Key and value
//   names compare without regard to case, as in the registry.
// - "name"="text" is REG_SZ: the text in the ANSI code page (CP932) followed by one NUL byte.
//   Inside the quotes \\ stands for a backslash and \" for a quote.
// - dword:XXXXXXXX is REG_DWORD (four bytes, least significant first); hex:.. is REG_BINARY;
//   hex(N):.. is a value of type N with exactly the bytes given, so a REG_SZ without its NUL
//   is hex(1):... A line ending in a backslash goes on in the next line.
// - The comment ";access=none|read|full" inside a key sets what the current user may do with
//   that key. Without it, keys below HKEY_LOCAL_MACHINE are readable only (KEY_READ), as for an
//   ordinary user, and keys of the other roots allow everything.
namespace mitoon::registry {

using HKEY = std::uint32_t;
using DWORD = std::uint32_t;
using LONG = std::int32_t;
using REGSAM = DWORD;

inline constexpr HKEY HKEY_CLASSES_ROOT = 0x80000000u;
inline constexpr HKEY HKEY_CURRENT_USER = 0x80000001u;
inline constexpr HKEY HKEY_LOCAL_MACHINE = 0x80000002u;
inline constexpr HKEY HKEY_USERS = 0x80000003u;

inline constexpr LONG ERROR_SUCCESS = 0;
inline constexpr LONG ERROR_FILE_NOT_FOUND = 2;
inline constexpr LONG ERROR_ACCESS_DENIED = 5;
inline constexpr LONG ERROR_INVALID_HANDLE = 6;
inline constexpr LONG ERROR_INVALID_PARAMETER = 87;
inline constexpr LONG ERROR_MORE_DATA = 234;

inline constexpr REGSAM KEY_QUERY_VALUE = 0x0001;
inline constexpr REGSAM KEY_SET_VALUE = 0x0002;
inline constexpr REGSAM KEY_ENUMERATE_SUB_KEYS = 0x0008;
inline constexpr REGSAM KEY_READ = 0x20019;
inline constexpr REGSAM KEY_ALL_ACCESS = 0xF003F;

inline constexpr DWORD REG_NONE = 0;
inline constexpr DWORD REG_SZ = 1;
inline constexpr DWORD REG_EXPAND_SZ = 2;
inline constexpr DWORD REG_BINARY = 3;
inline constexpr DWORD REG_DWORD = 4;

// The registry file in use: $MITOON_REGISTRY, else registry.txt beside the drive folder.
QString filePath();

// Opens `subKey` below the predefined root `key` with the rights `samDesired`. On success
// `*result` is a handle that RegCloseKey must release.
LONG RegOpenKeyEx(HKEY key, const char *subKey, DWORD options, REGSAM samDesired, HKEY *result);

// Reads the value `valueName` ("" or null for the key's unnamed value). `*size` holds the size
// of `data` on entry and the size of the value's data on return. A buffer smaller than the data
// gives ERROR_MORE_DATA and leaves `data` untouched; a null `data` only asks for type and size.
LONG RegQueryValueEx(HKEY key, const char *valueName, DWORD *reserved, DWORD *type,
                     unsigned char *data, DWORD *size);

LONG RegCloseKey(HKEY key);

// Text and bytes in the system's ANSI code page, CP932 (Shift-JIS): a character without a code
// becomes '?', bytes that are no Shift-JIS become U+FFFD.
QByteArray toAnsi(const QString &text);
QString fromAnsi(const QByteArray &bytes);

} // namespace mitoon::registry
