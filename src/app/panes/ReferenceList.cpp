#include "app/panes/ReferenceList.h"

#include <QPlainTextEdit>
#include <algorithm>

#include "skin/PaneStack.h"

namespace velmora {
namespace {

constexpr int kEmptyNotice = 100;
constexpr int kContentText = 1110;

int LineCount(const std::string& text) {
    return static_cast<int>(std::count(text.begin(), text.end(), '\n')) + 1;
}

}  // namespace

ReferenceList::ReferenceList(QWidget* parent) : SkinWindow(parent), stack_(new PaneStack(this)) {
    SetSkinFile("Skin\\Dialog\\ReferenceCtrl.xml");
    scroll_.Attach(this);
}

bool ReferenceList::Create() {
    const bool built = CreateFromSkin();
    // A window's numbered texts come from code, not from its skin file.
    SetShapeText(kEmptyNotice, "이 수의 참고도가 없습니다.");
    strip_.Load("image\\Reference\\기보편집기데이타_참고도확장버튼.bmp");
    stack_->setGeometry(0, 0, width(), 0);
    stack_->raise();
    UpdateContent();
    return built;
}

void ReferenceList::Clear() {
    stack_->Clear();
    UpdateContent();
}

int ReferenceList::Add(const std::string& caption, const std::string& text, bool keepOpen) {
    const int index = Append(caption, text, keepOpen);
    UpdateContent();
    return index;
}

void ReferenceList::AddAll(const std::vector<std::pair<std::string, std::string>>& panes) {
    for (const auto& [caption, text] : panes) Append(caption, text, false);
    UpdateContent();
}

int ReferenceList::Append(const std::string& caption, const std::string& text, bool keepOpen) {
    const int id = stack_->PaneCount() + 1;
    // Windows per pane are heavy: a header is built once it comes into view, a text window
    // only for the panes a user opens.
    auto makeHeader = [this, id, caption] { return new PaneHeader(id, caption, strip_); };
    auto makeContent = [text] {
        auto* content = new SkinWindow();
        content->SetSkinFile("Skin\\Dialog\\StackWnd.xml");
        content->CreateFromSkin();
        content->SetControlText(kContentText, text);
        if (auto* e = content->FindControlAs<QPlainTextEdit>(kContentText)) e->setReadOnly(true);
        return static_cast<QWidget*>(content);
    };
    return stack_->AddPane(id, std::move(makeHeader), std::move(makeContent), LineCount(text) + 1,
                           keepOpen);
}

void ReferenceList::UpdateContent() {
    // Room for the vertical bar only while the panes do not fit.
    const bool fits = stack_->StackHeight() <= height();
    const int stackWidth = width() - (fits ? 0 : ScrollArea::kBarThickness);
    // The stack places what it adds and opens itself; only a new width moves every header.
    const bool newWidth = stack_->width() != stackWidth;
    stack_->resize(stackWidth, stack_->StackHeight());
    if (newWidth) stack_->Layout();
    SetShapeVisible(kEmptyNotice, stack_->PaneCount() == 0);
    scroll_.SetContentSize(stack_->width(), stack_->StackHeight());
}

bool ReferenceList::onMessage(int message, std::intptr_t wParam, std::intptr_t) {
    if (message != PaneStack::kPaneOpened) return false;
    UpdateContent();
    // Showing a diagram refreshes the panes, which may rebuild this list: not under the click.
    const int index = static_cast<int>(wParam);
    QMetaObject::invokeMethod(
        this,
        [this, index] {
            if (opened_) opened_(index);
        },
        Qt::QueuedConnection);
    return true;
}

void ReferenceList::resizeEvent(QResizeEvent* e) {
    SkinWindow::resizeEvent(e);
    UpdateContent();
}

}  // namespace velmora
