#include "stats/Canvas.h"

#include "platform/Fonts.h"
#include "stats/Maps.h"

#include <QFontMetricsF>
#include <QKeyEvent>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <QtMath>
#include <cmath>

namespace velmora {

namespace {

const QColor ink{36, 44, 56};
const QColor muted{104, 116, 130};
const QColor paper{246, 247, 243};
const QColor sea{226, 236, 242};
const QColor noCountry{236, 236, 230}; // land of no country of the catalogue
const QColor empty{255, 255, 255};     // a country without clubs
const QColor border{150, 160, 170};
const QColor highlight{244, 141, 36};
const QColor bar{22, 122, 66};
const QColor otherBar{122, 132, 144};
// From few to many clubs.
const QColor scale[] = {
    {199, 233, 192}, {161, 217, 155}, {116, 196, 118}, {49, 163, 84}, {0, 109, 44}};
constexpr int classCount = int(std::size(scale));

constexpr qreal titleHeight = 34;
constexpr qreal legendHeight = 30;
constexpr qreal margin = 10;
constexpr qreal markerRadius = 4.5;
constexpr qreal smallShape = 6; // a shape drawn narrower than this also gets a marker

QFont titleFont() {
    return pixelFont(QStringLiteral("Arial"), 17, true);
}
QFont textFont() {
    return pixelFont(QStringLiteral("Arial"), 12);
}

// The upper end of each colour class, the last being the largest count.
QList<qint64> classBounds(qint64 largest) {
    QList<qint64> bounds;
    if (largest <= classCount) {
        for (qint64 n = 1; n <= largest; ++n)
            bounds << n;
        return bounds;
    }
    for (int k = 1; k <= classCount; ++k) {
        const qint64 b = k == classCount
                             ? largest
                             : qint64(std::ceil(std::pow(double(largest), double(k) / classCount)));
        if (bounds.isEmpty() || b > bounds.last())
            bounds << b;
    }
    return bounds;
}

QColor colourOf(qint64 n, const QList<qint64>& bounds) {
    if (n <= 0)
        return empty;
    for (int i = 0; i < bounds.size(); ++i) {
        if (n <= bounds[i]) // spread over the whole scale when there are few classes
            return scale[bounds.size() == 1 ? classCount - 1
                                            : i * (classCount - 1) / (bounds.size() - 1)];
    }
    return scale[classCount - 1];
}

QString rangeText(qint64 from, qint64 to) {
    return from == to ? QString::number(to) : QStringLiteral("%1–%2").arg(from).arg(to);
}

// Where the parts of a view lie in an area.
struct Frame {
    QRectF title, body, legend;
};

Frame frameOf(const QRectF& area, bool map) {
    Frame f;
    f.title = QRectF(area.left() + margin, area.top(), area.width() - 2 * margin, titleHeight);
    const qreal bottom = area.bottom() - (map ? legendHeight : 0);
    f.body = QRectF(area.left() + margin, f.title.bottom() + 4, area.width() - 2 * margin,
                    bottom - f.title.bottom() - 8);
    f.legend = QRectF(area.left() + margin, bottom, area.width() - 2 * margin, legendHeight);
    return f;
}

// A map view laid out in an area: its transform and which items each shape draws.
struct MapLayout {
    const MapShapes* shapes = nullptr;
    QTransform toArea;
    QHash<int, QList<int>> itemsOfShape; // shape index -> items
    QHash<int, int> shapeOfItem;
    QHash<int, qint64> counts; // shape index -> the sum of its items
    QList<qint64> bounds;

