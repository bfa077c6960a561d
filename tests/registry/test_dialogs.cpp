// The selection dialogs of the club editor: layout, lists, previews, what OK writes
// into the pending row, the "Brasil" rules, empty picks and failures.
#include "platform/Fonts.h"
#include "registry/Cidade.h"
#include "registry/Federacao.h"
#include "registry/Paises.h"
#include "registry/UF.h"
#include "tests/support/EditorRig.h"
#include "tests/support/Rows.h"

#include <QComboBox>
#include <QRegularExpression>

using namespace velmora;
using velmora::test::EditorRig;
using velmora::test::row;

namespace {

const QString brasil = QStringLiteral("Brasil");

SelectionDialog* dialogNamed(VelmoraApp& app, const QString& name) {
    for (SelectionDialog* dialog : {static_cast<SelectionDialog*>(app.FrmPaises.get()),
                                    static_cast<SelectionDialog*>(app.FrmUF.get()),
                                    static_cast<SelectionDialog*>(app.FrmCidade.get()),
                                    static_cast<SelectionDialog*>(app.FrmFederacao.get())})
        if (dialog->objectName() == name)
            return dialog;
    return nullptr;
}

// The editor button that opens a dialog.
QPushButton* openerOf(TFrmClubes& editor, const QString& dialog) {
    if (dialog == QLatin1String("FrmPaises"))
        return editor.BtnSelecionarPais;
    if (dialog == QLatin1String("FrmUF"))
        return editor.BtnSelecionaUF;
    if (dialog == QLatin1String("FrmCidade"))
        return editor.BtnSelecionarCidade;
    return editor.BtnFederacao;
}

QStringList items(const QComboBox* list) {
    QStringList all;
    for (int i = 0; i < list->count(); ++i)
        all << list->itemText(i);
    return all;
}

bool choose(SelectionDialog& dialog, const QString& item) {
    const int index = dialog.list()->findText(item);
    if (index < 0)
        return false;
    dialog.list()->setCurrentIndex(index);
    return true;
}

// The box shows exactly the picture at path, stretched to the box.
bool shows(VelmoraApp& app, const QLabel* box, const QString& path) {
    if (box->pixmap().isNull())
        return false;
    const QImage expected = app.pictures.load(path, box->size());
    return box->pixmap().toImage().convertToFormat(QImage::Format_RGB32) ==
           expected.convertToFormat(QImage::Format_RGB32);
}

// "{flag:Argentina}", "{uf:SP}", "{logo:UEFA}" stand for the store's picture paths.
QString resolve(const test::TestStore& store, const QString& text) {
    static const QRegularExpression token(QStringLiteral("^\\{(flag|uf|logo):(.*)\\}$"));
    const QRegularExpressionMatch m = token.match(text);
    if (!m.hasMatch())
        return text;
    if (m.captured(1) == QLatin1String("flag"))
        return store.countryFlag(m.captured(2));
    if (m.captured(1) == QLatin1String("uf"))
        return store.stateFlag(m.captured(2));
    return store.logo(m.captured(2));
}

// An editor editing the Brazilian club 1 (Santos, SP, São Paulo, FPF-SP), with
// every opening button usable.
struct EditingRig : EditorRig {
    TFrmClubes& start() {
        store.add(1, QStringLiteral("Santos"));
        TFrmClubes& editor = open();
        editor.Alterar1->trigger();
        return editor;
    }
    SelectionDialog& openDialog(const QString& name) {
        click(openerOf(editor(), name));
        return *dialogNamed(app(), name);
    }
    QString pending(const char* field) { return clubs().fieldText(QString::fromLatin1(field)); }
};

} // namespace

class TestDialogs final : public QObject {
    Q_OBJECT
private slots:
    void layout_data();
    void layout();
    void federationPlace();
    void lists_data();
    void lists();
    void preview_data();
    void preview();
    void okWrites_data();
    void okWrites();
    void brasilSequence();
    void switchingCountryAfterBrasil();
    void emptyPick_data();
    void emptyPick();
    void okAfterEditingEnded_data();
    void okAfterEditingEnded();
    void pictureFailsOnOk_data();
    void pictureFailsOnOk();
    void okReadsOwnPath();
    void emptyCityList();
};

