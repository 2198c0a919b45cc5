#include "help_target.h"

#include "detached_start.h"
#include "files/program_directory.h"

#include <QProcess>
#include <QStringList>
#include <QTimer>
#include <memory>

namespace velloran {

HelpTarget::HelpTarget(std::string programDirectory, QObject* parent, int timeoutMs, QString queryProgram,
                       std::string language)
    : QObject(parent), programDirectory_(std::move(programDirectory)), timeoutMs_(timeoutMs),
      queryProgram_(std::move(queryProgram)), language_(std::move(language)) {}

void HelpTarget::find(std::function<void(const std::string& path)> open) {
    // The query runs only when both files are there and it can change the answer.
    if (!helpViewerMatters(programDirectory_, language_)) {
        open(chooseHelpFile(programDirectory_, false, language_));
        return;
    }
    auto* query = new QProcess(this);
    auto* limit = new QTimer(query);
    limit->setSingleShot(true);
    // Whichever comes first, the answer, the failure or the time limit, decides; the rest is ignored.
    struct Pending {
        std::function<void(const std::string&)> open;
        bool decided = false;
    };
    const auto pending = std::make_shared<Pending>(Pending{std::move(open)});
    const auto decide = [this, query, limit, pending](bool registered) {
        if (pending->decided)
            return;
        pending->decided = true;
        limit->stop();
        query->deleteLater();
        pending->open(chooseHelpFile(programDirectory_, registered, language_));
    };
    connect(query, &QProcess::finished, this, [query, decide](int exitCode, QProcess::ExitStatus status) {
        decide(status == QProcess::NormalExit && exitCode == 0 &&
               !QString::fromLocal8Bit(query->readAllStandardOutput()).trimmed().isEmpty());
    });
    connect(query, &QProcess::errorOccurred, this, [decide](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            decide(false);
    });
    connect(limit, &QTimer::timeout, this, [query, decide] {
        query->kill();
        decide(false);
    });
    query->setProcessChannelMode(QProcess::SeparateChannels);
    query->setStandardInputFile(QProcess::nullDevice());
    // Qt closes none of the descriptors it does not know of; the query gets none of them either.
    query->setChildProcessModifier(closeOnExecAboveStandard);
    limit->start(timeoutMs_);
    query->start(queryProgram_,
                 {QStringLiteral("query"), QStringLiteral("default"), QLatin1String(kHelpMimeType)});
}

} // namespace velloran
