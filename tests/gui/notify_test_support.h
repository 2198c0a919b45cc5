// Stand-ins for the notification windows' tests: a clock that stands where it is set, and a sound
// player that records what it was asked to do.
#pragma once

#include "common/datetime.h"
#include "platform/sound_player.h"

#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <functional>

namespace velloran::test {

class FixedClock final : public Clock {
public:
    DateTime value = 0;
    DateTime now() const override { return value; }
    std::int64_t unixSeconds() const override { return unixFromLocalDateTime(value); }
};

// A local date-time built from its parts.
inline DateTime localTime(int year, int month, int day, int hour, int minute, int second = 0,
                          int millisecond = 0) {
    DateTime date = 0;
    tryEncodeDate(year, month, day, date);
    return composeDateTime(date, encodeTime(hour, minute, second, millisecond));
}

class RecordingSoundPlayer final : public SoundPlayer {
public:
    QStringList played;
    int stops = 0;
    int beeps = 0;
    bool looping = false;
    std::function<void()> onPlay; // runs inside playLooping, to look at the caller at that moment

    void playLooping(const QString& path) override {
        played << path;
        looping = true;
        if (onPlay)
            onPlay();
    }
    void stop() override {
        ++stops;
        looping = false;
    }
    void beep() override { ++beeps; }
};

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
