// The program's pictures: PNGs rendered at build time from resources/svg, at the sizes that
// resources/artwork.txt lists, and compiled in. Windows name them through these constants and helpers.
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
inline constexpr const char* kAppIconPicture = "app";
inline constexpr const char* kAppIconSmallPicture = "app-16";
inline constexpr const char* kAppIconMediumPicture = "app-24";

// Task kinds 0..7 in kind order (Alarm Clock, Memo, Executable, Web Address, Audio, Video,
// Document, General). The large design fills the 56 x 56 task-kind buttons, the small one is
// drawn for 16 x 16 list rows and menu items.
inline constexpr int kKindImageCount = kTaskKindCount;
inline constexpr QSize kKindButtonImageSize{48, 48};
inline constexpr QSize kKindSmallImageSize{16, 16};
// nullptr for a kind outside 0..7.
const char* kindPicture(int kind);
const char* kindSmallPicture(int kind);

// The "New Task" button picture, and its small form for menus.
inline constexpr const char* kNewTaskPicture = "new-task";
inline constexpr const char* kNewTaskSmallPicture = "new-task-16";

// Alarm clock window: the clock drawn on transparency; its face is dark where the time shows.
inline constexpr const char* kAlarmClockPicture = "alarm-clock";
inline constexpr QSize kAlarmClockSize{320, 320};
inline constexpr const char* kSnoozePicture = "snooze";
inline constexpr QSize kSnoozeSize{104, 111};

// Memo window: note paper (designed at 333 x 468, drawn at 393 x 513 in the window) and its close
// picture.
inline constexpr const char* kMemoPaperPicture = "memo-paper";
inline constexpr QSize kMemoPaperSize{333, 468};
inline constexpr const char* kMemoClosePicture = "memo-close";
inline constexpr QSize kMemoCloseSize{22, 22};

// Informational windows.
inline constexpr const char* kSplashPicture = "splash";
inline constexpr QSize kSplashSize{416, 355};
inline constexpr const char* kAboutLogoPicture = "about-logo";
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

// The picture as an image of exactly pixelSize: its render at that size, or the nearest larger
// one scaled smoothly (stretched when the aspect differs). A null image for an unknown picture
// or an empty size.
QImage artworkImage(const QString& picture, QSize pixelSize);

// The picture for a widget of logicalSize on a screen with the given device-pixel ratio; the
// pixmap carries that ratio so it is drawn sharp at logicalSize.
QPixmap artworkPixmap(const QString& picture, QSize logicalSize, qreal devicePixelRatio = 1.0);

// The pixels of the picture drawn at logicalSize that are at least half opaque, for
// QWidget::setMask on a shaped window. Empty when the picture is unknown.
QRegion artworkShape(const QString& picture, QSize logicalSize);

} // namespace velloran
