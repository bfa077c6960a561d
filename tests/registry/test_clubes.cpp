// The club editor: layout, modes, numbering, the save checks, delete, navigation,
// locate and the commands that open other windows.
#include "layout/Registry.h"
#include "registry/CadCidade.h"
#include "registry/Cidade.h"
#include "registry/Federacao.h"
#include "registry/Paises.h"
#include "registry/UF.h"
#include "tests/support/EditorRig.h"
#include "tests/support/Placement.h"
#include "tests/support/Rows.h"

#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <limits>

using namespace velmora;
using velmora::test::Club;
using velmora::test::EditorRig;
using velmora::test::row;

namespace {

const QString velmoraCaption = QStringLiteral("Velmora");

QObject* control(TFrmClubes& editor, const QString& name) {
    if (auto* widget = editor.findChild<QWidget*>(name))
        return widget;
    return editor.findChild<QAction*>(name);
}

bool enabled(QObject* object) {
    if (auto* action = qobject_cast<QAction*>(object))
        return action->isEnabled();
    return static_cast<QWidget*>(object)->isEnabled();
}

QStringList navigatorEnabled(TFrmClubes& editor) {
    QStringList names;
    for (auto which : {DbNavigator::Button::First, DbNavigator::Button::Prior,
                       DbNavigator::Button::Next, DbNavigator::Button::Last}) {
        QPushButton* button = editor.Navegador->button(which);
        if (button->isEnabled() && editor.Navegador->isEnabled())
            names << button->objectName();
    }
    return names;
}

} // namespace

class TestClubes final : public QObject {
    Q_OBJECT
private slots:
    void placesAndFonts_data();
    void placesAndFonts();
    void menuAndWidths();
    void openOnEmptyTable();
    void openShowsCurrentRow();
    void modes_data();
    void modes();
    void numbering_data();
    void numbering();
    void noCodeLeftKeepsBrowsing();
    void cancelOffersSameCode();
    void saveNewRow();
    void saveChecks_data();
    void saveChecks();
    void editedNameRules_data();
    void editedNameRules();
    void lastEditedNameStillDuplicate();
    void clearedNameMeetsNamelessRow();
    void emptyTableCommands_data();
    void emptyTableCommands();
    void deleteInMiddle();
    void deleteNeedsYes();
    void deleteOnlyRow();
    void navigator();
    void locate_data();
    void locate();
    void locateOnlyInBrowseMode();
    void kindAndExtinctWriteOnlyWhenPending();
    void dialogChoiceKeepsCommandsDisabled();
    void otherWindows_data();
    void otherWindows();
    void voltar();
    void closeBox_data();
    void closeBox();
    void editingEnded();
    void yearGivesAge();
    void brokenPictureStillShowsRow();
};

void TestClubes::placesAndFonts_data() {
    test::addPlaceRows(layout::clubes);
}

void TestClubes::placesAndFonts() {
    QFETCH(QString, name);
    EditorRig rig;
    TFrmClubes& editor = rig.open();
    QCOMPARE(editor.windowTitle(), QStringLiteral("Cadastro de Clubes"));
    QCOMPARE(editor.client()->size(), layout::clubes.client);
    test::checkControl(editor.client(), layout::clubes, name);
}

void TestClubes::menuAndWidths() {
    EditorRig rig;
    TFrmClubes& editor = rig.open();
    QCOMPARE(editor.menuBar()->objectName(), QStringLiteral("MnClubes"));
    auto names = [](QMenu* menu) {
        QStringList list;
        for (QAction* a : menu->actions())
            list << a->objectName() + QLatin1Char('=') +
                        (a->isSeparator() ? QStringLiteral("-") : a->iconText());
        return list;
    };
    QCOMPARE(editor.Arquivo1->menuAction()->iconText(), QStringLiteral("Arquivo"));
    QCOMPARE(names(editor.Arquivo1), QStringList({"Novo1=Novo", "Alterar1=Alterar",
                                                  "Excluir1=Excluir", "N1=-", "Voltar1=Voltar"}));
    QCOMPARE(editor.Utilitrios1->menuAction()->iconText(), QStringLiteral("Utilitários"));
    QCOMPARE(names(editor.Utilitrios1),
             QStringList({"Cadastrarcidade1=Cadastro de Cidades",
                          "RecalcularIdadedosClubes1=Recalcular Idade dos Clubes"}));
    // Typing stops at the field's width.
    const QList<QPair<QLineEdit*, int>> widths = {
        {editor.EdtNomeClube, 40},   {editor.EdtNomeCompletoClube, 100}, {editor.EdtEstadio, 35},
        {editor.EdtCapacidade, 20},  {editor.EdtNomePais, 45},           {editor.EdtSiglaEstado, 2},
        {editor.EdtNomeCidade, 100}, {editor.EdtFederacao, 8},           {editor.EdtIdade, 8},
    };
    for (const auto& [edit, width] : widths)
        QCOMPARE(edit->maxLength(), width);
    // The year list is Anos.DB, in its order.
    QCOMPARE(editor.ComboAno->count(), 201);
    QCOMPARE(editor.ComboAno->itemText(0), QStringLiteral("1850"));
    QCOMPARE(editor.ComboAno->itemText(200), QStringLiteral("2050"));
}

