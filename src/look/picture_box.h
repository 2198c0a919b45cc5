// A picture drawn to fill its box. Lighter than a label for a window that shows nothing else, such as
// the start-up picture: no text layout, no frame, no size rules of its own.
#pragma once

#include <QPixmap>
#include <QWidget>

namespace velloran {

class PictureBox : public QWidget {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr);

    void setPixmap(const QPixmap& pixmap);
    const QPixmap& pixmap() const { return pixmap_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap pixmap_;
};

} // namespace velloran
