#include <tinyxml2.h>

#include "SkinTestUtil.h"
#include "skin/SkinXml.h"

namespace velmora::test {
namespace {

using ArchiveTest = SkinDirTest;

TEST_F(ArchiveTest, LookupOrderIsDiskFoldersThenArchives) {
    MakeZip("first.bk2", {{"Skin\\A.xml", "zip-a"}, {"Skin\\B.xml", "zip-b"}, {"Skin\\C.xml", "zip-c"},
                          {"Skin\\D.xml", "zip1-d"}});
    MakeZip("second.bk2", {{"Skin\\D.xml", "zip2-d"}, {"Skin\\E.xml", "zip2-e"}});
    WriteFile("Resource/Skin/A.xml", "res-a");
    WriteFile("Windows/Skin/A.xml", "win-a");
    WriteFile("etc/Skin/A.xml", "etc-a");
    WriteFile("Windows/Skin/B.xml", "win-b");
    WriteFile("etc/Skin/B.xml", "etc-b");
    WriteFile("etc/Skin/C.xml", "etc-c");
    ResourceArchive& ra = ResourceArchive::Instance();
    ASSERT_TRUE(ra.AddArchive("first.bk2"));
    ASSERT_TRUE(ra.AddArchive("second.bk2"));
    EXPECT_EQ(ReadAll(ra.OpenFile("Skin\\A.xml")), "res-a");
    EXPECT_EQ(ReadAll(ra.OpenFile("Skin\\B.xml")), "win-b");
    EXPECT_EQ(ReadAll(ra.OpenFile("Skin\\C.xml")), "etc-c");
    EXPECT_EQ(ReadAll(ra.OpenFile("Skin\\D.xml")), "zip1-d");
    EXPECT_EQ(ReadAll(ra.OpenFile("Skin\\E.xml")), "zip2-e");
    EXPECT_TRUE(prompter_.asked().empty());
}

TEST_F(ArchiveTest, NamesMatchAnyCaseAndSlash) {
    MakeZip("r.bk2", {{"skin/mainwnd.xml", "lower-forward"}, {"IMAGE\\BOARD\\X.BMP", "upper-back"}});
    WriteFile("resource/skin/dialog/Pop.xml", "disk");
    ResourceArchive& ra = ResourceArchive::Instance();
    ASSERT_TRUE(ra.AddArchive("r.bk2"));
    EXPECT_EQ(ReadAll(ra.OpenFile("Skin\\MainWnd.xml")), "lower-forward");
    EXPECT_EQ(ReadAll(ra.OpenFile("image/Board/x.bmp")), "upper-back");
    EXPECT_EQ(ReadAll(ra.OpenFile("Skin\\Dialog\\POP.XML")), "disk");
}

TEST_F(ArchiveTest, CacheServesTheSameFileRewound) {
    MakeZip("r.bk2", {{"Skin\\X.xml", "member"}});
    WriteFile("etc/Y.txt", "on disk");
    ResourceArchive& ra = ResourceArchive::Instance();
    ASSERT_TRUE(ra.AddArchive("r.bk2"));
    for (const std::string n : {"Skin\\X.xml", "y.TXT"}) {
        ResourceFile* first = ra.OpenFile(n);
        ASSERT_NE(first, nullptr);
        char buf[64];
        first->Read(buf, sizeof buf);  // read to the end
        ResourceFile* again = ra.OpenFile(ResourceArchive::UpperCase(n));
        EXPECT_EQ(again, first);
        EXPECT_EQ(again->Read(buf, 3), 3);
    }
    // Once cached, a member is served even after the disk copy appears.
    WriteFile("Resource/Skin/X.xml", "late disk");
    EXPECT_EQ(ReadAll(ra.OpenFile("skin/x.xml")), "member");
}

TEST_F(ArchiveTest, MembersNeedTheRightPasswordAndEncryption) {
    MakeZip("wrong.bk2", {{"Skin\\W.xml", "wrong password"}}, "1234");
    MakeZip("plain.bk2", {{"Skin\\P.xml", "not encrypted", false}});
    MakeZip("good.bk2", {{"Skin\\W.xml", "good"}});
    ResourceArchive& ra = ResourceArchive::Instance();
    ASSERT_TRUE(ra.AddArchive("wrong.bk2"));
    ASSERT_TRUE(ra.AddArchive("plain.bk2"));
    ASSERT_TRUE(ra.AddArchive("good.bk2"));
    // The wrong archive yields nothing, so the next one is asked.
    EXPECT_EQ(ReadAll(ra.OpenFile("Skin\\W.xml")), "good");
    EXPECT_EQ(ra.OpenFile("Skin\\P.xml"), nullptr);
    ASSERT_EQ(prompter_.asked().size(), 1u);
    EXPECT_EQ(prompter_.asked()[0].text, "SKIN\\P.XML파일을 찾을 수 없습니다.");
}

TEST_F(ArchiveTest, MissingArchiveLeavesDiskLookups) {
    WriteFile("garbage.bk2", "this is not a zip file at all");
    WriteFile("Resource/Skin/A.xml", "disk");
    ResourceArchive& ra = ResourceArchive::Instance();
    EXPECT_FALSE(ra.AddArchive("Resource.bk2"));
    EXPECT_FALSE(ra.AddArchive("garbage.bk2"));
    EXPECT_EQ(ra.ArchiveCount(), 0);
    ASSERT_EQ(prompter_.asked().size(), 2u);
    EXPECT_EQ(prompter_.asked()[0].kind, "message");
    EXPECT_EQ(prompter_.asked()[0].text, "Resource.bk2 파일을 찾을 수 없습니다.");
    EXPECT_EQ(ReadAll(ra.OpenFile("Skin\\A.xml")), "disk");
}

TEST_F(ArchiveTest, TextFilesAreReadWholeUpToAZeroByte) {
    std::string big(150000, 'x');
    big += "END";
    WriteFile("Resource/big.txt", big);
    WriteFile("Resource/zero.txt", std::string("abc\0def", 7));
    ResourceArchive& ra = ResourceArchive::Instance();
    EXPECT_EQ(ra.ReadTextFile("big.txt"), big);
    EXPECT_EQ(ra.ReadTextFile("zero.txt"), "abc");
    EXPECT_EQ(ra.ReadTextFile("Skin\\none.xml"), "");
    ASSERT_EQ(prompter_.asked().size(), 2u);
    EXPECT_EQ(prompter_.asked()[0].text, "SKIN\\NONE.XML파일을 찾을 수 없습니다.");
    EXPECT_EQ(prompter_.asked()[1].text, "Skin\\none.xml파일을 찾을 수 없습니다.");
}

TEST_F(ArchiveTest, SkinXmlPrefersThePlainPath) {
    WriteFile("skin/colorset.xml", "<ColorSet where=\"plain\"/>");
    WriteFile("Resource/Skin/ColorSet.xml", "<ColorSet where=\"resource\"/>");
    MakeZip("r.bk2", {{"Skin\\ColorSet.xml", "<ColorSet where=\"zip\"/>"},
                      {"Skin\\Only.xml", "<Window where=\"zip\"/>"},
                      {"Skin\\Broken.xml", "<Window"}});
    ASSERT_TRUE(ResourceArchive::Instance().AddArchive("r.bk2"));
    tinyxml2::XMLDocument doc;
    ASSERT_TRUE(LoadSkinXml("Skin\\ColorSet.xml", doc));
    EXPECT_STREQ(doc.RootElement()->Attribute("where"), "plain");
    ASSERT_TRUE(LoadSkinXml("Skin\\Only.xml", doc));
    EXPECT_STREQ(doc.RootElement()->Attribute("where"), "zip");
    EXPECT_FALSE(LoadSkinXml("Skin\\Broken.xml", doc));
    EXPECT_FALSE(LoadSkinXml("Skin\\Absent.xml", doc));
    // A plain absolute path is found too, from the root rather than the working folder.
    const std::string absolute = QDir::current().absoluteFilePath("skin/colorset.xml").toStdString();
    ASSERT_TRUE(LoadSkinXml(absolute, doc));
    EXPECT_STREQ(doc.RootElement()->Attribute("where"), "plain");
}

}  // namespace
}  // namespace velmora::test
