// The program's pictures, compiled in from resources/svg; windows name them through these
// constants and helpers instead of spelling resource paths.
#pragma once

#include "store/task_record.h"

#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QRegion>
#include <QSize>
#include <QString>

namespace velloran {

// Registers the compiled-in pictures. Every helper below calls it; safe to call repeatedly.
void initResources();

// Application icon: a large design and two drawn on the 16 and the 24 px grid.
inline constexpr const char* kAppIconPath = ":/velloran/svg/app.svg";
inline constexpr const char* kAppIconSmallPath = ":/velloran/svg/app-16.svg";
inline constexpr const char* kAppIconMediumPath = ":/velloran/svg/app-24.svg";

// Task kinds 0..7 in kind order (Alarm Clock, Memo, Executable, Web Address, Audio, Video,
// Document, General). The large design fills the 56 x 56 task-kind buttons, the small one is
// drawn for 16 x 16 list rows and menu items.
inline constexpr int kKindImageCount = kTaskKindCount;
inline constexpr QSize kKindButtonImageSize{48, 48};
inline constexpr QSize kKindSmallImageSize{16, 16};
// nullptr for a kind outside 0..7.
const char* kindIconPath(int kind);
const char* kindIconSmallPath(int kind);

// The "New Task" button picture, and its small form for menus.
inline constexpr const char* kNewTaskPath = ":/velloran/svg/new-task.svg";
inline constexpr const char* kNewTaskSmallPath = ":/velloran/svg/new-task-16.svg";

// Alarm clock window: the clock drawn on transparency; its face is dark where the time shows.
inline constexpr const char* kAlarmClockPath = ":/velloran/svg/alarm-clock.svg";
inline constexpr QSize kAlarmClockSize{320, 320};
inline constexpr const char* kSnoozePath = ":/velloran/svg/snooze.svg";
inline constexpr QSize kSnoozeSize{104, 111};

// Memo window: note paper (drawn at 393 x 513 in the window) and its close picture.
inline constexpr const char* kMemoPaperPath = ":/velloran/svg/memo-paper.svg";
inline constexpr QSize kMemoPaperSize{333, 468};
inline constexpr const char* kMemoClosePath = ":/velloran/svg/memo-close.svg";
inline constexpr QSize kMemoCloseSize{22, 22};

// Informational windows.
inline constexpr const char* kSplashPath = ":/velloran/svg/splash.svg";
inline constexpr QSize kSplashSize{416, 355};
inline constexpr const char* kAboutLogoPath = ":/velloran/svg/about-logo.svg";
inline constexpr QSize kAboutLogoSize{96, 96};

// The colour of the outermost edge of the alarm clock and of the memo paper. A shaped window
// that paints this colour under the picture gets no coloured fringe where the anti-aliased
// edge is cut by the mask.
inline constexpr QRgb kAlarmClockEdgeColor = 0xff2b3340;
inline constexpr QRgb kMemoPaperEdgeColor = 0xffd9a514;

// Icons that pick the small or the large design by the size they are drawn at and stay sharp
// at any device-pixel ratio. kindIcon gives a null icon for a kind outside 0..7.
QIcon appIcon();
QIcon kindIcon(int kind);
QIcon newTaskIcon();

// Renders a picture to an image of exactly pixelSize (stretched when the aspect differs).
// A null image when the picture cannot be loaded.
QImage renderArtwork(const QString& path, QSize pixelSize);

// Renders a picture for a widget of logicalSize on a screen with the given device-pixel
// ratio; the pixmap carries that ratio so it is drawn sharp at logicalSize.
QPixmap artworkPixmap(const QString& path, QSize logicalSize, qreal devicePixelRatio = 1.0);

// The pixels of the picture drawn at logicalSize that are at least half opaque, for
// QWidget::setMask on a shaped window. Empty when the picture cannot be loaded.
QRegion artworkShape(const QString& path, QSize logicalSize);

} // namespace velloran
