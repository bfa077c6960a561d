// Velmora as a desktop program for keyboard and screen-reader users: menu mnemonics,
// shortcuts, Tab order in visual order, accessible names, and windows kept on screen.
#include "app/Informacoes.h"
#include "app/Inicial.h"
#include "app/VelmoraApp.h"
#include "detail/ClubeSelecionado.h"
#include "detail/SelClube.h"
#include "gallery/Anos.h"
#include "gallery/FederSel.h"
#include "gallery/Relatorios.h"
#include "platform/DataControls.h"
#include "registry/CadCidade.h"
#include "registry/Cidade.h"
#include "registry/Clubes.h"
#include "registry/Federacao.h"
#include "registry/Paises.h"
#include "registry/UF.h"
#include "store/Module.h"
#include "tests/support/AppFixture.h"
#include "tests/support/Rows.h"
#include "tests/support/store/TestStore.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScreen>
#include <QToolTip>
#include <QtTest>

#include <functional>

using namespace velmora;
using velmora::test::AppFixture;
using velmora::test::row;
using velmora::test::TestStore;

namespace {

struct Rig : AppFixture {
    // Every window of the program.
    QList<Form*> forms() const {
        QList<Form*> all;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* form = qobject_cast<Form*>(w))
                all.append(form);
        return all;
    }
    bool show(Form* form) {
        app().forms.show(form);
        return QTest::qWaitForWindowActive(form);
    }
};

// The letter after the single "&" of a caption, lower case; "" when there is none.
QString mnemonicOf(const QString& caption) {
    const qsizetype at = caption.indexOf(QLatin1Char('&'));
    if (at < 0 || at + 1 >= caption.size() || caption.indexOf(QLatin1Char('&'), at + 1) >= 0)
        return {};
    return caption.mid(at + 1, 1).toLower();
}

// Each item of a menu (or bar) carries one mnemonic, no two alike; menus inside too.
void checkMnemonics(const QString& where, const QList<QAction*>& items, QStringList& faults) {
    QStringList used;
    for (QAction* item : items) {
        if (item->isSeparator())
            continue;
        const QString letter = mnemonicOf(item->text());
        if (letter.isEmpty() || !letter.at(0).isLetter())
            faults << QStringLiteral("%1: \"%2\" sem atalho").arg(where, item->text());
        else if (used.contains(letter))
            faults << QStringLiteral("%1: \"%2\" repete &%3").arg(where, item->text(), letter);
        used << letter;
        if (item->menu() != nullptr)
            checkMnemonics(where + QLatin1Char('/') + item->text(), item->menu()->actions(),
                           faults);
    }
}

// Presses Tab from first until the focus comes back to it; the object names in order.
QStringList tabWalk(QWidget* first) {
    first->setFocus(Qt::TabFocusReason);
    QStringList names{first->objectName()};
    for (int step = 0; step < 40; ++step) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* now = QApplication::focusWidget();
        if (now == nullptr || now == first)
            break;
        names << now->objectName();
    }
    return names;
}

// A set of radio buttons is one stop (arrows move inside it): named by all its buttons.
QString stopOf(QWidget* w) {
    if (qobject_cast<QRadioButton*>(w) == nullptr)
        return w->objectName();
    QStringList set;
    for (QRadioButton* r :
         w->parentWidget()->findChildren<QRadioButton*>(Qt::FindDirectChildrenOnly))
        set << r->objectName();
    set.sort();
    return set.join(QLatin1Char('/'));
}

// The stops Tab should reach in a window right now, and those a walk reached.
QStringList reachable(Form* form) {
    QStringList names;
    for (QWidget* w : form->client()->findChildren<QWidget*>())
        if ((w->focusPolicy() & Qt::TabFocus) == Qt::TabFocus && w->focusProxy() == nullptr &&
            w->isVisible() && w->isEnabled() && w->window() == form)
            names << stopOf(w);
    names.removeDuplicates();
    names.sort();
    return names;
}

QStringList reached(Form* form, const QStringList& walk) {
    QStringList names;
    for (const QString& name : walk)
        names << stopOf(form->findChild<QWidget*>(name));
    names.sort();
    return names;
}

