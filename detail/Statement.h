#pragma once

#include "store/Query.h"

#include <QString>
#include <QStringList>

namespace velmora::detail {

// Issues a statement the way every window does: close, clear, add the lines, bind
// one text parameter (when named), execute and open.
inline void runStatement(Query& query, const QStringList& lines, const QString& param = {},
                         const QString& value = {}) {
    query.close();
    query.clear();
    for (const QString& line : lines)
        query.add(line);
    if (!param.isEmpty())
        query.bindText(param, value);
    query.execute();
    query.open();
}

} // namespace velmora::detail
