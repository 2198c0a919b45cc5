#include "help_target.h"

#include "files/program_directory.h"

#include <QProcess>
#include <QStringList>

namespace velloran {

std::string defaultApplicationFor(const std::string& mimeType, int timeoutMs,
                                  const std::string& queryProgram) {
    QProcess query;
    query.setProcessChannelMode(QProcess::SeparateChannels);
    query.setStandardInputFile(QProcess::nullDevice());
    query.start(QString::fromStdString(queryProgram),
                {QStringLiteral("query"), QStringLiteral("default"), QString::fromStdString(mimeType)});
    if (!query.waitForStarted(timeoutMs))
        return {};
    if (!query.waitForFinished(timeoutMs)) {
        query.kill();
        query.waitForFinished(timeoutMs);
        return {};
    }
    if (query.exitStatus() != QProcess::NormalExit || query.exitCode() != 0)
        return {};
    return QString::fromLocal8Bit(query.readAllStandardOutput()).trimmed().toStdString();
}

std::string helpTarget(const std::string& programDirectory) {
    // The query runs only when both files are there and it can change the answer.
    const bool registered =
        helpViewerMatters(programDirectory) && !defaultApplicationFor(kHelpMimeType).empty();
    return chooseHelpFile(programDirectory, registered);
}

} // namespace velloran
