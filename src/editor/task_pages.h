// The eight pages of the task editor, one per task kind, in the order of the kind codes.
#pragma once

#include "store/task.h"

#include <array>

class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace velloran {

class ButtonPageControl;

struct TaskPageControls {
    // Alarm Clock
    QComboBox* AlarmSoundCB = nullptr;
    QPushButton* PlaySndBT = nullptr;
    QPushButton* StopSndBT = nullptr;
    QLineEdit* AlarmDescription = nullptr;
    // Memo
    QPlainTextEdit* MemoDescription = nullptr;
    QPushButton* SetFontBT = nullptr;
    // Run Executable
    QLineEdit* ExePath = nullptr;
    QPushButton* BrowseExe = nullptr;
    QLineEdit* ExeArg = nullptr;
    QLineEdit* ExeDescription = nullptr;
    // Open Webpage
    QLineEdit* WebAddress = nullptr;
    QPushButton* WebVerify = nullptr;
    QLineEdit* WebDescription = nullptr;
    // Play Audio, Play Video, Open Document, General
    QLineEdit* AudioPath = nullptr;
    QPushButton* BrowseAudio = nullptr;
    QLineEdit* AudioDescription = nullptr;
    QLineEdit* VideoPath = nullptr;
    QPushButton* BrowseVideo = nullptr;
    QLineEdit* VideoDescription = nullptr;
    QLineEdit* DocPath = nullptr;
    QPushButton* BrowseDoc = nullptr;
    QLineEdit* DocDescription = nullptr;
    QLineEdit* GeneralPath = nullptr;
    QPushButton* BrowseGeneral = nullptr;
    QLineEdit* GeneralDescription = nullptr;

    // By kind code: the path or address box of each page, the button beside it and the description box;
    // nullptr where a page has none.
    std::array<QLineEdit*, kTaskKindCount> targets{};
    std::array<QPushButton*, kTaskKindCount> targetButtons{};
    std::array<QLineEdit*, kTaskKindCount> descriptions{};

    // The path or address box of a page (nullptr for Alarm Clock and Memo) and its description box.
    QLineEdit* targetBox(int page) const;
    QLineEdit* descriptionBox(int page) const;
};

// Adds the pages to the control and returns their controls, with the input limits in place.
TaskPageControls buildTaskPages(ButtonPageControl& pages);

} // namespace velloran
