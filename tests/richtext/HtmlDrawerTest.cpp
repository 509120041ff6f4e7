#include <QFontMetrics>
#include <gtest/gtest.h>

#include <map>

#include "HtmlTestItems.h"
#include "richtext/HtmlDrawer.h"

namespace velmora {
namespace {

std::vector<HtmlItem> TextItems(const HtmlDrawer& d) {
    return ItemsOfKind(d, HtmlItemKind::Text);
}

const HtmlItem* FindText(const std::vector<HtmlItem>& items, const std::string& text) {
    for (const HtmlItem& it : items)
        if (it.text == text) return &it;
    return nullptr;
}

// The line height of the body text, as the layout measures it.
int BodyLineHeight(const HtmlDrawer& d, const Surface& s) {
    HtmlDrawer probe = d;
    probe.Prepare(s, "x");
    return TextItems(probe).at(0).rect.height();
}

class HtmlDrawerTest : public ::testing::Test {
  protected:
    Surface surface{400, 300};
    HtmlDrawer drawer;
};

TEST_F(HtmlDrawerTest, EmptyTextPreparesToZeroAndDrawsNothing) {
    EXPECT_EQ(drawer.Prepare(surface, ""), QSize(0, 0));
    EXPECT_TRUE(drawer.Text().empty());
    surface.Fill(0x123456);
    drawer.Draw(surface, surface.rect());
    for (int y = 0; y < surface.height(); y += 7)
        for (int x = 0; x < surface.width(); x += 7) ASSERT_EQ(surface.Pixel(x, y), 0x123456u);
    EXPECT_TRUE(drawer.Links().empty());
    // A text prepared before is forgotten.
    drawer.Prepare(surface, "abc");
    drawer.Prepare(surface, "");
    EXPECT_TRUE(drawer.Items().empty());
}

TEST_F(HtmlDrawerTest, EntitiesAndLiteralLessThan) {
    drawer.Prepare(surface, "&lt;b&gt; &amp; &copy;&euro;&trade; x&nbsp;y");
    const auto items = TextItems(drawer);
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].text, "<b> & ©€™ x y");
    EXPECT_EQ(items[0].weight, 400);  // "&lt;b" is text, not a bold tag
}

TEST_F(HtmlDrawerTest, PreprocessingKeepsOrDropsLineBreaks) {
    EXPECT_EQ(PreprocessHtml("a\r\nb\tc", false), "abc");
    EXPECT_EQ(PreprocessHtml("a\r\nb\tc", true), "a<br>b<t>c");
    drawer.SetKeepLineBreaks(true);
    drawer.Prepare(surface, "first\nsecond");
    const auto items = TextItems(drawer);
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[1].rect.x(), 0);
    EXPECT_GT(items[1].rect.y(), items[0].rect.y());
}

TEST_F(HtmlDrawerTest, BoldDoublesWeightUpTo900) {
    drawer.Prepare(surface, "a<b>b<b>c</b>d</b>e");
    const auto items = TextItems(drawer);
    ASSERT_EQ(items.size(), 5u);
    EXPECT_EQ(items[0].weight, 400);
    EXPECT_EQ(items[1].weight, 800);
    EXPECT_EQ(items[2].weight, 900);  // 1600 capped
    EXPECT_EQ(items[3].weight, 800);
    EXPECT_EQ(items[4].weight, 400);
}

TEST_F(HtmlDrawerTest, BreakCountAdvancesLines) {
    const int h = BodyLineHeight(drawer, surface);
    for (const char* text : {"a<br>b", "a<br 2>b", "a<br3>b"}) {
        drawer.Prepare(surface, text);
        const auto items = TextItems(drawer);
        ASSERT_EQ(items.size(), 2u) << text;
        const int lines = text[4] == '>' ? 1 : text[4] == ' ' ? 2 : 3;
        EXPECT_EQ(items[1].rect.y() - items[0].rect.y(), lines * h) << text;
        EXPECT_EQ(items[1].rect.x(), 0);
    }
    // A leading break leaves an empty first line, as the program's messages use it.
    const QSize one = drawer.Prepare(surface, "x");
    const QSize two = drawer.Prepare(surface, "<br>x");
    EXPECT_EQ(two.height() - one.height(), h);
}

