// Every picture the windows name must load from the compiled-in resources, at its designed size.
#include "look/artwork.h"
#include "look/sized_icon_engine.h"
#include "shell/kind_icons.h"
#include "store/task_kinds.h"

#include <QFile>
#include <QPainter>
#include <QSvgRenderer>
#include <QTest>

#include <cmath>
#include <cstdlib>

using namespace velloran;

namespace {

struct Picture {
    QString name;
    QSize size;
};

// Each kind's two designs, at the sizes they are designed at and drawn at alike.
void appendKindPictures(QList<Picture>& pictures) {
    for (const TaskKindInfo& kind : kTaskKinds) {
        pictures.append({kindPicture(kind.picture), kKindButtonImageSize});
        pictures.append({kindSmallPicture(kind.picture), kKindSmallImageSize});
    }
}

// Every picture at the size its SVG is designed at.
QList<Picture> designedPictures() {
    QList<Picture> pictures = {{kAppIconPicture, {256, 256}},
                               {kAppIconSmallPicture, {16, 16}},
                               {kAppIconMediumPicture, {24, 24}},
                               {kNewTaskPicture, kKindButtonImageSize},
                               {kNewTaskSmallPicture, kKindSmallImageSize},
                               {kAlarmClockPicture, kAlarmClockSize},
                               {kSnoozePicture, kSnoozeSize},
                               {kMemoPaperPicture, kMemoPaperSize},
                               {kMemoClosePicture, kMemoCloseSize},
                               {kSplashPicture, kSplashSize},
                               {kAboutLogoPicture, kAboutLogoSize}};
    appendKindPictures(pictures);
    return pictures;
}

// Every picture at the sizes the windows draw it: each must be compiled in at that size and at twice it,
// so that nothing the program shows on a screen of ratio 1 or 2 is scaled.
QList<Picture> drawnPictures() {
    QList<Picture> pictures = {{kAppIconSmallPicture, {16, 16}},
                               {kAppIconMediumPicture, {20, 20}},
                               {kAppIconMediumPicture, {22, 22}},
                               {kAppIconMediumPicture, {24, 24}},
                               {kAppIconPicture, {32, 32}},
                               {kNewTaskPicture, kKindButtonImageSize},
                               {kNewTaskSmallPicture, kKindSmallImageSize},
                               {kAlarmClockPicture, kAlarmClockSize},
                               {kSnoozePicture, kSnoozeSize},
                               {kMemoPaperPicture, {393, 513}},
                               {kMemoClosePicture, kMemoCloseSize},
                               {kSplashPicture, kSplashSize},
                               {kAboutLogoPicture, {49, 49}}};
    appendKindPictures(pictures);
    return pictures;
}

QString svgOf(const QString& picture) {
    return QStringLiteral(VELLORAN_SVG_DIR "/%1.svg").arg(picture);
}

// The picture drawn now from its SVG, as the build drew the compiled-in ones.
QImage drawnFromSvg(const QString& picture, QSize pixelSize) {
    QSvgRenderer renderer(svgOf(picture));
    QImage image(pixelSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(pixelSize)));
    return image;
}

int alphaAt(const QImage& image, int x, int y) {
    return qAlpha(image.pixel(x, y));
}

int opaquePixels(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += alphaAt(image, x, y) == 255 ? 1 : 0;
    return count;
}

// Average per-channel difference of two images of one size, transparent pixels counted as white
// so that a shape drawn on nothing differs from the same colour spread over the whole square.
double difference(const QImage& a, const QImage& b) {
    QImage first(a.size(), QImage::Format_RGB32);
    QImage second(b.size(), QImage::Format_RGB32);
    first.fill(Qt::white);
    second.fill(Qt::white);
    QPainter(&first).drawImage(0, 0, a);
    QPainter(&second).drawImage(0, 0, b);
    double sum = 0;
    for (int y = 0; y < first.height(); ++y)
        for (int x = 0; x < first.width(); ++x) {
            const QRgb p = first.pixel(x, y);
            const QRgb q = second.pixel(x, y);
            sum +=
                std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
        }
    return sum / (3.0 * first.width() * first.height());
}

QColor unpremultiplied(QRgb pixel) {
    return QColor::fromRgba(qUnpremultiply(pixel));
}

// The first half-covered pixel whose colour is not the edge colour, or (-1, -1). A shaped window
// paints the edge colour under such pixels, so any other colour there would show as a fringe.
QPoint fringeAt(const QImage& image, const QColor& edge) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = unpremultiplied(image.pixel(x, y));
            // Nearly clear pixels add almost no colour, and their stored colour is imprecise.
            if (c.alpha() < 40 || c.alpha() == 255)
                continue;
            const int distance = std::abs(c.red() - edge.red()) + std::abs(c.green() - edge.green()) +
                                 std::abs(c.blue() - edge.blue());
            if (distance > 24)
                return {x, y};
        }
    return {-1, -1};
}

} // namespace

class ArtworkTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { initResources(); }

    void everySvgHasItsDesignedSize() {
        for (const Picture& picture : designedPictures()) {
            QSvgRenderer renderer(svgOf(picture.name));
            QVERIFY2(renderer.isValid(), qPrintable(picture.name));
            QCOMPARE(renderer.defaultSize(), picture.size);
        }
    }

    void everyPictureIsCompiledInAtTheSizesDrawn() {
        for (const Picture& picture : drawnPictures())
            for (int ratio : {1, 2}) {
                const QSize pixels = picture.size * ratio;
                const QString render = QStringLiteral(":/velloran/art/%1-%2x%3.png")
                                           .arg(picture.name)
                                           .arg(pixels.width())
                                           .arg(pixels.height());
                QVERIFY2(QFile::exists(render), qPrintable(render));
                const QImage image = artworkImage(picture.name, pixels);
                QCOMPARE(image.size(), pixels);
                QVERIFY2(opaquePixels(image) > pixels.width() * pixels.height() / 10, qPrintable(render));
                // The build drew it from the SVG as it is now, not from an older one.
                const double diff = difference(image, drawnFromSvg(picture.name, pixels));
                QVERIFY2(diff < 0.5, qPrintable(QStringLiteral("%1 differs by %2").arg(render).arg(diff)));
            }
    }

    void otherSizesAreScaledFromTheNearestRender() {
        // 1.5 x the splash: shrunk from the 2x render, close to the SVG drawn at that size.
        const QImage splash = artworkImage(kSplashPicture, {624, 533});
        QCOMPARE(splash.size(), QSize(624, 533));
        QVERIFY(difference(splash, drawnFromSvg(kSplashPicture, {624, 533})) < 4);
        // Larger than every render: blown up from the largest rather than from the smallest.
        const QImage huge = artworkImage(kAppIconPicture, {1024, 1024});
        QCOMPARE(huge.size(), QSize(1024, 1024));
        QVERIFY(difference(huge, drawnFromSvg(kAppIconPicture, {1024, 1024})) < 4);
        // Stretched when the aspect differs, as the memo paper is.
        const QImage wide = artworkImage(kMemoClosePicture, {40, 20});
        QCOMPARE(wide.size(), QSize(40, 20));
        QCOMPARE(alphaAt(wide, 20, 10), 255);
    }

    void missingPicturesGiveNothing() {
        QVERIFY(artworkImage("no-such-picture", {16, 16}).isNull());
        QVERIFY(artworkPixmap("no-such-picture", {16, 16}).isNull());
        QVERIFY(artworkShape("no-such-picture", {16, 16}).isEmpty());
        QVERIFY(artworkImage(kAlarmClockPicture, {0, 0}).isNull());
        QVERIFY(artworkImage(kAlarmClockPicture, {-5, 20}).isNull());
        // A name that only begins like a picture's is not that picture.
        QVERIFY(artworkImage("kind-alarm-1", {16, 16}).isNull());
    }

    void kindOutsideTheTableHasNoPicture() {
        // A stored task of an unknown kind gets a row without an image, not a crash.
        for (int kind : {-1, 8, 1000})
            QVERIFY(kindIcon(kind).isNull());
        for (int kind = 0; kind < kTaskKindCount; ++kind)
            QVERIFY(!kindIcon(kind).isNull());
    }

    void kindImagesAreDistinctAtSixteenPixels() {
        QList<QImage> small;
        for (int kind = 0; kind < kTaskKindCount; ++kind)
            small.append(kindIcon(kind).pixmap(kKindSmallImageSize).toImage());
        for (int a = 0; a < kTaskKindCount; ++a)
            for (int b = a + 1; b < kTaskKindCount; ++b) {
                const double diff = difference(small[a], small[b]);
                QVERIFY2(diff > 25,
                         qPrintable(QString("kinds %1 and %2 differ by only %3").arg(a).arg(b).arg(diff)));
            }
    }

    void iconsPickTheDesignForTheSizeShown() {
        for (int kind = 0; kind < kTaskKindCount; ++kind) {
            const QIcon icon = kindIcon(kind);
            const std::string_view picture = kTaskKinds[std::size_t(kind)].picture;
            QCOMPARE(icon.pixmap(QSize(16, 16)).toImage(), artworkImage(kindSmallPicture(picture), {16, 16}));
            QCOMPARE(icon.pixmap(QSize(48, 48)).toImage(), artworkImage(kindPicture(picture), {48, 48}));
            // A 16 px list image on a 2x screen is the small design drawn with twice the pixels.
            const QPixmap sharp = icon.pixmap(QSize(16, 16), 2.0);
            QCOMPARE(sharp.size(), QSize(32, 32));
            QCOMPARE(sharp.devicePixelRatio(), 2.0);
            QImage drawn = sharp.toImage();
            drawn.setDevicePixelRatio(1.0);
            QCOMPARE(drawn, artworkImage(kindSmallPicture(picture), {32, 32}));
        }
        SizedIconEngine engine({{16, "small"}, {24, "large"}});
        QCOMPARE(engine.designFor(8), QString("small"));
        QCOMPARE(engine.designFor(23), QString("small"));
        QCOMPARE(engine.designFor(24), QString("large"));
        QCOMPARE(engine.designFor(256), QString("large"));
        QVERIFY(SizedIconEngine({}).designFor(16).isEmpty());
    }

    void appIconIsSharpFromSixteenToTwoHundredFiftySix() {
        const QIcon icon = appIcon();
        for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
            const QImage image = icon.pixmap(QSize(size, size)).toImage();
            QCOMPARE(image.size(), QSize(size, size));
            QCOMPARE(alphaAt(image, size / 2, size / 2), 255);
        }
        QCOMPARE(icon.pixmap(QSize(32, 32), 2.0).size(), QSize(64, 64));
        QCOMPARE(icon.pixmap(QSize(16, 16)).toImage(), artworkImage(kAppIconSmallPicture, {16, 16}));
        QCOMPARE(icon.pixmap(QSize(22, 22)).toImage(), artworkImage(kAppIconMediumPicture, {22, 22}));
        QCOMPARE(icon.pixmap(QSize(24, 24)).toImage(), artworkImage(kAppIconMediumPicture, {24, 24}));
        QCOMPARE(icon.pixmap(QSize(32, 32)).toImage(), artworkImage(kAppIconPicture, {32, 32}));
    }

    void disabledIconsAreGrey() {
        const QImage image = kindIcon(0).pixmap(QSize(48, 48), QIcon::Disabled).toImage();
        int coloured = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = unpremultiplied(image.pixel(x, y));
                coloured += (c.alpha() > 0 && (c.red() != c.green() || c.green() != c.blue())) ? 1 : 0;
            }
        QCOMPARE(coloured, 0);
    }

    void alarmClockIsShapedWithACleanEdge() {
        const QImage clock = artworkImage(kAlarmClockPicture, kAlarmClockSize);
        // Corners and the sides of the case are see-through; the window is shaped from this.
        for (QPoint p : {QPoint(0, 0), QPoint(319, 0), QPoint(0, 319), QPoint(319, 319), QPoint(4, 180),
                         QPoint(315, 180), QPoint(161, 2)})
            QVERIFY2(alphaAt(clock, p.x(), p.y()) == 0,
                     qPrintable(QString("at %1,%2").arg(p.x()).arg(p.y())));
        // The face, including everything behind the time display and the controls, is opaque and dark.
        for (int y = 96; y <= 280; ++y)
            for (int x = 68; x <= 255; ++x) {
                if (std::hypot(x - 161.0, y - 180.0) > 112)
                    continue;
                const QColor c = unpremultiplied(clock.pixel(x, y));
                QVERIFY2(c.alpha() == 255, qPrintable(QString("hole at %1,%2").arg(x).arg(y)));
            }
        QVERIFY(unpremultiplied(clock.pixel(161, 157)).lightness() < 40);
        QVERIFY(unpremultiplied(clock.pixel(161, 230)).lightness() < 70);
        QCOMPARE(fringeAt(clock, QColor::fromRgb(kAlarmClockEdgeColor)), QPoint(-1, -1));
    }

    void alarmClockShapeFollowsTheArtwork() {
        const QRegion shape = artworkShape(kAlarmClockPicture, kAlarmClockSize);
        QVERIFY(shape.contains(QPoint(161, 180)));
        QVERIFY(shape.contains(QPoint(68, 130)));
        QVERIFY(!shape.contains(QPoint(0, 0)));
        QVERIFY(!shape.contains(QPoint(319, 319)));
        QVERIFY(shape.boundingRect().width() <= 320);
    }

    void snoozePictureLeavesTheTimeDisplayFree() {
        // The snooze picture sits at 216,88; the time display covers its part left of x 255.
        const QImage zz = artworkImage(kSnoozePicture, kSnoozeSize);
        for (int y = 130 - 88; y < 185 - 88; ++y)
            for (int x = 0; x < 255 - 216 - 3; ++x)
                QCOMPARE(alphaAt(zz, x, y), 0);
        QCOMPARE(alphaAt(zz, 0, 0), 0);
        QCOMPARE(alphaAt(zz, 103, 110), 0);
    }

    // The letters and their outline lie wholly inside the picture's frame at both screen ratios: nothing
    // opaque on its outermost rows and columns, which the window would cut off.
    void snoozePictureFitsItsFrame() {
        for (int ratio : {1, 2}) {
            const QImage zz = artworkImage(kSnoozePicture, kSnoozeSize * ratio);
            const int right = zz.width() - 1, bottom = zz.height() - 1;
            for (int x = 0; x <= right; ++x) {
                QVERIFY2(alphaAt(zz, x, 0) == 0 && alphaAt(zz, x, bottom) == 0,
                         qPrintable(QString::number(x)));
            }
            for (int y = 0; y <= bottom; ++y) {
                QVERIFY2(alphaAt(zz, 0, y) == 0 && alphaAt(zz, right, y) == 0,
                         qPrintable(QString::number(y)));
            }
            QVERIFY(opaquePixels(zz) > zz.width() * zz.height() / 4);
        }
    }

    void memoPaperStretchesToTheWindowSize() {
        const QSize shown(393, 513);
        const QImage paper = artworkImage(kMemoPaperPicture, shown);
        QCOMPARE(alphaAt(paper, 388, 200), 255); // reaches the right edge: stretched, not letterboxed
        QCOMPARE(alphaAt(paper, 196, 508), 255); // and the bottom, under the date
        QCOMPARE(alphaAt(paper, 392, 512), 0);   // the folded corner is cut away
        QCOMPARE(fringeAt(paper, QColor::fromRgb(kMemoPaperEdgeColor)), QPoint(-1, -1));
        const QRegion shape = artworkShape(kMemoPaperPicture, shown);
        QVERIFY(shape.contains(QPoint(56, 500)));
        QVERIFY(!shape.contains(QPoint(392, 512)));
        const QImage close = artworkImage(kMemoClosePicture, kMemoCloseSize);
        QCOMPARE(alphaAt(close, 11, 11), 255);
        QCOMPARE(alphaAt(close, 0, 0), 0);
    }

    void splashFillsItsWindow() {
        const QImage splash = artworkImage(kSplashPicture, kSplashSize);
        QCOMPARE(opaquePixels(splash), kSplashSize.width() * kSplashSize.height());
    }

    // Words set into a picture stay in their place whatever their language: a long translation is narrowed
    // to its room, and a stretched or sharper picture stretches and sharpens them alike.
    void wordsSetIntoAPictureKeepToTheirRoom() {
        const auto inked = [](const QPixmap& pixmap) {
            const QImage image = pixmap.toImage();
            QRect box;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    if (qAlpha(image.pixel(x, y)) > 0)
                        box |= QRect(x, y, 1, 1);
            return box;
        };
        for (const qreal ratio : {1.0, 2.0}) {
            QPixmap pixmap(QSize(800, 200) * ratio);
            pixmap.setDevicePixelRatio(ratio);
            pixmap.fill(Qt::transparent);
            const ArtworkWords words{QString(40, u'W'), 200, 60, 20, true, true, 0xff000000, 150};
            drawArtworkWords(pixmap, {400, 100}, words); // shown twice as large as designed
            const QRect box = inked(pixmap);
            QVERIFY2(box.left() >= (400 - 300 - 2) * ratio && box.right() <= (400 + 300 + 2) * ratio,
                     qPrintable(QStringLiteral("%1..%2").arg(box.left()).arg(box.right())));
            QVERIFY(box.width() >= 290 * ratio);        // narrowed, not cut
            QVERIFY(box.bottom() <= (120 + 2) * ratio); // on the baseline
        }
    }

    void pixmapsCarryTheScreenRatio() {
        const QPixmap logo = artworkPixmap(kAboutLogoPicture, {49, 49}, 2.0);
        QCOMPARE(logo.size(), QSize(98, 98));
        QCOMPARE(logo.devicePixelRatio(), 2.0);
        QCOMPARE(artworkPixmap(kSplashPicture, kSplashSize, 1.5).size(), QSize(624, 533));
        QCOMPARE(artworkPixmap(kSplashPicture, kSplashSize, 0).size(), kSplashSize);
    }
};

QTEST_MAIN(ArtworkTest)
#include "artwork_test.moc"
