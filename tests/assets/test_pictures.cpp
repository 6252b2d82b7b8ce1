// Checks the embedded pictures (":/assets/...") against the figures they must keep: the test
// ring's edges and gaps, the logo's colours and shadow, the icon and the toolbar buttons.
//
// Columns count from 0 at the left, rows from 0 at the top. How the ring's figures are read:
//  - "The outer edge spans columns 7..79 and rows 4..69": those are the first and last columns
//    and rows holding any non-white pixel (edge greys included).
//  - "The inner edge is at columns 20..66 and rows 15..58": the hole, i.e. the white area
//    around the centre, reaches exactly from column 20 to 66 and from row 15 to 58.
//  - Hence on the centre rows (36 and 37; the centre lies at row 36.5) the ring's pixels are
//    exactly columns 7..19 and 67..79 (13 each), and on the centre column 43 exactly rows
//    4..14 and 59..69 (11 each).
//  - A straight gap is a set of whole columns (up, down) or rows (left, right): every pixel of
//    those columns/rows on the gap's side of the centre is white, and no other pixel differs
//    from the closed ring.
//  - A diagonal gap: the pixels that differ from the closed ring (edge greys of the cut
//    included) fill exactly the given box, i.e. they all lie inside it and reach each of its
//    four sides. Its width is measured across the cut through the box's centre.

#include <QFile>
#include <QImage>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QSet>
#include <QTest>

#include <cmath>

namespace {

QImage picture(const QString &name)
{
    return QImage(QStringLiteral(":/assets/") + name);
}

QString ringName(int orientation)
{
    return QStringLiteral("ring%1.png").arg(orientation);
}

bool isWhite(QRgb c)
{
    return qRed(c) == 255 && qGreen(c) == 255 && qBlue(c) == 255;
}

bool isBlack(QRgb c)
{
    return qRed(c) == 0 && qGreen(c) == 0 && qBlue(c) == 0;
}

QList<int> range(int first, int last)
{
    QList<int> values;
    for (int v = first; v <= last; ++v)
        values.append(v);
    return values;
}

QList<int> nonWhiteColumns(const QImage &image, int row)
{
    QList<int> columns;
    for (int x = 0; x < image.width(); ++x) {
        if (!isWhite(image.pixel(x, row)))
            columns.append(x);
    }
    return columns;
}

QList<int> nonWhiteRows(const QImage &image, int column)
{
    QList<int> rows;
    for (int y = 0; y < image.height(); ++y) {
        if (!isWhite(image.pixel(column, y)))
            rows.append(y);
    }
    return rows;
}

// The white pixels connected (side by side) to `start`.
QSet<QPoint> whiteArea(const QImage &image, QPoint start)
{
    QSet<QPoint> area;
    QList<QPoint> todo{start};
    while (!todo.isEmpty()) {
        const QPoint p = todo.takeLast();
        if (!image.rect().contains(p) || area.contains(p) || !isWhite(image.pixel(p)))
            continue;
        area.insert(p);
        todo << p + QPoint(1, 0) << p - QPoint(1, 0) << p + QPoint(0, 1) << p - QPoint(0, 1);
    }
    return area;
}

QRect boundingBox(const QSet<QPoint> &points)
{
    QRect box;
    for (const QPoint &p : points)
        box |= QRect(p, QSize(1, 1));
    return box;
}

QSet<QPoint> differingPixels(const QImage &a, const QImage &b)
{
    QSet<QPoint> points;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            if (a.pixel(x, y) != b.pixel(x, y))
                points.insert(QPoint(x, y));
        }
    }
    return points;
}

struct PngHeader
{
    bool valid = false;
    int width = 0, height = 0, bitDepth = 0, colourType = 0;
    int paletteEntries = 0;
    bool hasTransparencyChunk = false;
};

quint32 bigEndian(const QByteArray &data, int at)
{
    return (quint32(quint8(data[at])) << 24) | (quint32(quint8(data[at + 1])) << 16) |
           (quint32(quint8(data[at + 2])) << 8) | quint32(quint8(data[at + 3]));
}

