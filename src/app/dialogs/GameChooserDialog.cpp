#include "app/dialogs/GameChooserDialog.h"

#include <QTreeWidget>
#include <algorithm>

#include "skin/SkinResources.h"

namespace velmora {
namespace {

constexpr int kTitleShape = 400;
constexpr int kListBox = 300;

// A colour of the skin's colour set (0x00BBGGRR) as Qt takes it; fallback when it is unknown.
QColor SkinColor(const char* name, QColor fallback) {
    const ColorRef* c = SkinResources::Instance().FindColor(name);
    if (!c) return fallback;
    return QColor(static_cast<int>(*c & 0xFF), static_cast<int>((*c >> 8) & 0xFF),
                  static_cast<int>((*c >> 16) & 0xFF));
}

}  // namespace

void StyleSkinList(QWidget& list) {
    if (const QFont* font = SkinResources::Instance().FindFont("굴림12")) list.setFont(*font);
    QPalette palette = list.palette();
    palette.setColor(QPalette::Base, SkinColor("입력바탕", Qt::white));
    palette.setColor(QPalette::Text, SkinColor("본문글자", Qt::black));
    palette.setColor(QPalette::Highlight, SkinColor("선택바탕", QColor(214, 200, 170)));
    palette.setColor(QPalette::HighlightedText, SkinColor("본문글자", Qt::black));
    list.setPalette(palette);
}

GameChooserDialog::GameChooserDialog(QWidget* parent, std::string caption,
                                     std::vector<std::string> columns,
                                     std::vector<std::vector<std::string>> rows)
    : SkinDialog(parent, "Skin\\Dialog\\기보선택.xml"),
      caption_(std::move(caption)),
      columns_(std::move(columns)),
      rows_(std::move(rows)) {
    setWindowTitle(caption_.empty() ? QStringLiteral("기보 고르기") : QString::fromStdString(caption_));
}

void GameChooserDialog::OnSkinBuilt() {
    if (!caption_.empty()) SetShapeText(kTitleShape, caption_);
    // The skin's dialogs know no list control: the list lies in the box the skin draws for it.
    const SkinShape* box = FindShape(kListBox);
    list_ = new QTreeWidget(this);
    list_->setGeometry(box ? box->rect.adjusted(1, 1, -1, -1) : QRect(16, 64, 528, 210));
    list_->setRootIsDecorated(false);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setFrameShape(QFrame::NoFrame);
    StyleSkinList(*list_);
    QStringList headers;
    for (const std::string& c : columns_) headers << QString::fromStdString(c);
    list_->setColumnCount(static_cast<int>(columns_.size()));
    list_->setHeaderLabels(headers);
    for (const std::vector<std::string>& row : rows_) {
        QStringList texts;
        for (const std::string& t : row) texts << QString::fromStdString(t);
        list_->addTopLevelItem(new QTreeWidgetItem(texts));
    }
    // The last three columns (date, result, moves) are short; the players share the rest.
    const int count = static_cast<int>(columns_.size());
    const int shortWidths[] = {96, 72, 48};
    const int wide = std::max(0, count - 3);
    int rest = list_->width() - 20;  // room for the scroll bar
    for (int c = wide; c < count; ++c) rest -= shortWidths[c - wide];
    for (int c = 0; c < count; ++c)
        list_->setColumnWidth(c, c < wide ? std::max(80, rest / wide) : shortWidths[c - wide]);
    connect(list_, &QTreeWidget::itemDoubleClicked, this, [this] { done(kResultOk); });
    ChooseRow(0);
    list_->show();
    list_->setFocus();
}

int GameChooserDialog::ChosenRow() const {
    if (!list_ || !list_->currentItem()) return -1;
    return list_->indexOfTopLevelItem(list_->currentItem());
}

void GameChooserDialog::ChooseRow(int row) {
    if (QTreeWidgetItem* item = list_ ? list_->topLevelItem(row) : nullptr)
        list_->setCurrentItem(item);
}

int RunGameChooser(const std::string& caption, const std::vector<std::string>& columns,
                   const std::vector<std::vector<std::string>>& rows, QWidget* owner) {
    if (rows.empty()) return -1;
    GameChooserDialog dialog(owner, caption, columns, rows);
    if (dialog.ExecCentredOver(owner) != SkinDialog::kResultOk) return -1;
    return dialog.ChosenRow();
}

}  // namespace velmora