void TestClubes::openOnEmptyTable() {
    EditorRig rig;
    TFrmClubes& editor = rig.open();
    QVERIFY(editor.isVisible());
    QStringList usable;
    for (QAction* a : editor.Arquivo1->actions() + editor.Utilitrios1->actions())
        if (!a->isSeparator() && a->isEnabled())
            usable << a->objectName();
    QCOMPARE(usable, QStringList({"Novo1", "Voltar1", "Cadastrarcidade1"}));
    QVERIFY(!editor.BtnLocalizar->isEnabled());
    QCOMPARE(navigatorEnabled(editor), QStringList());
    for (QLabel* box :
         {editor.ImgLogoClube, editor.ImgBandeira, editor.ImgUF, editor.ImgLogoFederacao})
        QVERIFY(!rig.hasPicture(box));
    QVERIFY(!editor.stateGroupVisible());
    QVERIFY(editor.lblCodigo->text().isEmpty());
    QVERIFY(rig.dialogs().shown().isEmpty());
}

void TestClubes::openShowsCurrentRow() {
    EditorRig rig;
    Club santos = rig.store.club(7, QStringLiteral("Santos"));
    santos.extinto = 1;
    rig.store.insert(santos);
    rig.store.insert(
        rig.store.selecao(9, QStringLiteral("Argentina"), QStringLiteral("Argentina")));
    TFrmClubes& editor = rig.open();
    QCOMPARE(editor.lblCodigo->text(), QStringLiteral("7"));
    QCOMPARE(editor.EdtNomeClube->text(), QStringLiteral("Santos"));
    QCOMPARE(editor.EdtSiglaEstado->text(), QStringLiteral("SP"));
    QVERIFY(editor.stateGroupVisible());
    for (QLabel* box :
         {editor.ImgLogoClube, editor.ImgBandeira, editor.ImgUF, editor.ImgLogoFederacao})
        QVERIFY(rig.hasPicture(box));
    QVERIFY(editor.rbClube->isChecked());
    QVERIFY(!editor.rbSelecao->isChecked());
    QVERIFY(editor.CkbExtinto->isChecked());
    QCOMPARE(editor.ComboAno->currentText(), QStringLiteral("1910"));
    QCOMPARE(navigatorEnabled(editor), QStringList({"nbNext", "nbLast"}));
    QVERIFY(editor.BtnLocalizar->isEnabled());
    QVERIFY(editor.Alterar1->isEnabled());
    QVERIFY(rig.dialogs().shown().isEmpty());
}

void TestClubes::modes_data() {
    QTest::addColumn<bool>("browse");
    QTest::addColumn<bool>("insert");
    QTest::addColumn<bool>("edit");
    auto row = [](const char* name, bool b, bool i, bool e) { QTest::newRow(name) << b << i << e; };
    for (const char* name :
         {"EdtNomeClube", "EdtNomeCompletoClube", "EdtEstadio", "EdtCapacidade", "ComboAno",
          "rbClube", "rbSelecao", "CkbExtinto", "BtnFoto", "BtnSelecionarPais", "BtnSelecionaUF",
          "BtnFederacao", "BtnGravar", "BtnCancelar"})
        row(name, false, true, true);
    row("BtnSelecionarCidade", false, false, true);
    for (const char* name : {"Navegador", "BtnLocalizar", "Novo1", "Alterar1", "Excluir1",
                             "Voltar1", "Cadastrarcidade1", "RecalcularIdadedosClubes1"})
        row(name, true, false, false);
    for (const char* name :
         {"EdtNomePais", "EdtSiglaEstado", "EdtNomeCidade", "EdtFederacao", "EdtIdade"})
        row(name, false, false, false);
}

void TestClubes::modes() {
    QFETCH(bool, browse);
    QFETCH(bool, insert);
    QFETCH(bool, edit);
    EditorRig rig;
    rig.store.add(1, QStringLiteral("Santos"));
    TFrmClubes& editor = rig.open();
    QObject* item = control(editor, QString::fromLatin1(QTest::currentDataTag()));
    QVERIFY(item);
    QCOMPARE(enabled(item), browse);
    editor.Novo1->trigger();
    QCOMPARE(enabled(item), insert);
    QCOMPARE(editor.BtnFoto->text(), QStringLiteral("Selecionar logo"));
    editor.BtnCancelarClick();
    QCOMPARE(enabled(item), browse);
    editor.Alterar1->trigger();
    QCOMPARE(enabled(item), edit);
    QCOMPARE(editor.BtnFoto->text(), QStringLiteral("Alterar logo"));
    rig.click(editor.BtnGravar);
    QCOMPARE(rig.clubs().state(), Table::State::Browse);
    QCOMPARE(enabled(item), browse);
}

