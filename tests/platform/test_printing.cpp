// Printing for real: a private CUPS scheduler with the PDF queue, the page read
// back as pixels. Also the no-printer error and the grab of a window's client area.
#include "platform/Printing.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <pwd.h>
#include <unistd.h>

using namespace velmora;

namespace {

// Records the grab and the resolution it was printed for.
class CapturingPrinting final : public Printing {
public:
    void printImage(const QImage& image, double dpiX, double dpiY) override {
        printed = image;
        windowDpi = {dpiX, dpiY};
    }
    QImage printed;
    QPointF windowDpi;
};

const QColor blockColour(20, 40, 200);
const QRect block(60, 30, 48, 24); // window pixels

QImage testWindowImage() {
    QImage image(200, 100, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter(&image).fillRect(block, blockColour);
    return image;
}

bool isBlock(QRgb p) {
    return qAbs(qRed(p) - blockColour.red()) < 40 && qAbs(qGreen(p) - blockColour.green()) < 40 &&
           qAbs(qBlue(p) - blockColour.blue()) < 40;
}

// Where cups-pdf puts a job of this user, and its folder for unknown users.
QStringList pdfFolders() {
    QStringList folders;
    if (const passwd* pw = getpwuid(getuid()))
        folders << QString::fromLocal8Bit(pw->pw_dir) + QStringLiteral("/PDF");
    folders << QStringLiteral("/var/spool/cups-pdf/ANONYMOUS");
    return folders;
}

QStringList pdfsIn(const QStringList& folders) {
    QStringList found;
    for (const QString& folder : folders)
        for (const QFileInfo& f :
             QDir(folder).entryInfoList({QStringLiteral("*.pdf")}, QDir::Files))
            found << f.absoluteFilePath();
    return found;
}

struct Run {
    int exitCode = -1;
    QString output;
};

Run run(const QString& program, const QStringList& args) {
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    if (!p.waitForFinished(30000))
        return {-1, QStringLiteral("%1 did not finish").arg(program)};
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromLocal8Bit(p.readAll())};
}

} // namespace

class TestPrinting final : public QObject {
    Q_OBJECT

    QTemporaryDir root;
    QProcess cupsd;
    QString skipReason; // why no scheduler could start here
    QStringList produced;

    QString at(const QString& name) const { return root.filePath(name); }

