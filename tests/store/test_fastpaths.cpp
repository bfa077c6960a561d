// The engine's shortcuts against the statements as written: random catalogues, random
// writes through the club table and the city table as the editor and the city registry
// make them, random fragments present and absent, with and without accents, in any
// letter case. Every statement the windows issue must give the same rows, in the same
// order, both ways.
#include "store/Counts.h"
#include "store/Module.h"
#include "store/Query.h"
#include "store/Search.h"
#include "store/Statements.h"
#include "tests/support/store/Statements.h"
#include "tests/support/store/TestStore.h"

#include <QRandomGenerator>
#include <QSqlError>
#include <QSqlQuery>
#include <QtTest>

using namespace velmora;
using velmora::test::TestStore;

namespace {

QString u(const char* s) {
    return QString::fromUtf8(s);
}

// Countries with and without accents; Atlântida has no row in Paises.DB.
const char* const countries[] = {"Brasil",   "Argentina", "Itália",    "Alemanha",
                                 "Uruguai",  "Áustria",   "Índia",     "São Tomé",
                                 "Brasilia", "Atlântida", "Inglaterra"};
const char* const extraCountries[] = {"Áustria", "Índia", "São Tomé", "Brasilia"};
const char* const states[] = {"SP", "RJ", "MG", "RS"};
const char* const federations[] = {"FIFA", "CONMEBOL", "UEFA", "CBF", "FPF-SP", "FERJ"};
const char* const syllables[] = {"ba", "ção", "ma", "são", "te", "lu", "rê", "pa",
                                 "Ág", "fla", "mé", "do",  "ri", "Os", "co", "ú"};

QString stripAccents(const QString& text) {
    QString plain;
    for (QChar c : text.normalized(QString::NormalizationForm_D)) {
        if (c.category() != QChar::Mark_NonSpacing)
            plain += c;
    }
    return plain;
}

// One statement the windows issue, with how its parameter is drawn.
enum class Param {
    None,
    State,
    CountryPattern,
    NamePattern,
    FullNamePattern,
    Year,
    Federation,
    Name,
    Code
};
struct Case {
    const char* tag;
    Statement statement;
    QString parameter;
    Param kind;
};

QList<Case> statements() {
    using test::listing;
    using S = Statements;
    return {
        {"counter selecoes", S::nationalTeamCount(), {}, Param::None},
        {"counter clubes", S::activeClubCount(), {}, Param::None},
        {"counter brasil", S::brazilianClubCount(), {}, Param::None},
        {"counter outros", S::foreignClubCount(), {}, Param::None},
        {"counter extintos", S::extinctCount(), {}, Param::None},
        {"count todos", S::clubCount(), {}, Param::None},
        {"count estado", S::stateClubCount(), "ESTADO", Param::State},
        {"count pais", S::countryClubCount(), "PAIS", Param::CountryPattern},
        {"count ano", S::yearClubCount(), "ANOFUND", Param::Year},
        {"count federacao", S::federationClubCount(), "FEDERSEL", Param::Federation},
        {"listing brasileiros",
         listing({"p.codpais", "from clubes.db as c, paises.db as p",
                  "where c.PaisClube = p.NomePais", "and c.PaisClube = \"Brasil\"",
                  "and c.Identificador = 0", "order by c.NomeClubeOrdem, c.NomeClube, c.UFClube"}),
         {},
         Param::None},
        {"listing estado",
         listing({"p.codpais,", "u.NomeCompleto", "from clubes.db as c, paises.db as p, uf.db as u",
                  "where c.PaisClube = \"Brasil\"", "and c.UFClube = fold(:ESTADO)",
                  "and c.PaisClube = p.NomePais", "and c.UFClube = u.uf", "and c.identificador = 0",
                  "order by c.NomeClubeOrdem, c.NomeClube"}),
         "ESTADO", Param::State},
        {"listing pais", S::clubsByCountry(), "PAIS", Param::CountryPattern},
        {"listing todos", test::allClubsListing(), {}, Param::None},
        {"listing nome", S::clubsByName(), "CLUBE", Param::NamePattern},
        {"listing extintos",
         listing({"p.codpais", "from clubes.db as c, paises.db as p",
                  "where c.PaisClube = p.NomePais", "and c.extinto = 1",
                  "order by c.NomeClubeOrdem, c.NomeClube"}),
         {},
         Param::None},
        {"listing ano",
         listing({"p.codpais", "from clubes.db as c, paises.db as p",
                  "where c.PaisClube = p.NomePais", "and c.AnoFundacao = :ANOFUND",
                  "and c.Identificador = 0", "order by c.NomeClubeOrdem, c.NomeClube"}),
         "ANOFUND", Param::Year},
        {"locate", S::locateClub(), "NOMETIME", Param::FullNamePattern},
        {"chooser names",
         QStringList{"select NomeClube, PaisClube, UFClube from Clubes.db",
                     "where Identificador = 0", "order by NomeClubeOrdem, NomeClube"},
         {},
         Param::None},
        {"card", test::cardStatement(), "NOME", Param::Name},
        {"featured", test::featuredStatement(), "CODALEATORIO", Param::Code},
    };
}

QList<QStringList> rowsOf(Query& query) {
    QList<QStringList> rows;
    for (; !query.eof(); query.next()) {
        QStringList row;
        for (int c = 0; c < query.columnCount(); ++c)
            row << query.field(c);
        rows << row;
    }
    return rows;
}

// Every club's name in the column, folded as the search tables fold it.
QStringList foldedNames(Database& db, const QString& column) {
    QStringList names;
    QSqlQuery query(db.handle());
    if (query.exec(QStringLiteral("select fold(%1) from Clubes").arg(column)))
        while (query.next())
            names << query.value(0).toString();
    return names;
}

// A kept count table read back: key (an expression of its columns) -> Qtde.
QMap<QString, int> keptCounts(Database& db, const QString& key, const QString& table) {
    QMap<QString, int> kept;
    QSqlQuery rows(db.handle());
    if (rows.exec(QStringLiteral("select %1, Qtde from %2").arg(key, table)))
        while (rows.next())
            kept[rows.value(0).toString()] = rows.value(1).toInt();
    return kept;
}

class RandomCatalogue final {
public:
    explicit RandomCatalogue(quint32 seed) : random_(seed), sharedStart_(seed % 4 == 1) {
        for (const char* name : extraCountries)
            store_.exec(QStringLiteral("insert into Paises (CodPais, NomePais, BandeiraPais) "
                                       "values ('X%1', '%2', '%3')")
                            .arg(random_.bounded(100))
                            .arg(u(name), store_.countryFlag(QStringLiteral("Brasil"))));
        const int initial = int(random_.bounded(40, 400));
        Database& db = store_.database();
        Transaction transaction(db);
        for (int i = 0; i < initial; ++i)
            insertRaw(db, i + 1);
        // A code below zero, as an imported table may bring.
        if (seed % 3 == 2)
            insertRaw(db, -int(random_.bounded(1, 1000)));
        transaction.commit();
        store_.close();
        dm_ = std::make_unique<TFrmDm>(store_.dir());
        plain_ = std::make_unique<Database>(store_.dir());
        plain_->setFastPaths(false);
        dm_->database().setSortLimit(int(random_.bounded(0, 60)));
    }