void TestClubes::numbering_data() {
    QTest::addColumn<QList<int>>("codes");
    QTest::addColumn<int>("deleted");
    QTest::addColumn<int>("expected");
    QTest::newRow("empty table") << QList<int>{} << 0 << 1;
    QTest::newRow("one above the highest") << QList<int>{1, 2, 3} << 0 << 4;
    QTest::newRow("highest deleted is given again") << QList<int>{1, 2, 3} << 3 << 3;
    QTest::newRow("gap is never filled") << QList<int>{1, 2, 3} << 2 << 4;
}

void TestClubes::numbering() {
    QFETCH(QList<int>, codes);
    QFETCH(int, deleted);
    QFETCH(int, expected);
    EditorRig rig;
    for (int code : codes)
        rig.store.add(code, QStringLiteral("Clube %1").arg(code));
    TFrmClubes& editor = rig.open();
    if (deleted != 0) {
        rig.goTo(deleted);
        rig.dialogs().queueAnswer(MsgResult::Yes);
        editor.Excluir1->trigger();
        QCOMPARE(rig.store.count(QStringLiteral("Clubes")), codes.size() - 1);
    }
    rig.fillNew(QStringLiteral("Novo Clube"));
    QCOMPARE(editor.lblCodigo->text(), QString::number(expected));
    rig.click(editor.BtnGravar);
    QCOMPARE(rig.clubs().state(), Table::State::Browse);
    QCOMPARE(rig.stored(expected, QStringLiteral("NomeClube")), QStringLiteral("Novo Clube"));
    QCOMPARE(editor.lblCodigo->text(), QString::number(expected));
}

void TestClubes::noCodeLeftKeepsBrowsing() {
    EditorRig rig;
    rig.store.add(std::numeric_limits<qint32>::max(), QStringLiteral("Último"));
    TFrmClubes& editor = rig.open();
    editor.Novo1->trigger();
    // Told why, and no row half made with a wrapped code.
    QCOMPARE(rig.dialogs().shown().size(), 1);
    QVERIFY2(rig.dialogs().shown().first().text.contains(QStringLiteral("códigos livres")),
             qPrintable(rig.dialogs().shown().first().text));
    QCOMPARE(rig.clubs().state(), Table::State::Browse);
    QVERIFY(editor.Novo1->isEnabled());
    QCOMPARE(rig.store.count(QStringLiteral("Clubes")), 1);
}

void TestClubes::cancelOffersSameCode() {
    EditorRig rig;
    rig.store.add(1, QStringLiteral("Santos"));
    rig.store.add(2, QStringLiteral("Palmeiras"));
    TFrmClubes& editor = rig.open();
    editor.Novo1->trigger();
    QCOMPARE(editor.lblCodigo->text(), QStringLiteral("3"));
    QVERIFY(!rig.hasPicture(editor.ImgLogoClube));
    editor.EdtNomeClube->setText(QStringLiteral("Descartado"));
    rig.click(editor.BtnCancelar);
    QCOMPARE(editor.lblCodigo->text(), QStringLiteral("1"));
    QCOMPARE(editor.EdtNomeClube->text(), QStringLiteral("Santos"));
    QVERIFY(rig.hasPicture(editor.ImgLogoClube));
    QVERIFY(editor.stateGroupVisible());
    QCOMPARE(rig.store.count(QStringLiteral("Clubes")), 2);
    editor.Novo1->trigger();
    QCOMPARE(editor.lblCodigo->text(), QStringLiteral("3"));
    QVERIFY(editor.EdtNomeClube->text().isEmpty());
}

void TestClubes::saveNewRow() {
    EditorRig rig;
    TFrmClubes& editor = rig.open();
    rig.fillNew(QStringLiteral("Boca Juniors"));
    editor.EdtNomeCompletoClube->setText(QStringLiteral("Club Atlético Boca Juniors"));
    editor.EdtEstadio->setText(QStringLiteral("La Bombonera"));
    rig.click(editor.CkbExtinto);
    rig.click(editor.BtnGravar);
    QVERIFY2(rig.dialogs().shown().size() == 1, "only the picture dialog");
    QCOMPARE(rig.clubs().state(), Table::State::Browse);
    QCOMPARE(rig.stored(1, QStringLiteral("NomeCompletoClube")),
             QStringLiteral("Club Atlético Boca Juniors"));
    QCOMPARE(rig.stored(1, QStringLiteral("Estadio")), QStringLiteral("La Bombonera"));
    QCOMPARE(rig.stored(1, QStringLiteral("Identificador")), QStringLiteral("0"));
    QCOMPARE(rig.stored(1, QStringLiteral("Extinto")), QStringLiteral("1"));
    QCOMPARE(rig.stored(1, QStringLiteral("PaisClube")), QStringLiteral("Argentina"));
    QVERIFY(editor.Navegador->isEnabled());
    QVERIFY(editor.BtnLocalizar->isEnabled());
    // Opening the editor again shows the new row.
    editor.Voltar1->trigger();
    rig.open();
    QCOMPARE(editor.lblCodigo->text(), QStringLiteral("1"));
    QCOMPARE(editor.EdtNomeClube->text(), QStringLiteral("Boca Juniors"));
    QVERIFY(editor.CkbExtinto->isChecked());
}

