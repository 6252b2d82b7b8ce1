#include "fileio/shiftjis.h"

#include <gtest/gtest.h>

using namespace mitoon;

namespace {

TEST(ShiftJis, IsCodePage932)
{
    EXPECT_EQ(shiftjis::encode(u"～①\\")->toHex(' '), QByteArray("81 60 87 40 5c"));
    EXPECT_EQ(shiftjis::decode("\x81\x60\x87\x40\x5c"), QStringLiteral("～①\\"));
    // U+301C WAVE DASH has no code in 932; "～" (U+FF5E) is the one that has.
    EXPECT_FALSE(shiftjis::encode(u"〜").has_value());
}

TEST(ShiftJis, ReplacesWhatHasNoCodeWithAQuestionMarkEach)
{
    EXPECT_EQ(shiftjis::encodeReplacing(u"a〜日\U0001F600b"), QByteArray("a?\x93\xfa?b"));
}

struct PartsRow
{
    const char *name;
    QByteArray bytes;
    QString text;
};

class DecodingInParts : public ::testing::TestWithParam<PartsRow>
{
};

// Whatever the file's bytes and wherever a read ends, the text is the same as at once.
TEST_P(DecodingInParts, GivesTheTextOfTheWhole)
{
    const PartsRow &row = GetParam();
    EXPECT_EQ(shiftjis::decode(row.bytes), row.text);
    for (qsizetype cut = 0; cut <= row.bytes.size(); ++cut) {
        shiftjis::Decoder decoder;
        QString text = decoder.decode(QByteArrayView(row.bytes).first(cut));
        text += decoder.decode(QByteArrayView(row.bytes).sliced(cut));
        text += decoder.finish();
        EXPECT_EQ(text, row.text) << "cut after " << cut << " bytes";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, DecodingInParts,
    ::testing::Values(PartsRow{"DoubleByteCharacters", "\x93\xfa\x95\x74\r\n", u"日付\r\n"_qs},
                      PartsRow{"LeadByteAtTheEnd", "ab\x93", u"ab\uFFFD"_qs},
                      PartsRow{"LeadByteBeforeALineEnd", "\x82\r\n", u"\uFFFD\r\n"_qs},
                      PartsRow{"BytesOfNoCharacter", "\xa0\xfd\x80", u"\uFFFD\uFFFD\uFFFD"_qs},
                      PartsRow{"HalfWidthKatakana", "\xbc\xbd\xc3\xd1", u"ｼｽﾃﾑ"_qs}),
    [](const ::testing::TestParamInfo<PartsRow> &info) { return info.param.name; });

} // namespace
