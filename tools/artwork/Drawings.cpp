#include "Drawings.h"

#include "Palette.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>

#include <cmath>
#include <numbers>

namespace artwork {

namespace {

constexpr qreal kDeg = std::numbers::pi / 180.0;

QPointF polar(const QPointF& c, qreal r, qreal degrees) {
    return c + QPointF(r * std::cos(degrees * kDeg), r * std::sin(degrees * kDeg));
}

QPolygonF pentagon(const QPointF& c, qreal r, qreal firstDegrees) {
    QPolygonF poly;
    for (int i = 0; i < 5; ++i)
        poly << polar(c, r, firstDegrees + 72 * i);
    return poly;
}

// The classic panel ball seen face on: a central pentagon, five rim pentagons and the seams
// of the hexagons between them, shaded as a sphere.
void paintBall(QPainter& p, const QRectF& box) {
    const QPointF c = box.center();
    const qreal r = std::min(box.width(), box.height()) / 2;

    QRadialGradient shadow(c + QPointF(0, r * 0.98), r * 0.9);
    shadow.setColorAt(0, QColor(0, 0, 0, 90));
    shadow.setColorAt(1, QColor(0, 0, 0, 0));
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(shadow);
    p.drawEllipse(QRectF(c.x() - r * 0.9, c.y() + r * 0.82, r * 1.8, r * 0.32));

    QPainterPath sphere;
    sphere.addEllipse(c, r, r);
    p.setClipPath(sphere, Qt::IntersectClip);
    p.fillPath(sphere, QColor(250, 251, 252));

    const QColor patch(30, 36, 46);
    const QPen seam(QColor(70, 78, 90), std::max(1.0, r * 0.025), Qt::SolidLine, Qt::RoundCap,
                    Qt::RoundJoin);
    p.setBrush(patch);
    p.setPen(seam);
    const qreal a = r * 0.33; // central pentagon
    const QPolygonF centre = pentagon(c, a, -90);
    p.drawPolygon(centre);
    for (int i = 0; i < 5; ++i) {
        const qreal vertexAngle = -90 + 72 * i;
        const qreal rimAngle = vertexAngle + 36;
        // Rim pentagons show an edge to the centre, so their first vertex points outwards.
        const QPolygonF rim = pentagon(polar(c, r * 1.0, rimAngle), r * 0.34, rimAngle);
        p.drawPolygon(rim);
        const QPointF joint = polar(c, r * 0.6, vertexAngle);
        p.drawLine(centre[i], joint);
        // Connect the joint to the nearest inner vertex of each neighbouring rim pentagon.
        for (int side : {-1, 1}) {
            const QPolygonF near =
                pentagon(polar(c, r, vertexAngle + 36 * side), r * 0.34, vertexAngle + 36 * side);
            QPointF best = near[0];
            for (const QPointF& v : near)
                if (QLineF(v, joint).length() < QLineF(best, joint).length())
                    best = v;
            p.drawLine(joint, best);
        }
    }

    // Light from the upper left, dark towards the lower right.
    QRadialGradient shade(c - QPointF(r * 0.38, r * 0.42), r * 1.55);
    shade.setColorAt(0, QColor(255, 255, 255, 70));
    shade.setColorAt(0.45, QColor(255, 255, 255, 0));
    shade.setColorAt(0.8, QColor(10, 20, 40, 60));
    shade.setColorAt(1, QColor(10, 20, 40, 140));
    p.fillPath(sphere, shade);
    p.restore();

    p.save();
    p.setPen(QPen(QColor(0, 0, 0, 60), 1));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, r - 0.5, r - 0.5);
    p.restore();
}

// A bowl stadium in three-quarter view: stands, pitch, roof and two floodlights.
void paintStadium(QPainter& p, const QRectF& box) {
    const qreal w = box.width();
    const qreal h = box.height();
    const QRectF bowl(box.left() + w * 0.04, box.top() + h * 0.34, w * 0.92, h * 0.62);
    const QRectF pitch =
        bowl.adjusted(w * 0.17, bowl.height() * 0.24, -w * 0.17, -bowl.height() * 0.2);
    p.save();
    p.setPen(Qt::NoPen);

    // Floodlight masts behind the bowl.
    for (qreal fx : {0.1, 0.9}) {
        const qreal x = box.left() + w * fx;
        p.setPen(QPen(palette::steel, std::max(1.5, w * 0.018)));
        p.drawLine(QPointF(x, box.top() + h * 0.12), QPointF(x, bowl.center().y()));
        p.setPen(Qt::NoPen);
        QRadialGradient glow(QPointF(x, box.top() + h * 0.1), h * 0.2);
        glow.setColorAt(0, QColor(255, 236, 160, 200));
        glow.setColorAt(1, QColor(255, 236, 160, 0));
        p.setBrush(glow);
        p.drawEllipse(QPointF(x, box.top() + h * 0.1), h * 0.2, h * 0.2);
        p.setBrush(QColor(255, 244, 200));
        p.drawRoundedRect(QRectF(x - w * 0.05, box.top() + h * 0.05, w * 0.1, h * 0.1), 1.5, 1.5);
    }

    QLinearGradient stands(bowl.topLeft(), bowl.bottomLeft());
    stands.setColorAt(0, QColor(96, 110, 128));
    stands.setColorAt(0.5, QColor(150, 162, 178));
    stands.setColorAt(1, QColor(84, 96, 112));
    p.setBrush(stands);
    p.drawEllipse(bowl);
    // Tiers of seats.
    p.setBrush(Qt::NoBrush);
    for (int tier = 1; tier <= 2; ++tier) {
        const qreal k = tier / 3.0;
        const QRectF ring = bowl.adjusted(w * 0.17 * k, bowl.height() * 0.24 * k, -w * 0.17 * k,
                                          -bowl.height() * 0.2 * k);
        p.setPen(QPen(QColor(200, 208, 220, 170), 1));
        p.drawEllipse(ring);
    }
    // Roof rim.
    p.setPen(QPen(QColor(230, 234, 240), std::max(1.5, h * 0.035)));
    p.drawArc(bowl, 10 * 16, 160 * 16);

    QLinearGradient turf(pitch.topLeft(), pitch.bottomLeft());
    turf.setColorAt(0, palette::grass.darker(115));
    turf.setColorAt(1, palette::grass.lighter(112));
    p.setPen(Qt::NoPen);
    p.setBrush(turf);
    p.drawEllipse(pitch);
    p.setPen(QPen(QColor(255, 255, 255, 200), 1));
    p.setBrush(Qt::NoBrush);
    const QRectF field = pitch.adjusted(pitch.width() * 0.16, pitch.height() * 0.2,
                                        -pitch.width() * 0.16, -pitch.height() * 0.2);
    p.drawRect(field);
    p.drawLine(QPointF(field.center().x(), field.top()),
               QPointF(field.center().x(), field.bottom()));
    p.drawEllipse(field.center(), field.height() * 0.28, field.height() * 0.22);
    p.restore();
}

// Markings of a whole pitch drawn inside `box` (landscape).
void paintPitchLines(QPainter& p, const QRectF& box) {
    const qreal w = box.width();
    const qreal h = box.height();
    p.save();
    p.setPen(QPen(QColor(255, 255, 255, 255), std::max(1.5, w / 300.0)));
    p.setBrush(Qt::NoBrush);
    p.drawRect(box);
    const qreal cx = box.center().x();
    p.drawLine(QPointF(cx, box.top()), QPointF(cx, box.bottom()));
    p.drawEllipse(box.center(), h * 0.135, h * 0.135);
    p.setBrush(Qt::white);
    p.drawEllipse(box.center(), 3, 3);
    p.setBrush(Qt::NoBrush);
    for (int side : {0, 1}) {
        const qreal dir = side == 0 ? 1 : -1;
        const qreal goalLine = side == 0 ? box.left() : box.right();
        const qreal penW = w * 0.157, penH = h * 0.593;
        const qreal goalW = w * 0.052, goalH = h * 0.27;
        p.drawRect(QRectF(side == 0 ? goalLine : goalLine - penW, box.center().y() - penH / 2, penW,
                          penH));
        p.drawRect(QRectF(side == 0 ? goalLine : goalLine - goalW, box.center().y() - goalH / 2,
                          goalW, goalH));
        const QPointF spot(goalLine + dir * w * 0.105, box.center().y());
        p.setBrush(Qt::white);
        p.drawEllipse(spot, 2.5, 2.5);
        p.setBrush(Qt::NoBrush);
        const qreal arc = h * 0.135;
        const QRectF arcBox(spot.x() - arc, spot.y() - arc, 2 * arc, 2 * arc);
        // The arc outside the penalty box: about 53 degrees each side of the pitch axis.
        p.drawArc(arcBox, (side == 0 ? -53 : 127) * 16, 106 * 16);
    }
    p.restore();
}

// Floodlight glow: a soft white spot fading out to the edge of `box`.
void paintGlow(QPainter& p, const QRectF& box) {
    QRadialGradient g(box.center(), std::min(box.width(), box.height()) / 2);
    g.setColorAt(0, QColor(255, 255, 255, 70));
    g.setColorAt(0.5, QColor(255, 255, 255, 22));
    g.setColorAt(1, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(box);
}

QPen glyphPen(const QColor& c, qreal width) {
    return QPen(c, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void paintFloppy(QPainter& p, const QRectF& b) {
    const qreal u = b.width() / 24.0;
    const QRectF body = b.adjusted(2.5 * u, 2.5 * u, -2.5 * u, -2.5 * u);
    QPainterPath outline;
    outline.moveTo(body.topLeft() + QPointF(1.5 * u, 0));
    outline.lineTo(body.right() - 4 * u, body.top());
    outline.lineTo(body.right(), body.top() + 4 * u);
    outline.lineTo(body.right(), body.bottom() - 1.5 * u);
    outline.quadTo(body.bottomRight(), body.bottomRight() - QPointF(1.5 * u, 0));
    outline.lineTo(body.left() + 1.5 * u, body.bottom());
    outline.quadTo(body.bottomLeft(), body.bottomLeft() - QPointF(0, 1.5 * u));
    outline.lineTo(body.left(), body.top() + 1.5 * u);
    outline.quadTo(body.topLeft(), body.topLeft() + QPointF(1.5 * u, 0));
    QLinearGradient g(body.topLeft(), body.bottomLeft());
    g.setColorAt(0, QColor(52, 112, 196));
    g.setColorAt(1, QColor(28, 74, 148));
    p.setPen(glyphPen(QColor(18, 50, 104), 1.0 * u));
    p.setBrush(g);
    p.drawPath(outline);
    p.setPen(Qt::NoPen);
    // Metal shutter and its slot.
    p.setBrush(QColor(214, 222, 232));
    p.drawRect(QRectF(body.left() + 4 * u, body.top(), 9 * u, 6 * u));
    p.setBrush(QColor(28, 74, 148));
    p.drawRect(QRectF(body.left() + 10 * u, body.top() + 1 * u, 2 * u, 4 * u));
    // Label.
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(body.left() + 3 * u, body.top() + 9.5 * u, body.width() - 6 * u,
                             body.height() - 11 * u),
                      u, u);
    p.setPen(glyphPen(QColor(150, 170, 196), 0.9 * u));
    for (qreal y : {12.5, 15.0})
        p.drawLine(QPointF(body.left() + 5 * u, body.top() + y * u),
                   QPointF(body.right() - 5 * u, body.top() + y * u));
}

void paintCross(QPainter& p, const QRectF& b) {
    const qreal u = b.width() / 24.0;
    const QRectF x = b.adjusted(6 * u, 6 * u, -6 * u, -6 * u);
    for (const auto& [pen, w] : {std::pair{QColor(120, 20, 16), 5.2}, {QColor(214, 52, 40), 3.6}}) {
        p.setPen(glyphPen(pen, w * u));
        p.drawLine(x.topLeft(), x.bottomRight());
        p.drawLine(x.topRight(), x.bottomLeft());
    }
}

void paintCheck(QPainter& p, const QRectF& b) {
    const qreal u = b.width() / 24.0;
    QPainterPath tick;
    tick.moveTo(b.left() + 4.5 * u, b.top() + 12.5 * u);
    tick.lineTo(b.left() + 9.5 * u, b.top() + 17.5 * u);
    tick.lineTo(b.left() + 19.5 * u, b.top() + 6.5 * u);
    p.setBrush(Qt::NoBrush);
    p.setPen(glyphPen(QColor(14, 84, 40), 5.2 * u));
    p.drawPath(tick);
    p.setPen(glyphPen(QColor(40, 160, 76), 3.6 * u));
    p.drawPath(tick);
}

// A map pin, for the city registry.
void paintPin(QPainter& p, const QRectF& b) {
    const qreal w = b.width();
    const QPointF tip(b.center().x(), b.bottom());
    const QPointF head(b.center().x(), b.top() + w * 0.42);
    QPainterPath pin;
    pin.moveTo(tip);
    pin.cubicTo(QPointF(tip.x() - w * 0.2, tip.y() - w * 0.35), head + QPointF(-w * 0.46, w * 0.2),
                head + QPointF(-w * 0.42, 0));
    pin.arcTo(QRectF(head.x() - w * 0.42, head.y() - w * 0.42, w * 0.84, w * 0.84), 180, -180);
    pin.cubicTo(head + QPointF(w * 0.46, w * 0.2), QPointF(tip.x() + w * 0.2, tip.y() - w * 0.35),
                tip);
    QLinearGradient g(b.topLeft(), b.bottomRight());
    g.setColorAt(0, palette::orange.lighter(115));
    g.setColorAt(1, palette::orange.darker(125));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawPath(pin);
    p.setBrush(Qt::white);
    p.drawEllipse(head, w * 0.17, w * 0.17);
}

} // namespace

void paintOrnament(QPainter& p, const Ornament& o) {
    p.save();
    p.setOpacity(o.opacity);
    switch (o.drawing) {
    case Drawing::Ball:
        paintBall(p, o.rect);
        break;
    case Drawing::Stadium:
        paintStadium(p, o.rect);
        break;
    case Drawing::PitchLines:
        paintPitchLines(p, o.rect);
        break;
    case Drawing::Glow:
        paintGlow(p, o.rect);
        break;
    case Drawing::Floppy:
        paintFloppy(p, o.rect);
        break;
    case Drawing::Cross:
        paintCross(p, o.rect);
        break;
    case Drawing::Check:
        paintCheck(p, o.rect);
        break;
    case Drawing::Pin:
        paintPin(p, o.rect);
        break;
    }
    p.restore();
}

} // namespace artwork
