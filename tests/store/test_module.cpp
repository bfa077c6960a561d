// The data module: its objects, opening on a store, and numbering new clubs.
#include "store/Module.h"
#include "store/StoreError.h"
#include "tests/support/store/TestStore.h"

#include <QSignalSpy>
#include <QtTest>
#include <limits>

using namespace velmora;
using velmora::test::TestStore;

class TestModule final : public QObject {
    Q_OBJECT

private slots:
    void objectsAndNames() {
        TestStore store;
        TFrmDm dm(store.dir());
        QCOMPARE(dm.dataDir(), store.dir());
        const QList<std::tuple<Table*, const char*, const char*>> tables = {
            {&dm.TblClubes, "TblClubes", "Clubes.db"},
            {&dm.TblPaises, "TblPaises", "Paises.DB"},
            {&dm.TblEstados, "TblEstados", "UF.DB"},
            {&dm.TblCidades, "TblCidades", "Cidades.DB"},
            {&dm.TblAnos, "TblAnos", "Anos.DB"},
            {&dm.TblFederacao, "TblFederacao", "Federacao.db"},
        };
        for (const auto& [table, name, file] : tables) {
            QCOMPARE(table->objectName(), QString::fromLatin1(name));
            QCOMPARE(table->def().fileName, QString::fromLatin1(file));
        }
        const QList<std::pair<Query*, const char*>> queries = {
            {&dm.QueryTodosClubes, "QueryTodosClubes"},
            {&dm.QueryConsulta, "QueryConsulta"},
            {&dm.QueryUltimoNum, "QueryUltimoNum"},
            {&dm.QueryLocalizaClube, "QueryLocalizaClube"},
            {&dm.QueryTodosPaises, "QueryTodosPaises"},
            {&dm.QueryTodosEstados, "QueryTodosEstados"},
            {&dm.QueryTodasCidades, "QueryTodasCidades"},
            {&dm.QueryBandPaises, "QueryBandPaises"},
            {&dm.QueryBandUF, "QueryBandUF"},
            {&dm.QueryFederacao, "QueryFederacao"},
        };
        for (const auto& [query, name] : queries)
            QCOMPARE(query->objectName(), QString::fromLatin1(name));
        const QList<std::tuple<DataSource*, const char*, Table*>> sources = {
            {&dm.DtsClubes, "DtsClubes", &dm.TblClubes},
            {&dm.DtsAnos, "DtsAnos", &dm.TblAnos},
            {&dm.DtsPaises, "DtsPaises", &dm.TblPaises},
            {&dm.DtsEstados, "DtsEstados", &dm.TblEstados},
        };
        for (const auto& [source, name, table] : sources) {
            QCOMPARE(source->objectName(), QString::fromLatin1(name));
            QCOMPARE(&source->table(), table);
        }
    }

    void tablesOpenOnTheirFirstRow() {
        TestStore store;
        store.add(7, QStringLiteral("Sete"));
        store.add(3, QStringLiteral("Três"));
        TFrmDm dm(store.dir());
        QCOMPARE(dm.TblClubes.fieldText(QStringLiteral("NomeClube")), QStringLiteral("Três"));
        QCOMPARE(dm.TblAnos.fieldText(QStringLiteral("Ano")), QStringLiteral("1850"));
        QCOMPARE(dm.TblPaises.fieldText(QStringLiteral("NomePais")), QStringLiteral("Brasil"));
        QCOMPARE(dm.TblEstados.fieldText(QStringLiteral("UF")), QStringLiteral("SP"));
        QCOMPARE(dm.TblFederacao.fieldText(QStringLiteral("NomeFederacao")),
                 QStringLiteral("FIFA"));
        QCOMPARE(dm.TblClubes.rowCount(), 2);
        QSignalSpy spy(&dm.DtsClubes, &DataSource::rowChanged);
        dm.TblClubes.next();
        QCOMPARE(spy.count(), 1);
    }

    void nextClubCode_data() {
        QTest::addColumn<QList<int>>("codes");
        QTest::addColumn<int>("removed"); // 0: none
        QTest::addColumn<int>("expected");
        QTest::newRow("empty") << QList<int>{} << 0 << 1;
        QTest::newRow("1, 2, 3") << QList<int>{1, 2, 3} << 0 << 4;
        QTest::newRow("1, 2, 3 less 3") << QList<int>{1, 2, 3} << 3 << 3;
        QTest::newRow("1, 2, 3 less 2") << QList<int>{1, 2, 3} << 2 << 4;
        QTest::newRow("only row removed") << QList<int>{1} << 1 << 1;
        QTest::newRow("gap kept") << QList<int>{1, 40} << 0 << 41;
    }
    void nextClubCode() {
        QFETCH(QList<int>, codes);
        QFETCH(int, removed);
        QFETCH(int, expected);
        TestStore store;
        for (int code : codes)
            store.add(code, QStringLiteral("Clube %1").arg(code));
        TFrmDm dm(store.dir());
        if (removed) {
            // Removed through the cursor, as the editor does.
            for (dm.TblClubes.first();
                 dm.TblClubes.fieldText(QStringLiteral("Codigo")) != QString::number(removed);)
                dm.TblClubes.next();
            dm.TblClubes.remove();
        }
        QCOMPARE(dm.nextClubCode(), expected);
        if (!codes.isEmpty() && codes != QList<int>{removed})
            QCOMPARE(dm.QueryUltimoNum.lines(),
                     (QStringList{"select max(codigo) as ultimo", "from clubes.db"}));
    }

    void codeFollowsRowsPostedMeanwhile() {
        TestStore store;
        TFrmDm dm(store.dir());
        for (int expected = 1; expected <= 3; ++expected) {
            dm.TblClubes.append();
            const int code = dm.nextClubCode();
            QCOMPARE(code, expected);
            dm.TblClubes.setFieldText(QStringLiteral("Codigo"), QString::number(code));
            dm.TblClubes.setFieldText(QStringLiteral("NomeClube"), QStringLiteral("C%1").arg(code));
            dm.TblClubes.post();
        }
        store.add(10, QStringLiteral("Outro"));
        QCOMPARE(dm.nextClubCode(), 11);
    }

    void lastCodeTakenNumbersNoClub() {
        TestStore store;
        store.add(std::numeric_limits<qint32>::max(), QStringLiteral("Último"));
        TFrmDm dm(store.dir());
        QVERIFY_THROWS_EXCEPTION(StoreError, dm.nextClubCode());
    }

    void failureLeavesNoConnectionBehind() {
        TestStore store;
        store.exec(QStringLiteral("drop table Anos"));
        store.close();
        const int before = QSqlDatabase::connectionNames().size();
        QVERIFY_THROWS_EXCEPTION(StoreError, TFrmDm(store.dir()));
        QCOMPARE(QSqlDatabase::connectionNames().size(), before);
    }
};

QTEST_GUILESS_MAIN(TestModule)
#include "test_module.moc"
