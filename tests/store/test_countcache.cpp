// Counts kept while the store is unchanged, and never past a write.
#include "store/CountCache.h"
#include "store/Module.h"
#include "tests/support/store/TestStore.h"

#include <QtTest>

using namespace velmora;
using velmora::test::TestStore;

class TestCountCache final : public QObject {
    Q_OBJECT

    static QString clubs(TFrmDm& dm) {
        return dm.counts.count(dm.QueryTodosClubes, {QStringLiteral("select count(*) as qtde"),
                                                     QStringLiteral("from clubes.db"),
                                                     QStringLiteral("where identificador = 0")});
    }

private slots:
    void unchangedStoreIsNotCountedAgain() {
        TestStore store;
        store.add(1, QStringLiteral("Santos"));
        TFrmDm dm(store.dir());
        QCOMPARE(clubs(dm), QStringLiteral("1"));
        QVERIFY(dm.QueryTodosClubes.isOpen());
        QCOMPARE(clubs(dm), QStringLiteral("1"));
        QVERIFY(!dm.QueryTodosClubes.isOpen()); // answered without running
    }

    void writesOfThisConnectionRecount() {
        TestStore store;
        store.add(1, QStringLiteral("Santos"));
        TFrmDm dm(store.dir());
        QCOMPARE(clubs(dm), QStringLiteral("1"));
        Table& t = dm.TblClubes;
        t.append();
        t.setFieldText(QStringLiteral("Codigo"), QStringLiteral("2"));
        t.setFieldText(QStringLiteral("NomeClube"), QStringLiteral("Fluminense"));
        t.setFieldText(QStringLiteral("Identificador"), QStringLiteral("0"));
        t.post();
        QCOMPARE(clubs(dm), QStringLiteral("2"));
        t.remove();
        QCOMPARE(clubs(dm), QStringLiteral("1"));
    }

    void writesOfAnotherConnectionRecount() {
        TestStore store;
        store.add(1, QStringLiteral("Santos"));
        TFrmDm dm(store.dir());
        QCOMPARE(clubs(dm), QStringLiteral("1"));
        store.add(2, QStringLiteral("Fluminense"), QStringLiteral("Brasil"), QStringLiteral("RJ"));
        QCOMPARE(clubs(dm), QStringLiteral("2"));
    }

    void keysAreKeptApart() {
        TestStore store;
        store.add(1, QStringLiteral("Santos"));
        TFrmDm dm(store.dir());
        QCOMPARE(
            dm.counts.count(
                dm.QueryTodosClubes,
                {QStringLiteral("select count(*) as qtde from clubes.db where identificador = 1")}),
            QStringLiteral("0"));
        QCOMPARE(clubs(dm), QStringLiteral("1"));
    }

    void parameterValuesAreKeptApart() {
        TestStore store;
        store.add(1, QStringLiteral("Santos"));
        TFrmDm dm(store.dir());
        const QStringList lines = {QStringLiteral("select count(*) as qtde"),
                                   QStringLiteral("from clubes.db"),
                                   QStringLiteral("where identificador = :ID")};
        for (const auto& [kind, expected] : {std::pair{0, "1"}, {1, "0"}, {0, "1"}})
            QCOMPARE(
                dm.counts.count(dm.QueryTodosClubes, lines, {{QStringLiteral("ID"), qint64(kind)}}),
                QString::fromLatin1(expected));
    }
};

QTEST_GUILESS_MAIN(TestCountCache)
#include "test_countcache.moc"
