// TExitForm: a short countdown before the application ends, which the user can cancel.
#pragma once

#include "platform/timer.h"

#include <QDialog>

class QLabel;
class QPushButton;

namespace velloran {

class TExitForm : public QDialog {
    Q_OBJECT
public:
    explicit TExitForm(QWidget* parent = nullptr);

    // Result of Cancel; anything but Accepted keeps the application running.
    static constexpr int kCancelled = -1;

    QPushButton* AutoOK = nullptr;
    QPushButton* Button1 = nullptr;
    QLabel* Label1 = nullptr;
    Timer* ExitTimer = nullptr;

    void ExitTimerTimer();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    int counter_ = 3;
};

} // namespace velloran
