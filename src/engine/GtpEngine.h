#pragma once

#include <QObject>
#include <QPointer>
#include <QProcess>
#include <QString>
#include <QTimer>
#include <deque>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "engine/GtpText.h"

namespace velmora {

// What became of one command.
enum class GtpStatus {
    kOk,        // "= …"
    kRefused,   // "? …": the engine said why in text
    kStopped,   // the engine stalled, died, spoke no GTP or was stopped before it answered
};

struct GtpReply {
    GtpStatus status = GtpStatus::kStopped;
    std::string text;  // the answer without "=id", lines joined by "\n"
    bool Ok() const { return status == GtpStatus::kOk; }
};

// A GTP engine in a process of its own, driven through the event loop: nothing here waits.
// Commands are numbered and queued; one is written when the engine has answered the one
// before, so each has its own timeout. Standard error is read as it comes (StderrLine). An
// engine that cannot start, stops answering within a command's time, dies or writes what is
// no GTP answer is stopped and reported once by Failed with the reason in Korean; every
// command waiting then gets kStopped. Start again (after a failure too) with Start.
//
// An analysis stream (kata-analyze, lz-analyze, analyze) keeps its command open: each "info"
// line goes to its update function until the next command is written, which ends it.
class GtpEngine : public QObject {
    Q_OBJECT
  public:
    using Done = std::function<void(const GtpReply&)>;
    using Update = std::function<void(const std::vector<Candidate>&)>;
    static constexpr int kDefaultTimeoutMs = 30000;

    // commandLine: the program, then its arguments.
    explicit GtpEngine(std::vector<std::string> commandLine, QObject* parent = nullptr);
    ~GtpEngine() override;

    // Starts the process and asks its name, version and commands; Ready follows, or Failed.
    void Start();
    // Asks the engine to quit and lets it go (killed if it lingers).
    void Stop();
    bool IsReady() const { return ready_; }

    // Queues command (without number or newline); done gets the answer (may be empty).
    void Send(const std::string& command, Done done = {}, int timeoutMs = kDefaultTimeoutMs);
    // Starts an analysis stream: update gets each "info" line's candidates on a board of size
    // lines, parsed with scale; done gets the end of the stream.
    void Analyse(const std::string& command, int size, WinrateScale scale, Update update,
                 Done done = {});
    // Ends a running stream (by a harmless command); nothing when none runs.
    void StopAnalysis();
    bool Analysing() const;

    // From list_commands: whether the engine has command.
    bool Knows(const std::string& command) const { return commands_.count(command) > 0; }
    // "GNU Go 3.8": the engine's name and version as it gave them.
    const std::string& Name() const { return name_; }
    // The words it was started with.
    const std::vector<std::string>& CommandLine() const { return commandLine_; }
    // The last lines the engine wrote on standard error (a few), for messages.
    QString RecentStderr() const;

  signals:
    void Ready();
    void Failed(const QString& why);
    void StderrLine(const QString& line);

  private:
    struct Pending {
        int id = 0;
        std::string command;
        Done done;
        int timeoutMs = kDefaultTimeoutMs;
        bool stream = false;
        int size = 0;
        WinrateScale scale = WinrateScale::kFraction;
        Update update;
    };

    void Enqueue(Pending pending);
    void WriteNext();
    void ReadOutput();
    void ReadErrors();
    void Line(const std::string& line);
    void Finish(GtpStatus status);
    void Fail(const QString& why);
    void Abandon();
    QString StartFailure() const;

    std::vector<std::string> commandLine_;
    QProcess* process_ = nullptr;
    QPointer<QProcess> quitting_;  // asked to quit by Stop, not yet gone
    QTimer timer_;
    std::deque<Pending> queue_;    // not yet written
    std::deque<Pending> written_;  // written, oldest first; answers come in this order
    bool replying_ = false;        // the reply of written_.front() has begun
    GtpReply reply_;
    std::string outBuffer_;
    std::string errBuffer_;
    std::deque<QString> recentErrors_;
    int nextId_ = 1;
    bool ready_ = false;
    bool failed_ = false;
    std::set<std::string> commands_;
    std::string name_;
};

// Waits in a local event loop for the answer of command → the reply. For the command line
// and tests: the window uses Send.
GtpReply CallEngine(GtpEngine& engine, const std::string& command,
                    int timeoutMs = GtpEngine::kDefaultTimeoutMs);
// Starts engine and waits until it is ready → "" or the reason it failed (Korean).
QString StartEngine(GtpEngine& engine);

}  // namespace velmora
