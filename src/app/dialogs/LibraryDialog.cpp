#include "app/dialogs/LibraryDialog.h"

#include <QComboBox>
#include <QDir>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QTreeWidget>
#include <algorithm>

#include "app/dialogs/GameChooserDialog.h"
#include "game/TreeCursor.h"
#include "platform/Prompter.h"
#include "record/SgfReader.h"
#include "record/SgfTree.h"

namespace velmora {
namespace {

enum : int {
    kAddFolder = 102,
    kRescan = 103,
    kStopScan = 104,
    kFind = 105,
    kClearFilters = 106,
    kGamesBox = 300,
    kFoldersBox = 301,
    kBoardBox = 302,
    kPlayerEdit = 310,
    kEventEdit = 311,
    kFromEdit = 312,
    kToEdit = 313,
    kResultCombo = 314,
    kTextEdit = 315,
    kProgressShape = 403,
    kPlayersShape = 404,
    kEventShape = 406,
    kGameShape = 407,
    kFileShape = 408,
    kDuplicateShape = 409,
    kCountShape = 405,
};
constexpr int kTitleShape = 400;
constexpr std::size_t kMostListed = 20000;  // a longer list costs more than it shows

// A row of the game list: the date column sorts by its normalised key and the moves by
// number; the rest as text.
class GameItem : public QTreeWidgetItem {
  public:
    using QTreeWidgetItem::QTreeWidgetItem;
    bool operator<(const QTreeWidgetItem& other) const override {
        const int column = treeWidget() ? treeWidget()->sortColumn() : 0;
        const QVariant mine = data(column, Qt::UserRole), theirs = other.data(column, Qt::UserRole);
        if (mine.isValid() && theirs.isValid()) {
            if (mine.typeId() == QMetaType::Int) return mine.toInt() < theirs.toInt();
            return mine.toString() < theirs.toString();
        }
        return QTreeWidgetItem::operator<(other);
    }
};

std::string Player(const std::string& name, const std::string& rank) {
    return rank.empty() ? name : name.empty() ? rank : name + " " + rank;
}

std::string FileNameOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The stones at the end of the main line of game number game of the file at path, row by row
// → empty when it cannot be read.
std::vector<int> FinalStones(const std::string& path, int game, int size) {
    const std::optional<std::string> text = ReadRecordFile(path);
    if (!text) return {};
    const SgfTreeRead read = ReadSgfTree(*text, game);
    if (read.games < game) return {};
    TreeCursor cursor(read.tree, size);
    while (cursor.Forward()) {
    }
    std::vector<int> stones(static_cast<std::size_t>(size * size));
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            stones[static_cast<std::size_t>(y * size + x)] = cursor.Board().Colour(Position::PointAt(x + 1, y + 1));
    return stones;
}

}  // namespace

void BoardThumbnail::SetPosition(int size, std::vector<int> stones) {
    size_ = std::clamp(size, 2, 25);
    stones_ = std::move(stones);
    update();
}

void BoardThumbnail::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), QColor(222, 184, 120));
    const double cell = std::min(width(), height()) / static_cast<double>(size_ + 1);
    const auto at = [cell](int i) { return cell * (i + 1); };
    p.setPen(QPen(QColor(60, 40, 20), 1));
    for (int i = 0; i < size_; ++i) {
        p.drawLine(QPointF(at(0), at(i)), QPointF(at(size_ - 1), at(i)));
        p.drawLine(QPointF(at(i), at(0)), QPointF(at(i), at(size_ - 1)));
    }
    if (stones_.size() != static_cast<std::size_t>(size_ * size_)) return;
    const double r = cell * 0.47;
    for (int y = 0; y < size_; ++y)
        for (int x = 0; x < size_; ++x) {
            const int c = stones_[static_cast<std::size_t>(y * size_ + x)];
            if (c == 0) continue;
            p.setPen(QPen(QColor(30, 30, 30), 0.8));
            p.setBrush(c == 2 ? QColor(20, 20, 20) : QColor(245, 245, 240));
            p.drawEllipse(QPointF(at(x), at(y)), r, r);
        }
}