QString spokenName(QWidget* w) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(w);
    return face == nullptr ? QString() : face->text(QAccessible::Name);
}

Form* formNamed(Rig& rig, const QString& name) {
    for (Form* f : rig.forms())
        if (f->objectName() == name)
            return f;
    return nullptr;
}

// What a screen reader announces a control by. On Linux a list's own name is its value,
// so a list is known by the label linked to it.
QString announced(QAccessibleInterface* face) {
    if (face->role() != QAccessible::ComboBox)
        return face->text(QAccessible::Name);
    const auto labels = face->relations(QAccessible::Label);
    return labels.isEmpty() ? QString() : labels.first().first->text(QAccessible::Name);
}

// Walks a window's accessibility tree; every shown control, picture and text that says
// nothing but its value (empty, its own value, a bare number) is listed as a fault.
void walkTree(QAccessibleInterface* face, const QRect& whole, const QString& where,
              QStringList& faults, int& checked) {
    static const QList<QAccessible::Role> controls = {
        QAccessible::ComboBox,    QAccessible::EditableText, QAccessible::CheckBox,
        QAccessible::RadioButton, QAccessible::PushButton,   QAccessible::Graphic,
        QAccessible::StaticText};
    static const QRegularExpression bare(QStringLiteral("^[\\d.,\\s]*$"));
    for (int i = 0; i < face->childCount(); ++i) {
        QAccessibleInterface* child = face->child(i);
        if (child == nullptr || child->state().invisible)
            continue;
        walkTree(child, whole, where, faults, checked);
        auto* widget = qobject_cast<QWidget*>(child->object());
        // The window's picture under everything is decoration; popups are lists' own.
        if (!controls.contains(child->role()) || widget == nullptr ||
            (child->role() == QAccessible::Graphic && widget->geometry().contains(whole)))
            continue;
        const QString name = announced(child).trimmed();
        const QString value = child->text(QAccessible::Value).trimmed();
        // A text label says what it shows; an empty one says nothing and is not read.
        if (child->role() == QAccessible::StaticText && name.isEmpty())
            continue;
        ++checked;
        if (name.isEmpty() || name.contains(bare) || (!value.isEmpty() && name == value))
            faults << QStringLiteral("%1.%2 \"%3\"").arg(where, widget->objectName(), name);
    }
}

} // namespace

class TestDesktop final : public QObject {
    Q_OBJECT
private slots:
    void everyMenuHasDistinctMnemonics();
    void shortcutsOfTheMainWindow();
    void shortcutsOfTheEditor();
    void shortcutsOfTheGallery();
    void tabFollowsTheEditorsRows_data();
    void tabFollowsTheEditorsRows();
    void tabInTheSmallerWindows_data();
    void tabInTheSmallerWindows();
    void everyControlHasAnAccessibleName();
    void accessibleNamesAreThePaintedTitles_data();
    void accessibleNamesAreThePaintedTitles();
    void accessibilityTreeSaysWhatEachControlIs();
    void enterChoosesInEverySelectionDialog_data();
    void enterChoosesInEverySelectionDialog();
    void escInAChooserSaysHowToGoOn();
    void typingANameWithSpacesSearchesTheList();
    void arrowsChooseInARadioGroup();
    void informationTextIsReadable();
    void keepOnScreen_data();
    void keepOnScreen();
    void aWindowLargerThanTheScreenShowsItsCaption();
};

void TestDesktop::everyMenuHasDistinctMnemonics() {
    Rig rig;
    rig.start();
    QStringList faults;
    int bars = 0;
    for (Form* form : rig.forms()) {
        QMenuBar* bar = form->findChild<QMenuBar*>();
        if (bar == nullptr || bar->actions().isEmpty())
            continue;
        ++bars;
        checkMnemonics(form->objectName(), bar->actions(), faults);
    }
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    // Main window, editor, information window, gallery page and card.
    QCOMPARE(bars, 5);
    // The marks do not change what is read.
    QCOMPARE(rig.app().FrmInicial->Relatrios1->menuAction()->iconText(),
             QStringLiteral("Relatórios"));
    QCOMPARE(rig.app().FrmInicial->ClubesExtintos1->iconText(),
             QStringLiteral("Clubes/Seleções Extintos"));
}

