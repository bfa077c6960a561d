// The information window: its page and the way back.
#include "app/Informacoes.h"
#include "app/Inicial.h"
#include "app/VelmoraApp.h"
#include "tests/support/AppFixture.h"
#include "tests/support/store/TestStore.h"

#include <QLabel>
#include <QMenuBar>
#include <QtTest>

using namespace velmora;
using velmora::test::AppFixture;
using velmora::test::TestStore;

class TestInformacoes : public QObject {
    Q_OBJECT
private slots:
    void pageAtItsOwnSize();
    void onlyVoltarOnTheBar();
    void voltarHidesAndActivatesMain();
};

void TestInformacoes::pageAtItsOwnSize() {
    AppFixture fx;
    VelmoraApp& app = fx.start();
    TFrmInformacoes& f = *app.FrmInformacoes;

    QCOMPARE(f.windowTitle(), QString("Informações"));
    QCOMPARE(f.client()->size(), QSize(792, 546));
    QCOMPARE(f.Image->objectName(), QString("Image"));
    QCOMPARE(f.Image->parentWidget(), f.client());
    QCOMPARE(f.Image->geometry(), QRect(-2, -2, 796, 550));
    QVERIFY(!f.Image->hasScaledContents());
    const QImage page = app.pictures.load(":/artwork/info.jpg");
    QCOMPARE(f.Image->pixmap().size(), page.size());
    QCOMPARE(f.Image->pixmap().toImage(), page);
    QVERIFY(fx.dialogs.shown().isEmpty());
}

void TestInformacoes::onlyVoltarOnTheBar() {
    AppFixture fx;
    TFrmInformacoes& f = *fx.start().FrmInformacoes;
    QCOMPARE(f.menuBar(), f.MnInformacoes);
    const QList<QAction*> entries = f.MnInformacoes->actions();
    QCOMPARE(entries.size(), 1);
    QCOMPARE(entries.first(), f.Voltar1);
    QCOMPARE(f.Voltar1->objectName(), QString("Voltar1"));
    QCOMPARE(f.Voltar1->iconText(), QString("Voltar"));
    QVERIFY(!f.Voltar1->menu()); // a command, not a menu
}

void TestInformacoes::voltarHidesAndActivatesMain() {
    AppFixture fx;
    TestStore& store = fx.store;
    store.add(1, "Primeiro");
    VelmoraApp& app = fx.start();
    app.forms.show(app.FrmInformacoes.get());
    QVERIFY(QTest::qWaitForWindowActive(app.FrmInformacoes.get()));
    QVERIFY(app.FrmInicial->LblQtdeClubes->text().isEmpty()); // never activated yet

    app.FrmInformacoes->Voltar1->trigger();

    QVERIFY(!app.FrmInformacoes->isVisible());
    QVERIFY(app.FrmInicial->isVisible());
    QVERIFY(QTest::qWaitForWindowActive(app.FrmInicial.get()));
    QTRY_COMPARE(app.FrmInicial->LblQtdeClubes->text(), QString("1"));
    QCOMPARE(app.FrmInicial->LblNomeClube->text(), QString("Primeiro"));
}

QTEST_MAIN(TestInformacoes)
#include "test_informacoes.moc"
