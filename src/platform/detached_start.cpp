#include "detached_start.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace velloran {
namespace {

// The record a child writes to the report pipe: at most two, each written at once (below PIPE_BUF).
struct Report {
    int kind;
    int value;
};

constexpr int kReportDescriptor = 3;

// Between fork and exec only calls that are safe after fork in a threaded program are made.
void closeFrom(int first) {
#ifdef SYS_close_range
    if (::syscall(SYS_close_range, static_cast<unsigned>(first), ~0U, 0U) == 0)
        return;
#endif
    const long limit = ::sysconf(_SC_OPEN_MAX);
    for (int fd = first; fd < (limit > 0 ? limit : 65536); ++fd)
        ::close(fd);
}

} // namespace

void closeOnExecAboveStandard() {
#ifdef SYS_close_range
    constexpr unsigned kCloseRangeCloexec = 1U << 2; // CLOSE_RANGE_CLOEXEC, Linux 5.11
    if (::syscall(SYS_close_range, 3U, ~0U, kCloseRangeCloexec) == 0)
        return;
#endif
    const long limit = ::sysconf(_SC_OPEN_MAX);
    for (int fd = 3; fd < (limit > 0 ? limit : 65536); ++fd)
        ::fcntl(fd, F_SETFD, FD_CLOEXEC);
}

namespace {

void writeReport(StartOutcome::Kind kind, int value) {
    const Report report{static_cast<int>(kind), value};
    while (::write(kReportDescriptor, &report, sizeof report) < 0 && errno == EINTR) {
    }
}

[[noreturn]] void runInChild(int reportFd, const char* program, char* const* argv, bool searchPath,
                             bool waitForExit) {
    ::setsid();
    // The report pipe becomes descriptor 3 and closes as the program is started; all else above 2 goes.
    if (reportFd != kReportDescriptor)
        ::dup2(reportFd, kReportDescriptor);
    ::fcntl(kReportDescriptor, F_SETFD, FD_CLOEXEC);
    closeFrom(kReportDescriptor + 1);
    const pid_t grandchild = ::fork();
    if (grandchild == 0) {
        sigset_t none;
        sigemptyset(&none);
        ::sigprocmask(SIG_SETMASK, &none, nullptr);
        ::signal(SIGPIPE, SIG_DFL);
        // A path is run as it is: no file that is not a program is handed to a shell instead.
        if (searchPath)
            ::execvp(program, argv);
        else
            ::execv(program, argv);
        writeReport(StartOutcome::Kind::CannotStart, errno);
        ::_exit(127);
    }
    if (grandchild < 0) {
        writeReport(StartOutcome::Kind::CannotStart, errno);
        ::_exit(1);
    }
    if (waitForExit) {
        int status = 0;
        while (::waitpid(grandchild, &status, 0) < 0 && errno == EINTR) {
        }
        if (WIFSIGNALED(status))
            writeReport(StartOutcome::Kind::Killed, WTERMSIG(status));
        else
            writeReport(StartOutcome::Kind::Exited, WEXITSTATUS(status));
    }
    ::_exit(0);
}

// Reads the reports until the pipe closes, then reaps the intermediate child and tells the outcome.
class ReportReader final : public QObject {
public:
    ReportReader(int fd, pid_t child, std::function<void(StartOutcome)> done)
        : QObject(QCoreApplication::instance()), fd_(fd), child_(child), done_(std::move(done)),
          notifier_(fd, QSocketNotifier::Read, this) {
        connect(&notifier_, &QSocketNotifier::activated, this, &ReportReader::readable);
    }
    ~ReportReader() override {
        if (fd_ >= 0)
            ::close(fd_);
    }
    ReportReader(const ReportReader&) = delete;
    ReportReader& operator=(const ReportReader&) = delete;

private:
    void readable() {
        char buffer[64];
        const ssize_t got = ::read(fd_, buffer, sizeof buffer);
        if (got < 0 && (errno == EINTR || errno == EAGAIN))
            return;
        if (got > 0) {
            received_.append(buffer, static_cast<std::size_t>(got));
            return;
        }
        notifier_.setEnabled(false);
        while (::waitpid(child_, nullptr, 0) < 0 && errno == EINTR) {
        }
        // The first report is what happened; an exit status after a failed start says nothing more.
        StartOutcome outcome;
        if (received_.size() >= sizeof(Report)) {
            Report report{};
            received_.copy(reinterpret_cast<char*>(&report), sizeof report);
            outcome = {static_cast<StartOutcome::Kind>(report.kind), report.value};
        }
        if (done_)
            done_(outcome);
        deleteLater();
    }

    int fd_;
    pid_t child_;
    std::function<void(StartOutcome)> done_;
    QSocketNotifier notifier_;
    std::string received_;
};

} // namespace

void startDetached(const std::string& program, const std::vector<std::string>& arguments, bool waitForExit,
                   std::function<void(StartOutcome)> done) {
    // Everything the child needs is made before the fork: after it, no memory may be allocated.
    std::vector<std::string> words{program};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    const bool searchPath = program.find('/') == std::string::npos;
    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0) {
        if (done)
            done({StartOutcome::Kind::CannotStart, errno});
        return;
    }
    const pid_t child = ::fork();
    if (child == 0)
        runInChild(report[1], program.c_str(), argv.data(), searchPath, waitForExit);
    const int forkError = errno;
    ::close(report[1]);
    if (child < 0) {
        ::close(report[0]);
        if (done)
            done({StartOutcome::Kind::CannotStart, forkError});
        return;
    }
    ::fcntl(report[0], F_SETFL, O_NONBLOCK);
    new ReportReader(report[0], child, std::move(done)); // owned by the application; goes by itself
}

} // namespace velloran