void TestDesktop::shortcutsOfTheMainWindow() {
    Rig rig;
    VelmoraApp& app = rig.start();
    TFrmInicial& main = *app.FrmInicial;
    QVERIFY(rig.show(&main));

    // Alt with a menu's letter opens that menu.
    QTest::keyClick(&main, Qt::Key_R, Qt::AltModifier);
    QTRY_VERIFY(main.Relatrios1->isVisible());
    main.Relatrios1->close();
    QTRY_VERIFY(!main.Relatrios1->isVisible());

    QTest::keyClick(&main, Qt::Key_Q, Qt::ControlModifier); // answered No
    QCOMPARE(rig.dialogs.messages(), QStringList{QStringLiteral("Deseja sair do cadastro?")});
    QVERIFY(main.isVisible());

    QTest::keyClick(&main, Qt::Key_F1);
    TFrmInformacoes& info = *app.FrmInformacoes;
    QVERIFY(info.isVisible());
    QVERIFY(QTest::qWaitForWindowActive(&info));
    QTest::keyClick(&info, Qt::Key_Escape);
    QVERIFY(!info.isVisible());
    QVERIFY(main.isVisible());
}

void TestDesktop::shortcutsOfTheEditor() {
    Rig rig;
    rig.store.add(1, QStringLiteral("Primeiro"));
    VelmoraApp& app = rig.start();
    QVERIFY(rig.show(app.FrmInicial.get()));
    app.FrmInicial->CadastrodeClubes1Click();
    TFrmClubes& editor = *app.FrmClubes;
    QVERIFY(QTest::qWaitForWindowActive(&editor));

    // Browse mode: there is nothing to save.
    QTest::keyClick(&editor, Qt::Key_S, Qt::ControlModifier);
    QVERIFY(rig.dialogs.shown().isEmpty());
    QVERIFY(!editor.editing());

    QTest::keyClick(&editor, Qt::Key_N, Qt::ControlModifier);
    QVERIFY(editor.editing());
    QCOMPARE(editor.lblCodigo->text(), QStringLiteral("2"));
    // Saving a row with nothing filled in is refused with a message.
    QTest::keyClick(&editor, Qt::Key_S, Qt::ControlModifier);
    QTRY_COMPARE(rig.dialogs.messages().size(), 1);
    QVERIFY(editor.editing());

    // Esc cancels the new row and stays ...
    QTest::keyClick(&editor, Qt::Key_Escape);
    QTRY_VERIFY(!editor.editing());
    QVERIFY(editor.isVisible());
    QCOMPARE(app.dm().TblClubes.rowCount(), 1);
    // The city registry leaves on Esc as on its "Cancelar", back to the editor.
    editor.Cadastrarcidade1->trigger();
    TFrmCadastroCidade& cities = *app.FrmCadastroCidade;
    QVERIFY(QTest::qWaitForWindowActive(&cities));
    cities.EdtCidade->setText(QStringLiteral("Nenhuma"));
    QTest::keyClick(&cities, Qt::Key_Escape);
    QTRY_VERIFY(!cities.isVisible());
    QCOMPARE(app.dm().TblCidades.rowCount(), rig.store.count(QStringLiteral("Cidades")));
    QVERIFY(QTest::qWaitForWindowActive(&editor));

    // ... and in browse mode goes back to the main window.
    QTest::keyClick(&editor, Qt::Key_Escape);
    QVERIFY(!editor.isVisible());
    QVERIFY(app.FrmInicial->isVisible());
}

