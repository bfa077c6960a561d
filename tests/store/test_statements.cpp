// Every statement the windows issue, run through Query on a seeded store.
#include "store/Query.h"
#include "store/Statements.h"
#include "tests/support/store/Statements.h"
#include "tests/support/store/TestStore.h"

#include <QRegularExpression>
#include <QtTest>

using namespace velmora;
using velmora::test::cardStatement;
using velmora::test::Club;
using velmora::test::featuredStatement;
using velmora::test::listing;
using velmora::test::TestStore;

namespace {

struct Seed {
    int codigo;
    const char* nome;
    const char* pais;
    const char* uf;
    int ano;
    const char* federacao;
    int identificador;
    int extinto;
};

// Atlântida has no row in Paises.DB: counted by the counters, listed by no join.
// Íbis and CRB sort apart in byte order and in the order a Brazilian reader expects.
const Seed seeds[] = {
    {1, "Corinthians Paulista", "Brasil", "SP", 1910, "FPF-SP", 0, 0},
    {2, "Palmeiras", "Brasil", "SP", 1914, "FPF-SP", 0, 0},
    {3, "Flamengo", "Brasil", "RJ", 1895, "FERJ", 0, 0},
    {4, "Fluminense", "Brasil", "RJ", 1902, "FERJ", 0, 0},
    {5, "Atlético Mineiro", "Brasil", "MG", 1908, "CBF", 0, 0},
    {6, "Boca Juniors", "Argentina", "", 1905, "CONMEBOL", 0, 0},
    {7, "Arsenal", "Inglaterra", "", 1886, "UEFA", 0, 0},
    {8, "Brasil", "Brasil", "", 1914, "FIFA", 1, 0},
    {9, "Argentina", "Argentina", "", 1893, "FIFA", 1, 0},
    {10, "Paulistano", "Brasil", "SP", 1900, "FPF-SP", 0, 1},
    {11, "Atlântida", "Atlântida", "", 1910, "FIFA", 0, 0},
    {12, "São Bento", "Brasil", "SP", 1913, "FPF-SP", 0, 0},
    {13, "Alemanha Oriental", "Alemanha", "", 1952, "FIFA", 1, 1},
    {14, "Juventus", "Itália", "", 1897, "UEFA", 0, 0},
    {15, "Íbis", "Brasil", "SP", 1938, "FPF-SP", 0, 0},
    {16, "CRB", "Brasil", "MG", 1912, "FERJ", 0, 0},
};

// Reference rows whose names a byte order misplaces (leading accent, accent inside).
const char* const extraReference[] = {
    "insert into Paises (CodPais, NomePais, BandeiraPais) values ('AUT', 'Áustria', '')",
    "insert into UF (Codigo, UF, NomeCompleto, BandeiraUF) values (5, 'PR', 'Paraná', '')",
    "insert into UF (Codigo, UF, NomeCompleto, BandeiraUF) values (6, 'PB', 'Paraíba', '')",
    "insert into UF (Codigo, UF, NomeCompleto, BandeiraUF) values (7, 'PA', 'Pará', '')",
    "insert into Cidades (Estado, Cidade, \"País\") values ('SP', 'Águas de Lindóia', 'Brasil')",
    "insert into Federacao (NomeFederacao, LogoFederacao) values ('Íbero', '')",
};

QString u(const char* s) {
    return QString::fromUtf8(s);
}

using Params = QList<QPair<QString, QVariant>>;

struct Case {
    const char* tag;
    Statement statement; // the store's own where it has one
    Params params;
    QList<int> columns;        // columns checked, by position
    QList<QStringList> rows;   // expected values of those columns, row by row
    bool ordered = true;       // false: the statement asks for no order
    int columnCount = -1;      // checked when not -1
    bool firstRowOnly = false; // rows holds the first row alone
};

QList<QStringList> names(const QStringList& list) {
    QList<QStringList> rows;
    for (const QString& n : list)
        rows << QStringList{n};
    return rows;
}

QList<QStringList> one(const QString& value) {
    return {{value}};
}

QList<QStringList> years() {
    QList<QStringList> rows;
    for (int year = 1850; year <= 2050; ++year)
        rows << QStringList{QString::number(year)};
    return rows;
}

// Placeholders in expected values, expanded on the seeded store:
// {escudo:N} badge of club N, {flag:País}, {ufflag:UF}, {logo:FED}.
QString expand(const QString& text, TestStore& store, const QHash<int, Club>& clubs) {
    static const QRegularExpression token(QStringLiteral("^\\{(\\w+):(.*)\\}$"));
    const auto m = token.match(text);
    if (!m.hasMatch())
        return text;
    const QString kind = m.captured(1), arg = m.captured(2);
    if (kind == QLatin1String("escudo"))
        return clubs.value(arg.toInt()).escudoClube;
    if (kind == QLatin1String("flag"))
        return store.countryFlag(arg);
    if (kind == QLatin1String("ufflag"))
        return store.stateFlag(arg);
    if (kind == QLatin1String("logo"))
        return store.logo(arg);
    return text;
}

const QStringList flamengoRow = {
    "Flamengo",   "Flamengo Futebol Clube", "1895",        "Brasil",   "RJ",   "Rio de Janeiro",
    "{escudo:3}", "{flag:Brasil}",          "{ufflag:RJ}", "129 anos", "FERJ", "{logo:FERJ}",
    "BRA"};
const QList<int> thirteen = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};

