#include "store/Ages.h"

#include "store/Counts.h"
#include "store/Database.h"
#include "store/Schema.h"
#include "store/StoreError.h"

#include <QSqlQuery>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <exception>
#include <limits>
#include <mutex>
#include <sqlite3.h>
#include <thread>

namespace velmora {

namespace {

const QString idadeClube = QStringLiteral("IdadeClube");
const QString yearTable = QStringLiteral("IdadesCalculadas");

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

// The age, in the statement's words, of a club founded in `founded` when it is
// `year`: one text for the recount and the triggers, so both agree on every value.
QString ageExpression(const QString& year, const QString& founded) {
    return QStringLiteral("(%1 - %2) || ' anos'").arg(year, founded);
}

QString triggerName(const char* event) {
    return QStringLiteral("ClubesIdades%1").arg(QLatin1String(event));
}

// A club without a year keeps whatever age it has, so only one with a year can be wrong.
void createYearTriggers(QSqlDatabase& db) {
    const QString body =
        QStringLiteral("WHEN NEW.AnoFundacao IS NOT NULL AND EXISTS (SELECT 1 FROM %1 WHERE "
                       "NEW.IdadeClube IS NOT %2) BEGIN DELETE FROM %1; END")
            .arg(yearTable,
                 ageExpression(QStringLiteral("Ano"), QStringLiteral("NEW.AnoFundacao")));
    runStatement(db, QStringLiteral("CREATE TRIGGER %1 AFTER INSERT ON Clubes %2")
                         .arg(triggerName("Inclui"), body));
    runStatement(db, QStringLiteral("CREATE TRIGGER %1 AFTER UPDATE OF AnoFundacao, IdadeClube ON "
                                    "Clubes %2")
                         .arg(triggerName("Altera"), body));
}

// The year every age is right for, or null. A store without the table or one of its
// triggers (made before them, or changed by hand) gets them with no year: the writes
// made meanwhile may have left any age.
QVariant markedYear(Database& db) {
    QStringList names = AgesYear::triggerNames() << yearTable;
    const QVariant present =
        db.value(QStringLiteral("select count(*) from sqlite_master where name in ('%1')")
                     .arg(names.join(QStringLiteral("', '"))));
    if (present.toInt() != names.size()) {
        AgesYear::drop(db.handle());
        AgesYear::build(db.handle());
        return {};
    }
    return db.value(QStringLiteral("select Ano from %1").arg(yearTable));
}

void markYear(Database& db, int year) {
    db.exec(QStringLiteral("delete from %1").arg(yearTable));
    db.exec(QStringLiteral("insert into %1 (Ano) values (%2)").arg(yearTable).arg(year));
}

// The connection's triggers off for the statements prepared meanwhile. Only the year's
// triggers watch IdadeClube, and the recount writes the year itself: run for every
// age written, they made a new year a third slower.
class TriggersOff final {
public:
    explicit TriggersOff(Database& db) : handle_(engineHandle(db.handle())) {
        sqlite3_db_config(handle_, SQLITE_DBCONFIG_ENABLE_TRIGGER, 0, nullptr);
    }
    ~TriggersOff() { sqlite3_db_config(handle_, SQLITE_DBCONFIG_ENABLE_TRIGGER, 1, nullptr); }
    TriggersOff(const TriggersOff&) = delete;
    TriggersOff& operator=(const TriggersOff&) = delete;

private:
    sqlite3* handle_;
};

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

// Writes every age that is not this year's, in steps; false when `progress` asked to
// stop (the caller's transaction then rolls everything back).
bool rewriteAges(Database& db, int currentYear, const AgesProgress& progress, int stepRows) {
    // The table is read in its own order: an index holding the age (gone since store
    // version 6) made every age written cost two index writes.
    // The year is a number of ours, never typed text: it goes into the statement as digits.
    const QString age = ageExpression(QString::number(currentYear), QStringLiteral("AnoFundacao"));
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
            return false;
        const QVariant to = stepEnd(db, from.toLongLong(), stepRows);
        {
            TriggersOff off(db);
            run(db, update,
                {from, to.isValid() ? to : QVariant(std::numeric_limits<qint64>::max())});
        }
        done += stepRows;
        from = to;
    }
    // The last moment to stop: the commit cannot be.
    return !progress || progress(rowsShare);
}

// Between the recount's thread and the caller's: each report waits for its answer.
class Relay final {
public:
    // On the recount's thread: hands over a report and waits for the answer.
    bool report(int percent) {
        std::unique_lock<std::mutex> lock(mutex_);
        percent_ = percent;
        answer_.reset();
        changed_.notify_all();
        changed_.wait(lock, [this] { return answer_.has_value(); });
        return *answer_;
    }
    void finish() {
        const std::lock_guard<std::mutex> lock(mutex_);
        finished_ = true;
        changed_.notify_all();
    }
    // On the caller's thread until the recount finishes: answers each report through
    // `progress`, and calls `meanwhile` when a frame passes without one.
    void serve(const AgesProgress& progress, const std::function<void()>& meanwhile) {
        std::unique_lock<std::mutex> lock(mutex_);
        while (!finished_) {
            if (percent_) {
                const int percent = *percent_;
                percent_.reset();
                lock.unlock();
                bool go = false;
                try {
                    go = !progress || progress(percent);
                } catch (...) {
                    answer(false);
                    throw;
                }
                lock.lock();
                answer_ = go;
                changed_.notify_all();
            } else if (!changed_.wait_for(lock, std::chrono::milliseconds(15),
                                          [this] { return finished_ || percent_.has_value(); }) &&
                       meanwhile) {
                lock.unlock();
                meanwhile();
                lock.lock();
            }
        }
    }

private:
    void answer(bool go) {
        const std::lock_guard<std::mutex> lock(mutex_);
        answer_ = go;
        changed_.notify_all();
    }

