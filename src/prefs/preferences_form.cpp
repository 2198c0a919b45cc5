#include "preferences_form.h"

#include "common/text.h"
#include "look/fonts.h"
#include "look/window_placement.h"
#include "platform/file_dialogs.h"
#include "platform/locale_dates.h"
#include "platform/message_box.h"
#include "platform/owner_modal.h"
#include "platform/translated_message.h"
#include "prefs/preferences_rules.h"
#include "ui_preferences_form.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace velloran {

PreferencesForm::PreferencesForm(QWidget* parent, SettingsRecord& settings, Registry& registry,
                                 std::string executablePath)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      ui_(std::make_unique<Ui::PreferencesForm>()), settings_(settings), registry_(registry),
      executablePath_(std::move(executablePath)) {
    setFont(designFont());
    ui_->setupUi(this);
    makeOwnerModal(this);
    showDateSamples();
    // The box to type in is named by the check box that it belongs to.
    ui_->AlarmOffTimeCB->lineEdit()->setAccessibleName(tr("Automatically turn off after"));

    connect(ui_->AlarmOffCK, &QCheckBox::toggled, ui_->AlarmOffTimeCB, &QWidget::setEnabled);
    connect(ui_->AlarmOffTimeCB->lineEdit(), &QLineEdit::editingFinished, this,
            &PreferencesForm::settleAlarmOffTime);
    connect(ui_->Button1, &QPushButton::clicked, this, &PreferencesForm::chooseDefaultFont);
    connect(ui_->SaveBT, &QPushButton::clicked, this, &PreferencesForm::saveAndClose);
    connect(ui_->CancelBT, &QPushButton::clicked, this, &QDialog::reject);
}

PreferencesForm::~PreferencesForm() = default;

// The two displays of one example moment, as the task list shows them in the user's locale; the designed
// US English samples stay as they are written.
void PreferencesForm::showDateSamples() {
    const DateStyle style = dateStyleOf(QLocale());
    if (isDesignedStyle(style))
        return;
    DateTime day = 0;
    tryEncodeDate(2007, 5, 25, day);
    const DateTime example = composeDateTime(day, encodeTime(9, 30, 0));
    ui_->DateTimeDisplayNormal->setText(QString::fromStdString(displayText(example, false, style)));
    ui_->DateTimeDisplayLong->setText(QString::fromStdString(displayText(example, true, style)));
}

void PreferencesForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        showSettings();
}

void PreferencesForm::showSettings() {
    const PreferencesShown shown = preferencesShown(registry_, settings_, executablePath_);
    if (!shown.error.empty())
        MessageBoxes::error(this, translated(shown.error));
    const PreferencesEntries& e = shown.entries;
    (e.startAtLogon ? ui_->StartupOnRB : ui_->StartupOffRB)->setChecked(true);
    ui_->SortByDateCK->setChecked(e.sortByDate);
    (e.longDateDisplay ? ui_->DateTimeDisplayLong : ui_->DateTimeDisplayNormal)->setChecked(true);
    ui_->SnoozeTimeCB->setCurrentIndex(e.snoozeIndex);
    ui_->AlarmOffTimeCB->setCurrentIndex(e.alarmOffIndex);
    ui_->AlarmOffCK->setChecked(e.alarmOff);
    ui_->AlarmOffTimeCB->setEnabled(e.alarmOff);
    // An empty face keeps the sample's designed face.
    fontCharset_ = e.defaultFont.FontCharset;
    fontColor_ = e.defaultFont.FontColor;
    ui_->DefaultFontST->setFont(fontFromBlock(e.defaultFont, designFont()));
    showSampleColor();
}

void PreferencesForm::showSampleColor() {
    QPalette palette = ui_->DefaultFontST->palette();
    palette.setColor(QPalette::WindowText, colorFromValue(fontColor_));
    ui_->DefaultFontST->setPalette(palette);
}

void PreferencesForm::settleAlarmOffTime() {
    QComboBox* list = ui_->AlarmOffTimeCB;
    const int named = list->findText(list->currentText().trimmed(), Qt::MatchFixedString);
    if (named >= 0)
        list->setCurrentIndex(named);
    const int index = list->currentIndex();
    list->setEditText(index >= 0 ? list->itemText(index) : QString());
}

void PreferencesForm::chooseDefaultFont() {
    const QColor shownColor = colorFromValue(fontColor_);
    const std::optional<FontChoice> chosen =
        FileDialogs::chooseFont(this, {ui_->DefaultFontST->font(), shownColor});
    if (!chosen)
        return;
    // An unchanged colour keeps its stored value, which may name a system colour.
    if (chosen->color.rgb() != shownColor.rgb())
        fontColor_ = valueFromColor(chosen->color);
    // The dialog chooses fonts without a script: the default character set.
    fontCharset_ = 1;
    ui_->DefaultFontST->setFont(chosen->font);
    showSampleColor();
}

void PreferencesForm::saveAndClose() {
    PreferencesEntries e;
    e.startAtLogon = !ui_->StartupOffRB->isChecked();
    e.sortByDate = ui_->SortByDateCK->isChecked();
    e.longDateDisplay = !ui_->DateTimeDisplayNormal->isChecked();
    e.snoozeIndex = ui_->SnoozeTimeCB->currentIndex();
    e.alarmOff = ui_->AlarmOffCK->isChecked();
    e.alarmOffIndex = ui_->AlarmOffTimeCB->currentIndex();
    fontToBlock(ui_->DefaultFontST->font(), colorFromValue(fontColor_), e.defaultFont);
    e.defaultFont.FontCharset = fontCharset_;
    e.defaultFont.FontColor = fontColor_;
    // The window stays open on a failed write.
    if (const Result<void> saved = savePreferences(registry_, settings_, e, executablePath_); !saved) {
        MessageBoxes::error(this, translated(saved.error()));
        return;
    }
    accept();
}

// Neither Enter nor Escape acts for the window: Enter presses only a focused push button, never a
// default one for it.
void PreferencesForm::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Enter || event->key() == Qt::Key_Return))
        if (auto* button = qobject_cast<QPushButton*>(focusWidget());
            button != nullptr && button->isEnabled())
            button->click();
    if (!swallowKeys(event, {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter}))
        QDialog::keyPressEvent(event);
}

} // namespace velloran