void TestDialogs::layout_data() {
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QString>("list");
    QTest::addColumn<QRect>("listRect");
    QTest::addColumn<QString>("preview");
    QTest::addColumn<QRect>("previewRect");
    QTest::addColumn<QRect>("okRect");
    QTest::addColumn<bool>("background");
    QTest::newRow("FrmPaises") << "Selecionar País" << QSize(422, 101) << "ComboPais"
                               << QRect(130, 33, 275, 24) << "ImgBandeiraPais"
                               << QRect(14, 19, 94, 62) << QRect(330, 63, 75, 25) << true;
    QTest::newRow("FrmUF") << "Selecionar Estado" << QSize(441, 107) << "ComboUf"
                           << QRect(132, 35, 292, 24) << "ImgBandeiraUF" << QRect(14, 23, 95, 61)
                           << QRect(349, 65, 75, 25) << true;
    QTest::newRow("FrmCidade") << "Selecionar a Cidade" << QSize(443, 65) << "ComboCidade"
                               << QRect(16, 21, 327, 24) << "" << QRect() << QRect(352, 20, 75, 25)
                               << false;
    QTest::newRow("FrmFederacao") << "Selecionar Federação" << QSize(345, 107) << "ComboFederacao"
                                  << QRect(118, 35, 210, 24) << "ImgLogoFederacao"
                                  << QRect(12, 12, 83, 83) << QRect(253, 65, 75, 25) << true;
}

void TestDialogs::layout() {
    QFETCH(QString, caption);
    QFETCH(QSize, size);
    QFETCH(QString, list);
    QFETCH(QRect, listRect);
    QFETCH(QString, preview);
    QFETCH(QRect, previewRect);
    QFETCH(QRect, okRect);
    QFETCH(bool, background);
    EditorRig rig;
    rig.fx.start();
    SelectionDialog* dialog = dialogNamed(rig.app(), QString::fromLatin1(QTest::currentDataTag()));
    QVERIFY(dialog);
    QCOMPARE(dialog->windowTitle(), caption);
    QCOMPARE(dialog->client()->size(), size);
    QVERIFY(!dialog->isVisible());
    QVERIFY(!(dialog->windowFlags() & Qt::WindowCloseButtonHint));

    auto* combo = dialog->findChild<QComboBox*>(list);
    QVERIFY(combo);
    QCOMPARE(combo->geometry(), listRect);
    QVERIFY(!combo->isEditable());
    QCOMPARE(combo->font().pixelSize(), 15);
    QVERIFY(combo->font().bold());
    QCOMPARE(combo->font().family(), pixelFont(QStringLiteral("Corbel"), 15, true).family());

    if (preview.isEmpty()) {
        QVERIFY(!dialog->preview());
    } else {
        auto* box = dialog->findChild<QLabel*>(preview);
        QVERIFY(box);
        QCOMPARE(box->geometry(), previewRect);
        QVERIFY(box->hasScaledContents());
    }
    auto* ok = dialog->findChild<QPushButton*>(QStringLiteral("BtnOk"));
    QVERIFY(ok);
    QCOMPARE(ok->geometry(), okRect);
    QVERIFY(!ok->icon().isNull());
    auto* image = dialog->findChild<QLabel*>(QStringLiteral("Image1"));
    QCOMPARE(image != nullptr, background);
    if (background) {
        QVERIFY(!image->pixmap().isNull());
        QCOMPARE(image->geometry(), QRect(QPoint(0, 0), size));
    }
}

void TestDialogs::federationPlace() {
    EditingRig rig;
    rig.start();
    SelectionDialog& dialog = rig.openDialog(QStringLiteral("FrmFederacao"));
    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.pos(), QPoint(372, 332));
}

