// Stand-ins for the task editor's tests: a clock that stands where it is set, recording sound player
// and opener, and a program directory of its own with a Sounds folder.
#pragma once

#include "editor/set_task_form.h"
#include "platform/sound_player.h"
#include "prefs/settings_record.h"
#include "scheduler/task_actions.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

namespace velloran::test {

class FixedClock final : public Clock {
public:
    DateTime value = 0;
    DateTime now() const override { return value; }
    std::int64_t unixSeconds() const override { return unixFromLocalDateTime(value); }
};

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
    void playLooping(const QString& path) override { played << path; }
    void stop() override { ++stops; }
    void beep() override {}
};

class RecordingOpener final : public Opener {
public:
    std::vector<std::string> opened;
    void open(const std::string& target) override { opened.push_back(target); }
    void runProgram(const std::string& path, const std::vector<std::string>&) override {
        opened.push_back(path);
    }
};

// Everything an editor needs, in a temporary program directory.
struct EditorBench {
    QTemporaryDir dir;
    TaskList tasks;
    SettingsRecord settings = defaultSettings();
    RecordingSoundPlayer sound;
    RecordingOpener opener;
    FixedClock clock;

    EditorBench() { clock.value = localTime(2024, 3, 10, 12, 0, 0); }

    std::string programDirectory() const { return dir.path().toStdString() + "/"; }
    QString taskFile() const { return dir.filePath(QStringLiteral("tasks.tsk")); }

    void addSound(const QString& name) {
        QDir(dir.path()).mkpath(QStringLiteral("Sounds"));
        QFile file(dir.filePath(QStringLiteral("Sounds/") + name));
        file.open(QIODevice::WriteOnly);
        file.write("RIFF");
    }

    std::unique_ptr<TSetTaskForm> makeForm() {
        return std::make_unique<TSetTaskForm>(nullptr, tasks, settings, sound, opener, clock,
                                              programDirectory(), taskFile().toStdString());
    }
};

} // namespace velloran::test
