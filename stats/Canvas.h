#pragma once

#include "stats/Views.h"

#include <QPixmap>
#include <QWidget>

class QPainter;

namespace velmora {

class MapShapes;

// Draws one view of the statistics window: a map coloured by counts or a bar chart,
// with its title and, on maps, a legend. The same drawing goes to the screen, to
// PNG, SVG and PDF files. Arrows move through the items, Enter or a click opens one.
class Canvas final : public QWidget {
    Q_OBJECT
public:
    explicit Canvas(QWidget* parent = nullptr);

    void setView(const StatsView& view); // keeps the chosen item when it is still there
    const StatsView& view() const { return view_; }

    int selected() const { return selected_; }
    void select(int item); // -1: none

    // The view drawn into `area` (the title included), as on the screen, with no choice shown.
    void render(QPainter& painter, const QRectF& area) const;
    // The item drawn at a point of the widget, -1 for none.
    int itemAt(const QPointF& at) const;
    // The items that arrows move through, in their order.
    QList<int> reachable() const;
    // Where an item is drawn on the widget (a bar, or the box around a country).
    QRectF itemRect(int item) const;
    // The items drawn in the same shape as `item` (England's are the United Kingdom's).
    QList<int> companions(int item) const;

signals:
    void itemChosen(int item);    // hovered or reached with the arrows
    void itemActivated(int item); // clicked or Enter

protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void leaveEvent(QEvent* e) override;

private:
    const MapShapes* shapes() const;
    void step(int by);
    void showTip(int item, const QPoint& global);

    StatsView view_;
    int selected_ = -1;
    int hovered_ = -1;
    QPixmap cache_; // the drawing with nothing highlighted, at the widget's size
};

} // namespace velmora
