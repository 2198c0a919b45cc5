// The memo note window: a borderless sheet of note paper with the memo text in the task's font and the
// moment it appeared; it alerts once when shown and closes by its close picture.
#pragma once

#include "notification_form.h"

#include "common/datetime.h"
#include "common/font_block.h"

#include <memory>
#include <string>

namespace Ui {
class MemoForm;
}

namespace velloran {

class NotificationWindowTable;
class SoundPlayer;
class WindowDrag;

// The controls and their places are in memo_form.ui; the paper, the close picture and the window's
// shape are drawn here, since a form cannot say them.
class MemoForm final : public NotificationForm {
    Q_OBJECT
public:
    MemoForm(NotificationWindowTable& table, SoundPlayer& sound, DesktopNotifications& notifications,
             const Clock& clock);
    ~MemoForm() override;

    // Registers the window, fills it and shows it without waiting. The font block is read during the
    // call only.
    void showMemo(const std::string& text, const FontBlock& font);

    // The memo text's colour, as the font block gave it.
    QColor memoColor() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void drawArtwork();
    void applyFont(const FontBlock& font);

    std::unique_ptr<Ui::MemoForm> ui_;
    NotificationWindowTable& table_;
    SoundPlayer& sound_;
    const Clock& clock_;
    WindowDrag* drag_ = nullptr;
};

} // namespace velloran
