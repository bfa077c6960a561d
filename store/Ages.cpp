#include "store/Ages.h"

#include "store/Counts.h"
#include "store/Database.h"
#include "store/Schema.h"
#include "store/StoreError.h"

#include <QSqlQuery>
#include <algorithm>
#include <cmath>
#include <limits>

namespace velmora {

namespace {

const QString idadeClube = QStringLiteral("IdadeClube");

// The rows' share of the time; writing the transaction out takes the rest.
constexpr int rowsShare = 80;

int fieldWidth(const TableDef& table, const QString& name) {
    for (const FieldDef& field : table.fields)
        if (field.name == name)
            return field.width;
    return 0;
}

QSqlQuery run(Database& db, const QString& sql, const QVariantList& values) {
    return runStatement(db.handle(), sql, values);
}

// The count table grouped by foundation year.
QString yearCounts() {
    return Counts::covering({QStringLiteral("AnoFundacao")})->name;
}

// A club whose age would not fit IdadeClube, named for the message; two seeks in the
// year index (written as one "or", the engine would read every club).
void requireFit(Database& db, int currentYear) {
    const int width = fieldWidth(Schema::table(QStringLiteral("Clubes")), idadeClube);
    const int digits = width - 5; // " anos" is 5
    const qint64 lowest = currentYear - (qint64(std::pow(10, digits)) - 1);
    const qint64 highest = currentYear + (qint64(std::pow(10, digits - 1)) - 1);
    const QVariant tooLong = db.value(
        QStringLiteral("select NomeClube || ' (' || AnoFundacao || ')' from Clubes where Codigo = "
                       "(select min(Codigo) from (select Codigo from Clubes where AnoFundacao < %1 "
                       "union all select Codigo from Clubes where AnoFundacao > %2))")
            .arg(lowest)
            .arg(highest));
    if (tooLong.isValid())
        throw StoreError(QStringLiteral("A idade do clube %1 não cabe no campo IdadeClube "
                                        "(no máximo %2 caracteres); verifique o ano de fundação.")
                             .arg(tooLong.toString())
                             .arg(width));
}

// The code that ends the step starting after `from` (null: past the last club).
QVariant stepEnd(Database& db, qint64 from, int stepRows) {
    QSqlQuery end =
        run(db,
            QStringLiteral("select Codigo from Clubes where Codigo > ? order by Codigo limit 1 "
                           "offset ?"),
            {from, stepRows - 1});
    return end.next() ? end.value(0) : QVariant();
}

} // namespace

QString ageText(int currentYear, int foundationYear) {
    return QString::number(qint64(currentYear) - foundationYear) + QStringLiteral(" anos");
}

std::optional<int> storeAges(Database& db, int currentYear, const AgesProgress& progress,
                             int rowsPerStep) {
    const int stepRows = std::max(rowsPerStep, 1);
    Transaction transaction(db);
    // The table is read in its own order: an index holding the age (gone since store
    // version 6) made every age written cost two index writes.
    requireFit(db, currentYear);
    // The year is a number of ours, never typed text: it goes into the statement as digits.
    const QString age = QStringLiteral("(%1 - AnoFundacao) || ' anos'").arg(currentYear);
    const QString update = QStringLiteral("update Clubes set IdadeClube = %1 where Codigo > ? and "
                                          "Codigo <= ? and AnoFundacao is not null and "
                                          "IdadeClube is not %1")
                               .arg(age);
    const qint64 total = db.value(Counts::totalStatement()).toLongLong();
    qint64 done = 0;
    const qint64 last = db.value(QStringLiteral("select max(Codigo) from Clubes")).toLongLong();
    QVariant from = db.value(QStringLiteral("select min(Codigo) - 1 from Clubes"));
    while (from.isValid() && !from.isNull() && from.toLongLong() < last) {
        if (progress && !progress(int(total > 0 ? std::min(done, total) * rowsShare / total : 0)))
            return std::nullopt; // rolled back
        const QVariant to = stepEnd(db, from.toLongLong(), stepRows);
        run(db, update, {from, to.isValid() ? to : QVariant(std::numeric_limits<qint64>::max())});
        done += stepRows;
        from = to;
    }
    if (progress && !progress(rowsShare))
        return std::nullopt; // the last moment to stop: the commit cannot be

    // A new year rewrites every page of the clubs; copying them from the log into the
    // store file is left to the data module's checkpointer thread, not to this wait.
    transaction.commit();
    return int(db.value(QStringLiteral("select coalesce(sum(Qtde), 0) from %1 "
                                       "where AnoFundacao is not null")
                            .arg(yearCounts()))
                   .toLongLong());
}

} // namespace velmora
