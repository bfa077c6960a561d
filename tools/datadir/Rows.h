#pragma once

#include "store/Database.h"
#include "store/Schema.h"
#include "store/StoreError.h"

#include <QHash>
#include <QList>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

namespace velmora::datadir {

using Values = QHash<QString, QVariant>;

// Inserts rows into one table with one prepared statement; the caller holds the
// transaction. Throws StoreError naming the table file.
inline void insertRows(Database& db, const TableDef& def, const QList<Values>& rows) {
    QStringList columns, marks;
    for (const FieldDef& f : def.fields) {
        columns << QLatin1Char('"') + f.name + QLatin1Char('"');
        marks << QStringLiteral("?");
    }
    QSqlQuery query(db.handle());
    if (!query.prepare(QStringLiteral("insert into \"%1\" (%2) values (%3)")
                           .arg(def.name, columns.join(QStringLiteral(", ")),
                                marks.join(QStringLiteral(", ")))))
        throw StoreError(query.lastError().text());
    for (const Values& row : rows) {
        for (const FieldDef& f : def.fields)
            query.addBindValue(row.value(f.name));
        if (!query.exec())
            throw StoreError(QStringLiteral("%1: %2").arg(def.fileName, query.lastError().text()));
    }
}

} // namespace velmora::datadir
