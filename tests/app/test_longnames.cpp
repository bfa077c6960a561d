// A club with the longest texts its fields take, through every window that shows it:
// each text fits its box, cut with "…" where the box cannot grow, the whole text in the
// tool tip and the accessible description; no text runs over another.
#include "app/Inicial.h"
#include "app/VelmoraApp.h"
#include "detail/ClubeSelecionado.h"
#include "detail/SelClube.h"
#include "gallery/Relatorios.h"
#include "layout/App.h"
#include "layout/Detail.h"
#include "layout/Gallery.h"
#include "layout/Registry.h"
#include "platform/DataControls.h"
#include "registry/Clubes.h"
#include "tests/support/AppFixture.h"
#include "tests/support/Rows.h"
#include "tests/support/store/TestStore.h"

#include <QFontMetrics>
#include <QLabel>
#include <QtTest>

#include <limits>

using namespace velmora;
using velmora::test::AppFixture;
using velmora::test::Club;
using velmora::test::row;

namespace {

const QString longName = QStringLiteral("Associação Atlética Beneficente Recreati"); // 40
const QString longFullName =
    QStringLiteral("Associação Atlética Beneficente Recreativa e Cultural dos Trabalhadores da "
                   "Indústria de São João");
const QString longStadium = QStringLiteral("Estádio Municipal Governador Doutor"); // 35
const QString longCapacity = QStringLiteral("12.345.678.901.234.5");               // 20

// The label shows text, or its beginning cut with "…" when the whole does not fit, and
// keeps inside its box and the room its window gives it.
void checkShown(QLabel* label, const QString& text, int rightEdge) {
    const QString where = label->window()->objectName() + QLatin1Char('.') + label->objectName();
    QVERIFY2(label->geometry().right() < rightEdge, qPrintable(where));
    QVERIFY2(QFontMetrics(label->font()).horizontalAdvance(label->text()) <= label->width(),
             qPrintable(where));
    if (label->text() == text) {
        QVERIFY2(label->toolTip().isEmpty(), qPrintable(where));
        return;
    }
    QVERIFY2(label->text().endsWith(QChar(0x2026)), qPrintable(where + ": " + label->text()));
    QVERIFY2(text.startsWith(label->text().chopped(1)), qPrintable(where));
    QCOMPARE(label->toolTip(), text);
    QCOMPARE(label->accessibleDescription(), text);
}

// No two texts of a window overlap.
void checkApart(QWidget* client) {
    QList<QLabel*> texts;
    for (QLabel* label : client->findChildren<QLabel*>())
        if (label->isVisible() && label->pixmap().isNull() && !label->text().isEmpty() &&
            label->buddy() == nullptr)
            texts.append(label);
    for (qsizetype i = 0; i < texts.size(); ++i)
        for (qsizetype j = i + 1; j < texts.size(); ++j)
            QVERIFY2(!texts[i]->geometry().intersects(texts[j]->geometry()),
                     qPrintable(texts[i]->objectName() + " / " + texts[j]->objectName()));
}

struct Rig : AppFixture {
    Rig() {
        Club club = store.club(std::numeric_limits<qint32>::max(), longName);
        club.nomeCompletoClube = longFullName;
        club.estadio = longStadium;
        club.capacidade = longCapacity;
        store.insert(club);
        store.add(1, QStringLiteral("Ypiranga"));
        start();
    }
};

} // namespace

class TestLongNames final : public QObject {
    Q_OBJECT
private slots:
    void mainWindowFeaturesTheWholeBeginning();
    void galleryKeepsEachSlotInItsCard();
    void cardKeepsEachTextInItsPanel();
    void editorShowsTheBeginningAndTheWholeCode();
};

void TestLongNames::mainWindowFeaturesTheWholeBeginning() {
    Rig rig;
    TFrmInicial& main = *rig.app().FrmInicial;
    rig.app().forms.show(&main);
    QVERIFY(QTest::qWaitForWindowActive(&main));
    // The draw misses code 2, then hits the long one's.
    rig.random.queue(1);
    rig.random.queue(std::numeric_limits<qint32>::max() - 1);
    main.FormActivate();
    QVERIFY(main.LblNomeClube->text().startsWith(longName.left(10)));
    const int panelRight = main.LblNomeClube->x() + layout::featuredRoom + 1;
    checkShown(main.LblNomeClube, longName, panelRight);
    checkShown(main.LblNomeCompleto, longFullName, panelRight);
    QVERIFY(main.LblNomeCompleto->text() != longFullName);
    checkApart(main.client());
}

