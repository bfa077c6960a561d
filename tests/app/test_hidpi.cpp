// Velmora on a screen at 200 %: pictures decoded for the screen's pixels, the built-in
// artwork in its twice-as-fine drawing, and windows that do not fit the small logical
// screen kept with their caption and menu bar on it.
#include "app/Informacoes.h"
#include "app/Inicial.h"
#include "app/VelmoraApp.h"
#include "layout/App.h"
#include "platform/Dialogs.h"
#include "platform/PictureBox.h"
#include "registry/Federacao.h"
#include "tests/support/AppFixture.h"
#include "tests/support/store/TestStore.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLabel>
#include <QListView>
#include <QScreen>
#include <QTimer>
#include <QtTest>

using namespace velmora;
using velmora::test::AppFixture;
using velmora::test::TestStore;

class TestHiDpi final : public QObject {
    Q_OBJECT
private slots:
    void screenIsDense() { QCOMPARE(qApp->devicePixelRatio(), 2.0); }

    void userPicturesAreDecodedForTheScreensPixels_data() {
        QTest::addColumn<QString>("file");
        QTest::newRow("JPEG") << "escudo.jpg";
        QTest::newRow("bitmap") << "escudo.bmp";
    }
    void userPicturesAreDecodedForTheScreensPixels() {
        QFETCH(QString, file);
        TestStore store;
        const QString path = store.makeBadge(file);
        Pictures pictures;
        QLabel box;
        box.resize(113, 113);
        showPicture(pictures, &box, path, true);
        const QPixmap shown = box.pixmap();
        QCOMPARE(shown.size(), QSize(226, 226));
        QCOMPARE(shown.devicePixelRatio(), 2.0);
        QCOMPARE(shown.deviceIndependentSize(), QSizeF(113, 113));
    }

    // The picture dialog's preview pane: fitted into the pane, in the screen's pixels.
    void pictureDialogPreviewIsSharp() {
        TestStore store;
        const QString badge = store.makeBadge(QStringLiteral("grande.jpg"));
        QSize previewed;
        qreal ratio = 0;
        auto* timer = new QTimer(this);
        timer->setInterval(10);
        connect(timer, &QTimer::timeout, this, [&, timer] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (dialog == nullptr || !dialog->isVisible())
                return;
            timer->stop();
            auto* view = dialog->findChild<QListView*>(QStringLiteral("listView"));
            auto* preview = dialog->findChild<QLabel*>(QStringLiteral("Preview"));
            auto* model =
                view != nullptr ? qobject_cast<QFileSystemModel*>(view->model()) : nullptr;
            if (preview != nullptr && model != nullptr &&
                QTest::qWaitFor([&] { return model->index(badge).isValid(); })) {
                view->setCurrentIndex(model->index(badge));
                [[maybe_unused]] const bool shown =
                    QTest::qWaitFor([&] { return !preview->pixmap().isNull(); });
                previewed = preview->pixmap().deviceIndependentSize().toSize();
                ratio = preview->pixmap().devicePixelRatio();
            }
            dialog->reject();
        });
        timer->start();
        QtDialogs dialogs;
        QString file = badge;
        dialogs.openPicture(file);
        const QSize own = Pictures::pictureSize(badge);
        QCOMPARE(previewed, own.boundedTo(QSize(200, 200)));
        QCOMPARE(ratio, 2.0);
    }

    void builtInArtworkUsesItsFinerDrawing() {
        Pictures pictures;
        QLabel background;
        background.resize(792, 546);
        showPicture(pictures, &background, QStringLiteral(":/artwork/clubes.jpg"), true);
        const QImage shown = background.pixmap().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(shown.size(), QSize(1584, 1092));
        // The finer drawing itself, not the plain one scaled up.
        QImage fine = pictures.load(QStringLiteral(":/artwork/clubes@2x.jpg"), {1584, 1092})
                          .convertToFormat(QImage::Format_RGB32);
        QImage coarse = pictures.load(QStringLiteral(":/artwork/clubes.jpg"), {1584, 1092})
                            .convertToFormat(QImage::Format_RGB32);
        fine.setDevicePixelRatio(2);
        coarse.setDevicePixelRatio(2);
        QCOMPARE(shown, fine);
        QVERIFY(shown != coarse);
    }

    // The information page is shown at its own size: the same points, twice the pixels.
    void ownSizePicturesKeepTheirSizeInPoints() {
        AppFixture fx;
        VelmoraApp& app = fx.start();
        const QPixmap page = app.FrmInformacoes->Image->pixmap();
        const QSize own = layout::informacoes.backgroundRect.size();
        QCOMPARE(page.deviceIndependentSize(), QSizeF(own));
        QCOMPARE(page.size(), own * 2);
    }

    void windowsLargerThanTheScreenKeepCaptionAndMenuOnIt() {
        AppFixture fx;
        VelmoraApp& app = fx.start();
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        app.forms.show(app.FrmInicial.get());
        QVERIFY(app.FrmInicial->width() > screen.width());
        QCOMPARE(app.FrmInicial->frameGeometry().topLeft(), screen.topLeft());
        // A placed window that fits at 100 % is moved in just enough.
        TFrmFederacao& federation = *app.FrmFederacao;
        app.forms.show(&federation);
        const QRect frame = federation.frameGeometry();
        QVERIFY2(screen.contains(frame), qPrintable(QStringLiteral("%1,%2 %3x%4")
                                                        .arg(frame.x())
                                                        .arg(frame.y())
                                                        .arg(frame.width())
                                                        .arg(frame.height())));
        QCOMPARE(frame.right(), screen.right());
    }
};

int main(int argc, char** argv) {
    // Before the application exists: every screen counts two pixels per point.
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    TestHiDpi test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "test_hidpi.moc"