TEST_F(HtmlDrawerTest, UnknownTagsAreSkipped) {
    drawer.Prepare(surface, "a<blink color=red>b</blink>c<p>d");
    const auto items = TextItems(drawer);
    ASSERT_EQ(items.size(), 4u);
    for (size_t i = 1; i < items.size(); ++i) {
        EXPECT_EQ(items[i].rect.y(), items[0].rect.y());
        EXPECT_EQ(items[i].rect.x(), items[i - 1].rect.right() + 1);
        EXPECT_EQ(items[i].color, 0u);
    }
}

TEST_F(HtmlDrawerTest, WrapsAtBreakCharactersAndTrimsSpaces) {
    drawer.Prepare(surface, "hello world");
    const int full = TextItems(drawer)[0].rect.width();
    drawer.SetMaxWidth(full - 5);
    const QSize size = drawer.Prepare(surface, "hello world");
    const auto items = TextItems(drawer);
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].text, "hello");
    EXPECT_EQ(items[1].text, "world");
    EXPECT_EQ(items[1].rect.x(), 0);
    EXPECT_EQ(items[1].rect.y(), items[0].rect.bottom() + 1);
    EXPECT_LE(size.width(), full - 5);
    // A hyphen is a break too, and stays with the first part.
    drawer.SetMaxWidth(0);
    drawer.Prepare(surface, "well-known");
    drawer.SetMaxWidth(TextItems(drawer)[0].rect.width() + 3);
    drawer.Prepare(surface, "well-known words");
    EXPECT_EQ(TextItems(drawer)[0].text, "well-known");
}

TEST_F(HtmlDrawerTest, LongWordBreaksBetweenCharactersOnlyAtLineStart) {
    const std::string word = "abcdefghijklmnopqrstuvwxyz";
    drawer.SetMaxWidth(60);
    drawer.Prepare(surface, word);
    auto items = TextItems(drawer);
    ASSERT_GT(items.size(), 2u);
    std::string joined;
    for (const HtmlItem& it : items) {
        EXPECT_LE(it.rect.right() + 1, 60);
        EXPECT_EQ(it.rect.x(), 0);
        joined += it.text;
    }
    EXPECT_EQ(joined, word);

    // After other text on the line, the word moves whole to the next line first.
    drawer.Prepare(surface, "xy " + word);
    items = TextItems(drawer);
    ASSERT_GT(items.size(), 2u);
    EXPECT_EQ(items[0].text, "xy");
    EXPECT_EQ(items[1].rect.x(), 0);
    EXPECT_GT(items[1].rect.y(), items[0].rect.y());
    EXPECT_EQ(items[1].text.substr(0, 1), "a");
}

TEST_F(HtmlDrawerTest, KoreanTextBreaksBetweenCharactersNotBytes) {
    const std::string word = "진행중인수순이있습니다저장하시겠습니까";
    drawer.SetMaxWidth(70);
    drawer.Prepare(surface, word);
    const auto items = TextItems(drawer);
    ASSERT_GT(items.size(), 1u);
    std::string joined;
    for (const HtmlItem& it : items) {
        EXPECT_FALSE(QString::fromStdString(it.text).contains(QChar::ReplacementCharacter));
        EXPECT_LE(it.rect.width(), 70);
        joined += it.text;
    }
    EXPECT_EQ(joined, word);
}