void TestDialogs::lists_data() {
    QTest::addColumn<QStringList>("expected");
    row("FrmPaises",
        QStringList{"Alemanha", "Argentina", "Brasil", "Inglaterra", "Itália", "Uruguai"});
    // Ordered by code; each item is the code, "-", the name.
    row("FrmUF", QStringList{"MG-Minas Gerais", "RJ-Rio de Janeiro", "RS-Rio Grande do Sul",
                             "SP-São Paulo"});
    // The club is Brazilian, of SP: the cities of that state only.
    row("FrmCidade", QStringList{"Campinas", "Santos", "São Paulo"});
    row("FrmFederacao", QStringList{"CBF", "CONMEBOL", "FERJ", "FIFA", "FPF-SP", "UEFA"});
}

void TestDialogs::lists() {
    QFETCH(QStringList, expected);
    EditingRig rig;
    TFrmClubes& editor = rig.start();
    SelectionDialog& dialog = rig.openDialog(QString::fromLatin1(QTest::currentDataTag()));
    QVERIFY(dialog.isVisible());
    QVERIFY(editor.isVisible());
    // Shown at exactly its client size, however low.
    QCOMPARE(dialog.size(), dialog.clientSize());
    QCOMPARE(items(dialog.list()), expected);
    QCOMPARE(dialog.list()->currentIndex(), -1);
    QVERIFY(dialog.list()->currentText().isEmpty());
    QVERIFY(rig.dialogs().shown().isEmpty());
}

void TestDialogs::preview_data() {
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("picture");
    row("FrmPaises", "Itália", "{flag:Itália}");
    row("FrmUF", "RS-Rio Grande do Sul", "{uf:RS}");
    row("FrmFederacao", "CONMEBOL", "{logo:CONMEBOL}");
}

void TestDialogs::preview() {
    QFETCH(QString, item);
    QFETCH(QString, picture);
    EditingRig rig;
    rig.start();
    SelectionDialog& dialog = rig.openDialog(QString::fromLatin1(QTest::currentDataTag()));
    QVERIFY(choose(dialog, item));
    QVERIFY(shows(rig.app(), dialog.preview(), resolve(rig.store, picture)));
    // Picking only previews: nothing is written.
    QCOMPARE(rig.pending("PaisClube"), brasil);
    QCOMPARE(rig.pending("UFClube"), QStringLiteral("SP"));
    QCOMPARE(rig.pending("Federacao"), QStringLiteral("FPF-SP"));
    // Opened again: the list is read again, with no pick and no preview left over.
    rig.click(openerOf(rig.editor(), QString::fromLatin1(QTest::currentDataTag())));
    QCOMPARE(dialog.list()->currentIndex(), -1);
    QVERIFY(dialog.preview()->pixmap().isNull());
    QVERIFY(dialog.list()->count() > 0);
}

void TestDialogs::okWrites_data() {
    QTest::addColumn<QString>("item");
    QTest::addColumn<QStringList>("writes"); // Field=value
    QTest::addColumn<QString>("editorPicture");
    QTest::addColumn<QString>("picture");
    row("FrmPaises", "Inglaterra",
        QStringList{"PaisClube=Inglaterra", "BandeiraPais={flag:Inglaterra}"}, "ImgBandeira",
        "{flag:Inglaterra}");
    row("FrmUF", "RJ-Rio de Janeiro",
        QStringList{"UFClube=RJ", "BandeiraUF={uf:RJ}", "PaisClube=Brasil"}, "ImgUF", "{uf:RJ}");
    row("FrmCidade", "Campinas", QStringList{"CidadeClube=Campinas", "UFClube=SP"}, "", "");
    row("FrmFederacao", "UEFA", QStringList{"Federacao=UEFA", "LogoFederacao={logo:UEFA}"},
        "ImgLogoFederacao", "{logo:UEFA}");
}

