#include "guarded_application.h"

#include "platform/message_box.h"

#include <exception>

namespace velloran {

bool GuardedApplication::notify(QObject* receiver, QEvent* event) {
    // An error must not unwind through Qt's own frames, which are not built for it; it is caught here.
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        stopAt(QString::fromLocal8Bit(error.what()));
    } catch (...) {
        stopAt(tr("An unknown error has occurred."));
    }
    return false;
}

void GuardedApplication::stopAt(const QString& text) {
    // Events still queued behind the first error may fail the same way; the first one is shown.
    if (error_.isEmpty())
        error_ = text.isEmpty() ? tr("An unknown error has occurred.") : text;
    exit(1);
}

int GuardedApplication::run() {
    error_.clear();
    const int result = exec();
    if (error_.isEmpty())
        return result;
    MessageBoxes::error(nullptr, error_);
    return 1;
}

} // namespace velloran