    std::mutex mutex_;
    std::condition_variable changed_;
    std::optional<int> percent_;
    std::optional<bool> answer_;
    bool finished_ = false;
};

} // namespace

QString ageText(int currentYear, int foundationYear) {
    return QString::number(qint64(currentYear) - foundationYear) + QStringLiteral(" anos");
}

std::optional<int> storeAges(Database& db, int currentYear, const AgesProgress& progress,
                             int rowsPerStep) {
    Transaction transaction(db);
    requireFit(db, currentYear);
    const QVariant marked = markedYear(db);
    if (marked.isNull() || marked.toLongLong() != currentYear) {
        if (!rewriteAges(db, currentYear, progress, std::max(rowsPerStep, 1)))
            return std::nullopt; // rolled back
        markYear(db, currentYear);
    }
    transaction.commit();
    return int(db.value(QStringLiteral("select coalesce(sum(Qtde), 0) from %1 "
                                       "where AnoFundacao is not null")
                            .arg(yearCounts()))
                   .toLongLong());
}

std::optional<int> storeAgesAside(const QString& dataDir, int currentYear,
                                  const AgesProgress& progress,
                                  const std::function<void()>& meanwhile, int rowsPerStep) {
    Relay relay;
    std::optional<int> result;
    std::exception_ptr failure;
    std::thread recount([&] {
        try {
            // A connection belongs to the thread that opened it, and closes there.
            Database own(dataDir);
            sqlite3_wal_autocheckpoint(engineHandle(own.handle()), 0);
            result = storeAges(
                own, currentYear, [&](int percent) { return relay.report(percent); }, rowsPerStep);
        } catch (...) {
            failure = std::current_exception();
        }
        relay.finish();
    });
    try {
        relay.serve(progress, meanwhile);
    } catch (...) {
        recount.join(); // told to stop: it rolls back
        throw;
    }
    recount.join();
    if (failure)
        std::rethrow_exception(failure);
    return result;
}

void AgesYear::build(QSqlDatabase& db) {
    runStatement(db, QStringLiteral("CREATE TABLE %1 (Ano INTEGER NOT NULL)").arg(yearTable));
    createYearTriggers(db);
}

void AgesYear::drop(QSqlDatabase& db) {
    for (const QString& trigger : triggerNames())
        runStatement(db, QStringLiteral("DROP TRIGGER IF EXISTS %1").arg(trigger));
    runStatement(db, QStringLiteral("DROP TABLE IF EXISTS %1").arg(yearTable));
}

QStringList AgesYear::triggerNames() {
    return {triggerName("Inclui"), triggerName("Altera")};
}

} // namespace velmora
