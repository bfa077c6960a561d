#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <functional>

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

// What a store upgrade is doing, for a progress display: the step, in the user's
// words, and how much of the whole upgrade is done (0 to 100).
using UpgradeProgress = std::function<void(const QString& step, int percent)>;

struct UpgradeOptions {
    UpgradeProgress progress; // called at each step and now and then within one
    // Bytes free on the disk that holds a folder; the system's figure when not set.
    std::function<qint64(const QString& folder)> freeSpace;
};

// The six tables, declared once: the data module checks a store against them
// and velmora-datadir and tests create stores from them.
class Schema final {
public:
    static const QList<TableDef>& tables();
    static const TableDef& table(const QString& name); // by stem or file name, any case
    static const QList<OrderKeyDef>& orderKeys();
    static constexpr int version = 8;

    // Creates the six tables (and indexes) in an empty store, in one transaction.
    static void create(QSqlDatabase& db);
    // Throws StoreError naming the table file when a table or field is missing
    // or has another type or width. Upgrades an older store version first, after
    // keeping a copy of the old file beside it; returns what the upgrade did
    // (a message for the user), empty when there was nothing to upgrade. An upgrade
    // first makes sure the disk has room for it (upgradeSpace) and refuses, changing
    // nothing, when it has not; it reports its progress through options.progress.
    static QString check(QSqlDatabase& db, const UpgradeOptions& options = {});
    // Bytes an upgrade writes beside a store of storeBytes (liveBytes of them in use):
    // the kept copy of the old file, what the new structures add and the journal.
    static qint64 upgradeSpace(qint64 storeBytes, qint64 liveBytes);
    // Names of the indexes and triggers create() makes (and the upgrades add).
    static QStringList indexNames();
    static QStringList triggerNames();

    // Indexes, count tables, trigram indexes, the ages' year and their triggers: dropped
    // before a bulk load of rows (with their order keys filled) and built again after
    // it, one sort per index instead of a million inserts.
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