    TFrmDm& dm() { return *dm_; }
    Database& plain() { return *plain_; }
    QRandomGenerator& random() { return random_; }

    // Some catalogues start every name alike, as clubs often are named.
    QString name() {
        QString n;
        const int parts = int(random_.bounded(2, 5));
        for (int i = 0; i < parts; ++i)
            n += u(syllables[random_.bounded(int(std::size(syllables)))]);
        n[0] = n[0].toUpper();
        if (random_.bounded(4) == 0)
            n = n.toUpper();
        if (sharedStart_)
            n = u("Esporte Clube São ") + n;
        return n + QStringLiteral(" %1").arg(serial_++);
    }

    // Writes through the club table as the editor posts its rows, and through the
    // city table as the city registry appends.
    void write() {
        Table& clubs = dm_->TblClubes;
        const int what = int(random_.bounded(10));
        if (what < 5 || clubs.isEmpty()) {
            clubs.append();
            clubs.setFieldText(QStringLiteral("Codigo"), QString::number(dm_->nextClubCode()));
            fill(clubs);
            clubs.post();
        } else if (what < 8) {
            clubs.seek(pickCode());
            clubs.edit();
            fill(clubs);
            clubs.post();
        } else if (what < 9) {
            clubs.seek(pickCode());
            clubs.remove();
        } else {
            Table& cities = dm_->TblCidades;
            cities.append();
            cities.setFieldText(u("País"), pick(countries));
            cities.setFieldText(QStringLiteral("Cidade"), name().left(40));
            cities.post();
        }
    }

