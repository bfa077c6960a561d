#include "store/CountCache.h"

#include "store/Database.h"
#include "store/Query.h"

namespace velmora {

namespace {

QString keyOf(const QStringList& lines, const Query::Params& params) {
    QString key = lines.join(QLatin1Char('\n'));
    for (const Query::Param& param : params)
        key += QChar(0) + param.name + QLatin1Char('=') + param.value.toString();
    return key;
}

} // namespace

QString CountCache::count(Query& query, const Statement& statement, const Query::Params& params) {
    query.close();
    const QString key = keyOf(statement.lines(), params);
    const std::pair<qint64, qint64> now = db_.changeStamp();
    if (now != stamp_) {
        counts_.clear();
        stamp_ = now;
    } else if (const auto found = counts_.constFind(key); found != counts_.constEnd()) {
        return *found;
    }
    query.run(statement, params);
    const QString value = query.field(0);
    counts_.insert(key, value);
    return value;
}

} // namespace velmora
