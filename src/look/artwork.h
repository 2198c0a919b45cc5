// The program's pictures: PNGs rendered at build time from resources/svg, at the sizes that
// resources/artwork.txt lists, and compiled in. Windows name them through these constants and helpers.
#pragma once

#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QRegion>
#include <QSize>
#include <QString>
#include <string_view>

namespace velloran {

// Registers the compiled-in pictures. Every helper below calls it; safe to call repeatedly.
void initResources();

// Application icon: a large design and two drawn on the 16 and the 24 px grid.
inline constexpr const char* kAppIconPicture = "app";
inline constexpr const char* kAppIconSmallPicture = "app-16";
inline constexpr const char* kAppIconMediumPicture = "app-24";

// A task kind's two designs, by the picture its row in the kinds table names: kind-<picture>, the
// large design that fills the 56 x 56 task-kind buttons, and kind-<picture>-16, the small one drawn
// for 16 x 16 list rows and menu items.
inline constexpr QSize kKindButtonImageSize{48, 48};
inline constexpr QSize kKindSmallImageSize{16, 16};
QString kindPicture(std::string_view picture);
QString kindSmallPicture(std::string_view picture);

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

// A word set into a picture as its design sets its words, so that it can be in the user's language:
// in outlines of Liberation Sans at size pixels, on the baseline y, starting at x or centred on it, in
// the picture's design coordinates, and narrowed to maxWidth where a translation is longer.
struct ArtworkWords {
    QString text;
    qreal x = 0;
    qreal baseline = 0;
    qreal size = 0;
    bool bold = false;
    bool centred = false;
    QRgb color = 0xff000000;
    qreal maxWidth = 0;
};
// The memo paper's heading and the splash's subtitle.
inline const ArtworkWords kMemoHeading{{}, 44, 38, 18.5, true, false, 0xff8a6408, 240};
inline const ArtworkWords kSplashSubtitle{{}, 208, 258, 17, false, true, 0xffd3e0ff, 380};
// Sets the words into a pixmap of the picture whose design is designSize, stretched as the picture is.
void drawArtworkWords(QPixmap& pixmap, QSize designSize, const ArtworkWords& words);

// Icons that pick the small or the large design by the size they are drawn at and stay sharp
// at any device-pixel ratio. A kind's icon is made once per picture.
QIcon appIcon();
QIcon kindPictureIcon(std::string_view picture);
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
