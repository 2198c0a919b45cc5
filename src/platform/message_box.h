// Modal message boxes behind one helper, so that tests can answer them without a person.
#pragma once

#include <QMessageBox>
#include <QString>
#include <functional>

namespace velloran {

struct MessageBoxRequest {
    QString caption;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    // The first of them as written (OK before Cancel, Yes before No) is the default: Enter chooses it,
    // whatever order the desktop shows the buttons in.
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    // Called with the button chosen while the box is still on screen and holds the focus (the box is
    // null where a test answers); what the user's click allows, such as an activation token, is asked
    // for here.
    std::function<void(QMessageBox::StandardButton, QWidget* box)> answered = {};
};

class MessageBoxes {
public:
    // Shows the box modally and returns the button chosen (Escape or the close box: Cancel or No where
    // offered, otherwise the only button).
    static QMessageBox::StandardButton ask(QWidget* parent, const MessageBoxRequest& request);

    // A refused entry: caption "Warning", a warning icon and OK.
    static void warning(QWidget* parent, const QString& text);
    // An error of the program's own, such as a failed save: caption "Velloran", an error icon and OK.
    static void error(QWidget* parent, const QString& text);
    // News of the program's own that asks nothing of the user: caption "Velloran", an information icon
    // and OK.
    static void information(QWidget* parent, const QString& text);

    // For tests: every box goes to the handler instead of the screen, and its answer is returned.
    using Handler = std::function<QMessageBox::StandardButton(const MessageBoxRequest&)>;
    static void setHandler(Handler handler);

    // The button that Enter chooses: the first of them as written.
    static QMessageBox::StandardButton defaultButton(QMessageBox::StandardButtons buttons);
};

} // namespace velloran
