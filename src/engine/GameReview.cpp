#include "engine/GameReview.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <set>

#include "engine/GtpEngine.h"

namespace velmora {

namespace {

const char* const kOwnProperties[] = {kWinrateProperty, kScoreLeadProperty, kLeadAfterBestProperty,
                                      kBestMoveProperty, kLineProperty,     kEngineProperty,
                                      kBudgetProperty};

std::string Decimal(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}

// A number as a comment says it: "4.5", "5".
std::string Short(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", std::round(value * 10) / 10);
    return text;
}

std::optional<Position::Point> FromSgfPoint(std::string_view v, int size) {
    if (v.empty() || (v == "tt" && size <= 19)) return Position::kNoPoint;
    if (v.size() != 2) return std::nullopt;
    const int x = v[0] - 'a' + 1;
    const int y = v[1] - 'a' + 1;
    if (!OnBoard(x, y, size)) return std::nullopt;
    return Position::PointAt(x, y);
}

bool Judged(const GameTree& tree, NodeId n) {
    return tree.Has(n, kWinrateProperty) && tree.Has(n, kEngineProperty);
}

int MoveColour(const GameTree& tree, NodeId n) {
    return tree.Has(n, "B") ? kBlack : tree.Has(n, "W") ? kWhite : 0;
}

double Number(const GameTree& tree, NodeId n, const char* id) {
    return std::atof(std::string(tree.FirstValue(n, id)).c_str());
}

}  // namespace

struct GameReview::Worker {
    std::unique_ptr<GtpEngine> engine;
    EngineBoard board;
    // The run of pending_ this engine judges, in order: an engine that goes from a position to
    // the next one reuses what it read (GNU Go's caches), and spends half again as much when
    // the moves it is given are spread over the game.
    std::size_t begin = 0;
    std::size_t end = 0;
    bool idle = false;
};

GameReview::GameReview(GameTree& tree, std::vector<std::string> engineCommand,
                       ReviewOptions options, QObject* parent)
    : QObject(parent), tree_(tree), command_(std::move(engineCommand)), options_(options) {}

GameReview::~GameReview() = default;

void GameReview::Start() {
    const std::optional<int> size = RecordBoardSize(tree_);
    if (!size) return Fail("기록의 바둑판 크기(SZ)가 정사각형 2~25줄이 아닙니다");
    size_ = *size;
    if (options_.replace) RemoveEarlierReview();
    for (NodeId n = tree_.Root(); n != kNoNode; n = tree_.FirstChild(n)) {
        if (n != tree_.Root() && !MoveColour(tree_, n)) continue;
        ++total_;
        if (!Judged(tree_, n)) pending_.push_back(n);
    }
    judged_ = total_ - static_cast<int>(pending_.size());
    emit Progress(judged_, total_);
    if (pending_.empty()) {
        // Judged before: the engine is needed only for a line it did not give then.
        FindMistakes();
        if (std::all_of(mistakes_.begin(), mistakes_.end(), [this](const Mistake& m) {
                return m.line.size() > 1 || options_.lineLength <= 1;
            })) {
            AddDiagrams();
            return Done();
        }
    }
    const int jobs = std::clamp(options_.jobs, 1, std::max<int>(1, static_cast<int>(pending_.size())));
    for (int i = 0; i < jobs; ++i) {
        auto worker = std::make_unique<Worker>();
        worker->begin = pending_.size() * i / jobs;
        worker->end = pending_.size() * (i + 1) / jobs;
        worker->engine = std::make_unique<GtpEngine>(command_);
        Worker* w = worker.get();
        w->board.warn = [this](const QString& text) {
            if (warned_.insert(text.toStdString()).second) emit Warning(text);
        };
        connect(w->engine.get(), &GtpEngine::Failed, this, &GameReview::Fail);
        connect(w->engine.get(), &GtpEngine::Ready, this, [this, w] {
            SetEngineBudget(*w->engine, options_.budget, [this, w](const QString& why) {
                if (over_) return;
                if (!why.isEmpty()) return Fail(why);
                Next(*w);
            });
        });
        workers_.push_back(std::move(worker));
    }
    for (const auto& w : workers_) w->engine->Start();
}

void GameReview::Cancel() {
    if (over_) return;
    Done();
}

void GameReview::RemoveEarlierReview() {
    for (NodeId n = tree_.Root(); n != kNoNode; n = tree_.FirstChild(n)) {
        std::vector<NodeId> made;
        const NodeId line = tree_.FirstChild(n);
        for (NodeId c = line == kNoNode ? kNoNode : tree_.NextSibling(line); c != kNoNode; c = tree_.NextSibling(c))
            if (tree_.Has(c, kReviewDiagramProperty)) made.push_back(c);
        for (const NodeId c : made) Edit(tree_.Detach(c));
        for (const char* id : kOwnProperties)
            if (tree_.Has(n, id)) Edit(tree_.SetProperty(n, id, {}));
    }
}

void GameReview::Next(Worker& worker) {
    if (over_) return;
    if (worker.begin == worker.end) {
        // Done with its own run: takes over the second half of what is left of the longest.
        Worker* longest = &worker;
        for (const auto& w : workers_)
            if (w->end - w->begin > longest->end - longest->begin) longest = w.get();
        if (longest->end - longest->begin > 1) {
            worker.end = longest->end;
            worker.begin = longest->end = longest->begin + (longest->end - longest->begin + 1) / 2;
        }
    }
    if (worker.begin < worker.end) {
        const NodeId node = pending_[worker.begin++];
        Worker* w = &worker;
        EvaluatePosition(*w->engine, w->board, EnginePositionAt(tree_, node), options_.budget,
                         [this, w, node](std::optional<Evaluation> e, const QString& why) {
                             if (over_) return;
                             if (!e) return Fail(why);
                             winratesGiven_ = e->winrateGiven;
                             Store(node, *e, w->engine->Name());
                             emit Progress(++judged_, total_);
                             Next(*w);
                         });
        return;
    }
    worker.idle = true;
    if (!std::all_of(workers_.begin(), workers_.end(), [](const auto& w) { return w->idle; })) return;
    FindMistakes();
    for (const auto& w : workers_) w->idle = false;
    for (const auto& w : workers_) NextLine(*w);
}

void GameReview::Store(NodeId node, const Evaluation& e, const std::string& engineName) {
    Edit(tree_.SetProperty(node, kWinrateProperty, {Decimal(e.blackWinrate)}));
    if (e.blackLead) Edit(tree_.SetProperty(node, kScoreLeadProperty, {Decimal(*e.blackLead)}));
    if (e.blackLeadAfterBest)
        Edit(tree_.SetProperty(node, kLeadAfterBestProperty, {Decimal(*e.blackLeadAfterBest)}));
    if (e.best) Edit(tree_.SetProperty(node, kBestMoveProperty, {SgfPointText(*e.best)}));
    std::vector<std::string> line;
    for (const Position::Point p : e.line) line.push_back(SgfPointText(p));
    if (!line.empty()) Edit(tree_.SetProperty(node, kLineProperty, line));
    Edit(tree_.SetProperty(node, kEngineProperty, {engineName.empty() ? command_.front() : engineName}));
    Edit(tree_.SetProperty(node, kBudgetProperty, {options_.budget.Text()}));
}

void GameReview::FindMistakes() {
    int earlier = 0;
    std::vector<Mistake> found;
    NodeId before = kNoNode;
    for (NodeId n = tree_.Root(); n != kNoNode; n = tree_.FirstChild(n)) {
        const NodeId base = tree_.Parent(n);
        bool reviewed = false;
        for (NodeId c = base == kNoNode ? kNoNode : tree_.FirstChild(base); c != kNoNode; c = tree_.NextSibling(c))
            reviewed = reviewed || tree_.Has(c, kReviewDiagramProperty);
        earlier += reviewed;
        if (!Judged(tree_, n)) continue;
        const int colour = MoveColour(tree_, n);
        const NodeId judgedBefore = before;
        before = n;
        if (!colour || judgedBefore == kNoNode || reviewed) continue;
        if (options_.colour && colour != options_.colour) continue;
        const std::string played(tree_.FirstValue(n, colour == kBlack ? "B" : "W"));
        if (tree_.Has(judgedBefore, kBestMoveProperty) &&
            FromSgfPoint(tree_.FirstValue(judgedBefore, kBestMoveProperty), size_) == FromSgfPoint(played, size_))
            continue;
        const double side = colour == kBlack ? 1 : -1;
        const bool scores = tree_.Has(judgedBefore, kScoreLeadProperty) && tree_.Has(n, kScoreLeadProperty);
        const char* const lead =
            tree_.Has(judgedBefore, kLeadAfterBestProperty) ? kLeadAfterBestProperty : kScoreLeadProperty;
        const double loss = scores ? side * (Number(tree_, judgedBefore, lead) -
                                             Number(tree_, n, kScoreLeadProperty))
                                   : side * (Number(tree_, judgedBefore, kWinrateProperty) -
                                             Number(tree_, n, kWinrateProperty));
        if (loss <= (scores ? options_.thresholdPoints : options_.thresholdWinrate)) continue;
        Mistake m;
        m.move = n;
        m.before = judgedBefore;
        m.loss = loss;
        for (const std::string_view v : tree_.Values(judgedBefore, kLineProperty)) {
            const auto p = FromSgfPoint(v, size_);
            if (!p || *p == Position::kNoPoint) break;
            m.line.push_back(*p);
        }
        if (m.line.empty()) continue;  // the engine resigned or passed there: nothing to show
        found.push_back(m);
    }
    std::stable_sort(found.begin(), found.end(), [](const Mistake& a, const Mistake& b) { return a.loss > b.loss; });
    found.resize(std::min<std::size_t>(found.size(), std::max(0, options_.maxDiagrams - earlier)));
    std::stable_sort(found.begin(), found.end(), [this](const Mistake& a, const Mistake& b) {
        return tree_.Depth(a.move) < tree_.Depth(b.move);
    });
    mistakes_ = std::move(found);
}

void GameReview::NextLine(Worker& worker) {
    if (over_) return;
    // Engines that give a line gave it with their judgement; the others play it out now.
    while (nextMistake_ < mistakes_.size() &&
           (mistakes_[nextMistake_].line.size() > 1 || options_.lineLength <= 1 ||
            MethodOf(*worker.engine) != EngineMethod::kGenmove))
        ++nextMistake_;
    if (nextMistake_ < mistakes_.size()) {
        const std::size_t index = nextMistake_++;
        Worker* w = &worker;
        const Mistake& m = mistakes_[index];
        ExtendLine(*w->engine, w->board, EnginePositionAt(tree_, m.before), m.line.front(),
                   options_.lineLength,
                   [this, w, index](std::vector<Position::Point> line, const QString& why) {
                       if (over_) return;
                       if (!why.isEmpty()) return Fail(why);
                       mistakes_[index].line = std::move(line);
                       NextLine(*w);
                   });
        return;
    }
    worker.idle = true;
    if (!std::all_of(workers_.begin(), workers_.end(), [](const auto& w) { return w->idle; })) return;
    AddDiagrams();
    Done();
}

std::string GameReview::Comment(const Mistake& m) const {
    const CoordinateStyle style =
        options_.coordinates == CoordinateStyle::kNone ? CoordinateStyle::kUsual : options_.coordinates;
    const Position::Point best = m.line.front();
    std::string text = "AI 추천 " + ColumnLabel(style, Position::X(best), size_) +
                       RowLabel(style, Position::Y(best), size_);
    const int colour = MoveColour(tree_, m.move);
    const auto mine = [&](NodeId n) {
        const double black = Number(tree_, n, kWinrateProperty);
        return colour == kBlack ? black : 100 - black;
    };
    if (winratesGiven_)
        text += " · 승률 " + Short(std::round(mine(m.before))) + "% → " + Short(std::round(mine(m.move))) + "%";
    if (tree_.Has(m.move, kScoreLeadProperty))
        text += " · 약 " + Short(m.loss) + "집 손해";
    else
        text += " · 승률 " + Short(std::round(m.loss)) + "% 손해";
    return text;
}

void GameReview::AddDiagrams() {
    for (const Mistake& m : mistakes_) {
        int colour = MoveColour(tree_, m.move);
        const NodeId first = tree_.AddNode(kNoNode);
        tree_.AddValue(first, "C", "참고도-" + Comment(m));
        tree_.AddValue(first, kReviewDiagramProperty, "1");
        NodeId last = first;
        for (const Position::Point p : m.line) {
            last = tree_.AddNode(last);
            tree_.AddValue(last, colour == kBlack ? "B" : "W", SgfPointText(p));
            colour = Opponent(colour);
        }
        const NodeId base = tree_.Parent(m.move);
        Edit(tree_.Attach(first, base, tree_.ChildCount(base)));
        ++diagramsAdded_;
    }
}

void GameReview::Fail(const QString& why) {
    if (over_) return;
    over_ = true;
    for (const auto& w : workers_) w->engine->Stop();
    for (auto edit = undo_.rbegin(); edit != undo_.rend(); ++edit) tree_.Apply(*edit);
    undo_.clear();
    diagramsAdded_ = 0;
    emit Failed(why);
}

void GameReview::Done() {
    over_ = true;
    for (const auto& w : workers_) w->engine->Stop();
    emit Finished();
}

}  // namespace velmora
