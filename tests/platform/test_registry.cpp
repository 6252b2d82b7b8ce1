#include "platform/registry.h"

#include "support/registryfixture.h"

#include <QDir>

#include <array>

using namespace mitoon::registry;
using mitoon::testing::hexValue;
using mitoon::testing::RegistryFixture;

namespace {

const QString kMsinfoKey =
    QStringLiteral("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared Tools\\MSINFO]\n");

struct Read
{
    LONG status = -1;
    DWORD type = 0;
    QByteArray data;
};

// Opens `key` below HKEY_LOCAL_MACHINE for reading and queries `value` into a 1024-byte buffer.
Read readValue(const char *key, const char *value)
{
    Read read;
    HKEY handle = 0;
    read.status = RegOpenKeyEx(HKEY_LOCAL_MACHINE, key, 0, KEY_READ, &handle);
    if (read.status != ERROR_SUCCESS)
        return read;
    std::array<unsigned char, 1024> buffer{};
    DWORD size = buffer.size();
    read.status = RegQueryValueEx(handle, value, nullptr, &read.type, buffer.data(), &size);
    if (read.status == ERROR_SUCCESS)
        read.data = QByteArray(reinterpret_cast<const char *>(buffer.data()), int(size));
    EXPECT_EQ(RegCloseKey(handle), ERROR_SUCCESS);
    return read;
}

class Registry : public RegistryFixture
{
};

TEST_F(Registry, FileBesideTheDriveFolderUnlessNamed)
{
    qunsetenv("MITOON_REGISTRY");
    qputenv("MITOON_DRIVE_C", "/somewhere/mitoon/drive_c");
    EXPECT_EQ(filePath(), QStringLiteral("/somewhere/mitoon/registry.txt"));
    qputenv("MITOON_REGISTRY", "/elsewhere/reg.txt");
    EXPECT_EQ(filePath(), QStringLiteral("/elsewhere/reg.txt"));
}

TEST_F(Registry, MissingFileIsAnEmptyRegistry)
{
    HKEY handle = 0;
    EXPECT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, "SOFTWARE", 0, KEY_READ, &handle),
              ERROR_FILE_NOT_FOUND);
}

TEST_F(Registry, StringIsAnsiTextWithItsNul)
{
    writeRegistry(QStringLiteral("REGEDIT4\n\n") + kMsinfoKey +
                  QStringLiteral("\"PATH\"=\"C:\\\\ﾂｰﾙ\\\\\\\"情報\\\".EXE\"\n"));
    const Read read = readValue("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH");
    ASSERT_EQ(read.status, ERROR_SUCCESS);
    EXPECT_EQ(read.type, REG_SZ);
    EXPECT_EQ(read.data, QByteArray("C:\\\xc2\xb0\xd9\\\"\x8f\xee\x95\xf1\".EXE\0", 18));
}

TEST_F(Registry, NamesIgnoreCaseAndKeysAboveListedKeysExist)
{
    writeRegistry(kMsinfoKey + QStringLiteral("\"Path\"=\"x\"\n"));
    EXPECT_EQ(readValue("software\\MICROSOFT\\shared tools\\msinfo", "PATH").data,
              QByteArray("x\0", 2));
    HKEY handle = 0;
    ASSERT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft", 0, KEY_READ, &handle),
              ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(handle), ERROR_SUCCESS);
    EXPECT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, "SOFTWARE\\Micro", 0, KEY_READ, &handle),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "SOFTWARE\\Microsoft", 0, KEY_READ, &handle),
              ERROR_FILE_NOT_FOUND);
}

struct ValueRow
{
    const char *name;
    QString line;
    LONG status;
    DWORD type;
    QByteArray data;
};

void PrintTo(const ValueRow &row, std::ostream *out)
{
    *out << row.name;
}

class RegistryValues : public RegistryFixture, public ::testing::WithParamInterface<ValueRow>
{
};

