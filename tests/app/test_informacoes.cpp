// The information window: its page and the way back.
#include "app/Informacoes.h"
#include "app/Inicial.h"
#include "app/VelmoraApp.h"
#include "layout/App.h"
#include "registry/Clubes.h"
#include "tests/support/AppFixture.h"
#include "tests/support/Placement.h"
#include "tests/support/store/TestStore.h"

#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
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
    void menuItemsThePageNamesAreInTheWindowItNames();
};

void TestInformacoes::pageAtItsOwnSize() {
    AppFixture fx;
    VelmoraApp& app = fx.start();
    TFrmInformacoes& f = *app.FrmInformacoes;

    QCOMPARE(f.windowTitle(), QString("Informações"));
    QCOMPARE(f.client()->size(), layout::informacoes.client);
    QCOMPARE(f.Image->objectName(), QString("Image"));
    test::checkBackground(f.client(), layout::informacoes);
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

// The tips send users to "Utilitários › “item”": the item is in the club editor's
// Utilitários menu (the main window's has only "Cadastro de Clubes"), and the tip says so.
void TestInformacoes::menuItemsThePageNamesAreInTheWindowItNames() {
    AppFixture fx;
    VelmoraApp& app = fx.start();
    QStringList editorItems;
    for (const QAction* item : app.FrmClubes->Utilitrios1->actions())
        editorItems << item->text().remove(QLatin1Char('&'));
    const QStringList tips =
        app.FrmInformacoes->Image->accessibleDescription().split(QLatin1Char('\n'));
    const QRegularExpression named(QStringLiteral("Utilitários › “([^”]+)”"));
    int checked = 0;
    for (const QString& tip : tips) {
        const QRegularExpressionMatch m = named.match(tip);
        if (!m.hasMatch())
            continue;
        QVERIFY2(editorItems.contains(m.captured(1)), qPrintable(tip));
        QVERIFY2(tip.contains(QStringLiteral("Cadastro de Clubes")), qPrintable(tip));
        ++checked;
    }
    QVERIFY(checked >= 2); // the cities and the clubs' ages
}
