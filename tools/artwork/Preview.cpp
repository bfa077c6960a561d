// Previews lay stand-ins for the window's controls over a picture, to check by eye that
// titles, panels and circles line up with the places the controls take.

#include "Drawings.h"
#include "Scene.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

namespace artwork {

namespace {

void paintSampleText(QPainter& p, const Placed& c) {
    p.setFont(makeFont(c.font));
    p.setPen(c.colour);
    if (c.rect.width() > 0)
        p.drawText(c.rect, int(c.align | Qt::AlignVCenter), c.sample);
    else
        p.drawText(QPointF(c.rect.left(), c.rect.top() + QFontMetricsF(p.font()).ascent()),
                   c.sample);
}

// A stand-in picture: a shield for badges, stripes for flags and logos.
void paintSamplePicture(QPainter& p, const QRect& r) {
    if (r.width() * 10 > r.height() * 13) {
        const int third = r.height() / 3;
        p.fillRect(QRect(r.left(), r.top(), r.width(), third), QColor(0, 146, 70));
        p.fillRect(QRect(r.left(), r.top() + third, r.width(), r.height() - 2 * third),
                   QColor(255, 204, 0));
        p.fillRect(QRect(r.left(), r.bottom() - third + 1, r.width(), third), QColor(30, 60, 160));
        return;
    }
    p.fillRect(r, Qt::white);
    QPainterPath shield;
    const QRectF s = QRectF(r).adjusted(r.width() * 0.18, r.height() * 0.1, -r.width() * 0.18,
                                        -r.height() * 0.08);
    shield.moveTo(s.topLeft());
    shield.lineTo(s.topRight());
    shield.lineTo(s.right(), s.top() + s.height() * 0.45);
    shield.quadTo(s.right(), s.bottom() - s.height() * 0.15, s.center().x(), s.bottom());
    shield.quadTo(s.left(), s.bottom() - s.height() * 0.15, s.left(), s.top() + s.height() * 0.45);
    shield.closeSubpath();
    p.setPen(QPen(QColor(20, 20, 20), 2));
    p.setBrush(QColor(180, 24, 32));
    p.drawPath(shield);
}

void paintControl(QPainter& p, const Placed& c) {
    p.save();
    const QRectF box = QRectF(c.rect).adjusted(0.5, 0.5, -0.5, -0.5);
    switch (c.kind) {
    case Control::Label:
        paintSampleText(p, c);
        break;
    case Control::Picture:
        paintSamplePicture(p, c.rect);
        break;
    case Control::Edit:
    case Control::Combo:
        p.setPen(QColor(120, 120, 120));
        p.setBrush(Qt::white);
        p.drawRect(box);
        if (c.kind == Control::Combo)
            p.fillRect(QRectF(box.right() - 17, box.top() + 1, 17, box.height() - 1),
                       QColor(225, 225, 225));
        {
            Placed inner = c;
            inner.rect = c.rect.adjusted(4, 0, -18, 0);
            paintSampleText(p, inner);
        }
        break;
    case Control::Button:
        p.setPen(QColor(110, 110, 110));
        p.setBrush(QColor(232, 232, 232));
        p.drawRoundedRect(box, 3, 3);
        p.setFont(makeFont({kArial, 12}));
        p.setPen(Qt::black);
        p.drawText(c.rect, Qt::AlignCenter, c.sample);
        break;
    case Control::Radio: {
        p.setPen(QColor(90, 90, 90));
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(c.rect.left() + 7, c.rect.center().y() + 0.5), 6, 6);
        Placed inner = c;
        inner.rect = c.rect.adjusted(18, 0, 0, 0);
        paintSampleText(p, inner);
        break;
    }
    }
    p.restore();
}

} // namespace

QImage renderPreview(const Artwork& art) {
    QImage image = render(art);
    QPainter p(&image);
    p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    p.translate(art.origin);
    for (const Placed& c : art.controls)
        paintControl(p, c);
    return image;
}

} // namespace artwork
