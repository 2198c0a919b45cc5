// Apart from the categories, so that the sound module, which logs through them, does not carry it.
#include "logging.h"

#include "common/log.h"

#include <cstring>
#include <string>

namespace velloran {

namespace {

QtMessageHandler qtHandler = nullptr;

void handleMessage(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    // Debug and information lines are asked for with QT_LOGGING_RULES; they say what they are.
    if (context.category != nullptr && std::strncmp(context.category, "velloran.", 9) == 0) {
        if (type == QtDebugMsg || type == QtInfoMsg)
            logDebug(std::string(context.category) + ": " + text.toStdString());
        else
            logWarning(text.toStdString());
    } else if (qtHandler != nullptr)
        qtHandler(type, context, text);
}

} // namespace

void routeProgramLog() {
    qtHandler = qInstallMessageHandler(handleMessage);
}

} // namespace velloran
