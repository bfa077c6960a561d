#include "registry/Idade.h"

#include "platform/Captions.h"
#include "platform/Dialogs.h"
#include "platform/Services.h"
#include "registry/Clubes.h"
#include "store/Counts.h"
#include "store/Module.h"

#include <QSqlError>
#include <QSqlQuery>
#include <algorithm>
#include <cmath>
#include <vector>

namespace velmora {

namespace {

const QString idadeClube = QStringLiteral("IdadeClube");

int fieldWidth(const TableDef& table, const QString& name) {
    for (const FieldDef& field : table.fields)
        if (field.name == name)
            return field.width;
    return 0;
}

QSqlQuery run(Database& db, const QString& sql, const QVariantList& values) {
    return runStatement(db.handle(), sql, values);
}

struct WrongAges {
    QVariant year;
    QString age; // the text the year's clubs must hold
    qint64 clubs;
};

// The foundation years whose clubs do not all hold the right age, each with the
// clubs that do not: three seeks in the index of years and ages per year, however
// many clubs there are.
std::vector<WrongAges> wrongAges(Database& db, const QString& age) {
    QSqlQuery years = run(db,
                          QStringLiteral("select AnoFundacao, %1 from ContagemAnos where "
                                         "AnoFundacao is not null group by AnoFundacao")
                              .arg(age),
                          {});
    std::vector<WrongAges> wrong;
    while (years.next()) {
        const WrongAges year{years.value(0), years.value(1).toString(), 0};
        QSqlQuery count =
            run(db,
                QStringLiteral("select (select count(*) from Clubes where AnoFundacao = ? and "
                               "IdadeClube is null) + (select count(*) from Clubes where "
                               "AnoFundacao = ? and IdadeClube < ?) + (select count(*) from Clubes "
                               "where AnoFundacao = ? and IdadeClube > ?)"),
                {year.year, year.year, year.age, year.year, year.age});
        const qint64 clubs = count.next() ? count.value(0).toLongLong() : 0;
        if (clubs > 0)
            wrong.push_back({year.year, year.age, clubs});
    }
    return wrong;
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
    // years outside [lowest, highest] are found by two seeks in the year index (written
    // as one "or", the engine would read every club).
    const int digits = width - 5;
    const qint64 lowest = currentYear - (qint64(std::pow(10, digits)) - 1);
    const qint64 highest = currentYear + (qint64(std::pow(10, digits - 1)) - 1);
    Transaction transaction(db);
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
    const std::vector<WrongAges> wrong = wrongAges(db, age);
    qint64 total = 0;
    for (const WrongAges& year : wrong)
        total += year.clubs;
    if (total > qint64(db.value(Counts::totalStatement()).toLongLong()) / 8) {
        // Most ages change (a new year): in table order (no index: the year index would
        // visit the rows, and so the pages, in random order), only the wrong ones.
        db.exec(QStringLiteral("update Clubes not indexed set IdadeClube = %1 "
                               "where AnoFundacao is not null and IdadeClube is not %1")
                    .arg(age));
    } else {
        for (const WrongAges& year : wrong)
            run(db,
                QStringLiteral("update Clubes set IdadeClube = ? where AnoFundacao = ? and "
                               "IdadeClube is not ?"),
                {year.age, year.year, year.age});
    }
    transaction.commit();
    return int(db.value(QStringLiteral("select coalesce(sum(Qtde), 0) from ContagemAnos "
                                       "where AnoFundacao is not null"))
                   .toLongLong());
}

void recalcularIdades(Services& services, TFrmClubes& editor) {
    Table& clubs = services.dm().TblClubes;
    if (clubs.isEmpty()) {
        services.dialogs.message(programName, QStringLiteral("Não há clubes cadastrados"),
                                 MsgIcon::Warning);
        return;
    }
    const int rewritten = storeAges(services.dm().database(), services.clock.currentYear());
    const int withoutYear = clubs.rowCount() - rewritten;
    clubs.refresh();
    clubs.last();
    // The ages are stored whatever the last club's pictures do: the display reports
    // its own failures and the user is still told.
    editor.recordDisplay();
    services.dialogs.message(programName, agesStoredText(withoutYear), MsgIcon::Information);
}

QString agesStoredText(int withoutYear) {
    QString text = QStringLiteral("Idades atualizadas com sucesso!");
    // Those clubs still show an age computed in some earlier year.
    if (withoutYear == 1)
        text += QStringLiteral("\n1 clube sem ano de fundação manteve a idade anterior.");
    else if (withoutYear > 1)
        text += QStringLiteral("\n%1 clubes sem ano de fundação mantiveram a idade anterior.")
                    .arg(withoutYear);
    return text;
}

} // namespace velmora