void TestLongNames::galleryKeepsEachSlotInItsCard() {
    Rig rig;
    rig.app().FrmInicial->odososClubesCadastrados1Click();
    TFrmRelatorios& page = *rig.app().FrmRelatorios;
    QVERIFY(page.isVisible());
    // Name order: the long name first, then the short one, whole and without a tip.
    const TFrmRelatorios::Slot& first = page.slot(1);
    checkShown(first.LblNomeClube, longName, layout::slotRight(1));
    checkShown(first.LblNomeCompleto, longFullName, layout::slotRight(1));
    QVERIFY(first.LblNomeCompleto->text() != longFullName);
    checkShown(page.slot(2).LblNomeClube, QStringLiteral("Ypiranga"), layout::slotRight(2));
    checkApart(page.client());
}

void TestLongNames::cardKeepsEachTextInItsPanel() {
    Rig rig;
    VelmoraApp& app = rig.app();
    app.FrmInicial->DadosdoClube1Click();
    TFrmSelClube& chooser = *app.FrmSelClube;
    QTest::mouseClick(chooser.rbClube, Qt::LeftButton);
    chooser.ComboClubes->setCurrentIndex(chooser.ComboClubes->findText(longName));
    chooser.BtnOkClick();
    TFrmClubeSelecionado& card = *app.FrmClubeSelecionado;
    QVERIFY(card.isVisible());
    const int width = card.clientSize().width();
    checkShown(card.LblNomeClube, longName, width);
    // The band has room: the full name is whole on more lines, the foundation below it.
    QCOMPARE(card.LblNomeCompleto->text(), longFullName);
    QVERIFY(card.LblNomeCompleto->height() >=
            2 * QFontMetrics(card.LblNomeCompleto->font()).height());
    QVERIFY(card.LblNomeCompleto->geometry().right() < width);
    QVERIFY(card.LblFundacao->y() > card.LblNomeCompleto->geometry().bottom());
    QVERIFY(card.LblFundacao->geometry().bottom() < layout::cardBandBottom);
    QVERIFY(card.LblNomeCompleto->toolTip().isEmpty());
    // The stadium panel ends well before the window's edge.
    const int stadiumPanelRight = card.LblEstadio->x() + card.LblEstadio->maximumWidth() + 1;
    checkShown(card.LblEstadio, longStadium, stadiumPanelRight);
    QVERIFY(card.LblEstadio->text() != longStadium);
    checkShown(card.LblCapacidade, QStringLiteral("Capacidade: ") + longCapacity,
               stadiumPanelRight);
    checkApart(card.client());

    // A short name back on one line, the foundation line in its place.
    app.FrmInicial->DadosdoClube1Click();
    QTest::mouseClick(chooser.rbClube, Qt::LeftButton);
    chooser.ComboClubes->setCurrentIndex(chooser.ComboClubes->findText(QStringLiteral("Ypiranga")));
    chooser.BtnOkClick();
    QCOMPARE(card.LblNomeCompleto->height(), card.LblFundacao->height());
    QCOMPARE(card.LblFundacao->pos(), layout::at(layout::card, "LblFundacao").rect.topLeft());
}

void TestLongNames::editorShowsTheBeginningAndTheWholeCode() {
    Rig rig;
    VelmoraApp& app = rig.app();
    app.FrmInicial->CadastrodeClubes1Click();
    TFrmClubes& editor = *app.FrmClubes;
    QVERIFY(QTest::qWaitForWindowActive(&editor));
    editor.Navegador->press(DbNavigator::Button::Last);
    QCOMPARE(editor.EdtNomeCompletoClube->text(), longFullName);
    // Loaded, not edited: its beginning shows.
    QCOMPARE(editor.EdtNomeCompletoClube->cursorPosition(), 0);
    // The highest code the catalogue can hold, every digit inside the disc.
    const QString code = QString::number(std::numeric_limits<qint32>::max());
    QCOMPARE(editor.lblCodigo->text(), code);
    QVERIFY(QFontMetrics(editor.lblCodigo->font()).horizontalAdvance(code) <=
            editor.lblCodigo->width());
    // A short code keeps the disc's full size.
    editor.Navegador->press(DbNavigator::Button::First);
    QCOMPARE(editor.lblCodigo->text(), QStringLiteral("1"));
    QCOMPARE(editor.lblCodigo->font().pixelSize(),
             layout::at(layout::clubes, "lblCodigo").font.pixelSize);

    // Typed into and left: back to the beginning.
    editor.Alterar1->trigger();
    editor.EdtNomeCompletoClube->setFocus();
    editor.EdtNomeCompletoClube->end(false);
    editor.EdtEstadio->setFocus(Qt::TabFocusReason);
    QCOMPARE(editor.EdtNomeCompletoClube->cursorPosition(), 0);
}

QTEST_MAIN(TestLongNames)
#include "test_longnames.moc"