    // A parameter value for a statement, present or absent, accents and case varied.
    QVariant draw(Param kind) {
        switch (kind) {
        case Param::None:
            return {};
        case Param::State:
            return random_.bounded(5) == 0 ? QStringLiteral("sp") : pick(states);
        case Param::CountryPattern:
            return pattern(pick(countries));
        case Param::NamePattern:
            return pattern(existing(QStringLiteral("NomeClube")));
        case Param::FullNamePattern:
            return pattern(existing(QStringLiteral("NomeCompletoClube")));
        case Param::Year:
            return int(random_.bounded(1895, 1905));
        case Param::Federation:
            return pick(federations);
        case Param::Name:
            return existing(QStringLiteral("NomeClube"));
        case Param::Code:
            return int(random_.bounded(1, serial_ + 2));
        }
        return {};
    }

private:
    template <size_t N> QString pick(const char* const (&list)[N]) {
        return u(list[random_.bounded(int(N))]);
    }

    qint64 pickCode() {
        return plain_->value(QStringLiteral("select Codigo from Clubes order by random() limit 1"))
            .toLongLong();
    }

    QString existing(const QString& field) {
        return plain_
            ->value(QStringLiteral("select %1 from Clubes order by random() limit 1").arg(field))
            .toString();
    }

    // "%" + a fragment of 1 to 5 letters + "%": from `source` or made up, or the first
    // and last words of `source` (never together when it has three), or the end of a
    // word and the start of its neighbour in either order, or a run of neighbouring
    // words cut at both ends, or the end of a word and the start of another with no
    // space between, accents kept or dropped, letter case as typed or upper-cased as
    // the galleries do.
    QString pattern(const QString& source) {
        QString fragment;
        const QStringList words = source.split(u' ', Qt::SkipEmptyParts);
        const int how = int(random_.bounded(10));
        if (words.size() >= 2 && how < 2) {
            fragment = words.first() + u' ' + words.last();
        } else if (words.size() >= 2 && how < 4) {
            const int i = int(random_.bounded(int(words.size()) - 1));
            QString before = words[i];
            QString after = words[i + 1];
            if (random_.bounded(2) == 0)
                std::swap(before, after);
            fragment = before.right(int(random_.bounded(1, int(before.size()) + 1))) + u' ' +
                       after.left(int(random_.bounded(1, int(after.size()) + 1)));
        } else if (words.size() >= 3 && how < 5) {
            const int count =
                int(random_.bounded(2, int(std::min<qsizetype>(4, words.size())) + 1));
            QStringList run = words.mid(random_.bounded(int(words.size()) - count + 1), count);
            run.first() = run.first().right(int(random_.bounded(1, int(run.first().size()) + 1)));
            run.last() = run.last().left(int(random_.bounded(1, int(run.last().size()) + 1)));
            fragment = run.join(u' ');
        } else if (words.size() >= 2 && how < 6) {
            const QString& end = words[random_.bounded(int(words.size()))];
            const QString& start = words[random_.bounded(int(words.size()))];
            fragment = end.right(int(random_.bounded(1, int(end.size()) + 1))) +
                       start.left(int(random_.bounded(1, int(start.size()) + 1)));
        } else if (source.isEmpty() || random_.bounded(4) == 0) {
            fragment = QStringLiteral("qzxkw").left(int(random_.bounded(1, 6)));
        } else {
            const int length = int(random_.bounded(1, 6));
            const int start =
                int(random_.bounded(std::max<qsizetype>(1, source.size() - length + 1)));
            fragment = source.mid(start, length);
        }
        if (random_.bounded(2) == 0)
            fragment = stripAccents(fragment);
        if (random_.bounded(2) == 0)
            fragment = fragment.toUpper();
        return QLatin1Char('%') + fragment + QLatin1Char('%');
    }

