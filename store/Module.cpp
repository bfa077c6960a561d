#include "store/Module.h"

#include "store/Schema.h"
#include "store/StoreError.h"

#include <limits>
#include <memory>

namespace velmora {

TFrmDm::Checked::Checked(Database& db, const UpgradeOptions& upgrade) {
    // An upgrade writes: say why it cannot happen rather than let the engine refuse.
    if (db.readOnly() && db.value(QStringLiteral("PRAGMA user_version")).toInt() < Schema::version)
        throw StoreError(QStringLiteral("O catálogo %1 é de uma versão anterior do Velmora e "
                                        "precisa ser atualizado, mas o arquivo ou a pasta é "
                                        "somente leitura. Dê permissão de escrita ao arquivo e à "
                                        "pasta e abra o Velmora de novo.")
                             .arg(db.filePath()));
    notice = Schema::check(db.handle(), upgrade);
}

TFrmDm::TFrmDm(const QString& dataDir, const UpgradeOptions& upgrade)
    : db(dataDir), checked_(db, upgrade), checkpoints(db),
      TblClubes(db, Schema::table(QStringLiteral("Clubes")), QStringLiteral("TblClubes")),
      TblPaises(db, Schema::table(QStringLiteral("Paises")), QStringLiteral("TblPaises")),
      TblEstados(db, Schema::table(QStringLiteral("UF")), QStringLiteral("TblEstados")),
      TblCidades(db, Schema::table(QStringLiteral("Cidades")), QStringLiteral("TblCidades")),
      TblAnos(db, Schema::table(QStringLiteral("Anos")), QStringLiteral("TblAnos")),
      TblFederacao(db, Schema::table(QStringLiteral("Federacao")), QStringLiteral("TblFederacao")),
      QueryTodosClubes(db, QStringLiteral("QueryTodosClubes")),
      QueryConsulta(db, QStringLiteral("QueryConsulta")),
      QueryUltimoNum(db, QStringLiteral("QueryUltimoNum")),
      QueryLocalizaClube(db, QStringLiteral("QueryLocalizaClube")),
      QueryTodosPaises(db, QStringLiteral("QueryTodosPaises")),
      QueryTodosEstados(db, QStringLiteral("QueryTodosEstados")),
      QueryTodasCidades(db, QStringLiteral("QueryTodasCidades")),
      QueryBandPaises(db, QStringLiteral("QueryBandPaises")),
      QueryBandUF(db, QStringLiteral("QueryBandUF")),
      QueryFederacao(db, QStringLiteral("QueryFederacao")),
      DtsClubes(TblClubes, QStringLiteral("DtsClubes")),
      DtsAnos(TblAnos, QStringLiteral("DtsAnos")),
      DtsPaises(TblPaises, QStringLiteral("DtsPaises")),
      DtsEstados(TblEstados, QStringLiteral("DtsEstados")), counts(db), searchUpkeep(db) {
    // Opening the tables: each stands on its first row.
    for (Table* table : {&TblClubes, &TblPaises, &TblEstados, &TblCidades, &TblAnos, &TblFederacao})
        table->first();
}

TFrmDm::~TFrmDm() = default;

std::optional<int> TFrmDm::recountAges(int currentYear, const AgesProgress& progress,
                                       const std::function<void()>& meanwhile) {
    searchUpkeep.hold();
    const std::unique_ptr<SearchUpkeep, void (*)(SearchUpkeep*)> released(
        &searchUpkeep, [](SearchUpkeep* upkeep) { upkeep->release(); });
    const std::optional<int> rewritten =
        storeAgesAside(db.dataDir(), currentYear, progress, meanwhile);
    checkpoints.request();
    return rewritten;
}

int TFrmDm::nextClubCode() {
    if (TblClubes.rowCount() <= 0)
        return 1;
    QueryUltimoNum.run(
        {QStringLiteral("select max(codigo) as ultimo"), QStringLiteral("from clubes.db")});
    // Codes are whole numbers the program reads as 32 bits: past the last one, no new
    // club is numbered rather than one whose code wraps round.
    const qint64 last = QueryUltimoNum.fieldByName(QStringLiteral("ultimo")).toLongLong();
    if (last >= std::numeric_limits<qint32>::max())
        throw StoreError(QStringLiteral("Não há mais códigos livres para um novo clube: o maior "
                                        "código já é %1.")
                             .arg(last));
    return int(last) + 1;
}

} // namespace velmora
