// "Imprimir" on a machine without a printer: the user is told and may keep the page as
// a PDF named after the gallery, laid out as the printed page would be; the file is read
// back with pdftotext and pdftoppm.
#include "app/Inicial.h"
#include "app/VelmoraApp.h"
#include "gallery/Relatorios.h"
#include "platform/Printing.h"
#include "tests/support/AppFixture.h"
#include "tests/support/CupsFixture.h"
#include "tests/support/Rows.h"
#include "tests/support/store/TestStore.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QPrinterInfo>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

using namespace velmora;
using velmora::test::AppFixture;
using velmora::test::CupsFixture;
using velmora::test::row;
using velmora::test::TestStore;

namespace {

// The real printing service on a process whose CUPS server does not exist: no printer.
struct NoPrinterRig {
    CupsFixture cups; // first: points CUPS at a dead socket
    AppFixture fx;
    QTemporaryDir out;

    TFrmRelatorios& gallery() {
        fx.store.add(1, QStringLiteral("Primeiro"));
        fx.store.add(2, QStringLiteral("Segundo"), QStringLiteral("Argentina"));
        fx.realPrinter = true;
        VelmoraApp& app = fx.start();
        app.forms.show(app.FrmInicial.get());
        app.FrmInicial->odososClubesCadastrados1Click();
        return *app.FrmRelatorios;
    }
    QStringList kinds() const {
        QStringList list;
        for (const auto& shown : fx.dialogs.shown())
            list << shown.kind;
        return list;
    }
};

} // namespace

class TestPrintPdf final : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty())
            QSKIP("pdftoppm (poppler-utils) is not installed");
    }
    void noPrinterOffersAPdfOfTheSamePage();
    void declinedOrCancelledWritesNothing_data();
    void declinedOrCancelledWritesNothing();
    void anUnwritableFileIsAClearError();
    void defaultNameComesFromTheCaption_data();
    void defaultNameComesFromTheCaption();
};

void TestPrintPdf::noPrinterOffersAPdfOfTheSamePage() {
    NoPrinterRig rig;
    TFrmRelatorios& page = rig.gallery();
    QVERIFY(QPrinterInfo::defaultPrinter().isNull());
    const QString pdf = rig.out.filePath(QStringLiteral("galeria.pdf"));
    rig.fx.dialogs.clearLog();
    rig.fx.dialogs.queueAnswer(MsgResult::Yes);
    rig.fx.dialogs.queueSave(pdf);
    page.Imprimir1->trigger();

    QCOMPARE(rig.kinds(), QStringList({"message", "save"}));
    const auto& question = rig.fx.dialogs.shown().at(0);
    QCOMPARE(question.caption, QStringLiteral("Velmora"));
    QCOMPARE(question.icon, MsgIcon::Question);
    QCOMPARE(question.buttons, MsgButtons::YesNo);
    QVERIFY(question.text.contains(QStringLiteral("impressora")));
    QVERIFY(question.text.contains(QStringLiteral("PDF")));
    // Named after the caption and what the page lists (its title without the count).
    const QString title = page.LblTitulo->text();
    const QString subject = title.left(title.lastIndexOf(QStringLiteral(" (")));
    QVERIFY(!subject.isEmpty() && !subject.contains(QLatin1Char('(')));
    QCOMPARE(QFileInfo(rig.fx.dialogs.shown().at(1).text).fileName(),
             QStringLiteral("Relatórios - ") + subject + QStringLiteral(".pdf"));

    QVERIFY(QFile::exists(pdf));
    QCOMPARE(CupsFixture::pageCount(pdf), 1);
    // The title and the clubs' names are text in the file.
    const QString text = CupsFixture::text(pdf).simplified();
    for (const QString& words : {subject, QStringLiteral("Primeiro"), QStringLiteral("Segundo")})
        QVERIFY2(text.contains(words), qPrintable(words + QStringLiteral(" not in: ") + text));
    // The page as large as fits inside the margins, each part where the window has it.
    QWidget* client = page.centralWidget();
    const QImage shown = client->grab().toImage();
    const CupsFixture::PrintedPage printed =
        rig.cups.renderPrinted(pdf, client, Printing::marginMm);
    QVERIFY(!printed.image.isNull());
    const QList<QRect> parts = {
        page.slot(1).ImgClube->geometry(), page.slot(2).ImgBandClube->geometry(),
        page.LblTitulo->geometry(),        QRect(300, 250, 40, 40),
        QRect(700, 500, 60, 30),
    };
    for (const QRect& part : parts) {
        const QColor want = CupsFixture::meanColour(shown, part);
        const QColor got = CupsFixture::meanColour(printed.image, printed.onPage(part));
        QVERIFY2(CupsFixture::near(want, got, 24),
                 qPrintable(QStringLiteral("%1,%2: tela %3, PDF %4")
                                .arg(part.x())
                                .arg(part.y())
                                .arg(want.name(), got.name())));
    }
    // Nothing was sent to a printer, and no error was reported.
    QCOMPARE(rig.fx.dialogs.messages().size(), 1);
}