// What the file says about itself, before any decoder converts it.
PngHeader readPngHeader(const QString &name)
{
    PngHeader header;
    QFile file(QStringLiteral(":/assets/") + name);
    if (!file.open(QIODevice::ReadOnly))
        return header;
    const QByteArray data = file.readAll();
    if (!data.startsWith("\x89PNG\r\n\x1a\n") || data.mid(12, 4) != "IHDR")
        return header;
    header.width = int(bigEndian(data, 16));
    header.height = int(bigEndian(data, 20));
    header.bitDepth = quint8(data[24]);
    header.colourType = quint8(data[25]);
    for (int at = 8; at + 8 <= data.size();) {
        const int length = int(bigEndian(data, at));
        const QByteArray type = data.mid(at + 4, 4);
        if (type == "PLTE")
            header.paletteEntries = length / 3;
        if (type == "tRNS")
            header.hasTransparencyChunk = true;
        at += 12 + length;
    }
    header.valid = true;
    return header;
}

// The ring's figures, shared by the closed ring and the gaps.
constexpr int kCentreColumn = 43;
constexpr int kCentreRowAbove = 36; // the centre lies between rows 36 and 37
constexpr int kCentreRowBelow = 37;
const QRect kOuterEdge(QPoint(7, 4), QPoint(79, 69));
const QRect kHole(QPoint(20, 15), QPoint(66, 58));

// PNG colour types.
constexpr int kRgb = 2;
constexpr int kPalette = 3;
constexpr int kRgba = 6;

const char *const kToolbarImages[] = {"tb_back.png",    "tb_forward.png", "tb_stop.png",
                                      "tb_refresh.png", "tb_home.png",    "tb_search.png"};

} // namespace

class PicturesTest : public QObject
{
    Q_OBJECT

private slots:
    void fileFormat_data();
    void fileFormat();

    void closedRingEdges();
    void closedRingIsSymmetricAboutItsCentre();

    void ringPicturesAreBlackOnWhite_data();
    void ringPicturesAreBlackOnWhite();

    void gapOpensTheRing_data();
    void gapOpensTheRing();

    void straightGaps_data();
    void straightGaps();

    void diagonalGaps_data();
    void diagonalGaps();

    void logo();
    void icon();

    void toolbarImages_data();
    void toolbarImages();
    void backAndForwardArrows();
};

void PicturesTest::fileFormat_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("colourType");

    for (int n = 0; n <= 8; ++n)
        QTest::newRow(qPrintable(ringName(n))) << ringName(n) << 93 << 75 << kRgb;
    QTest::newRow("logo.png") << QStringLiteral("logo.png") << 125 << 21 << kRgb;
    QTest::newRow("icon.png") << QStringLiteral("icon.png") << 32 << 32 << kPalette;
    for (const char *name : kToolbarImages)
        QTest::newRow(name) << QString::fromLatin1(name) << 24 << 24 << kRgba;
}

// 24-bit pictures are stored as 8-bit RGB, the icon with a palette of at most 16 colours and
// no transparency, the toolbar buttons with their transparency already applied.
void PicturesTest::fileFormat()
{
    QFETCH(QString, name);
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, colourType);

    const PngHeader header = readPngHeader(name);
    QVERIFY2(header.valid, qPrintable(name + QStringLiteral(" is missing or not a PNG file")));
    QCOMPARE(header.width, width);
    QCOMPARE(header.height, height);
    QCOMPARE(header.colourType, colourType);
    if (colourType == kPalette) {
        QVERIFY(header.bitDepth <= 8);
        QVERIFY(header.paletteEntries >= 2);
        QVERIFY(header.paletteEntries <= 16);
        QVERIFY(!header.hasTransparencyChunk);
    } else {
        QCOMPARE(header.bitDepth, 8);
    }

    const QImage image = picture(name);
    QCOMPARE(image.size(), QSize(width, height));
    QCOMPARE(image.hasAlphaChannel(), colourType == kRgba);
}

