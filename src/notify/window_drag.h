// Moves a borderless window when the user drags one of its handles with any mouse button.
#pragma once

#include <QObject>
#include <QPoint>

class QWidget;

namespace velloran {

class WindowDrag : public QObject {
public:
    // The drag belongs to window and lives as long as it does.
    explicit WindowDrag(QWidget* window);

    // Pressing on handle starts a drag; presses on other controls do not.
    void addHandle(QWidget* handle);

    bool dragging() const { return dragging_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The press point is kept relative to the pressed handle; each move shifts the window by how far
    // the pointer has left that point, so the grabbed spot stays under the pointer.
    void mouseDown(QPoint position);
    void mouseMove(QPoint position);
    void mouseUp() { dragging_ = false; }

    QWidget* window_;
    bool dragging_ = false;
    // The left button is down on a handle and the pointer has not moved far yet.
    bool systemMovePending_ = false;
    QPoint press_;
};

} // namespace velloran
