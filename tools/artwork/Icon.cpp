#include "Icon.h"

#include "Palette.h"

#include <QDir>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QSvgGenerator>

#include <cmath>
#include <cstdio>
#include <numbers>

namespace artwork {

namespace {

constexpr qreal kDesign = 256; // the drawing's own units
constexpr int kSizes[] = {16, 24, 32, 48, 64, 128, 256, 512};
// Below this the stars and seams turn to mush; the small icon keeps shield and ball.
constexpr int kDetailFrom = 32;

QPointF polar(const QPointF& c, qreal r, qreal degrees) {
    const qreal a = degrees * std::numbers::pi / 180.0;
    return c + QPointF(r * std::cos(a), r * std::sin(a));
}

QPolygonF star(const QPointF& c, qreal r, int points, qreal innerRatio, qreal firstDegrees) {
    QPolygonF poly;
    for (int i = 0; i < points * 2; ++i)
        poly << polar(c, i % 2 ? r * innerRatio : r, firstDegrees + 180.0 / points * i);
    return poly;
}

QPainterPath shield() {
    QPainterPath path;
    path.moveTo(34, 46);
    path.cubicTo(78, 46, 108, 36, 128, 18);
    path.cubicTo(148, 36, 178, 46, 222, 46);
    path.lineTo(222, 128);
    path.cubicTo(222, 188, 182, 222, 128, 246);
    path.cubicTo(74, 222, 34, 188, 34, 128);
    path.closeSubpath();
    return path;
}

void paintShield(QPainter& p, bool detailed) {
    const QPainterPath outline = shield();
    QLinearGradient fill(0, 18, 0, 246);
    fill.setColorAt(0, palette::grass);
    fill.setColorAt(0.55, palette::green);
    fill.setColorAt(1, palette::deepGreen);
    p.setPen(QPen(palette::orange, detailed ? 12 : 20, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(fill);
    p.drawPath(outline);
    if (!detailed)
        return;
    // A fine inner rule, as on an embroidered badge.
    QTransform inset;
    inset.translate(128, 134);
    inset.scale(0.86, 0.86);
    inset.translate(-128, -134);
    p.setPen(QPen(palette::mist, 3));
    p.setBrush(Qt::NoBrush);
    p.drawPath(inset.map(outline));
}

// The panel ball seen face on; the rim patches are cut to the sphere as paths, not by
// clipping, which SVG viewers treat unevenly.
void paintBall(QPainter& p, const QPointF& c, qreal r, bool detailed) {
    QPainterPath sphere;
    sphere.addEllipse(c, r, r);
    p.setPen(Qt::NoPen);
    p.setBrush(palette::paper);
    p.drawPath(sphere);

    QPolygonF pentagon;
    for (int i = 0; i < 5; ++i)
        pentagon << polar(c, r * 0.33, -90 + 72 * i);
    QPainterPath patches;
    patches.addPolygon(pentagon);
    for (int i = 0; i < 5; ++i) {
        const qreal rimAngle = -90 + 72 * i + 36;
        QPolygonF rim;
        for (int k = 0; k < 5; ++k)
            rim << polar(polar(c, r, rimAngle), r * 0.34, rimAngle + 72 * k);
        QPainterPath rimPath;
        rimPath.addPolygon(rim);
        patches.addPath(rimPath.intersected(sphere));
    }
    p.setBrush(palette::ink);
    p.drawPath(patches.simplified());

    if (detailed) {
        p.setPen(QPen(palette::steel, r * 0.05, Qt::SolidLine, Qt::RoundCap));
        for (int i = 0; i < 5; ++i)
            p.drawLine(pentagon[i], polar(c, r * 0.62, -90 + 72 * i));
    }
    // Light from the upper left.
    QRadialGradient shade(c - QPointF(r * 0.4, r * 0.45), r * 1.6);
    shade.setColorAt(0, QColor(255, 255, 255, 60));
    shade.setColorAt(0.6, QColor(0, 0, 0, 0));
    shade.setColorAt(1, QColor(0, 0, 0, 90));
    p.setPen(QPen(palette::midnight, detailed ? r * 0.05 : r * 0.09));
    p.setBrush(shade);
    p.drawPath(sphere);
}

void paintStars(QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(palette::orange);
    for (const qreal x : {94.0, 128.0, 162.0})
        p.drawPolygon(star(QPointF(x, x == 128.0 ? 66 : 72), 12, 5, 0.45, -90));
}

bool savePng(int side, const QString& path) {
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter p(&image);
        paintIcon(p, side);
    }
    if (image.save(path, "PNG"))
        return true;
    std::fprintf(stderr, "velmora-artwork: cannot write %s\n", qPrintable(path));
    return false;
}

bool saveSvg(const QString& path) {
    QSvgGenerator svg;
    svg.setFileName(path);
    svg.setSize(QSize(int(kDesign), int(kDesign)));
    svg.setViewBox(QRectF(0, 0, kDesign, kDesign));
    svg.setTitle(QStringLiteral("Velmora"));
    svg.setDescription(QStringLiteral("Distintivo com uma bola"));
    QPainter p;
    if (!p.begin(&svg)) {
        std::fprintf(stderr, "velmora-artwork: cannot write %s\n", qPrintable(path));
        return false;
    }
    paintIcon(p, int(kDesign));
    return p.end();
}

} // namespace

void paintIcon(QPainter& p, int side) {
    const bool detailed = side >= kDetailFrom;
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(side / kDesign, side / kDesign);
    paintShield(p, detailed);
    paintBall(p, QPointF(128, detailed ? 148 : 136), detailed ? 52 : 64, detailed);
    if (detailed)
        paintStars(p);
    p.restore();
}

bool writeIcons(const QString& dir) {
    const QDir out(dir);
    if (!QDir().mkpath(dir) || !saveSvg(out.filePath(QStringLiteral("velmora.svg"))))
        return false;
    for (const int side : kSizes)
        if (!savePng(side, out.filePath(QStringLiteral("velmora-%1.png").arg(side))))
            return false;
    return true;
}

} // namespace artwork
