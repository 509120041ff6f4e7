#pragma once

#include <QWidget>
#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "library/LibraryIndex.h"
#include "skin/SkinDialog.h"

class QListWidget;
class QTreeWidget;

namespace velmora {

// The final position of a game, drawn small: lines, stones, nothing else.
class BoardThumbnail : public QWidget {
    Q_OBJECT
  public:
    explicit BoardThumbnail(QWidget* parent) : QWidget(parent) {}
    // size lines; stones row by row (0 empty, 1 white, 2 black); an empty vector clears it.
    void SetPosition(int size, std::vector<int> stones);
    const std::vector<int>& Stones() const { return stones_; }

  protected:
    void paintEvent(QPaintEvent*) override;

  private:
    int size_ = 19;
    std::vector<int> stones_;
};

// The record library window (Skin\Dialog\기보라이브러리.xml), modeless: the folders of the
// index with add (102), rescan (103) and stop (104), the scan running on a thread of its own;
// the filters (310–315, 105 applies, 106 clears); the games in the box 300, sortable by each
// column; the selected game's final position and information; 101 or a double click hands
// the selected game to open.
class LibraryDialog : public SkinDialog {
    Q_OBJECT
  public:
    // Opens a game of the library: its file, its place in the file and the move to show.
    using GameOpener = std::function<void(const std::string& path, int game, int move)>;

    LibraryDialog(QWidget* mainWindow, std::string indexPath, GameOpener open);
    ~LibraryDialog() override;

    // Shows the window (the index opened on first use) and brings it to the front.
    void Present();
    // Adds folder to the index and scans it → false (with the reason said) when it is refused.
    bool AddFolder(const std::string& folder);
    // Reads what changed under the folders, off this thread; nothing while a scan runs.
    void StartScan();
    void CancelScan() { cancel_ = true; }
    bool Scanning() const { return scanning_; }
    // Lists the games that pass the filters typed in the window.
    void ApplyFilter();
    // Opens the game of list row row (as listed now) through the opener.
    void OpenRow(int row);

    QTreeWidget* Games() const { return games_; }
    QListWidget* Folders() const { return folders_; }
    BoardThumbnail* Thumbnail() const { return thumbnail_; }
    // The game of list row row; null for none.
    const LibraryGame* GameAtRow(int row) const;

  protected:
    void OnSkinBuilt() override;
    void onCommand(int id) override;

  private:
    bool OpenIndex();
    LibraryFilter FilterFromControls() const;
    void ClearFilters();
    void RefreshFolders();
    void ShowSelected();
    void ScanFinished(const LibraryScanReport& report);
    void SetScanning(bool scanning);

    QWidget* mainWindow_;
    std::string indexPath_;
    GameOpener open_;
    LibraryIndex index_;
    bool indexOpen_ = false;
    std::vector<LibraryGame> shown_;
    QTreeWidget* games_ = nullptr;
    QListWidget* folders_ = nullptr;
    BoardThumbnail* thumbnail_ = nullptr;
    std::thread scan_;
    std::atomic<bool> cancel_{false};
    bool scanning_ = false;
};

}  // namespace velmora
