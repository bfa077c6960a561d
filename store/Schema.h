#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

namespace velmora {

enum class FieldType { Integer, Text };

struct FieldDef {
    QString name; // exactly as the program spells it ("País" included)
    FieldType type;
    int width = 0; // characters, text fields only
};

struct TableDef {
    QString name;     // SQLite table name: the file stem ("Clubes")
    QString fileName; // the name statements and messages use ("Clubes.db")
    QList<FieldDef> fields;
};

// The six tables, declared once: the data module checks a store against them
// and velmora-datadir and tests create stores from them.
class Schema final {
public:
    static const QList<TableDef>& tables();
    static const TableDef& table(const QString& name); // by stem or file name, any case
    static constexpr int version = 2;

    // Creates the six tables (and indexes) in an empty store, in one transaction.
    static void create(QSqlDatabase& db);
    // Throws StoreError naming the table file when a table or field is missing
    // or has another type or width. Upgrades an older store version first, after
    // keeping a copy of the old file beside it; returns what the upgrade did
    // (a message for the user), empty when there was nothing to upgrade.
    static QString check(QSqlDatabase& db);
    // Names of the indexes create() makes (and the upgrade to version 1 adds).
    static QStringList indexNames();
};

} // namespace velmora