void TestDialogs::okWrites() {
    QFETCH(QString, item);
    QFETCH(QStringList, writes);
    QFETCH(QString, editorPicture);
    QFETCH(QString, picture);
    EditingRig rig;
    TFrmClubes& editor = rig.start();
    SelectionDialog& dialog = rig.openDialog(QString::fromLatin1(QTest::currentDataTag()));
    QVERIFY(choose(dialog, item));
    rig.click(dialog.BtnOk);
    QVERIFY(!dialog.isVisible());
    QVERIFY(rig.dialogs().shown().isEmpty());
    for (const QString& write : writes) {
        const QString field = write.section(u'=', 0, 0);
        QCOMPARE(rig.clubs().fieldText(field), resolve(rig.store, write.section(u'=', 1)));
    }
    if (!editorPicture.isEmpty())
        QVERIFY(shows(rig.app(), editor.findChild<QLabel*>(editorPicture),
                      resolve(rig.store, picture)));
    // Still pending: the stored row changes only with the save.
    const QString first = writes.first().section(u'=', 0, 0);
    QVERIFY(rig.stored(1, first) != rig.clubs().fieldText(first));
    rig.click(editor.BtnGravar);
    QCOMPARE(rig.clubs().state(), Table::State::Browse);
    QCOMPARE(rig.stored(1, first), resolve(rig.store, writes.first().section(u'=', 1)));
}

void TestDialogs::brasilSequence() {
    EditorRig rig;
    TFrmClubes& editor = rig.open();
    editor.Novo1->trigger();
    QVERIFY(!editor.BtnSelecionarCidade->isEnabled());
    QVERIFY(!editor.stateGroupVisible());

    rig.click(editor.BtnSelecionarPais);
    TFrmPaises& paises = *rig.app().FrmPaises;
    QVERIFY(choose(paises, brasil));
    rig.click(paises.BtnOk);
    QVERIFY(editor.stateGroupVisible());
    QVERIFY(!editor.BtnSelecionarCidade->isEnabled());
    QCOMPARE(rig.clubs().fieldText(QStringLiteral("PaisClube")), brasil);
    QVERIFY(rig.clubs().fieldText(QStringLiteral("UFClube")).isEmpty());
    // The commands of browse mode stay off after a choice.
    QVERIFY(!editor.Voltar1->isEnabled());
    QVERIFY(!editor.Alterar1->isEnabled());

    rig.click(editor.BtnSelecionaUF);
    TFrmUF& uf = *rig.app().FrmUF;
    QVERIFY(uf.isVisible());
    QVERIFY(choose(uf, QStringLiteral("RJ-Rio de Janeiro")));
    rig.click(uf.BtnOk);
    QVERIFY(editor.BtnSelecionarCidade->isEnabled());
    QCOMPARE(rig.clubs().fieldText(QStringLiteral("UFClube")), QStringLiteral("RJ"));
    QCOMPARE(editor.EdtSiglaEstado->text(), QStringLiteral("RJ"));

    rig.click(editor.BtnSelecionarCidade);
    TFrmCidade& cidade = *rig.app().FrmCidade;
    QCOMPARE(items(cidade.ComboCidade), QStringList{"Rio de Janeiro"});
    QVERIFY(choose(cidade, QStringLiteral("Rio de Janeiro")));
    rig.click(cidade.BtnOk);
    QCOMPARE(editor.EdtNomeCidade->text(), QStringLiteral("Rio de Janeiro"));

    // Another state gives another city list.
    rig.click(editor.BtnSelecionaUF);
    QVERIFY(choose(uf, QStringLiteral("SP-São Paulo")));
    rig.click(uf.BtnOk);
    rig.click(editor.BtnSelecionarCidade);
    QCOMPARE(items(cidade.ComboCidade), (QStringList{"Campinas", "Santos", "São Paulo"}));
}

