// The run command's last step (scripts/start.sh): the data directory is created on
// first use, an existing one is never touched, and --sample on it says so.
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct Run {
    int exit = -1;
    QString err;
};

} // namespace

class TestStartScript final : public QObject {
    Q_OBJECT

    QTemporaryDir tmp_;
    QString home() const { return tmp_.filePath(QStringLiteral("home")); }
    QString store() const { return home() + QStringLiteral("/Velmora/Velmora.sqlite"); }
    QString started() const { return tmp_.filePath(QStringLiteral("started")); }

    // A build directory holding the real velmora-datadir and a stand-in program that
    // only notes it was started.
    QString fakeBuild() const { return tmp_.filePath(QStringLiteral("build")); }

    Run start(const QStringList& args) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), home());
        env.insert(QStringLiteral("VELMORA_BUILD_DIR"), fakeBuild());
        p.setProcessEnvironment(env);
        p.start(QStringLiteral("bash"), QStringList{qEnvironmentVariable("VELMORA_SOURCE_DIR") +
                                                    QStringLiteral("/scripts/start.sh")} +
                                            args);
        if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit)
            return {};
        return {p.exitCode(), QString::fromUtf8(p.readAllStandardError())};
    }

    int clubs() {
        int n = -1;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "count");
            db.setDatabaseName(store());
            if (db.open()) {
                QSqlQuery q(QStringLiteral("select count(*) from Clubes"), db);
                if (q.next())
                    n = q.value(0).toInt();
            }
        }
        QSqlDatabase::removeDatabase(QStringLiteral("count"));
        return n;
    }

private slots:
    void initTestCase() {
        QVERIFY(QDir().mkpath(home()));
        QVERIFY(QDir().mkpath(fakeBuild() + QStringLiteral("/tools")));
        const QString tool =
            qEnvironmentVariable("VELMORA_BINARY_DIR") + QStringLiteral("/tools/velmora-datadir");
        QVERIFY2(QFileInfo(tool).isExecutable(), qPrintable(tool));
        QVERIFY(QFile::link(tool, fakeBuild() + QStringLiteral("/tools/velmora-datadir")));
        QFile program(fakeBuild() + QStringLiteral("/velmora"));
        QVERIFY(program.open(QIODevice::WriteOnly));
        program.write(QStringLiteral("#!/bin/sh\ntouch '%1'\n").arg(started()).toUtf8());
        program.close();
        QVERIFY(program.setPermissions(program.permissions() | QFileDevice::ExeOwner));
    }

    void firstRunCreatesThenKeeps() {
        // First use: an empty catalogue is laid out and the program starts.
        Run first = start({});
        QCOMPARE(first.exit, 0);
        QVERIFY(QFile::exists(started()));
        QCOMPARE(clubs(), 0);

        // --sample on the existing folder: kept, the user told, the program started.
        QVERIFY(QFile::remove(started()));
        Run sample = start({QStringLiteral("--sample")});
        QCOMPARE(sample.exit, 0);
        QVERIFY(QFile::exists(started()));
        QCOMPARE(clubs(), 0);
        QVERIFY2(sample.err.contains(QStringLiteral("o catálogo existente foi mantido")),
                 qPrintable(sample.err));
        QVERIFY2(sample.err.contains(home() + QStringLiteral("/Velmora")), qPrintable(sample.err));

        // Without --sample nothing needs saying.
        Run plain = start({});
        QCOMPARE(plain.exit, 0);
        QCOMPARE(plain.err, QString());
    }
};

QTEST_GUILESS_MAIN(TestStartScript)
#include "test_start_script.moc"
