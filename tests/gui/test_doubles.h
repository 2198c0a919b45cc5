// Stand-ins the window tests share: a clock that stands where it is set, and a sound player and an
// opener that record what they were asked to do.
#pragma once

#include "common/datetime.h"
#include "platform/sound_player.h"
#include "scheduler/task_actions.h"

#include <QStringList>
#include <functional>
#include <string>
#include <vector>

namespace velloran::test {

class FixedClock final : public Clock {
public:
    DateTime value = 0;
    DateTime now() const override { return value; }
    std::int64_t unixSeconds() const override { return unixFromLocalDateTime(value); }
};

// A local date-time built from its parts.
inline DateTime localTime(int year, int month, int day, int hour = 0, int minute = 0, int second = 0,
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

class RecordingOpener final : public Opener {
public:
    std::vector<std::string> opened;
    void open(const std::string& target) override { opened.push_back(target); }
    void runProgram(const std::string& path, const std::vector<std::string>&) override {
        opened.push_back(path);
    }
};

} // namespace velloran::test
