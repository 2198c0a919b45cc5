// A picture that works as a button: a left click on it, or Space or Enter while it has the keyboard,
// emits clicked(). Screen readers see a button, named by its accessible name, with a "Press" action.
#pragma once

#include <QLabel>

namespace velloran {

class ClickablePicture : public QLabel {
    Q_OBJECT
public:
    explicit ClickablePicture(QWidget* parent = nullptr);

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace velloran