void TestDesktop::shortcutsOfTheGallery() {
    Rig rig;
    for (int code = 1; code <= 13; ++code)
        rig.store.add(code, QStringLiteral("Clube%1").arg(code, 2, 10, QLatin1Char('0')));
    VelmoraApp& app = rig.start();
    QVERIFY(rig.show(app.FrmInicial.get()));
    app.FrmInicial->odososClubesCadastrados1Click();
    TFrmRelatorios& page = *app.FrmRelatorios;
    QVERIFY(QTest::qWaitForWindowActive(&page));
    QCOMPARE(page.slot(1).LblNomeClube->text(), QStringLiteral("Clube01"));

    QTest::keyClick(&page, Qt::Key_PageDown);
    QCOMPARE(page.slot(1).LblNomeClube->text(), QStringLiteral("Clube13"));
    QCOMPARE(page.slot(2).LblNomeClube->text(), QString());
    // The last page has no next one: Page Down leaves it alone.
    QTest::keyClick(&page, Qt::Key_PageDown);
    QCOMPARE(page.slot(1).LblNomeClube->text(), QStringLiteral("Clube13"));

    QTest::keyClick(&page, Qt::Key_P, Qt::ControlModifier);
    QCOMPARE(rig.printing.printed.size(), 1);
    QTest::keyClick(&page, Qt::Key_Escape);
    QVERIFY(!page.isVisible());
}

void TestDesktop::tabFollowsTheEditorsRows_data() {
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QStringList>("expected");
    row("new row", "novo",
        QStringList{"EdtNomeClube", "ComboAno", "EdtNomeCompletoClube", "BtnSelecionarPais",
                    "BtnFederacao", "rbSelecao", "CkbExtinto", "BtnFoto", "BtnGravar",
                    "BtnCancelar", "EdtEstadio", "EdtCapacidade"});
    // The kind buttons are one stop, where the first of them stands. A Brazilian club
    // shows its state group, and a stored row may change its city.
    row("Brazilian club", "alterar",
        QStringList{"EdtNomeClube", "ComboAno", "EdtNomeCompletoClube", "BtnSelecionarPais",
                    "BtnSelecionaUF", "BtnSelecionarCidade", "BtnFederacao", "rbSelecao",
                    "CkbExtinto", "BtnFoto", "BtnGravar", "BtnCancelar", "EdtEstadio",
                    "EdtCapacidade"});
    row("browsing the first of two rows", "navegar",
        QStringList{"BtnLocalizar", "nbNext", "nbLast"});
}

void TestDesktop::tabFollowsTheEditorsRows() {
    QFETCH(QString, mode);
    QFETCH(QStringList, expected);
    Rig rig;
    rig.store.add(1, QStringLiteral("Primeiro"), QStringLiteral("Brasil"), QStringLiteral("SP"));
    rig.store.add(2, QStringLiteral("Segundo"), QStringLiteral("Brasil"), QStringLiteral("RJ"));
    VelmoraApp& app = rig.start();
    QVERIFY(rig.show(app.FrmInicial.get()));
    app.FrmInicial->CadastrodeClubes1Click();
    TFrmClubes& editor = *app.FrmClubes;
    QVERIFY(QTest::qWaitForWindowActive(&editor));
    if (mode == QLatin1String("novo"))
        editor.Novo1->trigger();
    else if (mode == QLatin1String("alterar"))
        editor.Alterar1->trigger();

    QWidget* first = editor.findChild<QWidget*>(expected.first());
    QVERIFY(first != nullptr);
    const QStringList walk = tabWalk(first);
    QCOMPARE(walk.join(QLatin1String(" > ")), expected.join(QLatin1String(" > ")));
    // Nothing usable is left out of the round, and nothing comes twice.
    QCOMPARE(reached(&editor, walk), reachable(&editor));
}

void TestDesktop::tabInTheSmallerWindows_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<QStringList>("expected");
    row("city registry", "FrmCadastroCidade",
        QStringList{"EdtCidade", "BtnGravar", "BtnCancelar", "ComboPais"});
    row("country dialog", "FrmPaises", QStringList{"ComboPais", "BtnOk"});
    row("year chooser", "FrmAno", QStringList{"ComboAnos", "BtnOk"});
    row("federation chooser", "FrmSelFeder", QStringList{"ComboFeder", "BtnOk"});
    row("club chooser", "FrmSelClube", QStringList{"rbClube", "ComboClubes", "BtnOk"});
}

