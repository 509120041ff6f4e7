#include "engine/EnginePosition.h"

#include <QDir>
#include <QTemporaryFile>
#include <cstdlib>

#include "engine/GtpEngine.h"
#include "game/TreeCursor.h"
#include "record/RecordEncoding.h"
#include "record/SgfHandicap.h"
#include "record/SgfTree.h"

namespace velmora {

namespace {

// What RU names, as kata-set-rules takes it.
std::string RulesName(std::string_view ru) {
    const std::string upper = AsciiUpper(ru);
    if (upper.empty()) return {};
    if (upper.find("JAPAN") != std::string::npos || ru.find("일본") != std::string_view::npos) return "japanese";
    if (upper.find("KOREA") != std::string::npos || ru.find("한국") != std::string_view::npos) return "korean";
    if (upper.find("CHINESE") != std::string::npos || upper == "CN" || ru.find("중국") != std::string_view::npos)
        return "chinese";
    std::string lower;
    for (char c : ru) lower += c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    return lower;
}

std::vector<EngineStone> Stones(const Position& board) {
    std::vector<EngineStone> stones;
    for (int y = 1; y <= board.Size(); ++y)
        for (int x = 1; x <= board.Size(); ++x)
            if (const int c = board.Colour(Position::PointAt(x, y))) stones.push_back({Position::PointAt(x, y), c});
    return stones;
}

// Counts the answers of a run of commands: the first refusal is kept, the last answer ends it.
struct Run {
    QString why;
    std::function<void(const QString&)> done;
};

}  // namespace

std::string SgfPointText(Position::Point p) {
    if (p == Position::kNoPoint) return {};
    return {static_cast<char>('a' + Position::X(p) - 1), static_cast<char>('a' + Position::Y(p) - 1)};
}

std::optional<int> RecordBoardSize(const GameTree& tree) {
    const std::string_view sz = tree.FirstValue(tree.Root(), "SZ");
    if (sz.empty()) return kDefaultBoardSize;
    const std::size_t colon = sz.find(':');
    const std::string first(sz.substr(0, colon));
    char* end = nullptr;
    const long n = std::strtol(first.c_str(), &end, 10);
    if (first.empty() || *end != '\0' || !IsBoardSize(static_cast<int>(n))) return std::nullopt;
    if (colon != std::string_view::npos && sz.substr(colon + 1) != first) return std::nullopt;
    return static_cast<int>(n);
}

EnginePosition EnginePositionAt(const GameTree& tree, NodeId node) {
    EnginePosition p;
    p.size = RecordBoardSize(tree).value_or(kDefaultBoardSize);
    p.komi = std::atof(std::string(tree.FirstValue(tree.Root(), "KM")).c_str());
    p.rules = RulesName(tree.FirstValue(tree.Root(), "RU"));
    std::vector<NodeId> path;
    for (NodeId n = node; n != kNoNode; n = tree.Parent(n)) path.insert(path.begin(), n);

    Position board(p.size);
    PositionUndo undo;
    for (const NodeId n : path) {
        if (tree.Has(n, "AB") || tree.Has(n, "AW") || tree.Has(n, "AE")) {
            GameTree setup;
            for (const char* id : {"AB", "AW", "AE"})
                for (const std::string_view v : tree.Values(n, id)) setup.AddValue(0, id, v);
            ApplyNode(setup, setup.Root(), board, undo);
            p.stones = Stones(board);
            p.moves.clear();
        } else if (n == tree.Root()) {
            const int handicap = std::atoi(std::string(tree.FirstValue(n, "HA")).c_str());
            for (const GridPoint g : HandicapTable(handicap, p.size))
                board.Setup(Position::PointAt(g), kBlack, undo);
            if (handicap >= 2) board.SetToPlay(kWhite, undo);
            p.stones = Stones(board);
        }
        const NodeMove move = ApplyNode(tree, n, board, undo);
        undo.Clear();
        if (move.kind == NodeMove::Kind::kPlayed || move.kind == NodeMove::Kind::kPass) {
            p.moves.push_back({move.point, move.colour});
        } else if (move.kind == NodeMove::Kind::kRefused) {
            p.stones = Stones(board);
            p.moves.clear();
        }
    }
    p.toPlay = board.ToPlay();
    return p;
}

void EngineBoard::Bring(GtpEngine& engine, const EnginePosition& to,
                        std::function<void(const QString&)> done) {
    const auto run = std::make_shared<Run>();
    run->done = std::move(done);
    const auto say = [this](const QString& w) {
        if (warn) warn(w);
    };
    // The answer's check: refused is why the run failed (unless an earlier command failed).
    const auto check = [run](QString refused) {
        return [run, refused](const GtpReply& r) {
            if (!run->why.isEmpty() || r.Ok()) return;
            run->why = r.status == GtpStatus::kStopped
                           ? QString("엔진이 멈췄습니다")
                           : refused.arg(QString::fromStdString(r.text));
        };
    };

    std::size_t from = 0;
    if (held_ && held_->SameStart(to) && held_->moves.size() <= to.moves.size() &&
        std::equal(held_->moves.begin(), held_->moves.end(), to.moves.begin())) {
        from = held_->moves.size();
    } else {
        const QString n = QString::number(to.size);
        engine.Send("boardsize " + std::to_string(to.size),
                    check(QString("엔진이 %1줄 바둑판을 받지 않습니다 (%2)").arg(n, "%1")));
        engine.Send("clear_board", check("엔진이 바둑판을 비우지 못합니다 (%1)"));
        const bool allBlack = std::all_of(to.stones.begin(), to.stones.end(),
                                          [](const EngineStone& s) { return s.colour == kBlack; });
        if (!to.stones.empty() && engine.Knows("loadsgf")) {
            auto file = std::make_shared<QTemporaryFile>(QDir::tempPath() + "/velmora-XXXXXX.sgf");
            std::string sgf = "(;FF[4]GM[1]SZ[" + std::to_string(to.size) + "]";
            for (const int colour : {kBlack, kWhite}) {
                std::string points;
                for (const EngineStone& s : to.stones)
                    if (s.colour == colour) points += "[" + SgfPointText(s.point) + "]";
                if (!points.empty()) sgf += (colour == kBlack ? "AB" : "AW") + points;
            }
            sgf += ")";
            if (!file->open() || file->write(sgf.c_str()) != static_cast<qint64>(sgf.size()) ||
                !file->flush()) {
                run->why = "놓인 돌을 넘길 임시 파일을 쓸 수 없습니다: " + file->errorString();
            } else {
                const GtpEngine::Done loaded = check("엔진이 놓인 돌을 읽지 못합니다 (%1)");
                engine.Send("loadsgf " + file->fileName().toStdString(),
                            [loaded, file](const GtpReply& r) { loaded(r); });
            }
        } else if (!to.stones.empty() && allBlack && engine.Knows("set_free_handicap")) {
            std::string command = "set_free_handicap";
            for (const EngineStone& s : to.stones) command += " " + GtpVertex(s.point, to.size);
            engine.Send(command, check("엔진이 접바둑 돌을 받지 않습니다 (%1)"));
        } else if (!to.stones.empty()) {
            // As moves, a pass where a colour must play twice; stones that capture or have no
            // liberty cannot be made so.
            Position board(to.size);
            PositionUndo undo;
            int next = kBlack;
            bool same = true;
            for (const EngineStone& s : to.stones) {
                if (s.colour != next) {
                    engine.Send(std::string(next == kBlack ? "play b" : "play w") + " pass");
                    board.Pass(next, undo);
                }
                same = same && board.Play(s.point, s.colour, undo) == PlayResult::kLegal;
                engine.Send(std::string(s.colour == kBlack ? "play b " : "play w ") +
                                GtpVertex(s.point, to.size),
                            check("엔진이 놓인 돌을 받지 않습니다 (%1)"));
                next = Opponent(s.colour);
            }
            if (!same || Stones(board) != to.stones)
                say("엔진이 돌 놓기를 몰라 수로 두었지만 기록과 같은 국면을 만들 수 없습니다");
        }
        engine.Send("komi " + QString::number(to.komi).toStdString(),
                    check("엔진이 덤을 받지 않습니다 (%1)"));
        if (!to.rules.empty()) {
            if (engine.Knows("kata-set-rules"))
                engine.Send("kata-set-rules " + to.rules,
                            check(QString("엔진이 규칙 %1을(를) 받지 않습니다 (%2)")
                                      .arg(QString::fromStdString(to.rules), "%1")));
            else
                say("엔진에 규칙을 알릴 명령이 없어 엔진의 규칙으로 봅니다");
        }
    }
    for (std::size_t i = from; i < to.moves.size(); ++i) {
        const EngineStone& m = to.moves[i];
        const QString move = QString("%1수 %2").arg(i + 1).arg(QString::fromStdString(GtpVertex(m.point, to.size)));
        engine.Send(std::string(m.colour == kBlack ? "play b " : "play w ") + GtpVertex(m.point, to.size),
                    check(QString("엔진이 %1을(를) 받지 않습니다 (%2)").arg(move, "%1")));
    }
    held_.reset();
    // The run ends with the last answer: a command that asks nothing of the position.
    engine.Send("protocol_version", [this, run, to](const GtpReply& r) {
        if (run->why.isEmpty() && r.status == GtpStatus::kStopped) run->why = "엔진이 멈췄습니다";
        if (run->why.isEmpty()) held_ = to;
        run->done(run->why);
    });
}

}  // namespace velmora
