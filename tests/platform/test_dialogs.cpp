// The real boxes, driven from inside their own modal loops.
#include "core/Pictures.h"
#include "platform/Dialogs.h"
#include "store/DataDirLock.h"
#include "tests/support/PlainText.h"
#include "tests/support/Rows.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <functional>

using namespace velmora;
using velmora::test::row;

namespace {

// Runs act on the modal box once it is up.
void whenModalUp(std::function<void(QWidget*)> act) {
    auto* timer = new QTimer(qApp);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, act] {
        QWidget* box = QApplication::activeModalWidget();
        if (box == nullptr || !box->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        act(box);
    });
    timer->start();
}

} // namespace

class TestDialogs final : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QString path(const QString& name) const { return dir.filePath(name); }

private slots:
    void initTestCase() {
        QImage image(400, 100, QImage::Format_RGB32);
        image.fill(Qt::darkGreen);
        QVERIFY(image.save(path("first.png")));
        QVERIFY(image.save(path("other.JPG"), "JPEG"));
        QFile broken(path("broken.jpg"));
        QVERIFY(broken.open(QIODevice::WriteOnly));
        broken.write("not a picture");
        // Far larger than memory, yet no disk space: highlighting it must not end the program.
        QFile huge(path("enorme.jpg"));
        QVERIFY(huge.open(QIODevice::WriteOnly));
        QVERIFY(huge.resize(qint64(1) << 40));
        // An SVG that draws itself: highlighting it once ended the program too.
        QFile loop(path("laco.svg"));
        QVERIFY(loop.open(QIODevice::WriteOnly));
        loop.write("<svg xmlns=\"http://www.w3.org/2000/svg\" "
                   "xmlns:xlink=\"http://www.w3.org/1999/xlink\" width=\"9\" height=\"9\">"
                   "<image width=\"9\" height=\"9\" xlink:href=\"laco.svg\"/></svg>");
    }

    void messageBoxShowsWhatItIsToldAndReturnsTheButton_data() {
        QTest::addColumn<MsgIcon>("icon");
        QTest::addColumn<MsgButtons>("buttons");
        QTest::addColumn<int>("press");
        QTest::addColumn<QMessageBox::Icon>("qtIcon");
        QTest::addColumn<MsgResult>("result");
        row("error, OK", MsgIcon::Error, MsgButtons::Ok, int(QMessageBox::Ok),
            QMessageBox::Critical, MsgResult::Ok);
        row("question, Yes", MsgIcon::Question, MsgButtons::YesNo, int(QMessageBox::Yes),
            QMessageBox::Question, MsgResult::Yes);
        row("question, No", MsgIcon::Question, MsgButtons::YesNo, int(QMessageBox::No),
            QMessageBox::Question, MsgResult::No);
        row("warning", MsgIcon::Warning, MsgButtons::Ok, int(QMessageBox::Ok), QMessageBox::Warning,
            MsgResult::Ok);
        row("information", MsgIcon::Information, MsgButtons::Ok, int(QMessageBox::Ok),
            QMessageBox::Information, MsgResult::Ok);
    }
    void messageBoxShowsWhatItIsToldAndReturnsTheButton() {
        QFETCH(MsgIcon, icon);
        QFETCH(MsgButtons, buttons);
        QFETCH(int, press);
        QFETCH(QMessageBox::Icon, qtIcon);
        QFETCH(MsgResult, result);
        QString caption, text;
        QMessageBox::Icon shownIcon = QMessageBox::NoIcon;
        QMessageBox::StandardButtons shownButtons;
        QStringList labels;
        whenModalUp([&](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            QVERIFY(box);
            caption = box->windowTitle();
            text = box->text();
            shownIcon = box->icon();
            shownButtons = box->standardButtons();
            for (QAbstractButton* b : box->buttons())
                labels << b->text();
            box->button(QMessageBox::StandardButton(press))->click();
        });
        QtDialogs dialogs;
        QCOMPARE(dialogs.message(QStringLiteral("Velmora"), QStringLiteral("Confirma a exclusão?"),
                                 icon, buttons),
                 result);
        QCOMPARE(caption, QStringLiteral("Velmora"));
        QCOMPARE(text, QStringLiteral("Confirma a exclusão?"));
        QCOMPARE(shownIcon, qtIcon);
        QCOMPARE(shownButtons, buttons == MsgButtons::YesNo ? QMessageBox::Yes | QMessageBox::No
                                                            : QMessageBox::Ok);
        labels.sort();
        QCOMPARE(labels,
                 buttons == MsgButtons::YesNo ? QStringList({"Não", "Sim"}) : QStringList({"OK"}));
    }

    // Messages quote names and paths the user typed: markup in them stays text.
    void messageBoxShowsMarkupAsTyped() {
        const QString text =
            QStringLiteral("O clube <b>X</b> <img src=\"%1\"> já existe").arg(path("first.png"));
        bool literal = false;
        whenModalUp([&](QWidget* w) {
            for (const QLabel* label : w->findChildren<QLabel*>()) {
                if (label->text() == text)
                    literal = test::showsLiterally(label);
            }
            qobject_cast<QMessageBox*>(w)->button(QMessageBox::Ok)->click();
        });
        QtDialogs dialogs;
        dialogs.message(QStringLiteral("Velmora"), text, MsgIcon::Error, MsgButtons::Ok);
        QVERIFY(literal);
    }

    void pictureDialogPreviewsAndReturnsTheChoice() {
        QString startDir, startSelection;
        QStringList filters;
        bool nonNative = false;
        QSize previewed;
        bool brokenShowsNothing = false;
        QString hugeSays;
        QString loopSays;
        QString acceptLabel;
        whenModalUp([&](QWidget* w) {
            auto* dialog = qobject_cast<QFileDialog*>(w);
            QVERIFY(dialog);
            nonNative = dialog->testOption(QFileDialog::DontUseNativeDialog);
            filters = dialog->nameFilters();
            acceptLabel = dialog->labelText(QFileDialog::Accept);
            startDir = dialog->directory().absolutePath();
            startSelection = dialog->selectedFiles().value(0);
            auto* view = dialog->findChild<QListView*>(QStringLiteral("listView"));
            auto* preview = dialog->findChild<QLabel*>(QStringLiteral("Preview"));
            QVERIFY(view && preview);
            auto* model = qobject_cast<QFileSystemModel*>(view->model());
            QVERIFY(model);
            QVERIFY(QTest::qWaitFor([&] { return model->index(path("other.JPG")).isValid(); }));
            view->setCurrentIndex(model->index(path("other.JPG")));
            QVERIFY(QTest::qWaitFor([&] { return !preview->pixmap().isNull(); }));
            previewed = preview->pixmap().size();
            view->setCurrentIndex(model->index(path("broken.jpg")));
            brokenShowsNothing = preview->pixmap().isNull();
            QVERIFY(QTest::qWaitFor([&] { return model->index(path("enorme.jpg")).isValid(); }));
            view->setCurrentIndex(model->index(path("enorme.jpg")));
            hugeSays = preview->pixmap().isNull() ? preview->text() : QString();
            QVERIFY(QTest::qWaitFor([&] { return model->index(path("laco.svg")).isValid(); }));
            view->setCurrentIndex(model->index(path("laco.svg")));
            loopSays = preview->pixmap().isNull() ? preview->text() : QString();
            // Picked in the list and in the name box, as a user would: selectFile() leaves
            // the name box alone once it has the focus, which depends on when the dialog
            // gets activated.
            view->setCurrentIndex(model->index(path("other.JPG")));
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            QVERIFY(name);
            name->setText(QStringLiteral("other.JPG"));
            static_cast<QDialog*>(dialog)->accept(); // QFileDialog::accept checks the name
        });
        QtDialogs dialogs;
        QString file = path("first.png");
        QVERIFY(dialogs.openPicture(file));
        QCOMPARE(file, path("other.JPG"));
        QVERIFY(nonNative);
        QCOMPARE(acceptLabel, QStringLiteral("Abrir"));
        QCOMPARE(filters, Pictures::nameFilters());
        QCOMPARE(startDir, dir.path());
        QCOMPARE(startSelection, path("first.png"));
        QCOMPARE(previewed, QSize(200, 50)); // fitted, aspect kept
        QVERIFY(brokenShowsNothing);
        QCOMPARE(hugeSays, QStringLiteral("Imagem grande demais"));
        QCOMPARE(loopSays, QStringLiteral("Imagem danificada"));
    }

    // The first choice starts where a desktop keeps pictures, not in the program's folder.
    void pictureDialogFirstOpensInThePicturesFolder() {
        const QString pictures = path("Imagens");
        QVERIFY(QDir().mkpath(pictures));
        QVERIFY(QDir().mkpath(path("config")));
        QFile dirs(path("config/user-dirs.dirs"));
        QVERIFY(dirs.open(QIODevice::WriteOnly));
        dirs.write(QStringLiteral("XDG_PICTURES_DIR=\"%1\"\n").arg(pictures).toUtf8());
        dirs.close();
        const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", path("config").toUtf8());
        QString startDir;
        whenModalUp([&](QWidget* w) {
            startDir = qobject_cast<QFileDialog*>(w)->directory().absolutePath();
            qobject_cast<QDialog*>(w)->reject();
        });
        QtDialogs dialogs;
        QString file;
        QVERIFY(!dialogs.openPicture(file));
        if (oldConfig.isNull())
            qunsetenv("XDG_CONFIG_HOME");
        else
            qputenv("XDG_CONFIG_HOME", oldConfig);
        QCOMPARE(startDir, pictures);
    }

    void pdfDialogProposesTheNameAndAddsTheExtension() {
        bool nonNative = false, saving = false;
        QString acceptLabel, title, proposed, startDir;
        whenModalUp([&](QWidget* w) {
            auto* dialog = qobject_cast<QFileDialog*>(w);
            QVERIFY(dialog);
            nonNative = dialog->testOption(QFileDialog::DontUseNativeDialog);
            saving = dialog->acceptMode() == QFileDialog::AcceptSave;
            acceptLabel = dialog->labelText(QFileDialog::Accept);
            title = dialog->windowTitle();
            startDir = dialog->directory().absolutePath();
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            QVERIFY(name);
            proposed = name->text();
            name->setText(QStringLiteral("minha galeria")); // typed without ".pdf"
            static_cast<QDialog*>(dialog)->accept();        // QFileDialog's own accept
        });
        QtDialogs dialogs;
        QString file = path("Relatórios.pdf");
        QVERIFY(dialogs.savePdf(file));
        QVERIFY(nonNative);
        QVERIFY(saving);
        QCOMPARE(title, QStringLiteral("Salvar como PDF"));
        QCOMPARE(acceptLabel, QStringLiteral("Salvar"));
        QCOMPARE(startDir, dir.path());
        QCOMPARE(proposed, QStringLiteral("Relatórios.pdf"));
        QCOMPARE(file, path("minha galeria.pdf"));
    }

    // Qt's own texts come in Portuguese once its translations are installed, and the
    // file dialog's type column says what its rows are in Portuguese, its headings whole.
    void fileDialogSpeaksPortugueseWithWholeHeadings() {
        QCOMPARE(
            QDialogButtonBox(QDialogButtonBox::Cancel).button(QDialogButtonBox::Cancel)->text(),
            QStringLiteral("Cancel"));
        QVERIFY(installQtTranslations(*qApp));
        QCOMPARE(
            QDialogButtonBox(QDialogButtonBox::Cancel).button(QDialogButtonBox::Cancel)->text(),
            QStringLiteral("Cancelar"));
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("Escudos")));
        QString folderType, fileType;
        QStringList cut;
        whenModalUp([&](QWidget* w) {
            auto* dialog = qobject_cast<QFileDialog*>(w);
            auto* model = dialog->findChild<QFileSystemModel*>();
            auto* files = dialog->findChild<QTreeView*>(QStringLiteral("treeView"));
            QVERIFY(model && files && files->isVisible());
            const QModelIndex folder = model->index(path(QStringLiteral("Escudos")));
            const QModelIndex file = model->index(path(QStringLiteral("first.png")));
            QTRY_VERIFY(!model->data(folder.siblingAtColumn(2)).toString().isEmpty());
            folderType = model->data(folder.siblingAtColumn(2)).toString();
            fileType = model->data(file.siblingAtColumn(2)).toString();
            QHeaderView* header = files->header();
            for (int column = 1; column < header->count(); ++column) {
                const QString heading = model->headerData(column, Qt::Horizontal).toString();
                if (header->sectionSize(column) <
                    header->fontMetrics().horizontalAdvance(heading) + 8)
                    cut << heading;
            }
            dialog->reject();
        });
        QtDialogs dialogs;
        QString file = path("first.png");
        QVERIFY(!dialogs.openPicture(file));
        QCOMPARE(folderType, QStringLiteral("Pasta"));
        QCOMPARE(fileType, QStringLiteral("Arquivo PNG"));
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QStringLiteral(", "))));
    }

    // The box that says the data folder is in use shows the folder on one line.
    void aFolderInAMessageStaysOnOneLine() {
        const QString folder = path(QStringLiteral("uma pasta de dados de nome comprido/Velmora"));
        QVERIFY(QDir().mkpath(folder));
        const DataDirLock first(folder);
        const DataDirLock second(folder);
        QCOMPARE(second.outcome(), DataDirLock::Outcome::AlreadyOpen);
        const QString shownFolder = folder;
        QVERIFY(second.message().contains(QLatin1Char('\n') + shownFolder + QLatin1Char('\n')));
        int room = 0, needed = 0;
        whenModalUp([&](QWidget* w) {
            auto* label = w->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
            QVERIFY(label);
            room = label->contentsRect().width();
            needed = label->fontMetrics().horizontalAdvance(shownFolder);
            qobject_cast<QMessageBox*>(w)->button(QMessageBox::Ok)->click();
        });
        QtDialogs dialogs;
        dialogs.message(QStringLiteral("Velmora"), second.message(), MsgIcon::Warning,
                        MsgButtons::Ok);
        QVERIFY2(room >= needed, qPrintable(QStringLiteral("%1 < %2").arg(room).arg(needed)));
    }

    void pictureDialogCancelKeepsTheName() {
        whenModalUp([](QWidget* w) { qobject_cast<QDialog*>(w)->reject(); });
        QtDialogs dialogs;
        QString file = path("first.png");
        QVERIFY(!dialogs.openPicture(file));
        QCOMPARE(file, path("first.png"));
    }
};

QTEST_MAIN(TestDialogs)
#include "test_dialogs.moc"
