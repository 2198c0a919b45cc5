#include "accessible_roles.h"

#include <QAbstractButton>
#include <QAccessibleWidget>
#include <QLabel>
#include <QMetaMethod>
#include <QWidget>

namespace velloran {
namespace {

constexpr const char* kRoleProperty = "velloranAccessibleRole";

QString withoutAccessKey(QString text) {
    // "&&" is a shown ampersand; a single "&" only marks the access key.
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(QLatin1Char('&'));
    text.replace(QStringLiteral("\x01"), QStringLiteral("&"));
    return text;
}

bool hasClickedSignal(const QObject* object) {
    return object->metaObject()->indexOfSignal("clicked()") >= 0;
}

class RoleAccessible : public QAccessibleWidget {
public:
    RoleAccessible(QWidget* widget, QAccessible::Role role) : QAccessibleWidget(widget, role) {
        if (button() != nullptr || hasClickedSignal(widget))
            addControllingSignal(QStringLiteral("clicked()"));
    }

    QString text(QAccessible::Text kind) const override {
        QString text = QAccessibleWidget::text(kind);
        if (kind != QAccessible::Name || !text.isEmpty())
            return text;
        if (const QAbstractButton* b = button())
            return withoutAccessKey(b->text());
        if (const auto* label = qobject_cast<const QLabel*>(widget()))
            return withoutAccessKey(label->text());
        return text;
    }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        if (role() == QAccessible::PageTab) {
            state.selectable = true;
            if (const QAbstractButton* b = button())
                state.selected = b->isChecked();
        }
        if (role() == QAccessible::Link)
            state.linked = true;
        return state;
    }

    QStringList actionNames() const override {
        if (button() != nullptr || hasClickedSignal(widget()))
            return {pressAction()};
        return QAccessibleWidget::actionNames();
    }

    void doAction(const QString& action) override {
        if (action != pressAction()) {
            QAccessibleWidget::doAction(action);
            return;
        }
        if (!widget()->isEnabled())
            return;
        // Later, from the event loop: what a press opens may be modal, and the screen reader that asked
        // waits for this call to return.
        if (QAbstractButton* b = button())
            b->animateClick();
        else
            QMetaObject::invokeMethod(widget(), "clicked", Qt::QueuedConnection);
    }

private:
    QAbstractButton* button() const { return qobject_cast<QAbstractButton*>(widget()); }
};

QAccessibleInterface* roleFactory(const QString&, QObject* object) {
    if (object == nullptr || !object->isWidgetType())
        return nullptr;
    const QVariant role = object->property(kRoleProperty);
    if (!role.isValid())
        return nullptr;
    return new RoleAccessible(static_cast<QWidget*>(object), static_cast<QAccessible::Role>(role.toInt()));
}

} // namespace

void setAccessibleRole(QWidget* widget, QAccessible::Role role) {
    static const bool installed = [] {
        QAccessible::installFactory(roleFactory);
        return true;
    }();
    (void)installed;
    widget->setProperty(kRoleProperty, static_cast<int>(role));
}

} // namespace velloran
