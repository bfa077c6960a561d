// Texts the user typed are shown as typed: a name that looks like HTML is never
// interpreted, in any window that shows a club, its city, stadium or federation.
#include "app/Inicial.h"
#include "detail/ClubeSelecionado.h"
#include "gallery/MenuGalleries.h"
#include "gallery/Relatorios.h"
#include "registry/Clubes.h"
#include "tests/detail/CardHelpers.h"
#include "tests/support/PlainText.h"

using namespace velmora;
using namespace velmora::test;

namespace {

constexpr int pictureHeight = 300; // far taller than any line of text

// A club whose every free text is markup; the full name draws a local picture if
// interpreted.
Club hostileClub(TestStore& store, const QString& picture) {
    Club c = store.club(1, QStringLiteral("<b>Negrito</b>"));
    c.nomeCompletoClube = QStringLiteral("<img src=\"%1\"> Clube").arg(picture);
    c.cidadeClube = QStringLiteral("<i>Cidade</i>");
    c.estadio = QStringLiteral("<u>Estádio</u>");
    c.capacidade = QStringLiteral("<b>9</b>");
    c.federacao = QStringLiteral("<b>F</b>");
    return c;
}

// Every label of the window that holds markup; each must show it literally, and a
// picture tag must not make the label as tall as the picture.
int checkLabels(QWidget* window) {
    int hostile = 0;
    for (const QLabel* label : window->findChildren<QLabel*>()) {
        if (!label->text().contains(QLatin1Char('<')))
            continue;
        ++hostile;
        if (!showsLiterally(label)) {
            qWarning("%s interprets %s", qPrintable(label->objectName()),
                     qPrintable(label->text()));
            return -1;
        }
        if (label->text().contains(QLatin1String("<img")) &&
            label->sizeHint().height() >= pictureHeight)
            return -1;
    }
    return hostile;
}

} // namespace

class TestUserText final : public QObject {
    Q_OBJECT

private slots:
    void markupIsShownAsTyped() {
        AppFixture fx;
        TestStore& store = fx.store;
        QImage tall(40, pictureHeight, QImage::Format_RGB32);
        tall.fill(Qt::red);
        const QString picture = store.path(QStringLiteral("alto.png"));
        QVERIFY(tall.save(picture));
        const Club club = hostileClub(store, picture);
        store.insert(club);
        VelmoraApp& app = fx.start();

        // Main window: the featured club.
        fx.random.queue(0);
        app.FrmInicial->FormActivate();
        QCOMPARE(app.FrmInicial->LblNomeClube->text(), club.nomeClube);
        QCOMPARE(checkLabels(app.FrmInicial.get()), 3); // name, full name, federation

        // Gallery page: a listing, then a search whose entry is markup too.
        app.runMenuGallery(MenuGallery::TodosOsClubes);
        TFrmRelatorios& page = *app.FrmRelatorios;
        QCOMPARE(page.slot(1).LblNomeClube->text(), club.nomeClube);
        QCOMPARE(checkLabels(&page), 3); // name, full name, city line
        fx.dialogs.queueEntry(QStringLiteral("<b>"));
        app.runMenuGallery(MenuGallery::PesquisarPorNome);
        QVERIFY(page.LblTitulo->text().contains(QLatin1String("<B>")));
        QCOMPARE(checkLabels(&page), 4);

        // Club chooser and detail card.
        QVERIFY(openCard(app, club.nomeClube));
        QVERIFY(comboItems(app.FrmSelClube->ComboClubes).contains(club.nomeClube));
        QCOMPARE(checkLabels(app.FrmClubeSelecionado.get()), 6);

        // The editor shows the row in edit boxes, which never interpret markup.
        app.FrmInicial->CadastrodeClubes1Click();
        QVERIFY(app.FrmClubes->isVisible());
        QCOMPARE(checkLabels(app.FrmClubes.get()), 0);
    }
};

QTEST_MAIN(TestUserText)
#include "test_usertext.moc"
