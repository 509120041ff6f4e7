#include <gtest/gtest.h>

#include <QApplication>
#include <QPalette>

#include "richtext/HtmlStyle.h"
#include "richtext/HtmlTokens.h"

namespace velmora {
namespace {

TEST(HtmlStyleTest, Colors) {
    EXPECT_EQ(ParseHtmlColor("#12ab9F", 7), 0x12AB9Fu);
    EXPECT_EQ(ParseHtmlColor("#12ab9", 7), 7u);  // not seven characters
    EXPECT_EQ(ParseHtmlColor("#12ab9g", 7), 7u);
    EXPECT_EQ(ParseHtmlColor("#-12345", 7), 7u);  // hex digits only: no sign, no spaces
    EXPECT_EQ(ParseHtmlColor("# 12345", 7), 7u);
    EXPECT_EQ(ParseHtmlColor("255", 7), 0xFF0000u);  // 0x00BBGGRR
    EXPECT_EQ(ParseHtmlColor("0xFF0000", 7), 0x0000FFu);
    EXPECT_EQ(ParseHtmlColor("010", 7), 0x080000u);  // octal
    EXPECT_EQ(ParseHtmlColor("nosuchcolour", 7), 7u);
    for (const auto& [name, rgb] :
         std::vector<std::pair<std::string, Rgb>>{{"aliceblue", 0xF0F8FF},
                                                  {"yellowgreen", 0x9ACD32},
                                                  {"Gold", 0xFFD700},
                                                  {"lightgrey", 0xD3D3D3},
                                                  {"darkgoldenrod", 0xB8860B},
                                                  {"fuchsia", 0xFF00FF},
                                                  {"lightgoldenrodyellow", 0xFAFAD2},
                                                  {"teal", 0x008080}})
        EXPECT_EQ(ParseHtmlColor(name, 7), rgb) << name;
    EXPECT_EQ(ParseHtmlColor("window", 7),
              QApplication::palette().color(QPalette::Base).rgb() & 0xFFFFFFu);
    Rgb out = 0;
    for (const char* sys : {"activeborder", "buttonface", "graytext", "infobackground",
                            "threeddarkshadow", "windowtext", "inactivecaptiontext", "scrollbar"})
        EXPECT_TRUE(LookupHtmlColorName(sys, out)) << sys;
}

TEST(HtmlStyleTest, SizesInEveryUnit) {
    HtmlTextState st;
    st.fontHeight = 16;
    HtmlMetrics m;
    m.dpi = 96;
    EXPECT_EQ(ParseHtmlSize("", 9, st, m), 9);
    EXPECT_EQ(ParseHtmlSize("12px", 9, st, m), 12);
    EXPECT_EQ(ParseHtmlSize("12", 9, st, m), 12);
    EXPECT_EQ(ParseHtmlSize("150%", 20, st, m), 30);
    EXPECT_EQ(ParseHtmlSize("+2", 10, st, m), 12);
    EXPECT_EQ(ParseHtmlSize("-1em", 40, st, m), 24);
    EXPECT_EQ(ParseHtmlSize("2em", 9, st, m), 32);
    EXPECT_EQ(ParseHtmlSize("1in", 9, st, m), 96);
    EXPECT_EQ(ParseHtmlSize("2.54cm", 9, st, m), 96);
    EXPECT_EQ(ParseHtmlSize("10mm", 9, st, m), 38);
    EXPECT_EQ(ParseHtmlSize("18pt", 9, st, m), 24);
    EXPECT_EQ(ParseHtmlSize("1pc", 9, st, m), 16);
    EXPECT_GT(ParseHtmlSize("2ex", 9, st, m), 0);
    EXPECT_EQ(ParseHtmlSize("1", 9, st, m, true), 11);  // 8pt
    EXPECT_EQ(ParseHtmlSize("7", 9, st, m, true), 48);  // 36pt
    EXPECT_EQ(ParseHtmlSize("7", 9, st, m), 7);
    EXPECT_EQ(ParseHtmlSize("thin", 8, st, m, false, true), 6);
    EXPECT_EQ(ParseHtmlSize("medium", 8, st, m, false, true), 8);
    EXPECT_EQ(ParseHtmlSize("thick", 8, st, m, false, true), 10);
    // Hostile numbers end at the cap instead of overflowing on the way to int.
    EXPECT_EQ(ParseHtmlSize("+2000000000", 2000000000, st, m), kMaxHtmlSize);
    EXPECT_EQ(ParseHtmlSize("99999999999999999999px", 9, st, m), kMaxHtmlSize);
    EXPECT_EQ(ParseHtmlSize("-1e300in", 9, st, m), -kMaxHtmlSize);
    EXPECT_EQ(ParseHtmlSize("1e400%", 20, st, m), kMaxHtmlSize);
    EXPECT_EQ(ParseHtmlSize("nan", 9, st, m), 9);
    EXPECT_EQ(ParseHtmlSize("inf%", 0, st, m), 0);  // 0 × ∞
    EXPECT_EQ(ParseHtmlWeight("bolder"), 900);
    EXPECT_EQ(ParseHtmlWeight("600"), 600);
    EXPECT_EQ(ParseHtmlWeight("heavy"), 0);
}

TEST(HtmlStyleTest, StyleSheetAndDeclarations) {
    const HtmlStyleSheet sheet = ParseHtmlStyleSheet(DefaultHtmlStyleSheetText());
    EXPECT_EQ(sheet.size(), 16u);
    ASSERT_TRUE(sheet.count("a:hover"));
    ASSERT_TRUE(sheet.count(".cpp-comment"));
    EXPECT_EQ(sheet.at("pre")[1], (std::pair<std::string, std::string>("font-family", "Courier")));
    EXPECT_TRUE(ParseHtmlStyleSheet("{color:red} x {} y{color:red}").count("y"));
    EXPECT_EQ(ParseHtmlStyleSheet("{color:red} x {} y{color:red}").size(), 1u);

    HtmlTextState st;
    HtmlMetrics m;
    ApplyHtmlDeclarations(
        st,
        ParseHtmlDeclarations(
            "font-size:20px; font-family:'Nanum Gothic', sans; font-weight:bold; text-align:right;"
            "text-decoration:underline, line-through overline; vertical-align:middle;"
            "background-color:#010203; border-style:double; border-width:4px; border-color:blue;"
            "text-transform:capitalize; color:purple; bogus:1; font-style:oblique"),
        m);
    EXPECT_EQ(st.fontHeight, 20);
    EXPECT_EQ(st.face, "Nanum Gothic");
    EXPECT_EQ(st.weight, 700);
    EXPECT_EQ(st.align, 2);
    EXPECT_TRUE(st.underline && st.strikeOut && st.overline && st.italic);
    EXPECT_EQ(st.valign, 1);
    EXPECT_TRUE(st.opaque);
    EXPECT_EQ(st.background, 0x010203u);
    EXPECT_EQ(st.borderStyle, 6);
    EXPECT_EQ(st.borderWidth, 4);
    EXPECT_EQ(st.borderColor, 0x0000FFu);
    EXPECT_EQ(st.transform, 3);
    EXPECT_EQ(st.color, 0x800080u);
    const HtmlTextState before = st;
    ApplyHtmlDeclarations(
        st, ParseHtmlDeclarations("text-align:sideways; background-color:nope; x"), m);
    EXPECT_EQ(st.align, before.align);
    EXPECT_TRUE(st.opaque);
    ApplyHtmlDeclarations(
        st, ParseHtmlDeclarations("text-decoration:none;background-color:transparent"), m);
    EXPECT_FALSE(st.underline || st.strikeOut || st.overline || st.opaque);
}

TEST(HtmlStyleTest, TokenizerReadsTagsAttributesAndCounts) {
    const auto toks = TokenizeHtml(
        "x<<y<font face=\"A B\" size='3' color=red>z</font><br 2><t3><a href=u>l</a><a msg=m>");
    ASSERT_EQ(toks.size(), 10u);
    EXPECT_EQ(toks[0].text, "x<y");
    EXPECT_EQ(toks[1].tag, kTagFont);
    EXPECT_EQ(toks[1].Attr("face"), "A B");
    EXPECT_EQ(toks[1].Attr("size"), "3");
    EXPECT_EQ(toks[1].Attr("color"), "red");
    EXPECT_TRUE(toks[3].closing);
    EXPECT_EQ(toks[4].tag, kTagBreak);
    EXPECT_EQ(toks[4].count, 2);
    EXPECT_EQ(toks[5].tag, kTagTab);
    EXPECT_EQ(toks[5].count, 3);
    EXPECT_EQ(toks[6].linkId, 0);
    EXPECT_EQ(toks[9].linkId, 1);
    EXPECT_EQ(HtmlTagNumber("B"), kTagNone);  // case-sensitive
    EXPECT_EQ(HtmlTagNumber("middle"), kTagVCenter);
    // An unclosed '<' stays text.
    const auto open = TokenizeHtml("a < b");
    ASSERT_EQ(open.size(), 1u);
    EXPECT_EQ(open[0].text, "a < b");
}

}  // namespace
}  // namespace velmora