void TestClubes::saveChecks_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("pais");
    QTest::addColumn<QString>("uf");
    QTest::addColumn<QString>("missing"); // field emptied after the picks
    QTest::addColumn<bool>("kind");
    QTest::addColumn<QString>("message"); // "" = saved
    QTest::addColumn<int>("icon");
    const QString duplicate =
        QStringLiteral("Existe cadastrado outro Clube e/ou Seleção com este nome.");
    const QString required = QStringLiteral("Todos os campos são de preenchimento obrigatório");
    const QString state = QStringLiteral("Verifique o preenchimento campo ESTADO");
    const int error = int(MsgIcon::Error);
    const int warning = int(MsgIcon::Warning);
    row("exact duplicate", "Santos", "Argentina", "", "", true, duplicate, error);
    row("duplicate comes before missing fields", "Santos", "Brasil", "", "EscudoClube", false,
        duplicate, error);
    row("letter case differs", "SANTOS", "Argentina", "", "", true, "", 0);
    row("trailing space differs", "Santos ", "Argentina", "", "", true, "", 0);
    row("no kind", "Boca", "Argentina", "", "", false, required, warning);
    row("no badge", "Boca", "Argentina", "", "EscudoClube", true, required, warning);
    row("no country flag", "Boca", "Argentina", "", "BandeiraPais", true, required, warning);
    row("no federation logo", "Boca", "Argentina", "", "LogoFederacao", true, required, warning);
    row("no short name", "", "Argentina", "", "", true, required, warning);
    row("missing field before state", "Boca", "Brasil", "", "LogoFederacao", true, required,
        warning);
    row("Brasil without state", "Bragantino", "Brasil", "", "", true, state, warning);
    row("Brasil with state", "Bragantino", "Brasil", "SP", "", true, "", 0);
    row("other country needs no state", "Boca", "Argentina", "", "", true, "", 0);
}

void TestClubes::saveChecks() {
    QFETCH(QString, name);
    QFETCH(QString, pais);
    QFETCH(QString, uf);
    QFETCH(QString, missing);
    QFETCH(bool, kind);
    QFETCH(QString, message);
    QFETCH(int, icon);
    EditorRig rig;
    rig.store.add(1, QStringLiteral("Santos"));
    TFrmClubes& editor = rig.open();
    editor.Novo1->trigger();
    editor.EdtNomeClube->setText(name);
    rig.pick(pais, uf);
    rig.chooseBadge(rig.store.makeBadge(QStringLiteral("novo.jpg")));
    if (!missing.isEmpty())
        rig.clubs().setFieldText(missing, QString());
    if (kind)
        rig.click(editor.rbSelecao);
    rig.dialogs().clearLog();
    rig.click(editor.BtnGravar);

    if (message.isEmpty()) {
        QCOMPARE(rig.dialogs().messages(), QStringList());
        QCOMPARE(rig.clubs().state(), Table::State::Browse);
        QCOMPARE(rig.stored(2, QStringLiteral("NomeClube")), name);
        return;
    }
    QCOMPARE(rig.dialogs().messages(), QStringList{message});
    const auto& shown = rig.dialogs().shown().constLast();
    QCOMPARE(shown.caption, velmoraCaption);
    QCOMPARE(int(shown.icon), icon);
    QCOMPARE(rig.clubs().state(), Table::State::Insert);
    QCOMPARE(editor.EdtNomeClube->text(), name);
    QVERIFY(editor.BtnGravar->isEnabled());
    QCOMPARE(rig.store.count(QStringLiteral("Clubes")), 1);
    QCOMPARE(editor.pendingBadge(), 1);
    QCOMPARE(rig.badgeFiles().size(), 1); // nothing copied
    if (icon == int(MsgIcon::Error))
        QVERIFY(editor.EdtNomeClube->hasFocus());
}

void TestClubes::editedNameRules_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("saved");
    QTest::newRow("unchanged") << "Santos" << true;
    QTest::newRow("another stored name") << "Palmeiras" << false;
    QTest::newRow("own name in capitals") << "SANTOS" << true;
    QTest::newRow("a free name") << "Santos FC" << true;
}

void TestClubes::editedNameRules() {
    QFETCH(QString, name);
    QFETCH(bool, saved);
    EditorRig rig;
    rig.store.add(1, QStringLiteral("Santos"));
    rig.store.add(2, QStringLiteral("Palmeiras"));
    TFrmClubes& editor = rig.open();
    editor.Alterar1->trigger();
    QCOMPARE(editor.rememberedName(), QStringLiteral("Santos"));
    editor.EdtNomeClube->setText(name);
    rig.click(editor.BtnGravar);
    QCOMPARE(rig.clubs().state(), saved ? Table::State::Browse : Table::State::Edit);
    QCOMPARE(rig.stored(1, QStringLiteral("NomeClube")), saved ? name : QStringLiteral("Santos"));
    QCOMPARE(rig.dialogs().messages().size(), saved ? 0 : 1);
}

