// Keeps a window's controls at their distances to the edges they are anchored to, as its form placed
// them, while the window grows beyond the size the form was drawn at. A layout cannot say it: the task
// list reaches one pixel beyond its parent's right edge, and the buttons stand at their own distances.
#pragma once

#include <QPointer>
#include <QRect>
#include <QSize>
#include <vector>

class QWidget;

namespace velloran {

class EdgeAnchors {
public:
    enum Edge { Left = 0x1, Top = 0x2, Right = 0x4, Bottom = 0x8 };

    // designed: the parent's size that the controls' places were drawn for.
    explicit EdgeAnchors(QSize designed = {}) : designed_(designed) {}

    // Remembers where the control stands now, at the designed size. Left and Top are where it always
    // stays; Right or Bottom alone moves it with that edge; both stretch it.
    void anchor(QWidget* control, int edges);
    // Places every control for its parent's size; a parent smaller than designed counts as designed.
    void follow(QSize parentSize) const;

private:
    struct Anchored {
        QPointer<QWidget> control;
        QRect designed;
        int edges;
    };

    QSize designed_;
    std::vector<Anchored> controls_;
};

} // namespace velloran
