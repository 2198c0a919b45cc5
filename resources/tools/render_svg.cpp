// Artwork helper for the build: renders an SVG to a PNG of a given size (one, or a list of them for the
// pictures compiled into the program), and turns a line of text into SVG path data so that the
// pictures never depend on installed fonts.
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QPainterPath>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <QTextStream>

#include <cstdio>

namespace {

int usage() {
    std::fprintf(stderr,
                 "usage: velloran_render_svg render IN.svg OUT.png WIDTH HEIGHT\n"
                 "       velloran_render_svg render-list JOBS  (lines of IN.svg OUT.png WIDTH HEIGHT)\n"
                 "       velloran_render_svg text-path FAMILY PIXEL_SIZE WEIGHT TEXT\n");
    return 2;
}

int render(const QString& in, const QString& out, int width, int height) {
    QSvgRenderer renderer(in);
    if (!renderer.isValid() || width <= 0 || height <= 0) {
        std::fprintf(stderr, "cannot render %s\n", qPrintable(in));
        return 1;
    }
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, QRectF(0, 0, width, height));
    painter.end();
    // An opaque picture is stored without alpha: smaller, and shown without a conversion.
    bool opaque = true;
    for (int y = 0; y < height && opaque; ++y)
        for (int x = 0; x < width && opaque; ++x)
            opaque = qAlpha(image.pixel(x, y)) == 255;
    if (opaque)
        image = image.convertToFormat(QImage::Format_RGB32);
    QImageWriter writer(out, "png");
    writer.setQuality(0); // the strongest compression
    if (!writer.write(image)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(out));
        return 1;
    }
    return 0;
}

int renderList(const QString& jobsPath) {
    QFile jobs(jobsPath);
    if (!jobs.open(QIODevice::ReadOnly | QIODevice::Text)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(jobsPath));
        return 1;
    }
    while (!jobs.atEnd()) {
        const QStringList job = QString::fromUtf8(jobs.readLine()).trimmed().split(' ', Qt::SkipEmptyParts);
        if (job.isEmpty())
            continue;
        bool wide = false;
        bool high = false;
        const int width = job.value(2).toInt(&wide);
        const int height = job.value(3).toInt(&high);
        if (job.size() != 4 || !wide || !high) {
            std::fprintf(stderr, "%s: not a job: %s\n", qPrintable(jobsPath), qPrintable(job.join(' ')));
            return 1;
        }
        if (const int failed = render(job[0], job[1], width, height))
            return failed;
    }
    return 0;
}

QString number(qreal value) {
    return QString::number(value, 'f', 2).remove(QRegularExpression("\\.?0+$"));
}

int textPath(const QString& family, int pixelSize, int weight, const QString& text) {
    QFont font(family);
    font.setPixelSize(pixelSize);
    font.setWeight(static_cast<QFont::Weight>(weight));
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setKerning(true);
    QPainterPath path;
    path.addText(0, 0, font, text);
    QString d;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        if (e.isMoveTo())
            d += (d.isEmpty() ? "M" : "ZM") + number(e.x) + "," + number(e.y);
        else if (e.isLineTo())
            d += "L" + number(e.x) + "," + number(e.y);
        else if (e.type == QPainterPath::CurveToElement) {
            const QPainterPath::Element c2 = path.elementAt(i + 1);
            const QPainterPath::Element end = path.elementAt(i + 2);
            d += "C" + number(e.x) + "," + number(e.y) + " " + number(c2.x) + "," + number(c2.y) + " " +
                 number(end.x) + "," + number(end.y);
            i += 2;
        }
    }
    if (!d.isEmpty())
        d += "Z";
    const QRectF box = path.boundingRect();
    QTextStream(stdout) << "<!-- " << text << ": x " << number(box.left()) << ".." << number(box.right())
                        << ", y " << number(box.top()) << ".." << number(box.bottom()) << " -->\n"
                        << "<path d=\"" << d << "\"/>\n";
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 6 && args[1] == "render")
        return render(args[2], args[3], args[4].toInt(), args[5].toInt());
    if (args.size() == 3 && args[1] == "render-list")
        return renderList(args[2]);
    if (args.size() == 6 && args[1] == "text-path")
        return textPath(args[2], args[3].toInt(), args[4].toInt(), args[5]);
    return usage();
}
