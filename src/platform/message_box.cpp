#include "message_box.h"

#include "owner_modal.h"

namespace velloran {
namespace {

MessageBoxes::Handler& handler() {
    static MessageBoxes::Handler instance;
    return instance;
}

} // namespace

QMessageBox::StandardButton MessageBoxes::ask(QWidget* parent, const MessageBoxRequest& request) {
    if (handler())
        return handler()(request);
    QMessageBox box(request.icon, request.caption, request.text, request.buttons, parent);
    makeOwnerModal(&box);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

void MessageBoxes::warning(QWidget* parent, const QString& text) {
    ask(parent, {QStringLiteral("Warning"), text, QMessageBox::Warning, QMessageBox::Ok});
}

void MessageBoxes::error(QWidget* parent, const QString& text) {
    ask(parent, {QStringLiteral("Velloran"), text, QMessageBox::Critical, QMessageBox::Ok});
}

void MessageBoxes::setHandler(Handler next) {
    handler() = std::move(next);
}

} // namespace velloran
