#include "store/Ages.h"

#include "store/Counts.h"
#include "store/Database.h"
#include "store/Schema.h"
#include "store/StoreError.h"

#include <QSqlQuery>
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

// The count table grouped by foundation year.
QString yearCounts() {
    return Counts::covering({QStringLiteral("AnoFundacao")})->name;
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
                          QStringLiteral("select AnoFundacao, %1 from %2 where "
                                         "AnoFundacao is not null group by AnoFundacao")
                              .arg(age, yearCounts()),
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
    return int(db.value(QStringLiteral("select coalesce(sum(Qtde), 0) from %1 "
                                       "where AnoFundacao is not null")
                            .arg(yearCounts()))
                   .toLongLong());
}

} // namespace velmora
