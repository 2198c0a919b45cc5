// TSplashForm: the borderless start-up picture, shown modally for about four seconds on a normal start.
#pragma once

#include "platform/timer.h"

#include <QDialog>

class QLabel;

namespace velloran {

class TSplashForm : public QDialog {
    Q_OBJECT
public:
    // Counts with the program's one tick counter.
    explicit TSplashForm(QWidget* parent = nullptr);
    // Counts with the given counter instead, which must outlive the window.
    TSplashForm(QWidget* parent, int& tickCounter);

    // The program's tick counter: 0 at start, never reset, so only the first splash of a run lasts.
    static int& programTickCounter();

    QLabel* Image1 = nullptr;
    Timer* Timer1 = nullptr;

    void FormShow();
    // Closes the window on the fourth tick; the first three only count.
    void Timer1Timer();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    int& ticks_;
};

} // namespace velloran
