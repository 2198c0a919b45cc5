// The splash window: the borderless start-up picture, shown modally for about four seconds on a normal
// start. A plain window with its own modal loop rather than a dialog: it is the only window of the
// start-up that is not the main one, and a dialog and a label would keep code in memory for it all day.
#pragma once

#include <QWidget>
#include <memory>

class QEventLoop;

namespace Ui {
class SplashForm;
}

namespace velloran {

class Timer;

class SplashForm : public QWidget {
    Q_OBJECT
public:
    // Counts with the program's one tick counter.
    explicit SplashForm(QWidget* parent = nullptr);
    // Counts with the given counter instead, which must outlive the window.
    SplashForm(QWidget* parent, int& tickCounter);
    ~SplashForm() override;

    // The program's tick counter: 0 at start, never reset, so only the first splash of a run lasts.
    static int& programTickCounter();

    // Shows the window modally and returns once it is gone: 1 when its ticks closed it, 0 when it was
    // closed otherwise (a close request from the system).
    int exec();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    // Closes the window on the fourth tick of the run; the first three only count.
    void countTick();

    std::unique_ptr<Ui::SplashForm> ui_;
    Timer* timer_ = nullptr;
    int& ticks_;
    int result_ = 0;
    QEventLoop* modalLoop_ = nullptr;
};

} // namespace velloran
