#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <initializer_list>

namespace velmora {

struct CountTable;

// The faster equivalents the store keeps for some of its statements (store/FastPaths).
enum class Shortcut {
    None,
    Count,   // summed from a count table (store/Counts)
    Country, // the typed country resolved against the countries first
    Name,    // a short-name fragment found through the name indexes (store/Search)
    Locate,  // a full-name fragment found through the full-name index, in table order
};

// A statement as lines of the program's local SQL. Most are written where they are
// issued; the few with a faster equivalent are the store's own (Statements below),
// and the store takes the shortcut by which statement it is, never by reading it.
class Statement final {
public:
    Statement() = default;
    Statement(QStringList lines) : lines_(std::move(lines)) {}
    Statement(std::initializer_list<QString> lines) : lines_(lines) {}

    const QStringList& lines() const { return lines_; }
    const QString& name() const { return name_; } // empty for a statement written in place
    Shortcut shortcut() const { return shortcut_; }

    // What the shortcut rewrites, known from how the statement was put together.
    const QString& condition() const { return condition_; } // the condition it works on
    int conditionLine() const { return conditionLine_; }    // where that condition stands
    int fromLine() const { return fromLine_; }              // the from clause (Country)
    const QString& parameter() const { return parameter_; } // the pattern it resolves
    const CountTable* counts() const { return counts_; }    // the table a Count sums

private:
    friend struct StatementMaker;
    QStringList lines_;
    QString name_;
    Shortcut shortcut_ = Shortcut::None;
    QString condition_;
    int conditionLine_ = -1;
    int fromLine_ = -1;
    QString parameter_;
    const CountTable* counts_ = nullptr;
};

// The statements with a faster equivalent, each written once: the windows issue
// these, and the tests run these.
class Statements final {
public:
    // Counts of the main window, the galleries and the detail chooser (column "qtde").
    static const Statement& nationalTeamCount();   // identificador = 1
    static const Statement& clubCount();           // identificador = 0
    static const Statement& activeClubCount();     // clubs not extinct
    static const Statement& brazilianClubCount();  // clubs of "Brasil"
    static const Statement& foreignClubCount();    // clubs of any other country
    static const Statement& extinctCount();        // clubs and national teams
    static const Statement& stateClubCount();      // :ESTADO, a Brazilian state
    static const Statement& countryClubCount();    // :PAIS, a pattern on the country
    static const Statement& yearClubCount();       // :ANOFUND
    static const Statement& federationClubCount(); // :FEDERSEL

    // Gallery listings (listing::Column): clubs of the countries matching :PAIS, and
    // clubs and national teams whose short name matches :CLUBE, in name order.
    static const Statement& clubsByCountry();
    static const Statement& clubsByName();

    // "Localizar": every column of the clubs whose full name matches :NOMETIME.
    static const Statement& locateClub();

    static const QList<const Statement*>& all();
};

} // namespace velmora
