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

// Inserts rows into one table with one prepared statement, each field's value given
// by valueOf(row, field); the caller holds the transaction. Throws StoreError naming
// the table file.
template <typename Row, typename ValueOf>
void insertEach(Database& db, const TableDef& def, const QList<Row>& rows, ValueOf valueOf) {
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
    for (const Row& row : rows) {
        for (qsizetype i = 0; i < def.fields.size(); ++i)
            query.bindValue(int(i), valueOf(row, def.fields[i]));
        if (!query.exec())
            throw StoreError(QStringLiteral("%1: %2").arg(def.fileName, query.lastError().text()));
    }
}

// Changes rows of one table with one prepared statement, each found by its key (the
// first field of def) and given every other field by valueOf(row, field); the caller
// holds the transaction. Throws StoreError naming the table file.
template <typename Row, typename ValueOf>
void updateEach(Database& db, const TableDef& def, const QList<Row>& rows, ValueOf valueOf) {
    if (rows.isEmpty())
        return;
    QStringList sets;
    for (qsizetype i = 1; i < def.fields.size(); ++i)
        sets << QLatin1Char('"') + def.fields[i].name + QStringLiteral("\" = ?");
    QSqlQuery query(db.handle());
    if (!query.prepare(QStringLiteral("update \"%1\" set %2 where \"%3\" = ?")
                           .arg(def.name, sets.join(QStringLiteral(", ")), def.fields[0].name)))
        throw StoreError(query.lastError().text());
    for (const Row& row : rows) {
        for (qsizetype i = 1; i < def.fields.size(); ++i)
            query.bindValue(int(i - 1), valueOf(row, def.fields[i]));
        query.bindValue(int(def.fields.size() - 1), valueOf(row, def.fields[0]));
        if (!query.exec())
            throw StoreError(QStringLiteral("%1: %2").arg(def.fileName, query.lastError().text()));
    }
}

inline void insertRows(Database& db, const TableDef& def, const QList<Values>& rows) {
    insertEach(db, def, rows,
               [](const Values& row, const FieldDef& f) { return row.value(f.name); });
}

} // namespace velmora::datadir
