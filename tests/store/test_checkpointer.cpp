// Saves reach the store file itself while the program stays open, copied from the
// write-ahead log by the checkpointer's own thread, and nothing read meanwhile changes.
#include "store/Checkpointer.h"
#include "store/Database.h"
#include "store/Schema.h"
#include "store/Table.h"
#include "tests/support/store/TestStore.h"

#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>
#include <sqlite3.h>

using namespace velmora;
using velmora::test::TestStore;

namespace {

constexpr int clubs = 40;

// The short names the store file holds on its own, as a copy without its log shows them.
QStringList namesInFileAlone(const QString& storeFile) {
    QTemporaryDir dir;
    const QString copy = dir.filePath(QStringLiteral("alone.sqlite"));
    if (!QFile::copy(storeFile, copy))
        return {};
    QStringList names;
    sqlite3* handle = nullptr;
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(copy).constData(), &handle, SQLITE_OPEN_READONLY,
                        nullptr) == SQLITE_OK &&
        sqlite3_prepare_v2(handle, "select NomeClube from Clubes order by Codigo", -1, &statement,
                           nullptr) == SQLITE_OK) {
        while (sqlite3_step(statement) == SQLITE_ROW)
            names << QString::fromUtf8(
                reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
    }
    sqlite3_finalize(statement);
    sqlite3_close(handle);
    return names;
}

QString renamed(int code, int round) {
    return QStringLiteral("Renomeado %1 rodada %2").arg(code).arg(round);
}

} // namespace

class TestCheckpointer : public QObject {
    Q_OBJECT

private slots:
    void savesReachTheStoreFile_data() {
        QTest::addColumn<int>("pages");
        QTest::addColumn<int>("rounds");
        QTest::newRow("a checkpoint after every save") << 1 << 1;
        QTest::newRow("after many saves fill the log") << 30 << 3;
    }

    void savesReachTheStoreFile() {
        QFETCH(int, pages);
        QFETCH(int, rounds);
        TestStore store;
        for (int code = 1; code <= clubs; ++code)
            store.add(code, QStringLiteral("Clube %1").arg(code));
        store.close();

        Database db(store.dir());
        Checkpointer checkpointer(db, pages);
        QVERIFY(checkpointer.active());
        Table table(db, Schema::table(QStringLiteral("Clubes")), QStringLiteral("TblClubes"));
        // A reader of its own, as another listing of the program would be, stays on what
        // it started reading while saves are copied into the file under it.
        Database reader(store.dir());
        QSqlQuery listing(reader.handle());
        listing.setForwardOnly(true);
        QVERIFY(listing.exec(QStringLiteral("select NomeClube from Clubes order by Codigo")));
        QVERIFY(listing.next());

        QStringList expected;
        for (int round = 1; round <= rounds; ++round) {
            expected.clear();
            for (int code = 1; code <= clubs; ++code) {
                QVERIFY(table.seek(code));
                table.edit();
                table.setFieldText(QStringLiteral("NomeClube"), renamed(code, round));
                table.post();
                expected << renamed(code, round);
            }
        }
        QStringList read{listing.value(0).toString()};
        while (listing.next())
            read << listing.value(0).toString();
        QCOMPARE(read.size(), clubs);
        QCOMPARE(read.first(), QStringLiteral("Clube 1"));
        QCOMPARE(read.last(), QStringLiteral("Clube %1").arg(clubs));
        listing.finish();

        // The last saves may wait for a reader to let go: the next commit asks again.
        table.seek(1);
        table.edit();
        table.setFieldText(QStringLiteral("NomeClube"), renamed(1, rounds));
        table.post();
        QTRY_COMPARE_WITH_TIMEOUT(namesInFileAlone(store.storeFile()), expected, 20000);
        QVERIFY(checkpointer.completed() > 0);
    }
};

QTEST_GUILESS_MAIN(TestCheckpointer)
#include "test_checkpointer.moc"
