// A catalogue that moves: check catches paths into another folder, relocate mends
// them (Linux and Windows paths), backup while another connection writes, restore
// elsewhere, a damaged store, badge files no club names.
#include "core/Pictures.h"
#include "store/Database.h"
#include "tests/tools/DataDirTest.h"
#include "tools/datadir/Backup.h"
#include "tools/datadir/DataDir.h"
#include "tools/datadir/MoveCommands.h"
#include "tools/datadir/Relocate.h"

#include <QDateTime>
#include <QTemporaryDir>
#include <QtTest>
#include <atomic>
#include <cstring>
#include <functional>
#include <sqlite3.h>
#include <thread>

using namespace velmora;
using namespace velmora::datadir;
using namespace velmora::test;

namespace {

struct Column {
    const char* table;
    const char* field;
};
// Every column that holds a picture path.
const Column pictureColumns[] = {
    {"Paises", "BandeiraPais"},  {"UF", "BandeiraUF"},       {"Federacao", "LogoFederacao"},
    {"Clubes", "EscudoClube"},   {"Clubes", "BandeiraPais"}, {"Clubes", "BandeiraUF"},
    {"Clubes", "LogoFederacao"},
};

void copyTree(const QString& from, const QString& to) {
    QDirIterator it(from, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString target = to + QLatin1Char('/') + QDir(from).relativeFilePath(source);
        QDir().mkpath(QFileInfo(target).path());
        QFile file(source);
        QVERIFY2(file.copy(target),
                 qPrintable(source + " -> " + target + ": " + file.errorString()));
    }
}

// Every non-empty picture path of the store, in a fixed order.
QStringList picturePaths(const QString& dir) {
    Database db(dir);
    QStringList paths;
    for (const Column& c : pictureColumns)
        paths += columnOf(db, QStringLiteral("select \"%1\" from \"%2\" where \"%1\" <> '' "
                                             "order by rowid")
                                  .arg(QLatin1String(c.field), QLatin1String(c.table)));
    return paths;
}

// Rewrites every picture path of the store through change.
void rewritePaths(const QString& dir, const std::function<QString(const QString&)>& change) {
    Database db(dir);
    for (const Column& c : pictureColumns) {
        const QList<QStringList> rows =
            rowsOf(db, QStringLiteral("select rowid, \"%1\" from \"%2\"")
                           .arg(QLatin1String(c.field), QLatin1String(c.table)));
        QSqlQuery update(db.handle());
        update.prepare(QStringLiteral("update \"%2\" set \"%1\" = ? where rowid = ?")
                           .arg(QLatin1String(c.field), QLatin1String(c.table)));
        for (const QStringList& row : rows) {
            update.addBindValue(row[1].isEmpty() ? row[1] : change(row[1]));
            update.addBindValue(row[0]);
            QVERIFY2(update.exec(), qPrintable(update.lastError().text()));
        }
    }
}

// The clubs without their picture paths, which a move rightly changes.
QList<QStringList> clubsWithoutPaths(const QString& dir) {
    Database db(dir);
    return rowsOf(
        db, QStringLiteral("select Codigo, NomeClube, NomeCompletoClube, AnoFundacao, PaisClube, "
                           "UFClube, CidadeClube, IdadeClube, Federacao, Identificador, Extinto, "
                           "Estadio, Capacidade from Clubes order by Codigo"));
}

// check, and the exit it failed with (Ok when it returned).
Exit checkExit(const QString& dir, CheckReport* report = nullptr, QString* message = nullptr) {
    try {
        const CheckReport r = check(dir);
        if (report)
            *report = r;
        return Exit::Ok;
    } catch (const DataDirError& e) {
        if (message)
            *message = e.text();
        return e.code();
    }
}

int widthOf(const char* table, const char* field) {
    for (const FieldDef& f : Schema::table(QLatin1String(table)).fields)
        if (f.name == QLatin1String(field))
            return f.width;
    return 0;
}

int total(const QMap<QString, int>& counts) {
    int sum = 0;
    for (int n : counts)
        sum += n;
    return sum;
}

// While alive, the first connection opened is interrupted part-way through its
// integrity check (the engine's progress callback, installed on every new connection).
class InterruptedIntegrityCheck final {
public:
    InterruptedIntegrityCheck() {
        state() = {};
        sqlite3_auto_extension(reinterpret_cast<void (*)()>(&InterruptedIntegrityCheck::opened));
    }
    ~InterruptedIntegrityCheck() {
        sqlite3_cancel_auto_extension(
            reinterpret_cast<void (*)()>(&InterruptedIntegrityCheck::opened));
    }
    bool happened() const { return state().interrupted; }

private:
    struct State {
        int connections = 0;
        int calls = 0; // progress calls while the check runs
        bool interrupted = false;
    };
    static State& state() {
        static State s;
        return s;
    }
    static int opened(sqlite3* db, const char**, const void*) {
        // Every connection: which one runs the check is the store's business.
        ++state().connections;
        sqlite3_progress_handler(db, 50, &InterruptedIntegrityCheck::progress, db);
        return SQLITE_OK;
    }
    static bool checking(sqlite3* db) {
        for (sqlite3_stmt* s = sqlite3_next_stmt(db, nullptr); s; s = sqlite3_next_stmt(db, s))
            if (sqlite3_stmt_busy(s) && sqlite3_sql(s) &&
                std::strstr(sqlite3_sql(s), "integrity_check"))
                return true;
        return false;
    }
    static int progress(void* db) {
        if (state().interrupted || !checking(static_cast<sqlite3*>(db)) || ++state().calls < 3)
            return 0;
        state().interrupted = true;
        return 1;
    }
};

} // namespace

