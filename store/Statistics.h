#pragma once

#include <QList>
#include <QMap>
#include <QString>
#include <utility>

namespace velmora {

class Database;

// The whole catalogue in numbers, summed from the count tables the triggers keep
// (Counts): a few hundred groups at any size of catalogue, never the clubs themselves.
// A club is a row of Identificador 0; any other row is counted as a national team.
struct CatalogueStatistics {
    struct Kinds {
        qint64 clubs = 0;
        qint64 teams = 0;
        qint64 total() const { return clubs + teams; }
    };
    struct Country {
        QString code; // CodPais
        QString name; // NomePais
        QString flag; // BandeiraPais
    };
    struct State {
        QString uf;
        QString name; // NomeCompleto
        QString flag; // BandeiraUF
    };

    QMap<QString, Kinds> byCountry;          // PaisClube
    QMap<QString, qint64> clubsByState;      // UFClube of Brazil's clubs
    QMap<int, qint64> clubsByYear;           // AnoFundacao of the clubs
    QMap<QString, qint64> clubsByFederation; // Federacao of the clubs
    Kinds kinds;
    qint64 extinct = 0; // rows of Extinto 1, clubs and national teams
    qint64 total() const { return kinds.total(); }
    qint64 active() const { return total() - extinct; }

    // The reference rows the window names and draws them with, in list order.
    QList<Country> countries;
    QList<State> states;
};

// Reads the statistics again only when a row may have changed since the last reading
// (by this connection or another), so showing them again costs nothing.
class StatisticsCache final {
public:
    explicit StatisticsCache(Database& db) : db_(db) {}
    const CatalogueStatistics& current();
    // True when the last current() read the store (the figures may differ).
    bool changed() const { return changed_; }

private:
    Database& db_;
    std::pair<qint64, qint64> stamp_{-1, -1};
    CatalogueStatistics stats_;
    bool changed_ = false;
};

// One reading, straight from the count and reference tables. Throws StoreError.
CatalogueStatistics readStatistics(Database& db);

} // namespace velmora
