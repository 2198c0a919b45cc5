#include "second_start.h"

#include "platform/message_box.h"

namespace velloran {
namespace {

constexpr const char* kAlreadyRunning =
    "Application is already running. Look in the icon tray for the application\n"
    "icon and double click on the icon to open.\n"
    "If icon is not visable in the icon tray click OK to open, otherwise\n"
    "select cancel and double click in icon tray to open.";

} // namespace

QMessageBox::StandardButton askAboutRunningInstance(const RestoreRequest& launch,
                                                    const std::function<void(const RestoreRequest&)>& restore,
                                                    const ActivationTokenSource& tokenFor) {
    RestoreRequest request = launch;
    MessageBoxRequest question{QStringLiteral("Application running"), QString::fromLatin1(kAlreadyRunning),
                               QMessageBox::Warning, QMessageBox::Ok | QMessageBox::Cancel};
    // The token must be asked for while the question is still shown and has the focus: the compositor
    // gives one only for the user's action on a window that holds it.
    question.answered = [&](QMessageBox::StandardButton answer, QWidget* box) {
        if (answer == QMessageBox::Ok && request.activationToken.empty())
            request = withFallbackActivationToken(launch, tokenFor(box).toStdString());
    };
    const auto answer = MessageBoxes::ask(nullptr, question);
    if (answer == QMessageBox::Ok)
        restore(request);
    return answer;
}

} // namespace velloran