TEST_F(HtmlDrawerTest, JustifySpreadsOnlyWrappedLines) {
    drawer.SetMaxWidth(150);
    drawer.Prepare(surface,
                   "<justify>one two three four five six seven eight nine ten<br>a b</justify>");
    const auto items = TextItems(drawer);
    std::map<int, int> rightByLine, leftByLine;
    for (const HtmlItem& it : items) {
        rightByLine[it.rect.y()] = std::max(rightByLine[it.rect.y()], it.rect.right() + 1);
        leftByLine.try_emplace(it.rect.y(), it.rect.x());
    }
    ASSERT_GE(rightByLine.size(), 3u);
    auto it = rightByLine.begin();
    EXPECT_EQ(it->second, 150);  // wrapped: flush with the right edge
    const int lastY = rightByLine.rbegin()->first;
    // The line ended by <br> and the final line keep their natural width.
    const auto beforeLast = std::prev(rightByLine.end(), 2);
    EXPECT_LT(beforeLast->second, 150);
    EXPECT_LT(rightByLine[lastY], 60);
}

TEST_F(HtmlDrawerTest, AlignmentCentersAndRightAlignsInTheDrawRectangle) {
    drawer.Prepare(surface, "<center>mid<br></center><right>end<br></right>");
    drawer.Draw(surface, QRect(10, 20, 200, 100));
    const auto items = TextItems(drawer);
    ASSERT_EQ(items.size(), 2u);
    const int w0 = items[0].rect.width(), w1 = items[1].rect.width();
    EXPECT_EQ(items[0].rect.x(), 10 + (200 - w0) / 2);
    EXPECT_EQ(items[1].rect.right() + 1, 210 - 0 * w1);
    // At the end of the text a line keeps the alignment of its last run.
    drawer.Prepare(surface, "<center>only</center>");
    drawer.Draw(surface, QRect(0, 0, 200, 50));
    EXPECT_EQ(TextItems(drawer)[0].rect.x(), (200 - TextItems(drawer)[0].rect.width()) / 2);
}

TEST_F(HtmlDrawerTest, VerticalAlignmentWithinALine) {
    drawer.Prepare(surface, "<font size=40px>B</font><top>t</top><bottom>b</bottom>s");
    const auto items = TextItems(drawer);
    ASSERT_EQ(items.size(), 4u);
    const QRect big = items[0].rect;
    EXPECT_EQ(items[1].rect.top(), big.top());
    EXPECT_EQ(items[2].rect.bottom(), big.bottom());
    // Baseline: both runs share a baseline, so the small one sits lower than the top.
    EXPECT_GT(items[3].rect.top(), big.top());
    EXPECT_LT(items[3].rect.bottom(), big.bottom());
}

TEST_F(HtmlDrawerTest, TabsIndentAndRules) {
    drawer.Prepare(surface, "a<t>b<t 2>c");
    auto items = TextItems(drawer);
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[1].rect.x(), 48);
    EXPECT_EQ(items[2].rect.x(), 144);

    drawer.Prepare(surface, "<indent size=20>a<br>b</indent><br>c");
    items = TextItems(drawer);
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0].rect.x(), 20);
    EXPECT_EQ(items[1].rect.x(), 20);
    EXPECT_EQ(items[2].rect.x(), 0);

    drawer.Prepare(surface, "above<hr size=3 width=50% color=red>below");
    drawer.Draw(surface, QRect(0, 0, 200, 100));
    const auto all = drawer.Items();
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(all[1].kind, HtmlItemKind::Rule);
    EXPECT_EQ(all[1].rect.width(), 100);
    EXPECT_GE(all[1].rect.height(), 3 + 8);
    EXPECT_EQ(all[2].rect.top(), all[1].rect.bottom() + 1);
    const int y = all[1].rect.top() + (all[1].rect.height() - 6) / 2;
    EXPECT_EQ(surface.Pixel(50, y), 0xFF0000u);
    EXPECT_EQ(surface.Pixel(50, y + 3), 0xFFFFFFu);
}

