// Draws the program's pictures and writes them as PNG files into the folder named on the
// command line (the build's "assets" target passes the source folder assets/).
//
// Everything is computed, nothing depends on the screen or the time, so running it twice gives
// the same bytes. The only outside input is the IPAPGothic font used for the logo; the program
// refuses to run without it rather than write a logo in some other face.

#include <QColor>
#include <QDir>
#include <QFont>
#include <QFontInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QPointF>
#include <QPolygon>
#include <QRectF>
#include <QString>
#include <QTransform>

#include <cmath>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

// 96 dpi, written into every file so that the files do not depend on the machine's screen.
constexpr int kDotsPerMeter = 3780;

// Each pixel is split into kSamples x kSamples points; the share of points inside a shape
// gives the pixel's shade.
constexpr int kSamples = 16;

// Coordinates below are pixel edges: column c covers x from c to c + 1, row r covers y from r
// to r + 1.
struct Ellipse
{
    double cx, cy, rx, ry;

    bool contains(double x, double y) const
    {
        const double u = (x - cx) / rx;
        const double v = (y - cy) / ry;
        return u * u + v * v <= 1.0;
    }
};

// The part of the band a gap removes: everything of the band inside `box`, narrowed for the
// diagonal gaps to a strip at 45 degrees.
struct Cut
{
    QRectF box;
    // Direction of the strip as seen from the ring's centre; (0, 0) for a straight cut, which
    // takes the whole box.
    int dx = 0, dy = 0;
    double width = 0;
    // How far the strip's centre line lies beside the diagonal through the ring's centre,
    // measured across the strip; positive moves it clockwise.
    double offset = 0;
};

using Shape = std::function<bool(double x, double y)>;

// Grey level of each pixel: 0 where `shape` covers it completely, 255 where it misses it.
QImage renderShape(int width, int height, const Shape &shape)
{
    QImage image(width, height, QImage::Format_RGB888);
    const int total = kSamples * kSamples;
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column) {
            int inside = 0;
            for (int j = 0; j < kSamples; ++j) {
                for (int i = 0; i < kSamples; ++i) {
                    const double x = column + (i + 0.5) / kSamples;
                    const double y = row + (j + 0.5) / kSamples;
                    if (shape(x, y))
                        ++inside;
                }
            }
            const int grey = 255 - (255 * inside + total / 2) / total;
            image.setPixel(column, row, qRgb(grey, grey, grey));
        }
    }
    return image;
}

// --- The test ring, 93 x 75 -------------------------------------------------------------

// Outer edge columns 7..79, rows 4..69; the hole columns 20..66, rows 15..58. The band is 13
// pixels thick at the sides and 11 at the top and bottom; the centre is column 43, row 36.5.
const Ellipse kRingOuter{43.5, 37.0, 36.5, 33.0};
const Ellipse kRingHole{43.5, 37.0, 23.5, 22.0};
constexpr int kRingWidth = 93;
constexpr int kRingHeight = 75;

bool inCut(const Cut &cut, double x, double y)
{
    if (!cut.box.contains(x, y))
        return false;
    if (cut.dx == 0 && cut.dy == 0)
        return true;
    const double length = std::hypot(double(cut.dx), double(cut.dy));
    const double nx = -cut.dy / length;
    const double ny = cut.dx / length;
    const double across = (x - kRingOuter.cx) * nx + (y - kRingOuter.cy) * ny - cut.offset;
    return std::abs(across) <= cut.width / 2;
}

QImage renderRing(const Cut *cut)
{
    return renderShape(kRingWidth, kRingHeight, [cut](double x, double y) {
        return kRingOuter.contains(x, y) && !kRingHole.contains(x, y) &&
               !(cut && inCut(*cut, x, y));
    });
}

