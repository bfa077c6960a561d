// The chooser's list read a page at a time: whatever order the pages are asked for,
// the rows are those of the listing read with an offset, page after page, in the same
// order, with many clubs sharing a name, names with and without accents, empty names
// and clubs without one.
#include "detail/PagedNames.h"
#include "store/Query.h"
#include "tests/support/store/TestStore.h"

#include <QRandomGenerator>
#include <QtTest>
#include <algorithm>

using namespace velmora;
using velmora::test::TestStore;

namespace {

constexpr int clubs = 1500;

// Few distinct names, so most rows tie on the name; codes out of insertion order.
void fill(TestStore& store) {
    const QStringList names = {"Santos", "santos", "Sântos", "Ábaco", "abaco", "Zeta", ""};
    QRandomGenerator random(7);
    store.exec(QStringLiteral("begin"));
    for (int i = 0; i < clubs; ++i) {
        const int code = (i * 7919) % 100003 + 1;
        const int pick = int(random.bounded(names.size() + 1));
        const QString name =
            pick == names.size() ? QStringLiteral("null") : QStringLiteral("'%1'").arg(names[pick]);
        store.exec(QStringLiteral("insert into Clubes (Codigo, NomeClube, Identificador) "
                                  "values (%1, %2, %3)")
                       .arg(code)
                       .arg(name)
                       .arg(random.bounded(8) == 0 ? 1 : 0));
    }
    store.exec(QStringLiteral("commit"));
}

// The listing as the chooser read it before: a page at a time with an offset.
QStringList byOffset(Query& query, int kind) {
    QStringList rows;
    for (int page = 0;; ++page) {
        query.run({QStringLiteral("select NomeClube from Clubes.db"),
                   QStringLiteral("where Identificador = %1").arg(kind),
                   QStringLiteral("order by NomeClubeOrdem, NomeClube"),
                   QStringLiteral("limit %1 offset %2")
                       .arg(PagedNames::pageSize)
                       .arg(page * PagedNames::pageSize)});
        if (query.isEmpty())
            return rows;
        for (; !query.eof(); query.next())
            rows << query.field(0);
    }
}

} // namespace

class TestPagedNames final : public QObject {
    Q_OBJECT
private slots:
    void sameRowsAsOffsetReading_data();
    void sameRowsAsOffsetReading();
};

void TestPagedNames::sameRowsAsOffsetReading_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("order"); // in which the pages are first asked for
    for (int kind : {0, 1}) {
        for (const char* order : {"in turn", "backwards", "random"})
            QTest::addRow("%s, %s", kind == 0 ? "clubs" : "national teams", order)
                << kind << QString::fromLatin1(order);
    }
}

void TestPagedNames::sameRowsAsOffsetReading() {
    QFETCH(int, kind);
    QFETCH(QString, order);
    TestStore store;
    fill(store);
    Query reader(store.database(), QStringLiteral("QueryOffset"));
    const QStringList expected = byOffset(reader, kind);
    QVERIFY(expected.size() > 2 * PagedNames::pageSize || kind == 1);

    Query query(store.database(), QStringLiteral("QueryNomes"));
    PagedNames model(query, nullptr);
    model.reset({QStringLiteral("NomeClube"),
                 QStringLiteral("from Clubes.db"),
                 QStringLiteral("where Identificador = %1").arg(kind),
                 {QStringLiteral("NomeClubeOrdem"), QStringLiteral("NomeClube")},
                 QStringLiteral("Codigo")},
                int(expected.size()));
    while (model.canFetchMore({}))
        model.fetchMore({});
    QCOMPARE(model.rowCount(), expected.size());

    QList<int> pages;
    for (int page = 0; page * PagedNames::pageSize < expected.size(); ++page)
        pages << page;
    if (order == QLatin1String("backwards"))
        std::reverse(pages.begin(), pages.end());
    else if (order == QLatin1String("random"))
        std::shuffle(pages.begin(), pages.end(), QRandomGenerator(11));
    // Each page read in the order given (its last row first, as a list scrolled from
    // below shows it), then the whole list again, now partly from the pages kept.
    for (int page : pages) {
        const int last = std::min<int>((page + 1) * PagedNames::pageSize, expected.size()) - 1;
        QCOMPARE(model.data(model.index(last)).toString(), expected[last]);
    }
    QStringList shown;
    for (int row = 0; row < model.rowCount(); ++row)
        shown << model.data(model.index(row)).toString();
    QCOMPARE(shown, expected);
}

QTEST_MAIN(TestPagedNames)
#include "test_pagednames.moc"
