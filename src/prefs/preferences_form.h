// The preferences window: shows the settings record and the start-at-logon entry, and saves them back.
// Shown modally for one showing; the caller rebuilds the task list view after it closes.
#pragma once

#include "prefs/settings_record.h"

#include <QDialog>
#include <memory>
#include <string>

namespace Ui {
class PreferencesForm;
}

namespace velloran {

class Registry;

class PreferencesForm : public QDialog {
    Q_OBJECT
public:
    // settings is the program's one record, changed in place by Save; registry holds "Settings" and the
    // Run value; executablePath is this program's full path, which the start-at-logon entry names.
    PreferencesForm(QWidget* parent, SettingsRecord& settings, Registry& registry,
                    std::string executablePath);
    ~PreferencesForm() override;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void showDateSamples();
    // Fills the controls from the record and the Run entry, each time the window is shown.
    void showSettings();
    // Writes the controls back; the window closes only when every write succeeded.
    void saveAndClose();
    void chooseDefaultFont();
    void showSampleColor();
    // Leaving the editable switch-off box: a text that names an item selects it, any other shows the
    // selected item again, so the box never shows what would not be saved.
    void settleAlarmOffTime();

    std::unique_ptr<Ui::PreferencesForm> ui_;
    SettingsRecord& settings_;
    Registry& registry_;
    std::string executablePath_;
    // What the sample's font cannot hold: the stored colour value, which may name a system colour, and
    // the character set.
    std::int32_t fontColor_ = 0;
    std::uint8_t fontCharset_ = 1;
};

} // namespace velloran
