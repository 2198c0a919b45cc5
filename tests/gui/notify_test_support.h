// Helpers for the notification windows' tests.
#pragma once

#include "test_doubles.h"

#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <functional>

namespace velloran::test {

// The offscreen platform cannot shape windows and says so at every shape; the tests read the shape from
// the widget, so that warning is only noise.
inline void quietWindowMaskWarnings() {
    static QtMessageHandler previous = nullptr;
    previous =
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context, const QString& text) {
            if (type == QtWarningMsg && text.contains(QLatin1String("does not support setting window masks")))
                return;
            if (previous != nullptr)
                previous(type, context, text);
        });
}

} // namespace velloran::test