    void fill(Table& clubs) {
        const QString pais = pick(countries);
        const bool brasil = pais == QLatin1String("Brasil");
        const auto set = [&](const char* field, const QString& text) {
            clubs.setFieldText(QString::fromLatin1(field), text);
        };
        const QString nome = name();
        set("NomeClube", nome.left(40));
        set("NomeCompletoClube", (nome + QStringLiteral(" Futebol Clube")).left(100));
        set("AnoFundacao",
            random_.bounded(8) == 0 ? QString() : QString::number(random_.bounded(1895, 1905)));
        set("PaisClube", pais);
        set("UFClube", brasil ? pick(states) : QString());
        set("BandeiraPais", store_.countryFlag(pais));
        set("BandeiraUF", brasil ? QStringLiteral("uf.jpg") : QString());
        set("Federacao", pick(federations));
        set("LogoFederacao", QStringLiteral("logo.jpg"));
        set("EscudoClube", QStringLiteral("escudo.jpg"));
        set("Identificador", QString::number(random_.bounded(2)));
        set("Extinto", random_.bounded(10) == 0 ? QString() : QString::number(random_.bounded(2)));
    }

    void insertRaw(Database& db, int code) {
        QSqlQuery insert(db.handle());
        insert.prepare(QStringLiteral("insert into Clubes (Codigo, NomeClube, NomeCompletoClube, "
                                      "AnoFundacao, PaisClube, UFClube, Federacao, Identificador, "
                                      "Extinto, EscudoClube) values (?, ?, ?, ?, ?, ?, ?, ?, ?, "
                                      "'escudo.jpg')"));
        const QString pais = pick(countries);
        const QString nome = name();
        for (const QVariant& v : QVariantList{
                 code, nome, nome + QStringLiteral(" Esporte Clube"),
                 int(random_.bounded(1895, 1905)), pais,
                 pais == QLatin1String("Brasil") ? pick(states) : QString(), pick(federations),
                 int(random_.bounded(100) < 10), int(random_.bounded(100) < 10)})
            insert.addBindValue(v);
        QVERIFY2(insert.exec(), qPrintable(insert.lastError().text()));
        serial_ = std::max(serial_, code + 1);
    }

    QRandomGenerator random_;
    bool sharedStart_;
    TestStore store_;
    std::unique_ptr<TFrmDm> dm_;
    std::unique_ptr<Database> plain_;
    int serial_ = 1;
};

Query::Params paramsOf(const QString& parameter, const QVariant& value) {
    if (parameter.isEmpty())
        return {};
    if (value.typeId() == QMetaType::Int)
        return {{parameter, qint64(value.toInt())}};
    return {{parameter, value.toString()}};
}

QList<QStringList> run(Database& db, const Statement& s, const QString& parameter,
                       const QVariant& value, int* rowCount) {
    Query query(db, QStringLiteral("Query"));
    query.run(s, paramsOf(parameter, value));
    if (rowCount)
        *rowCount = query.rowCount();
    return rowsOf(query);
}

} // namespace

class TestFastPaths final : public QObject {
    Q_OBJECT

private slots:
    void sameRowsAsWritten_data() {
        QTest::addColumn<quint32>("seed");
        for (quint32 seed = 1; seed <= 24; ++seed)
            QTest::newRow(qPrintable(QStringLiteral("seed %1").arg(seed))) << seed;
    }

    void sameRowsAsWritten() {
        QFETCH(quint32, seed);
        RandomCatalogue catalogue(seed);
        const QList<Case> list = statements();
        for (int round = 0; round < 8; ++round) {
            for (int w = 0; w < 6; ++w)
                catalogue.write();
            for (const Case& s : list) {
                for (int draw = 0; draw < 3; ++draw) {
                    const QVariant value = catalogue.draw(s.kind);
                    int fastCount = 0, plainCount = 0;
                    const auto fast =
                        run(catalogue.dm().database(), s.statement, s.parameter, value, &fastCount);
                    const auto plain =
                        run(catalogue.plain(), s.statement, s.parameter, value, &plainCount);
                    const QString where = QStringLiteral("%1 with %2 (round %3)")
                                              .arg(QLatin1String(s.tag), value.toString())
                                              .arg(round);
                    QVERIFY2(fast == plain, qPrintable(where));
                    QVERIFY2(fastCount == plainCount, qPrintable(where));
                    if (s.kind == Param::None)
                        break;
                }
            }
        }
    }