QList<Case> corpus() {
    return {
        // Main window: counters.
        {"counter selecoes", Statements::nationalTeamCount(), {}, {0}, one("3")},
        {"counter clubes", Statements::activeClubCount(), {}, {0}, one("12")},
        {"counter brasil", Statements::brazilianClubCount(), {}, {0}, one("9")},
        {"counter outros", Statements::foreignClubCount(), {}, {0}, one("4")},
        {"counter extintos", Statements::extinctCount(), {}, {0}, one("2")},
        // Main window: featured club.
        {"featured club",
         featuredStatement(),
         {{"CODALEATORIO", 3}},
         {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14},
         {{"Flamengo", "Flamengo Futebol Clube", "1895", "Brasil", "RJ", "Rio de Janeiro",
           "{escudo:3}", "{flag:Brasil}", "{ufflag:RJ}", "129 anos", "FERJ", "{logo:FERJ}", "BRA",
           "Estádio Flamengo", "30.000"}},
         true,
         15},
        {"featured club without country row", featuredStatement(), {{"CODALEATORIO", 11}}, {0}, {}},
        // Menu galleries: listings.
        {"listing brasileiros",
         listing({"p.codpais", "from clubes.db as c, paises.db as p",
                  "where c.PaisClube = p.NomePais", "and c.PaisClube = \"Brasil\"",
                  "and c.Identificador = 0", "order by c.NomeClubeOrdem, c.NomeClube, c.UFClube"}),
         {},
         {0, 4},
         {{"Atlético Mineiro", "MG"},
          {"Corinthians Paulista", "SP"},
          {"CRB", "MG"},
          {"Flamengo", "RJ"},
          {"Fluminense", "RJ"},
          {"Íbis", "SP"},
          {"Palmeiras", "SP"},
          {"Paulistano", "SP"},
          {"São Bento", "SP"}},
         true,
         13},
        {"listing estado",
         listing({"p.codpais,", "u.NomeCompleto", "from clubes.db as c, paises.db as p, uf.db as u",
                  "where c.PaisClube = \"Brasil\"", "and c.UFClube = fold(:ESTADO)",
                  "and c.PaisClube = p.NomePais", "and c.UFClube = u.uf", "and c.identificador = 0",
                  "order by c.NomeClubeOrdem, c.NomeClube"}),
         {{"ESTADO", "SP"}},
         {0, 8, 13},
         {{"Corinthians Paulista", "{ufflag:SP}", "São Paulo"},
          {"Íbis", "{ufflag:SP}", "São Paulo"},
          {"Palmeiras", "{ufflag:SP}", "São Paulo"},
          {"Paulistano", "{ufflag:SP}", "São Paulo"},
          {"São Bento", "{ufflag:SP}", "São Paulo"}},
         true,
         14},
        {"listing estado full row",
         listing({"p.codpais,", "u.NomeCompleto", "from clubes.db as c, paises.db as p, uf.db as u",
                  "where c.PaisClube = \"Brasil\"", "and c.UFClube = fold(:ESTADO)",
                  "and c.PaisClube = p.NomePais", "and c.UFClube = u.uf", "and c.identificador = 0",
                  "order by c.NomeClubeOrdem, c.NomeClube"}),
         {{"ESTADO", "RJ"}},
         thirteen,
         {flamengoRow},
         true,
         14,
         true},
        {"listing pais",
         Statements::clubsByCountry(),
         {{"PAIS", "%ARG%"}},
         {0, 3, 7, 12},
         {{"Boca Juniors", "Argentina", "{flag:Argentina}", "ARG"}}},
        {"listing pais accented",
         Statements::clubsByCountry(),
         {{"PAIS", "%ITÁLIA%"}},
         {0, 12},
         {{"Juventus", "ITA"}}},
        {"listing pais without accents",
         Statements::clubsByCountry(),
         {{"PAIS", "%italia%"}},
         {0, 12},
         {{"Juventus", "ITA"}}},
        {"listing todos",
         listing({"p.codpais", "from clubes.db as c, paises.db as p",
                  "where c.PaisClube = p.NomePais", "and c.Identificador = 0",
                  "order by c.NomeClubeOrdem, c.NomeClube"}),
         {},
         {0},
         names({"Arsenal", "Atlético Mineiro", "Boca Juniors", "Corinthians Paulista", "CRB",
                "Flamengo", "Fluminense", "Íbis", "Juventus", "Palmeiras", "Paulistano",
                "São Bento"})},
        {"listing selecoes",
         listing({"p.codpais", "from clubes.db as c, paises.db as p",
                  "where c.PaisClube = p.NomePais", "and c.Identificador = 1",
                  "order by c.NomeClubeOrdem, c.NomeClube"}),
         {},
         {0, 12},
         {{"Alemanha Oriental", "GER"}, {"Argentina", "ARG"}, {"Brasil", "BRA"}}},
        {"listing nome",
         Statements::clubsByName(),
         {{"CLUBE", "%FL%"}},
         {0},
         names({"Flamengo", "Fluminense"})},
        {"listing nome accented",
         Statements::clubsByName(),
         {{"CLUBE", "%SÃO%"}},
         {0},
         names({"São Bento"})},
        {"listing nome without accents",
         Statements::clubsByName(),
         {{"CLUBE", "%SAO%"}},
         {0},
         names({"São Bento"})},
        {"listing extintos",
         listing({"p.codpais", "from clubes.db as c, paises.db as p",
                  "where c.PaisClube = p.NomePais", "and c.extinto = 1",
                  "order by c.NomeClubeOrdem, c.NomeClube"}),
         {},
         {0},
         names({"Alemanha Oriental", "Paulistano"})},
        // Menu galleries: counts.
        {"count brasileiros", Statements::brazilianClubCount(), {}, {0}, one("9")},
        {"count estado", Statements::stateClubCount(), {{"ESTADO", "SP"}}, {0}, one("5")},
        {"count pais", Statements::countryClubCount(), {{"PAIS", "%BRA%"}}, {0}, one("9")},
        {"count pais without country row",
         Statements::countryClubCount(),
         {{"PAIS", "%ATLÂNTIDA%"}},
         {0},
         one("1")},
        {"count pais without accents",
         Statements::countryClubCount(),
         {{"PAIS", "%ITALIA%"}},
         {0},
         one("1")},
        {"count todos", Statements::clubCount(), {}, {0}, one("13")},
        {"count selecoes", Statements::nationalTeamCount(), {}, {0}, one("3")},
        {"count extintos", Statements::extinctCount(), {}, {0}, one("2")},
        // Year and federation galleries.
        {"listing ano",
         listing({"p.codpais", "from clubes.db as c, paises.db as p",
                  "where c.PaisClube = p.NomePais", "and c.AnoFundacao = :ANOFUND",
                  "and c.Identificador = 0", "order by c.NomeClubeOrdem, c.NomeClube"}),
         {{"ANOFUND", 1910}},
         {0, 2},
         {{"Corinthians Paulista", "1910"}}},
        {"count ano", Statements::yearClubCount(), {{"ANOFUND", 1910}}, {0}, one("2")},
        {"count ano of national teams only",
         Statements::yearClubCount(),
         {{"ANOFUND", 1893}},
         {0},
         one("0")},
        {"listing federacao",
         listing({"p.codpais", "from clubes.db as c, paises.db as p",
                  "where c.PaisClube = p.NomePais", "and Federacao = :FEDERSEL",
                  "and c.Identificador = 0", "order by c.NomeClubeOrdem, c.NomeClube"}),
         {{"FEDERSEL", "FPF-SP"}},
         {0, 10, 11},
         {{"Corinthians Paulista", "FPF-SP", "{logo:FPF-SP}"},
          {"Íbis", "FPF-SP", "{logo:FPF-SP}"},
          {"Palmeiras", "FPF-SP", "{logo:FPF-SP}"},
          {"Paulistano", "FPF-SP", "{logo:FPF-SP}"},
          {"São Bento", "FPF-SP", "{logo:FPF-SP}"}}},
        {"count federacao",
         Statements::federationClubCount(),
         {{"FEDERSEL", "FERJ"}},
         {0},
         one("3")},
        {"chooser anos", {"select ano from anos.db"}, {}, {0}, years(), false},
        {"chooser federacoes",
         {"select NomeFederacao from federacao.db"},
         {},
         {0},
         names({"FIFA", "CONMEBOL", "UEFA", "CBF", "FPF-SP", "FERJ", "Íbero"}),
         false},
        {"chooser logo preview",
         {"select LogoFederacao", "from Federacao.db", "where NomeFederacao = :FEDER"},
         {{"FEDER", "UEFA"}},
         {0},
         one("{logo:UEFA}")},
        // Club chooser and detail card.
        {"selclube clubes",
         {"select NomeClube, PaisClube, UFClube from Clubes.db", "where Identificador = 0",
          "order by NomeClubeOrdem, NomeClube"},
         {},
         {0},
         names({"Arsenal", "Atlântida", "Atlético Mineiro", "Boca Juniors", "Corinthians Paulista",
                "CRB", "Flamengo", "Fluminense", "Íbis", "Juventus", "Palmeiras", "Paulistano",
                "São Bento"})},
        {"selclube selecoes",
         {"select NomeClube, PaisClube, UFClube from Clubes.db", "where Identificador = 1",
          "order by NomeClubeOrdem, NomeClube"},
         {},
         {0, 1, 2},
         {{"Alemanha Oriental", "Alemanha", ""},
          {"Argentina", "Argentina", ""},
          {"Brasil", "Brasil", ""}}},
        {"selclube badge preview",
         {"select EscudoClube from Clubes.db", "where NomeClube = :CLUBE"},
         {{"CLUBE", "Juventus"}},
         {0},
         one("{escudo:14}")},
        {"card",
         cardStatement(),
         {{"NOME", "Paulistano"}},
         {0, 2, 3, 4, 9, 12, 13, 14, 15},
         {{"Paulistano", "1900", "Brasil", "SP", "124 anos", "BRA", "1", "Estádio Paulistano",
           "30.000"}},
         true,
         16},
        {"card state name",
         {"select NomeCompleto as estados", "from UF.db", "where UF = :ESTADO"},
         {{"ESTADO", "RJ"}},
         {0},
         one("Rio de Janeiro")},
        // Selection dialogs.
        {"dialog paises",
         {"select NomePais as pais", "from paises.db", "order by NomePaisOrdem, NomePais"},
         {},
         {0},
         names({"Alemanha", "Argentina", "Áustria", "Brasil", "Inglaterra", "Itália", "Uruguai"})},
        {"dialog pais flag",
         {"select BandeiraPais as bandeira", "from paises.db", "where NomePais = :PAIS"},
         {{"PAIS", "Itália"}},
         {0},
         one("{flag:Itália}")},
        {"dialog estados",
         {"select UF, NomeCompleto as estados", "from UF.db", "order by UF"},
         {},
         {0, 1},
         {{"MG", "Minas Gerais"},
          {"PA", "Pará"},
          {"PB", "Paraíba"},
          {"PR", "Paraná"},
          {"RJ", "Rio de Janeiro"},
          {"RS", "Rio Grande do Sul"},
          {"SP", "São Paulo"}}},
        {"dialog estado flag",
         {"select BandeiraUF as estados", "from UF.db", "where UF = :ESTADO"},
         {{"ESTADO", "MG"}},
         {0},
         one("{ufflag:MG}")},
        {"dialog cidades of a country",
         {"select cidade", "from cidades.db", "where país = :NOMEPAIS",
          "order by CidadeOrdem, cidade"},
         {{"NOMEPAIS", "Argentina"}},
         {0},
         names({"Buenos Aires"})},
        {"dialog cidades of a state",
         {"select cidade", "from cidades.db", "where país = :NOMEPAIS", "and estado = :SIGLAUF",
          "order by CidadeOrdem, cidade"},
         {{"NOMEPAIS", "Brasil"}, {"SIGLAUF", "SP"}},
         {0},
         names({"Águas de Lindóia", "Campinas", "Santos", "São Paulo"})},
        {"dialog federacoes",
         {"select NomeFederacao", "from Federacao.db",
          "order by NomeFederacaoOrdem, NomeFederacao"},
         {},
         {0},
         names({"CBF", "CONMEBOL", "FERJ", "FIFA", "FPF-SP", "Íbero", "UEFA"})},
        {"dialog federacao logo",
         {"select LogoFederacao", "from Federacao.db", "where NomeFederacao = :FEDER"},
         {{"FEDER", "CBF"}},
         {0},
         one("{logo:CBF}")},
        // City registry.
        {"registry paises",
         {"select NomePais as paises", "from paises.db", "order by NomePaisOrdem, paises"},
         {},
         {0},
         names({"Alemanha", "Argentina", "Áustria", "Brasil", "Inglaterra", "Itália", "Uruguai"})},
        {"registry estados",
         {"select UF, NomeCompleto as estado", "from uf.db", "order by NomeCompletoOrdem, estado"},
         {},
         {0, 1},
         {{"MG", "Minas Gerais"},
          {"PA", "Pará"},
          {"PB", "Paraíba"},
          {"PR", "Paraná"},
          {"RJ", "Rio de Janeiro"},
          {"RS", "Rio Grande do Sul"},
          {"SP", "São Paulo"}}},
        {"registry pais flag",
         {"select BandeiraPais as bandeira", "from paises.db", "where NomePais = :PAIS"},
         {{"PAIS", "Uruguai"}},
         {0},
         one("{flag:Uruguai}")},
        {"registry estado flag",
         {"select BandeiraUF as bandeira", "from uf.db", "where UF = :SIGLA"},
         {{"SIGLA", "RS"}},
         {0},
         one("{ufflag:RS}")},
        // Club editor: numbering, locate, duplicate-name scan.
        {"numbering", {"select max(codigo) as ultimo", "from clubes.db"}, {}, {0}, one("16")},
        {"locate",
         Statements::locateClub(),
         {{"NOMETIME", "%atlético%"}},
         {0, 1},
         {{"5", "Atlético Mineiro"}},
         true,
         18}, // the declared fields, then the name's order key
        {"locate without accents",
         Statements::locateClub(),
         {{"NOMETIME", "%atletico%"}},
         {0, 1},
         {{"5", "Atlético Mineiro"}}},
        {"duplicate-name scan",
         {"select NomeClube", "from clubes.db"},
         {},
         {0},
         names({"Corinthians Paulista", "Palmeiras", "Flamengo", "Fluminense", "Atlético Mineiro",
                "Boca Juniors", "Arsenal", "Brasil", "Argentina", "Paulistano", "Atlântida",
                "São Bento", "Alemanha Oriental", "Juventus", "Íbis", "CRB"}),
         false},
    };
}