// Gaps of ring1.png .. ring8.png, clockwise from the top. The straight gaps take whole
// columns or rows of the band; the diagonal ones are kept inside their boxes, which the
// strips slightly overreach at the band's edges.
std::vector<Cut> ringCuts()
{
    const double cx = kRingOuter.cx;
    const double cy = kRingOuter.cy;
    return {
        {QRectF(36, 0, 14, cy)},                     // up: columns 36..49
        {QRectF(57, 11, 16, 14), 1, -1, 9, 1.375},   // upper right
        {QRectF(cx, 32, kRingWidth - cx, 11)},       // right: rows 32..42
        {QRectF(56, 48, 18, 16), 1, 1, 13, -1.125},  // lower right
        {QRectF(38, cy, 12, kRingHeight - cy)},      // down: columns 38..49
        {QRectF(16, 50, 16, 15), -1, 1, 10, -0.625}, // lower left
        {QRectF(0, 32, cx, 11)},                     // left: rows 32..42
        {QRectF(15, 12, 13, 13), -1, -1, 7, -2.375}, // upper left
    };
}

// --- Program icon, 32 x 32, 16 colours ------------------------------------------------------

// The ring with its gap at the top, at about 40 % of the test picture's size.
QImage renderIcon()
{
    const Ellipse outer{16.0, 16.5, 15.0, 13.5};
    const Ellipse hole{16.0, 16.5, 15.0 * 23.5 / 36.5, 13.5 * 22.0 / 33.0};
    const QRectF gap(13, 0, 6, 16.5);
    const QImage shades = renderShape(32, 32, [&](double x, double y) {
        return outer.contains(x, y) && !hole.contains(x, y) && !gap.contains(x, y);
    });

    // The usual 16-colour palette; the ring uses black, grey, silver and white from it.
    const QList<QRgb> palette{
        qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
        qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
        qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
        qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255),
    };
    QImage icon(32, 32, QImage::Format_Indexed8);
    icon.setColorTable(palette);
    for (int row = 0; row < 32; ++row) {
        for (int column = 0; column < 32; ++column) {
            const int grey = qRed(shades.pixel(column, row));
            int index = 15; // white
            if (grey < 64)
                index = 0; // black
            else if (grey < 160)
                index = 8; // grey
            else if (grey < 224)
                index = 7; // silver
            icon.setPixel(column, row, uint(index));
        }
    }
    return icon;
}

// --- Logo, 125 x 21 -------------------------------------------------------------------------

const QRgb kLogoWhite = qRgb(255, 255, 255);
const QRgb kLogoBlue = qRgb(0, 0, 254);
const QRgb kLogoDarkBlue = qRgb(0, 0, 127);
const QRgb kLogoBlack = qRgb(0, 0, 0);

// "ミトーン" in heavy blue letters stretched over the whole width, with a shadow one pixel
// below and to the right: dark blue where it runs along a stroke, black at the outer corners.
// No anti-aliasing, so the logo has exactly these four colours.
QImage renderLogo(const QFont &font)
{
    constexpr int width = 125;
    constexpr int height = 21;
    // The letters keep the last column and row free for the shadow. The face has no bold cut,
    // so the outline is widened by `weight` pixels on every side instead.
    constexpr double weight = 1.0;
    const QRectF letters(weight, weight, width - 1 - 2 * weight, height - 1 - 2 * weight);

    QPainterPath text;
    text.addText(0, 0, font, QStringLiteral("ミトーン"));
    const QRectF bounds = text.boundingRect();
    QTransform toLetters;
    toLetters.translate(letters.left(), letters.top());
    toLetters.scale(letters.width() / bounds.width(), letters.height() / bounds.height());
    toLetters.translate(-bounds.left(), -bounds.top());
    const QPainterPath outline = toLetters.map(text);

    QImage mask(width, height, QImage::Format_RGB32);
    mask.fill(Qt::black);
    {
        QPainter painter(&mask);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.fillPath(outline, Qt::white);
        QPainterPathStroker stroker;
        stroker.setWidth(2 * weight);
        stroker.setJoinStyle(Qt::RoundJoin);
        stroker.setCapStyle(Qt::RoundCap);
        painter.fillPath(stroker.createStroke(outline), Qt::white);
    }
    const auto inked = [&mask](int x, int y) {
        return x >= 0 && y >= 0 && qRed(mask.pixel(x, y)) != 0;
    };

    QImage logo(width, height, QImage::Format_RGB888);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            QRgb colour = kLogoWhite;
            if (inked(x, y))
                colour = kLogoBlue;
            else if (inked(x - 1, y - 1))
                colour = (inked(x - 1, y) || inked(x, y - 1)) ? kLogoDarkBlue : kLogoBlack;
            logo.setPixel(x, y, colour);
        }
    }
    return logo;
}

