#include "failure_notice.h"

#include <QCoreApplication>

namespace velloran {
namespace {

QString reason(const QString& target, OpenFailure why) {
    // A task file brought from Windows keeps its paths, which name nothing here.
    if (isWindowsPath(target.toStdString()))
        return QCoreApplication::translate("FailureNotice",
                                           "%1 is a Windows path, which names nothing on this computer.")
            .arg(target);
    switch (why) {
    case OpenFailure::ProgramMissing:
        return QCoreApplication::translate("FailureNotice", "The program %1 is not there.").arg(target);
    case OpenFailure::CannotStart:
        return QCoreApplication::translate("FailureNotice", "The program %1 cannot be started.").arg(target);
    case OpenFailure::NoOpener:
        return QCoreApplication::translate(
                   "FailureNotice", "%1 cannot be opened: the desktop's opener (xdg-open) is not installed.")
            .arg(target);
    case OpenFailure::BadRequest:
        return QCoreApplication::translate("FailureNotice", "The desktop's opener did not understand %1.")
            .arg(target);
    case OpenFailure::FileMissing:
        return QCoreApplication::translate("FailureNotice", "%1 is not there.").arg(target);
    case OpenFailure::NoProgramForIt:
        return QCoreApplication::translate("FailureNotice", "No program on this computer opens %1.")
            .arg(target);
    case OpenFailure::OpenFailed:
        break;
    }
    return QCoreApplication::translate("FailureNotice", "The program that opens %1 reported a failure.")
        .arg(target);
}

} // namespace

DesktopNotice failureNotice(const QString& name, const QString& target, OpenFailure why) {
    DesktopNotice notice;
    notice.summary =
        QCoreApplication::translate("FailureNotice", "The task \u201c%1\u201d did nothing").arg(name);
    notice.body = reason(target, why);
    return notice;
}

} // namespace velloran
