#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

namespace velmora {

// Club counts kept by triggers, grouped by the columns the count statements filter
// on: a counter sums a few hundred groups instead of counting a million index
// entries. The triggers run inside the statement that writes the club, so a count
// is never stale and a crash never leaves it out of step with the rows.
struct CountTable {
    QString name;
    QStringList columns; // of Clubes, the grouping
};

class Counts final {
public:
    static const QList<CountTable>& tables();

    // The first table whose columns include every one of `columns` (names in any
    // letter case), or null.
    static const CountTable* covering(const QStringList& columns);

    // Creates the tables and triggers and fills the tables from Clubes; drop() first
    // when they may exist.
    static void build(QSqlDatabase& db);
    static void drop(QSqlDatabase& db);
    static QStringList triggerNames();

    // Rows of Clubes, from the counts.
    static QString totalStatement();
};

} // namespace velmora