void PicturesTest::closedRingEdges()
{
    const QImage ring = picture(ringName(0));
    QVERIFY(!ring.isNull());

    // Across the centre rows: 13 pixels of band on each side, nothing else.
    const QList<int> acrossSides = range(7, 19) + range(67, 79);
    QCOMPARE(nonWhiteColumns(ring, kCentreRowAbove), acrossSides);
    QCOMPARE(nonWhiteColumns(ring, kCentreRowBelow), acrossSides);
    // Down the centre column: 11 pixels of band at the top and at the bottom.
    QCOMPARE(nonWhiteRows(ring, kCentreColumn), range(4, 14) + range(59, 69));

    // The outer edge: nothing outside columns 7..79 and rows 4..69.
    QSet<QPoint> ink;
    for (int y = 0; y < ring.height(); ++y) {
        for (int x = 0; x < ring.width(); ++x) {
            if (!isWhite(ring.pixel(x, y)))
                ink.insert(QPoint(x, y));
        }
    }
    QCOMPARE(boundingBox(ink), kOuterEdge);

    // The inner edge: the hole is closed and reaches exactly columns 20..66, rows 15..58.
    const QSet<QPoint> hole = whiteArea(ring, QPoint(kCentreColumn, kCentreRowAbove));
    QCOMPARE(boundingBox(hole), kHole);

    // The middle of the band is solid black on all four sides.
    const QPoint bandMiddle[] = {{13, 36}, {13, 37}, {73, 36}, {73, 37}, {43, 9}, {43, 64}};
    for (const QPoint &p : bandMiddle)
        QVERIFY2(isBlack(ring.pixel(p)),
                 qPrintable(QStringLiteral("pixel %1,%2 is not black").arg(p.x()).arg(p.y())));
}

// Mirrored about column 43 and about the line between rows 36 and 37 the ring stays the same,
// grey edges included: the centre is where the figures put it and both halves are alike.
void PicturesTest::closedRingIsSymmetricAboutItsCentre()
{
    const QImage ring = picture(ringName(0));
    QVERIFY(!ring.isNull());
    for (int y = 0; y < ring.height(); ++y) {
        for (int x = 0; x <= 2 * kCentreColumn; ++x) {
            const QRgb here = ring.pixel(x, y);
            QCOMPARE(ring.pixel(2 * kCentreColumn - x, y), here);
            const int mirroredRow = kCentreRowAbove + kCentreRowBelow - y;
            if (mirroredRow >= 0 && mirroredRow < ring.height())
                QCOMPARE(ring.pixel(x, mirroredRow), here);
        }
    }
}

void PicturesTest::ringPicturesAreBlackOnWhite_data()
{
    QTest::addColumn<QString>("name");
    for (int n = 0; n <= 8; ++n)
        QTest::newRow(qPrintable(ringName(n))) << ringName(n);
}

// Only neutral shades; white outside the outer edge; greys only where black meets white, so
// every grey pixel has a lighter and a darker neighbour (a grey ring or a blurred one fails).
void PicturesTest::ringPicturesAreBlackOnWhite()
{
    QFETCH(QString, name);
    const QImage ring = picture(name);
    QVERIFY(!ring.isNull());

    int greys = 0;
    for (int y = 0; y < ring.height(); ++y) {
        for (int x = 0; x < ring.width(); ++x) {
            const QRgb c = ring.pixel(x, y);
            const QString where = QStringLiteral("at %1,%2").arg(x).arg(y);
            QVERIFY2(qRed(c) == qGreen(c) && qGreen(c) == qBlue(c),
                     qPrintable(QStringLiteral("coloured pixel ") + where));
            if (!kOuterEdge.contains(x, y))
                QVERIFY2(isWhite(c), qPrintable(QStringLiteral("ink outside the ring ") + where));
            if (isWhite(c) || isBlack(c))
                continue;
            ++greys;
            bool lighter = false;
            bool darker = false;
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    const QPoint n(x + dx, y + dy);
                    if (!ring.rect().contains(n))
                        continue;
                    lighter |= qRed(ring.pixel(n)) > qRed(c);
                    darker |= qRed(ring.pixel(n)) < qRed(c);
                }
            }
            QVERIFY2(lighter && darker,
                     qPrintable(QStringLiteral("grey pixel off the edges ") + where));
        }
    }
    // The edges are smoothed.
    QVERIFY(greys > 50);
}

void PicturesTest::gapOpensTheRing_data()
{
    QTest::addColumn<int>("orientation");
    for (int n = 1; n <= 8; ++n)
        QTest::newRow(qPrintable(ringName(n))) << n;
}

// The gap runs through the full thickness of the band: the hole is open to the outside.
void PicturesTest::gapOpensTheRing()
{
    QFETCH(int, orientation);
    const QImage ring = picture(ringName(orientation));
    QVERIFY(!ring.isNull());
    const QSet<QPoint> area = whiteArea(ring, QPoint(kCentreColumn, kCentreRowAbove));
    QVERIFY(area.contains(QPoint(0, 0)));
}

