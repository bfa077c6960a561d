#pragma once

#include <QHash>
#include <QList>
#include <QPainterPath>
#include <QPointF>
#include <QSizeF>
#include <QString>

namespace velmora {

// One map of the statistics window as drawn by tools/make-data/maps.py: shapes keyed
// by a country's code (CodPais) or a state's letters, in the map's own units.
struct MapShape {
    QString key; // "-": land of no country the catalogue knows
    QPainterPath path;
    bool point = false; // too small for the source: a marker at path's only point
    QPointF at;         // the marker's place
};

class MapShapes final {
public:
    // Parses a map file; throws Error naming the line of a malformed one.
    static MapShapes parse(const QByteArray& text, const QString& name);
    // The built-in world and Brazil maps, parsed once.
    static const MapShapes& world();
    static const MapShapes& brazil();

    QSizeF size() const { return size_; }
    const QList<MapShape>& shapes() const { return shapes_; }
    // The shape a key is drawn as: its own, or the one it is part of; null when none.
    const MapShape* shapeOf(const QString& key) const;
    // The shape key is drawn inside of ("GBR" for "ENG"), or "" when it has its own.
    QString ownerOf(const QString& key) const { return parts_.value(key); }

private:
    QSizeF size_;
    QList<MapShape> shapes_;
    QHash<QString, int> index_;     // key -> shapes_
    QHash<QString, QString> parts_; // key -> owner key
};

} // namespace velmora
