#include "set_task_form.h"

#include "button_page_control.h"
#include "common/text.h"
#include "editor_files.h"
#include "files/file_io.h"
#include "look/fonts.h"
#include "look/window_placement.h"
#include "platform/file_dialogs.h"
#include "platform/message_box.h"
#include "platform/owner_modal.h"
#include "platform/sound_player.h"
#include "platform/translated_message.h"
#include "scheduler/program_search.h"
#include "scheduler/task_actions.h"
#include "store/task_kinds.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTimeEdit>

namespace velloran {
namespace {

constexpr const char* kDayCaptions[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr const char* kDayNames[] = {"SunCK", "MonCK", "TueCK", "WedCK", "ThuCK", "FriCK", "SatCK"};

QString fromRecord(std::string_view stored) {
    return QString::fromStdString(displayUtf8(stored));
}

// Four-digit years, so that no date is ambiguous while it is edited.
QString shortDateFormat() {
    QString format = QLocale().dateFormat(QLocale::ShortFormat);
    if (!format.contains(QLatin1String("yyyy")))
        format.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    return format;
}

// The time with its seconds, which the start moment holds.
QString timeFormat() {
    QString format = QLocale().timeFormat(QLocale::ShortFormat);
    if (!format.contains(QLatin1String("ss")))
        format.replace(QLatin1String("mm"), QLatin1String("mm:ss"));
    return format;
}

QString fromTable(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QStandardPaths::StandardLocation standardLocation(UserFolder folder) {
    switch (folder) {
    case UserFolder::Music:
        return QStandardPaths::MusicLocation;
    case UserFolder::Videos:
        return QStandardPaths::MoviesLocation;
    case UserFolder::Documents:
        return QStandardPaths::DocumentsLocation;
    case UserFolder::Home:
        break;
    }
    return QStandardPaths::HomeLocation;
}

DateTime fromQDate(const QDate& date) {
    DateTime value = 0;
    tryEncodeDate(date.year(), date.month(), date.day(), value);
    return value;
}

template <typename T> T* named(T* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

} // namespace

TSetTaskForm::TSetTaskForm(QWidget* parent, TaskStore& tasks, const SettingsRecord& settings,
                           SoundPlayer& sound, Opener& opener, const Clock& clock,
                           std::string programDirectory)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), tasks_(tasks),
      settings_(settings), sound_(sound), opener_(opener), clock_(clock),
      programDirectory_(std::move(programDirectory)) {
    if (!programDirectory_.empty() && programDirectory_.back() != '/')
        programDirectory_ += '/';
    setObjectName(QStringLiteral("TSetTaskForm"));
    setWindowTitle(QStringLiteral("Task Setup"));
    makeOwnerModal(this);
    setFont(designFont());
    setFixedSize(601, 385);
    setModal(true);
    createControls();
    connectHandlers();
    FormCreate();
}

void TSetTaskForm::createControls() {
    GroupBox1 = named(new QGroupBox(QStringLiteral("Start Date && Time"), this), "GroupBox1");
    GroupBox1->setGeometry(8, 4, 177, 78);
    DatePicker = named(new TypedDateEdit(GroupBox1), "DatePicker");
    DatePicker->setCalendarPopup(true);
    DatePicker->setDisplayFormat(shortDateFormat());
    DatePicker->setGeometry(10, 20, 157, 22);
    TimePicker = named(new TypedTimeEdit(GroupBox1), "TimePicker");
    TimePicker->setDisplayFormat(timeFormat());
    TimePicker->setGeometry(10, 48, 157, 22);
    // The group's caption names both; a screen reader needs each told apart.
    DatePicker->setAccessibleName(QStringLiteral("Start date"));
    TimePicker->setAccessibleName(QStringLiteral("Start time"));

    Label18 = named(new QLabel(QStringLiteral("Run Task:"), this), "Label18");
    Label18->setGeometry(194, 10, 150, 14);
    RepeatTypeCB = named(new QComboBox(this), "RepeatTypeCB");
    RepeatTypeCB->addItems({QStringLiteral("Once"), QStringLiteral("Daily"), QStringLiteral("Weekly"),
                            QStringLiteral("Monthly"), QStringLiteral("Yearly")});
    RepeatTypeCB->setGeometry(194, 26, 150, 22);
    Label18->setBuddy(RepeatTypeCB);
    AutoDeleteCK = named(new QCheckBox(QStringLiteral("Auto delete task from list"), this), "AutoDeleteCK");
    AutoDeleteCK->setGeometry(194, 57, 166, 19);
    AutoDeleteCK->setChecked(true);

    GroupBox2 = named(new QGroupBox(this), "GroupBox2");
    GroupBox2->setGeometry(368, 4, 225, 78);
    Label19 = named(new QLabel(QStringLiteral("If a scheduled task time is missed, do you want to run it the "
                                              "next time the computer is turned on?"),
                               GroupBox2),
                    "Label19");
    Label19->setWordWrap(true);
    Label19->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label19->setGeometry(8, 6, 211, 44);
    TaskMissedRunRB = named(new QRadioButton(QStringLiteral("Run"), GroupBox2), "TaskMissedRunRB");
    TaskMissedRunRB->setGeometry(8, 54, 70, 19);
    TaskMissedRunRB->setChecked(true);
    TaskMissedSkipRB = named(new QRadioButton(QStringLiteral("Skip"), GroupBox2), "TaskMissedSkipRB");
    TaskMissedSkipRB->setGeometry(84, 54, 70, 19);

    GroupBox3 = named(new QGroupBox(QStringLiteral("Status"), this), "GroupBox3");
    GroupBox3->setGeometry(8, 86, 177, 46);
    StatusEnabledRB = named(new QRadioButton(QStringLiteral("Enabled"), GroupBox3), "StatusEnabledRB");
    StatusEnabledRB->setGeometry(10, 20, 76, 19);
    StatusEnabledRB->setChecked(true);
    StatusDisabledRB = named(new QRadioButton(QStringLiteral("Disabled"), GroupBox3), "StatusDisabledRB");
    StatusDisabledRB->setGeometry(92, 20, 80, 19);

    DaysGroupBox =
        named(new QGroupBox(QStringLiteral("Select what days task will run"), this), "DaysGroupBox");
    DaysGroupBox->setGeometry(194, 86, 399, 46);
    for (int day = 0; day < 7; ++day) {
        auto* box =
            named(new QCheckBox(QString::fromLatin1(kDayCaptions[day]), DaysGroupBox), kDayNames[day]);
        box->setGeometry(10 + day * 55, 20, 52, 19);
        box->setChecked(true);
        box->setEnabled(false);
        DayBoxes[static_cast<std::size_t>(day)] = box;
    }

    label3 = named(new QLabel(QStringLiteral("Select type of task:"), this), "label3");
    label3->setGeometry(8, 138, 200, 14);
    PageControl = named(new ButtonPageControl(this), "PageControl");
    PageControl->setGeometry(8, 154, 585, 190);
    Pages = buildTaskPages(*PageControl);
    PageControl->setTabListName(label3->text());
    PageControl->setActivePageIndex(kNoPage);

    SaveBT = named(new QPushButton(QStringLiteral("&Save"), this), "SaveBT");
    SaveBT->setGeometry(437, 352, 75, 25);
    CancelBT = named(new QPushButton(QStringLiteral("&Cancel"), this), "CancelBT");
    CancelBT->setGeometry(518, 352, 75, 25);
    // Enter and Escape belong to the boxes, never to Save or Cancel.
    for (QPushButton* button : findChildren<QPushButton*>()) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
}

void TSetTaskForm::connectHandlers() {
    connect(RepeatTypeCB, &QComboBox::activated, this, &TSetTaskForm::RepeatTypeCBSelect);
    connect(Pages.PlaySndBT, &QPushButton::clicked, this, &TSetTaskForm::PlaySndBTClick);
    connect(Pages.StopSndBT, &QPushButton::clicked, this, &TSetTaskForm::StopSndBTClick);
    // Every kind that names a file has a Browse button beside its box.
    for (int kind = 0; kind < kTaskKindCount; ++kind) {
        if (taskKind(kind)->target == KindTarget::File)
            connect(Pages.targetButtons[static_cast<std::size_t>(kind)], &QPushButton::clicked, this,
                    [this, kind] { BrowseClick(kind); });
    }
    connect(Pages.WebVerify, &QPushButton::clicked, this, &TSetTaskForm::WebVerifyClick);
    connect(Pages.SetFontBT, &QPushButton::clicked, this, &TSetTaskForm::SetFontBTClick);
    connect(SaveBT, &QPushButton::clicked, this, &TSetTaskForm::SaveBTClick);
    connect(CancelBT, &QPushButton::clicked, this, &TSetTaskForm::CancelBTClick);
}

void TSetTaskForm::FormCreate() {
    for (const std::string& name : listAlarmSounds(programDirectory_ + "Sounds"))
        Pages.AlarmSoundCB->addItem(QString::fromStdString(name));
    Pages.AlarmSoundCB->setCurrentIndex(Pages.AlarmSoundCB->count() > 0 ? 0 : -1);

    memoCharset_ = settings_.DefaultFont.FontCharset;
    memoColor_ = settings_.DefaultFont.FontColor;
    setMemoFont(settings_.DefaultFont);

    const DateTime now = clock_.now();
    const CivilDate today = decodeDate(now);
    const CivilTime time = decodeTime(now);
    DatePicker->setDate(QDate(today.year, today.month, today.day));
    TimePicker->setTime(QTime(time.hour, time.minute, time.second, time.millisecond));

    RepeatTypeCB->setCurrentIndex(kOnce);
    RepeatTypeCBSelect();
}

void TSetTaskForm::prepareNewTask(int kind) {
    IsNewTask_ = true;
    PageControl->setActivePageIndex(kind);
}

bool TSetTaskForm::prepareEditTask(std::uint32_t taskId) {
    IsNewTask_ = false;
    EditedTaskId_ = taskId;
    const Task* task = tasks_.find(taskId);
    if (task == nullptr)
        return false;
    loadTask(*task);
    return true;
}

TSetTaskForm::Result TSetTaskForm::ShowNewTask(int kind) {
    prepareNewTask(kind);
    return runModal();
}

TSetTaskForm::Result TSetTaskForm::ShowEditTask(std::uint32_t taskId) {
    if (!prepareEditTask(taskId))
        return Result::NotShown;
    return runModal();
}

TSetTaskForm::Result TSetTaskForm::runModal() {
    centreOnScreen(*this, size());
    exec();
    return savedTaskId_ ? Result::Saved : Result::Closed;
}

void TSetTaskForm::loadTask(const Task& task) {
    if (isValidDateTime(task.NextRun)) {
        const CivilDate date = decodeDate(task.NextRun);
        const CivilTime time = decodeTime(task.NextRun);
        DatePicker->setDate(QDate(date.year, date.month, date.day));
        TimePicker->setTime(QTime(time.hour, time.minute, time.second, time.millisecond));
    }
    (task.enabled() ? StatusEnabledRB : StatusDisabledRB)->setChecked(true);
    AutoDeleteCK->setChecked((task.Flags & kAutoDelete) != 0);
    ((task.Flags & kRunIfMissed) != 0 ? TaskMissedRunRB : TaskMissedSkipRB)->setChecked(true);
    for (int day = 0; day < 7; ++day)
        DayBoxes[static_cast<std::size_t>(day)]->setChecked((task.DayMask & dayMaskBit(day + 1)) != 0);
    // A damaged repeat code shows as "Once", which is what a save would store for it.
    RepeatTypeCB->setCurrentIndex(task.RepeatType <= kYearly ? int{task.RepeatType} : int{kOnce});
    RepeatTypeCBSelect();
    PageControl->setActivePageIndex(task.TaskType < kTaskKindCount ? int{task.TaskType} : kNoPage);

    const TaskKindInfo* kind = taskKind(task.TaskType);
    if (kind == nullptr)
        return;
    if (QLineEdit* target = Pages.targetBox(task.TaskType))
        target->setText(fromRecord(task.Target.view()));
    if (QLineEdit* description = Pages.descriptionBox(task.TaskType))
        description->setText(fromRecord(task.Description.view()));
    switch (kind->action) {
    case KindAction::ShowAlarm:
        Pages.AlarmSoundCB->setCurrentIndex(
            Pages.AlarmSoundCB->findText(fromRecord(task.AlarmSound.view()), Qt::MatchFixedString));
        break;
    case KindAction::ShowMemo:
        Pages.MemoDescription->setPlainText(
            QString::fromStdString(editorLineBreaks(displayUtf8(task.Description.view()))));
        memoCharset_ = task.MemoFont.FontCharset;
        memoColor_ = task.MemoFont.FontColor;
        setMemoFont(task.MemoFont.block());
        break;
    case KindAction::RunProgram:
        Pages.ExeArg->setText(fromRecord(task.ExeArguments.view()));
        break;
    case KindAction::OpenTarget:
        break;
    }
}

void TSetTaskForm::setMemoFont(const FontBlock& block) {
    Pages.MemoDescription->setFont(fontFromBlock(withCountedFaceName(block), Pages.MemoDescription->font()));
    QPalette palette = Pages.MemoDescription->palette();
    palette.setColor(QPalette::Text, colorFromValue(memoColor_));
    Pages.MemoDescription->setPalette(palette);
}

FontBlock TSetTaskForm::memoFontBlock() const {
    FontBlock block{};
    const QFont font = Pages.MemoDescription->font();
    fontToBlock(font, colorFromValue(memoColor_), block);
    block = withCountedFaceName(block);
    block.FontCharset = memoCharset_;
    block.FontColor = memoColor_;
    return block;
}

void TSetTaskForm::RepeatTypeCBSelect() {
    const int repeat = RepeatTypeCB->currentIndex();
    AutoDeleteCK->setEnabled(repeat == kOnce);
    for (QCheckBox* box : DayBoxes)
        box->setEnabled(repeat == kDaily);
}

void TSetTaskForm::PlaySndBTClick() {
    sound_.playLooping(QString::fromStdString(programDirectory_ + "Sounds/") +
                           Pages.AlarmSoundCB->currentText(),
                       windowTitle());
}

void TSetTaskForm::StopSndBTClick() {
    sound_.stop();
}

void TSetTaskForm::BrowseClick(int kind) {
    const TaskKindInfo& info = *taskKind(kind);
    QLineEdit* box = Pages.targetBox(kind);
    FileDialogRequest request;
    request.filter = fromTable(info.browseFilter);
    // A program may be any executable file, whatever its name.
    request.offerPrograms = info.action == KindAction::RunProgram;
    request.mimeTypes = fromTable(info.browse.types).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    request.mimeTypesTitle = fromTable(info.browse.typesTitle);
    request.typedPath = QString::fromStdString(expandHomePrefix(box->text().toStdString(), homeFolder()));
    request.rememberAs = fromTable(info.pageName);
    request.firstFolder = standardLocation(info.browse.firstFolder);
    if (const std::optional<QString> chosen = FileDialogs::openFile(this, request))
        box->setText(*chosen);
}

void TSetTaskForm::WebVerifyClick() {
    const std::string address = Pages.WebAddress->text().toStdString();
    if (!isValidWebAddress(address)) {
        MessageBoxes::warning(this, translated(Message(kEditorContext, kWebAddressMessage)));
        return;
    }
    opener_.open(address);
}

void TSetTaskForm::SetFontBTClick() {
    const QColor shownColor = colorFromValue(memoColor_);
    const std::optional<FontChoice> chosen =
        FileDialogs::chooseFont(this, {Pages.MemoDescription->font(), shownColor});
    if (!chosen)
        return;
    // An unchanged colour keeps its stored value, which may name a system colour.
    if (chosen->color.rgb() != shownColor.rgb())
        memoColor_ = valueFromColor(chosen->color);
    Pages.MemoDescription->setFont(chosen->font);
    QPalette palette = Pages.MemoDescription->palette();
    palette.setColor(QPalette::Text, colorFromValue(memoColor_));
    Pages.MemoDescription->setPalette(palette);
}

TaskEntries TSetTaskForm::entries() const {
    TaskEntries e;
    e.date = fromQDate(DatePicker->date());
    const QTime time = TimePicker->time();
    e.time = encodeTime(time.hour(), time.minute(), time.second(), time.msec());
    e.repeatType = RepeatTypeCB->currentIndex();
    for (std::size_t day = 0; day < DayBoxes.size(); ++day)
        e.days[day] = DayBoxes[day]->isChecked();
    e.statusEnabled = StatusEnabledRB->isChecked();
    e.runIfMissed = TaskMissedRunRB->isChecked();
    e.autoDelete = AutoDeleteCK->isChecked();
    e.page = PageControl->activePageIndex();
    if (const QLineEdit* target = Pages.targetBox(e.page))
        e.target = target->text().toStdString();
    if (const QLineEdit* description = Pages.descriptionBox(e.page))
        e.description = description->text().toStdString();
    if (const TaskKindInfo* kind = taskKind(e.page); kind != nullptr && kind->action == KindAction::ShowMemo)
        e.description = Pages.MemoDescription->toPlainText().toStdString();
    e.arguments = Pages.ExeArg->text().toStdString();
    e.alarmSound = Pages.AlarmSoundCB->currentText().toStdString();
    e.memoFont = memoFontBlock();
    e.home = homeFolder();
    return e;
}

bool TSetTaskForm::takeTypedStart() {
    DatePicker->commitTyping();
    TimePicker->commitTyping();
    // What the user typed and what Save would store must not differ without a word.
    if (const std::optional<QString> refused = DatePicker->takeRefusedText()) {
        MessageBoxes::warning(this, QStringLiteral("\"%1\" is not a valid date.\nThe start date is still %2.")
                                        .arg(*refused, DatePicker->text()));
        DatePicker->setFocus();
        return false;
    }
    if (const std::optional<QString> refused = TimePicker->takeRefusedText()) {
        MessageBoxes::warning(this, QStringLiteral("\"%1\" is not a valid time.\nThe start time is still %2.")
                                        .arg(*refused, TimePicker->text()));
        TimePicker->setFocus();
        return false;
    }
    return true;
}

void TSetTaskForm::SaveBTClick() {
    if (!takeTypedStart())
        return;
    const ProgramSearch programs = programSearchOf(programDirectory_);
    const auto programExists = [&programs](const std::string& target) {
        return findProgram(target, programs).has_value();
    };
    const velloran::Result<Task> check = checkEntries(entries(), clock_.now(), pathExists, programExists);
    if (!check) {
        MessageBoxes::warning(this, translated(check.error()));
        return;
    }
    const auto stored = storeTask(tasks_, *check, IsNewTask_, EditedTaskId_,
                                  static_cast<std::uint32_t>(clock_.unixSeconds()));
    // The edited task went away meanwhile (the scan deleted it): there is nothing to save into.
    if (!stored)
        return;
    savedTaskId_ = stored;
    accept();
}

void TSetTaskForm::CancelBTClick() {
    reject();
}

void TSetTaskForm::done(int result) {
    FormClose();
    QDialog::done(result);
}

void TSetTaskForm::FormClose() {
    sound_.stop();
    if (const velloran::Result<void> saved = tasks_.save(); !saved)
        MessageBoxes::error(this,
                            QStringLiteral("The tasks could not be saved.\n") + translated(saved.error()));
}

void TSetTaskForm::keyPressEvent(QKeyEvent* event) {
    // Neither Escape nor Enter closes the window: only the buttons and their access keys do.
    if (!swallowKeys(event, {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter}))
        QDialog::keyPressEvent(event);
}

} // namespace velloran