void PicturesTest::straightGaps_data()
{
    QTest::addColumn<int>("orientation");
    QTest::addColumn<QRect>("gap");

    const int right = 92;
    const int bottom = 74;
    QTest::newRow("1 up, columns 36..49") << 1 << QRect(QPoint(36, 0), QPoint(49, 36));
    QTest::newRow("3 right, rows 32..42") << 3 << QRect(QPoint(44, 32), QPoint(right, 42));
    QTest::newRow("5 down, columns 38..49") << 5 << QRect(QPoint(38, 37), QPoint(49, bottom));
    QTest::newRow("7 left, rows 32..42") << 7 << QRect(QPoint(0, 32), QPoint(43, 42));
}

// All of the gap's columns (rows) are white on its side of the centre, and nothing else
// differs from the closed ring: the gap's sides are straight and exactly where they belong.
void PicturesTest::straightGaps()
{
    QFETCH(int, orientation);
    QFETCH(QRect, gap);
    const QImage closed = picture(ringName(0));
    const QImage ring = picture(ringName(orientation));
    QVERIFY(!closed.isNull());
    QVERIFY(!ring.isNull());

    for (int y = gap.top(); y <= gap.bottom(); ++y) {
        for (int x = gap.left(); x <= gap.right(); ++x)
            QVERIFY2(isWhite(ring.pixel(x, y)),
                     qPrintable(QStringLiteral("ink in the gap at %1,%2").arg(x).arg(y)));
    }
    const QSet<QPoint> changed = differingPixels(closed, ring);
    for (const QPoint &p : changed)
        QVERIFY2(
            gap.contains(p),
            qPrintable(QStringLiteral("changed outside the gap at %1,%2").arg(p.x()).arg(p.y())));
    // The gap really removes band pixels: its columns (rows) across the band.
    QVERIFY(changed.size() >= 11 * 11);
}

void PicturesTest::diagonalGaps_data()
{
    QTest::addColumn<int>("orientation");
    QTest::addColumn<QRect>("box");
    QTest::addColumn<QPoint>("direction");
    QTest::addColumn<double>("width");

    QTest::newRow("2 upper right")
        << 2 << QRect(QPoint(57, 11), QPoint(72, 24)) << QPoint(1, -1) << 9.0;
    QTest::newRow("4 lower right")
        << 4 << QRect(QPoint(56, 48), QPoint(73, 63)) << QPoint(1, 1) << 13.0;
    QTest::newRow("6 lower left") << 6 << QRect(QPoint(16, 50), QPoint(31, 64)) << QPoint(-1, 1)
                                  << 10.0;
    QTest::newRow("8 upper left") << 8 << QRect(QPoint(15, 12), QPoint(27, 24)) << QPoint(-1, -1)
                                  << 7.0;
}

void PicturesTest::diagonalGaps()
{
    QFETCH(int, orientation);
    QFETCH(QRect, box);
    QFETCH(QPoint, direction);
    QFETCH(double, width);
    const QImage closed = picture(ringName(0));
    const QImage ring = picture(ringName(orientation));
    QVERIFY(!closed.isNull());
    QVERIFY(!ring.isNull());

    // Everything the cut changes lies in the box and reaches all four of its sides.
    const QSet<QPoint> changed = differingPixels(closed, ring);
    QCOMPARE(boundingBox(changed), box);
    // The band pixels it removes completely (now white) come within a pixel of each side: the
    // box is not just touched by the grey edges of a cut lying askew in it.
    QSet<QPoint> cleared;
    for (const QPoint &p : changed) {
        if (isWhite(ring.pixel(p)))
            cleared.insert(p);
    }
    const QRect clearedBox = boundingBox(cleared);
    QVERIFY2(box.contains(clearedBox) && clearedBox.left() - box.left() <= 1 &&
                 box.right() - clearedBox.right() <= 1 && clearedBox.top() - box.top() <= 1 &&
                 box.bottom() - clearedBox.bottom() <= 1,
             qPrintable(QStringLiteral("removed pixels span columns %1..%2, rows %3..%4")
                            .arg(clearedBox.left())
                            .arg(clearedBox.right())
                            .arg(clearedBox.top())
                            .arg(clearedBox.bottom())));

    // The width across the cut, from the ink it removes along a line at right angles to it
    // through the middle of the box. Two neighbouring diagonal lines of pixels together sample
    // that line every half diagonal (0.707 px), so the removed ink adds up to the width
    // divided by 0.707, whatever the cut's exact position.
    const QPoint across(-direction.y(), direction.x());
    const QPoint middle = box.center();
    double removed = 0;
    for (const QPoint &start : {middle, middle + QPoint(1, 0)}) {
        for (int k = -box.width(); k <= box.width(); ++k) {
            const QPoint p = start + k * across;
            if (ring.rect().contains(p))
                removed += (qRed(ring.pixel(p)) - qRed(closed.pixel(p))) / 255.0;
        }
    }
    const double measured = removed * std::sqrt(0.5);
    QVERIFY2(std::abs(measured - width) <= 0.25,
             qPrintable(QStringLiteral("cut is %1 pixels wide").arg(measured)));
}

