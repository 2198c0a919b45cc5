#include "set_task_form.h"

#include "button_page_control.h"
#include "common/text.h"
#include "editor_files.h"
#include "files/file_io.h"
#include "input_limits.h"
#include "look/fonts.h"
#include "look/window_placement.h"
#include "platform/file_dialogs.h"
#include "platform/message_box.h"
#include "platform/owner_modal.h"
#include "platform/ringing_sounds.h"
#include "platform/translated_message.h"
#include "scheduler/program_search.h"
#include "scheduler/task_actions.h"
#include "store/task_kinds.h"
#include "ui_set_task_form.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace velloran {
namespace {

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

QString fromTable(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A text of the kind table that the user reads, in the user's language. The table's texts are literals,
// so each view ends in a NUL.
QString shownFromTable(std::string_view text) {
    return QCoreApplication::translate("TaskKinds", text.data());
}

} // namespace

SetTaskForm::SetTaskForm(QWidget* parent, TaskStore& tasks, const SettingsRecord& settings,
                         RingingSounds& sounds, Opener& opener, const Clock& clock,
                         std::string programDirectory)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      ui_(std::make_unique<Ui::SetTaskForm>()), tasks_(tasks), settings_(settings), sounds_(sounds),
      opener_(opener), clock_(clock), programDirectory_(std::move(programDirectory)) {
    if (!programDirectory_.empty() && programDirectory_.back() != '/')
        programDirectory_ += '/';
    makeOwnerModal(this);
    // Every window shares the look's one font, which a form cannot name in pixels.
    setFont(designFont());
    ui_->setupUi(this);
    // The pickers show the user's own date and time formats, known only at run time.
    ui_->DatePicker->setDisplayFormat(shortDateFormat());
    // The list shows two-digit years; typed, they are read around the year of the program's clock.
    ui_->DatePicker->setThisYear([this] { return decodeDate(clock_.now()).year; });
    ui_->TimePicker->setDisplayFormat(timeFormat());
    ui_->PageControl->setTabListName(ui_->label3->text());
    ui_->PageControl->setActivePageIndex(kNoPage);
    findPageBoxes();
    connectControls();
    fillDefaults();
}

SetTaskForm::~SetTaskForm() {
    sounds_.silence(this); // a preview never outlives the window
}

void SetTaskForm::findPageBoxes() {
    dayBoxes_ = {ui_->SunCK, ui_->MonCK, ui_->TueCK, ui_->WedCK, ui_->ThuCK, ui_->FriCK, ui_->SatCK};
    // Each page's boxes go by the names the kind table gives them, so that every kind is treated alike.
    for (int kind = 0; kind < kTaskKindCount; ++kind) {
        const TaskKindInfo& info = *taskKind(kind);
        const auto index = static_cast<std::size_t>(kind);
        if (info.target != KindTarget::Fixed) {
            targetBoxes_[index] = findChild<QLineEdit*>(fromTable(info.targetBoxName));
            targetButtons_[index] = findChild<QPushButton*>(fromTable(info.buttonName));
        }
        descriptionBoxes_[index] = findChild<QLineEdit*>(fromTable(info.descriptionName));
    }
    // Every box holds no more than its record field.
    for (std::size_t kind = 0; kind < targetBoxes_.size(); ++kind) {
        for (QLineEdit* box : {targetBoxes_[kind], descriptionBoxes_[kind]}) {
            if (box != nullptr)
                limitStoredBytes(box, kLongTextBytes);
        }
    }
    limitStoredBytes(ui_->ExeArg, kArgumentBytes);
    limitStoredBytes(ui_->MemoDescription, kLongTextBytes);
}

void SetTaskForm::connectControls() {
    connect(ui_->RepeatTypeCB, &QComboBox::currentIndexChanged, this, &SetTaskForm::applyRepeatType);
    connect(ui_->PlaySndBT, &QPushButton::clicked, this, &SetTaskForm::playAlarmSound);
    connect(ui_->StopSndBT, &QPushButton::clicked, this, &SetTaskForm::stopAlarmSound);
    // Every kind that names a file has a Browse button beside its box.
    for (int kind = 0; kind < kTaskKindCount; ++kind) {
        if (taskKind(kind)->target == KindTarget::File)
            connect(targetButtons_[static_cast<std::size_t>(kind)], &QPushButton::clicked, this,
                    [this, kind] { browseForTarget(kind); });
    }
    connect(ui_->WebVerify, &QPushButton::clicked, this, &SetTaskForm::verifyWebAddress);
    connect(ui_->SetFontBT, &QPushButton::clicked, this, &SetTaskForm::chooseMemoFont);
    connect(ui_->SaveBT, &QPushButton::clicked, this, &SetTaskForm::saveTask);
    connect(ui_->CancelBT, &QPushButton::clicked, this, &SetTaskForm::reject);
}

void SetTaskForm::fillDefaults() {
    for (const std::string& name : listAlarmSounds(programDirectory_ + "Sounds"))
        ui_->AlarmSoundCB->addItem(QString::fromStdString(name));
    ui_->AlarmSoundCB->setCurrentIndex(ui_->AlarmSoundCB->count() > 0 ? 0 : -1);

    memoCharset_ = settings_.DefaultFont.FontCharset;
    memoColor_ = settings_.DefaultFont.FontColor;
    setMemoFont(settings_.DefaultFont);

    const DateTime now = clock_.now();
    const CivilDate today = decodeDate(now);
    const CivilTime time = decodeTime(now);
    ui_->DatePicker->setDate(QDate(today.year, today.month, today.day));
    ui_->TimePicker->setTime(QTime(time.hour, time.minute, time.second, time.millisecond));

    ui_->RepeatTypeCB->setCurrentIndex(kOnce);
    applyRepeatType();
}

void SetTaskForm::prepareNewTask(int kind) {
    isNewTask_ = true;
    ui_->PageControl->setActivePageIndex(kind);
}

bool SetTaskForm::prepareEditTask(std::uint32_t taskId) {
    isNewTask_ = false;
    editedTaskId_ = taskId;
    const Task* task = tasks_.find(taskId);
    if (task == nullptr)
        return false;
    loadTask(*task);
    return true;
}

SetTaskForm::Result SetTaskForm::showNewTask(int kind) {
    prepareNewTask(kind);
    return runModal();
}

SetTaskForm::Result SetTaskForm::showEditTask(std::uint32_t taskId) {
    if (!prepareEditTask(taskId))
        return Result::NotShown;
    return runModal();
}

QLineEdit* SetTaskForm::targetBox(int page) const {
    return page >= 0 && page < kTaskKindCount ? targetBoxes_[static_cast<std::size_t>(page)] : nullptr;
}

QLineEdit* SetTaskForm::descriptionBox(int page) const {
    return page >= 0 && page < kTaskKindCount ? descriptionBoxes_[static_cast<std::size_t>(page)] : nullptr;
}

SetTaskForm::Result SetTaskForm::runModal() {
    centreOnScreen(*this, size());
    exec();
    return savedTaskId_ ? Result::Saved : Result::Closed;
}

void SetTaskForm::loadTask(const Task& task) {
    if (isValidDateTime(task.NextRun)) {
        const CivilDate date = decodeDate(task.NextRun);
        const CivilTime time = decodeTime(task.NextRun);
        ui_->DatePicker->setDate(QDate(date.year, date.month, date.day));
        ui_->TimePicker->setTime(QTime(time.hour, time.minute, time.second, time.millisecond));
    }
    (task.enabled() ? ui_->StatusEnabledRB : ui_->StatusDisabledRB)->setChecked(true);
    ui_->AutoDeleteCK->setChecked((task.Flags & kAutoDelete) != 0);
    ((task.Flags & kRunIfMissed) != 0 ? ui_->TaskMissedRunRB : ui_->TaskMissedSkipRB)->setChecked(true);
    for (int day = 0; day < 7; ++day)
        dayBoxes_[static_cast<std::size_t>(day)]->setChecked((task.DayMask & dayMaskBit(day + 1)) != 0);
    // A damaged repeat code shows as "Once", which is what a save would store for it.
    ui_->RepeatTypeCB->setCurrentIndex(task.RepeatType <= kYearly ? int{task.RepeatType} : int{kOnce});
    applyRepeatType();
    ui_->PageControl->setActivePageIndex(task.TaskType < kTaskKindCount ? int{task.TaskType} : kNoPage);

    const TaskKindInfo* kind = taskKind(task.TaskType);
    if (kind == nullptr)
        return;
    if (QLineEdit* target = targetBox(task.TaskType))
        target->setText(fromRecord(task.Target.view()));
    if (QLineEdit* description = descriptionBox(task.TaskType))
        description->setText(fromRecord(task.Description.view()));
    switch (kind->action) {
    case KindAction::ShowAlarm:
        ui_->AlarmSoundCB->setCurrentIndex(
            ui_->AlarmSoundCB->findText(fromRecord(task.AlarmSound.view()), Qt::MatchFixedString));
        break;
    case KindAction::ShowMemo:
        ui_->MemoDescription->setPlainText(
            QString::fromStdString(editorLineBreaks(displayUtf8(task.Description.view()))));
        memoCharset_ = task.MemoFont.FontCharset;
        memoColor_ = task.MemoFont.FontColor;
        setMemoFont(task.MemoFont.block());
        break;
    case KindAction::RunProgram:
        ui_->ExeArg->setText(fromRecord(task.ExeArguments.view()));
        break;
    case KindAction::OpenTarget:
        break;
    }
}

void SetTaskForm::setMemoFont(const FontBlock& block) {
    ui_->MemoDescription->setFont(fontFromBlock(withCountedFaceName(block), ui_->MemoDescription->font()));
    showMemoColor();
}

void SetTaskForm::showMemoColor() {
    QPalette palette = ui_->MemoDescription->palette();
    palette.setColor(QPalette::Text, colorFromValue(memoColor_));
    ui_->MemoDescription->setPalette(palette);
}

FontBlock SetTaskForm::memoFontBlock() const {
    FontBlock block{};
    const QFont font = ui_->MemoDescription->font();
    fontToBlock(font, colorFromValue(memoColor_), block);
    block = withCountedFaceName(block);
    block.FontCharset = memoCharset_;
    block.FontColor = memoColor_;
    return block;
}

void SetTaskForm::applyRepeatType() {
    const int repeat = ui_->RepeatTypeCB->currentIndex();
    ui_->AutoDeleteCK->setEnabled(repeat == kOnce);
    for (QCheckBox* box : dayBoxes_)
        box->setEnabled(repeat == kDaily);
}

void SetTaskForm::playAlarmSound() {
    sounds_.ring(this,
                 QString::fromStdString(programDirectory_ + "Sounds/") + ui_->AlarmSoundCB->currentText(),
                 windowTitle());
}

void SetTaskForm::stopAlarmSound() {
    // Only the preview: an alarm that rings meanwhile is heard again.
    sounds_.silence(this);
}

void SetTaskForm::browseForTarget(int kind) {
    const TaskKindInfo& info = *taskKind(kind);
    QLineEdit* box = targetBox(kind);
    FileDialogRequest request;
    request.filter = shownFromTable(info.browseFilter);
    // A program may be any executable file, whatever its name.
    request.offerPrograms = info.action == KindAction::RunProgram;
    request.mimeTypes = fromTable(info.browse.types).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    request.mimeTypesTitle = shownFromTable(info.browse.typesTitle);
    request.typedPath = QString::fromStdString(expandHomePrefix(box->text().toStdString(), homeFolder()));
    request.rememberAs = fromTable(info.pageName);
    request.firstFolder = standardLocation(info.browse.firstFolder);
    if (const std::optional<QString> chosen = FileDialogs::openFile(this, request))
        box->setText(*chosen);
}

void SetTaskForm::verifyWebAddress() {
    const std::string address = ui_->WebAddress->text().toStdString();
    if (!isValidWebAddress(address)) {
        MessageBoxes::warning(this, translated(Message(kEditorContext, kWebAddressMessage)));
        return;
    }
    opener_.open(address);
}

void SetTaskForm::chooseMemoFont() {
    const QColor shownColor = colorFromValue(memoColor_);
    const std::optional<FontChoice> chosen =
        FileDialogs::chooseFont(this, {ui_->MemoDescription->font(), shownColor});
    if (!chosen)
        return;
    // An unchanged colour keeps its stored value, which may name a system colour.
    if (chosen->color.rgb() != shownColor.rgb())
        memoColor_ = valueFromColor(chosen->color);
    ui_->MemoDescription->setFont(chosen->font);
    showMemoColor();
}

TaskEntries SetTaskForm::entries() const {
    TaskEntries e;
    e.date = fromQDate(ui_->DatePicker->date());
    const QTime time = ui_->TimePicker->time();
    e.time = encodeTime(time.hour(), time.minute(), time.second(), time.msec());
    e.repeatType = ui_->RepeatTypeCB->currentIndex();
    for (std::size_t day = 0; day < dayBoxes_.size(); ++day)
        e.days[day] = dayBoxes_[day]->isChecked();
    e.statusEnabled = ui_->StatusEnabledRB->isChecked();
    e.runIfMissed = ui_->TaskMissedRunRB->isChecked();
    e.autoDelete = ui_->AutoDeleteCK->isChecked();
    e.page = ui_->PageControl->activePageIndex();
    if (const QLineEdit* target = targetBox(e.page))
        e.target = target->text().toStdString();
    if (const QLineEdit* description = descriptionBox(e.page))
        e.description = description->text().toStdString();
    if (const TaskKindInfo* kind = taskKind(e.page); kind != nullptr && kind->action == KindAction::ShowMemo)
        e.description = ui_->MemoDescription->toPlainText().toStdString();
    e.arguments = ui_->ExeArg->text().toStdString();
    e.alarmSound = ui_->AlarmSoundCB->currentText().toStdString();
    e.memoFont = memoFontBlock();
    e.home = homeFolder();
    return e;
}

bool SetTaskForm::takeTypedStart() {
    ui_->DatePicker->commitTyping();
    ui_->TimePicker->commitTyping();
    // What the user typed and what Save would store must not differ without a word.
    if (const std::optional<QString> refused = ui_->DatePicker->takeRefusedText()) {
        MessageBoxes::warning(this, tr("\"%1\" is not a valid date.\nThe start date is still %2.")
                                        .arg(*refused, ui_->DatePicker->text()));
        ui_->DatePicker->setFocus();
        return false;
    }
    if (const std::optional<QString> refused = ui_->TimePicker->takeRefusedText()) {
        MessageBoxes::warning(this, tr("\"%1\" is not a valid time.\nThe start time is still %2.")
                                        .arg(*refused, ui_->TimePicker->text()));
        ui_->TimePicker->setFocus();
        return false;
    }
    return true;
}

void SetTaskForm::saveTask() {
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
    const auto now = static_cast<std::uint32_t>(clock_.unixSeconds());
    auto stored = storeTask(tasks_, *check, isNewTask_, editedTaskId_, now);
    // The edited task went away meanwhile (the scan or another window deleted it): the edit is not
    // thrown away without the user's word.
    if (!stored) {
        const QMessageBox::StandardButton answer = MessageBoxes::ask(
            this, {tr("Warning"),
                   tr("The task being edited is no longer in the list: it was deleted meanwhile.\n"
                      "Save it as a new task?"),
                   QMessageBox::Warning, QMessageBox::Yes | QMessageBox::No});
        if (answer != QMessageBox::Yes)
            return;
        stored = storeTask(tasks_, *check, true, 0, now);
        if (!stored)
            return;
        isNewTask_ = true;
    }
    savedTaskId_ = stored;
    accept();
}

void SetTaskForm::done(int result) {
    stopSoundAndSaveTasks();
    QDialog::done(result);
}

void SetTaskForm::stopSoundAndSaveTasks() {
    stopAlarmSound();
    if (const velloran::Result<void> saved = tasks_.save(); !saved)
        MessageBoxes::error(this, tr("The tasks could not be saved.\n%1").arg(translated(saved.error())));
}

void SetTaskForm::keyPressEvent(QKeyEvent* event) {
    // Neither Escape nor Enter closes the window: only the buttons and their access keys do.
    if (!swallowKeys(event, {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter}))
        QDialog::keyPressEvent(event);
}

} // namespace velloran
