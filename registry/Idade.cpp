#include "registry/Idade.h"

#include "platform/Dialogs.h"
#include "platform/Services.h"
#include "registry/Clubes.h"
#include "store/Module.h"

#include <algorithm>

namespace velmora {

namespace {

const QString idadeClube = QStringLiteral("IdadeClube");

int fieldWidth(const TableDef& table, const QString& name) {
    for (const FieldDef& field : table.fields)
        if (field.name == name)
            return field.width;
    return 0;
}

// Rewriting every club touches every page of the table: while it runs, the page cache
// holds the whole store (up to a limit), so pages are written once, at the commit,
// instead of spilling to the log one by one.
class WholeStoreCache final {
public:
    explicit WholeStoreCache(Database& db)
        : db_(db), before_(db.value(QStringLiteral("PRAGMA cache_size")).toLongLong()) {
        constexpr qint64 limitKiB = 256 * 1024;
        const qint64 pages = db.value(QStringLiteral("PRAGMA page_count")).toLongLong();
        const qint64 pageSize = db.value(QStringLiteral("PRAGMA page_size")).toLongLong();
        const qint64 wantedKiB = std::min(limitKiB, pages * pageSize / 1024 + 1024);
        if (before_ >= 0 || -before_ < wantedKiB)
            db.exec(QStringLiteral("PRAGMA cache_size = -%1").arg(wantedKiB));
    }
    ~WholeStoreCache() {
        try {
            db_.exec(QStringLiteral("PRAGMA cache_size = %1").arg(before_));
        } catch (...) {
            // Only memory is at stake; the ages are stored either way.
        }
    }
    WholeStoreCache(const WholeStoreCache&) = delete;
    WholeStoreCache& operator=(const WholeStoreCache&) = delete;

private:
    Database& db_;
    qint64 before_;
};

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
    const WholeStoreCache cache(db);
    Transaction transaction(db);
    const QVariant tooLong = db.value(
        QStringLiteral("select NomeClube || ' (' || AnoFundacao || ')' from Clubes "
                       "where AnoFundacao is not null and length(%1) > %2 order by Codigo limit 1")
            .arg(age)
            .arg(width));
    if (tooLong.isValid())
        throw StoreError(QStringLiteral("A idade do clube %1 não cabe no campo IdadeClube "
                                        "(no máximo %2 caracteres); verifique o ano de fundação.")
                             .arg(tooLong.toString())
                             .arg(width));
    db.exec(
        QStringLiteral("update Clubes set IdadeClube = %1 where AnoFundacao is not null").arg(age));
    const int rows = db.value(QStringLiteral("select changes()")).toInt();
    transaction.commit();
    return rows;
}

void recalcularIdades(Services& services, TFrmClubes& editor) {
    Table& clubs = services.dm().TblClubes;
    if (clubs.isEmpty()) {
        services.dialogs.message(QStringLiteral("Velmora"),
                                 QStringLiteral("Não há clubes cadastrados"), MsgIcon::Warning);
        return;
    }
    const int rewritten = storeAges(services.dm().database(), services.clock.currentYear());
    const int withoutYear = clubs.rowCount() - rewritten;
    clubs.refresh();
    clubs.last();
    // The ages are stored whatever the last club's pictures do: the display reports
    // its own failures and the user is still told.
    editor.recordDisplay();
    services.dialogs.message(QStringLiteral("Velmora"), agesStoredText(withoutYear),
                             MsgIcon::Information);
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