    void writeFile(const QString& name, const QString& text) {
        QFile f(at(name));
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text.toUtf8());
    }

    // A scheduler of our own: its own configuration, spool, logs and socket.
    void writeSchedulerConfig() {
        for (const char* d : {"etc", "spool/tmp", "cache", "state", "log"})
            QVERIFY(QDir().mkpath(at(QString::fromLatin1(d))));
        writeFile(QStringLiteral("etc/cupsd.conf"),
                  QStringLiteral("Listen %1\nLogLevel info\nWebInterface No\nBrowsing No\n"
                                 "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                                 "<Policy default>\n  <Limit All>\n    Order deny,allow\n"
                                 "  </Limit>\n</Policy>\n")
                      .arg(at(QStringLiteral("cups.sock"))));
        writeFile(QStringLiteral("etc/cups-files.conf"),
                  QStringLiteral("ServerRoot %1/etc\nRequestRoot %1/spool\nTempDir %1/spool/tmp\n"
                                 "CacheDir %1/cache\nStateDir %1/state\n"
                                 "AccessLog %1/log/access_log\nErrorLog %1/log/error_log\n"
                                 "PageLog %1/log/page_log\nPrintcap %1/printcap\n")
                      .arg(root.path()));
    }

    QString errorLog() const {
        QFile f(at(QStringLiteral("log/error_log")));
        return f.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(f.readAll().right(2000))
                                           : QString();
    }

    QString startScheduler() {
        const QString program = QStringLiteral("/usr/sbin/cupsd");
        if (!QFileInfo(program).isExecutable())
            return QStringLiteral("cupsd is not installed");
        cupsd.setProcessChannelMode(QProcess::MergedChannels);
        cupsd.start(program, {QStringLiteral("-f"), QStringLiteral("-c"), at("etc/cupsd.conf"),
                              QStringLiteral("-s"), at("etc/cups-files.conf")});
        if (!cupsd.waitForStarted(10000))
            return QStringLiteral("cupsd did not start: %1").arg(cupsd.errorString());
        if (!QTest::qWaitFor([&] { return QFileInfo::exists(at("cups.sock")); }, 15000) ||
            cupsd.state() != QProcess::Running)
            return QStringLiteral("cupsd is not listening: %1 %2")
                .arg(QString::fromLocal8Bit(cupsd.readAll()), errorLog());
        const Run add = run(QStringLiteral("lpadmin"), {"-p", "PDF", "-v", "cups-pdf:/", "-E", "-m",
                                                        "lsb/usr/cups-pdf/CUPS-PDF_opt.ppd"});
        if (add.exitCode != 0)
            return QStringLiteral("lpadmin could not add the PDF queue: %1").arg(add.output);
        const Run makeDefault = run(QStringLiteral("lpadmin"), {"-d", "PDF"});
        if (makeDefault.exitCode != 0)
            return QStringLiteral("lpadmin -d failed: %1").arg(makeDefault.output);
        return {};
    }

    // The new PDF a job left in the cups-pdf folders.
    QString awaitPdf(const QStringList& before) {
        QString fresh;
        (void)QTest::qWaitFor(
            [&] {
                for (const QString& f : pdfsIn(pdfFolders()))
                    if (!before.contains(f) && !produced.contains(f)) {
                        fresh = f;
                        return true;
                    }
                return false;
            },
            60000);
        if (!fresh.isEmpty()) {
            produced << fresh;
            // cups-pdf writes the file in place; wait until it stops growing.
            qint64 size = -1;
            while (QFileInfo(fresh).size() != size) {
                size = QFileInfo(fresh).size();
                QTest::qWait(300);
            }
        }
        return fresh;
    }