    // Where the name search changes plans. A fragment with more candidates than the
    // sort limit walks the name order from where its matches begin (first matches
    // whose names start with characters of two, three and four bytes included); one
    // with no more sorts its matches; a letter or pair no club has reads no name. A
    // club the name-ordered index leaves out (its code below zero or too large) makes
    // the walk start at the first name. Every plan gives the statement's rows.
    void namePlanSwitch_data() {
        QTest::addColumn<QString>("fragment");
        QTest::addColumn<qint64>("outsider"); // code of a club left out, 0: none
        QTest::addColumn<int>("overLimit");   // candidates above the sort limit
        QTest::addColumn<QString>("plan");    // a step the engine takes, "" none at all
        const QString fromBound =
            QStringLiteral("SEARCH c USING INDEX ClubesOrdem (NomeClubeOrdem>?)");
        const QString fromFirst = QStringLiteral("SCAN c USING INDEX ClubesOrdem");
        const QString sorted = QStringLiteral("ClubesBuscaNome");
        const QString byWords = Search::wordsForColumn(QStringLiteral("NomeClube"))->name;
        const qint64 beyond = qint64(1) << 31;
        QTest::newRow("many: from the first match") << u("espórte") << qint64(0) << 1 << fromBound;
        QTest::newRow("few: sorted") << u("espórte") << qint64(0) << 0 << byWords;
        QTest::newRow("few words, more trigrams: sorted")
            << u("ortes") << qint64(0) << 1 << byWords;
        QTest::newRow("no word holds it, its trigrams all held")
            << u("ortesp") << qint64(0) << 0 << QString();
        QTest::newRow("two-byte start") << u("mega esp") << qint64(0) << 1 << fromBound;
        QTest::newRow("three-byte start") << u("本 esp") << qint64(0) << 1 << fromBound;
        QTest::newRow("four-byte start") << u("🦁 esp") << qint64(0) << 1 << fromBound;
        QTest::newRow("code below zero: from the first name")
            << u("ESPORTE") << qint64(-7) << 1 << fromFirst;
        QTest::newRow("code too large: from the first name")
            << u("esporte") << beyond + 3 << 1 << fromFirst;
        QTest::newRow("code too large: sorted") << u("esporte") << beyond << 0 << byWords;
        QTest::newRow("pair no club has") << u("wy") << qint64(0) << 0 << QString();
        QTest::newRow("words never so together") << u("clube esp") << qint64(0) << 0 << QString();
        QTest::newRow("letter no club has") << u("k") << qint64(0) << 0 << QString();
        QTest::newRow("pair some club has") << u("ñã") << qint64(0) << 0 << fromFirst;
        QTest::newRow("four-byte letter some club has") << u("🦁") << qint64(0) << 0 << fromFirst;
    }

    void namePlanSwitch() {
        QFETCH(QString, fragment);
        QFETCH(qint64, outsider);
        QFETCH(int, overLimit);
        QFETCH(QString, plan);
        TestStore store;
        int code = 1;
        for (int i = 0; i < 40; ++i)
            store.add(code++, QStringLiteral("Amigos %1").arg(i));
        // Globe Espírito has the characters around the space of "clube esp"; Teste
        // Esporte has every trigram of "ortes", which only Zé Esportes holds.
        for (const char* name :
             {"Esporte Clube", "Ωmega Esporte", "日本 Esporte", "🦁 Esporte", "Ñandú Esporte",
              "ESPÓRTE Ñãa", "Zé Esportes", "Globe Espírito", "Teste Esporte"})
            store.add(code++, u(name));
        for (int i = 0; i < 8; ++i)
            store.add(code++, QStringLiteral("Esporte Clube %1").arg(i));
        if (outsider != 0)
            store.insert(store.clubSharingBadge(0, u("Aço Esporte"), u("Brasil"), u("SP"), {}));
        if (outsider != 0)
            store.exec(
                QStringLiteral("update Clubes set Codigo = %1 where Codigo = 0").arg(outsider));
        Database& fast = store.database();
        Database plain(store.dir());
        plain.setFastPaths(false);

        const QString pattern = QLatin1Char('%') + fragment + QLatin1Char('%');
        const QString folded =
            fast.value(QStringLiteral("select fold('%1')").arg(fragment)).toString();
        const QString query = Search::trigramQuery(folded);
        const int candidates =
            query.isEmpty()
                ? 0
                : fast.value(QStringLiteral("select count(*) from ClubesBuscaNome where "
                                            "ClubesBuscaNome match '%1'")
                                 .arg(QString(query).replace(u'\'', u("''"))))
                      .toInt();
        fast.setSortLimit(std::max(0, candidates - overLimit));

        const Statement& listing = Statements::clubsByName();
        const QString parameter = listing.parameter();
        Query chosen(fast, QStringLiteral("Query"));
        chosen.run(listing, {{parameter, pattern}});
        QVERIFY(chosen.ranShortcut());
        const QString steps = chosen.queryPlan().join(u'\n');
        if (plan.isEmpty())
            QVERIFY2(chosen.ranLines().contains(QLatin1String("and 0")),
                     qPrintable(chosen.ranLines().join(u'\n')));
        else
            QVERIFY2(steps.contains(plan), qPrintable(steps));
        QVERIFY2(plan == Search::forColumn(QStringLiteral("NomeClube"))->name ||
                     plan == Search::wordsForColumn(QStringLiteral("NomeClube"))->name ||
                     !steps.contains(QLatin1String("TEMP B-TREE FOR ORDER BY")),
                 qPrintable(steps));

        int fastCount = 0, plainCount = 0;
        const auto rows = run(fast, listing, parameter, pattern, &fastCount);
        QCOMPARE(rows, run(plain, listing, parameter, pattern, &plainCount));
        QCOMPARE(fastCount, plainCount);
        QCOMPARE(rows.isEmpty(), plan.isEmpty());
    }