    MapLayout(const StatsView& view, const MapShapes& map, const QRectF& body) : shapes(&map) {
        const QSizeF size = map.size();
        const qreal s = std::min(body.width() / size.width(), body.height() / size.height());
        toArea.translate(body.left() + (body.width() - size.width() * s) / 2,
                         body.top() + (body.height() - size.height() * s) / 2);
        toArea.scale(s, s);
        QHash<QString, int> index;
        for (int i = 0; i < map.shapes().size(); ++i)
            index.insert(map.shapes()[i].key, i);
        for (int i = 0; i < view.items.size(); ++i) {
            const MapShape* shape = map.shapeOf(view.items[i].key);
            if (view.items[i].key.isEmpty() || shape == nullptr)
                continue;
            const int at = index.value(shape->key);
            itemsOfShape[at].append(i);
            shapeOfItem.insert(i, at);
        }
        qint64 largest = 0;
        for (auto it = itemsOfShape.cbegin(); it != itemsOfShape.cend(); ++it) {
            qint64& n = counts[it.key()];
            for (int item : *it)
                n += view.items[item].count;
            largest = std::max(largest, n);
        }
        bounds = classBounds(largest);
    }

    // Shapes with clubs too small to see or point at get a marker; specks without
    // clubs are left as they are drawn, so the sea is not strewn with empty circles.
    bool marked(int shape) const {
        const MapShape& s = shapes->shapes()[shape];
        if (counts.value(shape) <= 0)
            return false;
        const QRectF r = toArea.mapRect(s.path.boundingRect());
        return s.point || std::max(r.width(), r.height()) < smallShape;
    }

    QPointF markerAt(int shape) const { return toArea.map(shapes->shapes()[shape].at); }

    int shapeAt(const QPointF& at) const {
        for (auto it = itemsOfShape.cbegin(); it != itemsOfShape.cend(); ++it) {
            if (marked(it.key()) && QLineF(markerAt(it.key()), at).length() <= markerRadius + 2)
                return it.key();
        }
        const QPointF inMap = toArea.inverted().map(at);
        for (auto it = itemsOfShape.cbegin(); it != itemsOfShape.cend(); ++it) {
            if (shapes->shapes()[it.key()].path.contains(inMap))
                return it.key();
        }
        return -1;
    }

    QRectF boxOf(int shape) const {
        if (marked(shape)) {
            const QPointF c = markerAt(shape);
            return QRectF(c.x() - markerRadius, c.y() - markerRadius, 2 * markerRadius,
                          2 * markerRadius);
        }
        return toArea.mapRect(shapes->shapes()[shape].path.boundingRect());
    }

    void paint(QPainter& p) const {
        p.save();
        p.setTransform(toArea, true);
        p.setPen(QPen(border, 0.6 / toArea.m11()));
        for (int i = 0; i < shapes->shapes().size(); ++i) {
            const MapShape& s = shapes->shapes()[i];
            if (s.point)
                continue;
            p.setBrush(itemsOfShape.contains(i) ? colourOf(counts.value(i), bounds) : noCountry);
            p.drawPath(s.path);
        }
        p.restore();
        p.setPen(QPen(ink, 0.8));
        for (auto it = itemsOfShape.cbegin(); it != itemsOfShape.cend(); ++it) {
            if (!marked(it.key()))
                continue;
            p.setBrush(colourOf(counts.value(it.key()), bounds));
            p.drawEllipse(markerAt(it.key()), markerRadius, markerRadius);
        }
    }

    void paintHighlight(QPainter& p, int shape) const {
        p.save();
        p.setBrush(Qt::NoBrush);
        if (marked(shape)) {
            p.setPen(QPen(highlight, 2.5));
            p.drawEllipse(markerAt(shape), markerRadius + 2, markerRadius + 2);
        } else {
            p.setTransform(toArea, true);
            p.setPen(QPen(highlight, 2.5 / toArea.m11()));
            p.drawPath(shapes->shapes()[shape].path);
        }
        p.restore();
    }

