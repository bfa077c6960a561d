// Local SQL to SQLite, and the letter-case rules of "=", "like", upper() and fold().
#include "store/Dialect.h"
#include "store/Query.h"
#include "store/StoreError.h"
#include "tests/support/Rows.h"
#include "tests/support/store/TestStore.h"

#include <QtTest>

using namespace velmora;
using velmora::test::row;
using velmora::test::TestStore;

class TestDialect final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        store_.add(1, QStringLiteral("Flamengo"), QStringLiteral("Brasil"), QStringLiteral("RJ"));
        store_.add(2, QStringLiteral("São Bento"));
        store_.add(3, QStringLiteral("Olé"), QStringLiteral("Argentina"));
        store_.add(4, QStringLiteral("D'Ávila"));
        store_.exec(QStringLiteral("update Clubes set NomeCompletoClube = null where Codigo = 4"));
        db_ = std::make_unique<Database>(store_.dir());
    }
    void cleanupTestCase() { db_.reset(); }

    void translate_data() {
        QTest::addColumn<QString>("local");
        QTest::addColumn<QString>("sqlite");
        const QList<std::pair<const char*, std::pair<const char*, const char*>>> rows = {
            {"lower-case file", {"select * from clubes.db", "select * from Clubes"}},
            {"upper-case file", {"select * from UF.DB", "select * from UF"}},
            {"mixed-case file",
             {"from Federacao.db, anos.DB, CIDADES.db", "from Federacao, Anos, Cidades"}},
            {"file with alias",
             {"from clubes.db as c, paises.db as p, uf.db as u where c.UFClube = u.uf",
              "from Clubes as c, Paises as p, UF as u where c.UFClube = u.uf"}},
            {"double-quoted constant",
             {"where paisclube = \"Brasil\"", "where paisclube = 'Brasil'"}},
            {"constant in a list", {"not in (\"Brasil\")", "not in ('Brasil')"}},
            {"single quote inside a constant",
             {"where NomeClube = \"D'Ávila\"", "where NomeClube = 'D''Ávila'"}},
            {"doubled double quote inside a constant",
             {"where NomeClube = \"o \"\"Tricolor\"\"\"", "where NomeClube = 'o \"Tricolor\"'"}},
            {"file name inside a constant",
             {"where NomeClube = \"clubes.db\" and x = 'uf.db'",
              "where NomeClube = 'clubes.db' and x = 'uf.db'"}},
            {"accented field, lower case", {"where país = :NOMEPAIS", "where País = :NOMEPAIS"}},
            {"accented field, upper case", {"where c.PAÍS = :X", "where c.País = :X"}},
            {"accented word that is no field", {"select 1 as área", "select 1 as área"}},
            {"parameters kept",
             {"where UF = :ESTADO and x = :SIGLAUF", "where UF = :ESTADO and x = :SIGLAUF"}},
            {"line breaks kept",
             {"select cidade\nfrom cidades.db\norder by cidade",
              "select cidade\nfrom Cidades\norder by cidade"}},
            {"word ending in db",
             {"select dbx.db2 from anos.db dbx", "select dbx.db2 from Anos dbx"}},
        };
        for (const auto& [tag, pair] : rows)
            QTest::newRow(tag) << QString::fromUtf8(pair.first) << QString::fromUtf8(pair.second);
    }
    void translate() {
        QFETCH(QString, local);
        QFETCH(QString, sqlite);
        QCOMPARE(Dialect::translate(local), sqlite);
        QCOMPARE(Dialect::translate(local), sqlite); // cached, same answer
    }

    void positionalParameters() {
        const auto p =
            Dialect::prepare(QStringLiteral("where a = :A and b = \":B\" and c = :b2 or d = :A"));
        QCOMPARE(p.sql, QStringLiteral("where a = ? and b = ':B' and c = ? or d = ?"));
        QCOMPARE(p.parameters, (QStringList{"A", "b2", "A"}));
    }

    void refusals_data() {
        QTest::addColumn<QString>("local");
        QTest::addColumn<QString>("message");
        row("unknown table file", "select * from times.db", "times.db");
        row("unclosed constant", "where x = \"Brasil", "aspas");
    }
    void refusals() {
        QFETCH(QString, local);
        QFETCH(QString, message);
        try {
            Dialect::translate(local);
            QFAIL("translated");
        } catch (const StoreError& e) {
            QVERIFY2(e.text().contains(message), qPrintable(e.text()));
        }
    }

    // "=" and "like" count letter case; upper() folds accented letters on both sides,
    // fold() also their accents.
    void matching_data() {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("param");
        QTest::addColumn<QStringList>("expected");
        const QStringList byName = {"select NomeClube from clubes.db", "where NomeClube = :X"};
        const QStringList byLike = {"select NomeClube from clubes.db", "where NomeClube like :X"};
        const QStringList byUpper = {"select NomeClube from clubes.db",
                                     "where upper(NomeClube) like upper(:X)"};
        QTest::newRow("= exact") << byName << "Flamengo" << QStringList{"Flamengo"};
        QTest::newRow("= other case") << byName << "flamengo" << QStringList{};
        QTest::newRow("= accented other case") << byName << "são bento" << QStringList{};
        QTest::newRow("like exact") << byLike << "Fla%" << QStringList{"Flamengo"};
        QTest::newRow("like other case") << byLike << "fla%" << QStringList{};
        QTest::newRow("like other case inside") << byLike << "%MENGO" << QStringList{};
        QTest::newRow("upper ascii") << byUpper << "%mEnGo%" << QStringList{"Flamengo"};
        QTest::newRow("upper stored accent") << byUpper << "SÃO%" << QStringList{"São Bento"};
        QTest::newRow("upper param accent") << byUpper << "%são b%" << QStringList{"São Bento"};
        QTest::newRow("upper final accent") << byUpper << "%olé" << QStringList{"Olé"};
        QTest::newRow("upper apostrophe") << byUpper << "d'á%" << QStringList{"D'Ávila"};
        QTest::newRow("upper no match") << byUpper << "%sao%" << QStringList{};
        // fold() drops accents as well: typed with or without them, the same rows.
        const QStringList byFold = {"select NomeClube from clubes.db",
                                    "where fold(NomeClube) like fold(:X)"};
        QTest::newRow("fold ascii") << byFold << "%mEnGo%" << QStringList{"Flamengo"};
        QTest::newRow("fold stored accent") << byFold << "SÃO%" << QStringList{"São Bento"};
        QTest::newRow("fold param accent") << byFold << "%são b%" << QStringList{"São Bento"};
        QTest::newRow("fold without accent") << byFold << "%sao%" << QStringList{"São Bento"};
        QTest::newRow("fold other accent") << byFold << "%SÂO%" << QStringList{"São Bento"};
        QTest::newRow("fold final accent") << byFold << "%ole" << QStringList{"Olé"};
        QTest::newRow("fold apostrophe") << byFold << "d'a%" << QStringList{"D'Ávila"};
        QTest::newRow("fold no match") << byFold << "%sal%" << QStringList{};
    }
    void matching() {
        QFETCH(QStringList, lines);
        QFETCH(QString, param);
        QFETCH(QStringList, expected);
        Query q(*db_, QStringLiteral("Q"));
        for (const QString& line : lines)
            q.add(line);
        q.bindText(QStringLiteral("X"), param);
        q.open();
        QStringList names;
        for (; !q.eof(); q.next())
            names << q.field(0);
        QCOMPARE(names, expected);
    }

    // Whatever upper() found on both sides, fold() finds too.
    void foldFindsWhatUpperFound() {
        const auto names = [this](const char* function, const QString& pattern) {
            Query q(*db_, QStringLiteral("Q"));
            q.add(QStringLiteral("select NomeClube from clubes.db"));
            q.add(QStringLiteral("where %1(NomeClube) like %1(:X)").arg(QLatin1String(function)));
            q.bindText(QStringLiteral("X"), pattern);
            q.open();
            QStringList found;
            for (; !q.eof(); q.next())
                found << q.field(0);
            return found;
        };
        for (const char* typed : {"%", "%a%", "%ÃO%", "s_o%", "%é", "D'%", "%' %", "%O B%"}) {
            const QString pattern = QString::fromUtf8(typed);
            const QStringList byFold = names("fold", pattern);
            for (const QString& name : names("upper", pattern))
                QVERIFY2(byFold.contains(name), qPrintable(pattern + QLatin1String(": ") + name));
        }
    }

    void upperOfValues_data() {
        QTest::addColumn<QString>("expression");
        QTest::addColumn<QString>("expected");
        row("accents", "upper(\"são paulo, ação, über, ñ\")", "SÃO PAULO, AÇÃO, ÜBER, Ñ");
        row("digits and signs", "upper(\"fpf-sp 1910\")", "FPF-SP 1910");
        row("null stays null", "coalesce(upper(NomeCompletoClube), \"nulo\")", "nulo");
        row("integer", "upper(AnoFundacao)", "1910");
        row("fold accents", "fold(\"são paulo, ação, Über, ñ, Ídolo, Łódź\")",
            "SAO PAULO, ACAO, UBER, N, IDOLO, ŁODZ");
        row("fold decomposed accents", QStringLiteral("fold(\"Sa\u0303o Bento\")"), "SAO BENTO");
        row("fold other scripts kept", "fold(\"서울 Αθήνα\")", "서울 ΑΘΗΝΑ");
        row("fold null stays null", "coalesce(fold(NomeCompletoClube), \"nulo\")", "nulo");
    }
    void upperOfValues() {
        QFETCH(QString, expression);
        QFETCH(QString, expected);
        Query q(*db_, QStringLiteral("Q"));
        q.run({"select " + expression, "from clubes.db", "where codigo = 4"});
        QCOMPARE(q.field(0), expected);
    }

private:
    TestStore store_;
    std::unique_ptr<Database> db_;
};

QTEST_GUILESS_MAIN(TestDialect)
#include "test_dialect.moc"
