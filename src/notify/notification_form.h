// What alarm and memo windows share: a borderless, always-on-top window shaped to its picture, and the
// closed flag that tells the main window's sweep that the window may be destroyed.
#pragma once

#include <QWidget>

namespace velloran {

class NotificationForm : public QWidget {
    Q_OBJECT
public:
    // Set by every close; a closed window is only hidden until the sweep destroys it.
    bool closed() const { return closed_; }

protected:
    // No owner: the window stands on its own on the desktop, where the window manager places it.
    NotificationForm(const QString& caption, QSize clientSize);

    // Runs on every close (the window's own buttons, the window manager's close command, close()).
    virtual void FormClose() {}
    void closeEvent(QCloseEvent* event) override;

    // A picture of the artwork at a size, and the part of it that is at least half opaque; each is
    // rendered once and shared by every window.
    static QPixmap picture(const char* name, QSize size, qreal devicePixelRatio);
    static QRegion pictureShape(const char* name, QSize size);

    // True when the window is translucent and its pictures' alpha draws its outline; false when a mask
    // cuts it out. Chosen once, on creation, for the platform the window shows on.
    bool drawnByAlpha() const { return drawnByAlpha_; }
    // The colour of the pictures' rim. A masked window lays it under everything, so the anti-aliased
    // edge that the mask cuts blends into it instead of into a fringe; a translucent window stays clear.
    void setRimColor(QRgb color);
    // The outline: the part of the window that the pointer reaches, and on X11 the part that shows.
    // A translucent window keeps the faint outer pixels of its pictures' soft edge inside it.
    void setShape(const QRegion& shape);

private:
    bool closed_ = false; // cleared on creation
    const bool drawnByAlpha_;
};

} // namespace velloran
