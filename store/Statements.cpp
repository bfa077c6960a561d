#include "store/Statements.h"

#include "store/Counts.h"
#include "store/Listing.h"

namespace velmora {

// Puts the store's statements together, noting where each shortcut works.
struct StatementMaker {
    static Statement count(const char* name, const QStringList& columns,
                           const QStringList& conditions) {
        Statement s;
        s.name_ = QString::fromLatin1(name);
        s.shortcut_ = Shortcut::Count;
        s.lines_ = {QStringLiteral("select count(*) as qtde"), QStringLiteral("from clubes.db")};
        s.conditionLine_ = int(s.lines_.size());
        s.lines_ += conditions;
        s.counts_ = Counts::covering(columns);
        return s;
    }

    // A gallery listing of the clubs joined with their country, filtered by a pattern.
    static Statement listing(const char* name, Shortcut shortcut, const QString& parameter,
                             const QString& condition, const QStringList& rest) {
        Statement s;
        s.name_ = QString::fromLatin1(name);
        s.shortcut_ = shortcut;
        s.parameter_ = parameter;
        s.condition_ = condition;
        s.lines_ = listing::statement({}, {});
        s.fromLine_ = int(s.lines_.size());
        s.lines_ << QStringLiteral("from clubes.db as c, paises.db as p")
                 << QStringLiteral("where c.PaisClube = p.NomePais");
        s.conditionLine_ = int(s.lines_.size());
        s.lines_ << QStringLiteral("and ") + condition;
        s.lines_ += rest;
        return s;
    }

    static Statement locate() {
        Statement s;
        s.name_ = QStringLiteral("LocalizaClube");
        s.shortcut_ = Shortcut::Locate;
        s.parameter_ = QStringLiteral("NOMETIME");
        s.condition_ = QStringLiteral("fold(NomeCompletoClube) like fold(:NOMETIME)");
        s.lines_ = {QStringLiteral("select *"), QStringLiteral("from clubes.db")};
        s.conditionLine_ = int(s.lines_.size());
        s.lines_ << QStringLiteral("where ") + s.condition_;
        return s;
    }
};

namespace {

using M = StatementMaker;

QStringList columns(std::initializer_list<const char*> names) {
    QStringList list;
    for (const char* name : names)
        list << QString::fromLatin1(name);
    return list;
}

const QString nameOrder = QStringLiteral("order by c.NomeClubeOrdem, c.NomeClube");

} // namespace

const Statement& Statements::nationalTeamCount() {
    static const Statement s =
        M::count("ContaSelecoes", columns({"Identificador"}), {"where identificador = 1"});
    return s;
}

const Statement& Statements::clubCount() {
    static const Statement s =
        M::count("ContaClubes", columns({"Identificador"}), {"where identificador = 0"});
    return s;
}

const Statement& Statements::activeClubCount() {
    static const Statement s = M::count("ContaClubesAtivos", columns({"Identificador", "Extinto"}),
                                        {"where identificador = 0", "and extinto = 0"});
    return s;
}

const Statement& Statements::brazilianClubCount() {
    static const Statement s =
        M::count("ContaClubesBrasileiros", columns({"PaisClube", "Identificador"}),
                 {"where paisclube = \"Brasil\"", "and identificador = 0"});
    return s;
}

const Statement& Statements::foreignClubCount() {
    static const Statement s =
        M::count("ContaClubesEstrangeiros", columns({"PaisClube", "Identificador"}),
                 {"where paisclube not in (\"Brasil\")", "and identificador = 0"});
    return s;
}

const Statement& Statements::extinctCount() {
    static const Statement s =
        M::count("ContaExtintos", columns({"Extinto"}), {"where extinto = 1"});
    return s;
}

const Statement& Statements::stateClubCount() {
    // State codes are plain capitals, so folding the entry alone finds "sp" and "SP".
    static const Statement s = M::count(
        "ContaClubesPorEstado", columns({"PaisClube", "UFClube", "Identificador"}),
        {"where paisclube = \"Brasil\"", "and UFClube = fold(:ESTADO)", "and identificador = 0"});
    return s;
}

const Statement& Statements::countryClubCount() {
    static const Statement s =
        M::count("ContaClubesPorPais", columns({"PaisClube", "Identificador"}),
                 {"where fold(PaisClube) like fold(:PAIS)", "and identificador = 0"});
    return s;
}

const Statement& Statements::yearClubCount() {
    static const Statement s =
        M::count("ContaClubesPorAno", columns({"AnoFundacao", "Identificador"}),
                 {"where AnoFundacao = :ANOFUND", "and Identificador = 0"});
    return s;
}

const Statement& Statements::federationClubCount() {
    static const Statement s =
        M::count("ContaClubesPorFederacao", columns({"Federacao", "Identificador"}),
                 {"where Federacao = :FEDERSEL", "and Identificador = 0"});
    return s;
}

const Statement& Statements::clubsByCountry() {
    static const Statement s =
        M::listing("ListaClubesPorPais", Shortcut::Country, QStringLiteral("PAIS"),
                   QStringLiteral("fold(c.PaisClube) like fold(:PAIS)"),
                   {QStringLiteral("and c.Identificador = 0"), nameOrder});
    return s;
}

const Statement& Statements::clubsByName() {
    static const Statement s =
        M::listing("ListaClubesPorNome", Shortcut::Name, QStringLiteral("CLUBE"),
                   QStringLiteral("fold(c.NomeClube) like fold(:CLUBE)"), {nameOrder});
    return s;
}

const Statement& Statements::locateClub() {
    static const Statement s = M::locate();
    return s;
}

const QList<const Statement*>& Statements::all() {
    static const QList<const Statement*> list = {
        &nationalTeamCount(), &clubCount(),           &activeClubCount(), &brazilianClubCount(),
        &foreignClubCount(),  &extinctCount(),        &stateClubCount(),  &countryClubCount(),
        &yearClubCount(),     &federationClubCount(), &clubsByCountry(),  &clubsByName(),
        &locateClub()};
    return list;
}

} // namespace velmora