    void paintLegend(QPainter& p, const QRectF& area) const {
        p.setFont(textFont());
        const QFontMetricsF fm(p.font());
        qreal x = area.left();
        const qreal box = 14;
        const qreal y = area.top() + (area.height() - box) / 2;
        auto entry = [&](const QColor& colour, const QString& text) {
            p.setPen(QPen(border, 0.8));
            p.setBrush(colour);
            p.drawRect(QRectF(x, y, box, box));
            p.setPen(ink);
            p.drawText(QPointF(x + box + 4, y + box - 2), text);
            x += box + 4 + fm.horizontalAdvance(text) + 14;
        };
        entry(empty, QStringLiteral("nenhum"));
        qint64 from = 1;
        for (qint64 to : bounds) {
            entry(colourOf(to, bounds), rangeText(from, to));
            from = to + 1;
        }
    }
};

// A bar chart laid out in an area: one row per item, the label, the bar, the count.
struct BarLayout {
    QList<QRectF> bars;
    QList<QRectF> rows;
    qreal labelWidth = 0;

    BarLayout(const StatsView& view, const QRectF& body) {
        const QFontMetricsF fm(textFont());
        qint64 largest = 1;
        qreal countWidth = 0;
        for (const StatsItem& item : view.items) {
            labelWidth = std::max(labelWidth, fm.horizontalAdvance(item.label));
            countWidth = std::max(countWidth, fm.horizontalAdvance(counted(item.count, {})));
            largest = std::max(largest, item.count);
        }
        labelWidth = std::min(labelWidth + 8, body.width() * 0.4);
        const qreal length = std::max<qreal>(body.width() - labelWidth - countWidth - 12, 10);
        const qreal row =
            view.items.isEmpty() ? 0 : std::min<qreal>(body.height() / view.items.size(), 40);
        const qreal thickness = std::max<qreal>(row * 0.7, 2);
        for (int i = 0; i < view.items.size(); ++i) {
            const QRectF r(body.left(), body.top() + i * row, body.width(), row);
            rows << r;
            bars << QRectF(r.left() + labelWidth, r.center().y() - thickness / 2,
                           length * view.items[i].count / largest, thickness);
        }
    }

    void paint(QPainter& p, const StatsView& view) const {
        p.setFont(textFont());
        for (int i = 0; i < view.items.size(); ++i) {
            const StatsItem& item = view.items[i];
            const QRectF label(rows[i].left(), rows[i].top(), labelWidth - 8, rows[i].height());
            p.setPen(ink);
            p.drawText(
                label, Qt::AlignRight | Qt::AlignVCenter,
                QFontMetricsF(p.font()).elidedText(item.label, Qt::ElideRight, label.width()));
            p.setPen(Qt::NoPen);
            p.setBrush(item.targets.isEmpty() && item.count > 0 ? otherBar : bar);
            p.drawRect(bars[i]);
            p.setPen(ink);
            p.drawText(QRectF(bars[i].right() + 6, rows[i].top(), 200, rows[i].height()),
                       Qt::AlignLeft | Qt::AlignVCenter, counted(item.count, {}).trimmed());
        }
    }

    void paintHighlight(QPainter& p, int item) const {
        p.save();
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(highlight, 2.5));
        p.drawRect(rows[item].adjusted(1, 1, -1, -1));
        p.restore();
    }

    int itemAt(const QPointF& at) const {
        for (int i = 0; i < rows.size(); ++i) {
            if (rows[i].contains(at))
                return i;
        }
        return -1;
    }

    QRectF rectOf(int item) const { return bars[item] | rows[item]; }
};

// Two or three parts of a whole: a pie, each slice with its count, and a key beside it
// with the counts and shares.
struct PieLayout {
    QPointF centre;
    qreal radius = 0;
    QList<qreal> starts, spans; // degrees clockwise from the top
    QList<QRectF> rows;         // the key's lines

