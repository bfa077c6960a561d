// Every window that issues one of the store's statements with a faster equivalent
// (main counters, galleries, the detail chooser, the editor's locate) runs it through
// its shortcut: a window that stops issuing the store's statement, or a statement
// changed so that its shortcut no longer applies, fails here, not silently on a big
// catalogue.
#include "app/Inicial.h"
#include "app/VelmoraApp.h"
#include "detail/SelClube.h"
#include "gallery/Anos.h"
#include "gallery/FederSel.h"
#include "gallery/MenuGalleries.h"
#include "registry/Clubes.h"
#include "store/Module.h"
#include "store/Statements.h"
#include "tests/support/AppFixture.h"

#include <QComboBox>
#include <QRadioButton>
#include <QtTest>
#include <map>

using namespace velmora;
using velmora::test::AppFixture;

namespace {

QString u(const char* s) {
    return QString::fromUtf8(s);
}

// Something for every gallery to show: clubs of two countries and two states, a
// national team, an extinct club. Returns a federation that has clubs.
QString seed(AppFixture& fx) {
    fx.store.add(1, u("Flamengo"), u("Brasil"), u("RJ"));
    const QString federation = fx.store.add(2, u("Palmeiras"), u("Brasil"), u("SP")).federacao;
    fx.store.add(3, u("Boca Juniors"), u("Argentina"), {});
    test::Club extinct = fx.store.club(4, u("Paulistano"), u("Brasil"), u("SP"));
    extinct.extinto = 1;
    fx.store.insert(extinct);
    fx.store.insert(fx.store.selecao(5, u("Brasil"), u("Brasil")));
    fx.store.close();
    return federation;
}

void choose(QComboBox* box, const QString& text) {
    box->setCurrentIndex(box->findText(text));
}

// Every window's statement, as a user meets them.
void walkWindows(AppFixture& fx, const QString& federation) {
    VelmoraApp& app = fx.app();
    app.FrmInicial->FormActivate();
    const std::pair<MenuGallery, const char*> galleries[] = {
        {MenuGallery::ClubesBrasileiros, nullptr}, {MenuGallery::ClubesPorEstado, "sp"},
        {MenuGallery::ClubesPorPais, "bra"},       {MenuGallery::TodosOsClubes, nullptr},
        {MenuGallery::TodasAsSelecoes, nullptr},   {MenuGallery::PesquisarPorNome, "flam"},
        {MenuGallery::Extintos, nullptr},
    };
    for (const auto& [gallery, entry] : galleries) {
        if (entry)
            fx.dialogs.queueEntry(u(entry));
        app.runMenuGallery(gallery);
    }
    app.FrmAno->FormActivate();
    choose(app.FrmAno->ComboAnos, QStringLiteral("1910"));
    app.FrmAno->BtnOkClick();
    app.FrmSelFeder->FormActivate();
    choose(app.FrmSelFeder->ComboFeder, federation);
    app.FrmSelFeder->BtnOkClick();
    app.FrmInicial->CadastrodeClubes1Click();
    fx.dialogs.queueEntry(QStringLiteral("palmeiras"));
    app.FrmClubes->BtnLocalizarClick();
    TFrmSelClube& chooser = *app.FrmSelClube;
    for (QRadioButton* kind : {chooser.rbClube, chooser.rbSelecao}) {
        app.FrmInicial->DadosdoClube1Click();
        chooser.FormActivate();
        kind->setChecked(true);
    }
}

} // namespace

class TestShortcuts final : public QObject {
    Q_OBJECT

private slots:
    void everyWindowStatementRunsThroughItsShortcut() {
        AppFixture fx;
        const QString federation = seed(fx);
        VelmoraApp& app = fx.start();
        std::map<QString, QList<bool>> ran; // statement name -> shortcut taken, run by run
        app.dm().database().watchStatements(
            [&](const Statement& statement, bool shortcut) { ran[statement.name()] << shortcut; });
        walkWindows(fx, federation);
        QVERIFY2(fx.dialogs.messages().isEmpty(), qPrintable(fx.dialogs.messages().join(u'\n')));
        for (const Statement* statement : Statements::all()) {
            const QString name = statement->name();
            QVERIFY2(ran.count(name) == 1, qPrintable(name + QStringLiteral(": no window ran it")));
            QVERIFY2(!ran[name].contains(false),
                     qPrintable(name + QStringLiteral(": ran without its shortcut")));
        }
        // The watch sees only the store's statements, and each of them by its name.
        for (const auto& [name, runs] : ran)
            QVERIFY2(std::any_of(Statements::all().begin(), Statements::all().end(),
                                 [&](const Statement* s) { return s->name() == name; }),
                     qPrintable(name));
    }

    // With the shortcuts off the same walk runs every statement as written: the watch
    // tells the two apart.
    void withoutShortcutsNothingRunsThroughOne() {
        AppFixture fx;
        const QString federation = seed(fx);
        VelmoraApp& app = fx.start();
        app.dm().database().setFastPaths(false);
        QList<bool> taken;
        app.dm().database().watchStatements(
            [&](const Statement&, bool shortcut) { taken << shortcut; });
        walkWindows(fx, federation);
        QVERIFY(!taken.isEmpty());
        QVERIFY(!taken.contains(true));
    }
};

QTEST_MAIN(TestShortcuts)
#include "test_shortcuts.moc"
