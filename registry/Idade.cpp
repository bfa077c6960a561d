#include "registry/Idade.h"

#include "app/VelmoraApp.h"
#include "platform/Dialogs.h"
#include "registry/Clubes.h"
#include "store/Module.h"

#include <algorithm>
#include <cmath>

namespace velmora {

namespace {

const QString idadeClube = QStringLiteral("IdadeClube");

int fieldWidth(const TableDef& table, const QString& name) {
    for (const FieldDef& field : table.fields)
        if (field.name == name)
            return field.width;
    return 0;
}

} // namespace

QString ageText(int currentYear, int foundationYear) {
    return QString::number(qint64(currentYear) - foundationYear) + QStringLiteral(" anos");
}

void setPendingAge(Table& clubs, int currentYear, const QString& yearText) {
    bool ok = false;
    const int year = yearText.trimmed().toInt(&ok);
    if (!ok)
        throw StoreError(QStringLiteral("\"%1\" não é um ano de fundação válido.").arg(yearText));
    clubs.setFieldText(idadeClube, ageText(currentYear, year));
}

int storeAges(Database& db, int currentYear) {
    const int width = fieldWidth(Schema::table(QStringLiteral("Clubes")), idadeClube);
    // The year is a number of ours, never typed text: it goes into the statement as digits.
    const QString age = QStringLiteral("(%1 - AnoFundacao) || ' anos'").arg(currentYear);
    // An age fits when its number has at most width - 5 characters (" anos" is 5): the
    // years outside [lowest, highest] are found through the year index, not a scan.
    const int digits = width - 5;
    const qint64 lowest = currentYear - (qint64(std::pow(10, digits)) - 1);
    const qint64 highest = currentYear + (qint64(std::pow(10, digits - 1)) - 1);
    Transaction transaction(db);
    const QVariant tooLong =
        db.value(QStringLiteral(
                     "select NomeClube || ' (' || AnoFundacao || ')' from Clubes where Codigo = "
                     "(select min(Codigo) from Clubes where AnoFundacao < %1 or AnoFundacao > %2)")
                     .arg(lowest)
                     .arg(highest));
    if (tooLong.isValid())
        throw StoreError(QStringLiteral("A idade do clube %1 não cabe no campo IdadeClube "
                                        "(no máximo %2 caracteres); verifique o ano de fundação.")
                             .arg(tooLong.toString())
                             .arg(width));
    // In table order (no index: the year index would visit the rows, and so the pages,
    // in random order), and only the rows whose age is not already the right text.
    db.exec(QStringLiteral("update Clubes not indexed set IdadeClube = %1 "
                           "where AnoFundacao is not null and IdadeClube is not %1")
                .arg(age));
    transaction.commit();
    return int(db.value(QStringLiteral("select coalesce(sum(Qtde), 0) from ContagemAnos "
                                       "where AnoFundacao is not null"))
                   .toLongLong());
}

void recalcularIdades(VelmoraApp& app) {
    Table& clubs = app.dm().TblClubes;
    if (clubs.isEmpty()) {
        app.dialogs.message(QStringLiteral("Velmora"), QStringLiteral("Não há clubes cadastrados"),
                            MsgIcon::Warning);
        return;
    }
    storeAges(app.dm().database(), app.clock.currentYear());
    clubs.refresh();
    clubs.last();
    // The ages are stored whatever the last club's pictures do: the display reports
    // its own failures and the user is still told.
    app.FrmClubes->recordDisplay();
    app.dialogs.message(QStringLiteral("Velmora"),
                        QStringLiteral("Idades atualizadas com sucesso!"), MsgIcon::Information);
}

} // namespace velmora
