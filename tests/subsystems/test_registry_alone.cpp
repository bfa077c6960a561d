// The club editor and its dialogs built on their own (this program links the registry
// library, not the application): the editor asks for a dialog by a signal, the dialog
// reports the choice by a signal, and the editor applies it to its own controls.
#include "platform/Dialogs.h"
#include "platform/Services.h"
#include "registry/CadCidade.h"
#include "registry/Cidade.h"
#include "registry/Clubes.h"
#include "registry/Federacao.h"
#include "registry/Paises.h"
#include "registry/Registry.h"
#include "registry/UF.h"
#include "store/Module.h"
#include "tests/support/TestServices.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

using namespace velmora;

namespace {

struct Registry : test::TestServices {
    Pictures pictures;
    Forms forms{dialogs};
    std::unique_ptr<TFrmDm> dm;
    std::unique_ptr<Services> services;
    std::unique_ptr<TFrmClubes> editor;
    std::unique_ptr<TFrmCadastroCidade> cityRegistry;
    std::unique_ptr<TFrmPaises> countries;
    std::unique_ptr<TFrmUF> states;
    std::unique_ptr<TFrmCidade> cities;
    std::unique_ptr<TFrmFederacao> federations;
    Form home{forms, QStringLiteral("Home"), QStringLiteral("Velmora"), QSize(200, 100)};

    Registry() {
        store.add(1, QStringLiteral("Santos"));
        dm = std::make_unique<TFrmDm>(store.dir());
        services = std::make_unique<Services>(
            Services{dialogs, printing, clock, random, sleep, pictures, forms, *dm,
                     store.dir() + QStringLiteral("/Distintivos/")});
        editor = std::make_unique<TFrmClubes>(*services);
        cityRegistry = std::make_unique<TFrmCadastroCidade>(*services);
        countries = std::make_unique<TFrmPaises>(*services);
        states = std::make_unique<TFrmUF>(*services);
        cities = std::make_unique<TFrmCidade>(*services);
        federations = std::make_unique<TFrmFederacao>(*services);
        connectRegistry({*editor, *cityRegistry, *countries, *states, *cities, *federations});
        forms.setMainWindow(&home);
        forms.show(editor.get());
        editor->recordDisplay();
    }
    Table& clubs() { return dm->TblClubes; }
};

void pick(SelectionDialog& dialog, const QString& item) {
    dialog.list()->setCurrentIndex(dialog.list()->findText(item));
    QTest::mouseClick(dialog.BtnOk, Qt::LeftButton);
}

} // namespace

class TestRegistryAlone final : public QObject {
    Q_OBJECT
private slots:
    void countryChoiceTravelsBySignal();
    void noChoiceWithoutPendingRow();
    void voltarGoesToTheMainWindow();
};

void TestRegistryAlone::countryChoiceTravelsBySignal() {
    Registry r;
    r.editor->Alterar1->trigger();
    QVERIFY(r.editor->stateGroupVisible());
    QTest::mouseClick(r.editor->BtnSelecionaUF, Qt::LeftButton);
    QVERIFY(r.states->isVisible());
    QTest::mouseClick(r.editor->BtnSelecionarPais, Qt::LeftButton);
    QVERIFY(r.countries->isVisible());

    QSignalSpy chosen(r.countries.get(), &SelectionDialog::chosen);
    pick(*r.countries, QStringLiteral("Argentina"));
    QCOMPARE(chosen.size(), 1);
    const auto choice = chosen.constFirst().constFirst().value<SelectionChoice>();
    const QString flag = r.store.countryFlag(QStringLiteral("Argentina"));
    QCOMPARE(choice.picked, QStringLiteral("Argentina"));
    QVERIFY(choice.fields.contains({QStringLiteral("PaisClube"), QStringLiteral("Argentina")}));
    QVERIFY(choice.fields.contains({QStringLiteral("BandeiraPais"), flag}));
    // Decoded for the editor's flag box, which shows exactly that picture.
    QCOMPARE(choice.picture, r.pictures.load(flag, r.editor->ImgBandeira->size()));
    QCOMPARE(r.editor->ImgBandeira->pixmap().toImage().convertToFormat(QImage::Format_RGB32),
             choice.picture.convertToFormat(QImage::Format_RGB32));

    // The editor switched its own controls; the state dialog read for Brasil closed.
    QCOMPARE(r.clubs().fieldText(QStringLiteral("PaisClube")), QStringLiteral("Argentina"));
    QVERIFY(r.clubs().fieldText(QStringLiteral("UFClube")).isEmpty());
    QVERIFY(!r.editor->stateGroupVisible());
    QVERIFY(r.editor->BtnSelecionarCidade->isEnabled());
    QVERIFY(!r.countries->isVisible());
    QVERIFY(!r.states->isVisible());
    QVERIFY(r.dialogs.shown().isEmpty());
}

void TestRegistryAlone::noChoiceWithoutPendingRow() {
    Registry r;
    r.editor->Alterar1->trigger();
    QTest::mouseClick(r.editor->BtnFederacao, Qt::LeftButton);
    QVERIFY(r.federations->isVisible());
    QSignalSpy chosen(r.federations.get(), &SelectionDialog::chosen);
    // Nothing picked: the user is told, nothing is reported.
    QTest::mouseClick(r.federations->BtnOk, Qt::LeftButton);
    QCOMPARE(r.dialogs.messages(), QStringList{"É necessário escolher uma Federação."});
    // The row ends: the dialog closes, and even confirmed it reports nothing.
    QTest::mouseClick(r.editor->BtnCancelar, Qt::LeftButton);
    QVERIFY(!r.federations->isVisible());
    r.federations->list()->setCurrentIndex(0);
    r.federations->BtnOkClick();
    QCOMPARE(chosen.size(), 0);
}

void TestRegistryAlone::voltarGoesToTheMainWindow() {
    Registry r;
    QVERIFY(!r.home.isVisible());
    r.editor->Voltar1->trigger();
    QVERIFY(r.home.isVisible());
    QVERIFY(!r.editor->isVisible());
}

QTEST_MAIN(TestRegistryAlone)
#include "test_registry_alone.moc"