Q_DECLARE_METATYPE(velmora::datadir::Exit)

class TestDataDirMoves final : public QObject {
    Q_OBJECT

private:
    QTemporaryDir tmp_;
    QString sample_; // a sample catalogue, never changed
    int runs_ = 0;

    QString fresh(const QString& name) {
        return tmp_.path() + QStringLiteral("/%1-%2").arg(name).arg(++runs_);
    }
    // A new symbolic link (outside every folder a test compares) to target.
    QString linkTo(const QString& target) {
        const QString link = fresh(QStringLiteral("link"));
        if (!QFile::link(target, link))
            qFatal("cannot link %s", qPrintable(link));
        return link;
    }
    // A copy of the sample catalogue in a new folder, its paths still pointing home.
    QString movedCopy() {
        const QString dir = fresh(QStringLiteral("moved"));
        copyTree(sample_, dir);
        return dir;
    }

private slots:
    void initTestCase() {
        QVERIFY(tmp_.isValid());
        // Trashed files land here, not in the trash of whoever runs the tests (a home
        // on the same disk as the files: the trash is then the home's).
        qputenv("HOME", QFile::encodeName(tmp_.path()));
        qputenv("XDG_DATA_HOME", QFile::encodeName(tmp_.filePath(QStringLiteral("xdg"))));
        sample_ = tmp_.filePath(QStringLiteral("sample"));
        create({sample_, true, 2024});
        CheckReport report;
        QCOMPARE(checkExit(sample_, &report), Exit::Ok);
        QVERIFY(report.problems.isEmpty() && report.outside.isEmpty() && report.strays.isEmpty());
    }

