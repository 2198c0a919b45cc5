// Where a close that the system asks for (SIGTERM, SIGHUP, SIGINT, the session's end) goes. Once the main
// window exists it takes the close on its usual path; before that (a second start's question, the
// splash, a start-up error) the request ends whatever modal window is up and is kept for the main window.
// The session manager ends a session by telling the application to quit, which would only close the
// visible windows and so skip the close path of a main window in the tray: that quit becomes a request.
#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

namespace velloran {

class SystemCloseRequests : public QObject {
    Q_OBJECT
public:
    explicit SystemCloseRequests(QObject* parent = nullptr);

    // False when the close was refused (the user cancelled the countdown); true when it is done, under
    // way, or kept until the main window exists.
    bool request();
    bool requested() const { return requested_; }

    // The main window now exists; a kept request reaches it as soon as the event loop runs.
    // mainWindowClosed tells when its close went through, after which the application may quit.
    void attach(std::function<bool()> closeMainWindow, std::function<bool()> mainWindowClosed);

    // Ends every modal window on screen as its Escape would: a message box with its escape button.
    static void endModalWindows();

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<bool()> closeMainWindow_;
    std::function<bool()> mainWindowClosed_;
    bool requested_ = false;
    // Until the main window exists, modal windows that open after the request are ended too.
    QTimer sweeper_;
};

} // namespace velloran
