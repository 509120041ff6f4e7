#pragma once

#include <QObject>
#include <QString>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "engine/Evaluation.h"
#include "record/BoardLines.h"
#include "record/GameTree.h"

namespace velmora {

class GtpEngine;

// The properties a review writes. On every main-line node it judged (the root and each move):
// SBKV Black's win rate in percent, as other editors read it (estimated from the score lead
// for engines that give none); VMSL Black's score lead in points; VMBL, from engines that do not
// count the move to come, Black's lead after the engine's move (a move's loss is the VMBL
// before it less its VMSL; otherwise the VMSL before it less its own); VMBM the engine's move for
// the colour to play there and VMPV its line (SGF points, "" a pass); VMEN the engine's name
// and version; VMBU the budget. VMRV[1] on the first node of a reference diagram the review
// made, which a review replacing this one removes.
inline constexpr const char* kWinrateProperty = "SBKV";
inline constexpr const char* kScoreLeadProperty = "VMSL";
inline constexpr const char* kLeadAfterBestProperty = "VMBL";
inline constexpr const char* kBestMoveProperty = "VMBM";
inline constexpr const char* kLineProperty = "VMPV";
inline constexpr const char* kEngineProperty = "VMEN";
inline constexpr const char* kBudgetProperty = "VMBU";
inline constexpr const char* kReviewDiagramProperty = "VMRV";

struct ReviewOptions {
    EngineBudget budget;
    double thresholdPoints = 3;    // a move losing more points gets a diagram
    double thresholdWinrate = 10;  // the same in percent, for engines that give no score
    int colour = 0;                // only this colour's moves (1 white, 2 black); 0 both
    int maxDiagrams = 20;          // the review's diagrams in the record at most, biggest losses first
    bool replace = false;          // remove an earlier review's diagrams and judge every move again
    int jobs = 1;                  // engine processes at once
    int lineLength = 6;            // moves of a diagram where the engine gives no line
    CoordinateStyle coordinates = CoordinateStyle::kUsual;  // how comments name points
};

// The review of a whole game on its tree, run through the event loop: each main-line move not
// yet judged (see the properties above) is judged by one of the engine processes, then each
// move losing more than the threshold gets a reference diagram beside it: its first node
// C[참고도-AI 추천 R14 · 승률 52% → 31% · 약 4.5집 손해] VMRV[1], then the engine's line.
// Progress is reported as moves are judged. Cancel keeps what was judged (a later review goes
// on from there); a failure takes every change back and says why. The tree must outlive the
// review and not change while it runs.
class GameReview : public QObject {
    Q_OBJECT
  public:
    GameReview(GameTree& tree, std::vector<std::string> engineCommand, ReviewOptions options,
               QObject* parent = nullptr);
    ~GameReview() override;

    void Start();
    void Cancel();
    // The edits made so far, each the inverse of a change, oldest first: applying them from
    // the last takes the review back.
    const std::vector<TreeEdit>& UndoEdits() const { return undo_; }
    // Diagrams the review added.
    int DiagramsAdded() const { return diagramsAdded_; }

  signals:
    void Progress(int judged, int total);
    void Warning(const QString& text);
    void Finished();
    void Failed(const QString& why);

  private:
    struct Worker;
    struct Mistake {
        NodeId move = kNoNode;
        NodeId before = kNoNode;  // the judged node before it
        double loss = 0;
        std::vector<Position::Point> line;
    };

    void Edit(const TreeEdit& inverse) { undo_.push_back(inverse); }
    void RemoveEarlierReview();
    void Next(Worker& worker);
    void Store(NodeId node, const Evaluation& e, const std::string& engineName);
    void FindMistakes();
    void NextLine(Worker& worker);
    void AddDiagrams();
    void Fail(const QString& why);
    void Done();
    std::string Comment(const Mistake& m) const;

    GameTree& tree_;
    std::vector<std::string> command_;
    ReviewOptions options_;
    int size_ = kDefaultBoardSize;
    std::vector<NodeId> pending_;  // main-line nodes to judge, in order
    int judged_ = 0;
    int total_ = 0;
    std::vector<Mistake> mistakes_;
    std::size_t nextMistake_ = 0;
    int linesDone_ = 0;
    bool winratesGiven_ = false;
    std::vector<std::unique_ptr<Worker>> workers_;
    std::vector<TreeEdit> undo_;
    int diagramsAdded_ = 0;
    bool over_ = false;
    std::set<std::string> warned_;
};

}  // namespace velmora