    PieLayout(const StatsView& view, const QRectF& body) {
        radius = std::max<qreal>(std::min(body.height(), body.width() / 2) / 2 - 10, 10);
        centre = QPointF(body.left() + body.width() / 4, body.top() + body.height() / 2);
        qint64 total = 0;
        for (const StatsItem& item : view.items)
            total += item.count;
        qreal at = 0;
        const qreal rowHeight = 28;
        const qreal top = centre.y() - rowHeight * view.items.size() / 2;
        for (int i = 0; i < view.items.size(); ++i) {
            const qreal span = total > 0 ? 360.0 * view.items[i].count / total : 0;
            starts << at;
            spans << span;
            at += span;
            rows << QRectF(body.left() + body.width() / 2, top + i * rowHeight, body.width() / 2,
                           rowHeight);
        }
    }

    static QColor colour(int item) {
        static const QColor colours[] = {bar, otherBar, {244, 141, 36}, {12, 33, 58}};
        return colours[item % int(std::size(colours))];
    }

    QRectF circle() const {
        return QRectF(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    }

    // Qt's angles run counter-clockwise from three o'clock, in sixteenths of a degree.
    void drawSlice(QPainter& p, int item) const {
        if (spans[item] >= 360)
            p.drawEllipse(circle());
        else
            p.drawPie(circle(), int((90 - starts[item] - spans[item]) * 16), int(spans[item] * 16));
    }

    void paint(QPainter& p, const StatsView& view) const {
        qint64 total = 0;
        for (const StatsItem& item : view.items)
            total += item.count;
        p.setFont(textFont());
        for (int i = 0; i < view.items.size(); ++i) {
            const StatsItem& item = view.items[i];
            p.setPen(QPen(paper, 1.5));
            p.setBrush(colour(i));
            if (spans[i] > 0)
                drawSlice(p, i);
            const qreal share = total > 0 ? 100.0 * item.count / total : 0;
            const QRectF box(rows[i].left(), rows[i].center().y() - 7, 14, 14);
            p.setPen(Qt::NoPen);
            p.drawRect(box);
            p.setPen(ink);
            p.drawText(rows[i].adjusted(22, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                       QStringLiteral("%1: %2 (%3 %)")
                           .arg(item.label, counted(item.count, {}).trimmed(),
                                QLocale(QLocale::Portuguese, QLocale::Brazil)
                                    .toString(share, 'f', share < 10 ? 1 : 0)));
        }
        // The count on each slice wide enough to hold it.
        p.setFont(pixelFont(QStringLiteral("Arial"), 14, true));
        p.setPen(Qt::white);
        for (int i = 0; i < view.items.size(); ++i) {
            if (spans[i] < 14)
                continue;
            const qreal middle = qDegreesToRadians(90 - starts[i] - spans[i] / 2);
            const QPointF at = centre + QPointF(std::cos(middle), -std::sin(middle)) *
                                            (spans[i] >= 360 ? 0 : radius * 0.6);
            p.drawText(QRectF(at.x() - 50, at.y() - 12, 100, 24), Qt::AlignCenter,
                       counted(view.items[i].count, {}).trimmed());
        }
    }

    void paintHighlight(QPainter& p, int item) const {
        p.save();
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(highlight, 2.5));
        if (spans[item] > 0)
            drawSlice(p, item);
        p.drawRect(rows[item].adjusted(-4, 1, 0, -1));
        p.restore();
    }

    int itemAt(const QPointF& at) const {
        for (int i = 0; i < rows.size(); ++i) {
            if (rows[i].contains(at))
                return i;
        }
        const QPointF d = at - centre;
        if (std::hypot(d.x(), d.y()) > radius)
            return -1;
        // Degrees clockwise from the top.
        const qreal angle = std::fmod(qRadiansToDegrees(std::atan2(d.x(), -d.y())) + 360.0, 360.0);
        for (int i = 0; i < starts.size(); ++i) {
            if (angle >= starts[i] && angle < starts[i] + spans[i])
                return i;
        }
        return -1;
    }

    QRectF rectOf(int item) const { return rows[item]; }
};

// Calls `use` with the layout of a chart view (bars or pie) in `body`.
template <class F> auto withChart(const StatsView& view, const QRectF& body, F use) {
    if (view.chart == StatsChart::Pie)
        return use(PieLayout(view, body));
    return use(BarLayout(view, body));
}

void paintTitle(QPainter& p, const QRectF& area, const QString& title) {
    p.setFont(titleFont());
    p.setPen(ink);
    p.drawText(area, Qt::AlignLeft | Qt::AlignVCenter, title);
}

} // namespace

Canvas::Canvas(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

const MapShapes* Canvas::shapes() const {
    switch (view_.chart) {
    case StatsChart::WorldMap:
        return &MapShapes::world();
    case StatsChart::BrazilMap:
        return &MapShapes::brazil();
    case StatsChart::Bars:
    case StatsChart::Pie:
        break;
    }
    return nullptr;
}

void Canvas::setView(const StatsView& view) {
    const QString chosen =
        selected_ >= 0 && selected_ < view_.items.size() ? view_.items[selected_].label : QString();
    view_ = view;
    selected_ = -1;
    hovered_ = -1;
    for (int i = 0; i < view_.items.size() && !chosen.isEmpty(); ++i) {
        if (view_.items[i].label == chosen)
            selected_ = i;
    }
    setAccessibleName(view_.title);
    cache_ = QPixmap();
    update();
}

void Canvas::select(int item) {
    selected_ = item >= 0 && item < view_.items.size() ? item : -1;
    update();
    if (selected_ >= 0)
        emit itemChosen(selected_);
}

void Canvas::render(QPainter& painter, const QRectF& area) const {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(area, shapes() == nullptr ? paper : sea);
    painter.fillRect(QRectF(area.topLeft(), QSizeF(area.width(), titleHeight)), paper);
    const Frame f = frameOf(area, shapes() != nullptr);
    paintTitle(painter, f.title, view_.title);
    if (const MapShapes* map = shapes()) {
        const MapLayout layout(view_, *map, f.body);
        layout.paint(painter);
        painter.fillRect(f.legend, paper);
        layout.paintLegend(painter, f.legend);
        painter.setPen(muted);
        painter.drawText(f.legend, Qt::AlignRight | Qt::AlignVCenter, view_.credit);
    } else if (view_.items.isEmpty()) {
        painter.setFont(textFont());
        painter.drawText(f.body, Qt::AlignCenter, QStringLiteral("Nenhum clube a mostrar."));
    } else {
        withChart(view_, f.body, [&](const auto& chart) { chart.paint(painter, view_); });
    }
    painter.restore();
}

int Canvas::itemAt(const QPointF& at) const {
    const Frame f = frameOf(rect(), shapes() != nullptr);
    if (const MapShapes* map = shapes()) {
        const MapLayout layout(view_, *map, f.body);
        const int shape = layout.shapeAt(at);
        return shape < 0 ? -1 : layout.itemsOfShape.value(shape).constFirst();
    }
    return withChart(view_, f.body, [&](const auto& chart) { return chart.itemAt(at); });
}

QRectF Canvas::itemRect(int item) const {
    const Frame f = frameOf(rect(), shapes() != nullptr);
    if (const MapShapes* map = shapes()) {
        const MapLayout layout(view_, *map, f.body);
        return layout.shapeOfItem.contains(item) ? layout.boxOf(layout.shapeOfItem.value(item))
                                                 : QRectF();
    }
    if (item < 0 || item >= view_.items.size())
        return {};
    return withChart(view_, f.body, [&](const auto& chart) { return chart.rectOf(item); });
}

QList<int> Canvas::reachable() const {
    QList<int> items;
    const MapShapes* map = shapes();
    for (int i = 0; i < view_.items.size(); ++i) {
        const StatsItem& item = view_.items[i];
        // On the world map only the countries with clubs: the others have nothing to open.
        const bool onMap =
            map == nullptr || (!item.key.isEmpty() && map->shapeOf(item.key) != nullptr &&
                               (view_.chart != StatsChart::WorldMap || item.count > 0));
        if (onMap)
            items << i;
    }
    return items;
}

void Canvas::paintEvent(QPaintEvent*) {
    const qreal ratio = devicePixelRatioF();
    if (cache_.isNull() || cache_.size() != size() * ratio) {
        cache_ = QPixmap(size() * ratio);
        cache_.setDevicePixelRatio(ratio);
        QPainter p(&cache_);
        render(p, rect());
    }
    QPainter p(this);
    p.drawPixmap(0, 0, cache_);
    p.setRenderHint(QPainter::Antialiasing);
    const Frame f = frameOf(rect(), shapes() != nullptr);
    for (int item : {hovered_, selected_}) {
        if (item < 0 || item >= view_.items.size())
            continue;
        if (const MapShapes* map = shapes()) {
            const MapLayout layout(view_, *map, f.body);
            if (layout.shapeOfItem.contains(item))
                layout.paintHighlight(p, layout.shapeOfItem.value(item));
        } else {
            withChart(view_, f.body, [&](const auto& chart) { chart.paintHighlight(p, item); });
        }
    }
    if (hasFocus() && selected_ < 0) {
        p.setPen(QPen(highlight, 1, Qt::DotLine));
        p.drawRect(rect().adjusted(1, 1, -2, -2));
    }
}

void Canvas::resizeEvent(QResizeEvent* e) {
    cache_ = QPixmap();
    QWidget::resizeEvent(e);
}

void Canvas::mouseMoveEvent(QMouseEvent* e) {
    const int item = itemAt(e->position());
    if (item != hovered_) {
        hovered_ = item;
        update();
        if (item >= 0)
            emit itemChosen(item);
    }
    showTip(item, e->globalPosition().toPoint());
}

void Canvas::leaveEvent(QEvent* e) {
    hovered_ = -1;
    update();
    QWidget::leaveEvent(e);
}

void Canvas::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton)
        return;
    const int item = itemAt(e->position());
    if (item < 0)
        return;
    select(item);
    emit itemActivated(item);
}

