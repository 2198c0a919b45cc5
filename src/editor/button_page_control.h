// Pages chosen with a row of buttons above them; no page at all is shown until one is chosen. A page's
// button shows the page's window title, which the form sets (and a change of language renews).
#pragma once

#include <QWidget>

class QAbstractButton;
class QButtonGroup;
class QFrame;
class QStackedWidget;

namespace velloran {

class ButtonPageControl : public QWidget {
    Q_OBJECT
public:
    explicit ButtonPageControl(QWidget* parent = nullptr);

    // Adds a page and its button, named after the page with "Button" behind.
    void addPage(QWidget* page);
    int count() const;
    QWidget* page(int index) const;
    QAbstractButton* pageButton(int index) const;

    // The index of the page shown, or -1 when none is.
    int activePageIndex() const;
    // An index outside the pages shows none.
    void setActivePageIndex(int index);

    // What screen readers call the row of page buttons, which they see as a page tab list.
    void setTabListName(const QString& name);

    static constexpr int kButtonHeight = 23;

signals:
    void activePageChanged(int index);

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void arrange();

    QWidget* tabRow_;
    QButtonGroup* buttons_;
    QFrame* frame_;
    QStackedWidget* stack_;
    QWidget* noPage_;
};

} // namespace velloran
