// ExitForm: a short countdown before the application ends, which the user can cancel.
#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class ExitForm;
}

namespace velloran {

class Timer;

class ExitForm : public QDialog {
    Q_OBJECT
public:
    explicit ExitForm(QWidget* parent = nullptr);
    ~ExitForm() override;

    // Result of Cancel; anything but Accepted keeps the application running.
    static constexpr int kCancelled = -1;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // One tick of the countdown: the number in the OK button, and OK once it has run out.
    void countDown();
    void cancel();

    std::unique_ptr<Ui::ExitForm> ui;
    Timer* exitTimer_ = nullptr;
    int counter_ = 3;
};

} // namespace velloran
