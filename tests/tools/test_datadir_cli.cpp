// The velmora-datadir binary itself: exit codes, messages, --help, the default folder.
#include "store/DataDirLock.h"
#include "store/Database.h"
#include "tests/support/FileSystemLimits.h"
#include "tests/support/Rows.h"
#include "tests/tools/DataDirTest.h"
#include "tools/datadir/Csv.h"
#include "velmora/Version.h"

#include <QDate>
#include <QDateTime>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>

using namespace velmora;
using namespace velmora::test;
namespace csv = velmora::datadir::csv;

namespace {

struct Result {
    int exit = -1;
    QString out;
    QString err;
};

QString tool() {
    return qEnvironmentVariable("VELMORA_BINARY_DIR") + QStringLiteral("/tools/velmora-datadir");
}

// With room, a number of bytes any file the tool writes may grow to: a full disk.
Result runTool(const QStringList& args, const QString& home = {}, qint64 room = -1) {
    QProcess p;
    if (room >= 0)
        fillDiskOf(p, rlim_t(room));
    if (!home.isEmpty()) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), home);
        p.setProcessEnvironment(env);
    }
    p.start(tool(), args);
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit)
        return {};
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

// Runs the tool and sends it Ctrl+C as soon as a file appears under folder; the exit
// code of a tool that ended on its own, -1 when it was killed by the key.
int interruptOnceFilesAppear(const QStringList& args, const QString& folder) {
    QProcess p;
    p.start(tool(), args);
    if (!p.waitForStarted())
        return -1;
    const auto anyFile = [&folder] {
        return QDirIterator(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories)
            .hasNext();
    };
    QElapsedTimer waited;
    waited.start();
    while (p.state() == QProcess::Running && !anyFile() && waited.elapsed() < 60000)
        QThread::usleep(200);
    ::kill(pid_t(p.processId()), SIGINT);
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit)
        return -1;
    return p.exitCode();
}

QString u(const char* s) {
    return QString::fromUtf8(s);
}

} // namespace

class TestDataDirCli final : public QObject {
    Q_OBJECT

private:
    QTemporaryDir tmp_;
    QString path(const QString& name) const { return tmp_.path() + QLatin1Char('/') + name; }

private slots:
    void initTestCase() { QVERIFY2(QFileInfo(tool()).isExecutable(), qPrintable(tool())); }

