// The task editor's tests: everything an editor needs, with a program directory of its own and a
// Sounds folder.
#pragma once

#include "editor/button_page_control.h"
#include "editor/set_task_form.h"
#include "platform/ringing_sounds.h"
#include "prefs/settings_record.h"
#include "stand_ins.h"
#include "store/task_kinds.h"
#include "window_checks.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimeEdit>
#include <array>
#include <memory>

namespace velloran::test {

// Everything an editor needs, in a temporary program directory.
struct EditorBench {
    QTemporaryDir dir;
    TaskList stored;
    TaskStore tasks = storeOf(taskFile());
    SettingsRecord settings = defaultSettings();
    RecordingSoundPlayer sound;
    RingingSounds sounds{sound}; // shared with the alarms, as in the program
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

    std::unique_ptr<SetTaskForm> makeForm() {
        return std::make_unique<SetTaskForm>(nullptr, tasks, settings, sounds, opener, clock,
                                             programDirectory());
    }
};

// The editor's controls, found by the names a screen reader or a user's script sees.
struct EditorControls {
    explicit EditorControls(const QWidget& form)
        : GroupBox1(part<QGroupBox>(form, "GroupBox1")), DatePicker(part<QDateEdit>(form, "DatePicker")),
          TimePicker(part<QTimeEdit>(form, "TimePicker")), Label18(part<QLabel>(form, "Label18")),
          RepeatTypeCB(part<QComboBox>(form, "RepeatTypeCB")),
          AutoDeleteCK(part<QCheckBox>(form, "AutoDeleteCK")), GroupBox2(part<QGroupBox>(form, "GroupBox2")),
          Label19(part<QLabel>(form, "Label19")),
          TaskMissedRunRB(part<QRadioButton>(form, "TaskMissedRunRB")),
          TaskMissedSkipRB(part<QRadioButton>(form, "TaskMissedSkipRB")),
          GroupBox3(part<QGroupBox>(form, "GroupBox3")),
          StatusEnabledRB(part<QRadioButton>(form, "StatusEnabledRB")),
          StatusDisabledRB(part<QRadioButton>(form, "StatusDisabledRB")),
          DaysGroupBox(part<QGroupBox>(form, "DaysGroupBox")), DayBoxes{part<QCheckBox>(form, "SunCK"),
                                                                        part<QCheckBox>(form, "MonCK"),
                                                                        part<QCheckBox>(form, "TueCK"),
                                                                        part<QCheckBox>(form, "WedCK"),
                                                                        part<QCheckBox>(form, "ThuCK"),
                                                                        part<QCheckBox>(form, "FriCK"),
                                                                        part<QCheckBox>(form, "SatCK")},
          label3(part<QLabel>(form, "label3")), PageControl(part<ButtonPageControl>(form, "PageControl")),
          SaveBT(part<QPushButton>(form, "SaveBT")), CancelBT(part<QPushButton>(form, "CancelBT")),
          AlarmSoundCB(part<QComboBox>(form, "AlarmSoundCB")),
          PlaySndBT(part<QPushButton>(form, "PlaySndBT")), StopSndBT(part<QPushButton>(form, "StopSndBT")),
          AlarmDescription(part<QLineEdit>(form, "AlarmDescription")),
          MemoDescription(part<QPlainTextEdit>(form, "MemoDescription")),
          SetFontBT(part<QPushButton>(form, "SetFontBT")), ExePath(part<QLineEdit>(form, "ExePath")),
          BrowseExe(part<QPushButton>(form, "BrowseExe")), ExeArg(part<QLineEdit>(form, "ExeArg")),
          ExeDescription(part<QLineEdit>(form, "ExeDescription")),
          WebAddress(part<QLineEdit>(form, "WebAddress")), WebVerify(part<QPushButton>(form, "WebVerify")),
          WebDescription(part<QLineEdit>(form, "WebDescription")),
          AudioPath(part<QLineEdit>(form, "AudioPath")), BrowseAudio(part<QPushButton>(form, "BrowseAudio")),
          AudioDescription(part<QLineEdit>(form, "AudioDescription")),
          VideoPath(part<QLineEdit>(form, "VideoPath")), BrowseVideo(part<QPushButton>(form, "BrowseVideo")),
          VideoDescription(part<QLineEdit>(form, "VideoDescription")),
          DocPath(part<QLineEdit>(form, "DocPath")), BrowseDoc(part<QPushButton>(form, "BrowseDoc")),
          DocDescription(part<QLineEdit>(form, "DocDescription")),
          GeneralPath(part<QLineEdit>(form, "GeneralPath")),
          BrowseGeneral(part<QPushButton>(form, "BrowseGeneral")),
          GeneralDescription(part<QLineEdit>(form, "GeneralDescription")) {}

    QGroupBox* GroupBox1;
    QDateEdit* DatePicker;
    QTimeEdit* TimePicker;
    QLabel* Label18;
    QComboBox* RepeatTypeCB;
    QCheckBox* AutoDeleteCK;
    QGroupBox* GroupBox2;
    QLabel* Label19;
    QRadioButton* TaskMissedRunRB;
    QRadioButton* TaskMissedSkipRB;
    QGroupBox* GroupBox3;
    QRadioButton* StatusEnabledRB;
    QRadioButton* StatusDisabledRB;
    QGroupBox* DaysGroupBox;
    std::array<QCheckBox*, 7> DayBoxes; // SunCK .. SatCK
    QLabel* label3;
    ButtonPageControl* PageControl;
    QPushButton* SaveBT;
    QPushButton* CancelBT;
    QComboBox* AlarmSoundCB;
    QPushButton* PlaySndBT;
    QPushButton* StopSndBT;
    QLineEdit* AlarmDescription;
    QPlainTextEdit* MemoDescription;
    QPushButton* SetFontBT;
    QLineEdit* ExePath;
    QPushButton* BrowseExe;
    QLineEdit* ExeArg;
    QLineEdit* ExeDescription;
    QLineEdit* WebAddress;
    QPushButton* WebVerify;
    QLineEdit* WebDescription;
    QLineEdit* AudioPath;
    QPushButton* BrowseAudio;
    QLineEdit* AudioDescription;
    QLineEdit* VideoPath;
    QPushButton* BrowseVideo;
    QLineEdit* VideoDescription;
    QLineEdit* DocPath;
    QPushButton* BrowseDoc;
    QLineEdit* DocDescription;
    QLineEdit* GeneralPath;
    QPushButton* BrowseGeneral;
    QLineEdit* GeneralDescription;

    // The path or address box and the description box of a kind's page, by the names of the kind table.
    QLineEdit* targetBox(int kind) const { return boxNamed(taskKind(kind)->targetBoxName); }
    QLineEdit* descriptionBox(int kind) const { return boxNamed(taskKind(kind)->descriptionName); }

private:
    QLineEdit* boxNamed(std::string_view name) const {
        return GroupBox1->window()->findChild<QLineEdit*>(
            QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
    }
};

inline EditorControls controls(const QWidget& form) {
    return EditorControls(form);
}

} // namespace velloran::test