void TestDesktop::tabInTheSmallerWindows() {
    QFETCH(QString, window);
    QFETCH(QStringList, expected);
    Rig rig;
    rig.store.add(1, QStringLiteral("Primeiro"));
    VelmoraApp& app = rig.start();
    QVERIFY(rig.show(app.FrmInicial.get()));
    Form* form = formNamed(rig, window);
    QVERIFY(form != nullptr);
    if (auto* registry = qobject_cast<TFrmCadastroCidade*>(form))
        registry->open();
    else
        QVERIFY(rig.show(form));
    QVERIFY(QTest::qWaitForWindowActive(form));
    // The club list comes with a kind.
    if (auto* chooser = qobject_cast<TFrmSelClube*>(form))
        QTest::mouseClick(chooser->rbClube, Qt::LeftButton);

    const QStringList walk = tabWalk(form->findChild<QWidget*>(expected.first()));
    QCOMPARE(walk.join(QLatin1String(" > ")), expected.join(QLatin1String(" > ")));
    QCOMPARE(reached(form, walk), reachable(form));
}

void TestDesktop::everyControlHasAnAccessibleName() {
    Rig rig;
    rig.store.add(1, QStringLiteral("Primeiro"));
    VelmoraApp& app = rig.start();
    QStringList nameless;
    int checked = 0;
    for (Form* form : rig.forms()) {
        QVERIFY(rig.show(form));
        const QRect whole(QPoint(0, 0), form->clientSize());
        for (QWidget* w : form->client()->findChildren<QWidget*>()) {
            // A list's popup is a window of its own, named by its list.
            const bool focusable =
                (w->focusPolicy() & Qt::TabFocus) == Qt::TabFocus && w->window() == form;
            // Picture boxes, the backgrounds under everything left out.
            auto* label = qobject_cast<QLabel*>(w);
            const bool picture = label != nullptr &&
                                 w->objectName().startsWith(QLatin1String("Img")) &&
                                 !w->geometry().contains(whole);
            if (!focusable && !picture)
                continue;
            ++checked;
            if (spokenName(w).trimmed().isEmpty())
                nameless << form->objectName() + QLatin1Char('.') + w->objectName() +
                                QLatin1Char('(') + QLatin1String(w->metaObject()->className()) +
                                QLatin1Char(')');
        }
        app.forms.close(form);
    }
    QVERIFY2(nameless.isEmpty(), qPrintable(nameless.join(QLatin1String(", "))));
    QVERIFY(checked > 60); // the editor alone has 30
}

void TestDesktop::accessibleNamesAreThePaintedTitles_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("name");
    row("short name", "FrmClubes", "EdtNomeClube", "Nome do Clube/Seleção");
    row("year list", "FrmClubes", "ComboAno", "Fundação");
    row("badge", "FrmClubes", "ImgLogoClube", "Escudo");
    row("stadium", "FrmClubes", "EdtEstadio", "Estádio");
    row("picture button", "FrmClubes", "BtnGravar", "Gravar");
    row("\"...\" button", "FrmClubes", "BtnSelecionarPais", "Selecionar País");
    row("navigator", "FrmClubes", "nbLast", "Último");
    row("city", "FrmCadastroCidade", "EdtCidade", "Cidade a ser cadastrada");
    row("country list", "FrmPaises", "ComboPais", "País");
    row("club list", "FrmSelClube", "ComboClubes", "Clube ou seleção");
    row("next page", "FrmRelatorios", "BtnTodosClubes", "Próxima Página");
}

void TestDesktop::accessibleNamesAreThePaintedTitles() {
    QFETCH(QString, window);
    QFETCH(QString, control);
    QFETCH(QString, name);
    Rig rig;
    rig.start();
    Form* form = formNamed(rig, window);
    QVERIFY(form != nullptr);
    QVERIFY(rig.show(form));
    auto* widget = form->findChild<QWidget*>(control);
    QVERIFY(widget != nullptr);
    QCOMPARE(spokenName(widget), name);
}

