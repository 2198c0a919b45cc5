// The task editor's tests: everything an editor needs, with a program directory of its own and a
// Sounds folder.
#pragma once

#include "editor/set_task_form.h"
#include "prefs/settings_record.h"
#include "stand_ins.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

namespace velloran::test {

// Everything an editor needs, in a temporary program directory.
struct EditorBench {
    QTemporaryDir dir;
    TaskList stored;
    TaskStore tasks = storeOf(taskFile());
    SettingsRecord settings = defaultSettings();
    RecordingSoundPlayer sound;
    RecordingOpener opener;
    FixedClock clock;

    EditorBench() { clock.value = test::at(2024, 3, 10, 12, 0, 0); }

    std::string programDirectory() const { return dir.path().toStdString() + "/"; }
    QString taskFile() const { return dir.filePath(QStringLiteral("tasks.tsk")); }

    // A store for this task file, holding the tasks stored so far as if it had read them.
    TaskStore storeOf(const QString& file) const {
        return TaskStore(file.toStdString(),
                         dir.filePath(QStringLiteral("state/tasks.journal")).toStdString(), stored);
    }
    void addStored(const Task& task) {
        stored.appendLoaded(task);
        tasks = storeOf(taskFile());
    }

    void addSound(const QString& name) {
        QDir(dir.path()).mkpath(QStringLiteral("Sounds"));
        QFile file(dir.filePath(QStringLiteral("Sounds/") + name));
        file.open(QIODevice::WriteOnly);
        file.write("RIFF");
    }

    std::unique_ptr<TSetTaskForm> makeForm() {
        return std::make_unique<TSetTaskForm>(nullptr, tasks, settings, sound, opener, clock,
                                              programDirectory());
    }
};

} // namespace velloran::test
