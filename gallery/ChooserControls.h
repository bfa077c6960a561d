#pragma once

#include "store/Query.h"

#include <QComboBox>
#include <QString>

namespace velmora {

// Empties a list and fills it with the first column of every row of a statement
// on a query object, in the order the engine returns them; no item is chosen.
inline void refillChoiceList(QComboBox* list, Query& query, const QString& line) {
    list->clear();
    query.close();
    query.clear();
    query.add(line);
    query.execute();
    query.open();
    QStringList items;
    for (; !query.eof(); query.next())
        items << query.field(0);
    list->addItems(items);
    list->setCurrentIndex(-1);
}

} // namespace velmora
