#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace velmora {

struct CatalogueStatistics;
class MapShapes;

// The galleries a number of the statistics window leads to.
enum class StatsGallery { None, Country, State, Federation, Year, AllClubs, AllTeams, Extinct };

struct StatsTarget {
    StatsGallery gallery = StatsGallery::None;
    QString value; // the country's name, state's letters, federation, year
    QString label; // how a chooser among several lists it
};

// One country, state, bar or slice of a view.
struct StatsItem {
    QString key;                // the map shape's key (maps); the label otherwise
    QString label;              // what it is called on the picture and in the table
    qint64 count = 0;           // what is drawn
    QList<qint64> values;       // the table's number columns
    QString flag;               // picture path, "" for none
    QString note;               // said in the tool tip after the counts
    QList<StatsTarget> targets; // one opens it; several offer a choice
};

enum class StatsChart { WorldMap, BrazilMap, Bars, Pie };

struct StatsView {
    QString name;       // the tab's and the saved file's name
    QString objectName; // of its picture; its table is "Tabela" + the rest of it
    QString title;      // says what it shows and the total
    StatsChart chart = StatsChart::Bars;
    QStringList columns; // the table's header: the item, then its numbers
    QString unit;        // the counted thing, singular and plural: "clube|clubes"
    QList<StatsItem> items;
    QString credit{}; // where a map comes from, written under it
};

// The seven views, in tab order, from the statistics; `year` ends the decades.
QList<StatsView> buildViews(const CatalogueStatistics& stats, int year);

// "1 clube", "2 clubes": unit is "singular|plural".
QString counted(qint64 n, const QString& unit);

// What hovering over an item or choosing it with the keyboard says (plain text).
QString describe(const StatsView& view, const StatsItem& item);

} // namespace velmora
