// The one-program-per-folder lock: whatever a crash, a power cut or another
// computer leaves in Velmora.lock, the next start is never blocked by it and
// never waits on it; a running holder keeps the folder however long it has run.
#include "store/DataDirLock.h"
#include "tests/support/Rows.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QTemporaryDir>
#include <QtTest>
#include <sys/stat.h>

using namespace velmora;
using velmora::test::row;

namespace {

QString lockIn(const QTemporaryDir& dir) {
    return dir.filePath(QString::fromLatin1(DataDirLock::fileName));
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), bytes.size());
}

// Leaves in place of the lock what the case names.
void leave(const QString& what, const QString& path, const QString& elsewhere) {
    const QByteArray me = QByteArray::number(QCoreApplication::applicationPid());
    if (what == QLatin1String("empty"))
        writeFile(path, {});
    else if (what == QLatin1String("garbage"))
        writeFile(path, QByteArray("\xff\x00\x13garbage\n\n\n\x7f", 14).repeated(500));
    else if (what == QLatin1String("other computer"))
        writeFile(path, me + "\nvelmora\nanother-machine\n");
    else if (what == QLatin1String("dead program"))
        writeFile(path, "2147483000\nvelmora\n" + QSysInfo::machineHostName().toUtf8() + "\n");
    else if (what == QLatin1String("live pid, no holder"))
        writeFile(path, me + "\n" + QCoreApplication::applicationName().toUtf8() + "\n" +
                            QSysInfo::machineHostName().toUtf8() + "\n");
    else if (what == QLatin1String("folder"))
        QVERIFY(QDir().mkdir(path));
    else if (what == QLatin1String("pipe"))
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0644), 0);
    else if (what == QLatin1String("link to a folder"))
        QVERIFY(QDir().mkdir(elsewhere) && QFile::link(elsewhere, path));
    else if (what == QLatin1String("link to a pipe"))
        QVERIFY(::mkfifo(QFile::encodeName(elsewhere).constData(), 0644) == 0 &&
                QFile::link(elsewhere, path));
    else if (what == QLatin1String("dangling link"))
        QVERIFY(QFile::link(elsewhere, path));
    else
        QFAIL("unknown case");
}

} // namespace

class TestDataDirLock final : public QObject {
    Q_OBJECT
private slots:
    void leftoverIsTakenOverOrRefused_data();
    void leftoverIsTakenOverOrRefused();
    void liveHolderKeepsTheFolderHoweverLong_data();
    void liveHolderKeepsTheFolderHoweverLong();
    void theToolHoldingTheFolderIsNamed();
};

void TestDataDirLock::leftoverIsTakenOverOrRefused_data() {
    QTest::addColumn<QString>("what");
    QTest::addColumn<QString>("refusedAs"); // "" when the lock is taken over
    row("empty file (power cut)", "empty", "");
    row("garbage", "garbage", "");
    row("written on another computer", "other computer", "");
    row("written by a program that died", "dead program", "");
    row("naming a live process that holds nothing", "live pid, no holder", "");
    row("folder", "folder", "uma pasta");
    row("pipe", "pipe", "pipe");
    row("link to a folder", "link to a folder", "link simbólico");
    row("link to a pipe", "link to a pipe", "link simbólico");
    row("dangling link", "dangling link", "link simbólico");
}

