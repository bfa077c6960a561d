#pragma once

#include "store/Ages.h"
#include "store/Checkpointer.h"
#include "store/CountCache.h"
#include "store/Database.h"
#include "store/Query.h"
#include "store/Schema.h"
#include "store/SearchUpkeep.h"
#include "store/Table.h"

#include <QString>

namespace velmora {

// The data module: owns every table object, query object and data source the
// windows use. Creating it opens the store in dataDir and checks it against the
// schema; a missing directory, store, table or field throws StoreError with the
// engine's message naming the table file.
class TFrmDm final {
public:
    // An older store is upgraded on opening, reporting through upgrade.progress.
    explicit TFrmDm(const QString& dataDir, const UpgradeOptions& upgrade = {});
    ~TFrmDm();
    TFrmDm(const TFrmDm&) = delete;
    TFrmDm& operator=(const TFrmDm&) = delete;

    Database& database() { return db; }
    const QString& dataDir() const { return db.dataDir(); }
    // The store cannot be written: windows offer no command that saves.
    bool readOnly() const { return db.readOnly(); }

    // Every club's age for `currentYear` (storeAgesAside), the windows painted meanwhile.
    std::optional<int> recountAges(int currentYear, const AgesProgress& progress,
                                   const std::function<void()>& meanwhile);

    // Code for a new club: 1 on an empty Clubes.db, else max(codigo) + 1
    // through QueryUltimoNum.
    int nextClubCode();

    // What opening did to an older store (upgraded, where the old file was kept);
    // empty when the store was already current.
    const QString& upgradeNotice() const { return checked_.notice; }

private:
    Database db; // first: everything below uses it
    // Checks (and upgrades) the store before any table prepares its statements.
    struct Checked final {
        Checked(Database& db, const UpgradeOptions& upgrade);
        QString notice;
    } checked_;
    // Copies saves from the write-ahead log into the store file off the windows' thread.
    Checkpointer checkpoints;

public:
    Table TblClubes;
    Table TblPaises;
    Table TblEstados;
    Table TblCidades;
    Table TblAnos;
    Table TblFederacao;

    Query QueryTodosClubes;
    Query QueryConsulta;
    Query QueryUltimoNum;
    Query QueryLocalizaClube;
    Query QueryTodosPaises;
    Query QueryTodosEstados;
    Query QueryTodasCidades;
    Query QueryBandPaises;
    Query QueryBandUF;
    Query QueryFederacao;

    DataSource DtsClubes;
    DataSource DtsAnos;
    DataSource DtsPaises;
    DataSource DtsEstados;

    // Count statements of the main window and the galleries, while the store is unchanged.
    CountCache counts;
    // Last: merges the full-text indexes after the writes of everything above.
    SearchUpkeep searchUpkeep;
};

} // namespace velmora
