#include "richtext/HtmlDrawer.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>
#include <cmath>

#include "platform/Fonts.h"

namespace velmora {
namespace {

HtmlImageLoader& GlobalLoader() {
    static HtmlImageLoader loader;
    return loader;
}

HtmlStringLoader& GlobalStrings() {
    static HtmlStringLoader loader;
    return loader;
}

// Pixels per inch of a surface; an image that never had its resolution set is a screen
// buffer, which the program's sizes were made for at 96.
int SurfaceDpi(const Surface& surface) {
    if (surface.isNull()) return 96;
    const int dpi = static_cast<int>(std::lround(surface.image().dotsPerMeterY() * 0.0254));
    return dpi <= 0 || dpi == 72 ? 96 : dpi;
}

void FillEffect(QPainter& p, const QRect& r, const HtmlBoxStyle& s) {
    if (!s.background.isNull()) {
        p.drawImage(r, s.background);
        return;
    }
    if (s.bgEffect < 0 || r.isEmpty()) return;
    const QColor a = ToQColor(s.bgColor), mid = ToQColor(s.bgMidColor),
                 end = ToQColor(s.bgEndColor);
    const bool horizontal = s.bgEffect == 1 || s.bgEffect == 3 || s.bgEffect == 5;
    const QPointF from = r.topLeft();
    const QPointF to =
        horizontal ? QPointF(r.right() + 1, r.top()) : QPointF(r.left(), r.bottom() + 1);
    QLinearGradient g(from, to);
    switch (s.bgEffect) {
        case 0:
            p.fillRect(r, a);
            return;
        case 1:
        case 2:
            g.setColorAt(0, a);
            g.setColorAt(1, end);
            break;
        case 3:
        case 4:  // from the edges to the centre
            g.setColorAt(0, a);
            g.setColorAt(0.5, end);
            g.setColorAt(1, a);
            break;
        default:
            g.setColorAt(0, a);
            g.setColorAt(0.5, mid);
            g.setColorAt(1, end);
            break;
    }
    p.fillRect(r, g);
}

void DrawBorder(QPainter& p, const QRect& r, const HtmlBoxStyle& s, int width) {
    if (width <= 0 || s.borderStyle == 0 || r.isEmpty()) return;
    const bool dbl = s.borderStyle == 6;
    const QColor light = ToQColor(s.threeD ? s.borderLight : s.borderColor);
    const QColor dark = ToQColor(s.threeD ? s.borderDark : s.borderColor);
    auto frame = [&](QRect f) {
        for (int k = 0; k < width && f.width() > 0 && f.height() > 0; ++k) {
            if (s.borderStyle == 2 || s.borderStyle == 3) {
                QPen pen(light, 1, s.borderStyle == 2 ? Qt::DashLine : Qt::DotLine);
                p.setPen(pen);
                p.setBrush(Qt::NoBrush);
                p.drawRect(f.adjusted(0, 0, -1, -1));
            } else {
                p.fillRect(QRect(f.left(), f.top(), f.width(), 1), light);
                p.fillRect(QRect(f.left(), f.top(), 1, f.height()), light);
                p.fillRect(QRect(f.left(), f.bottom(), f.width(), 1), dark);
                p.fillRect(QRect(f.right(), f.top(), 1, f.height()), dark);
            }
            f.adjust(1, 1, -1, -1);
        }
    };
    frame(r);
    if (dbl) frame(r.adjusted(2 * width, 2 * width, -2 * width, -2 * width));
}

void DrawText(QPainter& p, const HtmlBox& b, const QRect& r) {
    const HtmlTextState& st = b.st;
    // The margin stays clear; background and border cover the padding around the text.
    const QRect box = r.adjusted(b.margin, b.margin, -b.margin, -b.margin);
    const QRect text = r.adjusted(b.inset, b.inset, -b.inset, -b.inset);
    if (st.opaque) p.fillRect(box, ToQColor(st.background));
    const QFont font = HtmlFont(st);
    p.setFont(font);
    p.setPen(ToQColor(st.color));
    p.drawText(QPoint(text.left(), r.top() + b.ascent), QString::fromStdString(b.text));
    const QFontMetrics fm(font);
    // Underline pen: two pixels for bold runs so it stays visible.
    const int pen = st.weight >= 700 ? 2 : 1;
    if (st.underline) {
        const int y = r.top() + b.ascent + std::max(1, fm.underlinePos());
        p.fillRect(QRect(text.left(), y, text.width(), pen), ToQColor(st.color));
    }
    if (st.overline) p.fillRect(QRect(text.left(), text.top(), text.width(), pen), ToQColor(st.color));
    if (st.borderStyle != 0 && st.borderWidth > 0) {
        HtmlBoxStyle s;
        s.borderStyle = st.borderStyle;
        s.borderColor = st.borderColor;
        DrawBorder(p, box, s, st.borderWidth);
    }
}

// The frame an image list shows after ms of animation.
int FrameAt(const HtmlBox& b, long long ms) {
    if (b.frames <= 1) return 0;
    return static_cast<int>((b.frame + (b.speed > 0 ? ms / b.speed : 0)) % b.frames);
}

// Whether any image list among boxes shows another frame at ms than at before.
bool FramesDiffer(const std::vector<HtmlBox>& boxes, long long before, long long ms) {
    for (const HtmlBox& b : boxes)
        if (FrameAt(b, before) != FrameAt(b, ms) || FramesDiffer(b.children, before, ms))
            return true;
    return false;
}

void DrawImage(QPainter& p, const HtmlBox& b, const QRect& r, const HtmlLayoutContext& ctx,
               bool hot, long long animationMs) {
    QRect img = r;
    if (b.shadow || b.hotShadow) img.adjust(0, 0, -ctx.shadowOffsetX, -ctx.shadowOffsetY);
    if (hot ? b.hotShadow : b.shadow) {
        // Darkening 50 %: a mid grey, fading out over its edge.
        const int grey = 255 * (100 - 50) / 100;
        const QRect sh = img.translated(ctx.shadowOffsetX, ctx.shadowOffsetY);
        for (int k = 0; k < 3; ++k)
            p.fillRect(sh.adjusted(k, k, -k, -k), QColor(grey, grey, grey, 90 + 55 * k));
    }
    if (b.frames > 1) {
        const int side = std::min(b.image.width(), b.image.height());
        const int at = FrameAt(b, animationMs) * side;
        const bool down = b.image.height() > b.image.width();
        p.drawImage(img, b.image, QRect(down ? 0 : at, down ? at : 0, side, side));
        return;
    }
    p.drawImage(img, b.image);
}

void Flatten(const std::vector<HtmlBox>& boxes, QPoint at, std::vector<HtmlItem>& out) {
    for (const HtmlBox& b : boxes) {
        HtmlItem it;
        it.kind = b.kind;
        it.rect = b.rect.translated(at);
        it.text = b.text;
        it.weight = b.st.weight;
        it.fontHeight = b.st.fontHeight;
        it.italic = b.st.italic;
        it.underline = b.st.underline;
        it.color = b.st.color;
        it.linkId = b.st.linkId;
        const QPoint corner = it.rect.topLeft();
        out.push_back(std::move(it));
        Flatten(b.children, corner, out);
    }
}

}  // namespace

void SetDefaultHtmlImageLoader(HtmlImageLoader loader) {
    GlobalLoader() = std::move(loader);
}

const HtmlImageLoader& DefaultHtmlImageLoader() {
    return GlobalLoader();
}

void SetHtmlStringLoader(HtmlStringLoader loader) {
    GlobalStrings() = std::move(loader);
}

const HtmlStringLoader& InstalledHtmlStringLoader() {
    return GlobalStrings();
}

HtmlDrawer::HtmlDrawer() {
    Create();
}

void HtmlDrawer::Create() {
    RegisterFontSubstitutions();
    sheet_ = ParseHtmlStyleSheet(DefaultHtmlStyleSheetText());
    base_ = HtmlTextState{};
    if (QGuiApplication::instance()) {
        const QFont f = QApplication::font();
        base_.face = f.family().toStdString();
        base_.fontHeight = f.pixelSize() > 0
                               ? f.pixelSize()
                               : static_cast<int>(std::lround(f.pointSizeF() * 96 / 72));
        if (base_.face == "Segoe UI") ++base_.fontHeight;
        base_.weight = f.weight();
        base_.italic = f.italic();
        base_.underline = f.underline();
        base_.strikeOut = f.strikeOut();
    }
    text_.clear();
    tokens_.clear();
    layout_ = HtmlLayoutResult{};
    layoutKey_ = {};
    links_.clear();
    hotImages_.clear();
    hover_ = -1;
    hoverImage_ = -1;
}

void HtmlDrawer::SetMaxWidth(int pixels) {
    maxWidth_ = std::max(0, pixels);
}

void HtmlDrawer::SetStyleSheet(const std::optional<std::string>& text) {
    sheet_ = ParseHtmlStyleSheet(text ? *text : std::string(DefaultHtmlStyleSheetText()));
    layoutKey_ = {};
}

HtmlLayoutContext HtmlDrawer::Context(const Surface& surface) const {
    HtmlLayoutContext ctx;
    ctx.sheet = &sheet_;
    ctx.metrics.dpi = SurfaceDpi(surface);
    ctx.hoverLink = hover_;
    ctx.loader = loader_ ? &loader_ : &GlobalLoader();
    ctx.strings = &GlobalStrings();
    return ctx;
}

void HtmlDrawer::Layout(const Surface& surface, int areaWidth) {
    const LayoutKey key{true, areaWidth, maxWidth_, SurfaceDpi(surface), hover_};
    if (key == layoutKey_) return;
    layout_ = LayoutHtml(tokens_, 0, tokens_.size(), base_, Context(surface), maxWidth_, areaWidth);
    layoutKey_ = key;
}

bool HtmlDrawer::AdvanceAnimation(int ms) {
    if (!layout_.animated || ms <= 0) return false;
    const long long before = animationMs_;
    animationMs_ += ms;
    return FramesDiffer(layout_.boxes, before, animationMs_);
}

QSize HtmlDrawer::Prepare(const Surface& surface, const std::string& text) {
    animationMs_ = 0;
    text_.clear();
    tokens_.clear();
    layout_ = HtmlLayoutResult{};
    layoutKey_ = {};
    origin_ = QPoint();
    if (text.empty()) return QSize(0, 0);
    text_ = PreprocessHtml(text, keepLineBreaks_);
    // The body rule applies first.
    tokens_ = TokenizeHtml("<body>" + text_ + "</body>");
    Layout(surface, maxWidth_);
    if (layout_.boxes.empty() && layout_.height == 0) return QSize(0, 0);
    int w = layout_.width + 1;
    if (maxWidth_ > 0 && w > maxWidth_) w = maxWidth_;
    return QSize(w, layout_.height + 1);
}

void HtmlDrawer::Draw(Surface& surface, const QRect& rect) {
    links_.clear();
    hotImages_.clear();
    if (text_.empty() || surface.isNull() || rect.isEmpty()) return;
    Layout(surface, rect.width());
    origin_ = rect.topLeft();
    const HtmlLayoutContext ctx = Context(surface);
    QPainter p(&surface.image());
    p.setClipRect(rect);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    // Children are placed relative to their parent box.
    auto draw = [&](auto&& self, const std::vector<HtmlBox>& boxes, QPoint at) -> void {
        for (const HtmlBox& b : boxes) {
            const QRect r = b.rect.translated(at);
            if (!r.intersects(rect)) continue;  // clipped away: a long text draws what shows
            switch (b.kind) {
                case HtmlItemKind::Text:
                    DrawText(p, b, r);
                    if (b.st.linkKind != 0)
                        links_.push_back({r, b.st.linkKind, b.st.linkTarget, b.st.linkId});
                    break;
                case HtmlItemKind::Rule: {
                    // A groove: the rule's colour and a white line below it.
                    const int t = b.ruleThickness;
                    const int y = r.top() + (r.height() - 2 * t) / 2;
                    p.fillRect(QRect(r.left(), y, r.width(), t), ToQColor(b.ruleColor));
                    p.fillRect(QRect(r.left(), y + t, r.width(), t), Qt::white);
                    break;
                }
                case HtmlItemKind::Image:
                    DrawImage(p, b, r, ctx, b.imageId >= 0 && b.imageId == hoverImage_,
                              animationMs_);
                    if (b.hotShadow != b.shadow) hotImages_.push_back({r, b.imageId});
                    if (b.st.linkKind != 0)
                        links_.push_back({r, b.st.linkKind, b.st.linkTarget, b.st.linkId});
                    break;
                case HtmlItemKind::Table:
                case HtmlItemKind::Cell:
                    FillEffect(p, r, b.deco);
                    DrawBorder(p, r, b.deco, b.deco.borderWidth);
                    self(self, b.children, r.topLeft());
                    break;
            }
        }
    };
    draw(draw, layout_.boxes, origin_);
}

int HtmlDrawer::LinkAt(QPoint p) const {
    for (size_t i = 0; i < links_.size(); ++i)
        if (links_[i].rect.contains(p)) return static_cast<int>(i);
    return -1;
}

bool HtmlDrawer::SetHoverLink(int id) {
    if (id == hover_) return false;
    hover_ = id;
    return true;
}

bool HtmlDrawer::HoverAt(QPoint p) {
    const int index = LinkAt(p);
    int image = -1;
    for (const auto& [rect, id] : hotImages_)
        if (rect.contains(p)) image = id;
    const bool imageChanged = image != hoverImage_;
    hoverImage_ = image;
    return SetHoverLink(index < 0 ? -1 : links_[index].id) || imageChanged;
}

std::vector<HtmlItem> HtmlDrawer::Items() const {
    std::vector<HtmlItem> out;
    Flatten(layout_.boxes, origin_, out);
    return out;
}

}  // namespace velmora