LibraryDialog::LibraryDialog(QWidget* mainWindow, std::string indexPath, GameOpener open)
    : SkinDialog(nullptr, "Skin\\Dialog\\기보라이브러리.xml"),
      mainWindow_(mainWindow),
      indexPath_(std::move(indexPath)),
      open_(std::move(open)) {
    setWindowTitle(QStringLiteral("기보 라이브러리"));
    setModal(false);
}

LibraryDialog::~LibraryDialog() {
    cancel_ = true;
    if (scan_.joinable()) scan_.join();
}

void LibraryDialog::OnSkinBuilt() {
    SetShapeText(kTitleShape, "| 기보 라이브러리");
    const auto inside = [this](int box, QRect fallback) {
        const SkinShape* shape = FindShape(box);
        return shape ? shape->rect.adjusted(1, 1, -1, -1) : fallback;
    };
    folders_ = new QListWidget(this);
    folders_->setGeometry(inside(kFoldersBox, QRect(20, 64, 236, 120)));
    folders_->setFrameShape(QFrame::NoFrame);
    StyleSkinList(*folders_);
    folders_->show();

    games_ = new QTreeWidget(this);
    games_->setGeometry(inside(kGamesBox, QRect(276, 36, 672, 364)));
    games_->setRootIsDecorated(false);
    games_->setUniformRowHeights(true);
    games_->setSelectionMode(QAbstractItemView::SingleSelection);
    games_->setFrameShape(QFrame::NoFrame);
    StyleSkinList(*games_);
    games_->setHeaderLabels({"흑", "백", "날짜", "대회", "결과", "수"});
    const int widths[] = {130, 130, 90, 160, 70, 44};
    for (int c = 0; c < 6; ++c) games_->setColumnWidth(c, widths[c]);
    games_->setSortingEnabled(true);
    games_->sortByColumn(2, Qt::DescendingOrder);
    connect(games_, &QTreeWidget::currentItemChanged, this, [this] { ShowSelected(); });
    connect(games_, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item) { OpenRow(games_->indexOfTopLevelItem(item)); });
    games_->show();

    thumbnail_ = new BoardThumbnail(this);
    thumbnail_->setGeometry(inside(kBoardBox, QRect(276, 426, 202, 202)));
    thumbnail_->show();

    if (auto* result = FindControlAs<QComboBox>(kResultCombo)) result->setCurrentIndex(0);
    for (int id : {kPlayerEdit, kEventEdit, kFromEdit, kToEdit, kTextEdit})
        if (auto* edit = FindControlAs<QLineEdit>(id))
            connect(edit, &QLineEdit::returnPressed, this, [this] { ApplyFilter(); });
    SetScanning(false);
}

bool LibraryDialog::OpenIndex() {
    if (indexOpen_) return true;
    std::string why;
    if (!index_.Open(indexPath_, why)) {
        Prompter::Current().MessageBox("기보 라이브러리를 열지 못했습니다: " + why, "기보 라이브러리", kButtonsOk);
        return false;
    }
    indexOpen_ = true;
    return true;
}

void LibraryDialog::Present() {
    EnsureBuilt();
    if (!isVisible()) {
        if (mainWindow_) move(mainWindow_->geometry().center() - rect().center());
        show();
        if (OpenIndex()) {
            RefreshFolders();
            ApplyFilter();
        }
    }
    raise();
    activateWindow();
}

bool LibraryDialog::AddFolder(const std::string& folder) {
    if (scanning_ || !OpenIndex()) return false;
    std::string why;
    if (!index_.AddFolder(folder, why)) {
        Prompter::Current().MessageBox("폴더를 더하지 못했습니다: " + why, "기보 라이브러리", kButtonsOk);
        return false;
    }
    RefreshFolders();
    StartScan();
    return true;
}