TEST_F(HtmlDrawerTest, FontAttributesAndStyles) {
    drawer.Prepare(surface,
                   "<font face=Arial size=20px color=#00ff00 weight=bold>g</font>"
                   "<font color=255 style='font-style:italic; text-decoration:underline'>r</font>"
                   "<font size=3 weight=lighter>p</font><u><i>ui</i></u><h2>h</h2>");
    const auto items = TextItems(drawer);
    ASSERT_EQ(items.size(), 5u);
    EXPECT_EQ(items[0].fontHeight, 20);
    EXPECT_EQ(items[0].color, 0x00FF00u);
    EXPECT_EQ(items[0].weight, 700);
    EXPECT_EQ(items[1].color, 0xFF0000u);  // 0x00BBGGRR
    EXPECT_TRUE(items[1].italic);
    EXPECT_TRUE(items[1].underline);
    EXPECT_EQ(items[2].fontHeight, 16);  // size 3 = 12pt at 96 dpi
    EXPECT_EQ(items[2].weight, 100);
    EXPECT_TRUE(items[3].italic && items[3].underline);
    EXPECT_EQ(items[4].color, 0xFF9900u);  // h2 from the default style sheet
    EXPECT_EQ(items[4].fontHeight, 17);    // 13pt
}

TEST_F(HtmlDrawerTest, StyleSheetClassesAndTransforms) {
    drawer.SetStyleSheet(
        std::string(".loud {text-transform:uppercase; color:navy} "
                    ".cap {text-transform: capitalize} body {font-size:12px}"));
    drawer.Prepare(surface, "<span class=loud>shout</span> <span class=cap>go on now</span>");
    auto items = TextItems(drawer);
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0].text, "SHOUT");
    EXPECT_EQ(items[0].color, 0x000080u);
    EXPECT_EQ(items[0].fontHeight, 12);
    EXPECT_EQ(items[2].text, "Go On Now");
    drawer.SetStyleSheet(std::nullopt);
    drawer.Prepare(surface, "<span class=loud>shout</span><h1>x</h1>");
    items = TextItems(drawer);
    EXPECT_EQ(items[0].text, "shout");
    EXPECT_EQ(items[1].weight, 700);
}

TEST_F(HtmlDrawerTest, LinksAreRecordedAndHoverUsesItsStyle) {
    const std::string text =
        "go <a href=\"https://example.org\">site</a> or <a msg=\"retry\">again</a>";
    drawer.Prepare(surface, text);
    surface.Fill(0xFFFFFF);
    drawer.Draw(surface, QRect(5, 5, 300, 50));
    ASSERT_EQ(drawer.Links().size(), 2u);
    const HtmlLink& site = drawer.Links()[0];
    EXPECT_EQ(site.kind, 1);
    EXPECT_EQ(site.target, "https://example.org");
    EXPECT_EQ(drawer.Links()[1].kind, 2);
    EXPECT_EQ(drawer.Links()[1].target, "retry");
    EXPECT_EQ(drawer.LinkAt(site.rect.center()), 0);
    EXPECT_EQ(drawer.LinkAt(QPoint(0, 0)), -1);
    EXPECT_FALSE(TextItems(drawer)[1].underline);

    EXPECT_TRUE(drawer.HoverAt(drawer.Links()[1].rect.center()));
    EXPECT_FALSE(drawer.HoverAt(drawer.Links()[1].rect.center()));
    drawer.Draw(surface, QRect(5, 5, 300, 50));
    const auto items = TextItems(drawer);
    const HtmlItem* again = FindText(items, "again");
    ASSERT_NE(again, nullptr);
    EXPECT_TRUE(again->underline);
    EXPECT_EQ(again->color, 0x0000FFu);
    EXPECT_FALSE(FindText(items, "site")->underline);
}

TEST_F(HtmlDrawerTest, PreparedSizeCoversTheContentAndRespectsMaxWidth) {
    const QSize s = drawer.Prepare(surface, "abc<br>defgh");
    const auto items = TextItems(drawer);
    EXPECT_EQ(s.width(), items[1].rect.right() + 2);
    EXPECT_EQ(s.height(), items[1].rect.bottom() + 2);
    drawer.SetMaxWidth(20);
    EXPECT_EQ(drawer.Prepare(surface, "<table width=300><tr><td>x</td></tr></table>").width(), 20);
}