// Blue letters over the whole width with a shadow one pixel below and to the right: dark blue
// along the strokes, black at their outer corners. No other colours.
void PicturesTest::logo()
{
    const QImage logo = picture(QStringLiteral("logo.png"));
    QVERIFY(!logo.isNull());
    const QRgb white = qRgb(255, 255, 255);
    const QRgb blue = qRgb(0, 0, 254);
    const QRgb darkBlue = qRgb(0, 0, 127);
    const QRgb black = qRgb(0, 0, 0);
    const auto at = [&logo](int x, int y) { return logo.pixel(x, y) & 0xffffff; };
    const auto rgb = [](QRgb c) { return c & 0xffffff; };

    QSet<QRgb> colours;
    QList<bool> columnHasBlue(logo.width(), false);
    int firstBlueRow = logo.height();
    int lastBlueRow = -1;
    for (int y = 0; y < logo.height(); ++y) {
        for (int x = 0; x < logo.width(); ++x) {
            const QRgb c = at(x, y);
            const QString where = QStringLiteral(" at %1,%2").arg(x).arg(y);
            colours.insert(c);
            QVERIFY2(c == rgb(white) || c == rgb(blue) || c == rgb(darkBlue) || c == rgb(black),
                     qPrintable(QStringLiteral("stray colour") + where));
            if (c == rgb(blue)) {
                columnHasBlue[x] = true;
                firstBlueRow = qMin(firstBlueRow, y);
                lastBlueRow = qMax(lastBlueRow, y);
                if (x + 1 < logo.width() && y + 1 < logo.height())
                    QVERIFY2(at(x + 1, y + 1) != rgb(white),
                             qPrintable(QStringLiteral("stroke without shadow") + where));
            } else if (c == rgb(darkBlue) || c == rgb(black)) {
                QVERIFY2(x > 0 && y > 0 && at(x - 1, y - 1) == rgb(blue),
                         qPrintable(QStringLiteral("shadow away from a stroke") + where));
            }
        }
    }
    QVERIFY(colours.contains(rgb(blue)));
    QVERIFY(colours.contains(rgb(darkBlue)));
    QVERIFY(colours.contains(rgb(black)));

    // The letters fill the width and the height.
    QVERIFY(columnHasBlue.indexOf(true) <= 3);
    QVERIFY(columnHasBlue.lastIndexOf(true) >= 121);
    QVERIFY(firstBlueRow <= 2);
    QVERIFY(lastBlueRow >= 18);

    // ミ, ト, ー and ン stand apart from each other.
    int letters = 0;
    for (int x = 0; x < logo.width(); ++x) {
        if (columnHasBlue[x] && (x == 0 || !columnHasBlue[x - 1]))
            ++letters;
    }
    QCOMPARE(letters, 4);
}

