#include "skin/PaneStack.h"

#include <QEvent>
#include <QMouseEvent>
#include <algorithm>
#include <utility>
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

PaneStack::PaneStack(QWidget* parent) : QWidget(parent) {
    if (parent) parent->installEventFilter(this);
}

PaneStack::~PaneStack() = default;

int PaneStack::AddPane(PaneHeader* header, QWidget* content, int lineCount) {
    if (!header || !content) return -1;
    return Append(Pane{header->Id(), header, nullptr, content, nullptr, std::max(0, lineCount)},
                  false);
}

int PaneStack::AddPane(PaneHeader* header, std::function<QWidget*()> makeContent, int lineCount,
                       bool keepOpen) {
    if (!header || !makeContent) return -1;
    return Append(
        Pane{header->Id(), header, nullptr, nullptr, std::move(makeContent), std::max(0, lineCount)},
        keepOpen);
}

int PaneStack::AddPane(int headerId, std::function<PaneHeader*()> makeHeader,
                       std::function<QWidget*()> makeContent, int lineCount, bool keepOpen) {
    if (!makeHeader || !makeContent) return -1;
    return Append(Pane{headerId, nullptr, std::move(makeHeader), nullptr, std::move(makeContent),
                       std::max(0, lineCount)},
                  keepOpen);
}

int PaneStack::Append(Pane pane, bool keepOpen) {
    // Adding closes every pane; with none open, only the new header needs placing, so filling a
    // list stays linear in its length.
    if (open_ >= 0 && !keepOpen) {
        if (panes_[open_].header) panes_[open_].header->SetPressed(false);
        open_ = -1;
        laidOutWidth_ = -1;
    }
    if (pane.header) {
        pane.header->setParent(this);
        connect(pane.header, &PaneHeader::Clicked, this, &PaneStack::ClickHeader);
        pane.header->hide();
    }
    if (pane.content) {
        pane.content->setParent(this);
        pane.content->hide();
    }
    panes_.push_back(std::move(pane));
    ResizeToPanes();
    if (laidOutWidth_ != width()) {
        Layout();
    } else {
        if (panes_.back().header)
            panes_.back().header->setGeometry(0, HeaderTop(PaneCount() - 1), width(), kHeaderHeight);
        ShowHeadersInView();
    }
    return PaneCount() - 1;
}

PaneHeader* PaneStack::BuiltHeader(const Pane& pane) const {
    if (pane.header) return pane.header;
    PaneHeader* header = pane.makeHeader();
    pane.makeHeader = nullptr;
    auto* self = const_cast<PaneStack*>(this);
    header->setParent(self);
    connect(header, &PaneHeader::Clicked, self, &PaneStack::ClickHeader);
    const int index = static_cast<int>(&pane - panes_.data());
    header->setGeometry(0, HeaderTop(index), width(), kHeaderHeight);
    header->SetPressed(index == open_);
    header->hide();
    pane.header = header;
    return header;
}

void PaneStack::Clear() {
    // Headers go now, first first (each then leaves the front of the children's list, and no
    // event is posted per pane), so clearing thousands takes linear time. The header whose
    // click led here, and the contents a user may be in, go later.
    std::vector<Pane> panes;
    panes.swap(panes_);
    shownBegin_ = shownEnd_ = 0;
    for (Pane& pane : panes) {
        if (pane.header && pane.header == clicked_) {
            pane.header->hide();
            pane.header->deleteLater();
        } else {
            delete pane.header;
        }
        if (pane.content) {
            pane.content->hide();
            pane.content->deleteLater();
        }
    }
    open_ = -1;
    laidOutWidth_ = -1;
    ResizeToPanes();
}