void TestDesktop::accessibilityTreeSaysWhatEachControlIs() {
    Rig rig;
    rig.store.add(1, QStringLiteral("Primeiro"));
    rig.store.add(2, QStringLiteral("Segundo"), QStringLiteral("Argentina"), {});
    VelmoraApp& app = rig.start();
    QAccessible::setActive(true);
    // The windows with what they show: counters, a row, a page, a card.
    QVERIFY(rig.show(app.FrmInicial.get()));
    app.FrmInicial->CadastrodeClubes1Click();
    app.FrmClubes->recordDisplay();
    app.FrmInicial->odososClubesCadastrados1Click();
    QStringList faults;
    int checked = 0;
    for (Form* form : rig.forms()) {
        if (!form->isVisible())
            QVERIFY(rig.show(form));
        walkTree(QAccessible::queryAccessibleInterface(form),
                 QRect(QPoint(0, 0), form->clientSize()), form->objectName(), faults, checked);
    }
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1String(", "))));
    QVERIFY(checked > 100);

    // The counters with their titles, the code, a list by its painted title.
    QCOMPARE(spokenName(app.FrmInicial->LblQtdeClubes), QStringLiteral("Total de Clubes: 2"));
    QCOMPARE(spokenName(app.FrmInicial->LblSelecoes), QStringLiteral("Seleções: 0"));
    QCOMPARE(spokenName(app.FrmClubes->lblCodigo), QStringLiteral("Código: 1"));
    QCOMPARE(announced(QAccessible::queryAccessibleInterface(app.FrmClubes->ComboAno)),
             QStringLiteral("Fundação"));
    // A gallery badge is named after its club, an empty slot's by its number.
    TFrmRelatorios& page = *app.FrmRelatorios;
    QCOMPARE(spokenName(page.slot(1).ImgClube), QStringLiteral("Escudo: Primeiro"));
    QCOMPARE(spokenName(page.slot(2).ImgBandClube), QStringLiteral("Bandeira: Argentina"));
    QCOMPARE(spokenName(page.slot(3).ImgClube), QStringLiteral("Escudo 3"));
}

void TestDesktop::enterChoosesInEverySelectionDialog_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("box"); // the editor's box the choice goes into
    row("country", "FrmPaises", "Arg", "EdtNomePais");
    row("state", "FrmUF", "RJ", "EdtSiglaEstado");
    row("city", "FrmCidade", "Camp", "EdtNomeCidade");
    row("federation", "FrmFederacao", "CBF", "EdtFederacao");
    row("year", "FrmAno", "1910", "");
    row("federation gallery", "FrmSelFeder", "FPF", "");
    row("club", "FrmSelClube", "Prim", "");
}

void TestDesktop::enterChoosesInEverySelectionDialog() {
    QFETCH(QString, window);
    QFETCH(QString, typed);
    QFETCH(QString, box);
    Rig rig;
    rig.store.add(1, QStringLiteral("Primeiro"));
    VelmoraApp& app = rig.start();
    QVERIFY(rig.show(app.FrmInicial.get()));
    TFrmClubes& editor = *app.FrmClubes;
    app.FrmInicial->CadastrodeClubes1Click();
    QVERIFY(QTest::qWaitForWindowActive(&editor));
    editor.Alterar1->trigger(); // a stored Brazilian club: every dialog takes a choice
    const QList<std::pair<QString, std::function<void()>>> openers = {
        {QStringLiteral("FrmPaises"), [&] { editor.BtnSelecionarPaisClick(); }},
        {QStringLiteral("FrmUF"), [&] { editor.BtnSelecionaPaisClick(); }},
        {QStringLiteral("FrmCidade"), [&] { editor.BtnSelecionarCidadeClick(); }},
        {QStringLiteral("FrmFederacao"), [&] { editor.BtnFederacaoClick(); }},
        {QStringLiteral("FrmAno"), [&] { app.FrmInicial->PorAnodeFundao1Click(); }},
        {QStringLiteral("FrmSelFeder"), [&] { app.FrmInicial->ClubesporFederao1Click(); }},
        {QStringLiteral("FrmSelClube"), [&] { app.FrmInicial->DadosdoClube1Click(); }},
    };
    for (const auto& [name, open] : openers)
        if (name == window)
            open();
    Form* form = formNamed(rig, window);
    QVERIFY(form != nullptr);
    QVERIFY(QTest::qWaitForWindowActive(form));
    auto* ok = form->findChild<QPushButton*>(QStringLiteral("BtnOk"));
    QVERIFY(ok->isDefault());
    if (auto* chooser = qobject_cast<TFrmSelClube*>(form))
        QTest::keyClick(chooser->rbClube, Qt::Key_Space);
    auto* list = form->findChild<QComboBox*>();
    list->setFocus();
    QTest::keyClicks(list, typed);
    const QString picked = list->currentText();
    QVERIFY2(picked.startsWith(typed), qPrintable(picked));
    QTest::keyClick(list, Qt::Key_Return);
    // The choice is taken and the dialog gives way to what follows it.
    QTRY_VERIFY(!form->isVisible());
    QCOMPARE(rig.dialogs.messages(), QStringList());
    if (!box.isEmpty()) { // each pick differs from the stored club's from its first letter
        const QString written = editor.findChild<QLineEdit*>(box)->text();
        QVERIFY(!written.isEmpty() && picked.startsWith(written));
    } else if (window == QLatin1String("FrmSelClube"))
        QVERIFY(app.FrmClubeSelecionado->isVisible());
    else
        QVERIFY(app.FrmRelatorios->isVisible());
}

