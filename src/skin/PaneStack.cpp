#include "skin/PaneStack.h"

#include <QMouseEvent>
#include <QPainter>

#include "platform/Messages.h"
#include "skin/SkinResources.h"

namespace velmora {
namespace {

QFont SkinFont(const std::string& name) {
    const QFont* f = SkinResources::Instance().FindFont(name);
    return f ? *f : QFont();
}

}  // namespace

// ---- PaneHeader

PaneHeader::PaneHeader(int id, const std::string& caption, const SkinBitmap& strip, QWidget* parent)
    : QWidget(parent), id_(id), caption_(caption), strip_(strip) {
    setMouseTracking(true);
}

void PaneHeader::AddTextItem(const TextItem& item) {
    items_.push_back(item);
    update();
}

void PaneHeader::SetPressed(bool pressed) {
    if (pressed_ == pressed) return;
    pressed_ = pressed;
    update();
}

int PaneHeader::StateRow() const {
    if (pressed_) return 2;  // an open pane looks pressed even when disabled
    if (!isEnabled()) return 3;
    return hover_ ? 1 : 0;
}

void PaneHeader::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (!strip_.IsEmpty()) {
        const int rowHeight = strip_.Height() / 4;
        const QRect source(0, StateRow() * rowHeight, strip_.Width(), rowHeight);
        p.drawImage(rect(), strip_.Bitmap().image(), source);
    }
    if (!caption_.empty()) {
        p.setFont(SkinFont("탭버튼"));
        p.setPen(hover_ ? QColor(0x80, 0x80, 0x80) : QColor(Qt::black));
        p.drawText(rect().adjusted(0, 3, 0, 0),
                   Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                   QString::fromStdString("    " + caption_));
    }
    const bool hoverLook = hover_ && isEnabled() && !pressed_;
    for (const TextItem& item : items_) {
        const bool useHover = hoverLook && item.hoverColour.has_value();
        p.setFont(SkinFont(item.font));
        p.setPen(ToQColor(useHover ? *item.hoverColour : item.colour));
        p.drawText(item.rect.translated(useHover ? item.hoverOffset : QPoint()),
                   Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                   QString::fromStdString(item.text));
    }
}

void PaneHeader::enterEvent(QEnterEvent*) {
    hover_ = true;
    update();
}

void PaneHeader::leaveEvent(QEvent*) {
    hover_ = false;
    update();
}

void PaneHeader::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()) && isEnabled())
        emit Clicked(id_);
}

// ---- PaneStack

PaneStack::PaneStack(QWidget* parent) : QWidget(parent) {}

PaneStack::~PaneStack() = default;

int PaneStack::AddPane(PaneHeader* header, QWidget* content, int lineCount) {
    if (!header || !content) return -1;
    for (Pane& pane : panes_) {
        pane.open = false;
        pane.header->SetPressed(false);
    }
    header->setParent(this);
    content->setParent(this);
    content->hide();
    connect(header, &PaneHeader::Clicked, this, &PaneStack::ClickHeader);
    panes_.push_back(Pane{header, content, std::max(0, lineCount), false});
    ResizeToPanes();
    Layout();
    return PaneCount() - 1;
}

void PaneStack::Clear() {
    // Later, not now: the click of a header may be what led here.
    for (Pane& pane : panes_) {
        for (QWidget* w : {static_cast<QWidget*>(pane.header), pane.content}) {
            w->hide();
            w->deleteLater();
        }
    }
    panes_.clear();
    ResizeToPanes();
}

void PaneStack::ClickHeader(int headerId) {
    for (Pane& pane : panes_) {
        pane.open = pane.header->Id() == headerId && !pane.open;
        pane.header->SetPressed(pane.open);
    }
    ResizeToPanes();
    Layout();
    if (parentWidget()) SendMessage(parentWidget(), kPaneOpened, OpenIndex());
}

void PaneStack::Layout() {
    int y = 0;
    for (Pane& pane : panes_) {
        pane.header->setGeometry(0, y, width(), kHeaderHeight);
        pane.header->show();
        y += kHeaderHeight;
        if (pane.open) {
            const int h = pane.lineCount * kLineHeight + kContentMargin;
            pane.content->setGeometry(0, y, width(), h);
            pane.content->show();
            y += h;
        } else {
            pane.content->hide();
        }
    }
}

int PaneStack::OpenIndex() const {
    for (std::size_t i = 0; i < panes_.size(); ++i)
        if (panes_[i].open) return static_cast<int>(i);
    return -1;
}

PaneHeader* PaneStack::Header(int index) const {
    return index >= 0 && index < PaneCount() ? panes_[index].header : nullptr;
}

QWidget* PaneStack::Content(int index) const {
    return index >= 0 && index < PaneCount() ? panes_[index].content : nullptr;
}

int PaneStack::ContentHeight(int index) const {
    return index >= 0 && index < PaneCount()
               ? panes_[index].lineCount * kLineHeight + kContentMargin
               : 0;
}

int PaneStack::StackHeight() const {
    return kHeaderHeight * PaneCount() + ContentHeight(OpenIndex());
}

void PaneStack::ResizeToPanes() {
    setGeometry(x(), y(), width(), StackHeight());
}

}  // namespace velmora
