// The fixture on a generated catalogue: what each way of using it leaves of the
// shared folder, and what a copy carries.
#include "app/VelmoraApp.h"
#include "store/Module.h"
#include "tests/support/AppFixture.h"
#include "tests/support/Rows.h"

#include <QDir>
#include <QFileInfo>
#include <QtTest>

using namespace velmora;
using velmora::test::AppFixture;
using velmora::test::row;
using velmora::test::TestStore;

class TestFixture final : public QObject {
    Q_OBJECT
private slots:
    void catalogueUsedAsTold_data() {
        QTest::addColumn<int>("copy");
        QTest::addColumn<bool>("sharedFolder"); // the fixture works on the folder itself
        QTest::addColumn<bool>("badgesCopied");
        row("in place", int(TestStore::Copy::None), true, false);
        row("store copied", int(TestStore::Copy::Store), false, false);
        row("folder copied", int(TestStore::Copy::Folder), false, true);
    }

    // A catalogue whose last rows are still in the write-ahead log (its connection is
    // open): a copy must carry them, and writing through a copy leaves the source alone.
    void catalogueUsedAsTold() {
        QFETCH(int, copy);
        QFETCH(bool, sharedFolder);
        QFETCH(bool, badgesCopied);
        TestStore source;
        const QString badge = source.add(1, QStringLiteral("Santos")).escudoClube;
        source.add(2, QStringLiteral("Palmeiras"));

        AppFixture fx(source.dir(), TestStore::Copy(copy));
        QCOMPARE(fx.dataDir() == source.dir(), sharedFolder);
        QCOMPARE(fx.store.count(QStringLiteral("Clubes")), 2);
        const QString copiedBadge = fx.dataDir() + badge.mid(source.dir().size());
        QCOMPARE(QFileInfo::exists(copiedBadge), sharedFolder || badgesCopied);

        VelmoraApp& app = fx.start();
        QCOMPARE(app.dm().TblClubes.rowCount(), 2);
        fx.store.exec(QStringLiteral("delete from Clubes where Codigo = 2"));
        QCOMPARE(source.count(QStringLiteral("Clubes")), sharedFolder ? 1 : 2);
    }
};

QTEST_MAIN(TestFixture)
#include "test_fixture.moc"
