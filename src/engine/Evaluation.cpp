#include "engine/Evaluation.h"

#include <QTimer>
#include <cmath>
#include <memory>

#include "engine/GtpEngine.h"

namespace velmora {

namespace {

constexpr int kDefaultVisits = 200;
constexpr int kStreamIntervalCs = 10;

std::string ColourWord(int colour) { return colour == kBlack ? "b" : "w"; }

QString Refusal(const QString& what, const GtpReply& r) {
    if (r.status == GtpStatus::kStopped) return "엔진이 멈췄습니다";
    return what + " (" + QString::fromStdString(r.text) + ")";
}

void EvaluateByStream(GtpEngine& engine, const EnginePosition& position, const EngineBudget& budget,
                      EngineMethod method,
                      std::function<void(std::optional<Evaluation>, const QString&)> done) {
    struct Stream {
        std::vector<Candidate> last;
        bool running = true;
    };
    const auto stream = std::make_shared<Stream>();
    const std::string name = method == EngineMethod::kKataAnalyze ? "kata-analyze"
                             : method == EngineMethod::kLzAnalyze ? "lz-analyze"
                                                                  : "analyze";
    const WinrateScale scale = method == EngineMethod::kKataAnalyze ? WinrateScale::kFraction
                                                                     : WinrateScale::kHundredthPercent;
    const int visits = budget.kind == EngineBudget::Kind::kVisits ? static_cast<int>(budget.value)
                                                                   : kDefaultVisits;
    const bool timed = budget.kind == EngineBudget::Kind::kSeconds;
    GtpEngine* live = &engine;
    const int toPlay = position.toPlay;
    const int size = position.size;
    engine.Analyse(
        name + " " + ColourWord(toPlay) + " " + std::to_string(kStreamIntervalCs), size, scale,
        [stream, visits, timed, live](const std::vector<Candidate>& candidates) {
            if (candidates.empty()) return;
            stream->last = candidates;
            int total = 0;
            for (const Candidate& c : candidates) total += c.visits;
            if (!timed && total >= visits) live->StopAnalysis();
        },
        [stream, toPlay, size, done](const GtpReply& r) {
            stream->running = false;
            if (!r.Ok()) return done(std::nullopt, Refusal("엔진이 분석을 거절했습니다", r));
            if (stream->last.empty()) return done(std::nullopt, "엔진이 후보수를 내지 않았습니다");
            const Candidate& top = stream->last.front();
            Evaluation e;
            e.winrateGiven = true;
            e.blackWinrate = toPlay == kBlack ? top.winrate : 100 - top.winrate;
            if (top.scoreLead) e.blackLead = toPlay == kBlack ? *top.scoreLead : -*top.scoreLead;
            e.best = top.point;
            e.line = top.line.empty() ? std::vector<Position::Point>{top.point} : top.line;
            (void)size;
            done(e, {});
        });
    if (timed)
        QTimer::singleShot(static_cast<int>(budget.value * 1000), live, [stream, live] {
            if (stream->running) live->StopAnalysis();
        });
}

void EvaluateByGenmove(GtpEngine& engine, const EnginePosition& position,
                       std::function<void(std::optional<Evaluation>, const QString&)> done) {
    if (!engine.Knows("estimate_score"))
        return done(std::nullopt, "엔진에 형세를 셈하는 명령(estimate_score)이 없습니다");
    const auto e = std::make_shared<Evaluation>();
    const auto why = std::make_shared<QString>();
    const int size = position.size;
    const auto best = [e, why, size](const GtpReply& r) {
        if (!r.Ok()) {
            if (why->isEmpty()) *why = Refusal("엔진이 수를 내지 못했습니다", r);
            return;
        }
        e->best = ParseGtpVertex(r.text, size);
        if (e->best) e->line = {*e->best};
    };
    const std::string colour = ColourWord(position.toPlay);
    if (engine.Knows("reg_genmove")) {
        engine.Send("reg_genmove " + colour, best);
    } else {
        engine.Send("genmove " + colour, best);
        engine.Send("undo", [why](const GtpReply& r) {
            if (!r.Ok() && why->isEmpty()) *why = Refusal("엔진이 수를 무르지 못했습니다", r);
        });
    }
    const auto estimate = [why](std::optional<double>& into) {
        return [why, &into](const GtpReply& r) {
            if (why->isEmpty() && r.Ok()) into = ParseGtpScore(r.text);
            if (why->isEmpty() && !into)
                *why = r.Ok() ? "엔진의 형세 판단을 읽을 수 없습니다: " + QString::fromStdString(r.text)
                              : Refusal("엔진이 형세를 셈하지 못했습니다", r);
        };
    };
    engine.Send("estimate_score", estimate(e->blackLead));
    // The same after the engine's move, taken back at once.
    GtpEngine* live = &engine;
    engine.Send("protocol_version", [=](const GtpReply&) {
        if (!why->isEmpty()) return done(std::nullopt, *why);
        if (!e->best) {  // a resignation
            e->blackWinrate = BlackWinrateFromLead(*e->blackLead, size);
            return done(*e, {});
        }
        live->Send("play " + colour + " " + GtpVertex(*e->best, size));
        live->Send("estimate_score", estimate(e->blackLeadAfterBest));
        live->Send("undo", [=](const GtpReply& r) {
            if (!r.Ok() && why->isEmpty()) *why = Refusal("엔진이 수를 무르지 못했습니다", r);
            if (!why->isEmpty()) return done(std::nullopt, *why);
            e->blackWinrate = BlackWinrateFromLead((*e->blackLead + *e->blackLeadAfterBest) / 2, size);
            done(*e, {});
        });
    });
}

}  // namespace

std::string EngineBudget::Text() const {
    const std::string number = QString::number(value).toStdString();
    switch (kind) {
        case Kind::kLevel: return "level " + number;
        case Kind::kVisits: return "visits " + number;
        case Kind::kSeconds: return "seconds " + number;
        default: return "default";
    }
}

double BlackWinrateFromLead(double blackLead, int size) {
    return 100 / (1 + std::exp(-blackLead / (0.4 * size)));
}

EngineMethod MethodOf(const GtpEngine& engine) {
    if (engine.Knows("kata-analyze")) return EngineMethod::kKataAnalyze;
    if (engine.Knows("lz-analyze")) return EngineMethod::kLzAnalyze;
    if (engine.Knows("analyze")) return EngineMethod::kAnalyze;
    if (engine.Knows("genmove") || engine.Knows("reg_genmove")) return EngineMethod::kGenmove;
    return EngineMethod::kNone;
}

void SetEngineBudget(GtpEngine& engine, const EngineBudget& budget,
                     std::function<void(const QString&)> done) {
    const bool streams = MethodOf(engine) != EngineMethod::kGenmove;
    const std::string value = QString::number(budget.value).toStdString();
    const auto send = [&](const std::string& command, const QString& refused) {
        engine.Send(command, [done, refused](const GtpReply& r) {
            done(r.Ok() ? QString() : Refusal(refused, r));
        });
    };
    switch (budget.kind) {
        case EngineBudget::Kind::kLevel:
            if (!engine.Knows("level")) return done("엔진에 수준을 정하는 명령(level)이 없습니다");
            return send("level " + value, "엔진이 수준 " + QString::fromStdString(value) + "을(를) 받지 않습니다");
        case EngineBudget::Kind::kVisits:
            if (!streams) return done("엔진이 분석 명령이 없어 탐색 횟수(visits)를 정할 수 없습니다");
            break;
        case EngineBudget::Kind::kSeconds:
            if (!streams) {
                if (!engine.Knows("time_settings")) return done("엔진에 시간을 정하는 명령(time_settings)이 없습니다");
                return send("time_settings 0 " + value + " 1", "엔진이 시간 설정을 받지 않습니다");
            }
            break;
        default:
            break;
    }
    if (MethodOf(engine) == EngineMethod::kNone) return done("엔진에 수를 두거나 분석하는 명령이 없습니다");
    done({});
}

void EvaluatePosition(GtpEngine& engine, EngineBoard& board, const EnginePosition& position,
                      const EngineBudget& budget,
                      std::function<void(std::optional<Evaluation>, const QString&)> done) {
    GtpEngine* live = &engine;
    board.Bring(engine, position, [live, position, budget, done](const QString& why) {
        if (!why.isEmpty()) return done(std::nullopt, why);
        const EngineMethod method = MethodOf(*live);
        if (method == EngineMethod::kGenmove) return EvaluateByGenmove(*live, position, done);
        EvaluateByStream(*live, position, budget, method, done);
    });
}

void ExtendLine(GtpEngine& engine, EngineBoard& board, const EnginePosition& position,
                Position::Point first, int length,
                std::function<void(std::vector<Position::Point>, const QString&)> done) {
    GtpEngine* live = &engine;
    EngineBoard* held = &board;
    board.Bring(engine, position, [=](const QString& why) {
        if (!why.isEmpty()) return done({}, why);
        struct Line {
            std::vector<Position::Point> moves;
            int played = 0;  // moves the engine holds beyond the position
            bool ended = false;
            QString why;
        };
        const auto line = std::make_shared<Line>();
        line->moves.push_back(first);
        const int size = position.size;
        int colour = position.toPlay;
        live->Send("play " + ColourWord(colour) + " " + GtpVertex(first, size), [line](const GtpReply& r) {
            if (r.Ok())
                ++line->played;
            else
                line->why = Refusal("엔진이 추천수를 받지 않습니다", r);
        });
        for (int i = 1; i < length; ++i) {
            colour = Opponent(colour);
            live->Send("genmove " + ColourWord(colour), [line, size](const GtpReply& r) {
                const auto point = r.Ok() ? ParseGtpVertex(r.text, size) : std::nullopt;
                if (point) ++line->played;
                if (!line->why.isEmpty() || line->ended) return;
                if (!r.Ok()) {
                    line->why = Refusal("엔진이 수를 내지 못했습니다", r);
                    return;
                }
                if (!point || *point == Position::kNoPoint)
                    line->ended = true;
                else
                    line->moves.push_back(*point);
            });
        }
        // Every move played (a resignation plays none) is taken back: the engine holds the
        // position again.
        live->Send("protocol_version", [=](const GtpReply&) {
            const auto undone = std::make_shared<bool>(true);
            for (int i = 0; i < line->played; ++i)
                live->Send("undo", [undone](const GtpReply& r) { *undone = *undone && r.Ok(); });
            live->Send("protocol_version", [=](const GtpReply&) {
                if (!*undone) held->Forget();
                done(line->why.isEmpty() ? line->moves : std::vector<Position::Point>{}, line->why);
            });
        });
    });
}

}  // namespace velmora