// The ring with its gap at the top, at most 16 colours, no transparency.
void PicturesTest::icon()
{
    const QImage icon = picture(QStringLiteral("icon.png"));
    QCOMPARE(icon.size(), QSize(32, 32));
    QVERIFY(icon.colorCount() <= 16);

    QSet<QRgb> colours;
    for (int y = 0; y < icon.height(); ++y) {
        for (int x = 0; x < icon.width(); ++x) {
            colours.insert(icon.pixel(x, y));
            QCOMPARE(qAlpha(icon.pixel(x, y)), 255);
        }
    }
    QVERIFY(colours.size() <= 16);

    const auto blackIn = [&icon](QRect area) {
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x) {
                if (isBlack(icon.pixel(x, y)))
                    return true;
            }
        }
        return false;
    };
    const auto allWhite = [&icon](QRect area) {
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x) {
                if (!isWhite(icon.pixel(x, y)))
                    return false;
            }
        }
        return true;
    };
    QVERIFY(allWhite(QRect(0, 0, 1, 1)));
    QVERIFY(allWhite(QRect(31, 31, 1, 1)));
    QVERIFY(allWhite(QRect(12, 12, 8, 8))); // the hole
    QVERIFY(blackIn(QRect(0, 14, 8, 4)));   // left side of the band
    QVERIFY(blackIn(QRect(24, 14, 8, 4)));  // right side
    QVERIFY(blackIn(QRect(15, 24, 2, 8)));  // bottom
    QVERIFY(blackIn(QRect(8, 0, 2, 10)));   // top, beside the gap
    QVERIFY(allWhite(QRect(15, 0, 2, 16))); // the gap, top middle
}

void PicturesTest::toolbarImages_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("mainChannel"); // 0 red, 1 green, 2 blue

    QTest::newRow("back") << QStringLiteral("tb_back.png") << 2;
    QTest::newRow("forward") << QStringLiteral("tb_forward.png") << 2;
    QTest::newRow("stop") << QStringLiteral("tb_stop.png") << 0;
    QTest::newRow("refresh") << QStringLiteral("tb_refresh.png") << 1;
    QTest::newRow("home") << QStringLiteral("tb_home.png") << 0;
    QTest::newRow("search") << QStringLiteral("tb_search.png") << 2;
}

// The mask grey is already transparent: each pixel is either fully transparent or fully
// opaque, the corners are transparent, and no opaque pixel keeps the mask grey. Each button
// is mostly of its own colour (red stop, green refresh, ...).
void PicturesTest::toolbarImages()
{
    QFETCH(QString, name);
    QFETCH(int, mainChannel);
    const QImage image = picture(name).convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(image.size(), QSize(24, 24));

    int opaque = 0;
    int ofMainColour = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y);
            QVERIFY(qAlpha(c) == 0 || qAlpha(c) == 255);
            if (qAlpha(c) == 0)
                continue;
            ++opaque;
            QVERIFY((c & 0xffffff) != 0xc0c0c0);
            const int channels[] = {qRed(c), qGreen(c), qBlue(c)};
            bool leads = true;
            for (int i = 0; i < 3; ++i)
                leads &= i == mainChannel || channels[mainChannel] >= channels[i] + 60;
            if (leads)
                ++ofMainColour;
        }
    }
    for (const QPoint corner : {QPoint(0, 0), QPoint(23, 0), QPoint(0, 23), QPoint(23, 23)})
        QCOMPARE(qAlpha(image.pixel(corner)), 0);
    QVERIFY2(opaque >= 24 * 24 / 6 && opaque <= 24 * 24 * 5 / 6,
             qPrintable(QStringLiteral("%1 opaque pixels").arg(opaque)));
    QVERIFY2(ofMainColour >= 40, qPrintable(QStringLiteral("%1 of its colour").arg(ofMainColour)));
}

// Forward is back mirrored, and back points left: its head (the tallest column of the arrow)
// lies in the left half, its tip at the far left.
void PicturesTest::backAndForwardArrows()
{
    const QImage back =
        picture(QStringLiteral("tb_back.png")).convertToFormat(QImage::Format_ARGB32);
    const QImage forward =
        picture(QStringLiteral("tb_forward.png")).convertToFormat(QImage::Format_ARGB32);
    QVERIFY(!back.isNull());
    QCOMPARE(forward, back.mirrored(true, false));

    int tallestColumn = -1;
    int tallest = 0;
    int leftmost = back.width();
    for (int x = 0; x < back.width(); ++x) {
        int height = 0;
        for (int y = 0; y < back.height(); ++y) {
            if (qAlpha(back.pixel(x, y)) != 0)
                ++height;
        }
        if (height > 0)
            leftmost = qMin(leftmost, x);
        if (height > tallest) {
            tallest = height;
            tallestColumn = x;
        }
    }
    QVERIFY(tallestColumn < back.width() / 2);
    QVERIFY(leftmost <= 3);
}

QTEST_GUILESS_MAIN(PicturesTest)
#include "test_pictures.moc"
