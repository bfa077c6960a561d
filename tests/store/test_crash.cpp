// A program killed while posting rows leaves a sound store holding every row whose
// post() had returned. The child is this binary run with --post-loop <dir>.
#include "store/Module.h"
#include "tests/support/store/TestStore.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QtTest>
#include <cstdio>

using namespace velmora;
using velmora::test::TestStore;

namespace {

constexpr int maxChildPosts = 50000;
constexpr int maxChildSeconds = 120;

// Posts clubs one by one and prints each code once its post() has returned.
int postLoop(const QString& dir) {
    try {
        TFrmDm dm(dir);
        QElapsedTimer clock;
        clock.start();
        for (int i = 0; i < maxChildPosts && clock.elapsed() < maxChildSeconds * 1000; ++i) {
            dm.TblClubes.append();
            const int code = dm.nextClubCode();
            const auto set = [&](const char* field, const QString& text) {
                dm.TblClubes.setFieldText(QString::fromLatin1(field), text);
            };
            set("Codigo", QString::number(code));
            set("NomeClube", QStringLiteral("Clube %1").arg(code));
            set("NomeCompletoClube",
                QStringLiteral("Associação Atlética %1 ").arg(code).repeated(5).left(100));
            set("PaisClube", QStringLiteral("Brasil"));
            set("UFClube", QStringLiteral("SP"));
            set("Identificador", QStringLiteral("0"));
            set("Extinto", QStringLiteral("0"));
            set("Capacidade", QString::number(code));
            dm.TblClubes.post();
            std::printf("%d\n", code);
            std::fflush(stdout);
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}

} // namespace

class TestCrash final : public QObject {
    Q_OBJECT

private slots:
    void killedWhilePosting_data() {
        QTest::addColumn<int>("postsBeforeKill");
        QTest::newRow("early") << 40;
        QTest::newRow("later") << 250;
        QTest::newRow("again on the same store") << 120;
    }
    void killedWhilePosting() {
        QFETCH(int, postsBeforeKill);
        store_.close();

        QProcess child;
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--post-loop"), store_.dir()});
        QVERIFY2(child.waitForStarted(), qPrintable(child.errorString()));
        QByteArray output;
        QElapsedTimer clock;
        clock.start();
        while (output.count('\n') < postsBeforeKill && clock.elapsed() < 60000) {
            if (child.state() == QProcess::NotRunning)
                QFAIL(qPrintable(QStringLiteral("child ended: %1")
                                     .arg(QString::fromLocal8Bit(child.readAllStandardError()))));
            child.waitForReadyRead(1000);
            output += child.readAllStandardOutput();
        }
        child.kill(); // SIGKILL: no destructor, no rollback, no checkpoint
        QVERIFY(child.waitForFinished(10000));
        QCOMPARE(child.exitStatus(), QProcess::CrashExit);
        output += child.readAllStandardOutput();

        QList<int> printed;
        for (const QByteArray& line : output.split('\n')) {
            if (!line.isEmpty())
                printed << line.toInt();
        }
        QVERIFY(printed.size() >= postsBeforeKill);

        QCOMPARE(store_.value(QStringLiteral("PRAGMA integrity_check")), QStringLiteral("ok"));
        const QStringList stored = store_.column(QStringLiteral("select Codigo from Clubes"));
        for (int code : printed)
            QVERIFY2(stored.contains(QString::number(code)), qPrintable(QString::number(code)));
        // No half-written row: every stored row has all that its post wrote.
        QCOMPARE(store_.value(QStringLiteral(
                     "select count(*) from Clubes where NomeClube = 'Clube ' || Codigo "
                     "and Capacidade = cast(Codigo as text) and length(NomeCompletoClube) = 100")),
                 QString::number(stored.size()));
        // The counts kept by triggers went with their rows, in the same transactions.
        for (const char* counts : {"ContagemClubes", "ContagemAnos", "ContagemFederacoes"})
            QCOMPARE(store_.value(QStringLiteral("select sum(Qtde) from %1").arg(counts)),
                     QString::number(stored.size()));
        store_.close();
        TFrmDm reopened(store_.dir()); // and the program still opens it
        QCOMPARE(reopened.TblClubes.rowCount(), int(stored.size()));
    }

private:
    TestStore store_;
};

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc == 3 && qstrcmp(argv[1], "--post-loop") == 0)
        return postLoop(QString::fromLocal8Bit(argv[2]));
    TestCrash test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_crash.moc"
