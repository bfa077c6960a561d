#include "Scene.h"

#include "Drawings.h"
#include "Palette.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QTextLayout>

#include <cmath>

namespace artwork {

QFont makeFont(const FontSpec& spec) {
    QFont f(spec.family);
    f.setPixelSize(qRound(spec.pixelSize));
    f.setBold(spec.bold);
    // Bebas Neue ships five weights under one family name; ask for the face by name, or the
    // thin one may be picked.
    if (spec.family == kImpact)
        f.setStyleName(spec.bold ? QStringLiteral("Bold") : QStringLiteral("Regular"));
    f.setItalic(spec.italic);
    f.setStyleStrategy(QFont::PreferAntialias);
    f.setHintingPreference(QFont::PreferNoHinting);
    if (spec.letterSpacing != 0)
        f.setLetterSpacing(QFont::AbsoluteSpacing, spec.letterSpacing);
    return f;
}

namespace {

void fillPitch(QPainter& p, const QRectF& r, bool night) {
    QLinearGradient base(r.topLeft(), r.bottomRight());
    base.setColorAt(0, night ? palette::midnight : palette::navy);
    base.setColorAt(1, night ? palette::navy.darker(110) : palette::deepGreen);
    p.fillRect(r, base);

    // Mowing stripes, as on a freshly cut pitch.
    const qreal stripe = 44;
    for (qreal x = r.left(); x < r.right(); x += 2 * stripe)
        p.fillRect(QRectF(x, r.top(), stripe, r.height()).intersected(r), QColor(255, 255, 255, 7));

    QRadialGradient vignette(r.center(), std::hypot(r.width(), r.height()) / 1.6);
    vignette.setColorAt(0.55, QColor(0, 0, 0, 0));
    vignette.setColorAt(1, QColor(0, 0, 0, 95));
    p.fillRect(r, vignette);
}

void paintFill(QPainter& p, const Fill& f) {
    p.save();
    if (f.radius > 0) {
        QPainterPath clip;
        clip.addRoundedRect(f.rect, f.radius, f.radius);
        p.setClipPath(clip, Qt::IntersectClip);
    }
    switch (f.surface) {
    case Surface::Pitch:
        fillPitch(p, f.rect, false);
        break;
    case Surface::Night:
        fillPitch(p, f.rect, true);
        break;
    case Surface::Paper:
        p.fillRect(f.rect, palette::paper);
        break;
    case Surface::Page:
        p.fillRect(f.rect, Qt::white);
        break;
    case Surface::Orange: {
        QLinearGradient g(f.rect.topLeft(), f.rect.bottomLeft());
        g.setColorAt(0, palette::orange.lighter(108));
        g.setColorAt(1, palette::orange.darker(108));
        p.fillRect(f.rect, g);
        break;
    }
    case Surface::Clear:
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.fillRect(f.rect, Qt::transparent);
        break;
    }
    p.restore();
}

// A soft shadow built from a few widening translucent outlines, so it needs no blur filter.
void paintShadow(QPainter& p, const QRectF& r, qreal radius, int depth, int alpha) {
    p.save();
    p.setPen(Qt::NoPen);
    for (int i = depth; i >= 1; --i) {
        const QRectF s = r.adjusted(-i, -i + 2, i, i + 2);
        p.setBrush(QColor(0, 0, 0, alpha / depth));
        p.drawRoundedRect(s, radius + i, radius + i);
    }
    p.restore();
}

void paintPanel(QPainter& p, const Panel& panel) {
    const QRectF& r = panel.rect;
    const qreal rad = panel.radius;
    p.save();
    switch (panel.style) {
    case PanelStyle::Card:
        paintShadow(p, r, rad, 5, 70);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 255, 255, 246));
        p.drawRoundedRect(r, rad, rad);
        break;
    case PanelStyle::Glass:
        p.setPen(QPen(QColor(255, 255, 255, 34), 1));
        p.setBrush(QColor(6, 18, 34, 150));
        p.drawRoundedRect(r, rad, rad);
        break;
    case PanelStyle::Outline:
        p.setPen(QPen(palette::hairline, 1));
        p.setBrush(Qt::white);
        p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), rad, rad);
        break;
    case PanelStyle::Well:
        p.setPen(QPen(palette::wellBorder, 1));
        p.setBrush(palette::well);
        p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), rad, rad);
        break;
    case PanelStyle::Frame:
        paintShadow(p, r, rad, 6, 110);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawRoundedRect(r, rad, rad);
        break;
    }
    if (!panel.heading.isEmpty()) {
        QPainterPath clip;
        clip.addRoundedRect(r, rad, rad);
        p.setClipPath(clip);
        const QRectF band(r.left(), r.top(), r.width(), panel.headingHeight);
        paintFill(p, Fill{band, Surface::Orange});
        p.setClipping(false);
        p.setFont(makeFont({kImpact, panel.headingHeight * 0.78, false, 2.5}));
        p.setPen(Qt::white);
        const QFontMetricsF fm(p.font());
        const qreal baseline = band.center().y() + (fm.capHeight()) / 2;
        p.drawText(QPointF(r.left() + 14, baseline), panel.heading);
    }
    p.restore();
}

