#include "preferences_form.h"

#include "common/text.h"
#include "look/fonts.h"
#include "look/window_placement.h"
#include "platform/file_dialogs.h"
#include "platform/message_box.h"
#include "platform/owner_modal.h"
#include "platform/translated_message.h"
#include "prefs/preferences_rules.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace velloran {
namespace {

void placeAtNaturalSize(QWidget* widget, int left, int top) {
    widget->move(left, top);
    widget->resize(widget->sizeHint());
}

QLabel* wrappedLabel(const char* text, QWidget* parent, const char* name, QRect geometry) {
    auto* label = new QLabel(QString::fromLatin1(text), parent);
    label->setObjectName(name);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setGeometry(geometry);
    return label;
}

QComboBox* snoozeList(QWidget* parent, const char* name, int left, int top) {
    auto* list = new QComboBox(parent);
    list->setObjectName(name);
    for (const char* item : kSnoozeItems)
        list->addItem(QString::fromLatin1(item));
    list->setGeometry(left, top, 73, list->sizeHint().height());
    return list;
}

QPushButton* pushButton(const char* caption, QWidget* parent, const char* name, QRect geometry) {
    auto* button = new QPushButton(QString::fromLatin1(caption), parent);
    button->setObjectName(name);
    // Enter reaches only the button that has the focus; no button stands in for the others.
    button->setAutoDefault(false);
    button->setGeometry(geometry);
    return button;
}

} // namespace

TPreferencesForm::TPreferencesForm(QWidget* parent, SettingsRecord& settings, Registry& registry,
                                   std::string executablePath)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      settings_(settings), registry_(registry), executablePath_(std::move(executablePath)) {
    setObjectName("PreferencesForm");
    setWindowTitle("Preferences");
    makeOwnerModal(this);
    setFont(designFont());
    setFixedSize(401, 305);

    buildStartupGroup();
    buildAlarmGroup();
    SaveBT = pushButton("&Save", this, "SaveBT", {232, 272, 75, 25});
    CancelBT = pushButton("&Cancel", this, "CancelBT", {320, 272, 75, 25});
    buildTaskViewGroup();
    buildMemoGroup();

    // The groups and buttons in their tab order, each group's controls in the order they were made.
    setTabOrder(StartupOnRB, StartupOffRB);
    setTabOrder(StartupOffRB, SnoozeTimeCB);
    setTabOrder(SnoozeTimeCB, AlarmOffCK);
    setTabOrder(AlarmOffCK, AlarmOffTimeCB);
    setTabOrder(AlarmOffTimeCB, SaveBT);
    setTabOrder(SaveBT, CancelBT);
    setTabOrder(CancelBT, SortByDateCK);
    setTabOrder(SortByDateCK, DateTimeDisplayNormal);
    setTabOrder(DateTimeDisplayNormal, DateTimeDisplayLong);
    setTabOrder(DateTimeDisplayLong, Button1);

    connect(AlarmOffCK, &QCheckBox::toggled, this, &TPreferencesForm::AlarmOffCKClick);
    connect(AlarmOffTimeCB->lineEdit(), &QLineEdit::editingFinished, this,
            &TPreferencesForm::AlarmOffTimeCBExit);
    connect(Button1, &QPushButton::clicked, this, &TPreferencesForm::Button1Click);
    connect(SaveBT, &QPushButton::clicked, this, &TPreferencesForm::SaveBTClick);
    connect(CancelBT, &QPushButton::clicked, this, &TPreferencesForm::CancelBTClick);
}

void TPreferencesForm::buildStartupGroup() {
    GroupBox1 = new QGroupBox("Startup", this);
    GroupBox1->setObjectName("GroupBox1");
    GroupBox1->setGeometry(8, 8, 193, 121);
    Label1 = wrappedLabel("Automaticaly start application in background when computer starts.", GroupBox1,
                          "Label1", {8, 16, 177, 33});
    StartupOnRB = new QRadioButton("On", GroupBox1);
    StartupOnRB->setObjectName("StartupOnRB");
    placeAtNaturalSize(StartupOnRB, 32, 48);
    StartupOffRB = new QRadioButton("Off", GroupBox1);
    StartupOffRB->setObjectName("StartupOffRB");
    placeAtNaturalSize(StartupOffRB, 96, 48);
    Label2 = wrappedLabel("Caution: Turning this option off will prevent tasks from automaticaly running.",
                          GroupBox1, "Label2", {8, 72, 177, 41});
    QPalette maroon = Label2->palette();
    maroon.setColor(QPalette::WindowText, QColor(128, 0, 0));
    Label2->setPalette(maroon);
}

