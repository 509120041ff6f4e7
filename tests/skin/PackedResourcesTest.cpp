#include <QDir>
#include <QFile>
#include <map>

#include "SkinTestUtil.h"

namespace velmora::test {
namespace {

// The Resource.bk2 the build puts beside the program: every skin set loads from it alone,
// with no message, and every bitmap it names is there.
TEST(PackedResources, BuiltArchiveHoldsAConsistentSkin) {
    const QString bin = QStringLiteral(VELMORA_BIN_DIR);
    if (!QDir(bin).exists("Resource.bk2")) GTEST_SKIP() << "Resource.bk2 not built yet";
    ScriptedPrompter prompter;
    const QString old = QDir::currentPath();
    QDir::setCurrent(bin);
    ResourceArchive& ra = ResourceArchive::Instance();
    SkinResources& res = SkinResources::Instance();
    ra.Clear();
    res.Clear();
    ASSERT_TRUE(ra.AddArchive("Resource.bk2"));
    EXPECT_TRUE(res.LoadColorSet());
    EXPECT_TRUE(res.LoadFontSet());
    EXPECT_TRUE(res.LoadImageMapSets());
    EXPECT_TRUE(res.LoadAniBtnImageSet());
    for (const char* font : {"굴림11", "굴림12", "탭버튼"}) EXPECT_NE(res.FindFont(font), nullptr) << font;
    // The pieces each map is drawn from lie inside its bitmap.
    const std::vector<int> frame = {kLeftTop, kTitle, kCenterTop, kRightTop, kLeftBottom,
                                    kRightBottom, kCenterBottom, kLeftCenter, kRightCenter};
    const std::vector<int> bar = {kVertStart, kVertEnd, kVertCenter};
    const std::pair<const char*, const std::vector<int>*> maps[] = {
        {"메인창틀", &frame}, {"대화상자틀", &frame}, {"패널틀", &frame},
        {"진행막대", &bar},   {"타이머막대_남음", &bar}, {"타이머막대_지남", &bar}};
    for (const auto& [name, pieces] : maps) {
        const ImageMap* m = res.FindImageMap(name);
        ASSERT_NE(m, nullptr) << name;
        EXPECT_FALSE(m->bitmap.IsEmpty()) << name;
        for (int slot : *pieces) {
            const ImageRect& r = m->rects[static_cast<size_t>(slot)];
            EXPECT_TRUE(r.right <= m->bitmap.Width() && r.bottom <= m->bitmap.Height()) << name << slot;
        }
    }
    const SkinBitmap black(ra.LoadBitmapFile("image\\Board\\흑바둑알_01.bmp"));
    const SkinBitmap white(ra.LoadBitmapFile("image\\Board\\백바둑알_01.bmp"));
    const SkinBitmap wood(ra.LoadBitmapFile("image\\Board\\바둑판_01.bmp"));
    const SkinBitmap header(ra.LoadBitmapFile("image\\Reference\\기보편집기데이타_참고도확장버튼.bmp"));
    EXPECT_EQ(black.Width(), black.Height());
    EXPECT_EQ(white.Width(), black.Width());
    EXPECT_EQ(white.Height(), black.Height());
    EXPECT_GE(wood.Width(), 256);
    EXPECT_EQ(header.Height(), 4 * 17);
    EXPECT_TRUE(prompter.asked().empty()) << prompter.asked()[0].text;
    ra.Clear();
    res.Clear();
    QDir::setCurrent(old);
}

// The lookup ignores letter case, so members whose names differ only in case would all find
// the same file (the small-letter label button showed the capital's picture).
TEST(PackedResources, MemberNamesDifferInMoreThanCase) {
    const std::string path = VELMORA_BIN_DIR "/Resource.bk2";
    if (!QFile::exists(QString::fromStdString(path))) GTEST_SKIP() << "Resource.bk2 not built yet";
    int error = 0;
    zip_t* z = zip_open(path.c_str(), ZIP_RDONLY, &error);
    ASSERT_NE(z, nullptr);
    std::map<std::string, std::string> seen;
    for (zip_int64_t i = 0; i < zip_get_num_entries(z, 0); ++i) {
        const std::string name = zip_get_name(z, static_cast<zip_uint64_t>(i), ZIP_FL_ENC_RAW);
        const auto [it, fresh] = seen.emplace(ResourceArchive::UpperCase(name), name);
        EXPECT_TRUE(fresh) << name << " and " << it->second;
    }
    zip_close(z);

    ScriptedPrompter prompter;
    ResourceArchive& ra = ResourceArchive::Instance();
    ra.Clear();
    ASSERT_TRUE(ra.AddArchive(path));
    const Surface capital = ra.LoadBitmapFile("image\\Pane\\기호_대문자.bmp");
    const Surface small = ra.LoadBitmapFile("image\\Pane\\기호_소문자.bmp");
    ASSERT_FALSE(capital.isNull());
    ASSERT_FALSE(small.isNull());
    EXPECT_NE(capital.image(), small.image());
    ra.Clear();
}

}  // namespace
}  // namespace velmora::test