void TestClubes::lastEditedNameStillDuplicate() {
    EditorRig rig;
    rig.store.add(1, QStringLiteral("Santos"));
    TFrmClubes& editor = rig.open();
    editor.Alterar1->trigger();
    rig.click(editor.BtnGravar);
    rig.fillNew(QStringLiteral("Santos"));
    QVERIFY(editor.rememberedName().isEmpty());
    rig.click(editor.BtnGravar);
    QCOMPARE(rig.dialogs().messages(),
             QStringList{"Existe cadastrado outro Clube e/ou Seleção com este nome."});
    QCOMPARE(rig.clubs().state(), Table::State::Insert);
}

void TestClubes::clearedNameMeetsNamelessRow() {
    EditorRig rig;
    rig.store.add(1, QStringLiteral("Santos"));
    rig.store.add(2, QStringLiteral("Sem Nome"));
    rig.store.exec(QStringLiteral("update Clubes set NomeClube = null where Codigo = 2"));
    TFrmClubes& editor = rig.open();
    editor.Alterar1->trigger();
    editor.EdtNomeClube->clear();
    rig.click(editor.BtnGravar);
    // A stored row without a name reads as empty text, so it is the same name.
    QCOMPARE(rig.dialogs().messages(),
             QStringList{"Existe cadastrado outro Clube e/ou Seleção com este nome."});
}

void TestClubes::emptyTableCommands_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("message");
    row("Alterar", "Alterar1", "Não há registros para serem alterados");
    row("Excluir", "Excluir1", "Não há registros para serem excluídos");
}

void TestClubes::emptyTableCommands() {
    QFETCH(QString, command);
    QFETCH(QString, message);
    EditorRig rig;
    TFrmClubes& editor = rig.open();
    // Before any activation every menu item is usable.
    editor.Alterar1->setEnabled(true);
    editor.Excluir1->setEnabled(true);
    editor.findChild<QAction*>(command)->trigger();
    QCOMPARE(rig.dialogs().messages(), QStringList{message});
    QCOMPARE(int(rig.dialogs().shown().constLast().icon), int(MsgIcon::Warning));
    QCOMPARE(rig.dialogs().shown().constLast().caption, velmoraCaption);
    QVERIFY(!editor.Alterar1->isEnabled());
    QVERIFY(!editor.Excluir1->isEnabled());
    QCOMPARE(rig.clubs().state(), Table::State::Browse);
}

void TestClubes::deleteInMiddle() {
    EditorRig rig;
    rig.store.add(1, QStringLiteral("Santos"));
    const Club middle = rig.store.add(2, QStringLiteral("Palmeiras"));
    Club last = rig.store.selecao(3, QStringLiteral("Argentina"), QStringLiteral("Argentina"));
    last.extinto = 1;
    rig.store.insert(last);
    TFrmClubes& editor = rig.open();
    rig.goTo(2);
    QVERIFY(editor.stateGroupVisible());
    rig.dialogs().queueAnswer(MsgResult::Yes);
    editor.Excluir1->trigger();
    const auto& asked = rig.dialogs().shown().constLast();
    QCOMPARE(asked.text, QStringLiteral("Confirma exclusão?"));
    QCOMPARE(int(asked.icon), int(MsgIcon::Question));
    QCOMPARE(int(asked.buttons), int(MsgButtons::YesNo));
    QCOMPARE(rig.store.count(QStringLiteral("Clubes")), 2);
    QVERIFY(!QFile::exists(middle.escudoClube));
    QCOMPARE(editor.lblCodigo->text(), QStringLiteral("3"));
    QCOMPARE(editor.EdtNomeClube->text(), QStringLiteral("Argentina"));
    QVERIFY(editor.rbSelecao->isChecked());
    QVERIFY(editor.CkbExtinto->isChecked());
    QVERIFY(!editor.stateGroupVisible());
    QVERIFY(rig.hasPicture(editor.ImgLogoClube));
}

void TestClubes::deleteNeedsYes() {
    EditorRig rig;
    const Club santos = rig.store.add(1, QStringLiteral("Santos"));
    TFrmClubes& editor = rig.open();
    rig.dialogs().queueAnswer(MsgResult::No);
    editor.Excluir1->trigger();
    QCOMPARE(rig.store.count(QStringLiteral("Clubes")), 1);
    QVERIFY(QFile::exists(santos.escudoClube));
    QCOMPARE(editor.lblCodigo->text(), QStringLiteral("1"));
}

void TestClubes::deleteOnlyRow() {
    EditorRig rig;
    const Club santos = rig.store.add(1, QStringLiteral("Santos"));
    TFrmClubes& editor = rig.open();
    QFile::remove(santos.escudoClube); // a badge already gone does not keep the row
    rig.dialogs().clearLog();
    rig.dialogs().queueAnswer(MsgResult::Yes);
    editor.Excluir1->trigger();
    QCOMPARE(rig.dialogs().messages(), QStringList{"Confirma exclusão?"});
    QCOMPARE(rig.store.count(QStringLiteral("Clubes")), 0);
    for (QLabel* box :
         {editor.ImgLogoClube, editor.ImgBandeira, editor.ImgUF, editor.ImgLogoFederacao})
        QVERIFY(!rig.hasPicture(box));
    QVERIFY(editor.lblCodigo->text().isEmpty());
    QVERIFY(!editor.stateGroupVisible());
    QCOMPARE(navigatorEnabled(editor), QStringList());
    QVERIFY(!editor.BtnLocalizar->isEnabled());
    QVERIFY(!editor.Alterar1->isEnabled());
    QVERIFY(!editor.RecalcularIdadedosClubes1->isEnabled());
}

