// The velmora-datadir binary itself: exit codes, messages, --help, the default folder.
#include "store/Database.h"
#include "tests/tools/DataDirTest.h"
#include "velmora/Version.h"

#include <QDate>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace velmora;
using namespace velmora::test;

namespace {

struct Result {
    int exit = -1;
    QString out;
    QString err;
};

QString tool() {
    return qEnvironmentVariable("VELMORA_BINARY_DIR") + QStringLiteral("/tools/velmora-datadir");
}

Result runTool(const QStringList& args, const QString& home = {}) {
    QProcess p;
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
        QTest::newRow("help") << QStringList{"--help"} << 0 << u("Uso: velmora-datadir create");
        QTest::newRow("help after command")
            << QStringList{"check", "-h"} << 0 << u("Códigos de saída");
        QTest::newRow("version") << QStringList{"--version"} << 0
                                 << u("velmora-datadir ") + u(velmora::version);
        QTest::newRow("version, short") << QStringList{"-v"} << 0 << u(velmora::version);
        QTest::newRow("unknown short option")
            << QStringList{"check", "-x"} << 2 << u("Opção desconhecida para check: -x");
        QTest::newRow("value on a switch")
            << QStringList{"create", "--sample=sim"} << 2 << u("A opção --sample não aceita valor");
        QTest::newRow("option, no command")
            << QStringList{"--force"} << 2 << u("Opção desconhecida: --force");
        QTest::newRow("no command") << QStringList{} << 2 << u("Falta o comando");
        QTest::newRow("unknown command")
            << QStringList{"make"} << 2 << u("Comando desconhecido: make");
        QTest::newRow("unknown option") << QStringList{"create", "--force"} << 2
                                        << u("Opção desconhecida para create: --force");
        QTest::newRow("sample with check")
            << QStringList{"check", "--sample"} << 2 << u("Opção desconhecida para check");
        QTest::newRow("two folders")
            << QStringList{"create", "a", "b"} << 2 << u("Argumento a mais: b");
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