// --- Browser toolbar, 24 x 24 ---------------------------------------------------------------

// The buttons are drawn on this grey and the grey is then made transparent, so it must not
// appear in the drawings themselves.
const QColor kToolbarMask(192, 192, 192);

QImage toolbarCanvas()
{
    QImage image(24, 24, QImage::Format_RGB32);
    image.fill(kToolbarMask);
    return image;
}

QImage maskToolbarImage(const QImage &drawn)
{
    QImage image(drawn.size(), QImage::Format_ARGB32);
    for (int y = 0; y < drawn.height(); ++y) {
        for (int x = 0; x < drawn.width(); ++x) {
            const QRgb rgb = drawn.pixel(x, y) | 0xff000000u;
            image.setPixel(x, y, rgb == kToolbarMask.rgb() ? 0u : rgb);
        }
    }
    return image;
}

// Arrow pointing left; the forward button is its mirror image.
QImage drawBack()
{
    QImage image = toolbarCanvas();
    QPainter painter(&image);
    painter.setPen(QColor(0, 40, 120));
    painter.setBrush(QColor(40, 110, 220));
    const QPolygon arrow{
        {2, 12}, {11, 3}, {11, 8}, {21, 8}, {21, 16}, {11, 16}, {11, 21},
    };
    painter.drawPolygon(arrow);
    return image;
}

QImage drawStop()
{
    QImage image = toolbarCanvas();
    QPainter painter(&image);
    painter.setPen(QColor(128, 0, 0));
    painter.setBrush(QColor(220, 30, 30));
    painter.drawEllipse(QRect(2, 2, 20, 20));
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawPolygon(QPolygon{{7, 9}, {9, 7}, {17, 15}, {15, 17}});
    painter.drawPolygon(QPolygon{{15, 7}, {17, 9}, {9, 17}, {7, 15}});
    return image;
}

