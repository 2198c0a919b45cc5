// What the rest of the program does for the main window: the settings it reads, the windows it opens and
// the notification windows it tidies. Tests hand in their own.
#pragma once

#include "common/result.h"

#include <cstdint>

class QWidget;

namespace velloran {

class MainWindowHost {
public:
    virtual ~MainWindowHost() = default;

    // Reads the settings into the record the main window shows; a failure is shown to the user.
    virtual Result<void> loadSettings() = 0;

    virtual void showSplash(QWidget* owner) = 0;
    // kind -1: the editor asks which kind.
    virtual void showNewTask(QWidget* owner, int kind) = 0;
    virtual void showEditTask(QWidget* owner, std::uint32_t taskId) = 0;
    virtual void showPreferences(QWidget* owner) = 0;
    virtual void showAbout(QWidget* owner) = 0;

    // Frees the alarm and memo windows the user has closed; at exit, every memo window.
    virtual void sweepClosedNotifications() = 0;
    virtual void destroyMemoWindows() = 0;

    // The window's close has begun (its last save, then the countdown), or was cancelled: a later start
    // then waits for this one to end rather than offer it back.
    virtual void closingChanged(bool closing) = 0;
};

} // namespace velloran
