// Query objects as the windows use them: lines, bindings, open, walk, empty results.
#include "store/Listing.h"
#include "store/Query.h"
#include "store/Search.h"
#include "store/Statements.h"
#include "store/StoreError.h"
#include "store/Table.h"
#include "tests/support/store/TestStore.h"

#include <QtTest>

using namespace velmora;
using velmora::test::TestStore;

class TestQuery final : public QObject {
    Q_OBJECT

private slots:
    void init() {
        store_ = std::make_unique<TestStore>();
        for (int code = 1; code <= 5; ++code)
            store_->add(code, QStringLiteral("Clube %1").arg(code));
        store_->exec(QStringLiteral("update Clubes set AnoFundacao = null where Codigo = 5"));
        db_ = std::make_unique<Database>(store_->dir());
        q_ = std::make_unique<Query>(*db_, QStringLiteral("QueryConsulta"));
    }
    void cleanup() {
        q_.reset();
        db_.reset();
        store_.reset();
    }

    void linesJoinAndClear() {
        QCOMPARE(q_->objectName(), QStringLiteral("QueryConsulta"));
        q_->add(QStringLiteral("select NomeClube"));
        q_->add(QStringLiteral("from clubes.db"));
        QCOMPARE(q_->lines(), (QStringList{"select NomeClube", "from clubes.db"}));
        QCOMPARE(q_->statement(), QStringLiteral("select NomeClube\nfrom clubes.db"));
        q_->open();
        q_->close();
        QVERIFY(!q_->isOpen());
        QCOMPARE(q_->lines().size(), 2); // close keeps the lines
        q_->clear();
        QVERIFY(q_->lines().isEmpty());
    }