    void usage_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exit");
        QTest::addColumn<QString>("says");
        row("help", QStringList{"--help"}, 0, u("Uso: velmora-datadir create"));
        row("help after command", QStringList{"check", "-h"}, 0, u("Códigos de saída"));
        row("version", QStringList{"--version"}, 0, u("velmora-datadir ") + u(velmora::version));
        row("version, short", QStringList{"-v"}, 0, u(velmora::version));
        row("unknown short option", QStringList{"check", "-x"}, 2,
            u("Opção desconhecida para check: -x"));
        row("value on a switch", QStringList{"create", "--sample=sim"}, 2,
            u("A opção --sample não aceita valor"));
        row("option, no command", QStringList{"--force"}, 2, u("Opção desconhecida: --force"));
        row("no command", QStringList{}, 2, u("Falta o comando"));
        row("unknown command", QStringList{"make"}, 2, u("Comando desconhecido: make"));
        row("unknown option", QStringList{"create", "--force"}, 2,
            u("Opção desconhecida para create: --force"));
        row("sample with check", QStringList{"check", "--sample"}, 2,
            u("Opção desconhecida para check"));
        row("two folders", QStringList{"create", "a", "b"}, 2, u("Argumento a mais: b"));
        row("backup without destination", QStringList{"backup"}, 2, u("Falta DESTINO para backup"));
        row("restore without backup", QStringList{"restore"}, 2, u("Falta CÓPIA para restore"));
        row("force with check", QStringList{"check", "--force"}, 2,
            u("Opção desconhecida para check"));
        row("export without a file", QStringList{"export"}, 2, u("Falta ARQUIVO.csv para export"));
        row("export, bad separator", QStringList{"export", "x.csv", "--sep", "|"}, 2,
            u("Separador inválido: \"|\""));
        row("import, missing file", QStringList{"import", "nada.csv"}, 2, u("nada.csv não existe"));
        row("import, unknown encoding", QStringList{"import", "x.csv", "--codificacao", "latin9"},
            2, u("Codificação desconhecida: \"latin9\""));
        row("import-paradox without source", QStringList{"import-paradox"}, 2,
            u("Falta ORIGEM para import-paradox"));
        row("help names the exchange commands", QStringList{"--help"}, 0,
            u("velmora-datadir import-paradox ORIGEM [PASTA]"));
    }
    void usage() {
        QFETCH(QStringList, args);
        QFETCH(int, exit);
        QFETCH(QString, says);
        const Result r = runTool(args, tmp_.path());
        QCOMPARE(r.exit, exit);
        QVERIFY2((exit == 0 ? r.out : r.err).contains(says), qPrintable(r.out + r.err));
        QVERIFY(!QFileInfo::exists(path("Velmora"))); // nothing made in HOME
    }

    void createThenRefuse() {
        const QString dir = path("dados");
        Result r = runTool({"create", dir});
        QCOMPARE(r.exit, 0);
        QVERIFY2(r.out.contains(u("218 países, 27 estados, 201 anos, 35 federações, 138 cidades")),
                 qPrintable(r.out));
        const QByteArray store = bytesOf(dir + "/Velmora.sqlite");
        r = runTool({"create", dir, "--sample"});
        QCOMPARE(r.exit, 3);
        QVERIFY2(r.err.contains(u("já tem um arquivo de dados")), qPrintable(r.err));
        QCOMPARE(bytesOf(dir + "/Velmora.sqlite"), store);
        QVERIFY(QDir(dir + "/Distintivos").isEmpty());
    }

    void badFolder_data() {
        QTest::addColumn<QString>("dir");
        QTest::addColumn<QString>("says");
        QTest::newRow("a file") << "FILE" << u("não é uma pasta");
        QTest::newRow("under a file") << "FILE/dados" << u("Não foi possível criar a pasta");
        QTest::newRow("not writable") << "/proc/velmora-cli" << u("Não foi possível criar a pasta");
        QTest::newRow("too long") << QString(100, QLatin1Char('y')) << u("longo demais");
    }
    void badFolder() {
        QFETCH(QString, dir);
        QFETCH(QString, says);
        writeFile(path("FILE"), "x");
        const QString target = dir.startsWith('/') ? dir : path(dir);
        const Result r = runTool({"create", target});
        QCOMPARE(r.exit, 4);
        QVERIFY2(r.err.contains(says), qPrintable(r.err));
    }

    void sampleThenCheck() {
        const QString dir = path("exemplo");
        Result r = runTool({"create", "--sample", dir});
        QCOMPARE(r.exit, 0);
        QVERIFY2(r.out.contains(u("40 clubes e seleções")), qPrintable(r.out));
        r = runTool({"check", dir});
        QCOMPARE(r.exit, 0);
        QVERIFY2(r.out.startsWith("OK:"), qPrintable(r.out));

        // The age text follows the system date when the tool runs.
        Database db(dir);
        QCOMPARE(valueOf(db, "select IdadeClube from Clubes where NomeClube = 'Flamengo'"),
                 QString::number(QDate::currentDate().year() - 1895) + " anos");
    }

    void checkListsRemovedFlag() {
        const QString dir = path("sem-bandeira");
        QCOMPARE(runTool({"create", dir}).exit, 0);
        QVERIFY(QFile::remove(dir + "/Bandeiras/arg.jpg"));
        const Result r = runTool({"check", dir});
        QCOMPARE(r.exit, 1);
        const QString line = r.out.split('\n').filter(dir + "/Bandeiras/arg.jpg").value(0);
        QVERIFY2(line.startsWith("Paises.DB") && line.contains("ARG - Argentina") &&
                     line.contains("BandeiraPais") && line.endsWith("arquivo ausente"),
                 qPrintable(r.out));
        QVERIFY(r.out.contains(u("1 de 280 figuras não carregam")));
    }

    void checkMissingTable() {
        const QString dir = path("sem-tabela");
        QCOMPARE(runTool({"create", dir}).exit, 0);
        {
            Database db(dir);
            db.exec("drop table Cidades");
        }
        const Result r = runTool({"check", dir});
        QCOMPARE(r.exit, 1);
        QVERIFY2(r.err.contains(u("Tabela não encontrada: Cidades.DB")), qPrintable(r.err));
    }

    // A catalogue copied elsewhere: check names the old folder and the command that
    // mends it; relocate, backup and restore bring it back to working order anywhere.
    void moveBackupRestore() {
        const QString home = path("origem");
        const QString moved = path("movida");
        QCOMPARE(runTool({"create", "--sample", home}).exit, 0);
        QVERIFY(QDir().rename(home, moved));
        Result r = runTool({"check", moved});
        QCOMPARE(r.exit, 1);
        QVERIFY2(r.out.contains(u("419 caminhos apontam para fora da pasta: 419 em ") + home),
                 qPrintable(r.out));
        QVERIFY2(r.out.contains(u("velmora-datadir relocate ") + moved), qPrintable(r.out));

        r = runTool({"relocate", moved});
        QCOMPARE(r.exit, 0);
        QVERIFY2(r.out.startsWith(u("419 caminhos de figuras")), qPrintable(r.out));
        r = runTool({"relocate", moved});
        QCOMPARE(r.exit, 0);
        QVERIFY2(r.out.startsWith(u("Nada a corrigir")), qPrintable(r.out));
        writeFile(moved + "/Distintivos/sobra.jpg", bytesOf(moved + "/Distintivos/santos.jpg"));
        r = runTool({"check", moved});
        QCOMPARE(r.exit, 1);
        QVERIFY2(r.out.contains(u("check --fix")), qPrintable(r.out));
        r = runTool({"check", "--fix", moved});
        QCOMPARE(r.exit, 0);
        QVERIFY2(r.out.contains(u("foi para a lixeira")) && r.out.contains(u("OK:")),
                 qPrintable(r.out));
        QVERIFY(!QFileInfo::exists(moved + "/Distintivos/sobra.jpg"));

        r = runTool({"backup", moved, path("copias")});
        QCOMPARE(r.exit, 0);
        const QStringList copies =
            QDir(path("copias")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        QCOMPARE(copies.size(), 1);
        const QString copy = path("copias/") + copies.first();
        QVERIFY2(r.out.contains(copy), qPrintable(r.out));
        const QString restored = path("restaurada");
        r = runTool({"restore", copy, restored});
        QCOMPARE(r.exit, 0);
        QVERIFY2(r.out.contains(u("40 clubes e seleções")), qPrintable(r.out));
        r = runTool({"check", restored});
        QCOMPARE(r.exit, 0);
        QVERIFY2(r.out.startsWith("OK:"), qPrintable(r.out));
        r = runTool({"restore", copy, restored});
        QCOMPARE(r.exit, 3);
        QVERIFY2(r.err.contains(u("já tem um arquivo de dados")), qPrintable(r.err));
    }

    // Export, export again, import into an empty catalogue, import again: what a user
    // sees and the exit code of each step.
    void exchangeJourney() {
        const QString from = path("troca-origem"), to = path("troca-destino");
        const QString file = from + "/clubes.csv";
        QCOMPARE(runTool({"create", from, "--sample"}).exit, 0);
        QCOMPARE(runTool({"create", to}).exit, 0);
        Result r = runTool({"export", from, file, "--sep", ","});
        QCOMPARE(r.exit, 0);
        QVERIFY2(r.out.startsWith(u("40 clubes e seleções exportados")), qPrintable(r.out));
        QCOMPARE(runTool({"export", from, file}).exit, 3); // never overwritten
        r = runTool({"import", to, file});
        QCOMPARE(r.exit, 0);
        QVERIFY2(r.out.startsWith(u("40 clubes e seleções importados")), qPrintable(r.out));
        QCOMPARE(runTool({"check", to}).exit, 0);
        r = runTool({"import", to, file});
        QCOMPARE(r.exit, 1);
        const QStringList lines = r.out.split('\n');
        QVERIFY2(lines.value(0).startsWith(u("Nada foi importado")), qPrintable(r.out));
        QVERIFY2(lines.value(2).startsWith("2 ") && lines.value(2).contains("NomeClube") &&
                     lines.value(2).contains(u("Existe cadastrado outro Clube")),
                 qPrintable(r.out));
        Database db(to);
        QCOMPARE(valueOf(db, "select count(*) from Clubes"), QStringLiteral("40"));
    }

    // Ctrl+C in the middle of a big import, then of a backup of it: each command ends on
    // its own with nothing of it left (or, if it was faster than the key, all of it).
    void interruptedCommandsLeaveAllOrNothing() {
        const QString from = path("interrompida-origem"), to = path("interrompida-destino");
        const QString file = from + "/clubes.csv", big = from + "/muitos.csv";
        QCOMPARE(runTool({"create", from, "--sample"}).exit, 0);
        QCOMPARE(runTool({"create", to}).exit, 0);
        QCOMPARE(runTool({"export", from, file}).exit, 0);
        // The sample many times over, each copy under other names and with its own badges.
        const QStringList rows = QString::fromUtf8(bytesOf(file)).split('\n', Qt::SkipEmptyParts);
        QString text = rows[0] + '\n';
        int clubs = 0;
        for (int copy = 1; copy <= 60; ++copy)
            for (const QString& row : rows.mid(1)) {
                QStringList fields = row.split(';');
                fields[0].clear(); // the code: the next free one
                for (int name : {1, 2})
                    fields[name].insert(1, QStringLiteral("%1 ").arg(copy));
                text += fields.join(';') + '\n';
                ++clubs;
            }
        QFile out(big);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(text.toUtf8());
        out.close();

        // Interrupted once it copies badges: past every check, before the commit.
        const QDir badges(to + "/Distintivos");
        int exit = interruptOnceFilesAppear({"import", to, big}, badges.path());
        const auto stored = [&] {
            Database db(to);
            return valueOf(db, "select count(*) from Clubes");
        };
        if (exit == 0) {
            QCOMPARE(stored(), QString::number(clubs));
            QCOMPARE(badges.entryList(QDir::Files).size(), clubs);
        } else {
            QCOMPARE(exit, 5);
            QCOMPARE(stored(), QStringLiteral("0"));
            QCOMPARE(badges.entryList(QDir::Files | QDir::Hidden), QStringList());
            QCOMPARE(runTool({"import", to, big}).exit, 0);
        }

        const QString copies = path("interrompida-copias");
        QVERIFY(QDir().mkpath(copies));
        exit = interruptOnceFilesAppear({"backup", to, copies}, copies);
        const QStringList made = QDir(copies).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        if (exit == 0) {
            QCOMPARE(made.size(), 1);
            QCOMPARE(runTool({"check", copies + '/' + made[0]}).exit, 0);
        } else {
            QCOMPARE(exit, 5);
            QCOMPARE(made, QStringList());
        }
    }

    // While the program holds the folder, a command that would change it is refused and
    // changes nothing; the commands that only read still run; once it is closed, the same
    // command goes through.
    void changingCommandsWaitForTheProgram() {
        const QString from = path("aberta-origem"), to = path("aberta-destino");
        const QString file = path("aberta.csv");
        QCOMPARE(runTool({"create", from, "--sample"}).exit, 0);
        QCOMPARE(runTool({"create", to}).exit, 0);
        QCOMPARE(runTool({"export", from, file}).exit, 0);
        const QString store = to + "/" + QLatin1String(Database::fileName);
        auto program = std::make_unique<DataDirLock>(to);
        QCOMPARE(program->outcome(), DataDirLock::Outcome::Locked);
        const QByteArray before = [&] {
            QFile f(store);
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        }();
        QVERIFY(!before.isEmpty());

        for (const QStringList& changing :
             {QStringList{"import", to, file}, QStringList{"relocate", to},
              QStringList{"check", "--fix", to}}) {
            const Result r = runTool(changing);
            QVERIFY2(r.exit == 3, qPrintable(changing.join(' ') + ": " + r.err));
            QVERIFY2(r.err.contains(u("feche o Velmora")) && r.err.contains(to) &&
                         r.err.contains(changing.first()),
                     qPrintable(r.err));
        }
        QFile f(store);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY(f.readAll() == before);
        f.close();

        QCOMPARE(runTool({"check", to}).exit, 0);
        QCOMPARE(runTool({"export", to, path("aberta-copia.csv")}).exit, 0);
        QCOMPARE(runTool({"backup", to, path("aberta-copias")}).exit, 0);

        program.reset();
        const Result r = runTool({"import", to, file});
        QVERIFY2(r.exit == 0, qPrintable(r.err));
        Database db(to);
        QCOMPARE(valueOf(db, "select count(*) from Clubes"), QStringLiteral("40"));
    }

    // A catalogue nobody may write is not a damaged one.
    void checkTellsReadOnlyFromDamaged_data() {
        QTest::addColumn<bool>("folder"); // the whole data folder, else the store file
        QTest::newRow("store file") << false;
        QTest::newRow("data folder") << true;
    }
    void checkTellsReadOnlyFromDamaged() {
        QFETCH(bool, folder);
        const QString dir = path(QStringLiteral("somente-leitura-") + QTest::currentDataTag());
        QCOMPARE(runTool({"create", "--sample", dir}).exit, 0);
        Unwritable locked(folder ? dir : dir + "/Velmora.sqlite");
        if (!locked.ok())
            QSKIP("this machine cannot make a file unwritable for this process");
        const Result r = runTool({"check", dir});
        QVERIFY2(r.out.contains(u("é somente leitura")) &&
                     r.out.contains(u("o Velmora o abre apenas para consulta")) &&
                     !(r.out + r.err).contains(u("danificado")),
                 qPrintable(r.out + r.err));
        QCOMPARE(r.exit, 0);
        QVERIFY2(r.out.contains(u("OK:")), qPrintable(r.out));
    }

    // A store the program did not make is never written, whichever command meets it.
    void foreignStoreIsLeftUntouched_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QStringList>("args"); // @dir the data folder
        QTest::addColumn<QString>("told");
        row("check, empty file", u("empty"), QStringList{"check", "@dir"}, u("vazio (0 bytes)"));
        row("relocate, empty file", u("empty"), QStringList{"relocate", "@dir"},
            u("vazio (0 bytes)"));
        row("import, another program's database", u("foreign"),
            QStringList{"import", "@dir", "@dir.csv"}, u("não é um catálogo do Velmora"));
        row("export, another program's database", u("foreign"),
            QStringList{"export", "@dir", "@dir-saida.csv"}, u("não é um catálogo do Velmora"));
    }
    void foreignStoreIsLeftUntouched() {
        QFETCH(QString, kind);
        QFETCH(QStringList, args);
        QFETCH(QString, told);
        const QString dir = path(QStringLiteral("alheio-") + QTest::currentDataTag());
        QCOMPARE(runTool({"create", dir}).exit, 0);
        const QString store = dir + "/Velmora.sqlite";
        QVERIFY(QFile::remove(store));
        if (kind == QLatin1String("foreign"))
            QCOMPARE(QProcess::execute("sqlite3", {store, "create table notas (texto text)"}), 0);
        else
            writeFile(store, {});
        writeFile(dir + ".csv", "Codigo;NomeClube\n");
        const QDateTime stamp = QDateTime::currentDateTime().addDays(-3);
        {
            QFile f(store);
            QVERIFY(f.open(QIODevice::ReadWrite));
            QVERIFY(f.setFileTime(stamp, QFileDevice::FileModificationTime));
        }
        const QByteArray before = bytesOf(store);
        for (QString& arg : args)
            arg.replace("@dir", dir);

        const Result r = runTool(args);
        QVERIFY(r.exit > 0);
        QVERIFY2(r.err.contains(told) && r.err.contains(u("velmora-datadir")),
                 qPrintable(r.err + r.out));
        QCOMPARE(bytesOf(store), before);
        QCOMPARE(QFileInfo(store).lastModified(), stamp);
    }

    // A disk that fills up under each command that writes: named as a full disk, and
    // nothing left half-done.
    void fullDisk_data() {
        QTest::addColumn<QStringList>("args"); // @src a sample, @empty an empty catalogue...
        QTest::addColumn<qint64>("room");
        QTest::addColumn<QString>("gone");  // what must not be there afterwards
        QTest::addColumn<QString>("store"); // a store whose rows must be as before
        QTest::addColumn<QString>("query");
        QTest::addColumn<QString>("value");
        const qint64 some = 40 * 1024; // less than a store, more than its index file
        const QString none;
        row("create", QStringList{"create", "--sample", "@new"}, some, u("@new"), none, none, none);
        row("import", QStringList{"import", "@empty", "@csv"}, some, none, u("@empty"),
            u("select count(*) from Clubes"), u("0"));
        row("export", QStringList{"export", "@src", "@new.csv"}, qint64(1024), u("@new.csv"), none,
            none, none);
        row("backup", QStringList{"backup", "@src", "@new"}, some, u("@new/*"), none, none, none);
        row("restore", QStringList{"restore", "@backup", "@new"}, some, u("@new"), none, none,
            none);
        row("relocate", QStringList{"relocate", "@moved"}, some, none, u("@moved"),
            u("select count(*) from Clubes where EscudoClube like '@src/%'"), u("40"));
        row("check", QStringList{"check", "@moved"}, qint64(0), none, none, none, none);
    }
    void fullDisk() {
        QFETCH(QStringList, args);
        QFETCH(qint64, room);
        QFETCH(QString, gone);
        QFETCH(QString, store);
        QFETCH(QString, query);
        QFETCH(QString, value);
        const QString src = path("cheio-origem");
        if (!QFileInfo::exists(src)) {
            QCOMPARE(runTool({"create", "--sample", src}).exit, 0);
            QCOMPARE(runTool({"export", src, path("cheio.csv")}).exit, 0);
            QCOMPARE(runTool({"backup", src, path("cheio-copias")}).exit, 0);
        }
        const QString fresh = path(QStringLiteral("cheio-") + QTest::currentDataTag());
        QCOMPARE(runTool({"create", fresh + "-vazia"}).exit, 0);
        QCOMPARE(runTool({"check", fresh + "-vazia"}).exit, 0); // opened once, as in use
        QCOMPARE(QProcess::execute("cp", {"-a", src, fresh + "-movida"}), 0);
        const QString backup =
            path("cheio-copias/") +
            QDir(path("cheio-copias")).entryList(QDir::Dirs | QDir::NoDotAndDotDot).value(0);
        const auto place = [&](QString text) {
            return text.replace("@src", src)
                .replace("@empty", fresh + "-vazia")
                .replace("@csv", path("cheio.csv"))
                .replace("@backup", backup)
                .replace("@moved", fresh + "-movida")
                .replace("@new", fresh + "-nova");
        };
        for (QString& arg : args)
            arg = place(arg);
        // Velmora runs on the sample meanwhile, as it may: its index file is there.
        Database running(src);

        const Result r = runTool(args, {}, room);
        QVERIFY2(r.exit > 0, qPrintable(r.out));
        QVERIFY2(r.err.contains(u("O disco está cheio")) &&
                     r.err.contains(u("Libere espaço no disco")),
                 qPrintable(r.err + r.out));
        if (!gone.isEmpty()) {
            const QFileInfo left(place(gone).remove("/*"));
            QVERIFY2(gone.endsWith("/*") ? QDir(left.filePath()).isEmpty() : !left.exists(),
                     qPrintable(left.filePath()));
        }
        if (!store.isEmpty()) {
            Database db(place(store));
            QCOMPARE(valueOf(db, place(query)), value);
        }
    }

    // A collector exports on one machine with no option, carries the file and its folder
    // to another one (other paths; the first machine's folder gone) and imports it there
    // with no option: the same rows and byte for byte the same badges. Texts a
    // spreadsheet would run or turn into numbers travel as they are.
    void exportTravelsToAnotherMachine() {
        const QString home = path("maquina1/Velmora"), away = path("maquina2/dados/Velmora");
        QCOMPARE(runTool({"create", home, "--sample"}).exit, 0);
        QCOMPARE(runTool({"create", away}).exit, 0);
        QStringList header;
        for (const FieldDef& f : Schema::table("Clubes").fields)
            header << f.name;
        const QString badge =
            home + "/Distintivos/" + QDir(home + "/Distintivos").entryList(QDir::Files).first();
        // Name, full name, stadium, capacity; the last name is as long as the field takes
        // with an emoji counted as one character, as the editor counts it.
        const QList<QStringList> tricky = {
            {u("=HYPERLINK(\"http://x\";\"y\")"), u("Clube Atlético Exemplo, S.A.F."), "", "025"},
            {"+Mais", "", u("-Menos"), "49.205"},
            {"@SUM(1)", "", "", "10.000"},
            {u("'=Já neutro"), "''+dois", "", ""},
            {QString(39, 'A') + u("🦅"), "", "", ""}};
        QString added;
        csv::appendRecord(added, header, ';');
        // Written as an export writes texts (import takes the neutralising apostrophe off).
        const auto n = [](const QString& text) { return csv::neutralised(text); };
        for (const QStringList& t : tricky)
            csv::appendRecord(added,
                              {"", n(t[0]), n(t[1]), "1950", "Brasil", "SP", u("São Paulo"), "",
                               badge, "", "", "FPF-SP", "", "0", "0", n(t[2]), n(t[3])},
                              ';');
        writeFile(path("novos.csv"), added.toUtf8());
        Result r = runTool({"import", home, path("novos.csv")});
        QVERIFY2(r.exit == 0, qPrintable(r.out + r.err));

        r = runTool({"export", home, path("maquina1/saida/clubes.csv")});
        QCOMPARE(r.exit, 0);
        const QByteArray text = bytesOf(path("maquina1/saida/clubes.csv"));
        // ';' by default, every text quoted, formulas neutralised.
        QVERIFY(text.startsWith(QByteArray(csv::byteOrderMark) + "Codigo;\"NomeClube\";"));
        QVERIFY(text.contains(";\"025\"\r\n"));
        QVERIFY(text.contains(u(";\"'=HYPERLINK(\"\"http://x\"\";\"\"y\"\")\";\"Clube Atlético "
                                "Exemplo, S.A.F.\";")
                                  .toUtf8()));
        QVERIFY(text.contains(";\"'+Mais\";") && text.contains(";\"'@SUM(1)\";") &&
                text.contains(";\"'-Menos\";"));
        QVERIFY(text.contains(u(";\"''=Já neutro\";\"'''+dois\";").toUtf8()));

        QVERIFY(QDir().mkpath(path("pendrive")));
        QVERIFY(QDir().rename(path("maquina1/saida"), path("pendrive/levado")));
        QVERIFY(QDir().rename(path("maquina1"), path("maquina1-devolvida")));
        r = runTool({"import", away, path("pendrive/levado/clubes.csv")});
        QVERIFY2(r.exit == 0, qPrintable(r.out + r.err));
        QCOMPARE(runTool({"check", away}).exit, 0);

        const QString moved = path("maquina1-devolvida/Velmora");
        // Paths as the store keeps them, less the folder the store was made in.
        const auto clubs = [](const QString& dir, const QString& madeIn) {
            Database db(dir);
            QList<QStringList> rows =
                rowsOf(db, "select " + declaredFields("Clubes") + " from Clubes order by Codigo");
            for (QStringList& row : rows)
                for (QString& value : row)
                    value.remove(madeIn + '/');
            return rows;
        };
        const QList<QStringList> there = clubs(moved, home), here = clubs(away, away);
        QCOMPARE(here.size(), 40 + tricky.size());
        QCOMPARE(here, there);
        const qsizetype escudo = header.indexOf("EscudoClube");
        for (const QStringList& row : here)
            QCOMPARE(bytesOf(away + '/' + row[escudo]), bytesOf(moved + '/' + row[escudo]));
    }

    void importParadoxRefusals() {
        Result r = runTool({"import-paradox", path("sem-origem"), path("novo")});
        QCOMPARE(r.exit, 4);
        QVERIFY2(r.err.contains(u("não existe")), qPrintable(r.err));
        QVERIFY(QDir().mkpath(path("origem-vazia")));
        writeFile(path("origem-vazia/Paises.DB"), QByteArray());
        r = runTool({"import-paradox", path("origem-vazia"), path("novo")});
        QCOMPARE(r.exit, 1);
        QVERIFY2(r.err.contains(u("Paises.DB não é uma tabela Paradox válida: arquivo vazio")),
                 qPrintable(r.err));
        QVERIFY(!QFileInfo::exists(path("novo")));
    }

    // Without a folder both commands use the program's fixed one, ~/Velmora.
    void defaultFolderIsHomeVelmora() {
        const QString home = path("casa");
        QVERIFY(QDir().mkpath(home));
        QCOMPARE(runTool({"create"}, home).exit, 0);
        QVERIFY(QFileInfo(home + "/Velmora/Velmora.sqlite").isFile());
        const Result r = runTool({"check"}, home);
        QCOMPARE(r.exit, 0);
        QVERIFY2(r.out.contains(home + "/Velmora"), qPrintable(r.out));
    }
};

QTEST_GUILESS_MAIN(TestDataDirCli)
#include "test_datadir_cli.moc"
