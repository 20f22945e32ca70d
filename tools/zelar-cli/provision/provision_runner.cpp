#include "provision/provision_runner.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryFile>
#include <algorithm>

#include "interrupt.h"
#include "provision/provision_report.h"

namespace zelar::cli {

namespace {

// A signal handler may only set a flag; the loop looks at it this often.
constexpr int kInterruptWatchMs = 100;
// How long an interrupted child has to end its exchange before it is killed.
constexpr int kEndGraceMs = 10000;
// What a step's output and error lines are kept to: the read's JSON is about 40 KiB.
constexpr std::size_t kLargestOutput = 4 << 20;
constexpr std::size_t kErrorLinesKept = 20;
// The message of a port that an interrupt left unfinished.
constexpr const char* kInterruptedMessage = "прервано";

QString qt(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

struct ProvisionRunner::Job {
    std::size_t index = 0;
    std::vector<ProvisionStep> steps;
    std::size_t at = 0;  // the step under way
    QProcess* process = nullptr;
    std::unique_ptr<QTemporaryFile> script;  // the port's script, removed with the job
    QElapsedTimer clock;
    std::string output;
    std::string errorPart;  // the start of a line still to come
    std::vector<std::string> errorLines;
    int quarterShown = 0;  // the last quarter of the step's progress told as an event

    ProvisionStep step() const { return steps[at]; }
};

ProvisionRunner::ProvisionRunner(const ProvisionPlan& plan, ProvisionView& view)
    : plan_(plan), view_(view) {
    for (const std::string& port : plan.ports)
        ports_.emplace_back().port = port;
    connect(&interruptWatch_, &QTimer::timeout, this, [this] {
        if (interrupted())
            interrupt();
    });
}

ProvisionRunner::~ProvisionRunner() = default;

std::vector<PortProgress> ProvisionRunner::run() {
    interruptWatch_.start(kInterruptWatchMs);
    startPorts();
    if (!jobs_.empty())
        loop_.exec();
    interruptWatch_.stop();
    view_.finished(ports_);
    return ports_;
}

void ProvisionRunner::startPorts() {
    while (!interrupted_ && jobs_.size() < plan_.jobs && next_ < ports_.size()) {
        auto job = std::make_unique<Job>();
        job->index = next_++;
        job->steps = provisionSteps(plan_);
        job->clock.start();
        ports_[job->index].result = PortResult::Running;
        jobs_.push_back(std::move(job));
        startStep(*jobs_.back());
    }
    if (jobs_.empty())
        loop_.quit();
}

void ProvisionRunner::startStep(Job& job) {
    PortProgress& port = ports_[job.index];
    port.step = stepName(job.step());
    port.percent = 0;
    job.quarterShown = 0;
    job.output.clear();
    job.errorLines.clear();
    if (job.step() == ProvisionStep::Script && !writeScript(job))
        return;
    // A new process a step, so that no signal of the last step's child reaches this one.
    dropProcess(job);
    job.process = new QProcess(this);
    connect(job.process, &QProcess::readyReadStandardOutput, this,
            [this, &job] { readOutput(job); });
    connect(job.process, &QProcess::readyReadStandardError, this,
            [this, &job] { readErrors(job); });
    connect(job.process, &QProcess::finished, this,
            [this, &job](int code, QProcess::ExitStatus status) {
                stepEnded(job, status == QProcess::NormalExit ? code : -1);
            });
    // A child that cannot start reports no end: its failure is taken once start() is done.
    connect(
        job.process, &QProcess::errorOccurred, this,
        [this, &job](QProcess::ProcessError error) {
            if (error == QProcess::FailedToStart)
                endPort(job, PortResult::Failed,
                        "cannot start zelar-cli: " + job.process->errorString().toStdString());
        },
        Qt::QueuedConnection);
    QStringList arguments;
    for (const std::string& argument : stepArguments(
             job.step(), plan_, port.port, job.script ? job.script->fileName().toStdString() : ""))
        arguments << qt(argument);
    show(job.index, port.step + ": started");
    job.process->start(QCoreApplication::applicationFilePath(), arguments);
}

// The port's script with its values in a private temporary file; false when the port failed.
bool ProvisionRunner::writeScript(Job& job) {
    const PortProgress& port = ports_[job.index];
    const ProvisionValues* values = plan_.values ? &*plan_.values : nullptr;
    const CsvRow* row = values ? findValuesRow(*values, port.port, port.serial) : nullptr;
    const Substitution script = substituteValues(*plan_.script, port.port, values, row);
    if (!script.error.empty()) {
        endPort(job, PortResult::Failed, script.error);
        return false;
    }
    job.script =
        std::make_unique<QTemporaryFile>(QDir::temp().filePath("zelar-provision-XXXXXX.txt"));
    const auto size = static_cast<qint64>(script.text.size());
    if (!job.script->open() || job.script->write(script.text.data(), size) != size) {
        endPort(
            job, PortResult::Failed,
            "cannot write the script's temporary file: " + job.script->errorString().toStdString());
        return false;
    }
    job.script->close();
    return true;
}

void ProvisionRunner::readOutput(Job& job) {
    const QByteArray bytes = job.process->readAllStandardOutput();
    if (job.output.size() < kLargestOutput)
        job.output.append(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

void ProvisionRunner::readErrors(Job& job) {
    const QByteArray bytes = job.process->readAllStandardError();
    job.errorPart.append(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    for (auto end = job.errorPart.find('\n'); end != std::string::npos;
         end = job.errorPart.find('\n')) {
        std::string line = job.errorPart.substr(0, end);
        job.errorPart.erase(0, end + 1);
        takeErrorLine(job, std::move(line));
    }
    // A line without its end that long is no line of zelar-cli's.
    if (job.errorPart.size() > kLargestOutput)
        job.errorPart.clear();
}

void ProvisionRunner::takeErrorLine(Job& job, std::string line) {
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    if (line.empty())
        return;
    PortProgress& port = ports_[job.index];
    if (const auto percent = progressPercent(line)) {
        port.percent = *percent;
        const int quarter = *percent / 25;
        // Lines tell only each quarter passed; the table shows every move.
        show(job.index, quarter > job.quarterShown && quarter < 4
                            ? port.step + ": " + std::to_string(quarter * 25) + "%"
                            : "");
        job.quarterShown = std::max(job.quarterShown, quarter);
        return;
    }
    job.errorLines.push_back(std::move(line));
    if (job.errorLines.size() > kErrorLinesKept)
        job.errorLines.erase(job.errorLines.begin());
}

void ProvisionRunner::stepEnded(Job& job, int status) {
    readOutput(job);
    readErrors(job);
    if (!job.errorPart.empty())
        takeErrorLine(job, std::exchange(job.errorPart, {}));
    if (status != 0) {
        endPort(job, PortResult::Failed,
                interrupted_ ? kInterruptedMessage
                             : childMessage(job.step(), job.errorLines, job.output, status));
        return;
    }
    if (job.step() == ProvisionStep::Read && !takeIdentification(job))
        return;
    show(job.index, ports_[job.index].step + ": ok");
    if (++job.at == job.steps.size()) {
        endPort(job, PortResult::Ok, {});
        return;
    }
    if (interrupted_) {
        ports_[job.index].step = stepName(job.step());
        endPort(job, PortResult::Failed, kInterruptedMessage);
        return;
    }
    startStep(job);
}

bool ProvisionRunner::takeIdentification(Job& job) {
    const auto id = identificationFromJson(job.output);
    if (!id) {
        endPort(job, PortResult::Failed, "the read gave no identification");
        return false;
    }
    PortProgress& port = ports_[job.index];
    port.serial = id->serial;
    port.firmware = id->firmware;
    port.imei = id->imei;
    show(job.index,
         "serial number " + port.serial + ", firmware " + port.firmware + ", IMEI " + port.imei);
    return true;
}

void ProvisionRunner::endPort(Job& job, PortResult result, const std::string& message) {
    PortProgress& port = ports_[job.index];
    port.result = result;
    port.message = message;
    port.seconds = static_cast<double>(job.clock.elapsed()) / 1000;
    if (result == PortResult::Ok)
        port.percent = 100;
    show(job.index, result == PortResult::Ok ? "ok, " + secondsText(port.seconds) + " s"
                                             : port.step + ": failed: " + message);
    dropProcess(job);
    // The job is gone after this: its connections were its last users.
    std::erase_if(jobs_, [&job](const std::unique_ptr<Job>& j) { return j.get() == &job; });
    startPorts();
}

void ProvisionRunner::dropProcess(Job& job) {
    if (!job.process)
        return;
    disconnect(job.process, nullptr, this, nullptr);
    // Its own signal may be under way: it goes once that has returned.
    job.process->deleteLater();
    job.process = nullptr;
}

void ProvisionRunner::interrupt() {
    if (interrupted_)
        return;
    interrupted_ = true;
    interruptWatch_.stop();
    for (; next_ < ports_.size(); ++next_) {
        PortProgress& port = ports_[next_];
        port.result = PortResult::Failed;
        port.step = stepName(provisionSteps(plan_).front());
        port.message = kInterruptedMessage;
        show(next_, "not started: " + std::string(kInterruptedMessage));
    }
    for (const auto& job : jobs_) {
        if (job->process)
            job->process->terminate();
    }
    QTimer::singleShot(kEndGraceMs, this, &ProvisionRunner::killChildren);
}

void ProvisionRunner::killChildren() {
    for (const auto& job : jobs_) {
        if (job->process)
            job->process->kill();
    }
}

void ProvisionRunner::show(std::size_t index, const std::string& event) {
    view_.changed(ports_, index, event);
}

}  // namespace zelar::cli