void TestClubes::navigator() {
    EditorRig rig;
    rig.store.add(1, QStringLiteral("Santos"));
    rig.store.insert(rig.store.selecao(2, QStringLiteral("Itália"), QStringLiteral("Itália")));
    rig.store.add(3, QStringLiteral("Flamengo"), QStringLiteral("Brasil"), QStringLiteral("RJ"));
    TFrmClubes& editor = rig.open();
    QCOMPARE(navigatorEnabled(editor), QStringList({"nbNext", "nbLast"}));
    rig.click(editor.Navegador->button(DbNavigator::Button::Next));
    QCOMPARE(editor.lblCodigo->text(), QStringLiteral("2"));
    QVERIFY(editor.rbSelecao->isChecked());
    QVERIFY(!editor.stateGroupVisible());
    QCOMPARE(navigatorEnabled(editor), QStringList({"nbFirst", "nbPrior", "nbNext", "nbLast"}));
    rig.click(editor.Navegador->button(DbNavigator::Button::Last));
    QCOMPARE(editor.lblCodigo->text(), QStringLiteral("3"));
    QCOMPARE(editor.EdtSiglaEstado->text(), QStringLiteral("RJ"));
    QVERIFY(editor.stateGroupVisible());
    QVERIFY(editor.rbClube->isChecked());
    QCOMPARE(navigatorEnabled(editor), QStringList({"nbFirst", "nbPrior"}));
    rig.click(editor.Navegador->button(DbNavigator::Button::Prior));
    QCOMPARE(editor.lblCodigo->text(), QStringLiteral("2"));
    rig.click(editor.Navegador->button(DbNavigator::Button::First));
    QCOMPARE(editor.lblCodigo->text(), QStringLiteral("1"));
    QVERIFY(rig.dialogs().shown().isEmpty());

    // With no rows the navigator's handler only says so.
    EditorRig empty;
    empty.open().NavegadorClick();
    QCOMPARE(empty.dialogs().messages(), QStringList{"Não há registros cadastrados"});
    QCOMPARE(int(empty.dialogs().shown().constLast().icon), int(MsgIcon::Warning));
}

void TestClubes::locate_data() {
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("code"); // row shown afterwards
    QTest::addColumn<bool>("found");
    row("small letters find capitals", "esportiva", "2", true);
    row("accented small letters", "grêmio", "3", true);
    row("without accents", "gremio foot", "3", true);
    row("other accents", "GRÉMIÔ", "3", true);
    row("anywhere in the name", "tico boca", "4", true);
    row("first match only", "club", "1", true);
    row("short name is not searched", "verdão", "4", false);
    row("nothing found leaves the last row", "xyz", "4", false);
}

void TestClubes::locate() {
    QFETCH(QString, answer);
    QFETCH(QString, code);
    QFETCH(bool, found);
    EditorRig rig;
    auto add = [&rig](int codigo, const char* nome, const char* completo) {
        Club c = rig.store.club(codigo, QString::fromUtf8(nome));
        c.nomeCompletoClube = QString::fromUtf8(completo);
        rig.store.insert(c);
    };
    add(1, "Santos", "Santos Futebol Clube");
    add(2, "Verdão", "SOCIEDADE ESPORTIVA PALMEIRAS");
    add(3, "Grêmio", "GRÊMIO FOOT-BALL PORTO ALEGRENSE");
    add(4, "Boca", "Club Atlético Boca Juniors");
    TFrmClubes& editor = rig.open();
    rig.goTo(2);
    rig.dialogs().queueEntry(answer);
    rig.click(editor.BtnLocalizar);
    const auto& entry = rig.dialogs().shown().constFirst();
    QCOMPARE(entry.kind, QStringLiteral("entry"));
    QCOMPARE(entry.caption, velmoraCaption);
    QCOMPARE(entry.text, QStringLiteral("Digite uma parte do nome do clube"));
    QCOMPARE(rig.dialogs().messages(),
             found ? QStringList() : QStringList{QStringLiteral("Clube não encontrado")});
    if (!found)
        QCOMPARE(int(rig.dialogs().shown().constLast().icon), int(MsgIcon::Information));
    QCOMPARE(editor.lblCodigo->text(), code);
    QCOMPARE(editor.EdtNomeClube->text(), rig.stored(code.toInt(), QStringLiteral("NomeClube")));
    QCOMPARE(rig.clubs().fieldText(QStringLiteral("Codigo")), code);
}

