// The club editor opened from the main window on a seeded store, and the steps a
// user takes in it: shared by the editor's tests and benchmarks.
#pragma once

#include "app/Inicial.h"
#include "app/VelmoraApp.h"
#include "platform/DataControls.h"
#include "registry/Clubes.h"
#include "store/Module.h"
#include "tests/support/AppFixture.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

namespace velmora::test {

struct EditorRig {
    AppFixture fx;
    TestStore& store = fx.store;

    EditorRig() = default;
    // On a generated catalogue (see AppFixture).
    EditorRig(const QString& catalogue, TestStore::Copy copy) : fx(catalogue, copy) {}

    // Starts the application and opens the editor as the main window's command does.
    TFrmClubes& open() {
        if (!fx.started())
            fx.start();
        app().FrmInicial->CadastrodeClubes1Click();
        [[maybe_unused]] const bool active = QTest::qWaitForWindowActive(&editor());
        return editor();
    }
    VelmoraApp& app() { return fx.app(); }
    TFrmClubes& editor() { return *app().FrmClubes; }
    Table& clubs() { return app().dm().TblClubes; }
    ScriptedDialogs& dialogs() { return fx.dialogs; }
    QString badgeDir() const { return fx.dataDir() + QStringLiteral("/Distintivos/"); }
    QStringList badgeFiles() const { return QDir(badgeDir()).entryList(QDir::Files); }

    void click(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
    // Writes the pending row as the selection dialogs do on their OK.
    void pick(const QString& pais, const QString& uf = {},
              const QString& federacao = QStringLiteral("FIFA")) {
        Table& t = clubs();
        t.setFieldText(QStringLiteral("PaisClube"), pais);
        t.setFieldText(QStringLiteral("BandeiraPais"), store.countryFlag(pais));
        t.setFieldText(QStringLiteral("UFClube"), uf);
        t.setFieldText(QStringLiteral("BandeiraUF"),
                       uf.isEmpty() ? QString() : store.stateFlag(uf));
        t.setFieldText(QStringLiteral("Federacao"), federacao);
        t.setFieldText(QStringLiteral("LogoFederacao"), store.logo(federacao));
    }
    // Chooses a badge source file through the picture dialog.
    void chooseBadge(const QString& path) {
        fx.dialogs.queuePicture(path);
        editor().BtnFotoClick();
    }
    // "Novo" and everything a complete club needs, short of saving.
    void fillNew(const QString& nome, const QString& badgeFile = QStringLiteral("escudo.jpg")) {
        editor().Novo1->trigger();
        editor().EdtNomeClube->setText(nome);
        pick(QStringLiteral("Argentina"));
        chooseBadge(store.makeBadge(badgeFile));
        click(editor().rbClube);
    }
    QString stored(int codigo, const QString& field) {
        return store.value(
            QStringLiteral("select \"%1\" from Clubes where Codigo = %2").arg(field).arg(codigo));
    }
    // Moves to the row with codigo through the navigator.
    void goTo(int codigo) {
        editor().Navegador->press(DbNavigator::Button::First);
        while (editor().lblCodigo->text() != QString::number(codigo) &&
               editor().Navegador->button(DbNavigator::Button::Next)->isEnabled())
            editor().Navegador->press(DbNavigator::Button::Next);
    }
    bool hasPicture(QLabel* box) const { return !box->pixmap().isNull(); }
};

} // namespace velmora::test