    // A shortcut chosen while no club matched is chosen again after a write brings one:
    // from this connection, from another one, or by rolling back the club's deletion.
    void shortcutFollowsWrites_data() {
        QTest::addColumn<QString>("writer");
        QTest::addColumn<bool>("byName"); // the name search, else the country listing
        for (const char* writer : {"this connection", "another connection", "rollback"}) {
            for (bool byName : {true, false})
                QTest::newRow(qPrintable(QStringLiteral("%1, %2").arg(
                    QLatin1String(writer), byName ? u("name") : u("country"))))
                    << QString::fromLatin1(writer) << byName;
        }
    }

    void shortcutFollowsWrites() {
        QFETCH(QString, writer);
        QFETCH(bool, byName);
        const bool rollback = writer == QLatin1String("rollback");
        TestStore store;
        for (int code = 1; code <= 6; ++code)
            store.add(code, QStringLiteral("Amigos %1").arg(code));
        const auto insertKaiser = [](Database& db) {
            db.exec(u("insert into Clubes (Codigo, NomeClube, NomeCompletoClube, PaisClube, "
                      "Identificador, Extinto, EscudoClube) values (9, 'Kaiser', 'Kaiser FC', "
                      "'Argentina', 0, 0, 'escudo.jpg')"));
        };
        Database& fast = store.database();
        if (rollback)
            insertKaiser(fast);
        Database plain(store.dir());
        plain.setFastPaths(false);
        const Statement& s = byName ? Statements::clubsByName() : Statements::clubsByCountry();
        const QString pattern = byName ? u("%k%") : u("%argent%");
        QList<QStringList> rows;
        const auto rowsBoth = [&] {
            int fastCount = 0, plainCount = 0;
            rows = run(fast, s, s.parameter(), pattern, &fastCount);
            QCOMPARE(rows, run(plain, s, s.parameter(), pattern, &plainCount));
            QCOMPARE(fastCount, plainCount);
        };
        if (rollback) {
            Transaction transaction(fast);
            fast.exec(QStringLiteral("delete from Clubes where Codigo = 9"));
            QVERIFY(run(fast, s, s.parameter(), pattern, nullptr).isEmpty());
        } else {
            rowsBoth();
            QVERIFY(rows.isEmpty());
            if (writer == QLatin1String("this connection")) {
                insertKaiser(fast);
            } else {
                Database other(store.dir());
                insertKaiser(other);
            }
        }
        rowsBoth();
        QCOMPARE(rows.size(), 1);
        QVERIFY(rows.first().contains(u("Kaiser")));
    }

    // The letters, letter pairs and joins kept for the short names, and the joins kept
    // for the full names, are those of the names after inserts, edits and deletions:
    // one missing would hide a club from a search.
    void piecesMatchNames_data() {
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("table");
        QTest::addColumn<bool>("letters");
        QTest::newRow("short names") << u("NomeClube") << Search::piecesTable() << true;
        QTest::newRow("full names") << u("NomeCompletoClube") << Search::joinsTable() << false;
    }

