// Saves leave the full-text indexes' merging to the program's idle time: what the
// indexes offer for a fragment stays exactly the names holding it, with merging
// still waiting and once it is done.
#include "store/Module.h"
#include "store/Search.h"
#include "tests/support/store/TestStore.h"

#include <QSqlQuery>
#include <QtTest>

using namespace velmora;
using velmora::test::TestStore;

namespace {

const char* const syllables[] = {"ba", "ção", "ma", "são", "te", "lu", "rê", "pa", "fla", "mé"};

QString madeUpName(int n) {
    QString name;
    for (int i = 0; i < 3; ++i, n /= int(std::size(syllables)))
        name += QString::fromUtf8(syllables[n % std::size(syllables)]);
    return name;
}

qint64 number(Database& db, const QString& sql) {
    return db.value(sql).toLongLong();
}

} // namespace

class TestSearchUpkeep : public QObject {
    Q_OBJECT

private:
    // Every index offers, for fragments of its own names, the clubs holding them.
    static void indexesMatchNames(Database& db) {
        for (const SearchIndex& index : Search::indexes()) {
            QStringList names;
            QSqlQuery q(db.handle());
            QVERIFY(q.exec(QStringLiteral("select fold(%1) from Clubes").arg(index.column)));
            while (q.next())
                names << q.value(0).toString();
            for (int i = 0; i < names.size(); i += 7) {
                const QString fragment = names[i].mid(i % 4, 3);
                const auto holding = std::count_if(names.begin(), names.end(),
                                                   [&](auto& n) { return n.contains(fragment); });
                QSqlQuery offered(db.handle());
                offered.prepare(
                    QStringLiteral("select count(*) from %1 where %1 match ?").arg(index.name));
                offered.addBindValue(Search::trigramQuery(fragment));
                QVERIFY(offered.exec() && offered.next());
                QCOMPARE(offered.value(0).toLongLong(), qint64(holding));
            }
        }
    }

    static QList<qint64> indexRows(Database& db) {
        QList<qint64> rows;
        for (const SearchIndex& index : Search::indexes())
            rows << number(db, QStringLiteral("select count(*) from %1_data").arg(index.name));
        return rows;
    }

private slots:
    void savesMergedWhenIdleStayExact() {
        TestStore store;
        for (int code = 1; code <= 30; ++code)
            store.add(code, madeUpName(code));
        store.close();
        TFrmDm dm(store.dir());
        Table& clubs = dm.TblClubes;
        // Merging may relax how its own commits reach the disk, never the saves'.
        const qint64 durability = number(dm.database(), QStringLiteral("PRAGMA synchronous"));
        // Renames, one save each, as the editor posts them.
        for (int save = 0; save < 120; ++save) {
            if (!clubs.seek(save % 30 + 1))
                QFAIL("club missing");
            clubs.edit();
            clubs.setFieldText(QStringLiteral("NomeClube"), madeUpName(save * 37 + 500));
            clubs.setFieldText(QStringLiteral("NomeCompletoClube"),
                               madeUpName(save * 11 + 900) + QStringLiteral(" Futebol Clube"));
            clubs.post();
        }
        QVERIFY(dm.searchUpkeep.pending());
        indexesMatchNames(dm.database());
        const QList<qint64> before = indexRows(dm.database());

        QTRY_VERIFY_WITH_TIMEOUT(!dm.searchUpkeep.pending(), 60000);
        const QList<qint64> after = indexRows(dm.database());
        for (int i = 0; i < before.size(); ++i)
            QVERIFY2(after[i] < before[i],
                     qPrintable(QStringLiteral("%1 -> %2").arg(before[i]).arg(after[i])));
        indexesMatchNames(dm.database());
        QCOMPARE(number(dm.database(), QStringLiteral("PRAGMA synchronous")), durability);
    }

    // The ages' recount writes on a connection of its own: merging waits for it, at every
    // report, and is still to be done afterwards.
    void mergingWaitsForTheAges() {
        TestStore store;
        for (int code = 1; code <= 30; ++code)
            store.add(code, madeUpName(code));
        store.close();
        TFrmDm dm(store.dir());
        Table& clubs = dm.TblClubes;
        clubs.seek(3);
        clubs.edit();
        clubs.setFieldText(QStringLiteral("NomeClube"), madeUpName(77));
        clubs.post();
        QVERIFY(dm.searchUpkeep.pending());
        int reports = 0;
        bool merging = false;
        const std::optional<int> withYear =
            dm.recountAges(2050,
                           [&](int) {
                               ++reports;
                               merging = merging || dm.searchUpkeep.pending();
                               return true;
                           },
                           {});
        QCOMPARE(withYear.value_or(-1), 30);
        QVERIFY(reports > 0);
        QVERIFY(!merging);
        QVERIFY(dm.searchUpkeep.pending());
        QCOMPARE(number(dm.database(),
                        QStringLiteral("select count(*) from Clubes where IdadeClube = (2050 - "
                                       "AnoFundacao) || ' anos'")),
                 qint64(30));
    }
};

QTEST_GUILESS_MAIN(TestSearchUpkeep)
#include "test_searchupkeep.moc"