void TestDataDirLock::leftoverIsTakenOverOrRefused() {
    QFETCH(QString, what);
    QFETCH(QString, refusedAs);
    QTemporaryDir dir, other;
    const QString path = lockIn(dir);
    leave(what, path, other.filePath(QStringLiteral("target")));

    // A pipe opened for reading would wait here for ever (the test's timeout fails it).
    DataDirLock lock(dir.path());
    if (refusedAs.isEmpty()) {
        QCOMPARE(lock.outcome(), DataDirLock::Outcome::Locked);
        QVERIFY(lock.message().isEmpty());
        // The file now names this program.
        qint64 pid = 0;
        QString host, app;
        QVERIFY(QLockFile(path).getLockInfo(&pid, &host, &app));
        QCOMPARE(pid, QCoreApplication::applicationPid());
        QCOMPARE(host, QSysInfo::machineHostName());
        // And it holds the folder against the next program.
        QCOMPARE(DataDirLock(dir.path()).outcome(), DataDirLock::Outcome::AlreadyOpen);
        return;
    }
    QCOMPARE(lock.outcome(), DataDirLock::Outcome::NotAFile);
    const QString text = lock.message();
    QVERIFY2(text.contains(refusedAs) && text.contains(QDir::toNativeSeparators(path)) &&
                 text.contains(QStringLiteral("apague")),
             qPrintable(text));
    QVERIFY(QFileInfo(path).isSymLink() || QFileInfo::exists(path)); // left for the user
}

void TestDataDirLock::liveHolderKeepsTheFolderHoweverLong_data() {
    QTest::addColumn<QString>("computer"); // what the lock file names; "" as written
    QTest::addColumn<QStringList>("told");
    row("on this computer", QString(),
        QStringList{"já está aberto", QString::number(QCoreApplication::applicationPid()),
                    "feche-a", "encerre"});
    // A network share that passes locks between machines shows the other's lock.
    row("on another computer", QStringLiteral("computador-da-sala"),
        QStringList{"já está aberto", "no computador computador-da-sala",
                    "Feche o Velmora naquele computador"});
}

void TestDataDirLock::liveHolderKeepsTheFolderHoweverLong() {
    QFETCH(QString, computer);
    QFETCH(QStringList, told);
    QTemporaryDir dir;
    auto first = std::make_unique<DataDirLock>(dir.path());
    QCOMPARE(first->outcome(), DataDirLock::Outcome::Locked);

    // The holder has run for a year: its lock file was last touched then.
    {
        QFile f(lockIn(dir));
        QVERIFY(f.open(QIODevice::ReadWrite));
        if (!computer.isEmpty()) {
            QVERIFY(f.resize(0));
            f.write("4242\nvelmora\n" + computer.toUtf8() + "\n");
            f.flush();
        }
        QVERIFY(f.setFileTime(QDateTime::currentDateTime().addYears(-1),
                              QFileDevice::FileModificationTime));
    }
    DataDirLock second(dir.path());
    QCOMPARE(second.outcome(), DataDirLock::Outcome::AlreadyOpen);
    const QString text = second.message();
    QVERIFY2(text.contains(dir.path()), qPrintable(text));
    for (const QString& words : told)
        QVERIFY2(text.contains(words), qPrintable(words + QStringLiteral(" in ") + text));
    QVERIFY(QFileInfo::exists(lockIn(dir)));

    // Once it ends, the folder is free.
    first.reset();
    QCOMPARE(DataDirLock(dir.path()).outcome(), DataDirLock::Outcome::Locked);
}

// The data-directory tool holds the folder under its own name: the program starting
// meanwhile tells the user to wait for the command, not to close a window that is not there.
void TestDataDirLock::theToolHoldingTheFolderIsNamed() {
    QTemporaryDir dir;
    const DataDirLock tool(dir.path());
    QCOMPARE(tool.outcome(), DataDirLock::Outcome::Locked);
    // The file names the process that holds it, as the tool's own would.
    writeFile(lockIn(dir), QByteArray::number(QCoreApplication::applicationPid()) + "\n" +
                               DataDirLock::toolName + "\n" + QSysInfo::machineHostName().toUtf8() +
                               "\n");

    const DataDirLock program(dir.path());
    QCOMPARE(program.outcome(), DataDirLock::Outcome::AlreadyOpen);
    QVERIFY(program.heldByTool());
    QVERIFY2(program.message().contains(QLatin1String(DataDirLock::toolName)) &&
                 program.message().contains(QStringLiteral("Espere")) &&
                 !program.holder().isEmpty() && program.message().contains(program.holder()),
             qPrintable(program.message()));
}
QTEST_GUILESS_MAIN(TestDataDirLock)
#include "test_datadirlock.moc"
