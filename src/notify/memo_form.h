// The memo note window: a borderless sheet of note paper with the memo text in the task's font and the
// moment it appeared; it alerts once when shown and closes by its close picture.
#pragma once

#include "notification_form.h"

#include "common/datetime.h"
#include "common/font_block.h"

#include <string>

class QLabel;

namespace velloran {

class ClickablePicture;
class NotificationWindowTable;
class SoundPlayer;
class WindowDrag;

class TMemoForm final : public NotificationForm {
    Q_OBJECT
public:
    TMemoForm(NotificationWindowTable& table, SoundPlayer& sound, DesktopNotifications& notifications,
              const Clock& clock);

    // Registers the window, fills it and shows it without waiting. The font block is read during the
    // call only.
    void ShowMemo(const std::string& text, const FontBlock& font);

    void Image1Click();

    // The memo text's colour, as the font block gave it.
    QColor memoColor() const;

protected:
    void FormShow();
    void showEvent(QShowEvent* event) override;

private:
    void createControls();
    void applyFont(const FontBlock& font);

    NotificationWindowTable& table_;
    SoundPlayer& sound_;
    const Clock& clock_;

    QLabel* paperimage = nullptr;
    ClickablePicture* Image1 = nullptr;
    QLabel* Memo1 = nullptr;
    QLabel* Label1 = nullptr;
    WindowDrag* drag_ = nullptr;
};

} // namespace velloran
