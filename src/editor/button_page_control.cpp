#include "button_page_control.h"

#include "platform/accessible_roles.h"

#include <QButtonGroup>
#include <QEvent>
#include <QFrame>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace velloran {
namespace {

// Room around a caption inside its button, so that no style clips it; at least a frame on each side and
// some air, when long captions (a translation's) must share the row.
constexpr int kCaptionPadding = 14;
constexpr int kMinimumPadding = 10;
constexpr int kButtonGap = 2;

// The row and its buttons are classes of their own only so that screen readers hear a page tab list of
// page tabs rather than a row of check boxes.
class PageTabRow : public QWidget {
    Q_OBJECT
public:
    explicit PageTabRow(QWidget* parent) : QWidget(parent) {
        setAccessibleRole(this, QAccessible::PageTabList);
    }
};

class PageTabButton : public QPushButton {
    Q_OBJECT
public:
    PageTabButton(const QString& caption, QWidget* parent) : QPushButton(caption, parent) {
        setAccessibleRole(this, QAccessible::PageTab);
    }
};

} // namespace

ButtonPageControl::ButtonPageControl(QWidget* parent)
    : QWidget(parent), tabRow_(new PageTabRow(this)), buttons_(new QButtonGroup(this)),
      frame_(new QFrame(this)), stack_(new QStackedWidget(frame_)), noPage_(new QWidget(stack_)) {
    frame_->setFrameShape(QFrame::StyledPanel);
    frame_->setFrameShadow(QFrame::Raised);
    auto* layout = new QVBoxLayout(frame_);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->addWidget(stack_);
    stack_->addWidget(noPage_);
    buttons_->setExclusive(true);
    connect(buttons_, &QButtonGroup::idClicked, this, [this](int id) {
        const bool changed = activePageIndex() != id;
        setActivePageIndex(id);
        if (changed)
            emit activePageChanged(id);
    });
}

void ButtonPageControl::addPage(QWidget* page) {
    auto* button = new PageTabButton(page->windowTitle(), tabRow_);
    button->setObjectName(page->objectName() + QStringLiteral("Button"));
    button->setCheckable(true);
    button->setAutoDefault(false);
    buttons_->addButton(button, count());
    stack_->addWidget(page);
    page->installEventFilter(this);
    // Tab reaches a page's button and then the page's controls. The page was made inside this control,
    // so its controls come first in the chain: the button moves to behind what comes before them.
    QWidget* before = page->previousInFocusChain();
    while (before != window() && before->focusPolicy() == Qt::NoFocus)
        before = before->previousInFocusChain();
    if (before != window())
        QWidget::setTabOrder(before, button);
    arrange();
}

int ButtonPageControl::count() const {
    return stack_->count() - 1;
}

QWidget* ButtonPageControl::page(int index) const {
    return index >= 0 && index < count() ? stack_->widget(index + 1) : nullptr;
}

QAbstractButton* ButtonPageControl::pageButton(int index) const {
    return buttons_->button(index);
}

int ButtonPageControl::activePageIndex() const {
    return stack_->currentIndex() - 1;
}

void ButtonPageControl::setActivePageIndex(int index) {
    if (index < 0 || index >= count()) {
        // An exclusive group keeps one button down; let go of it to show that no page is chosen.
        buttons_->setExclusive(false);
        for (QAbstractButton* button : buttons_->buttons())
            button->setChecked(false);
        buttons_->setExclusive(true);
        stack_->setCurrentWidget(noPage_);
        return;
    }
    buttons_->button(index)->setChecked(true);
    stack_->setCurrentIndex(index + 1);
}

void ButtonPageControl::setTabListName(const QString& name) {
    tabRow_->setAccessibleName(name);
}

void ButtonPageControl::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    arrange();
}

bool ButtonPageControl::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::WindowTitleChange) {
        const int index = stack_->indexOf(qobject_cast<QWidget*>(watched)) - 1;
        if (QAbstractButton* button = pageButton(index)) {
            button->setText(page(index)->windowTitle());
            arrange();
        }
    }
    return QWidget::eventFilter(watched, event);
}

void ButtonPageControl::arrange() {
    // Each caption gets the same padding; less of it when the row would not fit the width otherwise.
    const int pages = count();
    int captions = 0;
    for (int index = 0; index < pages; ++index)
        captions += buttons_->button(index)->fontMetrics().horizontalAdvance(buttons_->button(index)->text());
    int padding = kCaptionPadding;
    if (pages > 0 && captions + pages * padding + (pages - 1) * kButtonGap > width())
        padding = std::max(kMinimumPadding, (width() - captions - (pages - 1) * kButtonGap) / pages);
    tabRow_->setGeometry(0, 0, width(), kButtonHeight);
    int left = 0;
    for (int index = 0; index < pages; ++index) {
        QAbstractButton* button = buttons_->button(index);
        const int buttonWidth = button->fontMetrics().horizontalAdvance(button->text()) + padding;
        button->setGeometry(left, 0, buttonWidth, kButtonHeight);
        left += buttonWidth + kButtonGap;
    }
    const int top = kButtonHeight + 3;
    frame_->setGeometry(0, top, width(), height() - top);
}

} // namespace velloran

#include "button_page_control.moc"