void PaneStack::ClickHeader(int headerId) {
    PaneHeader* clicked = nullptr;
    int opened = -1;
    for (int i = 0; i < PaneCount(); ++i)
        if (panes_[i].headerId == headerId) {
            clicked = panes_[i].header;
            opened = i == open_ ? -1 : i;
            break;
        }
    if (open_ >= 0 && panes_[open_].header) panes_[open_].header->SetPressed(false);
    open_ = opened;
    if (open_ >= 0 && panes_[open_].header) panes_[open_].header->SetPressed(true);
    ResizeToPanes();
    Layout();
    // The parent may clear the stack in answer: the clicked header must outlive its click.
    PaneHeader* const outer = std::exchange(clicked_, clicked);
    if (parentWidget()) SendMessage(parentWidget(), kPaneOpened, OpenIndex());
    clicked_ = outer;
}

void PaneStack::Layout() {
    int y = 0;
    for (int i = 0; i < PaneCount(); ++i) {
        Pane& pane = panes_[i];
        if (pane.header) pane.header->setGeometry(0, y, width(), kHeaderHeight);
        y += kHeaderHeight;
        if (i == open_) {
            const int h = pane.lineCount * kLineHeight + kContentMargin;
            QWidget* content = BuiltContent(pane);
            content->setGeometry(0, y, width(), h);
            content->show();
            y += h;
        } else if (pane.content) {
            pane.content->hide();
        }
    }
    laidOutWidth_ = width();
    ShowHeadersInView();
}

int PaneStack::HeaderTop(int index) const {
    return index * kHeaderHeight + (open_ >= 0 && index > open_ ? ContentHeight(open_) : 0);
}

int PaneStack::HeaderAt(int y) const {
    if (y <= 0) return 0;
    int index = (y + kHeaderHeight - 1) / kHeaderHeight;
    // Below the open content every header sits lower by the content's height.
    if (open_ >= 0 && index > open_)
        index = std::max(open_ + 1, (y - ContentHeight(open_) + kHeaderHeight - 1) / kHeaderHeight);
    return std::min(index, PaneCount());
}

void PaneStack::ShowHeadersInView() {
    // The part of the stack its parent shows; without a parent, the whole stack.
    int top = 0;
    int bottom = height();
    if (const QWidget* p = parentWidget()) {
        top = std::max(0, -y());
        bottom = std::min(height(), p->height() - y());
    }
    const int begin = bottom > top ? HeaderAt(top - kHeaderHeight + 1) : 0;
    const int end = bottom > top ? HeaderAt(bottom) : 0;
    for (int i = shownBegin_; i < shownEnd_ && i < PaneCount(); ++i)
        if ((i < begin || i >= end) && panes_[i].header) panes_[i].header->hide();
    for (int i = begin; i < end; ++i)
        if (PaneHeader* header = BuiltHeader(panes_[i]); header->isHidden()) header->show();
    shownBegin_ = begin;
    shownEnd_ = end;
}

bool PaneStack::event(QEvent* e) {
    if (e->type() == QEvent::ParentAboutToChange && parentWidget())
        parentWidget()->removeEventFilter(this);
    if (e->type() == QEvent::ParentChange && parentWidget()) {
        parentWidget()->installEventFilter(this);
        ShowHeadersInView();
    }
    return QWidget::event(e);
}

bool PaneStack::eventFilter(QObject* watched, QEvent* e) {
    if (watched == parentWidget() && e->type() == QEvent::Resize) ShowHeadersInView();
    return QWidget::eventFilter(watched, e);
}

void PaneStack::moveEvent(QMoveEvent* e) {
    QWidget::moveEvent(e);
    ShowHeadersInView();
}

void PaneStack::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    ShowHeadersInView();
}

int PaneStack::OpenIndex() const {
    return open_;
}

PaneHeader* PaneStack::Header(int index) const {
    return index >= 0 && index < PaneCount() ? BuiltHeader(panes_[index]) : nullptr;
}

QWidget* PaneStack::Content(int index) {
    if (index < 0 || index >= PaneCount()) return nullptr;
    return BuiltContent(panes_[index]);
}

QWidget* PaneStack::BuiltContent(Pane& pane) {
    if (pane.content) return pane.content;
    pane.content = pane.makeContent ? pane.makeContent() : nullptr;
    if (!pane.content) pane.content = new QWidget;  // a pane always has a content window
    pane.makeContent = nullptr;
    pane.content->setParent(this);
    pane.content->hide();
    return pane.content;
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
