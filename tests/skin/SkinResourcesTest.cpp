#include <QFontInfo>
#include <QFontMetrics>

#include "SkinTestUtil.h"
#include "platform/BmpWriter.h"
#include "skin/SkinXml.h"

namespace velmora::test {
namespace {

using ResourcesTest = SkinDirTest;

constexpr ColorRef kRed = 0x0000FF, kBlue = 0xFF0000;

TEST_F(ResourcesTest, ColorSetAndParseColorReadHashTheOppositeWays) {
    WriteFile("Skin/ColorSet.xml", R"(<?xml version="1.0" encoding="UTF-8"?>
<ColorSet>
  <Color name="빨강" rgb="255,0,0"/>
  <Color name="hexred" rgb="#0000FF"/>
  <Color name="wrapped" rgb="256, 300,12"/>
  <Other name="skipped" rgb="1,2,3"/>
  <Color name="nothing"/>
</ColorSet>)");
    SkinResources& res = SkinResources::Instance();
    ASSERT_TRUE(res.LoadColorSet());
    ASSERT_NE(res.FindColor("빨강"), nullptr);
    EXPECT_EQ(*res.FindColor("빨강"), kRed);
    EXPECT_EQ(*res.FindColor("hexred"), kRed);
    EXPECT_EQ(*res.FindColor("wrapped"), (12u << 16) | (44u << 8) | 0u);
    EXPECT_EQ(*res.FindColor("nothing"), 0u);
    EXPECT_EQ(res.FindColor("skipped"), nullptr);

    EXPECT_EQ(ParseColor("#0000FF"), kBlue);
    EXPECT_EQ(ParseColor("#FF0000"), kRed);
    EXPECT_EQ(ParseColor("12#34#56"), 0x563412u);
    EXPECT_EQ(ParseColor("빨강"), kRed);
    EXPECT_EQ(ParseColor(""), 0u);
    EXPECT_EQ(ParseColor("없는색"), 0u);
}

TEST_F(ResourcesTest, FontDefaultsAndTheTrueSubstringTest) {
    WriteFile("Skin/FontSet.xml", R"(<Fonts>
  <Font name="plain"/>
  <Font name="굴림12" face="굴림" size="12" bold="is true" italic="untrue" underline="TRUE"/>
  <Font name="shouty" bold="TRUE"/>
  <Font name="huge" size="2000000000" width="2000000000"/>
</Fonts>)");
    SkinResources& res = SkinResources::Instance();
    ASSERT_TRUE(res.LoadFontSet());
    const QFont* plain = res.FindFont("plain");
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(plain->family().toStdString(), "굴림체");
    // Sizes are character cell heights: ascent + descent, not Qt's em (which made every text
    // about a sixth larger). Whole-pixel fonts can step over a size: never above, at most one below.
    const auto cell = [](const QFont& f) { return QFontMetrics(f).ascent() + QFontMetrics(f).descent(); };
    EXPECT_LE(cell(*plain), 8);
    EXPECT_GE(cell(*plain), 7);
    EXPECT_FALSE(plain->bold());
    const QFont* g12 = res.FindFont("굴림12");
    ASSERT_NE(g12, nullptr);
    EXPECT_LE(cell(*g12), 12);
    EXPECT_GE(cell(*g12), 11);
    EXPECT_LT(g12->pixelSize(), 12);
    EXPECT_TRUE(g12->bold());
    EXPECT_TRUE(g12->italic());
    EXPECT_FALSE(g12->underline());
    EXPECT_FALSE(res.FindFont("shouty")->bold());
    // Absurd sizes and widths are cut, not overflowed.
    EXPECT_LE(res.FindFont("huge")->pixelSize(), kMaxSkinNumber);
    EXPECT_LE(res.FindFont("huge")->stretch(), 4000);
    // The Korean faces resolve to an installed Korean font, not a fallback.
    EXPECT_TRUE(QFontInfo(*g12).family().contains("Nanum")) << QFontInfo(*g12).family().toStdString();
}

TEST_F(ResourcesTest, DuplicateNamesKeepTheFirstWithOnePopupEach) {
    WriteFile("Skin/ColorSet.xml", R"(<ColorSet><Color name="a" rgb="1,0,0"/>
<Color name="a" rgb="2,0,0"/><Color name="a" rgb="3,0,0"/></ColorSet>)");
    WriteFile("Skin/ImageMapSets.xml", R"(<ImageMapSets>
<ImageMapSet name="창" color="#010203"/><ImageMapSet name="창" color="#040506"/></ImageMapSets>)");
    SkinResources& res = SkinResources::Instance();
    ASSERT_TRUE(res.LoadColorSet());
    ASSERT_TRUE(res.LoadImageMapSets());
    EXPECT_EQ(*res.FindColor("a"), 1u);
    EXPECT_EQ(res.FindImageMap("창")->fillColor, 0x030201u);
    ASSERT_EQ(prompter_.asked().size(), 3u);
    EXPECT_EQ(prompter_.asked()[0].kind, "popup");
    EXPECT_EQ(prompter_.asked()[0].text, "스킨 오류: a(이)란 세트가 두 번 정의되어 뒤의 것을 쓰지 않습니다.");
    EXPECT_EQ(prompter_.asked()[2].text, "스킨 오류: 창(이)란 세트가 두 번 정의되어 뒤의 것을 쓰지 않습니다.");
}

TEST_F(ResourcesTest, ImageMapSlotsFollowTheType) {
    QImage img(40, 30, QImage::Format_RGB32);
    img.fill(Qt::gray);
    std::filesystem::create_directories("Resource/image");
    ASSERT_TRUE(WriteBmp24(img, "Resource/image/frame.bmp"));
    WriteFile("Skin/ColorSet.xml", R"(<ColorSet><Color name="창바탕" rgb="10,20,30"/></ColorSet>)");
    WriteFile("Skin/ImageMapSets.xml", R"(<ImageMapSets>
<ImageMapSet name="full" type="FULL" color="창바탕">
  <Image file="image\frame.bmp"/>
  <Imagemaps>
    <LeftTop x="1" y="2" w="3" h="4"/><Title x="5" y="0" w="20" h="4"/>
    <RightCenter x="7" y="8" w="9"/><HorzStart x="9" y="9" w="9" h="9"/>
  </Imagemaps>
</ImageMapSet>
<ImageMapSet name="bar" type="HORZ">
  <Image file="image\missing.bmp"/>
  <Imagemaps><HorzStart x="1" y="1" w="2" h="2"/><VertCenter x="3" y="4" w="5" h="6"/>
    <LeftBottom x="50" y="50" w="5" h="5"/></Imagemaps>
</ImageMapSet>
</ImageMapSets>)");
    SkinResources& res = SkinResources::Instance();
    ASSERT_TRUE(res.LoadColorSet());
    ASSERT_TRUE(res.LoadImageMapSets());
    const auto defaults = ImageMap::DefaultRects();
    auto same = [](const ImageRect& a, const ImageRect& b) {
        return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
    };

    const ImageMap* full = res.FindImageMap("full");
    ASSERT_NE(full, nullptr);
    EXPECT_EQ(full->fillColor, (30u << 16) | (20u << 8) | 10u);
    EXPECT_EQ(full->bitmap.Width(), 40);
    EXPECT_TRUE(same(full->rects[kLeftTop], {1, 2, 4, 6}));
    EXPECT_TRUE(same(full->rects[kTitle], {5, 0, 25, 4}));
    EXPECT_TRUE(same(full->rects[kRightCenter], {7, 8, 16, 8}));
    EXPECT_TRUE(same(full->rects[kCenterTop], {0, 0, 0, 0}));  // named but absent → zeros
    for (int slot : {4, 5, 6, 7, 13, 21}) EXPECT_TRUE(same(full->rects[slot], defaults[slot])) << slot;

    const ImageMap* bar = res.FindImageMap("bar");
    ASSERT_NE(bar, nullptr);  // registered even though its bitmap is missing
    EXPECT_TRUE(bar->bitmap.IsEmpty());
    EXPECT_EQ(bar->fillColor, 0u);
    EXPECT_TRUE(same(bar->rects[kHorzStart], {1, 1, 3, 3}));
    EXPECT_TRUE(same(bar->rects[kVertCenter], {3, 4, 8, 10}));
    EXPECT_TRUE(same(bar->rects[kHorzEnd], {0, 0, 0, 0}));
    for (int slot = 8; slot < kImageMapSlots; ++slot) EXPECT_TRUE(same(bar->rects[slot], defaults[slot])) << slot;
    ASSERT_EQ(prompter_.asked().size(), 1u);
    EXPECT_EQ(prompter_.asked()[0].text, "IMAGE\\MISSING.BMP파일을 찾을 수 없습니다.");
}

TEST_F(ResourcesTest, MissingFilesOrRootsLeaveTheRegistriesEmpty) {
    WriteFile("Skin/FontSet.xml", "<NotFonts><Font name=\"x\"/></NotFonts>");
    SkinResources& res = SkinResources::Instance();
    EXPECT_FALSE(res.LoadColorSet());
    EXPECT_FALSE(res.LoadFontSet());
    EXPECT_EQ(res.FindFont("x"), nullptr);
    EXPECT_EQ(res.FindColor("x"), nullptr);
}

}  // namespace
}  // namespace velmora::test
