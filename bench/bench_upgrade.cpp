// Opening a big catalogue made by an older Velmora: the store upgrade from version 2,
// through the program's code and as the bare engine running the same statements.
#include "bench/ClubGenerator.h"
#include "bench/Scale.h"
#include "store/Database.h"
#include "store/StoreError.h"
#include "store/Schema.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <map>
#include <memory>
#include <sqlite3.h>

using namespace velmora;

namespace {

bool verbose() {
    return qEnvironmentVariableIsSet("VELMORA_BENCH_VERBOSE");
}

// Indexes of a version 2 store: the gallery indexes without the order key, and the
// ones the counters used before the count tables.
const char* const versionTwoIndexes[] = {
    "ClubesIdentificadorNome ON Clubes (Identificador, NomeClube)",
    "ClubesNome ON Clubes (NomeClube)",
    "ClubesPais ON Clubes (PaisClube, Identificador, NomeClube)",
    "ClubesUFNome ON Clubes (UFClube, Identificador, NomeClube)",
    "ClubesAnoNome ON Clubes (AnoFundacao, Identificador, NomeClube)",
    "ClubesFederacaoNome ON Clubes (Federacao, Identificador, NomeClube)",
    "ClubesExtintoNome ON Clubes (Extinto, NomeClube)",
    "ClubesIdentificadorExtinto ON Clubes (Identificador, Extinto)",
    "ClubesIdentificadorPais ON Clubes (Identificador, PaisClube)",
    "PaisesNome ON Paises (NomePais)",
    "UFSigla ON UF (UF)",
    "CidadesPaisEstado ON Cidades (\"País\", Estado, Cidade)",
    "FederacaoNome ON Federacao (NomeFederacao)",
};

// Turns a current store back into what version 2 wrote: no count tables, search
// indexes, order keys or their triggers, the old indexes.
void downgradeToVersionTwo(const QString& dir) {
    Database db(dir);
    Schema::dropDerived(db.handle());
    for (const QString& trigger : Schema::triggerNames())
        db.exec(QStringLiteral("DROP TRIGGER IF EXISTS \"%1\"").arg(trigger));
    for (const OrderKeyDef& key : Schema::orderKeys())
        db.exec(QStringLiteral("ALTER TABLE %1 DROP COLUMN %2").arg(key.table, key.key));
    for (const char* index : versionTwoIndexes)
        db.exec(QStringLiteral("CREATE INDEX %1").arg(QString::fromUtf8(index)));
    db.exec(QStringLiteral("PRAGMA user_version = 2"));
    db.exec(QStringLiteral("PRAGMA journal_mode = DELETE"));
    db.exec(QStringLiteral("VACUUM"));
}

// The store file of a version 2 catalogue of `clubs`, made once (kept in
// VELMORA_BENCH_STORES when set).
QString versionTwoStore(int clubs) {
    static std::map<int, std::unique_ptr<QTemporaryDir>> made;
    QString dir;
    const QString kept = qEnvironmentVariable("VELMORA_BENCH_STORES");
    if (!kept.isEmpty()) {
        dir = QStringLiteral("%1/%2-v2").arg(kept).arg(clubs);
    } else {
        auto& temp = made[clubs];
        if (!temp)
            temp = std::make_unique<QTemporaryDir>();
        dir = temp->filePath(QStringLiteral("Velmora"));
    }
    const QString store = QDir(dir).filePath(QLatin1String(Database::fileName));
    if (!QFileInfo::exists(store)) {
        bench::makeStore(dir, clubs);
        downgradeToVersionTwo(dir);
    }
    return store;
}

// A fresh copy of the version 2 store in a new folder; the folder.
QString freshCopy(int clubs) {
    const QString dir = bench::scratchFolder();
    QFile::copy(versionTwoStore(clubs), QDir(dir).filePath(QLatin1String(Database::fileName)));
    return dir;
}

void BM_Upgrade_FromVersion2(benchmark::State& state) {
    const int clubs = int(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        const QString dir = freshCopy(clubs);
        state.ResumeTiming();
        const qint64 before =
            QFileInfo(QDir(dir).filePath(QLatin1String(Database::fileName))).size();
        {
            Database db(dir);
            int reports = 0;
            QElapsedTimer phase;
            QString current;
            Schema::check(db.handle(), {[&](const QString& step, int) {
                                            ++reports;
                                            if (step == current)
                                                return;
                                            if (!current.isEmpty() && verbose())
                                                qInfo("%6lld ms  %s", phase.elapsed(),
                                                      qPrintable(current));
                                            current = step;
                                            phase.start();
                                        },
                                        {}});
            state.PauseTiming();
            if (verbose())
                qInfo("%6lld ms  %s", phase.elapsed(), qPrintable(current));
            if (reports == 0)
                state.SkipWithError("the upgrade reported no progress");
            // What the upgrade wrote beside the old store: kept copy, growth, log.
            qint64 written = 0;
            for (const QFileInfo& f : QDir(dir).entryInfoList(QDir::Files))
                written += f.size();
            state.counters["disk_x_store"] = double(written - before) / double(before);
        }
        state.ResumeTiming();
    }
}
VELMORA_CATALOGUE_BENCHMARK(BM_Upgrade_FromVersion2, benchmark::kSecond, 1);

// Top-level statements the engine ran on a connection (trigger bodies left out).
class Recorder final {
public:
    explicit Recorder(QSqlDatabase& db) : handle_(engineHandle(db)) {
        sqlite3_trace_v2(handle_, SQLITE_TRACE_STMT, &Recorder::traced, this);
    }
    ~Recorder() { sqlite3_trace_v2(handle_, 0, nullptr, nullptr); }
    QStringList statements;

private:
    sqlite3* handle_;
    static int traced(unsigned, void* self, void* statement, void* text) {
        const char* sql = static_cast<const char*>(text);
        if (qstrncmp(sql, "--", 2) == 0)
            return 0;
        char* expanded = sqlite3_expanded_sql(static_cast<sqlite3_stmt*>(statement));
        static_cast<Recorder*>(self)->statements << QString::fromUtf8(expanded ? expanded : sql);
        sqlite3_free(expanded);
        return 0;
    }
};

// The statements the upgrade runs, recorded once per size, with the folder they ran in.
struct Recording {
    QString dir;
    QStringList statements;
};
const Recording& upgradeStatements(int clubs) {
    static std::map<int, Recording> recorded;
    Recording& r = recorded[clubs];
    if (r.statements.isEmpty()) {
        r.dir = freshCopy(clubs);
        Database db(r.dir);
        Recorder recorder(db.handle());
        Schema::check(db.handle());
        r.statements = recorder.statements;
    }
    return r;
}

// The same statements given straight to the engine, on a connection with the same
// functions: what the upgrade would cost with nothing of the program around it.
void BM_Upgrade_SqliteAlone(benchmark::State& state) {
    const int clubs = int(state.range(0));
    const Recording& recording = upgradeStatements(clubs);
    for (auto _ : state) {
        state.PauseTiming();
        const QString dir = freshCopy(clubs);
        Database db(dir);
        sqlite3* handle = engineHandle(db.handle());
        state.ResumeTiming();
        for (QString sql : recording.statements) {
            sql.replace(recording.dir, dir);
            char* error = nullptr;
            if (sqlite3_exec(handle, sql.toUtf8().constData(), nullptr, nullptr, &error) !=
                SQLITE_OK) {
                state.SkipWithError(error);
                sqlite3_free(error);
                return;
            }
        }
    }
}
VELMORA_CATALOGUE_BENCHMARK(BM_Upgrade_SqliteAlone, benchmark::kSecond, 1);

} // namespace
