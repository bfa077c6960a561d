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

// A column the store keeps beside a name: fold() of it, so that names are listed in
// the order a Brazilian reader expects from a plain index that any SQLite tool can
// read. Triggers fill it on every insert and on every change of the name.
struct OrderKeyDef {
    QString table;  // SQLite table name
    QString source; // the name field ("NomeClube")
    QString key;    // the key column ("NomeClubeOrdem")
};

// The six tables, declared once: the data module checks a store against them
// and velmora-datadir and tests create stores from them.
class Schema final {
public:
    static const QList<TableDef>& tables();
    static const TableDef& table(const QString& name); // by stem or file name, any case
    static const QList<OrderKeyDef>& orderKeys();
    static constexpr int version = 5;

    // Creates the six tables (and indexes) in an empty store, in one transaction.
    static void create(QSqlDatabase& db);
    // Throws StoreError naming the table file when a table or field is missing
    // or has another type or width. Upgrades an older store version first, after
    // keeping a copy of the old file beside it; returns what the upgrade did
    // (a message for the user), empty when there was nothing to upgrade.
    static QString check(QSqlDatabase& db);
    // Names of the indexes and triggers create() makes (and the upgrades add).
    static QStringList indexNames();
    static QStringList triggerNames();

    // Indexes, count tables, trigram indexes and their triggers: dropped before a bulk
    // load of rows (with their order keys filled) and built again after it, one sort
    // per index instead of a million inserts.
    static void dropDerived(QSqlDatabase& db);
    static void buildDerived(QSqlDatabase& db);
    // The same, inside a transaction the caller holds: a load that must stay all or
    // nothing drops and builds them in its own transaction.
    static void dropDerivedWithin(QSqlDatabase& db);
    static void buildDerivedWithin(QSqlDatabase& db);

    // The index of Clubes by country, kind and name.
    static QString countryIndex() { return QStringLiteral("ClubesPais"); }

    // Rows of a table, for its row count.
    static QString countStatement(const TableDef& table);
};

} // namespace velmora