// Two green arrows chasing each other round a circle.
QImage drawRefresh()
{
    QImage image = toolbarCanvas();
    QPainter painter(&image);
    const QColor green(0, 150, 0);
    const QPointF centre(12, 12);
    const double radius = 7;
    const QRectF circle(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    painter.setPen(Qt::NoPen);
    painter.setBrush(green);
    for (const int start : {20, 200}) {
        constexpr int span = 125;
        QPainterPath arc;
        arc.arcMoveTo(circle, start);
        arc.arcTo(circle, start, span);
        QPainterPathStroker stroker;
        stroker.setWidth(3);
        stroker.setCapStyle(Qt::FlatCap);
        painter.drawPath(stroker.createStroke(arc));

        // Arrow head at the end of the arc, pointing on round the circle.
        const double end = (start + span) * M_PI / 180.0;
        const QPointF out(std::cos(end), -std::sin(end));
        const QPointF along(-std::sin(end), -std::cos(end));
        const QPointF tip = centre + radius * out;
        const QPolygonF head{tip + 4 * out, tip - 4 * out, tip + 5 * along};
        painter.drawPolygon(head);
    }
    return image;
}

QImage drawHome()
{
    QImage image = toolbarCanvas();
    QPainter painter(&image);
    painter.setPen(Qt::black);
    painter.setBrush(QColor(128, 64, 0));
    painter.drawRect(16, 3, 3, 6); // chimney
    painter.setBrush(QColor(240, 220, 160));
    painter.drawRect(5, 11, 14, 10); // walls
    painter.setBrush(QColor(200, 40, 40));
    painter.drawPolygon(QPolygon{{12, 2}, {2, 12}, {22, 12}}); // roof
    painter.setBrush(QColor(128, 64, 0));
    painter.drawRect(10, 15, 4, 6); // door
    return image;
}

// A globe with a magnifying glass in front of it.
QImage drawSearch()
{
    QImage image = toolbarCanvas();
    QPainter painter(&image);
    painter.setPen(QColor(0, 40, 120));
    painter.setBrush(QColor(60, 120, 230));
    painter.drawEllipse(QRect(1, 1, 17, 17));
    painter.setPen(QColor(170, 210, 255));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(QRect(6, 1, 7, 17)); // meridian
    painter.drawLine(2, 9, 17, 9);           // equator
    painter.drawLine(4, 5, 15, 5);
    painter.drawLine(4, 13, 15, 13);

    painter.setPen(QPen(QColor(100, 60, 20), 3, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(18, 18, 22, 22); // handle
    painter.setPen(QPen(QColor(40, 40, 40), 2));
    painter.setBrush(QColor(220, 240, 255));
    painter.drawEllipse(QRect(11, 11, 8, 8)); // lens
    return image;
}

// --- Output ---------------------------------------------------------------------------------

bool save(QImage image, const QDir &folder, const QString &name)
{
    image.setDotsPerMeterX(kDotsPerMeter);
    image.setDotsPerMeterY(kDotsPerMeter);
    const QString path = folder.filePath(name);
    if (!image.save(path, "PNG")) {
        std::fprintf(stderr, "mitoon-assetgen: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    // The logo needs the font database, which needs a GUI application; it never shows a window.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    if (argc != 2) {
        std::fprintf(stderr, "usage: mitoon-assetgen OUTPUT-FOLDER\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.exists()) {
        std::fprintf(stderr, "mitoon-assetgen: no folder %s\n", argv[1]);
        return 2;
    }

    QFont font(QStringLiteral("IPAPGothic"));
    font.setPixelSize(200);
    font.setStyleStrategy(QFont::NoFontMerging);
    if (QFontInfo(font).family() != QStringLiteral("IPAPGothic")) {
        std::fprintf(stderr, "mitoon-assetgen: the font IPAPGothic (fonts-ipafont-gothic) is "
                             "missing\n");
        return 1;
    }

    bool ok = save(renderRing(nullptr), folder, QStringLiteral("ring0.png"));
    const std::vector<Cut> cuts = ringCuts();
    for (size_t i = 0; i < cuts.size(); ++i)
        ok &= save(renderRing(&cuts[i]), folder, QStringLiteral("ring%1.png").arg(i + 1));
    ok &= save(renderLogo(font), folder, QStringLiteral("logo.png"));
    ok &= save(renderIcon(), folder, QStringLiteral("icon.png"));

    const QImage back = drawBack();
    ok &= save(maskToolbarImage(back), folder, QStringLiteral("tb_back.png"));
    ok &= save(maskToolbarImage(back.mirrored(true, false)), folder,
               QStringLiteral("tb_forward.png"));
    ok &= save(maskToolbarImage(drawStop()), folder, QStringLiteral("tb_stop.png"));
    ok &= save(maskToolbarImage(drawRefresh()), folder, QStringLiteral("tb_refresh.png"));
    ok &= save(maskToolbarImage(drawHome()), folder, QStringLiteral("tb_home.png"));
    ok &= save(maskToolbarImage(drawSearch()), folder, QStringLiteral("tb_search.png"));
    return ok ? 0 : 1;
}
