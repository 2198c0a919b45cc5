#include "task_pages.h"

#include "button_page_control.h"
#include "input_limits.h"
#include "task_entries.h"

#include "store/task_kinds.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace velloran {
namespace {

// Positions inside a page, in pixels at 96 dpi.
constexpr int kLeft = 8;
constexpr int kBoxWidth = 480;
constexpr int kButtonLeft = 496;
constexpr int kButtonWidth = 77;
constexpr int kWideLabel = 567;
constexpr int kLabelHeight = 14;
constexpr int kEditHeight = 22;
constexpr int kButtonHeight = 25;

// Each box's label is its buddy, which names the box to screen readers.
QLabel* label(QWidget* page, const QString& text, int top, int width = kWideLabel) {
    auto* label = new QLabel(text, page);
    label->setGeometry(kLeft, top, width, kLabelHeight);
    return label;
}

QLineEdit* textBox(QWidget* page, const QString& name, int top, std::size_t maxBytes = kLongTextBytes,
                   int width = kBoxWidth) {
    auto* edit = new QLineEdit(page);
    edit->setObjectName(name);
    edit->setGeometry(kLeft, top, width, kEditHeight);
    limitStoredBytes(edit, maxBytes);
    return edit;
}

QPushButton* button(QWidget* page, const QString& name, const QString& caption, int left, int top) {
    auto* button = new QPushButton(caption, page);
    button->setObjectName(name);
    button->setAutoDefault(false);
    button->setGeometry(left, top, kButtonWidth, kButtonHeight);
    return button;
}

// A page with a path or address box and a button beside it, then the description box.
struct TargetPage {
    QLineEdit* target;
    QPushButton* button;
    QLineEdit* description;
};

QString text(std::string_view view) {
    return QString::fromUtf8(view.data(), static_cast<qsizetype>(view.size()));
}

TargetPage targetPage(ButtonPageControl& pages, const TaskKindInfo& kind) {
    QWidget* page = pages.addPage(text(kind.pageCaption), text(kind.pageName));
    QLabel* prompt = label(page, text(kind.prompt), 8);
    TargetPage controls{};
    controls.target = textBox(page, text(kind.targetBoxName), 24);
    prompt->setBuddy(controls.target);
    controls.button = button(page, text(kind.buttonName), text(kind.buttonCaption), kButtonLeft, 22);
    QLabel* descriptionLabel = label(page, QStringLiteral("Description:"), 56);
    controls.description = textBox(page, text(kind.descriptionName), 72);
    descriptionLabel->setBuddy(controls.description);
    return controls;
}

} // namespace

QLineEdit* TaskPageControls::targetBox(int page) const {
    return page >= 0 && page < kTaskKindCount ? targets[static_cast<std::size_t>(page)] : nullptr;
}

QLineEdit* TaskPageControls::descriptionBox(int page) const {
    return page >= 0 && page < kTaskKindCount ? descriptions[static_cast<std::size_t>(page)] : nullptr;
}