TEST_F(HtmlDrawerTest, ImagesComeThroughTheLoader) {
    drawer.Prepare(surface, "a<bmp idres=7 file=x.bmp>b");
    EXPECT_EQ(drawer.Items().size(), 2u);  // no loader: no image, no room

    HtmlImageRequest seen;
    drawer.SetImageLoader([&](const HtmlImageRequest& r) {
        seen = r;
        QImage img(10, 20, QImage::Format_RGB32);
        img.fill(0xFF0000FF);
        return img;
    });
    drawer.Prepare(surface, "a<ilst index=3 speed=100 srcdll=other>b");
    EXPECT_EQ(seen.tag, kTagImageList);
    EXPECT_EQ(seen.index, 3);
    EXPECT_EQ(seen.module, "other");
    EXPECT_TRUE(drawer.Animated());
    const auto items = drawer.Items();
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[1].kind, HtmlItemKind::Image);
    EXPECT_EQ(items[1].rect.size(), QSize(10, 10));  // the last of two frames, one under the other
    EXPECT_EQ(items[1].rect.x(), items[0].rect.right() + 1);
    EXPECT_EQ(items[2].rect.x(), items[1].rect.right() + 1);
    surface.Fill(0);
    drawer.Draw(surface, surface.rect());
    EXPECT_EQ(surface.Pixel(items[1].rect.x() + 5, items[1].rect.y() + 5), 0x0000FFu);

    // The global loader serves drawers without their own.
    SetDefaultHtmlImageLoader(
        [](const HtmlImageRequest&) { return QImage(4, 4, QImage::Format_RGB32); });
    HtmlDrawer other;
    other.Prepare(surface, "<icon idres=1>");
    EXPECT_EQ(other.Items().size(), 1u);
    SetDefaultHtmlImageLoader({});
    drawer.Prepare(surface, "<string idres=5>");
    EXPECT_TRUE(drawer.Items().empty());
}

}  // namespace
}  // namespace velmora