void TestDesktop::escInAChooserSaysHowToGoOn() {
    Rig rig;
    rig.store.add(1, QStringLiteral("Primeiro"));
    VelmoraApp& app = rig.start();
    QVERIFY(rig.show(app.FrmInicial.get()));
    app.FrmInicial->PorAnodeFundao1Click();
    TFrmAno& years = *app.FrmAno;
    QVERIFY(QTest::qWaitForWindowActive(&years));
    years.ComboAnos->setFocus();
    QTest::keyClick(years.ComboAnos, Qt::Key_Escape);
    // It stays, and says why, aloud too.
    QVERIFY(years.isVisible());
    QTRY_VERIFY(QToolTip::isVisible());
    QCOMPARE(QToolTip::text(), QStringLiteral("Escolha um ano e tecle Enter para continuar"));
    QCOMPARE(QAccessible::queryAccessibleInterface(&years)->text(QAccessible::Description),
             QToolTip::text());
    QCOMPARE(years.BtnOk->toolTip(), QToolTip::text());
}

void TestDesktop::typingANameWithSpacesSearchesTheList() {
    Rig rig;
    rig.store.add(1, QStringLiteral("Primeiro"), QStringLiteral("Brasil"), QStringLiteral("RJ"));
    rig.store.insertCity(QStringLiteral("Rio Bonito"), QStringLiteral("Brasil"),
                         QStringLiteral("RJ"));
    VelmoraApp& app = rig.start();
    QVERIFY(rig.show(app.FrmInicial.get()));
    app.FrmInicial->CadastrodeClubes1Click();
    app.FrmClubes->Alterar1->trigger();
    app.FrmClubes->BtnSelecionarCidadeClick();
    TFrmCidade& cities = *app.FrmCidade;
    QVERIFY(QTest::qWaitForWindowActive(&cities));
    QComboBox* list = cities.ComboCidade;
    QVERIFY(list->findText(QStringLiteral("Rio Bonito")) >= 0);
    QTest::keyClicks(list, QStringLiteral("Rio de Janeiro"));
    QVERIFY(!list->view()->isVisible());
    QCOMPARE(list->currentText(), QStringLiteral("Rio de Janeiro"));
    // Space alone still opens the list, as a press of it does.
    QTest::qWait(QApplication::keyboardInputInterval() + 50);
    QTest::keyClick(list, Qt::Key_Space);
    QTRY_VERIFY(list->view()->isVisible());
    list->hidePopup();
}