void LibraryDialog::StartScan() {
    if (scanning_ || !OpenIndex()) return;
    if (scan_.joinable()) scan_.join();
    cancel_ = false;
    SetScanning(true);
    SetShapeText(kProgressShape, "기보를 읽기 시작합니다…");
    // The scan writes through an index of its own: an index is used on one thread only.
    scan_ = std::thread([this] {
        LibraryIndex index;
        std::string why;
        LibraryScanReport report;
        if (!index.Open(indexPath_, why)) {
            QMetaObject::invokeMethod(this, [this, why] {
                SetShapeText(kProgressShape, "기보 라이브러리를 열지 못했습니다: " + why);
                SetScanning(false);
            }, Qt::QueuedConnection);
            return;
        }
        int files = 0;
        report = index.Scan(
            [this, &files](const std::string& path) {
                // Every file would flood the window's queue; every twentieth tells enough.
                if (files++ % 20 != 0) return;
                const std::string text = std::to_string(files) + "번째 파일 읽는 중: " + FileNameOf(path);
                QMetaObject::invokeMethod(this, [this, text] { SetShapeText(kProgressShape, text); },
                                          Qt::QueuedConnection);
            },
            &cancel_);
        QMetaObject::invokeMethod(this, [this, report] { ScanFinished(report); }, Qt::QueuedConnection);
    });
}

void LibraryDialog::ScanFinished(const LibraryScanReport& report) {
    if (scan_.joinable()) scan_.join();
    SetScanning(false);
    std::string text = (report.cancelled ? "읽기를 멈췄습니다: " : "다 읽었습니다: ") + std::to_string(report.filesRead) +
                       "개 파일, " + std::to_string(report.games) + "판";
    if (report.unreadable > 0) text += ", 읽지 못한 파일 " + std::to_string(report.unreadable) + "개";
    if (report.filesRemoved > 0) text += ", 없어진 파일 " + std::to_string(report.filesRemoved) + "개";
    SetShapeText(kProgressShape, text);
    ApplyFilter();
}

void LibraryDialog::SetScanning(bool scanning) {
    scanning_ = scanning;
    EnableControl(kAddFolder, !scanning);
    EnableControl(kRescan, !scanning);
    EnableControl(kStopScan, scanning);
}

void LibraryDialog::RefreshFolders() {
    if (!folders_) return;
    folders_->clear();
    for (const std::string& f : index_.Folders()) folders_->addItem(QString::fromStdString(f));
}

LibraryFilter LibraryDialog::FilterFromControls() const {
    LibraryFilter filter;
    filter.player = GetControlText(kPlayerEdit);
    filter.event = GetControlText(kEventEdit);
    filter.from = GetControlText(kFromEdit);
    filter.to = GetControlText(kToEdit);
    filter.text = GetControlText(kTextEdit);
    if (const auto* result = FindControlAs<QComboBox>(kResultCombo)) {
        switch (result->currentIndex()) {
            case 1: filter.winner = GameWinner::kBlack; break;
            case 2: filter.winner = GameWinner::kWhite; break;
            case 3: filter.winner = GameWinner::kDraw; break;
            default: break;
        }
    }
    return filter;
}

void LibraryDialog::ClearFilters() {
    for (int id : {kPlayerEdit, kEventEdit, kFromEdit, kToEdit, kTextEdit}) SetControlText(id, "");
    if (auto* result = FindControlAs<QComboBox>(kResultCombo)) result->setCurrentIndex(0);
}

