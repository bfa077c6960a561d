// The engine's shortcuts against the statements as written: random catalogues, random
// writes through the club table and the city table as the editor and the city registry
// make them, random fragments present and absent, with and without accents, in any
// letter case. Every statement the windows issue must give the same rows, in the same
// order, both ways.
#include "store/Counts.h"
#include "store/Module.h"
#include "store/Query.h"
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
struct Statement {
    const char* tag;
    QStringList lines;
    QString parameter;
    Param kind;
};

QList<Statement> statements() {
    using test::listing;
    const QStringList count = {"select count(*) as qtde", "from clubes.db"};
    return {
        {"counter selecoes", count + QStringList{"where identificador = 1"}, {}, Param::None},
        {"counter clubes",
         count + QStringList{"where identificador = 0", "and extinto = 0"},
         {},
         Param::None},
        {"counter brasil",
         count + QStringList{"where paisclube = \"Brasil\"", "and identificador = 0"},
         {},
         Param::None},
        {"counter outros",
         count + QStringList{"where paisclube not in (\"Brasil\")", "and identificador = 0"},
         {},
         Param::None},
        {"counter extintos", count + QStringList{"where extinto = 1"}, {}, Param::None},
        {"count estado",
         count + QStringList{"where paisclube = \"Brasil\"", "and UFClube = fold(:ESTADO)",
                             "and identificador = 0"},
         "ESTADO", Param::State},
        {"count pais",
         count + QStringList{"where fold(PaisClube) like fold(:PAIS)", "and identificador = 0"},
         "PAIS", Param::CountryPattern},
        {"count ano", count + QStringList{"where AnoFundacao = :ANOFUND", "and Identificador = 0"},
         "ANOFUND", Param::Year},
        {"count federacao",
         count + QStringList{"where Federacao = :FEDERSEL", "and Identificador = 0"}, "FEDERSEL",
         Param::Federation},
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
        {"listing pais",
         listing({"p.codpais", "from clubes.db as c, paises.db as p",
                  "where c.PaisClube = p.NomePais", "and fold(c.PaisClube) like fold(:PAIS)",
                  "and c.Identificador = 0", "order by c.NomeClubeOrdem, c.NomeClube"}),
         "PAIS", Param::CountryPattern},
        {"listing todos", test::allClubsListing(), {}, Param::None},
        {"listing nome",
         listing({"p.codpais", "from clubes.db as c, paises.db as p",
                  "where c.PaisClube = p.NomePais", "and fold(c.NomeClube) like fold(:CLUBE)",
                  "order by c.NomeClubeOrdem, c.NomeClube"}),
         "CLUBE", Param::NamePattern},
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
        {"locate",
         {"select *", "from clubes.db", "where fold(NomeCompletoClube) like fold(:NOMETIME)"},
         "NOMETIME",
         Param::FullNamePattern},
        {"chooser names",
         {"select NomeClube, PaisClube, UFClube from Clubes.db", "where Identificador = 0",
          "order by NomeClubeOrdem, NomeClube"},
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

class RandomCatalogue final {
public:
    explicit RandomCatalogue(quint32 seed) : random_(seed) {
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

    QString name() {
        QString n;
        const int parts = int(random_.bounded(2, 5));
        for (int i = 0; i < parts; ++i)
            n += u(syllables[random_.bounded(int(std::size(syllables)))]);
        n[0] = n[0].toUpper();
        if (random_.bounded(4) == 0)
            n = n.toUpper();
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

    // "%" + a fragment of 1 to 5 letters + "%": from `source` or made up, accents kept
    // or dropped, letter case as typed or upper-cased as the galleries do.
    QString pattern(const QString& source) {
        QString fragment;
        if (source.isEmpty() || random_.bounded(4) == 0) {
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
    TestStore store_;
    std::unique_ptr<TFrmDm> dm_;
    std::unique_ptr<Database> plain_;
    int serial_ = 1;
};

QList<QStringList> run(Database& db, const Statement& s, const QVariant& value, int* rowCount) {
    Query query(db, QStringLiteral("Query"));
    for (const QString& line : s.lines)
        query.add(line);
    if (value.typeId() == QMetaType::Int)
        query.bindInt(s.parameter, value.toInt());
    else if (!s.parameter.isEmpty())
        query.bindText(s.parameter, value.toString());
    query.execute();
    query.open();
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
        const QList<Statement> list = statements();
        for (int round = 0; round < 8; ++round) {
            for (int w = 0; w < 6; ++w)
                catalogue.write();
            for (const Statement& s : list) {
                for (int draw = 0; draw < 3; ++draw) {
                    const QVariant value = catalogue.draw(s.kind);
                    int fastCount = 0, plainCount = 0;
                    const auto fast = run(catalogue.dm().database(), s, value, &fastCount);
                    const auto plain = run(catalogue.plain(), s, value, &plainCount);
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