TEST_P(RegistryValues, ReadsTypeAndBytes)
{
    const ValueRow &row = GetParam();
    writeRegistry(kMsinfoKey + QStringLiteral("\"Other\"=\"o\"\n") + row.line + u'\n');
    const Read read = readValue("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "V");
    EXPECT_EQ(read.status, row.status);
    if (row.status == ERROR_SUCCESS) {
        EXPECT_EQ(read.type, row.type);
        EXPECT_EQ(read.data.toHex(), row.data.toHex());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Formats, RegistryValues,
    ::testing::Values(
        ValueRow{"Dword", QStringLiteral("\"V\"=dword:0001e240"), ERROR_SUCCESS, REG_DWORD,
                 QByteArray("\x40\xe2\x01\x00", 4)},
        ValueRow{"Binary", QStringLiteral("\"v\"=hex:01,ff,7f"), ERROR_SUCCESS, REG_BINARY,
                 QByteArray("\x01\xff\x7f", 3)},
        ValueRow{"EmptyBinary", QStringLiteral("\"V\"=hex:"), ERROR_SUCCESS, REG_BINARY, {}},
        ValueRow{"TypedBytesOverContinuedLines", "\"V\"=" + hexValue(1, 45, QStringLiteral("41")),
                 ERROR_SUCCESS, REG_SZ, QByteArray(45, 'A')},
        ValueRow{"ExpandString", QStringLiteral("\"V\"=hex(2):25,00"), ERROR_SUCCESS, REG_EXPAND_SZ,
                 QByteArray("%\0", 2)},
        ValueRow{"MalformedDwordIsNoValue",
                 QStringLiteral("\"V\"=dword:xyz"),
                 ERROR_FILE_NOT_FOUND,
                 0,
                 {}},
        ValueRow{"UnterminatedStringIsNoValue",
                 QStringLiteral("\"V\"=\"abc"),
                 ERROR_FILE_NOT_FOUND,
                 0,
                 {}},
        ValueRow{
            "CommentIsNoValue", QStringLiteral(";\"V\"=\"abc\""), ERROR_FILE_NOT_FOUND, 0, {}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(Registry, UnnamedValue)
{
    writeRegistry(kMsinfoKey + QStringLiteral("@=\"default\"\n"));
    EXPECT_EQ(readValue("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "").data,
              QByteArray("default\0", 8));
    EXPECT_EQ(readValue("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", nullptr).data,
              QByteArray("default\0", 8));
}

TEST_F(Registry, DeletedKeySectionEndsTheKeyBefore)
{
    writeRegistry(kMsinfoKey +
                  QStringLiteral("[-HKEY_LOCAL_MACHINE\\SOFTWARE\\Gone]\n\"V\"=\"x\"\n"));
    EXPECT_EQ(readValue("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "V").status,
              ERROR_FILE_NOT_FOUND);
}

TEST_F(Registry, SmallBufferGetsTheSizeAndStaysUntouched)
{
    writeRegistry(kMsinfoKey + QStringLiteral("\"V\"=\"abcdef\"\n"));
    HKEY handle = 0;
    ASSERT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", 0,
                           KEY_READ, &handle),
              ERROR_SUCCESS);
    std::array<unsigned char, 7> buffer{};
    buffer.fill('#');
    DWORD type = 0;
    DWORD size = 6;
    EXPECT_EQ(RegQueryValueEx(handle, "V", nullptr, &type, buffer.data(), &size), ERROR_MORE_DATA);
    EXPECT_EQ(size, 7u);
    EXPECT_EQ(buffer[0], '#');

    size = 7;
    EXPECT_EQ(RegQueryValueEx(handle, "V", nullptr, &type, buffer.data(), &size), ERROR_SUCCESS);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char *>(buffer.data()), 7),
              QByteArray("abcdef\0", 7));

    size = 0;
    EXPECT_EQ(RegQueryValueEx(handle, "V", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 7u);
    EXPECT_EQ(RegQueryValueEx(handle, "V", nullptr, &type, buffer.data(), nullptr),
              ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegCloseKey(handle), ERROR_SUCCESS);
}

TEST_F(Registry, ClosedHandleIsInvalid)
{
    writeRegistry(kMsinfoKey + QStringLiteral("\"V\"=\"x\"\n"));
    HKEY handle = 0;
    ASSERT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", 0,
                           KEY_READ, &handle),
              ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(handle), ERROR_SUCCESS);
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueEx(handle, "V", nullptr, nullptr, nullptr, &size), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegCloseKey(handle), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegCloseKey(HKEY_LOCAL_MACHINE), ERROR_SUCCESS);
}

TEST_F(Registry, OpensBelowAnOpenKeyAndSeesTheFileAsItIsNow)
{
    writeRegistry(kMsinfoKey + QStringLiteral("\"V\"=\"old\"\n"));
    HKEY software = 0;
    ASSERT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, "SOFTWARE", 0, KEY_READ, &software), ERROR_SUCCESS);
    writeRegistry(kMsinfoKey + QStringLiteral("\"V\"=\"new\"\n"));
    HKEY msinfo = 0;
    ASSERT_EQ(RegOpenKeyEx(software, "Microsoft\\Shared Tools\\MSINFO", 0, KEY_READ, &msinfo),
              ERROR_SUCCESS);
    std::array<unsigned char, 16> buffer{};
    DWORD size = buffer.size();
    EXPECT_EQ(RegQueryValueEx(msinfo, "V", nullptr, nullptr, buffer.data(), &size), ERROR_SUCCESS);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char *>(buffer.data())), QByteArray("new"));
    RegCloseKey(msinfo);
    RegCloseKey(software);
}

