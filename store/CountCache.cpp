#include "store/CountCache.h"

#include "store/Database.h"
#include "store/Query.h"

namespace velmora {

QString CountCache::count(Query& query, const QString& key) {
    const std::pair<qint64, qint64> now = db_.changeStamp();
    if (now != stamp_) {
        counts_.clear();
        stamp_ = now;
    } else if (const auto found = counts_.constFind(key); found != counts_.constEnd()) {
        return *found;
    }
    query.execute();
    query.open();
    const QString value = query.field(0);
    counts_.insert(key, value);
    return value;
}

} // namespace velmora