    void movedCatalogueIsRelocated_data() {
        QTest::addColumn<QString>("from");
        QTest::newRow("Linux folder copied") << "copy";
        QTest::newRow("Windows catalogue") << "windows";
        // "/x/Velmora2" is not inside "/x/Velmora".
        QTest::newRow("folder named like this one and more") << "longer name";
    }
    void movedCatalogueIsRelocated() {
        QFETCH(QString, from);
        const QString dir = movedCopy();
        QString home = sample_;
        if (from == "longer name") {
            home = dir + QStringLiteral("b");
            copyTree(sample_, home);
            rewritePaths(dir, [&](const QString& path) { return home + path.mid(sample_.size()); });
        }
        if (from == "windows") {
            // As kept on Windows: backslashes, folder names in other letter cases, a
            // flag folder copied as "BANDEIRAS" and a badge file in capitals.
            home = QStringLiteral("C:\\Velmora");
            rewritePaths(dir, [&](const QString& path) {
                QString p = QStringLiteral("C:\\Velmora") + path.mid(sample_.size());
                p.replace(QLatin1Char('/'), QLatin1Char('\\'));
                p.replace(QStringLiteral("\\Distintivos\\"), QStringLiteral("\\distintivos\\"));
                return p.replace(QStringLiteral("\\Estados\\"), QStringLiteral("\\ESTADOS\\"));
            });
            QVERIFY(QDir(dir).rename(QStringLiteral("Bandeiras"), QStringLiteral("BANDEIRAS")));
            QVERIFY(QFile::rename(dir + QStringLiteral("/Distintivos/santos.jpg"),
                                  dir + QStringLiteral("/Distintivos/SANTOS.JPG")));
        }
        const QStringList before = picturePaths(dir);

        CheckReport report;
        QCOMPARE(checkExit(dir, &report), Exit::Ok);
        QCOMPARE(report.outside.keys(), QStringList{home});
        QCOMPARE(report.outside.value(home), before.size());
        QVERIFY(report.strays.isEmpty()); // a moved catalogue's badges are still its own

        const RelocateReport moved = relocate({dir, false});
        QVERIFY(moved.applied);
        QVERIFY(moved.blocking.isEmpty() && moved.skipped.isEmpty());
        QCOMPARE(moved.changed, before.size());
        QCOMPARE(moved.from.value(home), before.size());

        const QStringList after = picturePaths(dir);
        Pictures pictures;
        for (const QString& path : after) {
            QVERIFY2(path.startsWith(dir + QLatin1Char('/')), qPrintable(path));
            QVERIFY2(!pictures.load(path).isNull(), qPrintable(path));
        }
        QCOMPARE(checkExit(dir, &report), Exit::Ok);
        QVERIFY(report.problems.isEmpty() && report.outside.isEmpty() && report.strays.isEmpty());
        QCOMPARE(clubsWithoutPaths(dir), clubsWithoutPaths(sample_));

        const RelocateReport again = relocate({dir, false});
        QVERIFY(again.applied);
        QCOMPARE(again.changed, 0);
        QCOMPARE(picturePaths(dir), after);
    }

    // A picture path may fill its field to the last character, never beyond.
    void relocateFillsTheFieldExactly_data() {
        QTest::addColumn<int>("over");
        QTest::newRow("exactly the width") << 0;
        QTest::newRow("one character more") << 1;
    }
    void relocateFillsTheFieldExactly() {
        QFETCH(int, over);
        const int width = widthOf("Clubes", "EscudoClube");
        qsizetype tail = 0; // the longest path below the data folder
        for (const QString& path : picturePaths(sample_))
            tail = std::max(tail, path.size() - sample_.size());
        const qsizetype name = width + over - tail - tmp_.path().size() - 1;
        QVERIFY(name > 0);
        const QString dir = tmp_.filePath(QString(name, QLatin1Char('w')));
        copyTree(sample_, dir);
        const QStringList before = picturePaths(dir);

        const RelocateReport report = relocate({dir, false});
        QCOMPARE(report.applied, over == 0);
        const QStringList after = picturePaths(dir);
        if (over > 0) {
            QCOMPARE(after, before);
            return;
        }
        qsizetype longest = 0;
        for (const QString& path : after)
            longest = std::max(longest, path.size());
        QCOMPARE(longest, qsizetype(width));
        CheckReport check;
        QCOMPARE(checkExit(dir, &check), Exit::Ok);
        QVERIFY(check.problems.isEmpty() && check.outside.isEmpty());
    }