    void piecesMatchNames() {
        QFETCH(QString, column);
        QFETCH(QString, table);
        QFETCH(bool, letters);
        RandomCatalogue catalogue(7);
        for (int w = 0; w < 40; ++w)
            catalogue.write();
        Database& db = catalogue.plain();
        const QStringList names = foldedNames(db, column);
        QVERIFY(!names.isEmpty()); // the names were read
        QMap<QString, int> expected;
        for (const QString& name : names) {
            QSet<QString> pieces;
            for (qsizetype i = 0; i < name.size(); ++i) {
                if (letters)
                    pieces << name.mid(i, 1);
                if (letters && i + 1 < name.size())
                    pieces << name.mid(i, 2);
                // Two characters either side of a space.
                if (name[i] == u' ' && i >= 2 && i + 2 < name.size())
                    pieces << name.mid(i - 2, 5);
            }
            for (const QString& piece : pieces)
                ++expected[piece];
        }
        QCOMPARE(keptCounts(db, QStringLiteral("Trecho"), table), expected);
    }

    // The pairs of neighbouring words kept for the short and full names are those of
    // the names after inserts, edits and deletions: one missing would hide a club from a
    // search that holds both words.
    void wordPairsMatchNames_data() {
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("table");
        QTest::newRow("short names") << u("NomeClube") << Search::namePairsTable();
        QTest::newRow("full names") << u("NomeCompletoClube") << Search::fullPairsTable();
    }

    void wordPairsMatchNames() {
        QFETCH(QString, column);
        QFETCH(QString, table);
        RandomCatalogue catalogue(5);
        for (int w = 0; w < 40; ++w)
            catalogue.write();
        Database& db = catalogue.plain();
        const QStringList names = foldedNames(db, column);
        QVERIFY(!names.isEmpty()); // the names were read
        QMap<QString, int> expected;
        for (const QString& name : names) {
            const QStringList words = name.split(u' ');
            QSet<QString> pairs;
            for (qsizetype i = 0; i + 1 < words.size(); ++i) {
                QString before;
                for (QChar c : words[i])
                    before.prepend(c);
                pairs << before + u'|' + words[i + 1];
            }
            for (const QString& pair : pairs)
                ++expected[pair];
        }
        QVERIFY(!expected.isEmpty());
        QCOMPARE(keptCounts(db, QStringLiteral("Antes || '|' || Depois"), table), expected);
    }

    // The words kept for the short and full names, their trigram index and the index of
    // clubs by word follow inserts, edits and deletions (names with apostrophes, hyphens
    // and other signs among them): a word missing from any of them would answer "none"
    // to a search some club matches, a word left behind would offer clubs without it.
    void wordsMatchNames_data() {
        QTest::addColumn<QString>("column");
        QTest::newRow("short names") << u("NomeClube");
        QTest::newRow("full names") << u("NomeCompletoClube");
    }

    void wordsMatchNames() {
        QFETCH(QString, column);
        RandomCatalogue catalogue(13);
        for (int w = 0; w < 40; ++w)
            catalogue.write();
        Database& db = catalogue.plain();
        for (const char* name : {"Sant'Ana D’Oeste", "Foot-Ball 1.º", "Olé! (RJ)  A.A. / B&C"})
            db.exec(QStringLiteral("insert into Clubes (Codigo, NomeClube, NomeCompletoClube) "
                                   "select max(Codigo) + 1, '%1', '%1 Clube' from Clubes")
                        .arg(QString(u(name)).replace(u'\'', u("''"))));
        const QStringList names = foldedNames(db, column);
        QMap<QString, int> expected;
        for (const QString& name : names) {
            const QStringList words = name.split(u' ', Qt::SkipEmptyParts);
            for (const QString& word : QSet<QString>(words.begin(), words.end()))
                ++expected[word];
        }
        QVERIFY(expected.contains(u("SANT'ANA")) && expected.contains(u("(RJ)")));
        const WordList& list = *Search::wordListFor(column);
        QCOMPARE(keptCounts(db, QStringLiteral("Palavra"), list.table), expected);

        const SearchIndex& index = *Search::wordsForColumn(column);
        const auto offered = [&](const QString& table, const QString& query) {
            QSqlQuery count(db.handle());
            count.prepare(QStringLiteral("select count(*) from %1 where %1 match ?").arg(table));
            count.addBindValue(query);
            return count.exec() && count.next() ? count.value(0).toInt() : -1;
        };
        const QStringList words = expected.keys();
        for (qsizetype i = 0; i < words.size(); i += 3) {
            const QString& word = words[i];
            const QString part = word.left(3);
            if (part.size() == 3) {
                const auto holding = std::count_if(
                    words.begin(), words.end(), [&](const QString& w) { return w.contains(part); });
                QCOMPARE(offered(list.trigrams, Search::trigramQuery(part)), int(holding));
            }
            // Every club holding the word is offered; a word of letters alone offers no other.
            const int clubs = offered(index.name, Search::wordQuery(word));
            if (std::all_of(word.begin(), word.end(), [](QChar c) { return c.isLetterOrNumber(); }))
                QCOMPARE(clubs, expected[word]);
            else
                QVERIFY2(clubs >= expected[word], qPrintable(word));
        }
    }