void TestClubes::locateOnlyInBrowseMode() {
    EditorRig rig;
    rig.store.add(1, QStringLiteral("Santos"));
    rig.store.add(2, QStringLiteral("Palmeiras"));
    TFrmClubes& editor = rig.open();
    // An empty answer does nothing.
    rig.click(editor.BtnLocalizar);
    QCOMPARE(rig.dialogs().messages(), QStringList());
    QCOMPARE(editor.lblCodigo->text(), QStringLiteral("1"));

    editor.Novo1->trigger();
    QVERIFY(!editor.BtnLocalizar->isEnabled());
    rig.dialogs().queueEntry(QStringLiteral("Palmeiras"));
    editor.BtnLocalizarClick();
    QCOMPARE(rig.clubs().state(), Table::State::Insert);
    QCOMPARE(editor.lblCodigo->text(), QStringLiteral("3"));
    rig.click(editor.BtnCancelar);
    QVERIFY(editor.BtnLocalizar->isEnabled());
    rig.click(editor.BtnLocalizar);
    QCOMPARE(editor.lblCodigo->text(), QStringLiteral("2"));
}

void TestClubes::kindAndExtinctWriteOnlyWhenPending() {
    EditorRig rig;
    rig.store.add(1, QStringLiteral("Santos"));
    TFrmClubes& editor = rig.open();
    // Browse mode: the boxes may change, the row does not.
    editor.rbSelecao->setChecked(true);
    editor.rbSelecaoClick();
    editor.CkbExtinto->setChecked(true);
    editor.CkbExtintoClick();
    QCOMPARE(rig.stored(1, QStringLiteral("Identificador")), QStringLiteral("0"));
    QCOMPARE(rig.stored(1, QStringLiteral("Extinto")), QStringLiteral("0"));
    QCOMPARE(rig.dialogs().shown().size(), 0);
    editor.recordDisplay();

    editor.Alterar1->trigger();
    QVERIFY(editor.rbClube->isChecked()); // edit shows the stored kind again
    rig.click(editor.rbSelecao);
    QVERIFY(!editor.rbClube->isChecked());
    rig.click(editor.CkbExtinto);
    QCOMPARE(rig.clubs().fieldText(QStringLiteral("Identificador")), QStringLiteral("1"));
    QCOMPARE(rig.clubs().fieldText(QStringLiteral("Extinto")), QStringLiteral("1"));
    rig.click(editor.BtnCancelar);
    QCOMPARE(rig.stored(1, QStringLiteral("Identificador")), QStringLiteral("0"));
    QVERIFY(editor.rbClube->isChecked());
    QVERIFY(!editor.CkbExtinto->isChecked());

    // A new row starts with no kind and not extinct.
    editor.Novo1->trigger();
    QVERIFY(!editor.rbClube->isChecked());
    QVERIFY(!editor.rbSelecao->isChecked());
    QVERIFY(!editor.CkbExtinto->isChecked());
    QVERIFY(rig.clubs().fieldText(QStringLiteral("Identificador")).isEmpty());
}

void TestClubes::dialogChoiceKeepsCommandsDisabled() {
    EditorRig rig;
    rig.store.add(1, QStringLiteral("Santos"));
    TFrmClubes& editor = rig.open();
    editor.Novo1->trigger();
    rig.click(editor.BtnSelecionarPais);
    QVERIFY(rig.app().FrmPaises->isVisible());
    rig.pick(QStringLiteral("Brasil"), QStringLiteral("SP"));
    QCOMPARE(editor.EdtNomePais->text(), QStringLiteral("Brasil"));
    rig.app().forms.close(rig.app().FrmPaises.get());
    rig.app().forms.show(&editor);
    QVERIFY(QTest::qWaitForWindowActive(&editor));
    editor.FormActivate();
    for (QAction* item : {editor.Novo1, editor.Alterar1, editor.Excluir1, editor.Voltar1,
                          editor.Cadastrarcidade1, editor.RecalcularIdadedosClubes1})
        QVERIFY2(!item->isEnabled(), qPrintable(item->objectName()));
    QVERIFY(!editor.BtnLocalizar->isEnabled());
}

void TestClubes::otherWindows_data() {
    QTest::addColumn<QString>("trigger");
    QTest::addColumn<QString>("window");
    row("country", "BtnSelecionarPais", "FrmPaises");
    row("state", "BtnSelecionaUF", "FrmUF");
    row("city", "BtnSelecionarCidade", "FrmCidade");
    row("federation", "BtnFederacao", "FrmFederacao");
    row("city registry", "Cadastrarcidade1", "FrmCadastroCidade");
}

void TestClubes::otherWindows() {
    QFETCH(QString, trigger);
    QFETCH(QString, window);
    EditorRig rig;
    rig.store.add(1, QStringLiteral("Santos"));
    TFrmClubes& editor = rig.open();
    QObject* source = control(editor, trigger);
    if (auto* action = qobject_cast<QAction*>(source)) {
        action->trigger();
    } else {
        editor.Alterar1->trigger(); // the dialogs open only for a pending row
        rig.click(static_cast<QPushButton*>(source));
    }
    Form* opened = nullptr;
    for (Form* form :
         {static_cast<Form*>(rig.app().FrmPaises.get()), static_cast<Form*>(rig.app().FrmUF.get()),
          static_cast<Form*>(rig.app().FrmCidade.get()),
          static_cast<Form*>(rig.app().FrmFederacao.get()),
          static_cast<Form*>(rig.app().FrmCadastroCidade.get())})
        if (form->isVisible())
            opened = form;
    QVERIFY(opened);
    QCOMPARE(opened->objectName(), window);
    QVERIFY(editor.isVisible());
}

