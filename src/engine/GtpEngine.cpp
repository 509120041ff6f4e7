#include "engine/GtpEngine.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QStandardPaths>

namespace velmora {

namespace {

constexpr int kRecentErrorLines = 3;
constexpr int kQuitGraceMs = 2000;

QString Quoted(const std::string& text) { return "'" + QString::fromStdString(text) + "'"; }

}  // namespace

GtpEngine::GtpEngine(std::vector<std::string> commandLine, QObject* parent)
    : QObject(parent), commandLine_(std::move(commandLine)) {
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, [this] {
        if (written_.empty()) return;
        const Pending& late = written_.back();
        Fail(QString("엔진이 %1초 동안 답하지 않습니다 (명령 %2)")
                 .arg(late.timeoutMs / 1000.0)
                 .arg(Quoted(late.command)));
    });
}

GtpEngine::~GtpEngine() {
    // An engine asked to quit gets a moment; the process never outlives its owner.
    if (quitting_ && !quitting_->waitForFinished(kQuitGraceMs / 4)) {
        quitting_->kill();
        quitting_->waitForFinished(1000);
    }
    if (!process_) return;
    process_->disconnect(this);
    if (process_->state() != QProcess::NotRunning) {
        process_->kill();
        process_->waitForFinished(1000);
    }
}

void GtpEngine::Start() {
    if (process_) {
        process_->disconnect(this);
        process_->kill();
        process_->waitForFinished(1000);
        delete process_;
        process_ = nullptr;
    }
    failed_ = false;
    ready_ = false;
    replying_ = false;
    outBuffer_.clear();
    errBuffer_.clear();
    commands_.clear();
    written_.clear();
    if (commandLine_.empty()) return Fail("엔진 명령이 비어 있습니다");

    process_ = new QProcess(this);
    connect(process_, &QProcess::readyReadStandardOutput, this, &GtpEngine::ReadOutput);
    connect(process_, &QProcess::readyReadStandardError, this, &GtpEngine::ReadErrors);
    connect(process_, &QProcess::started, this, &GtpEngine::WriteNext);
    connect(process_, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) Fail(StartFailure());
    });
    connect(process_, &QProcess::finished, this, [this](int code, QProcess::ExitStatus status) {
        ReadOutput();
        ReadErrors();
        QString why = status == QProcess::CrashExit
                          ? QString("엔진이 비정상 종료했습니다")
                          : QString("엔진이 끝났습니다 (종료 코드 %1)").arg(code);
        if (!recentErrors_.empty()) why += ": " + recentErrors_.back();
        Fail(why);
    });

    Send("name", [this](const GtpReply& r) {
        if (r.Ok()) name_ = r.text;
    });
    Send("version", [this](const GtpReply& r) {
        if (r.Ok() && !r.text.empty()) name_ += (name_.empty() ? "" : " ") + r.text;
    });
    Send("list_commands", [this](const GtpReply& r) {
        if (!r.Ok()) return;
        std::size_t start = 0;
        while (start <= r.text.size()) {
            std::size_t end = r.text.find('\n', start);
            if (end == std::string::npos) end = r.text.size();
            if (end > start) commands_.insert(r.text.substr(start, end - start));
            start = end + 1;
        }
        ready_ = true;
        emit Ready();
    });
    QStringList arguments;
    for (std::size_t i = 1; i < commandLine_.size(); ++i)
        arguments << QString::fromStdString(commandLine_[i]);
    process_->start(QString::fromStdString(commandLine_.front()), arguments);
}

QString GtpEngine::StartFailure() const {
    const QString program = QString::fromStdString(commandLine_.front());
    const QString found =
        program.contains('/') ? program : QStandardPaths::findExecutable(program);
    const QFileInfo file(found);
    if (found.isEmpty() || !file.exists())
        return QString("엔진 프로그램 %1을(를) 찾을 수 없습니다").arg("'" + program + "'");
    if (file.isDir()) return QString("엔진 프로그램 %1은(는) 폴더입니다").arg("'" + program + "'");
    if (!file.isExecutable())
        return QString("엔진 프로그램 %1에 실행 권한이 없습니다").arg("'" + program + "'");
    return QString("엔진 프로그램 %1을(를) 시작할 수 없습니다: %2")
        .arg("'" + program + "'", process_ ? process_->errorString() : QString());
}

void GtpEngine::Stop() {
    ready_ = false;
    failed_ = true;
    Abandon();
    if (!process_) return;
    QProcess* process = process_;
    process_ = nullptr;
    process->disconnect(this);
    if (process->state() == QProcess::NotRunning) {
        process->deleteLater();
        return;
    }
    quitting_ = process;
    process->write("quit\n");
    process->closeWriteChannel();
    connect(process, &QProcess::finished, process, &QObject::deleteLater);
    QTimer::singleShot(kQuitGraceMs, process, [process] { process->kill(); });
}

void GtpEngine::Send(const std::string& command, Done done, int timeoutMs) {
    Pending pending;
    pending.command = command;
    pending.done = std::move(done);
    pending.timeoutMs = timeoutMs;
    Enqueue(std::move(pending));
}

void GtpEngine::Analyse(const std::string& command, int size, WinrateScale scale, Update update,
                        Done done) {
    Pending pending;
    pending.command = command;
    pending.done = std::move(done);
    pending.stream = true;
    pending.size = size;
    pending.scale = scale;
    pending.update = std::move(update);
    Enqueue(std::move(pending));
}

bool GtpEngine::Analysing() const {
    return !written_.empty() && written_.front().stream && replying_;
}

void GtpEngine::StopAnalysis() {
    if (Analysing() && written_.size() == 1) Send("protocol_version");
}

