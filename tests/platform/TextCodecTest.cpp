#include "platform/TextCodec.h"

#include <gtest/gtest.h>

using namespace velmora;

TEST(TextCodec, Cp949RoundTripAndLoss) {
    const std::string korean = "흑 백 해설";
    auto cp = EncodeText(korean, "CP949");
    ASSERT_TRUE(cp);
    EXPECT_NE(*cp, korean);
    EXPECT_EQ(cp->size(), 4u * 2 + 2);  // each hangul syllable is two bytes
    auto back = DecodeText(*cp, "cp949");
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, korean);
    // An emoji has no CP949 form: encoding reports the loss instead of dropping it.
    EXPECT_FALSE(EncodeText("바둑 \xF0\x9F\x98\x80", "CP949"));
    EXPECT_FALSE(DecodeText("abc", "NO-SUCH-ENCODING"));
    EXPECT_EQ(*DecodeText("", "CP949"), "");
}

TEST(TextCodec, OtherEncodings) {
    for (const char* enc : {"EUC-KR", "GB18030", "BIG5", "SHIFT_JIS"}) {
        auto e = EncodeText("abc", enc);
        ASSERT_TRUE(e) << enc;
        EXPECT_EQ(*DecodeText(*e, enc), "abc") << enc;
    }
    EXPECT_EQ(*DecodeText(*EncodeText("囲碁", "SHIFT_JIS"), "SHIFT_JIS"), "囲碁");
}

TEST(TextCodec, Utf8Validity) {
    EXPECT_TRUE(IsValidUtf8("plain"));
    EXPECT_TRUE(IsValidUtf8("바둑"));
    EXPECT_FALSE(IsValidUtf8(*EncodeText("바둑", "CP949")));
    EXPECT_FALSE(IsValidUtf8("\xE0\x80\x80"));  // overlong
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));  // surrogate
    EXPECT_FALSE(IsValidUtf8("\xEB\xB0"));      // cut short
    EXPECT_EQ(Utf8Length("가A나"), 3u);
}