void TestPrintPdf::declinedOrCancelledWritesNothing_data() {
    QTest::addColumn<bool>("yes");
    QTest::addColumn<QStringList>("kinds");
    QTest::newRow("answered No") << false << QStringList{"message"};
    QTest::newRow("save dialog cancelled") << true << QStringList{"message", "save"};
}

void TestPrintPdf::declinedOrCancelledWritesNothing() {
    QFETCH(bool, yes);
    QFETCH(QStringList, kinds);
    NoPrinterRig rig;
    TFrmRelatorios& page = rig.gallery();
    rig.fx.dialogs.clearLog();
    rig.fx.dialogs.queueAnswer(yes ? MsgResult::Yes : MsgResult::No);
    rig.fx.dialogs.queueSave(QString()); // cancel
    page.Imprimir1->trigger();
    QCOMPARE(rig.kinds(), kinds);
    QVERIFY(QDir(rig.out.path()).isEmpty());
    QVERIFY(page.isVisible());
}

void TestPrintPdf::anUnwritableFileIsAClearError() {
    NoPrinterRig rig;
    TFrmRelatorios& page = rig.gallery();
    rig.fx.dialogs.clearLog();
    rig.fx.dialogs.queueAnswer(MsgResult::Yes);
    const QString nowhere = rig.out.filePath(QStringLiteral("não-existe/galeria.pdf"));
    rig.fx.dialogs.queueSave(nowhere);
    page.Imprimir1->trigger();
    const QStringList messages = rig.fx.dialogs.messages();
    QCOMPARE(messages.size(), 2);
    QVERIFY2(messages.last().contains(nowhere), qPrintable(messages.last()));
    QCOMPARE(rig.fx.dialogs.shown().last().icon, MsgIcon::Error);
    QVERIFY(!QFile::exists(nowhere));
}

void TestPrintPdf::defaultNameComesFromTheCaption_data() {
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("subject");
    QTest::addColumn<QString>("name");
    row("gallery without a subject", "Relatórios", "", "Relatórios.pdf");
    row("gallery of a country", "Relatórios", "Relação dos Clubes do(a) Argentina",
        "Relatórios - Relação dos Clubes do(a) Argentina.pdf");
    row("quoted search", "Relatórios", "Clubes que tenham \"São\" no nome",
        "Relatórios - Clubes que tenham -São- no nome.pdf");
    row("slash in a club name", "Atlético/MG", "", "Atlético-MG.pdf");
    row("empty caption", "", "", "Velmora.pdf");
}

void TestPrintPdf::defaultNameComesFromTheCaption() {
    QFETCH(QString, caption);
    QFETCH(QString, subject);
    QFETCH(QString, name);
    const QString path = Printing::defaultPdfPath(caption, subject);
    QCOMPARE(QFileInfo(path).fileName(), name);
    QVERIFY(QFileInfo(path).absoluteDir().exists());
}

QTEST_MAIN(TestPrintPdf)
#include "test_print_pdf.moc"