void Canvas::keyPressEvent(QKeyEvent* e) {
    switch (e->key()) {
    case Qt::Key_Right:
    case Qt::Key_Down:
        step(1);
        return;
    case Qt::Key_Left:
    case Qt::Key_Up:
        step(-1);
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (selected_ >= 0)
            emit itemActivated(selected_);
        return;
    default:
        QWidget::keyPressEvent(e);
    }
}

void Canvas::step(int by) {
    const QList<int> items = reachable();
    if (items.isEmpty())
        return;
    const qsizetype at = items.indexOf(selected_);
    const qsizetype next = at < 0 ? (by > 0 ? 0 : items.size() - 1)
                                  : std::clamp<qsizetype>(at + by, 0, items.size() - 1);
    select(items[next]);
}

void Canvas::showTip(int item, const QPoint& global) {
    if (item < 0) {
        QToolTip::hideText();
        return;
    }
    QString html;
    for (int i : companions(item)) {
        const StatsItem& it = view_.items[i];
        if (!html.isEmpty())
            html += QStringLiteral("<hr>");
        if (!it.flag.isEmpty())
            html += QStringLiteral("<img src=\"%1\" width=\"48\" height=\"32\"><br>")
                        .arg(it.flag.toHtmlEscaped());
        html += describe(view_, it).toHtmlEscaped();
    }
    QToolTip::showText(global, html, this);
}

QList<int> Canvas::companions(int item) const {
    if (const MapShapes* map = shapes()) {
        const MapLayout layout(view_, *map, frameOf(rect(), true).body);
        if (layout.shapeOfItem.contains(item))
            return layout.itemsOfShape.value(layout.shapeOfItem.value(item));
    }
    return {item};
}

} // namespace velmora