void LibraryDialog::ApplyFilter() {
    if (!games_ || !OpenIndex()) return;
    shown_ = index_.Find(FilterFromControls());
    const std::size_t found = shown_.size();
    if (shown_.size() > kMostListed) shown_.resize(kMostListed);
    games_->setSortingEnabled(false);
    games_->clear();
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(shown_.size()));
    for (std::size_t i = 0; i < shown_.size(); ++i) {
        const LibraryGame& g = shown_[i];
        auto* item = new GameItem(QStringList{QString::fromStdString(Player(g.black, g.blackRank)),
                                              QString::fromStdString(Player(g.white, g.whiteRank)),
                                              QString::fromStdString(g.date), QString::fromStdString(g.event),
                                              QString::fromStdString(g.result), QString::number(g.moves)});
        item->setData(0, Qt::UserRole + 1, static_cast<qulonglong>(i));
        item->setData(2, Qt::UserRole, QString::fromStdString(g.dateKey));
        item->setData(5, Qt::UserRole, g.moves);
        item->setTextAlignment(5, Qt::AlignRight | Qt::AlignVCenter);
        items.push_back(item);
    }
    games_->addTopLevelItems(items);
    games_->setSortingEnabled(true);
    std::string count = std::to_string(found) + "판";
    if (found > shown_.size()) count += " (앞의 " + std::to_string(shown_.size()) + "판만 보입니다)";
    SetShapeText(kCountShape, count);
    if (games_->topLevelItemCount() > 0) games_->setCurrentItem(games_->topLevelItem(0));
    else ShowSelected();
}

const LibraryGame* LibraryDialog::GameAtRow(int row) const {
    const QTreeWidgetItem* item = games_ ? games_->topLevelItem(row) : nullptr;
    if (!item) return nullptr;
    const std::size_t i = item->data(0, Qt::UserRole + 1).toULongLong();
    return i < shown_.size() ? &shown_[i] : nullptr;
}

void LibraryDialog::ShowSelected() {
    const LibraryGame* g = games_ ? GameAtRow(games_->indexOfTopLevelItem(games_->currentItem())) : nullptr;
    if (!g) {
        for (int id : {kPlayersShape, kEventShape, kGameShape, kFileShape, kDuplicateShape}) SetShapeText(id, "");
        if (thumbnail_) thumbnail_->SetPosition(19, {});
        return;
    }
    SetShapeText(kPlayersShape, Player(g->black, g->blackRank) + " (흑) 대 " + Player(g->white, g->whiteRank) + " (백)");
    SetShapeText(kEventShape, g->event + (g->round.empty() ? "" : " " + g->round));
    std::string game;
    if (!g->date.empty()) game += g->date + "   ";
    if (!g->result.empty()) game += g->result + "   ";
    SetShapeText(kGameShape, game + std::to_string(g->moves) + "수, " + std::to_string(g->size) + "줄");
    std::string file = g->path;
    if (g->game > 1) file += " (" + std::to_string(g->game) + "번째 기보)";
    SetShapeText(kFileShape, file);
    SetShapeText(kDuplicateShape, g->duplicateOf != 0 ? "같은 수순의 기보가 라이브러리에 이미 있습니다." : "");
    if (thumbnail_) thumbnail_->SetPosition(g->size, FinalStones(g->path, g->game, g->size));
}

void LibraryDialog::OpenRow(int row) {
    const LibraryGame* g = GameAtRow(row);
    if (!g || !open_) return;
    const LibraryGame game = *g;  // the opener may refresh the list
    open_(game.path, game.game, 0);
}

void LibraryDialog::onCommand(int id) {
    switch (id) {
        case kAddFolder:
            if (const std::string folder = Prompter::Current().FolderName("기보가 든 폴더", QDir::homePath().toStdString());
                !folder.empty())
                AddFolder(folder);
            break;
        case kRescan: StartScan(); break;
        case kStopScan: CancelScan(); break;
        case kFind: ApplyFilter(); break;
        case kClearFilters:
            ClearFilters();
            ApplyFilter();
            break;
        case 101:
            if (games_) OpenRow(games_->indexOfTopLevelItem(games_->currentItem()));
            break;
        default: break;
    }
}

}  // namespace velmora