    // All or nothing: whatever stops one path leaves every path as it was.
    void relocateChangesNothingWhenStopped_data() {
        QTest::addColumn<QString>("stop");
        QTest::newRow("badge missing") << "missing";
        QTest::newRow("path outside every picture folder") << "foreign";
        QTest::newRow("new path too long") << "long";
    }
    void relocateChangesNothingWhenStopped() {
        QFETCH(QString, stop);
        QString dir = movedCopy();
        QString reason;
        if (stop == "missing") {
            QVERIFY(QFile::remove(dir + QStringLiteral("/Distintivos/santos.jpg")));
            reason = QStringLiteral("falta o arquivo Distintivos/santos.jpg");
        } else if (stop == "foreign") {
            Database db(dir);
            db.exec(QStringLiteral("update Clubes set EscudoClube = '/home/x/Imagens/santos.jpg' "
                                   "where NomeClube = 'Santos'"));
            reason = QStringLiteral("não fica numa pasta de figuras");
        } else {
            const QString deep = tmp_.filePath(QString(70, QLatin1Char('p')));
            QVERIFY(QDir().rename(dir, deep));
            dir = deep;
            reason = QStringLiteral("o novo caminho teria");
        }
        const QStringList before = picturePaths(dir);
        const RelocateReport report = relocate({dir, false});
        QVERIFY(!report.applied);
        QCOMPARE(report.changed, 0);
        QVERIFY(!report.blocking.isEmpty());
        const bool named =
            std::any_of(report.blocking.begin(), report.blocking.end(),
                        [&](const Problem& p) { return p.reason.startsWith(reason); });
        QVERIFY2(named, qPrintable(report.blocking.first().reason));
        QCOMPARE(picturePaths(dir), before);

        // --force passes over a missing file, listing it, but never over a field overflow.
        const RelocateReport forced = relocate({dir, true});
        QCOMPARE(forced.applied, stop != "long");
        if (stop == "long") {
            QCOMPARE(picturePaths(dir), before);
            return;
        }
        QCOMPARE(forced.skipped.size(), 1);
        QCOMPARE(forced.skipped.first().field, QStringLiteral("EscudoClube"));
        QCOMPARE(forced.changed, before.size() - 1);
        CheckReport check;
        QCOMPARE(checkExit(dir, &check), Exit::Ok);
        QCOMPARE(total(check.outside), 1); // the one path it could not mend
    }

    void backupWhileWritingRestoresElsewhere() {
        const QString home = movedCopy();
        QVERIFY(relocate({home, false}).applied);
        const QList<QStringList> clubs = clubsWithoutPaths(home);

        // Another connection keeps committing clubs while the copy is taken: the
        // backup neither waits for it nor copies half of a transaction.
        std::atomic<bool> stop{false};
        std::atomic<int> committed{0};
        std::atomic<bool> writeFailed{false};
        const QString otherFields = QStringLiteral(
            "NomeCompletoClube, AnoFundacao, PaisClube, UFClube, CidadeClube, IdadeClube, "
            "EscudoClube, BandeiraPais, BandeiraUF, Federacao, LogoFederacao, Identificador, "
            "Extinto, Estadio, Capacidade");
        std::thread writer([&] {
            try {
                Database db(home);
                for (int code = 1000; !stop && code < 5000; ++code) {
                    db.exec(QStringLiteral("insert into Clubes (Codigo, NomeClube, %2) select %1, "
                                           "'W%1', %2 from Clubes where Codigo = 1")
                                .arg(code)
                                .arg(otherFields));
                    ++committed;
                }
            } catch (const std::exception&) {
                writeFailed = true;
            }
        });
        while (committed < 5 && !writeFailed)
            QThread::msleep(1);
        const QDateTime when(QDate(2026, 3, 1), QTime(14, 5, 9));
        const QString dest = tmp_.filePath(QStringLiteral("copias"));
        BackupReport copy;
        try {
            copy = backup(home, dest, when);
        } catch (const DataDirError& e) {
            stop = true;
            writer.join();
            QFAIL(qPrintable(e.text()));
        }
        stop = true;
        writer.join();
        QVERIFY(!writeFailed); // the backup never kept the writer out
        QCOMPARE(copy.folder, dest + QStringLiteral("/Velmora-copia-2026-03-01-140509"));
        QVERIFY(copy.clubs >= clubs.size() + 5);
        QVERIFY(copy.clubs <= clubs.size() + committed);

        // A second backup in the same second gets a folder of its own.
        const BackupReport second = backup(home, dest, when);
        QCOMPARE(second.folder, copy.folder + QStringLiteral("-2"));
        QCOMPARE(second.pictures, copy.pictures);

        const QString restored = fresh(QStringLiteral("restored"));
        const RestoreReport back = restore(copy.folder, restored);
        QVERIFY(back.relocation.applied);
        QVERIFY(back.relocation.skipped.isEmpty());
        QCOMPARE(back.clubs, copy.clubs);
        CheckReport report;
        QCOMPARE(checkExit(restored, &report), Exit::Ok);
        QVERIFY(report.problems.isEmpty() && report.outside.isEmpty() && report.strays.isEmpty());
        const QList<QStringList> restoredClubs = clubsWithoutPaths(restored);
        QCOMPARE(restoredClubs.mid(0, clubs.size()), clubs); // every row that was there
        QCOMPARE(bytesOf(restored + QStringLiteral("/Distintivos/santos.jpg")),
                 bytesOf(home + QStringLiteral("/Distintivos/santos.jpg")));
    }