void paintDisc(QPainter& p, const Disc& d) {
    p.save();
    QRadialGradient body(d.centre - QPointF(d.radius * 0.3, d.radius * 0.35), d.radius * 1.3);
    body.setColorAt(0, d.fill.lighter(112));
    body.setColorAt(1, d.fill.darker(106));
    paintShadow(
        p, QRectF(d.centre.x() - d.radius, d.centre.y() - d.radius, 2 * d.radius, 2 * d.radius),
        d.radius, 4, 80);
    p.setBrush(body);
    if (d.ringWidth > 0)
        p.setPen(QPen(d.ring, d.ringWidth));
    else
        p.setPen(Qt::NoPen);
    const qreal inner = d.radius - d.ringWidth / 2;
    p.drawEllipse(d.centre, inner, inner);
    p.restore();
}

void paintText(QPainter& p, const Text& t) {
    p.save();
    p.setFont(makeFont(t.font));
    p.setPen(t.colour);
    const QFontMetricsF fm(p.font());
    qreal x = t.at.x();
    const qreal w = fm.horizontalAdvance(t.text);
    if (t.align & Qt::AlignRight)
        x -= w;
    else if (t.align & Qt::AlignHCenter)
        x -= w / 2;
    p.drawText(QPointF(x, t.at.y()), t.text);
    p.restore();
}

// Lays out wrapped text from (x, y) with a roomier line height than the font's own; returns
// the height used.
qreal paintParagraph(QPainter& p, const QPointF& at, qreal width, const QString& text,
                     const QFont& font) {
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    const qreal lineHeight = std::round(font.pixelSize() * 1.27);
    qreal y = 0;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        line.setPosition(QPointF(0, y));
        y += lineHeight;
    }
    layout.endLayout();
    layout.draw(&p, at);
    return y;
}

void paintNote(QPainter& p, const Note& n) {
    paintPanel(p, Panel{n.rect, PanelStyle::Outline, 10});
    p.save();
    const qreal pad = 14;
    // The number sits in a green medallion at the left.
    const QPointF medal(n.rect.left() + pad + 15, n.rect.top() + pad + 12);
    paintDisc(p, Disc{medal, 15, palette::green, palette::green, 0});
    paintText(p,
              Text{n.number, {kImpact, 21}, medal + QPointF(0, 7.5), Qt::white, Qt::AlignHCenter});

    const qreal left = n.rect.left() + pad + 44;
    const qreal width = n.rect.right() - pad - left;
    paintText(p, Text{n.heading,
                      {kCorbel, 19, true},
                      QPointF(left, n.rect.top() + pad + 19),
                      palette::deepGreen});
    qreal y = n.rect.top() + pad + 30;
    const QFont body = makeFont({kCorbel, 15});
    p.setPen(palette::ink);
    const QString bulletMark = QStringLiteral("• ");
    constexpr qreal kGap = 4; // after a paragraph or a list
    for (qsizetype i = 0; i < n.lines.size(); ++i) {
        const QString& line = n.lines[i];
        if (line.startsWith(bulletMark)) {
            p.save();
            p.setPen(Qt::NoPen);
            p.setBrush(palette::orange);
            p.drawEllipse(QPointF(left + 5, y + 10), 3, 3);
            p.restore();
            y += paintParagraph(p, QPointF(left + 16, y), width - 16, line.mid(bulletMark.size()),
                                body);
            const bool lastBullet =
                i + 1 == n.lines.size() || !n.lines[i + 1].startsWith(bulletMark);
            if (lastBullet)
                y += kGap;
        } else {
            y += paintParagraph(p, QPointF(left, y), width, line, body) + kGap;
        }
    }
    const qreal overflow = y - kGap - (n.rect.bottom() - 10);
    if (overflow > 0)
        qWarning("velmora-artwork: note \"%s\" overflows its box by %d pixels",
                 qPrintable(n.heading), int(std::ceil(overflow)));
    p.restore();
}

void paintPath(QPainter& p, const Path& path) {
    p.save();
    QPen pen(path.colour, path.width, path.dashed ? Qt::DashLine : Qt::SolidLine, Qt::RoundCap,
             Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(path.points);
    p.restore();
}

} // namespace

void paintElement(QPainter& p, const Element& e) {
    std::visit(
        [&p](const auto& item) {
            using T = std::decay_t<decltype(item)>;
            if constexpr (std::is_same_v<T, Fill>)
                paintFill(p, item);
            else if constexpr (std::is_same_v<T, Panel>)
                paintPanel(p, item);
            else if constexpr (std::is_same_v<T, Disc>)
                paintDisc(p, item);
            else if constexpr (std::is_same_v<T, Text>)
                paintText(p, item);
            else if constexpr (std::is_same_v<T, Rule>)
                p.fillRect(item.rect, item.colour);
            else if constexpr (std::is_same_v<T, Path>)
                paintPath(p, item);
            else if constexpr (std::is_same_v<T, Ornament>)
                paintOrnament(p, item);
            else if constexpr (std::is_same_v<T, Note>)
                paintNote(p, item);
        },
        e);
}

QImage render(const Artwork& art, qreal scale) {
    QImage image(art.size * scale, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                     QPainter::SmoothPixmapTransform);
    p.scale(scale, scale);
    p.translate(art.origin);
    for (const Element& e : art.elements)
        paintElement(p, e);
    p.end();
    return image;
}

QString plainText(const Artwork& art) {
    QStringList blocks;
    for (const Element& e : art.elements) {
        if (const auto* text = std::get_if<Text>(&e))
            blocks.append(text->text);
        else if (const auto* note = std::get_if<Note>(&e))
            blocks.append(
                (QStringList{note->number + QLatin1String(". ") + note->heading} + note->lines)
                    .join(QLatin1Char('\n')));
    }
    return blocks.join(QLatin1String("\n\n")) + QLatin1Char('\n');
}

} // namespace artwork
