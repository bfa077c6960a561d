#pragma once

#include "store/Query.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <utility>

namespace velmora {

class Database;

// Results of count statements, kept while the store is unchanged: count(*) steps
// through every matching index entry, milliseconds per statement at 100,000 clubs,
// and the main window and the galleries count at every turn. Any write, by this
// connection or another, drops them all, so a count is never stale.
class CountCache final {
public:
    explicit CountCache(Database& db) : db_(db) {}

    // Column 0 of the one row of a count statement, run on query unless the same
    // statement with the same parameter values was counted since the store last
    // changed. The query is closed either way, so it pins no old state of the store.
    QString count(Query& query, const Statement& statement, const Query::Params& params = {});
    void clear() { counts_.clear(); }

private:
    Database& db_;
    std::pair<qint64, qint64> stamp_{-1, -1};
    QHash<QString, QString> counts_;
};

} // namespace velmora
