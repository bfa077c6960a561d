#include "bench/ClubGenerator.h"

#include "store/Database.h"
#include "tests/support/store/TestStore.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <map>
#include <memory>
#include <random>
#include <stdexcept>

namespace velmora::bench {

namespace {

const char* const prefixes[] = {"Esporte Clube",  "Sport Club",  "Associação Atlética",
                                "Clube Atlético", "Grêmio",      "União",
                                "América",        "Botafogo",    "Internacional",
                                "Nacional",       "Ferroviário", "Operário",
                                "Comercial",      "Guarani",     "Atlético",
                                "Real",           "Sporting",    "Racing",
                                "Athletic",       "Juventude"};
const char* const places[] = {
    "Paulista",   "Carioca",  "Mineiro", "Gaúcho",    "do Vale",  "da Serra", "Central",
    "do Norte",   "do Sul",   "Litoral", "Ribeirão",  "Campinas", "Santos",   "Niterói",
    "Petrópolis", "Uberaba",  "Pelotas", "Caxias",    "Itajubá",  "Bauru",    "Londrina",
    "Jundiaí",    "Sorocaba", "Franca",  "Americana", "Limeira",  "Marília",  "Osasco"};

struct Place {
    const char* pais;
    const char* uf; // Brazil only
    int weight;
};
const Place homes[] = {
    {"Brasil", "SP", 20},  {"Brasil", "RJ", 15},   {"Brasil", "MG", 10}, {"Brasil", "RS", 10},
    {"Argentina", "", 12}, {"Inglaterra", "", 10}, {"Itália", "", 8},    {"Alemanha", "", 7},
    {"Uruguai", "", 7},    {"Atlântida", "", 1}, // no row in Paises: counted, never listed
};

constexpr int badgeFiles = 8;
constexpr int fixtureYear = 2024;

QString u(const char* s) {
    return QString::fromUtf8(s);
}

} // namespace

void makeStore(const QString& dir, int clubs) {
    test::TestStore store(dir);
    QStringList badges;
    for (int i = 0; i < badgeFiles; ++i)
        badges << store.makeBadge(QStringLiteral("Escudo%1.jpg").arg(i),
                                  QColor::fromHsv(i * 45, 200, 210), QStringLiteral("Distintivos"));

    std::mt19937 random(20240601u + unsigned(clubs));
    std::vector<int> weights;
    for (const Place& p : homes)
        weights.push_back(p.weight);
    std::discrete_distribution<int> home(weights.begin(), weights.end());
    std::uniform_int_distribution<int> year(1860, 2020), percent(0, 99);

    Database& db = store.database();
    Transaction transaction(db);
    QSqlQuery insert(db.handle());
    insert.prepare(QStringLiteral(
        "insert into Clubes (Codigo, NomeClube, NomeCompletoClube, AnoFundacao, PaisClube, "
        "UFClube, CidadeClube, IdadeClube, EscudoClube, BandeiraPais, BandeiraUF, Federacao, "
        "LogoFederacao, Identificador, Extinto, Estadio, Capacidade) "
        "values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    const int combinations = int(std::size(prefixes) * std::size(places));
    for (int code = 1; code <= clubs; ++code) {
        const int n = code - 1;
        QString name = u(prefixes[n % std::size(prefixes)]) + QLatin1Char(' ') +
                       u(places[(n / std::size(prefixes)) % std::size(places)]);
        if (n >= combinations)
            name += QStringLiteral(" %1").arg(n / combinations + 1); // keeps names unique
        const Place& p = homes[home(random)];
        const bool selecao = percent(random) < 2;
        test::Club c =
            store.clubSharingBadge(code, name, u(p.pais), u(p.uf), badges[code % badgeFiles]);
        if (selecao)
            store.makeSelecao(c);
        const int founded = year(random);
        const QVariantList values = {code,
                                     c.nomeClube,
                                     c.nomeCompletoClube,
                                     founded,
                                     c.paisClube,
                                     c.ufClube,
                                     c.cidadeClube,
                                     QStringLiteral("%1 anos").arg(fixtureYear - founded),
                                     c.escudoClube,
                                     c.bandeiraPais,
                                     c.bandeiraUF,
                                     c.federacao,
                                     c.logoFederacao,
                                     c.identificador,
                                     percent(random) < 5 ? 1 : 0,
                                     c.estadio,
                                     QString::number(5000 + code % 70000)};
        for (const QVariant& v : values)
            insert.addBindValue(v);
        if (!insert.exec())
            throw std::runtime_error(insert.lastError().text().toStdString());
    }
    transaction.commit();
    store.exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
}

QString cachedStore(int clubs) {
    static std::map<int, std::unique_ptr<QTemporaryDir>> stores;
    auto& dir = stores[clubs];
    if (!dir) {
        dir = std::make_unique<QTemporaryDir>();
        makeStore(dir->path(), clubs);
    }
    return dir->path();
}

} // namespace velmora::bench
