// The maps the statistics window draws: every country and state of the shipped
// reference tables finds its shape, and the few without one of their own are the
// documented ones.
#include "stats/Maps.h"
#include "store/Error.h"

#include <QFile>
#include <QSet>
#include <QtTest>

using namespace velmora;

namespace {

// Column `column` of every row of a shipped table (data/NAME.tsv), the header skipped.
QStringList shipped(const QString& name, int column) {
    QFile file(qEnvironmentVariable("VELMORA_SOURCE_DIR") +
               QStringLiteral("/data/%1.tsv").arg(name));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing data/%s.tsv", qPrintable(name));
    QStringList values;
    const QList<QByteArray> lines = file.readAll().split('\n');
    for (qsizetype i = 1; i < lines.size(); ++i) {
        if (!lines[i].trimmed().isEmpty())
            values << QString::fromUtf8(lines[i].split('\t').value(column));
    }
    return values;
}

// No shape of their own on ordinary country maps: drawn as the United Kingdom.
const QStringList ukParts = {"ENG", "SCO", "WAL", "NIR"};
// Missing from the map's source: a marker (as are islands too small for its scale).
const QStringList markers = {"GIB", "TUV"};

} // namespace

class TestMaps : public QObject {
    Q_OBJECT
private slots:
    void everyCountryHasItsShape();
    void everyStateHasItsShape();
    void malformedMapIsRefused_data();
    void malformedMapIsRefused();
};

void TestMaps::everyCountryHasItsShape() {
    const MapShapes& world = MapShapes::world();
    const QStringList codes = shipped(QStringLiteral("countries"), 0);
    QCOMPARE(codes.size(), 218);
    QHash<const MapShape*, QString> takenBy;
    for (const QString& code : codes) {
        const MapShape* shape = world.shapeOf(code);
        QVERIFY2(shape != nullptr, qPrintable(code));
        if (ukParts.contains(code)) {
            QCOMPARE(world.ownerOf(code), QStringLiteral("GBR"));
            continue;
        }
        QVERIFY2(world.ownerOf(code).isEmpty(), qPrintable(code));
        QVERIFY(shape->point || !markers.contains(code));
        QVERIFY(QRectF(QPointF(0, 0), world.size()).contains(shape->path.boundingRect()));
        QVERIFY2(!takenBy.contains(shape), qPrintable(code + " / " + takenBy.value(shape)));
        takenBy.insert(shape, code);
    }
    // Large countries are drawn as themselves, not as a speck of them.
    for (const char* large : {"AUS", "BRA", "RUS", "USA"})
        QVERIFY(world.shapeOf(QLatin1String(large))->path.boundingRect().width() > 50);
    // The four share one shape, drawn inside the map.
    const QRectF map(QPointF(0, 0), world.size());
    QVERIFY(map.contains(world.shapeOf(QStringLiteral("ENG"))->path.boundingRect()));
    QCOMPARE(world.shapeOf(QStringLiteral("WAL")), world.shapeOf(QStringLiteral("SCO")));
}

void TestMaps::everyStateHasItsShape() {
    const MapShapes& brazil = MapShapes::brazil();
    const QStringList states = shipped(QStringLiteral("states"), 0);
    QCOMPARE(states.size(), 27);
    QSet<const MapShape*> shapes;
    for (const QString& uf : states) {
        const MapShape* shape = brazil.shapeOf(uf);
        QVERIFY2(shape != nullptr && !shape->point, qPrintable(uf));
        QVERIFY(QRectF(QPointF(0, 0), brazil.size()).contains(shape->path.boundingRect()));
        shapes.insert(shape);
    }
    QCOMPARE(shapes.size(), states.size());
    // São Paulo lies south-east of Amazonas, as on any map.
    const QPointF sp = brazil.shapeOf(QStringLiteral("SP"))->at;
    const QPointF am = brazil.shapeOf(QStringLiteral("AM"))->at;
    QVERIFY(sp.x() > am.x() && sp.y() > am.y());
}

void TestMaps::malformedMapIsRefused_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("no size") << QByteArray("shape AA 0 0 1 0 1 1\n");
    QTest::newRow("odd coordinates") << QByteArray("size 10 10\nshape AA 0 0 1 0 1\n");
    QTest::newRow("not a number") << QByteArray("size 10 10\nshape AA 0 0 x 0 1 1\n");
    QTest::newRow("unknown line") << QByteArray("size 10 10\ncircle AA 1 1\n");
    QTest::newRow("no shape") << QByteArray("size 10 10\n");
}

void TestMaps::malformedMapIsRefused() {
    QFETCH(QByteArray, text);
    try {
        MapShapes::parse(text, QStringLiteral("teste"));
        QFAIL("accepted");
    } catch (const Error& e) {
        QVERIFY2(e.text().contains(QStringLiteral("O mapa teste está danificado")),
                 qPrintable(e.text()));
    }
    // The same lines made whole are read.
    const MapShapes good =
        MapShapes::parse("size 10 10\nshape AA 0 0 4 0 4 4 | 6 6 8 6 8 8\npart BB AA\n", {});
    QCOMPARE(good.shapeOf(QStringLiteral("BB")), good.shapeOf(QStringLiteral("AA")));
    QVERIFY(good.shapeOf(QStringLiteral("AA"))->path.contains(QPointF(3, 1)));
    QVERIFY(good.shapeOf(QStringLiteral("AA"))->path.contains(QPointF(7.5, 6.5)));
}

QTEST_GUILESS_MAIN(TestMaps)
#include "test_maps.moc"