private slots:
    void initTestCase() {
        QVERIFY(root.isValid());
        // Filters run as the spooler's own user and must reach the spool.
        QFile::setPermissions(root.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                               QFileDevice::ExeOwner | QFileDevice::ReadGroup |
                                               QFileDevice::ExeGroup | QFileDevice::ReadOther |
                                               QFileDevice::ExeOther);
        writeSchedulerConfig();
        // Every CUPS call of this process goes to our scheduler, not yet running.
        qputenv("CUPS_SERVER", at(QStringLiteral("cups.sock")).toLocal8Bit());
    }

    void cleanupTestCase() {
        if (cupsd.state() != QProcess::NotRunning) {
            cupsd.terminate(); // SIGTERM to our scheduler's process id only
            if (!cupsd.waitForFinished(10000))
                cupsd.kill();
        }
        for (const QString& f : produced)
            QFile::remove(f);
    }

    void printWindowGrabsTheClientAreaOnly() {
        QMainWindow window;
        window.menuBar()->addMenu(QStringLiteral("Arquivo"));
        auto* client = new QWidget(&window);
        client->setFixedSize(300, 200);
        client->setAutoFillBackground(true);
        QPalette palette = client->palette();
        palette.setColor(QPalette::Window, Qt::yellow);
        client->setPalette(palette);
        auto* label = new QLabel(client);
        label->setGeometry(10, 10, 20, 20);
        label->setAutoFillBackground(true);
        palette.setColor(QPalette::Window, blockColour);
        label->setPalette(palette);
        window.setCentralWidget(client);
        window.show();
        CapturingPrinting printing;
        printing.printWindow(&window);
        QCOMPARE(printing.printed.size(), QSize(300, 200));
        QCOMPARE(QColor(printing.printed.pixel(2, 2)), QColor(Qt::yellow));
        QVERIFY(isBlock(printing.printed.pixel(15, 15)));
        QCOMPARE(printing.windowDpi, QPointF(client->logicalDpiX(), client->logicalDpiY()));
    }

    // Runs before any scheduler exists: the socket CUPS is told to use is dead.
    void noPrinterIsAClearError() {
        QVERIFY(QPrinterInfo::defaultPrinter().isNull());
        QtPrinting printing;
        QVERIFY_THROWS_EXCEPTION(std::runtime_error,
                                 printing.printImage(testWindowImage(), 96, 96));
        try {
            printing.printImage(testWindowImage(), 96, 96);
        } catch (const std::runtime_error& e) {
            QCOMPARE(QString::fromUtf8(e.what()),
                     QStringLiteral("Nenhuma impressora disponível para imprimir."));
        }
    }

    void printsOnePageScaledByPrinterOverWindowResolution_data() {
        QTest::addColumn<double>("dpiX");
        QTest::addColumn<double>("dpiY");
        QTest::newRow("96 dpi window") << 96.0 << 96.0;
        QTest::newRow("unequal axes") << 96.0 << 48.0;
    }
    void printsOnePageScaledByPrinterOverWindowResolution() {
        QFETCH(double, dpiX);
        QFETCH(double, dpiY);
        if (skipReason.isNull() && cupsd.state() == QProcess::NotRunning)
            skipReason = startScheduler();
        if (!skipReason.isEmpty())
            QSKIP(qPrintable(skipReason));
        for (const char* tool : {"pdfinfo", "pdftoppm"})
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
                QSKIP("poppler-utils is not installed");

        const QPrinterInfo info = QPrinterInfo::defaultPrinter();
        QCOMPARE(info.printerName(), QStringLiteral("PDF"));
        const QStringList before = pdfsIn(pdfFolders());
        QtPrinting().printImage(testWindowImage(), dpiX, dpiY);
        const QString pdf = awaitPdf(before);
        QVERIFY2(!pdf.isEmpty(), qPrintable(QStringLiteral("no PDF arrived in %1; log: %2")
                                                .arg(pdfFolders().join(u' '), errorLog())));

        const Run pages = run(QStringLiteral("pdfinfo"), {pdf});
        QVERIFY2(pages.output.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n"))),
                 qPrintable(pages.output));

        // Rendered at the window's horizontal resolution, one window pixel is one
        // page pixel across, and dpiX / dpiY page pixels down.
        const int render = int(dpiX);
        const QString png = at(QStringLiteral("page"));
        QCOMPARE(run(QStringLiteral("pdftoppm"),
                     {"-png", "-singlefile", "-r", QString::number(render), pdf, png})
                     .exitCode,
                 0);
        const QImage page(png + QStringLiteral(".png"));
        QVERIFY(!page.isNull());

        const QPrinter printer(info, QPrinter::HighResolution);
        const QPointF origin = printer.pageLayout().paintRect(QPageLayout::Inch).topLeft() * render;
        const double sy = dpiX / dpiY;
        const QRectF expected(origin.x() + block.x(), origin.y() + block.y() * sy, block.width(),
                              block.height() * sy);
        const auto pixel = [&](double x, double y) { return page.pixel(int(x), int(y)); };
        QVERIFY(isBlock(pixel(expected.center().x(), expected.center().y())));
        QVERIFY(isBlock(pixel(expected.left() + 2, expected.top() + 2)));
        QVERIFY(isBlock(pixel(expected.right() - 2, expected.bottom() - 2)));
        for (const QPointF outside : {QPointF(expected.left() - 3, expected.center().y()),
                                      QPointF(expected.right() + 3, expected.center().y()),
                                      QPointF(expected.center().x(), expected.top() - 3),
                                      QPointF(expected.center().x(), expected.bottom() + 3)})
            QVERIFY2(
                !isBlock(pixel(outside.x(), outside.y())),
                qPrintable(
                    QStringLiteral("block spills to %1,%2").arg(outside.x()).arg(outside.y())));
    }
};

QTEST_MAIN(TestPrinting)
#include "test_printing.moc"