    void binding_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("asInt");
        QTest::addColumn<QString>("expected");
        QTest::newRow("text without colon") << "NOME" << false << "3";
        QTest::newRow("text with colon") << ":NOME" << false << "3";
        QTest::newRow("other letter case") << "nome" << false << "3";
        QTest::newRow("integer") << ":COD" << true << "Clube 2";
    }
    void binding() {
        QFETCH(QString, name);
        QFETCH(bool, asInt);
        QFETCH(QString, expected);
        if (asInt) {
            q_->run({"select NomeClube from clubes.db"}); // leaves lines to be replaced
            q_->clear();
            q_->add(QStringLiteral("select NomeClube from clubes.db where Codigo = :COD"));
            q_->bindInt(name, 1);
            q_->bindInt(name, 2); // binding again replaces
        } else {
            q_->add(QStringLiteral("select Codigo from clubes.db where NomeClube = :NOME"));
            q_->bindText(name, QStringLiteral("Clube 3"));
        }
        q_->open();
        QCOMPARE(q_->field(0), expected);
    }

    // The one call replaces whatever the query held: lines, bindings and its open result.
    void runReplacesLinesBindingsAndResult_data() {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("expected");
        QTest::newRow("text") << QStringList{"select Codigo", "from clubes.db",
                                             "where NomeClube = :NOME"}
                              << ":NOME" << QVariant(QStringLiteral("Clube 4")) << "4";
        QTest::newRow("whole number")
            << QStringList{"select NomeClube from clubes.db", "where Codigo = :COD"} << "COD"
            << QVariant(3) << "Clube 3";
        QTest::newRow("empty text is not null")
            << QStringList{"select count(*) from clubes.db", "where :VAZIO = ''"} << "VAZIO"
            << QVariant(QString()) << "5";
    }
    void runReplacesLinesBindingsAndResult() {
        QFETCH(QStringList, lines);
        QFETCH(QString, name);
        QFETCH(QVariant, value);
        QFETCH(QString, expected);
        q_->add(QStringLiteral("select * from clubes.db where Codigo = :OUTRO"));
        q_->bindInt(QStringLiteral("OUTRO"), 1);
        q_->open();
        const Query::Param param = value.typeId() == QMetaType::Int
                                       ? Query::Param(name, value.toInt())
                                       : Query::Param(name, value.toString());
        q_->run(lines, {param});
        QCOMPARE(q_->lines(), lines);
        QVERIFY(q_->isOpen());
        QCOMPARE(q_->field(0), expected);
        // The old binding went with the old lines.
        QVERIFY_THROWS_EXCEPTION(StoreError,
                                 q_->run({"select * from clubes.db where Codigo = :OUTRO"}));
    }

    // Each named position of a listing reads the column of that name.
    void listingColumnsStandWhereNamed_data() {
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("column");
        const QList<QPair<int, const char*>> named = {
            {listing::NomeClube, "NomeClube"},
            {listing::NomeCompletoClube, "NomeCompletoClube"},
            {listing::AnoFundacao, "AnoFundacao"},
            {listing::PaisClube, "PaisClube"},
            {listing::UFClube, "UFClube"},
            {listing::CidadeClube, "CidadeClube"},
            {listing::EscudoClube, "EscudoClube"},
            {listing::BandeiraPais, "BandeiraPais"},
            {listing::BandeiraUF, "BandeiraUF"},
            {listing::IdadeClube, "IdadeClube"},
            {listing::Federacao, "Federacao"},
            {listing::LogoFederacao, "LogoFederacao"},
            {listing::CodPais, "codpais"},
            {listing::Extra, "Codigo"},
        };
        for (const auto& [position, column] : named)
            QTest::newRow(column) << position << QString::fromLatin1(column);
    }
    void listingColumnsStandWhereNamed() {
        QFETCH(int, position);
        QFETCH(QString, column);
        q_->run(listing::statement({QStringLiteral("c.Codigo")},
                                   {QStringLiteral("from clubes.db as c, paises.db as p"),
                                    QStringLiteral("where c.PaisClube = p.NomePais"),
                                    QStringLiteral("and c.Codigo = 2")}));
        QCOMPARE(q_->columnCount(), listing::Extra + 1);
        const QString stored = column == QLatin1String("codpais")
                                   ? store_->countryCode(q_->field(listing::PaisClube))
                                   : store_->value(QStringLiteral("select %1 from Clubes where "
                                                                  "Codigo = 2")
                                                       .arg(column));
        QVERIFY(!stored.isEmpty());
        QCOMPARE(q_->field(position), stored);
    }

    void unboundParameterIsRefused() {
        q_->add(QStringLiteral("select * from clubes.db where NomeClube = :NOME"));
        QVERIFY_THROWS_EXCEPTION(StoreError, q_->open());
        q_->bindText(QStringLiteral("NOME"), QStringLiteral("Clube 1"));
        q_->clear(); // clear drops the bindings too
        q_->add(QStringLiteral("select * from clubes.db where NomeClube = :NOME"));
        QVERIFY_THROWS_EXCEPTION(StoreError, q_->open());
    }

    void executeOfSelectHasNoEffect() {
        q_->add(QStringLiteral("select * from clubes.db"));
        q_->execute();
        QVERIFY(!q_->isOpen());
        QCOMPARE(q_->field(0), QString());
        QCOMPARE(store_->count(QStringLiteral("Clubes.db")), 5);
        q_->open();
        QCOMPARE(q_->field(1), QStringLiteral("Clube 1"));
    }

    void executeRunsOtherStatements() {
        q_->add(QStringLiteral("delete from clubes.db where Codigo = :C"));
        q_->bindInt(QStringLiteral("C"), 4);
        q_->execute();
        QCOMPARE(store_->count(QStringLiteral("Clubes")), 4);
        // The one call runs a statement that is not a select exactly once.
        q_->run({"insert into clubes.db (Codigo, NomeClube)", "select max(Codigo) + 1, :NOME",
                 "from clubes.db"},
                {{QStringLiteral("NOME"), QStringLiteral("Novo")}});
        QCOMPARE(store_->count(QStringLiteral("Clubes")), 5);
        QVERIFY(!q_->isOpen());
    }

    void failureNamesEngineTextAndStatement() {
        q_->add(QStringLiteral("select NomeTime"));
        q_->add(QStringLiteral("from clubes.db"));
        try {
            q_->open();
            QFAIL("opened");
        } catch (const StoreError& e) {
            QVERIFY2(e.text().contains(QStringLiteral("NomeTime")), qPrintable(e.text()));
            QVERIFY2(e.text().contains(QStringLiteral("select NomeTime\nfrom clubes.db")),
                     qPrintable(e.text()));
        }
        QVERIFY(!q_->isOpen());
    }

    // A store statement that fails through its shortcut says so and shows what ran: the
    // shortcut's lines, not the statement as written (which runs fine here).
    void failureNamesTheStoreStatementThatRan() {
        const QString index = Search::wordsForColumn(QStringLiteral("NomeCompletoClube"))->name;
        store_->exec(QStringLiteral("drop table %1").arg(index));
        const Statement& locate = Statements::locateClub();
        const Query::Params params = {{locate.parameter(), QStringLiteral("%clube%")}};
        try {
            q_->run(locate, params);
            QFAIL("opened");
        } catch (const StoreError& e) {
            QVERIFY2(e.text().contains(locate.name() + QStringLiteral(" (pelo atalho)")),
                     qPrintable(e.text()));
            QVERIFY2(e.text().contains(QStringLiteral("from ") + index), qPrintable(e.text()));
        }
        db_->setFastPaths(false);
        q_->run(locate, params);
        QCOMPARE(q_->field(1), QStringLiteral("Clube 1"));
    }

    void openStandsOnFirstRowAndWalks() {
        q_->run(
            {"select Codigo, NomeClube, AnoFundacao", "from clubes.db", "order by Codigo desc"});
        QVERIFY(q_->isOpen());
        QVERIFY(!q_->eof());
        QVERIFY(!q_->isEmpty());
        QCOMPARE(q_->columnCount(), 3);
        QStringList seen;
        for (; !q_->eof(); q_->next())
            seen << q_->field(0) + "|" + q_->field(1) + "|" + q_->field(2);
        QCOMPARE(seen, (QStringList{"5|Clube 5|", "4|Clube 4|1910", "3|Clube 3|1910",
                                    "2|Clube 2|1910", "1|Clube 1|1910"}));
        // Past the end the last row stays current.
        QVERIFY(q_->eof());
        QCOMPARE(q_->field(0), QStringLiteral("1"));
        q_->next();
        QCOMPARE(q_->field(1), QStringLiteral("Clube 1"));
    }

    void emptyResultReadsEmptyText() {
        q_->run({"select NomeClube, Codigo", "from clubes.db", "where Codigo = 99"});
        QVERIFY(q_->isOpen());
        QVERIFY(q_->isEmpty());
        QVERIFY(q_->eof());
        QCOMPARE(q_->rowCount(), 0);
        QCOMPARE(q_->field(0), QString());
        QCOMPARE(q_->field(1), QString());
        QCOMPARE(q_->field(7), QString());
        QCOMPARE(q_->fieldByName(QStringLiteral("codigo")), QString());
    }

    void rowCountKeepsPosition() {
        q_->run({"select NomeClube from clubes.db", "where Codigo > 1", "order by Codigo"});
        q_->next();
        QCOMPARE(q_->rowCount(), 4);
        QCOMPARE(q_->field(0), QStringLiteral("Clube 3"));
        q_->next();
        QCOMPARE(q_->field(0), QStringLiteral("Clube 4"));
        QCOMPARE(q_->rowCount(), 4);
    }

    void fieldByName() {
        q_->run({"select max(codigo) as ultimo", "from clubes.db"});
        QCOMPARE(q_->fieldByName(QStringLiteral("ultimo")), QStringLiteral("5"));
        QCOMPARE(q_->fieldByName(QStringLiteral("ULTIMO")), QStringLiteral("5"));
        QVERIFY_THROWS_EXCEPTION(StoreError, q_->fieldByName(QStringLiteral("primeiro")));
    }

    void closeReleasesResult() {
        q_->run({"select NomeClube from clubes.db"});
        q_->close();
        QVERIFY(!q_->isOpen());
        QVERIFY(q_->eof());
        QCOMPARE(q_->field(0), QString());
    }

    // A listing left open (the gallery pages through it) must not block writes.
    void openListingDoesNotBlockWrites() {
        q_->run({"select NomeClube from clubes.db", "order by NomeClube"});
        Table table(*db_, Schema::table(QStringLiteral("Clubes")), QStringLiteral("TblClubes"));
        table.first();
        table.edit();
        table.setFieldText(QStringLiteral("Estadio"), QStringLiteral("Arena"));
        table.post();
        store_->add(6, QStringLiteral("Clube 6")); // another connection
        QCOMPARE(store_->value(QStringLiteral("select Estadio from Clubes where Codigo = 1")),
                 QStringLiteral("Arena"));
        q_->next();
        QCOMPARE(q_->field(0), QStringLiteral("Clube 2"));
    }

    // Longer than the rows read ahead: every row comes once, in order.
    void longResultWalksEveryRow() {
        addClubs(6, 300);
        q_->run({"select Codigo from clubes.db", "order by Codigo"});
        QCOMPARE(q_->rowCount(), 300);
        int expected = 1;
        for (; !q_->eof(); q_->next()) {
            QCOMPARE(q_->field(0), QString::number(expected++));
            if (expected == 150)
                QCOMPARE(q_->rowCount(), 300);
        }
        QCOMPARE(expected, 301);
        QCOMPARE(q_->field(0), QStringLiteral("300"));
    }

    // The program's own posts go through while a long listing is still being read.
    void longListingLeftOpenAllowsOwnPosts() {
        addClubs(6, 300);
        q_->run({"select NomeClube from clubes.db", "order by Codigo"});
        Table table(*db_, Schema::table(QStringLiteral("Clubes")), QStringLiteral("TblClubes"));
        table.first();
        table.append();
        table.setFieldText(QStringLiteral("Codigo"), QStringLiteral("1000"));
        table.setFieldText(QStringLiteral("NomeClube"), QStringLiteral("Novo"));
        table.post();
        Query count(*db_, QStringLiteral("QueryTodosClubes"));
        count.run({"select count(*) as qtde", "from clubes.db"});
        QCOMPARE(count.field(0), QStringLiteral("301"));
        q_->next();
        QCOMPARE(q_->field(0), QStringLiteral("Clube 2"));
    }

    // A short result is read whole at once, so rows stored meanwhile by anyone are
    // seen by the next statement.
    void shortResultDoesNotHoldAnOldView() {
        q_->run({"select NomeClube from clubes.db", "order by Codigo"});
        store_->add(6, QStringLiteral("Clube 6"));
        Query count(*db_, QStringLiteral("QueryTodosClubes"));
        count.run({"select count(*) as qtde", "from clubes.db"});
        QCOMPARE(count.field(0), QStringLiteral("6"));
        QCOMPARE(q_->field(0), QStringLiteral("Clube 1"));
    }

private:
    void addClubs(int from, int to) {
        Transaction transaction(store_->database());
        for (int code = from; code <= to; ++code)
            store_->insert(store_->clubSharingBadge(code, QStringLiteral("Clube %1").arg(code),
                                                    QStringLiteral("Brasil"), QStringLiteral("SP"),
                                                    QStringLiteral("/x.jpg")));
        transaction.commit();
    }

    std::unique_ptr<TestStore> store_;
    std::unique_ptr<Database> db_;
    std::unique_ptr<Query> q_;
};

QTEST_GUILESS_MAIN(TestQuery)
#include "test_query.moc"