namespace velmora {
namespace {

TEST_F(HtmlDrawerTest, StringTagTextWrapsAndTakesTheStyleLikeInlineText) {
    const std::string words = "흑이 먼저 두는 바둑의 the quick board";
    SetHtmlStringLoader([&](int id) { return id == 57344 ? words : std::string(); });
    drawer.SetMaxWidth(90);
    drawer.Prepare(surface, "<b><font color=#ff0000><string idres=57344></font></b>");
    const auto tagged = TextItems(drawer);
    drawer.Prepare(surface, "<b><font color=#ff0000>" + words + "</font></b>");
    const auto inlined = TextItems(drawer);
    ASSERT_GT(inlined.size(), 1u);
    ASSERT_EQ(tagged.size(), inlined.size());
    for (size_t i = 0; i < inlined.size(); ++i) {
        EXPECT_EQ(tagged[i].text, inlined[i].text);
        EXPECT_EQ(tagged[i].rect, inlined[i].rect);
        EXPECT_EQ(tagged[i].weight, 800);
        EXPECT_EQ(tagged[i].color, 0xFF0000u);
    }
    // Unknown numbers and strings of other modules add nothing, not even room.
    for (const char* text : {"a<string idres=12>b", "a<string idres=57344 srcdll=other.dll>b",
                             "a<string iddll=x idres=57344>b", "a<string>b"}) {
        drawer.Prepare(surface, text);
        const auto items = TextItems(drawer);
        ASSERT_EQ(items.size(), 2u) << text;
        EXPECT_EQ(items[1].rect.x(), items[0].rect.right() + 1) << text;
    }
    SetHtmlStringLoader({});
}

TEST_F(HtmlDrawerTest, ImageListShowsOneFrameAndRunsAtItsSpeed) {
    // A strip of three square frames: red, green, blue.
    drawer.SetImageLoader([](const HtmlImageRequest&) {
        QImage strip(30, 10, QImage::Format_RGB32);
        for (int f = 0; f < 3; ++f)
            for (int y = 0; y < 10; ++y)
                for (int x = 0; x < 10; ++x) strip.setPixel(f * 10 + x, y, 0xFF0000u >> (8 * f));
        return strip;
    });
    auto shown = [&] {
        surface.Fill(0);
        drawer.Draw(surface, surface.rect());
        const HtmlItem image = ItemsOfKind(drawer, HtmlItemKind::Image).at(0);
        EXPECT_EQ(image.rect.size(), QSize(10, 10));
        return surface.Pixel(image.rect.x() + 5, image.rect.y() + 5);
    };
    drawer.Prepare(surface, "<ilst file=strip.bmp index=1 speed=100>");
    EXPECT_EQ(shown(), 0x00FF00u);
    EXPECT_FALSE(drawer.AdvanceAnimation(60));
    EXPECT_TRUE(drawer.AdvanceAnimation(60));
    EXPECT_EQ(shown(), 0x0000FFu);
    EXPECT_TRUE(drawer.AdvanceAnimation(100));
    EXPECT_EQ(shown(), 0xFF0000u);  // round again
    // Without a speed the frame stays; a new text starts over.
    drawer.Prepare(surface, "<ilst file=strip.bmp index=2>");
    EXPECT_FALSE(drawer.AdvanceAnimation(1000));
    EXPECT_EQ(shown(), 0x0000FFu);
    // The skin's strips run downwards.
    drawer.SetImageLoader([](const HtmlImageRequest&) {
        QImage strip(10, 30, QImage::Format_RGB32);
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 10; ++x) strip.setPixel(x, y, 0xFF0000u >> (8 * (y / 10)));
        return strip;
    });
    drawer.Prepare(surface, "<ilst file=down.bmp index=2>");
    EXPECT_EQ(shown(), 0x0000FFu);
}

TEST_F(HtmlDrawerTest, LongTextWrapsWithinTheWidthAndKeepsEveryWord) {
    // Long enough that measuring every prefix of every line would not finish.
    std::string text;
    std::string words;
    for (int n = 0; n < 20000; ++n) {
        const std::string word = n % 13 == 0 ? "가나다라마바사아자차카타파하" : "w" + std::to_string(n);
        text += word + (n % 5 == 0 ? "  " : " ");
        words += word;
    }
    drawer.SetMaxWidth(150);
    drawer.Prepare(surface, text);
    std::string shown;
    for (const HtmlItem& it : TextItems(drawer)) {
        EXPECT_LE(it.rect.right(), 150) << it.text;
        for (char c : it.text)
            if (c != ' ') shown += c;
    }
    EXPECT_EQ(shown, words);
}

// Words repeat in a long text and are measured once; a line must still be as wide as its
// text shaped whole, also in a face that kerns letters against the space ("To", "AV").
TEST_F(HtmlDrawerTest, WrappedLinesAreAsWideAsTheirTextShapedWhole) {
    std::string words;
    for (int n = 0; n < 300; ++n)
        words += n % 3 ? "AVATAR To Ty, Wa. Yes " : n % 10 ? "흑이 먼저 바둑의 " : "(AV) 7 ";
    drawer.SetMaxWidth(170);
    for (const char* face : {"Arial", "Verdana"}) {
        drawer.Prepare(surface, std::string("<font face=\"") + face + "\">" + words + "</font>");
        const auto items = TextItems(drawer);
        ASSERT_GT(items.size(), 100u);
        for (const HtmlItem& it : items) {
            HtmlTextState st;
            st.face = face;
            st.fontHeight = it.fontHeight;
            st.weight = it.weight;
            const int whole = QFontMetrics(HtmlFont(st)).horizontalAdvance(QString::fromStdString(it.text));
            ASSERT_EQ(it.rect.width(), whole) << face << ": " << it.text;
        }
    }
}

TEST_F(HtmlDrawerTest, LayoutIsKeptUntilTextWidthOrStyleChange) {
    int loads = 0;
    drawer.SetImageLoader([&](const HtmlImageRequest&) {
        ++loads;
        return QImage(4, 4, QImage::Format_RGB32);
    });
    drawer.SetMaxWidth(200);
    drawer.Prepare(surface, "a<bmp file=x.bmp>b");
    EXPECT_EQ(loads, 1);
    drawer.Draw(surface, QRect(0, 0, 200, 100));  // the prepared width: nothing to redo
    drawer.Draw(surface, QRect(5, 5, 200, 100));
    EXPECT_EQ(loads, 1);
    drawer.Draw(surface, QRect(0, 0, 300, 100));
    EXPECT_EQ(loads, 2);
    drawer.SetStyleSheet(std::string("b {color:red}"));
    drawer.Draw(surface, QRect(0, 0, 300, 100));
    EXPECT_EQ(loads, 3);
    drawer.Prepare(surface, "c<bmp file=x.bmp>");
    EXPECT_EQ(loads, 4);
}

}  // namespace
}  // namespace velmora

