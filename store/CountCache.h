#pragma once

#include <QHash>
#include <QString>
#include <utility>

namespace velmora {

class Database;
class Query;

// Results of count statements, kept while the store is unchanged: count(*) steps
// through every matching index entry, milliseconds per statement at 100,000 clubs,
// and the main window and the galleries count at every turn. Any write, by this
// connection or another, drops them all, so a count is never stale.
class CountCache final {
public:
    explicit CountCache(Database& db) : db_(db) {}

    // Column 0 of query's one row. The statement (lines and bindings set by the
    // caller) runs unless the same key was counted since the store last changed.
    // key names the statement and its parameter values.
    QString count(Query& query, const QString& key);
    void clear() { counts_.clear(); }

private:
    Database& db_;
    std::pair<qint64, qint64> stamp_{-1, -1};
    QHash<QString, QString> counts_;
};

} // namespace velmora
