#include "store/Statistics.h"

#include "store/Counts.h"
#include "store/Database.h"
#include "store/Names.h"
#include "store/StoreError.h"

#include <QSqlError>
#include <QSqlQuery>
#include <functional>

namespace velmora {

namespace {

// Runs a select of the store's own tables and hands each row to `row`.
void eachRow(Database& db, const QString& sql, const std::function<void(const QSqlQuery&)>& row) {
    QSqlQuery query(db.handle());
    query.setForwardOnly(true);
    if (!query.exec(sql))
        throw StoreError(engineMessage(query.lastError()));
    while (query.next())
        row(query);
}

// The count table grouped by exactly these columns, with the columns selected in order.
QString countsBy(const QStringList& columns) {
    const CountTable* table = Counts::covering(columns);
    if (table == nullptr)
        throw StoreError(QStringLiteral("Nenhuma tabela de contagem agrupa por %1.")
                             .arg(columns.join(QStringLiteral(", "))));
    return QStringLiteral("select %1, Qtde from %2").arg(columns.join(u", "), table->name);
}

bool isTeam(const QVariant& identificador) {
    return identificador.toLongLong() == 1;
}

void readClubCounts(Database& db, CatalogueStatistics& s) {
    eachRow(db,
            countsBy({QStringLiteral("PaisClube"), QStringLiteral("UFClube"),
                      QStringLiteral("Identificador"), QStringLiteral("Extinto")}),
            [&s](const QSqlQuery& q) {
                const QString country = q.value(0).toString();
                const qint64 n = q.value(4).toLongLong();
                const bool team = isTeam(q.value(2));
                (team ? s.byCountry[country].teams : s.byCountry[country].clubs) += n;
                (team ? s.kinds.teams : s.kinds.clubs) += n;
                if (q.value(3).toLongLong() == 1)
                    s.extinct += n;
                if (!team && country == brasil && !q.value(1).isNull())
                    s.clubsByState[q.value(1).toString()] += n;
            });
}

void readYearCounts(Database& db, CatalogueStatistics& s) {
    eachRow(db, countsBy({QStringLiteral("AnoFundacao"), QStringLiteral("Identificador")}),
            [&s](const QSqlQuery& q) {
                if (!isTeam(q.value(1)) && !q.value(0).isNull())
                    s.clubsByYear[q.value(0).toInt()] += q.value(2).toLongLong();
            });
}

void readFederationCounts(Database& db, CatalogueStatistics& s) {
    eachRow(db, countsBy({QStringLiteral("Federacao"), QStringLiteral("Identificador")}),
            [&s](const QSqlQuery& q) {
                if (!isTeam(q.value(1)) && !q.value(0).toString().isEmpty())
                    s.clubsByFederation[q.value(0).toString()] += q.value(2).toLongLong();
            });
}

void readReference(Database& db, CatalogueStatistics& s) {
    eachRow(db,
            QStringLiteral("select CodPais, NomePais, BandeiraPais from Paises "
                           "order by NomePaisOrdem, NomePais"),
            [&s](const QSqlQuery& q) {
                s.countries.append(
                    {q.value(0).toString(), q.value(1).toString(), q.value(2).toString()});
            });
    eachRow(
        db,
        QStringLiteral("select UF, NomeCompleto, BandeiraUF from UF "
                       "order by NomeCompletoOrdem, NomeCompleto"),
        [&s](const QSqlQuery& q) {
            s.states.append({q.value(0).toString(), q.value(1).toString(), q.value(2).toString()});
        });
}

} // namespace

CatalogueStatistics readStatistics(Database& db) {
    CatalogueStatistics s;
    readClubCounts(db, s);
    readYearCounts(db, s);
    readFederationCounts(db, s);
    readReference(db, s);
    return s;
}

const CatalogueStatistics& StatisticsCache::current() {
    const std::pair<qint64, qint64> now = db_.changeStamp();
    changed_ = now != stamp_;
    if (changed_) {
        stats_ = readStatistics(db_);
        stamp_ = now;
    }
    return stats_;
}

} // namespace velmora
