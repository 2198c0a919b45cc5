// TPreferencesForm: shows the settings record and the start-at-logon entry, and saves them back.
// Shown modally for one showing; the caller rebuilds the task list view after it closes.
#pragma once

#include "prefs/settings_record.h"

#include <QDialog>
#include <string>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace velloran {

class Registry;

class TPreferencesForm : public QDialog {
    Q_OBJECT
public:
    // settings is the program's one record, changed in place by Save; registry holds "Settings" and the
    // Run value; executablePath is this program's full path, which the start-at-logon entry names.
    TPreferencesForm(QWidget* parent, SettingsRecord& settings, Registry& registry,
                     std::string executablePath);

    QGroupBox* GroupBox1 = nullptr; // "Startup"
    QLabel* Label1 = nullptr;
    QRadioButton* StartupOnRB = nullptr;
    QRadioButton* StartupOffRB = nullptr;
    QLabel* Label2 = nullptr;

    QGroupBox* GroupBox2 = nullptr; // "Alarm Clock default settings"
    QLabel* Label4 = nullptr;
    QComboBox* SnoozeTimeCB = nullptr;
    QCheckBox* AlarmOffCK = nullptr;
    QComboBox* AlarmOffTimeCB = nullptr;
    QLabel* AlarmOffLabel = nullptr;

    QGroupBox* GroupBox3 = nullptr; // "Task View Window"
    QCheckBox* SortByDateCK = nullptr;
    QLabel* Label3 = nullptr;
    QRadioButton* DateTimeDisplayNormal = nullptr;
    QRadioButton* DateTimeDisplayLong = nullptr;

    QGroupBox* GroupBox4 = nullptr; // "Memo default settings"
    QLabel* DefaultFontST = nullptr;
    QPushButton* Button1 = nullptr;

    QPushButton* SaveBT = nullptr;
    QPushButton* CancelBT = nullptr;

    // Runs each time the window is shown.
    void FormShow();
    void SaveBTClick();
    void CancelBTClick();
    void Button1Click();
    void AlarmOffCKClick();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildStartupGroup();
    void buildAlarmGroup();
    void buildTaskViewGroup();
    void buildMemoGroup();
    void setSampleColor();
    // Leaving the editable switch-off box: a text that names an item selects it, any other shows the
    // selected item again, so the box never shows what would not be saved.
    void AlarmOffTimeCBExit();

    SettingsRecord& settings_;
    Registry& registry_;
    std::string executablePath_;
    // What the sample's font cannot hold: the stored colour value, which may name a system colour, and
    // the character set.
    std::int32_t fontColor_ = 0;
    std::uint8_t fontCharset_ = 1;
};

} // namespace velloran
