#include "task_pages.h"

#include "button_page_control.h"
#include "input_limits.h"
#include "task_entries.h"

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

TargetPage targetPage(ButtonPageControl& pages, const QString& pageName, const QString& caption,
                      const QString& prompt, const QString& boxName, const QString& buttonName,
                      const QString& buttonCaption, const QString& descriptionName) {
    QWidget* page = pages.addPage(caption, pageName);
    QLabel* promptLabel = label(page, prompt, 8);
    TargetPage controls{};
    controls.target = textBox(page, boxName, 24);
    promptLabel->setBuddy(controls.target);
    controls.button = button(page, buttonName, buttonCaption, kButtonLeft, 22);
    QLabel* descriptionLabel = label(page, QStringLiteral("Description:"), 56);
    controls.description = textBox(page, descriptionName, 72);
    descriptionLabel->setBuddy(controls.description);
    return controls;
}

} // namespace

QLineEdit* TaskPageControls::targetBox(int page) const {
    switch (page) {
    case kExecutable:
        return ExePath;
    case kWebAddress:
        return WebAddress;
    case kAudio:
        return AudioPath;
    case kVideo:
        return VideoPath;
    case kDocument:
        return DocPath;
    case kGeneral:
        return GeneralPath;
    default:
        return nullptr;
    }
}

QLineEdit* TaskPageControls::descriptionBox(int page) const {
    switch (page) {
    case kAlarmClock:
        return AlarmDescription;
    case kExecutable:
        return ExeDescription;
    case kWebAddress:
        return WebDescription;
    case kAudio:
        return AudioDescription;
    case kVideo:
        return VideoDescription;
    case kDocument:
        return DocDescription;
    case kGeneral:
        return GeneralDescription;
    default:
        return nullptr;
    }
}

TaskPageControls buildTaskPages(ButtonPageControl& pages) {
    TaskPageControls c;

    QWidget* alarm = pages.addPage(QStringLiteral("Alarm Clock"), QStringLiteral("AlarmSheet"));
    QLabel* soundLabel = label(alarm, QStringLiteral("Alarm sound"), 8);
    c.AlarmSoundCB = new QComboBox(alarm);
    soundLabel->setBuddy(c.AlarmSoundCB);
    c.AlarmSoundCB->setObjectName(QStringLiteral("AlarmSoundCB"));
    c.AlarmSoundCB->setGeometry(kLeft, 24, 249, kEditHeight);
    c.PlaySndBT = button(alarm, QStringLiteral("PlaySndBT"), QStringLiteral("Play"), 264, 22);
    c.StopSndBT = button(alarm, QStringLiteral("StopSndBT"), QStringLiteral("Stop"), 345, 22);
    QLabel* noteLabel = label(alarm, QStringLiteral("Display note:"), 56);
    c.AlarmDescription = textBox(alarm, QStringLiteral("AlarmDescription"), 72);
    noteLabel->setBuddy(c.AlarmDescription);

    QWidget* memo = pages.addPage(QStringLiteral("Memo"), QStringLiteral("MemoSheet"));
    QLabel* memoLabel = label(memo, QStringLiteral("Type memo to be displayed."), 8);
    c.MemoDescription = new QPlainTextEdit(memo);
    memoLabel->setBuddy(c.MemoDescription);
    c.MemoDescription->setObjectName(QStringLiteral("MemoDescription"));
    c.MemoDescription->setGeometry(kLeft, 24, kBoxWidth, 130);
    c.MemoDescription->setTabChangesFocus(true);
    limitStoredBytes(c.MemoDescription, kLongTextBytes);
    c.SetFontBT = button(memo, QStringLiteral("SetFontBT"), QStringLiteral("Set font"), kButtonLeft, 22);

    QWidget* exe = pages.addPage(QStringLiteral("Run Executable"), QStringLiteral("ExeSheet"));
    QLabel* pathLabel = label(exe, QStringLiteral("Type full path or browse for program to execute."), 8);
    c.ExePath = textBox(exe, QStringLiteral("ExePath"), 24);
    pathLabel->setBuddy(c.ExePath);
    c.BrowseExe = button(exe, QStringLiteral("BrowseExe"), QStringLiteral("Browse..."), kButtonLeft, 22);
    QLabel* argumentLabel = label(exe, QStringLiteral("Parameters:"), 54);
    c.ExeArg = textBox(exe, QStringLiteral("ExeArg"), 70, kArgumentBytes);
    argumentLabel->setBuddy(c.ExeArg);
    c.ExeArg->setToolTip(QStringLiteral("Command line arguments to pass to executable"));
    QLabel* exeDescriptionLabel = label(exe, QStringLiteral("Description:"), 100);
    c.ExeDescription = textBox(exe, QStringLiteral("ExeDescription"), 116);
    exeDescriptionLabel->setBuddy(c.ExeDescription);

    const TargetPage web =
        targetPage(pages, QStringLiteral("WebSheet"), QStringLiteral("Open Webpage"),
                   QStringLiteral("Type the address of the web page to open. Include any parameters. "
                                  "( must use http:// or ftp:// )"),
                   QStringLiteral("WebAddress"), QStringLiteral("WebVerify"), QStringLiteral("&Verify"),
                   QStringLiteral("WebDescription"));
    c.WebAddress = web.target;
    c.WebAddress->setText(QStringLiteral("http://"));
    c.WebVerify = web.button;
    c.WebDescription = web.description;

    const TargetPage audio = targetPage(pages, QStringLiteral("AudioSheet"), QStringLiteral("Play Audio"),
                                        QStringLiteral("Type full path or browse for audio file to play."),
                                        QStringLiteral("AudioPath"), QStringLiteral("BrowseAudio"),
                                        QStringLiteral("Browse..."), QStringLiteral("AudioDescription"));
    c.AudioPath = audio.target;
    c.BrowseAudio = audio.button;
    c.AudioDescription = audio.description;

    const TargetPage video = targetPage(pages, QStringLiteral("VideoSheet"), QStringLiteral("Play Video"),
                                        QStringLiteral("Type full path or browse for video file to play."),
                                        QStringLiteral("VideoPath"), QStringLiteral("BrowseVideo"),
                                        QStringLiteral("Browse..."), QStringLiteral("VideoDescription"));
    c.VideoPath = video.target;
    c.BrowseVideo = video.button;
    c.VideoDescription = video.description;

    const TargetPage doc = targetPage(pages, QStringLiteral("DocSheet"), QStringLiteral("Open Document"),
                                      QStringLiteral("Type full path or browse for document to open."),
                                      QStringLiteral("DocPath"), QStringLiteral("BrowseDoc"),
                                      QStringLiteral("Browse..."), QStringLiteral("DocDescription"));
    c.DocPath = doc.target;
    c.BrowseDoc = doc.button;
    c.DocDescription = doc.description;

    const TargetPage general = targetPage(pages, QStringLiteral("GeneralSheet"), QStringLiteral("General"),
                                          QStringLiteral("Type full path or browse for file to open."),
                                          QStringLiteral("GeneralPath"), QStringLiteral("BrowseGeneral"),
                                          QStringLiteral("Browse..."), QStringLiteral("GeneralDescription"));
    c.GeneralPath = general.target;
    c.BrowseGeneral = general.button;
    c.GeneralDescription = general.description;
    return c;
}

} // namespace velloran
