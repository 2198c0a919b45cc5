// A start while Velloran already runs for this user: the question, and on OK the request that brings the
// running one back.
#pragma once

#include "platform/wayland_activation.h"
#include "restore_request.h"

#include <QMessageBox>
#include <QString>
#include <functional>

class QWidget;

namespace velloran {

// Where the question's activation token comes from: the compositor, for the user's click on the
// question window (on Wayland), or nowhere.
using ActivationTokenSource = std::function<QString(QWidget* question)>;

// Shows "Application running"; on OK hands restore the launcher's tokens, or, where the launcher gave
// no Wayland token, one that the compositor gives for the OK click. Returns the button chosen.
QMessageBox::StandardButton
askAboutRunningInstance(const RestoreRequest& launch,
                        const std::function<void(const RestoreRequest&)>& restore,
                        const ActivationTokenSource& tokenFor = waylandActivationToken);

} // namespace velloran