void TestDialogs::switchingCountryAfterBrasil() {
    EditingRig rig;
    TFrmClubes& editor = rig.start();
    QVERIFY(editor.stateGroupVisible());
    QVERIFY(!editor.ImgUF->pixmap().isNull());
    SelectionDialog& uf = rig.openDialog(QStringLiteral("FrmUF"));
    SelectionDialog& cidade = rig.openDialog(QStringLiteral("FrmCidade"));
    SelectionDialog& paises = rig.openDialog(QStringLiteral("FrmPaises"));
    QVERIFY(choose(paises, QStringLiteral("Argentina")));
    rig.click(paises.BtnOk);

    QVERIFY(rig.pending("UFClube").isEmpty());
    QVERIFY(rig.pending("BandeiraUF").isEmpty());
    QCOMPARE(rig.pending("CidadeClube"), QStringLiteral("São Paulo"));
    QVERIFY(!editor.stateGroupVisible());
    QVERIFY(editor.ImgUF->pixmap().isNull());
    QVERIFY(editor.BtnSelecionarCidade->isEnabled());
    // Dialogs read for Brazil cannot write into an Argentine club.
    QVERIFY(!uf.isVisible());
    QVERIFY(!cidade.isVisible());

    rig.click(editor.BtnSelecionarCidade);
    QCOMPARE(items(cidade.list()), QStringList{"Buenos Aires"});

    // Back to Brasil: the state group returns and the city waits for a state.
    rig.openDialog(QStringLiteral("FrmPaises"));
    QVERIFY(choose(paises, brasil));
    rig.click(paises.BtnOk);
    QVERIFY(editor.stateGroupVisible());
    QVERIFY(!editor.BtnSelecionarCidade->isEnabled());

    rig.click(editor.BtnGravar);
    QCOMPARE(rig.dialogs().messages(), QStringList{"Verifique o preenchimento campo ESTADO"});
}

void TestDialogs::emptyPick_data() {
    QTest::addColumn<QString>("message");
    QTest::newRow("FrmPaises") << "É necessário escolher um País.";
    QTest::newRow("FrmUF") << "É necessário escolher um Estado.";
    QTest::newRow("FrmCidade") << "É necessário escolher uma Cidade.";
    QTest::newRow("FrmFederacao") << "É necessário escolher uma Federação.";
}

void TestDialogs::emptyPick() {
    QFETCH(QString, message);
    EditingRig rig;
    rig.start();
    SelectionDialog& dialog = rig.openDialog(QString::fromLatin1(QTest::currentDataTag()));
    rig.click(dialog.BtnOk);
    QCOMPARE(rig.dialogs().messages(), QStringList{message});
    const ScriptedDialogs::Shown& shown = rig.dialogs().shown().constLast();
    QCOMPARE(shown.caption, QStringLiteral("Velmora"));
    QCOMPARE(shown.icon, MsgIcon::Information);
    QVERIFY(dialog.isVisible());
    QCOMPARE(rig.pending("PaisClube"), brasil);
    QCOMPARE(rig.pending("CidadeClube"), QStringLiteral("São Paulo"));
    QCOMPARE(rig.pending("Federacao"), QStringLiteral("FPF-SP"));
}

void TestDialogs::okAfterEditingEnded_data() {
    QTest::addColumn<QString>("dialog");
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("field");
    QTest::addColumn<bool>("save");
    row("country, cancel", "FrmPaises", "Alemanha", "PaisClube", false);
    row("country, save", "FrmPaises", "Alemanha", "PaisClube", true);
    row("state, cancel", "FrmUF", "MG-Minas Gerais", "UFClube", false);
    row("city, save", "FrmCidade", "Santos", "CidadeClube", true);
    row("federation, cancel", "FrmFederacao", "FIFA", "Federacao", false);
}

void TestDialogs::okAfterEditingEnded() {
    QFETCH(QString, dialog);
    QFETCH(QString, item);
    QFETCH(QString, field);
    QFETCH(bool, save);
    EditingRig rig;
    TFrmClubes& editor = rig.start();
    const QString before = rig.stored(1, field);
    SelectionDialog& opened = rig.openDialog(dialog);
    QVERIFY(choose(opened, item));
    rig.click(save ? editor.BtnGravar : editor.BtnCancelar);
    QCOMPARE(rig.clubs().state(), Table::State::Browse);
    QVERIFY(!opened.isVisible());

    // Even brought back and confirmed, the choice never reaches the stored row.
    rig.app().forms.show(&opened);
    opened.BtnOkClick();
    QVERIFY(!opened.isVisible());
    QCOMPARE(rig.stored(1, field), before);
    QCOMPARE(rig.clubs().fieldText(field), before);
    QVERIFY(rig.dialogs().shown().isEmpty());
}