    // The trigram indexes hold exactly the names there are after inserts, edits and
    // deletions (a code below zero among them): a three-letter fragment is one trigram,
    // so the clubs an index offers for it are exactly the names holding it (a name left
    // behind would be offered too).
    void searchIndexesMatchNames() {
        RandomCatalogue catalogue(11);
        for (int w = 0; w < 60; ++w)
            catalogue.write();
        Database& db = catalogue.plain();
        for (const SearchIndex& index : Search::indexes()) {
            const QStringList names = [&] {
                QStringList list;
                QSqlQuery q(db.handle());
                // A name-ordered index leaves out the clubs whose code it cannot hold.
                q.exec(QStringLiteral("select fold(%1) from Clubes where not %2 or Codigo "
                                      "between 0 and %3")
                           .arg(index.column)
                           .arg(index.nameOrder)
                           .arg(Search::codeLimit - 1));
                while (q.next())
                    list << q.value(0).toString();
                return list;
            }();
            QVERIFY(!names.isEmpty());
            for (int i = 0; i < 20; ++i) {
                const QString& name = names[catalogue.random().bounded(int(names.size()))];
                const QString fragment =
                    name.mid(catalogue.random().bounded(std::max<int>(1, int(name.size()) - 2)), 3);
                const auto holding =
                    std::count_if(names.begin(), names.end(),
                                  [&](const QString& n) { return n.contains(fragment); });
                QSqlQuery offered(db.handle());
                offered.prepare(
                    QStringLiteral("select count(*) from %1 where %1 match ?").arg(index.name));
                offered.addBindValue(Search::trigramQuery(fragment));
                QVERIFY(offered.exec() && offered.next());
                QCOMPARE(offered.value(0).toLongLong(), qint64(holding));
            }
        }
    }

    // The counts the triggers keep equal the rows after edits, deletions and rows that
    // move between groups, NULLs included.
    void countsMatchRows() {
        RandomCatalogue catalogue(99);
        for (int w = 0; w < 30; ++w)
            catalogue.write();
        Database& db = catalogue.plain();
        const auto groups = [&](const CountTable& t) {
            QStringList rows;
            QSqlQuery q(db.handle());
            q.exec(QStringLiteral("select %1, count(*) from Clubes group by %1 order by %1")
                       .arg(t.columns.join(u", ")));
            while (q.next()) {
                QStringList row;
                for (int c = 0; c <= t.columns.size(); ++c)
                    row << q.value(c).toString() + u'/' + q.value(c).typeName();
                rows << row.join(u'|');
            }
            QStringList kept;
            q.exec(QStringLiteral("select %1, Qtde from %2 order by %1")
                       .arg(t.columns.join(u", "), t.name));
            while (q.next()) {
                QStringList row;
                for (int c = 0; c <= t.columns.size(); ++c)
                    row << q.value(c).toString() + u'/' + q.value(c).typeName();
                kept << row.join(u'|');
            }
            return std::make_pair(rows, kept);
        };
        for (const CountTable& t : Counts::tables()) {
            const auto [rows, kept] = groups(t);
            QCOMPARE(kept, rows);
        }
    }
};

QTEST_GUILESS_MAIN(TestFastPaths)
#include "test_fastpaths.moc"