struct RightsRow
{
    const char *name;
    QString keyLines;
    HKEY root;
    REGSAM wanted;
    LONG open;
    LONG query; // of a value, when the key opened
};

void PrintTo(const RightsRow &row, std::ostream *out)
{
    *out << row.name;
}

class RegistryRights : public RegistryFixture, public ::testing::WithParamInterface<RightsRow>
{
};

TEST_P(RegistryRights, OpenAndQuery)
{
    const RightsRow &row = GetParam();
    writeRegistry(row.keyLines + QStringLiteral("\"V\"=\"x\"\n"));
    HKEY handle = 0;
    ASSERT_EQ(RegOpenKeyEx(row.root, "Software\\Tool", 0, row.wanted, &handle), row.open);
    if (row.open != ERROR_SUCCESS)
        return;
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueEx(handle, "V", nullptr, nullptr, nullptr, &size), row.query);
    RegCloseKey(handle);
}

const QString kMachineTool = QStringLiteral("[HKEY_LOCAL_MACHINE\\Software\\Tool]\n");
const QString kUserTool = QStringLiteral("[HKEY_CURRENT_USER\\Software\\Tool]\n");

INSTANTIATE_TEST_SUITE_P(
    Rights, RegistryRights,
    ::testing::Values(RightsRow{"MachineKeyReadable", kMachineTool, HKEY_LOCAL_MACHINE, KEY_READ,
                                ERROR_SUCCESS, ERROR_SUCCESS},
                      RightsRow{"MachineKeyNotWritable", kMachineTool, HKEY_LOCAL_MACHINE,
                                KEY_ALL_ACCESS, ERROR_ACCESS_DENIED, 0},
                      RightsRow{"MachineKeySetValueDenied", kMachineTool, HKEY_LOCAL_MACHINE,
                                KEY_SET_VALUE, ERROR_ACCESS_DENIED, 0},
                      RightsRow{"QueryNeedsQueryRight", kMachineTool, HKEY_LOCAL_MACHINE,
                                KEY_ENUMERATE_SUB_KEYS, ERROR_SUCCESS, ERROR_ACCESS_DENIED},
                      RightsRow{"FullAccessGranted",
                                kMachineTool + QStringLiteral(";access=full\n"), HKEY_LOCAL_MACHINE,
                                KEY_ALL_ACCESS, ERROR_SUCCESS, ERROR_SUCCESS},
                      RightsRow{"NoAccess", kMachineTool + QStringLiteral("; access = none\n"),
                                HKEY_LOCAL_MACHINE, KEY_READ, ERROR_ACCESS_DENIED, 0},
                      RightsRow{"UserKeyWritable", kUserTool, HKEY_CURRENT_USER, KEY_ALL_ACCESS,
                                ERROR_SUCCESS, ERROR_SUCCESS},
                      RightsRow{"UserKeyReadOnly", kUserTool + QStringLiteral(";access=read\n"),
                                HKEY_CURRENT_USER, KEY_ALL_ACCESS, ERROR_ACCESS_DENIED, 0}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(Registry, AnsiCodePageRoundTrip)
{
    const QString text = QStringLiteral("ｼｽﾃﾑ情報　Ａ");
    EXPECT_EQ(toAnsi(text), QByteArray("\xbc\xbd\xc3\xd1\x8f\xee\x95\xf1\x81\x40\x82\x60"));
    EXPECT_EQ(fromAnsi(toAnsi(text)), text);
}

} // namespace