namespace velmora {
namespace {

TEST_F(HtmlDrawerTest, MarginAndPaddingSurroundARun) {
    drawer.Prepare(surface, "<font bkgnd=#ff0000>x</font>");
    const QRect plain = TextItems(drawer).at(0).rect;
    drawer.Prepare(surface, "a<font bkgnd=#ff0000 style=\"margin:2px; padding:3px\">x</font>b");
    const auto items = TextItems(drawer);
    ASSERT_EQ(items.size(), 3u);
    const QRect boxed = items[1].rect;
    EXPECT_EQ(boxed.size(), plain.size() + QSize(10, 10));
    EXPECT_EQ(items[2].rect.left(), boxed.right() + 1);  // the next run starts after the margin
    surface.Fill(0xFFFFFF);
    drawer.Draw(surface, surface.rect());
    const int y = boxed.center().y();
    EXPECT_EQ(surface.Pixel(boxed.left() + 1, y), 0xFFFFFFu);  // margin: clear
    EXPECT_EQ(surface.Pixel(boxed.left() + 3, y), 0xFF0000u);  // padding: the background
    EXPECT_EQ(surface.Pixel(boxed.right() - 3, boxed.top() + 3), 0xFF0000u);

    // A wrapped run keeps its box inside the width.
    drawer.SetMaxWidth(60);
    drawer.Prepare(surface, "<font style=\"padding:5px\">aaa bbb ccc ddd eee fff</font>");
    for (const HtmlItem& it : TextItems(drawer)) EXPECT_LE(it.rect.right(), 59) << it.text;
}

}  // namespace
}  // namespace velmora

namespace velmora {
namespace {

TEST_F(HtmlDrawerTest, HotstyleShowsUnderTheMouse) {
    drawer.SetImageLoader([](const HtmlImageRequest&) {
        QImage img(10, 10, QImage::Format_RGB32);
        img.fill(0xFF0000FFu);
        return img;
    });
    drawer.Prepare(surface, "<bmp file=x.bmp hotstyle=\"shadow\">");
    const HtmlItem image = drawer.Items().at(0);
    EXPECT_EQ(image.rect.size(), QSize(14, 14));  // room for the shadow from the start
    const QPoint inShadow = image.rect.topLeft() + QPoint(12, 12);
    surface.Fill(0xFFFFFF);
    drawer.Draw(surface, surface.rect());
    EXPECT_EQ(surface.Pixel(inShadow.x(), inShadow.y()), 0xFFFFFFu);
    EXPECT_TRUE(drawer.HoverAt(image.rect.topLeft() + QPoint(5, 5)));
    surface.Fill(0xFFFFFF);
    drawer.Draw(surface, surface.rect());
    EXPECT_LT(surface.Pixel(inShadow.x(), inShadow.y()) & 0xFF, 0xF0u);
    EXPECT_FALSE(drawer.HoverAt(image.rect.topLeft() + QPoint(5, 5)));
    EXPECT_TRUE(drawer.HoverAt(QPoint(300, 250)));
}

}  // namespace
}  // namespace velmora
