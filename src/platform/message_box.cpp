#include "message_box.h"

#include "owner_modal.h"

#include <QLabel>

namespace velloran {
namespace {

QString iconName(QMessageBox::Icon icon) {
    switch (icon) {
    case QMessageBox::Information:
        return QStringLiteral("Information");
    case QMessageBox::Warning:
        return QStringLiteral("Warning");
    case QMessageBox::Critical:
        return QStringLiteral("Error");
    case QMessageBox::Question:
        return QStringLiteral("Question");
    default:
        return {};
    }
}

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
    // The icon says what kind of message this is; a screen reader says it in words.
    if (auto* icon = box.findChild<QLabel*>(QStringLiteral("qt_msgboxex_icon_label")))
        icon->setAccessibleName(iconName(request.icon));
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