TaskPageControls buildTaskPages(ButtonPageControl& pages) {
    TaskPageControls c;

    const TaskKindInfo& alarmKind = kTaskKinds[kAlarmClock];
    QWidget* alarm = pages.addPage(text(alarmKind.pageCaption), text(alarmKind.pageName));
    QLabel* soundLabel = label(alarm, QStringLiteral("Alarm sound"), 8);
    c.AlarmSoundCB = new QComboBox(alarm);
    soundLabel->setBuddy(c.AlarmSoundCB);
    c.AlarmSoundCB->setObjectName(QStringLiteral("AlarmSoundCB"));
    c.AlarmSoundCB->setGeometry(kLeft, 24, 249, kEditHeight);
    c.PlaySndBT = button(alarm, QStringLiteral("PlaySndBT"), QStringLiteral("Play"), 264, 22);
    c.StopSndBT = button(alarm, QStringLiteral("StopSndBT"), QStringLiteral("Stop"), 345, 22);
    QLabel* noteLabel = label(alarm, QStringLiteral("Display note:"), 56);
    c.AlarmDescription = textBox(alarm, text(alarmKind.descriptionName), 72);
    noteLabel->setBuddy(c.AlarmDescription);

    const TaskKindInfo& memoKind = kTaskKinds[kMemo];
    QWidget* memo = pages.addPage(text(memoKind.pageCaption), text(memoKind.pageName));
    QLabel* memoLabel = label(memo, QStringLiteral("Type memo to be displayed."), 8);
    c.MemoDescription = new QPlainTextEdit(memo);
    memoLabel->setBuddy(c.MemoDescription);
    c.MemoDescription->setObjectName(text(memoKind.descriptionName));
    c.MemoDescription->setGeometry(kLeft, 24, kBoxWidth, 130);
    c.MemoDescription->setTabChangesFocus(true);
    limitStoredBytes(c.MemoDescription, kLongTextBytes);
    c.SetFontBT = button(memo, QStringLiteral("SetFontBT"), QStringLiteral("Set font"), kButtonLeft, 22);

    // Run Executable: a target page with the program's parameters between its boxes.
    const TaskKindInfo& program = kTaskKinds[kExecutable];
    QWidget* exe = pages.addPage(text(program.pageCaption), text(program.pageName));
    QLabel* pathLabel = label(exe, text(program.prompt), 8);
    c.ExePath = textBox(exe, text(program.targetBoxName), 24);
    pathLabel->setBuddy(c.ExePath);
    c.BrowseExe = button(exe, text(program.buttonName), text(program.buttonCaption), kButtonLeft, 22);
    QLabel* argumentLabel = label(exe, QStringLiteral("Parameters:"), 54);
    c.ExeArg = textBox(exe, QStringLiteral("ExeArg"), 70, kArgumentBytes);
    argumentLabel->setBuddy(c.ExeArg);
    c.ExeArg->setToolTip(QStringLiteral("Command line arguments to pass to executable"));
    QLabel* exeDescriptionLabel = label(exe, QStringLiteral("Description:"), 100);
    c.ExeDescription = textBox(exe, text(program.descriptionName), 116);
    exeDescriptionLabel->setBuddy(c.ExeDescription);
    c.targets[kExecutable] = c.ExePath;
    c.targetButtons[kExecutable] = c.BrowseExe;
    c.descriptions[kExecutable] = c.ExeDescription;

    // Every later kind: a box for its file or address, the button beside it, and its description.
    for (std::size_t kind = kWebAddress; kind < kTaskKinds.size(); ++kind) {
        const TargetPage page = targetPage(pages, kTaskKinds[kind]);
        c.targets[kind] = page.target;
        c.targetButtons[kind] = page.button;
        c.descriptions[kind] = page.description;
    }
    c.descriptions[kAlarmClock] = c.AlarmDescription;
    c.WebAddress = c.targets[kWebAddress];
    c.WebAddress->setText(QStringLiteral("http://"));
    c.WebVerify = c.targetButtons[kWebAddress];
    c.WebDescription = c.descriptions[kWebAddress];
    c.AudioPath = c.targets[kAudio];
    c.BrowseAudio = c.targetButtons[kAudio];
    c.AudioDescription = c.descriptions[kAudio];
    c.VideoPath = c.targets[kVideo];
    c.BrowseVideo = c.targetButtons[kVideo];
    c.VideoDescription = c.descriptions[kVideo];
    c.DocPath = c.targets[kDocument];
    c.BrowseDoc = c.targetButtons[kDocument];
    c.DocDescription = c.descriptions[kDocument];
    c.GeneralPath = c.targets[kGeneral];
    c.BrowseGeneral = c.targetButtons[kGeneral];
    c.GeneralDescription = c.descriptions[kGeneral];
    return c;
}

} // namespace velloran