QList<QStringList> readAll(Query& q, const QList<int>& columns) {
    QList<QStringList> rows;
    while (!q.eof()) {
        QStringList row;
        for (int c : columns)
            row << q.field(c);
        rows << row;
        q.next();
    }
    return rows;
}

} // namespace

class TestStatements final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        for (const Seed& s : seeds) {
            Club c = s.identificador ? store_.selecao(s.codigo, u(s.nome), u(s.pais))
                                     : store_.club(s.codigo, u(s.nome), u(s.pais), u(s.uf));
            c.anoFundacao = s.ano;
            c.idadeClube = QStringLiteral("%1 anos").arg(2024 - s.ano);
            c.federacao = u(s.federacao);
            c.logoFederacao = store_.logo(c.federacao);
            c.extinto = s.extinto;
            store_.insert(c);
            clubs_.insert(c.codigo, c);
        }
        for (const char* sql : extraReference)
            store_.exec(u(sql));
        db_ = std::make_unique<Database>(store_.dir());
    }
    void cleanupTestCase() { db_.reset(); }

    void statement_data() {
        QTest::addColumn<int>("index");
        const QList<Case> cases = corpus();
        for (int i = 0; i < cases.size(); ++i)
            QTest::newRow(cases[i].tag) << i;
    }

    void statement() {
        QFETCH(int, index);
        const Case c = corpus()[index];
        Query q(*db_, QStringLiteral("QueryConsulta"));
        q.close();
        q.clear();
        if (c.statement.name().isEmpty()) { // written in place: line by line, as a window may
            for (const QString& line : c.statement.lines())
                q.add(line);
            for (const auto& [name, value] : c.params) {
                if (value.typeId() == QMetaType::Int)
                    q.bindInt(QLatin1Char(':') + name, value.toInt());
                else
                    q.bindText(name, value.toString());
            }
            q.execute();
            q.open();
        } else {
            Query::Params params;
            for (const auto& [name, value] : c.params)
                params.append(value.typeId() == QMetaType::Int
                                  ? Query::Param(name, qint64(value.toInt()))
                                  : Query::Param(name, value.toString()));
            q.run(c.statement, params);
        }

        QList<QStringList> expected;
        for (const QStringList& row : c.rows) {
            QStringList values;
            for (const QString& v : row)
                values << expand(v, store_, clubs_);
            expected << values;
        }
        if (c.columnCount >= 0)
            QCOMPARE(q.columnCount(), c.columnCount);
        QCOMPARE(q.isEmpty(), expected.isEmpty());
        if (q.isEmpty()) {
            for (int col : c.columns)
                QCOMPARE(q.field(col), QString());
        }
        const int count = q.rowCount();
        QList<QStringList> rows = readAll(q, c.columns);
        QCOMPARE(count, int(rows.size()));
        if (c.firstRowOnly) {
            QCOMPARE(rows.first(), expected.first());
            return;
        }
        if (!c.ordered) {
            std::sort(rows.begin(), rows.end());
            std::sort(expected.begin(), expected.end());
        }
        QCOMPARE(rows, expected);
    }

private:
    TestStore store_;
    QHash<int, Club> clubs_;
    std::unique_ptr<Database> db_;
};

QTEST_GUILESS_MAIN(TestStatements)
#include "test_statements.moc"
