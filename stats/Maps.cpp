#include "stats/Maps.h"

#include "store/Error.h"

#include <QFile>

namespace velmora {

namespace {

[[noreturn]] void malformed(const QString& name, int line) {
    throw Error(QStringLiteral("O mapa %1 está danificado (linha %2).").arg(name).arg(line));
}

QByteArray resource(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Error(QStringLiteral("O mapa %1 não foi encontrado no programa.").arg(path));
    return file.readAll();
}

// "x y x y ... | x y ..." into closed subpaths; false on a bad number.
bool addRings(QPainterPath& path, const QList<QByteArray>& words, qsizetype from) {
    bool first = true;
    for (qsizetype i = from; i < words.size();) {
        if (words[i] == "|") {
            path.closeSubpath();
            first = true;
            ++i;
            continue;
        }
        if (i + 1 >= words.size())
            return false;
        bool okX = false, okY = false;
        const QPointF p(words[i].toInt(&okX), words[i + 1].toInt(&okY));
        if (!okX || !okY)
            return false;
        first ? path.moveTo(p) : path.lineTo(p);
        first = false;
        i += 2;
    }
    path.closeSubpath();
    return !path.isEmpty();
}

} // namespace

MapShapes MapShapes::parse(const QByteArray& text, const QString& name) {
    MapShapes map;
    int number = 0;
    for (const QByteArray& raw : text.split('\n')) {
        ++number;
        const QByteArray line = raw.trimmed();
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        const QList<QByteArray> words = line.split(' ');
        const QByteArray& kind = words[0];
        if (kind == "size" && words.size() == 3) {
            map.size_ = QSizeF(words[1].toDouble(), words[2].toDouble());
        } else if (kind == "part" && words.size() == 3) {
            map.parts_.insert(QString::fromUtf8(words[1]), QString::fromUtf8(words[2]));
        } else if (kind == "point" && words.size() == 4) {
            MapShape shape{QString::fromUtf8(words[1]),
                           {},
                           true,
                           QPointF(words[2].toDouble(), words[3].toDouble())};
            shape.path.addEllipse(shape.at, 1, 1);
            map.shapes_.append(shape);
        } else if (kind == "shape" && words.size() > 2) {
            MapShape shape{QString::fromUtf8(words[1]), {}, false, {}};
            if (!addRings(shape.path, words, 2))
                malformed(name, number);
            shape.path.setFillRule(Qt::WindingFill);
            shape.at = shape.path.boundingRect().center();
            map.shapes_.append(shape);
        } else {
            malformed(name, number);
        }
    }
    if (map.size_.isEmpty() || map.shapes_.isEmpty())
        malformed(name, number);
    for (int i = 0; i < map.shapes_.size(); ++i) {
        if (map.shapes_[i].key != QLatin1String("-"))
            map.index_.insert(map.shapes_[i].key, i);
    }
    return map;
}

const MapShapes& MapShapes::world() {
    static const MapShapes map =
        parse(resource(QStringLiteral(":/velmora-maps/mundo.txt")), QStringLiteral("mundo"));
    return map;
}

const MapShapes& MapShapes::brazil() {
    static const MapShapes map =
        parse(resource(QStringLiteral(":/velmora-maps/brasil.txt")), QStringLiteral("brasil"));
    return map;
}

const MapShape* MapShapes::shapeOf(const QString& key) const {
    const QString owner = parts_.value(key, key);
    const auto found = index_.constFind(owner);
    return found == index_.constEnd() ? nullptr : &shapes_[*found];
}

} // namespace velmora