void GtpEngine::Enqueue(Pending pending) {
    pending.id = nextId_++;
    if (failed_) {
        // Answered from the event loop, as a live engine would: a caller is never re-entered.
        QMetaObject::invokeMethod(
            this, [done = std::move(pending.done)] { if (done) done({GtpStatus::kStopped, {}}); },
            Qt::QueuedConnection);
        return;
    }
    queue_.push_back(std::move(pending));
    WriteNext();
}

void GtpEngine::WriteNext() {
    if (!process_ || process_->state() != QProcess::Running || failed_) return;
    // A running stream ends when the next command is written; otherwise one at a time.
    while (!queue_.empty() && (written_.empty() || (written_.size() == 1 && Analysing()))) {
        written_.push_back(std::move(queue_.front()));
        queue_.pop_front();
        const Pending& next = written_.back();
        process_->write((std::to_string(next.id) + " " + next.command + "\n").c_str());
        timer_.start(next.timeoutMs);
    }
}

void GtpEngine::ReadOutput() {
    if (!process_) return;
    outBuffer_ += process_->readAllStandardOutput().toStdString();
    std::size_t start = 0;
    for (std::size_t end; !failed_ && (end = outBuffer_.find('\n', start)) != std::string::npos;
         start = end + 1) {
        std::string line = outBuffer_.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        Line(line);
    }
    if (failed_) return;
    outBuffer_.erase(0, start);
}

void GtpEngine::ReadErrors() {
    if (!process_) return;
    errBuffer_ += process_->readAllStandardError().toStdString();
    std::size_t start = 0;
    for (std::size_t end; (end = errBuffer_.find('\n', start)) != std::string::npos;
         start = end + 1) {
        const QString line =
            QString::fromUtf8(errBuffer_.data() + start, static_cast<qsizetype>(end - start)).trimmed();
        if (line.isEmpty()) continue;
        recentErrors_.push_back(line);
        if (recentErrors_.size() > kRecentErrorLines) recentErrors_.pop_front();
        emit StderrLine(line);
    }
    errBuffer_.erase(0, start);
}

QString GtpEngine::RecentStderr() const {
    QStringList lines(recentErrors_.begin(), recentErrors_.end());
    return lines.join(" / ");
}

void GtpEngine::Line(const std::string& line) {
    if (!replying_) {
        if (line.empty()) return;
        std::size_t digits = 1;
        while (digits < line.size() && line[digits] >= '0' && line[digits] <= '9') ++digits;
        const bool answer = (line[0] == '=' || line[0] == '?') && !written_.empty() &&
                            (digits == 1 || line.substr(1, digits - 1) ==
                                                std::to_string(written_.front().id));
        if (!answer)
            return Fail(QString("엔진이 GTP 답이 아닌 것을 보냈습니다: %1")
                            .arg(Quoted(line.substr(0, 80))));
        replying_ = true;
        reply_.status = line[0] == '=' ? GtpStatus::kOk : GtpStatus::kRefused;
        reply_.text = digits < line.size() ? line.substr(digits + 1) : std::string();
        // A stream runs as long as it is wanted: the time counts again for the command that ends it.
        if (Analysing() && written_.size() == 1) timer_.stop();
        return;
    }
    if (line.empty()) return Finish(reply_.status);
    Pending& front = written_.front();
    if (front.stream && reply_.Ok()) {
        if (line.rfind("info", 0) == 0 && front.update)
            front.update(ParseAnalysisLine(line, front.size, front.scale));
        return;
    }
    reply_.text += (reply_.text.empty() ? "" : "\n") + line;
}

void GtpEngine::Finish(GtpStatus status) {
    Pending done = std::move(written_.front());
    written_.pop_front();
    replying_ = false;
    GtpReply reply = std::move(reply_);
    reply.status = status;
    reply_ = {};
    if (written_.empty())
        timer_.stop();
    else
        timer_.start(written_.front().timeoutMs);
    WriteNext();
    if (done.done) done.done(reply);
}

void GtpEngine::Fail(const QString& why) {
    if (failed_) return;
    failed_ = true;
    ready_ = false;
    timer_.stop();
    if (process_) {
        process_->disconnect(this);
        if (process_->state() == QProcess::NotRunning) {
            process_->deleteLater();
        } else {
            connect(process_, &QProcess::finished, process_, &QObject::deleteLater);
            process_->kill();
            quitting_ = process_;
        }
        process_ = nullptr;
    }
    emit Failed(why);
    Abandon();
}

void GtpEngine::Abandon() {
    std::deque<Pending> dropped = std::move(written_);
    for (Pending& p : queue_) dropped.push_back(std::move(p));
    written_.clear();
    queue_.clear();
    replying_ = false;
    for (Pending& p : dropped)
        if (p.done) p.done({GtpStatus::kStopped, {}});
}

GtpReply CallEngine(GtpEngine& engine, const std::string& command, int timeoutMs) {
    QEventLoop loop;
    GtpReply reply;
    engine.Send(command, [&](const GtpReply& r) {
        reply = r;
        loop.quit();
    }, timeoutMs);
    loop.exec();
    return reply;
}

QString StartEngine(GtpEngine& engine) {
    QEventLoop loop;
    QString why;
    const auto ready = QObject::connect(&engine, &GtpEngine::Ready, &loop, &QEventLoop::quit);
    const auto failed = QObject::connect(&engine, &GtpEngine::Failed, &loop, [&](const QString& w) {
        why = w;
        loop.quit();
    });
    engine.Start();
    loop.exec();
    QObject::disconnect(ready);
    QObject::disconnect(failed);
    return why;
}

}  // namespace velmora