void TPreferencesForm::buildAlarmGroup() {
    GroupBox2 = new QGroupBox("Alarm Clock default settings", this);
    GroupBox2->setObjectName("GroupBox2");
    GroupBox2->setGeometry(208, 8, 185, 145);
    Label4 = new QLabel("Snooze time:", GroupBox2);
    Label4->setObjectName("Label4");
    placeAtNaturalSize(Label4, 8, 16);
    SnoozeTimeCB = snoozeList(GroupBox2, "SnoozeTimeCB", 8, 32);
    Label4->setBuddy(SnoozeTimeCB);
    AlarmOffCK = new QCheckBox("Automaticaly turn off after:", GroupBox2);
    AlarmOffCK->setObjectName("AlarmOffCK");
    placeAtNaturalSize(AlarmOffCK, 8, 56);
    AlarmOffTimeCB = snoozeList(GroupBox2, "AlarmOffTimeCB", 24, 72);
    AlarmOffTimeCB->setEditable(true);
    // Typing never adds an item: only the list's own items can be saved.
    AlarmOffTimeCB->setInsertPolicy(QComboBox::NoInsert);
    // The box to type in is named by the check box that it belongs to.
    AlarmOffTimeCB->lineEdit()->setAccessibleName(QStringLiteral("Automatically turn off after"));
    // Four pixels wider than designed: the installed face runs a little wider, and the note must keep to
    // three lines to stay inside its group.
    AlarmOffLabel = wrappedLabel(
        "This only applies to the duration the alarm sounds. Hitting the snooze resets this counter.",
        GroupBox2, "AlarmOffLabel", {24, 96, 157, 41});
}

void TPreferencesForm::buildTaskViewGroup() {
    GroupBox3 = new QGroupBox("Task View Window", this);
    GroupBox3->setObjectName("GroupBox3");
    GroupBox3->setGeometry(8, 136, 193, 129);
    SortByDateCK = new QCheckBox("Sort by Date && Time", GroupBox3);
    SortByDateCK->setObjectName("SortByDateCK");
    placeAtNaturalSize(SortByDateCK, 8, 24);
    // A label without a buddy shows its text as it is, so the one "&" is written once.
    Label3 = new QLabel("Date & Time display", GroupBox3);
    Label3->setObjectName("Label3");
    placeAtNaturalSize(Label3, 8, 56);
    DateTimeDisplayNormal = new QRadioButton("05/25/07 - 09:30am", GroupBox3);
    DateTimeDisplayNormal->setObjectName("DateTimeDisplayNormal");
    placeAtNaturalSize(DateTimeDisplayNormal, 16, 72);
    DateTimeDisplayLong = new QRadioButton("Fri, May 25, 2007 - 09:30am", GroupBox3);
    DateTimeDisplayLong->setObjectName("DateTimeDisplayLong");
    placeAtNaturalSize(DateTimeDisplayLong, 16, 88);
}

void TPreferencesForm::buildMemoGroup() {
    GroupBox4 = new QGroupBox("Memo default settings", this);
    GroupBox4->setObjectName("GroupBox4");
    GroupBox4->setGeometry(208, 160, 185, 105);
    DefaultFontST = new QLabel("Default font", GroupBox4);
    DefaultFontST->setObjectName("DefaultFontST");
    DefaultFontST->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    DefaultFontST->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    DefaultFontST->setGeometry(8, 24, 169, 41);
    Button1 = pushButton("Set font", GroupBox4, "Button1", {96, 72, 81, 25});
}

void TPreferencesForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TPreferencesForm::FormShow() {
    const PreferencesShown shown = preferencesShown(registry_, settings_, executablePath_);
    if (!shown.error.empty())
        MessageBoxes::error(this, translated(shown.error));
    const PreferencesEntries& e = shown.entries;
    (e.startAtLogon ? StartupOnRB : StartupOffRB)->setChecked(true);
    SortByDateCK->setChecked(e.sortByDate);
    (e.longDateDisplay ? DateTimeDisplayLong : DateTimeDisplayNormal)->setChecked(true);
    SnoozeTimeCB->setCurrentIndex(e.snoozeIndex);
    AlarmOffTimeCB->setCurrentIndex(e.alarmOffIndex);
    AlarmOffCK->setChecked(e.alarmOff);
    AlarmOffTimeCB->setEnabled(e.alarmOff);
    // An empty face keeps the sample's designed face.
    fontCharset_ = e.defaultFont.FontCharset;
    fontColor_ = e.defaultFont.FontColor;
    DefaultFontST->setFont(fontFromBlock(e.defaultFont, designFont()));
    setSampleColor();
}

void TPreferencesForm::setSampleColor() {
    QPalette palette = DefaultFontST->palette();
    palette.setColor(QPalette::WindowText, colorFromValue(fontColor_));
    DefaultFontST->setPalette(palette);
}

void TPreferencesForm::AlarmOffCKClick() {
    AlarmOffTimeCB->setEnabled(AlarmOffCK->isChecked());
}

void TPreferencesForm::AlarmOffTimeCBExit() {
    const int named = AlarmOffTimeCB->findText(AlarmOffTimeCB->currentText().trimmed(), Qt::MatchFixedString);
    if (named >= 0)
        AlarmOffTimeCB->setCurrentIndex(named);
    const int index = AlarmOffTimeCB->currentIndex();
    AlarmOffTimeCB->setEditText(index >= 0 ? AlarmOffTimeCB->itemText(index) : QString());
}

void TPreferencesForm::Button1Click() {
    const QColor shownColor = colorFromValue(fontColor_);
    const std::optional<FontChoice> chosen =
        FileDialogs::chooseFont(this, {DefaultFontST->font(), shownColor});
    if (!chosen)
        return;
    // An unchanged colour keeps its stored value, which may name a system colour.
    if (chosen->color.rgb() != shownColor.rgb())
        fontColor_ = valueFromColor(chosen->color);
    // The dialog chooses fonts without a script: the default character set.
    fontCharset_ = 1;
    DefaultFontST->setFont(chosen->font);
    setSampleColor();
}

void TPreferencesForm::SaveBTClick() {
    PreferencesEntries e;
    e.startAtLogon = !StartupOffRB->isChecked();
    e.sortByDate = SortByDateCK->isChecked();
    e.longDateDisplay = !DateTimeDisplayNormal->isChecked();
    e.snoozeIndex = SnoozeTimeCB->currentIndex();
    e.alarmOff = AlarmOffCK->isChecked();
    e.alarmOffIndex = AlarmOffTimeCB->currentIndex();
    fontToBlock(DefaultFontST->font(), colorFromValue(fontColor_), e.defaultFont);
    e.defaultFont.FontCharset = fontCharset_;
    e.defaultFont.FontColor = fontColor_;
    // The window stays open on a failed write.
    if (const Result<void> saved = savePreferences(registry_, settings_, e, executablePath_); !saved) {
        MessageBoxes::error(this, translated(saved.error()));
        return;
    }
    accept();
}

void TPreferencesForm::CancelBTClick() {
    reject();
}

// Neither Enter nor Escape acts for the window: Enter presses only a focused push button.
void TPreferencesForm::keyPressEvent(QKeyEvent* event) {
    // Enter presses only the focused button, never a default one for it.
    if ((event->key() == Qt::Key_Enter || event->key() == Qt::Key_Return))
        if (auto* button = qobject_cast<QPushButton*>(focusWidget());
            button != nullptr && button->isEnabled())
            button->click();
    if (!swallowKeys(event, {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter}))
        QDialog::keyPressEvent(event);
}

} // namespace velloran