void TestDialogs::pictureFailsOnOk_data() {
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("breakRow"); // SQLite statement, %1 = the missing file
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("pathField");
    QTest::addColumn<QString>("editorPicture");
    row("FrmPaises", "Uruguai", "update Paises set BandeiraPais = '%1' where NomePais = 'Uruguai'",
        "PaisClube", "BandeiraPais", "ImgBandeira");
    row("FrmUF", "RS-Rio Grande do Sul", "update UF set BandeiraUF = '%1' where UF = 'RS'",
        "UFClube", "BandeiraUF", "ImgUF");
    row("FrmFederacao", "FERJ",
        "update Federacao set LogoFederacao = '%1' where NomeFederacao = 'FERJ'", "Federacao",
        "LogoFederacao", "ImgLogoFederacao");
}

void TestDialogs::pictureFailsOnOk() {
    QFETCH(QString, item);
    QFETCH(QString, breakRow);
    QFETCH(QString, field);
    QFETCH(QString, pathField);
    QFETCH(QString, editorPicture);
    EditingRig rig;
    TFrmClubes& editor = rig.start();
    rig.store.exec(breakRow.arg(rig.store.path(QStringLiteral("sumiu.jpg"))));
    auto* box = editor.findChild<QLabel*>(editorPicture);
    const QImage shownBefore = box->pixmap().toImage();
    const QString valueBefore = rig.clubs().fieldText(field);
    const QString pathBefore = rig.clubs().fieldText(pathField);

    SelectionDialog& dialog = rig.openDialog(QString::fromLatin1(QTest::currentDataTag()));
    QVERIFY(choose(dialog, item));
    QCOMPARE(rig.dialogs().shown().size(), 1); // the preview's own failure
    rig.dialogs().clearLog();
    rig.click(dialog.BtnOk);

    QCOMPARE(rig.dialogs().shown().size(), 1);
    const ScriptedDialogs::Shown& report = rig.dialogs().shown().constFirst();
    QCOMPARE(report.caption, QStringLiteral("VELMORA v1.0"));
    QCOMPARE(report.icon, MsgIcon::Error);
    QVERIFY2(report.text.contains(QStringLiteral("sumiu.jpg")), qPrintable(report.text));
    QVERIFY(dialog.isVisible());
    QCOMPARE(rig.clubs().fieldText(field), valueBefore);
    QCOMPARE(rig.clubs().fieldText(pathField), pathBefore);
    QCOMPARE(box->pixmap().toImage(), shownBefore);
}

void TestDialogs::okReadsOwnPath() {
    EditingRig rig;
    rig.start();
    SelectionDialog& dialog = rig.openDialog(QStringLiteral("FrmFederacao"));
    QVERIFY(choose(dialog, QStringLiteral("UEFA")));
    // The federation chooser of the galleries runs its own preview on the same query object.
    Query& shared = rig.app().dm().QueryFederacao;
    shared.run({QStringLiteral("select LogoFederacao"), QStringLiteral("from Federacao.db"),
                QStringLiteral("where NomeFederacao = :FEDER")},
               {{QStringLiteral("FEDER"), QStringLiteral("FIFA")}});
    rig.click(dialog.BtnOk);
    QCOMPARE(rig.pending("Federacao"), QStringLiteral("UEFA"));
    QCOMPARE(rig.pending("LogoFederacao"), rig.store.logo(QStringLiteral("UEFA")));
}

void TestDialogs::emptyCityList() {
    EditingRig rig;
    TFrmClubes& editor = rig.start();
    SelectionDialog& paises = rig.openDialog(QStringLiteral("FrmPaises"));
    QVERIFY(choose(paises, QStringLiteral("Alemanha"))); // no city registered
    rig.click(paises.BtnOk);
    rig.click(editor.BtnSelecionarCidade);
    SelectionDialog& cidade = *rig.app().FrmCidade;
    QVERIFY(cidade.isVisible());
    QCOMPARE(cidade.list()->count(), 0);
    rig.click(cidade.BtnOk);
    QCOMPARE(rig.dialogs().messages(), QStringList{"É necessário escolher uma Cidade."});
    QCOMPARE(rig.pending("CidadeClube"), QStringLiteral("São Paulo"));
}

QTEST_MAIN(TestDialogs)
#include "test_dialogs.moc"