void TestClubes::closeBox_data() {
    QTest::addColumn<QString>("mode");
    QTest::newRow("inserting: stays with its row") << "insert";
    QTest::newRow("editing: stays with its row") << "edit";
    QTest::newRow("browsing: back to the main window") << "browse";
}

// The window manager's close box (or Alt+F4) does what "Voltar" does, and nothing
// while "Voltar" is unavailable.
void TestClubes::closeBox() {
    QFETCH(QString, mode);
    EditorRig rig;
    rig.store.add(1, QStringLiteral("Santos"));
    TFrmClubes& editor = rig.open();
    if (mode == QLatin1String("insert"))
        editor.Novo1->trigger();
    if (mode == QLatin1String("edit"))
        editor.Alterar1->trigger();
    const bool pending = mode != QLatin1String("browse");
    if (pending)
        editor.EdtNomeClube->setText(QStringLiteral("Boca"));
    const Table::State state = rig.clubs().state();

    editor.close();
    QCOMPARE(editor.isVisible(), pending);
    QCOMPARE(rig.app().FrmInicial->isVisible(), !pending);
    QCOMPARE(rig.clubs().state(), state);
    QVERIFY(rig.dialogs().shown().isEmpty());
    if (!pending)
        return;
    QCOMPARE(editor.EdtNomeClube->text(), QStringLiteral("Boca"));
    QVERIFY(editor.BtnGravar->isEnabled()); // the row can still be finished
}

void TestClubes::voltar() {
    EditorRig rig;
    TFrmClubes& editor = rig.open();
    editor.Novo1->trigger();
    editor.Voltar1Click(); // refused while a row is pending
    QVERIFY(editor.isVisible());
    rig.click(editor.BtnCancelar);
    editor.Voltar1->trigger();
    QVERIFY(!editor.isVisible());
    QVERIFY(rig.app().FrmInicial->isVisible());
    QVERIFY(rig.dialogs().shown().isEmpty());
}

void TestClubes::editingEnded() {
    EditorRig rig;
    rig.store.add(1, QStringLiteral("Santos"));
    TFrmClubes& editor = rig.open();
    QSignalSpy ended(&editor, &TFrmClubes::editingEnded);
    editor.Alterar1->trigger();
    editor.EdtNomeClube->setText(QStringLiteral("Palmeiras"));
    rig.pick(QStringLiteral("Brasil")); // no state: the save is refused
    rig.click(editor.BtnGravar);
    QCOMPARE(ended.size(), 0);
    rig.click(editor.BtnCancelar);
    QCOMPARE(ended.size(), 1);
    editor.Alterar1->trigger();
    rig.click(editor.BtnGravar);
    QCOMPARE(ended.size(), 2);
}

void TestClubes::yearGivesAge() {
    EditorRig rig;
    rig.store.add(1, QStringLiteral("Santos"));
    TFrmClubes& editor = rig.open();
    editor.Alterar1->trigger();
    editor.ComboAno->setFocus();
    QTest::keyClicks(editor.ComboAno, QStringLiteral("1900"));
    QCOMPARE(editor.ComboAno->currentText(), QStringLiteral("1900"));
    QCOMPARE(rig.clubs().fieldText(QStringLiteral("AnoFundacao")), QStringLiteral("1900"));
    QCOMPARE(editor.EdtIdade->text(), QStringLiteral("124 anos"));
    rig.click(editor.BtnCancelar);
    QCOMPARE(rig.stored(1, QStringLiteral("IdadeClube")), QStringLiteral("114 anos"));
    QCOMPARE(editor.ComboAno->currentText(), QStringLiteral("1910"));
}

void TestClubes::brokenPictureStillShowsRow() {
    EditorRig rig;
    rig.store.add(1, QStringLiteral("Santos"));
    Club broken = rig.store.club(2, QStringLiteral("Palmeiras"));
    broken.bandeiraPais = rig.store.path(QStringLiteral("sumiu.jpg"));
    rig.store.insert(broken);
    TFrmClubes& editor = rig.open();
    rig.click(editor.Navegador->button(DbNavigator::Button::Next));
    QCOMPARE(rig.dialogs().shown().size(), 1);
    QCOMPARE(rig.dialogs().shown().constLast().caption, QStringLiteral("VELMORA v1.0"));
    QVERIFY(rig.dialogs().shown().constLast().text.contains(QStringLiteral("sumiu.jpg")));
    // The rest of the row is shown, and no picture of the row before is left behind.
    QCOMPARE(editor.lblCodigo->text(), QStringLiteral("2"));
    QVERIFY(!rig.hasPicture(editor.ImgBandeira));
    QVERIFY(rig.hasPicture(editor.ImgLogoClube));
}

QTEST_MAIN(TestClubes)
#include "test_clubes.moc"
