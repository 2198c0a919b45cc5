#include "message_box.h"

#include "owner_modal.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QLabel>

namespace velloran {
namespace {

QString iconName(QMessageBox::Icon icon) {
    switch (icon) {
    case QMessageBox::Information:
        return QCoreApplication::translate("MessageBoxes", "Information");
    case QMessageBox::Warning:
        return QCoreApplication::translate("MessageBoxes", "Warning");
    case QMessageBox::Critical:
        return QCoreApplication::translate("MessageBoxes", "Error");
    case QMessageBox::Question:
        return QCoreApplication::translate("MessageBoxes", "Question");
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
    if (handler()) {
        const auto answer = handler()(request);
        if (request.answered)
            request.answered(answer, nullptr);
        return answer;
    }
    QMessageBox box(request.icon, request.caption, request.text, request.buttons, parent);
    makeOwnerModal(&box);
    keepAboveNotifications(&box);
    // Without a default, the focus (and with it Enter) goes to the button the desktop lays out first:
    // Cancel on desktops that show "Cancel | OK".
    box.setDefaultButton(defaultButton(request.buttons));
    // The icon says what kind of message this is; a screen reader says it in words.
    if (auto* icon = box.findChild<QLabel*>(QStringLiteral("qt_msgboxex_icon_label")))
        icon->setAccessibleName(iconName(request.icon));
    if (request.answered)
        QObject::connect(&box, &QMessageBox::buttonClicked, &box, [&box, &request](QAbstractButton* button) {
            request.answered(box.standardButton(button), &box);
        });
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

QMessageBox::StandardButton MessageBoxes::defaultButton(QMessageBox::StandardButtons buttons) {
    // The standard buttons' values follow the order in which a message names them.
    for (auto bit = quint32(QMessageBox::FirstButton); bit <= quint32(QMessageBox::LastButton); bit <<= 1)
        if (buttons.testFlag(QMessageBox::StandardButton(bit)))
            return QMessageBox::StandardButton(bit);
    return QMessageBox::NoButton;
}

void MessageBoxes::warning(QWidget* parent, const QString& text) {
    ask(parent, {QCoreApplication::translate("MessageBoxes", "Warning"), text, QMessageBox::Warning,
                 QMessageBox::Ok});
}

void MessageBoxes::error(QWidget* parent, const QString& text) {
    // The program's name, in every language.
    ask(parent, {QStringLiteral("Velloran"), text, QMessageBox::Critical, QMessageBox::Ok});
}

void MessageBoxes::information(QWidget* parent, const QString& text) {
    ask(parent, {QStringLiteral("Velloran"), text, QMessageBox::Information, QMessageBox::Ok});
}

void MessageBoxes::setHandler(Handler next) {
    handler() = std::move(next);
}

} // namespace velloran
