// Engine failures a user can meet (a locked store, a full disk, a read-only file)
// reach the general error report in Portuguese, saying what to do, and lose nothing.
#include "store/Database.h"
#include "store/StoreError.h"
#include "store/Table.h"
#include "tests/support/Rows.h"
#include "tests/support/store/TestStore.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>

using namespace velmora;
using velmora::test::row;
using velmora::test::TestStore;

class TestStoreError final : public QObject {
    Q_OBJECT
private slots:
    void failedPostIsToldInPortuguese_data();
    void failedPostIsToldInPortuguese();
    void everyCodeHasAdvice_data();
    void everyCodeHasAdvice();
};

void TestStoreError::failedPostIsToldInPortuguese_data() {
    QTest::addColumn<QString>("cause");
    QTest::addColumn<QString>("told"); // what the message must say, in the user's words
    row("store locked by another program", "locked", "bloqueado");
    row("disk full", "full", "disco está cheio");
    row("read-only file", "readonly", "somente leitura");
}

void TestStoreError::failedPostIsToldInPortuguese() {
    QFETCH(QString, cause);
    QFETCH(QString, told);
    TestStore store;
    store.add(1, QStringLiteral("Santos"));
    store.close();

    Database db(store.dir());
    // Another program holding the store: a second connection with a write lock.
    QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "other");
    other.setDatabaseName(db.filePath());
    QVERIFY(other.open());
    {
        QSqlQuery hold(other);
        if (cause == QLatin1String("locked")) {
            db.exec(QStringLiteral("PRAGMA busy_timeout = 0")); // no wait in a test
            QVERIFY(hold.exec(QStringLiteral("BEGIN EXCLUSIVE")));
        } else if (cause == QLatin1String("full")) {
            const QString pages = db.value(QStringLiteral("PRAGMA page_count")).toString();
            db.exec(QStringLiteral("PRAGMA max_page_count = ") + pages);
        } else {
            db.exec(QStringLiteral("PRAGMA query_only = ON"));
        }

        Table clubes(db, Schema::table(QStringLiteral("Clubes")), QStringLiteral("TblClubes"));
        clubes.first();
        clubes.append();
        clubes.setFieldText(QStringLiteral("Codigo"), QStringLiteral("2"));
        // A long name fills new pages, so a store that may not grow refuses it.
        clubes.setFieldText(QStringLiteral("NomeCompletoClube"), QString(80, QLatin1Char('x')));
        QString message;
        try {
            for (int i = 0; i < 200 && message.isEmpty(); ++i) {
                clubes.post();
                clubes.append();
                clubes.setFieldText(QStringLiteral("Codigo"), QString::number(i + 3));
                clubes.setFieldText(QStringLiteral("NomeCompletoClube"),
                                    QString(80, QLatin1Char('x')));
            }
        } catch (const StoreError& e) {
            message = e.text();
        }
        QVERIFY2(message.contains(told), qPrintable(message));
        // What to do comes first, in Portuguese; the engine's own words only after it.
        QVERIFY2(message.contains(QStringLiteral("tente de novo")), qPrintable(message));
        QVERIFY(!message.startsWith(QStringLiteral("database")));
        // The refused row stays pending, so nothing typed is lost.
        QVERIFY(clubes.state() == Table::State::Insert);
        hold.exec(QStringLiteral("ROLLBACK"));
    }
    other.close();
    other = QSqlDatabase();
    QSqlDatabase::removeDatabase(QStringLiteral("other"));
}

void TestStoreError::everyCodeHasAdvice_data() {
    // Engine result codes, as its documentation numbers them.
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("told");
    QTest::newRow("busy") << 5 << "bloqueado";
    QTest::newRow("table locked") << 6 << "bloqueado";
    QTest::newRow("extended busy (recovery)") << (5 | (1 << 8)) << "bloqueado";
    QTest::newRow("read-only") << 8 << "somente leitura";
    QTest::newRow("disk I/O") << 10 << "disco";
    QTest::newRow("corrupt") << 11 << "danificado";
    QTest::newRow("full") << 13 << "disco está cheio";
    QTest::newRow("cannot open") << 14 << "pasta de dados";
    QTest::newRow("not a database") << 26 << "danificado";
    QTest::newRow("anything else") << 1 << "velmora-datadir check";
}

void TestStoreError::everyCodeHasAdvice() {
    QFETCH(int, code);
    QFETCH(QString, told);
    const QString engineWords = QStringLiteral("some engine text");
    const QString message = engineMessage(code, engineWords);
    QVERIFY2(message.contains(told), qPrintable(message));
    QVERIFY(message.indexOf(engineWords) > message.indexOf(told));
}

QTEST_GUILESS_MAIN(TestStoreError)
#include "test_storeerror.moc"