void TestDesktop::arrowsChooseInARadioGroup() {
    Rig rig;
    rig.store.add(1, QStringLiteral("Primeiro"));
    VelmoraApp& app = rig.start();
    QVERIFY(rig.show(app.FrmInicial.get()));
    app.FrmInicial->CadastrodeClubes1Click();
    TFrmClubes& editor = *app.FrmClubes;
    QVERIFY(QTest::qWaitForWindowActive(&editor));
    editor.Novo1->trigger(); // a new row has no kind yet
    editor.rbSelecao->setFocus(Qt::TabFocusReason);
    QVERIFY(!editor.rbSelecao->isChecked() && !editor.rbClube->isChecked());
    QTest::keyClick(editor.rbSelecao, Qt::Key_Down);
    QVERIFY(editor.rbClube->hasFocus());
    QVERIFY(editor.rbClube->isChecked());
    QCOMPARE(app.dm().TblClubes.fieldText(QStringLiteral("Identificador")), QStringLiteral("0"));
    QTest::keyClick(editor.rbClube, Qt::Key_Up);
    QVERIFY(editor.rbSelecao->isChecked());
    QCOMPARE(app.dm().TblClubes.fieldText(QStringLiteral("Identificador")), QStringLiteral("1"));
    // Tab leaves the group for the next control in reading order.
    QTest::keyClick(editor.rbSelecao, Qt::Key_Down);
    QTest::keyClick(editor.rbClube, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), editor.CkbExtinto);

    // The club chooser's pair too: the choice fills the list.
    editor.BtnCancelarClick();
    app.FrmInicial->DadosdoClube1Click();
    TFrmSelClube& chooser = *app.FrmSelClube;
    QVERIFY(QTest::qWaitForWindowActive(&chooser));
    chooser.rbClube->setFocus(Qt::TabFocusReason);
    QTest::keyClick(chooser.rbClube, Qt::Key_Right);
    QVERIFY(chooser.rbSelecao->isChecked());
    QVERIFY(chooser.ComboClubes->isEnabled());
}

void TestDesktop::informationTextIsReadable() {
    Rig rig;
    VelmoraApp& app = rig.start();
    QLabel* page = app.FrmInformacoes->Image;
    const QString text =
        QAccessible::queryAccessibleInterface(page)->text(QAccessible::Description);
    // The notes the picture shows, as words.
    for (const char* words : {"201 × 201", "Recalcular Idade dos Clubes", "Cópia de segurança",
                              "estado, para os clubes brasileiros"})
        QVERIFY2(text.contains(QString::fromUtf8(words)), words);
}

void TestDesktop::keepOnScreen_data() {
    QTest::addColumn<QRect>("frame");
    QTest::addColumn<QPoint>("expected");
    QTest::newRow("fits: kept") << QRect(372, 332, 345, 140) << QPoint(372, 332);
    QTest::newRow("past the right edge") << QRect(1000, 100, 400, 300) << QPoint(880, 100);
    QTest::newRow("past the bottom") << QRect(100, 900, 400, 300) << QPoint(100, 724);
    QTest::newRow("above and left") << QRect(-150, -2, 400, 300) << QPoint(0, 0);
    QTest::newRow("larger than the screen") << QRect(-150, -2, 1584, 1100) << QPoint(0, 0);
    QTest::newRow("wider only") << QRect(200, 300, 1500, 200) << QPoint(0, 300);
}

void TestDesktop::keepOnScreen() {
    QFETCH(QRect, frame);
    QFETCH(QPoint, expected);
    QCOMPARE(velmora::keepOnScreen(frame, QRect(0, 0, 1280, 1024)), expected);
    // Off-origin screens (a panel at the top, a second monitor to the right).
    QCOMPARE(velmora::keepOnScreen(frame.translated(1280, 30), QRect(1280, 30, 1280, 1024)),
             expected + QPoint(1280, 30));
}

void TestDesktop::aWindowLargerThanTheScreenShowsItsCaption() {
    ScriptedDialogs dialogs;
    Forms forms(dialogs);
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    Form big(forms, QStringLiteral("FrmGrande"), QStringLiteral("Grande"),
             available.size() + QSize(300, 200));
    forms.show(&big);
    QCOMPARE(big.frameGeometry().topLeft(), available.topLeft());
    // One that fits is centred as before.
    Form small(forms, QStringLiteral("FrmPequeno"), QStringLiteral("Pequeno"), QSize(200, 100));
    forms.show(&small);
    QVERIFY(qAbs(small.frameGeometry().center().x() - available.center().x()) <= 1);
    QVERIFY(available.contains(small.frameGeometry()));
}

QTEST_MAIN(TestDesktop)
#include "test_desktop.moc"