    void restoreAndBackupRefuse_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<Exit>("exit");
        QTest::newRow("restore over a store") << "restore-over" << Exit::Refused;
        QTest::newRow("restore from a folder without store") << "restore-empty" << Exit::BadDir;
        QTest::newRow("backup into the data folder") << "backup-inside" << Exit::BadDir;
        QTest::newRow("backup of a folder without store") << "backup-empty" << Exit::BadDir;
        // A destination reaching the data folder through a symbolic link is inside it.
        QTest::newRow("backup through a link to the data folder") << "backup-link" << Exit::BadDir;
        QTest::newRow("backup through a link to a picture folder")
            << "backup-link-deep" << Exit::BadDir;
        QTest::newRow("restore into the backup through a link") << "restore-link" << Exit::BadDir;
    }
    void restoreAndBackupRefuse() {
        QFETCH(QString, command);
        QFETCH(Exit, exit);
        const QString empty = fresh(QStringLiteral("empty"));
        QVERIFY(QDir().mkpath(empty));
        const QString target = fresh(QStringLiteral("target"));
        create({target, false, 2024});
        const QStringList before = treeOf(target);
        try {
            if (command == "restore-over")
                restore(sample_, target);
            else if (command == "restore-empty")
                restore(empty, fresh(QStringLiteral("nothing")));
            else if (command == "backup-inside")
                backup(target, target + QStringLiteral("/copias"));
            else if (command == "backup-empty")
                backup(empty, target);
            else if (command == "backup-link")
                backup(target, linkTo(target) + QStringLiteral("/copias"));
            else if (command == "backup-link-deep")
                backup(target, linkTo(target + QStringLiteral("/Distintivos")));
            else
                restore(target, linkTo(target) + QStringLiteral("/novo"));
            QFAIL("the command went ahead");
        } catch (const DataDirError& e) {
            QCOMPARE(e.code(), exit);
        }
        QCOMPARE(treeOf(target), before);
        QCOMPARE(treeOf(empty), QStringList());
    }

    // A picture the backup lacks: the restore finishes, says which, and points the path
    // into the new folder, so that check names the missing file instead of a move.
    void restoreWithAMissingPictureNamesIt() {
        const QString home = movedCopy();
        QVERIFY(relocate({home, false}).applied);
        // Beside the folder, named like it and more: no part of it.
        const QString dest = home + QStringLiteral("b");
        const BackupReport copy = backup(home, dest);
        QVERIFY(copy.folder.startsWith(dest + QLatin1Char('/')));
        QVERIFY(QFile::remove(copy.folder + QStringLiteral("/Distintivos/santos.jpg")));

        const QString restored = fresh(QStringLiteral("restored"));
        QString printed;
        QTextStream out(&printed);
        QCOMPARE(restoreCommand(copy.folder, restored, out), int(Exit::Problems));
        out.flush();
        const QString missing = restored + QStringLiteral("/Distintivos/santos.jpg");
        QVERIFY2(printed.contains(missing), qPrintable(printed));

        Database db(restored);
        QCOMPARE(valueOf(db, QStringLiteral("select EscudoClube from Clubes where NomeClube = "
                                            "'Santos'")),
                 missing);
        QCOMPARE(clubsWithoutPaths(restored), clubsWithoutPaths(home));
        CheckReport report;
        QCOMPARE(checkExit(restored, &report), Exit::Ok);
        QVERIFY(report.outside.isEmpty());
        QCOMPARE(report.problems.size(), 1);
        QCOMPARE(report.problems.first().path, missing);
    }

    // An engine error part-way through the integrity check is damage like any other:
    // nothing calls the store healthy.
    void integrityCheckCutShortIsDamage_data() {
        QTest::addColumn<QString>("command");
        QTest::newRow("check") << "check";
        QTest::newRow("backup") << "backup";
        QTest::newRow("restore") << "restore";
    }
    void integrityCheckCutShortIsDamage() {
        QFETCH(QString, command);
        const QString home = movedCopy();
        QVERIFY(relocate({home, false}).applied);
        const QString copy = backup(home, fresh(QStringLiteral("copias"))).folder;
        const QString target = fresh(QStringLiteral("target"));
        InterruptedIntegrityCheck interrupted;
        try {
            if (command == "check")
                check(home);
            else if (command == "backup")
                backup(home, fresh(QStringLiteral("copias")));
            else
                restore(copy, target);
            QFAIL("the store was called healthy");
        } catch (const DataDirError& e) {
            QCOMPARE(e.code(), Exit::Problems);
        }
        QVERIFY(interrupted.happened());
        QVERIFY(!QFileInfo::exists(target));
    }

    void damagedStoreIsReported() {
        const QString dir = movedCopy();
        int page = 0;
        int pageSize = 0;
        {
            Database db(dir);
            page = db.value(QStringLiteral("select rootpage from sqlite_master "
                                           "where name = 'ClubesNome'"))
                       .toInt();
            pageSize = db.value(QStringLiteral("PRAGMA page_size")).toInt();
        }
        QVERIFY(page > 1 && pageSize > 0);
        QFile store(dir + QStringLiteral("/Velmora.sqlite"));
        QVERIFY(store.open(QIODevice::ReadWrite));
        QVERIFY(store.seek(qint64(page - 1) * pageSize));
        store.write(QByteArray(pageSize, '\x5a'));
        store.close();

        QString message;
        QCOMPARE(checkExit(dir, nullptr, &message), Exit::Problems);
        QVERIFY2(message.contains(QStringLiteral("danificado")), qPrintable(message));
        QVERIFY2(message.contains(QStringLiteral("restore")), qPrintable(message));
        // A damaged store is no source for a backup either.
        QVERIFY_THROWS_EXCEPTION(DataDirError, backup(dir, fresh(QStringLiteral("copia"))));
    }

    void strayBadgesGoToTheTrash() {
        const QString dir = movedCopy();
        QVERIFY(relocate({dir, false}).applied);
        const QString stray = dir + QStringLiteral("/Distintivos/orfao.jpg");
        QVERIFY(QFile::copy(dir + QStringLiteral("/Distintivos/santos.jpg"), stray));
        {
            Database db(dir); // a club whose row is gone leaves its badge behind
            db.exec(QStringLiteral("delete from Clubes where NomeClube = 'Flamengo'"));
        }
        const QString flamengo = dir + QStringLiteral("/Distintivos/flamengo.jpg");
        QVERIFY(QFile::exists(flamengo));

        CheckReport report;
        QCOMPARE(checkExit(dir, &report), Exit::Ok);
        QCOMPARE(report.strays, (QStringList{flamengo, stray}));
        QVERIFY(report.trashed.isEmpty());
        QVERIFY(QFile::exists(stray)); // listing moves nothing

        const QByteArray bytes = bytesOf(stray);
        report = check(dir, true);
        QCOMPARE(report.trashed, report.strays);
        QVERIFY(!QFile::exists(stray) && !QFile::exists(flamengo));
        const QString trash = tmp_.filePath(QStringLiteral("xdg/Trash/files/orfao.jpg"));
        QCOMPARE(bytesOf(trash), bytes);
        QVERIFY(check(dir).strays.isEmpty());
        QVERIFY(QFile::exists(dir + QStringLiteral("/Distintivos/santos.jpg")));
    }
};

QTEST_GUILESS_MAIN(TestDataDirMoves)
#include "test_datadir_moves.moc"
