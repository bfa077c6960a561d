#include "tests/support/CupsFixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPageLayout>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>
#include <QWidget>
#include <pwd.h>
#include <unistd.h>

namespace velmora::test {

namespace {

// Where cups-pdf puts a job of this user, and its folder for unknown users.
QStringList pdfFolders() {
    QStringList folders;
    if (const passwd* pw = getpwuid(getuid()))
        folders << QString::fromLocal8Bit(pw->pw_dir) + QStringLiteral("/PDF");
    folders << QStringLiteral("/var/spool/cups-pdf/ANONYMOUS");
    return folders;
}

} // namespace

CupsFixture::CupsFixture() {
    // Filters run as the spooler's own user and must reach the spool.
    QFile::setPermissions(root_.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                            QFileDevice::ExeOwner | QFileDevice::ReadGroup |
                                            QFileDevice::ExeGroup | QFileDevice::ReadOther |
                                            QFileDevice::ExeOther);
    // Every CUPS call of this process (and of lpadmin) goes to our scheduler.
    qputenv("CUPS_SERVER", at(QStringLiteral("cups.sock")).toLocal8Bit());
}

CupsFixture::~CupsFixture() {
    if (cupsd_.state() != QProcess::NotRunning) {
        cupsd_.terminate(); // SIGTERM to our scheduler's process id only
        if (!cupsd_.waitForFinished(10000))
            cupsd_.kill();
        cupsd_.waitForFinished(5000);
    }
    for (const QString& f : produced_)
        QFile::remove(f);
}

bool CupsFixture::writeFile(const QString& name, const QString& text) {
    QFile f(at(name));
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(text.toUtf8()) >= 0;
}

QString CupsFixture::start() {
    if (!root_.isValid())
        return QStringLiteral("no temporary folder for the scheduler");
    const QString program = QStringLiteral("/usr/sbin/cupsd");
    if (!QFileInfo(program).isExecutable())
        return QStringLiteral("cupsd is not installed");
    for (const char* tool : {"pdfinfo", "pdftoppm"})
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
            return QStringLiteral("poppler-utils is not installed");
    for (const char* d : {"etc", "spool/tmp", "cache", "state", "log"})
        QDir().mkpath(at(QString::fromLatin1(d)));
    const bool written =
        writeFile(QStringLiteral("etc/cupsd.conf"),
                  QStringLiteral("Listen %1\nLogLevel info\nWebInterface No\nBrowsing No\n"
                                 "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                                 "<Policy default>\n  <Limit All>\n    Order deny,allow\n"
                                 "  </Limit>\n</Policy>\n")
                      .arg(at(QStringLiteral("cups.sock")))) &&
        writeFile(QStringLiteral("etc/cups-files.conf"),
                  QStringLiteral("ServerRoot %1/etc\nRequestRoot %1/spool\nTempDir %1/spool/tmp\n"
                                 "CacheDir %1/cache\nStateDir %1/state\n"
                                 "AccessLog %1/log/access_log\nErrorLog %1/log/error_log\n"
                                 "PageLog %1/log/page_log\nPrintcap %1/printcap\n")
                      .arg(root_.path()));
    if (!written)
        return QStringLiteral("could not write the scheduler's configuration");

    cupsd_.setProcessChannelMode(QProcess::MergedChannels);
    cupsd_.start(program, {QStringLiteral("-f"), QStringLiteral("-c"), at("etc/cupsd.conf"),
                           QStringLiteral("-s"), at("etc/cups-files.conf")});
    if (!cupsd_.waitForStarted(10000))
        return QStringLiteral("cupsd did not start: %1").arg(cupsd_.errorString());
    if (!QTest::qWaitFor([&] { return QFileInfo::exists(at("cups.sock")); }, 15000) ||
        cupsd_.state() != QProcess::Running)
        return QStringLiteral("cupsd is not listening: %1 %2")
            .arg(QString::fromLocal8Bit(cupsd_.readAll()), errorLog());
    const Run add = run(QStringLiteral("lpadmin"), {"-p", "PDF", "-v", "cups-pdf:/", "-E", "-m",
                                                    "lsb/usr/cups-pdf/CUPS-PDF_opt.ppd"});
    if (add.exitCode != 0)
        return QStringLiteral("lpadmin could not add the PDF queue: %1").arg(add.output);
    const Run makeDefault = run(QStringLiteral("lpadmin"), {"-d", "PDF"});
    if (makeDefault.exitCode != 0)
        return QStringLiteral("lpadmin -d failed: %1").arg(makeDefault.output);
    seenJobs_ = completedJobs();
    return {};
}

CupsFixture::Snapshot CupsFixture::pdfs() {
    Snapshot found;
    for (const QString& folder : pdfFolders())
        for (const QFileInfo& f :
             QDir(folder).entryInfoList({QStringLiteral("*.pdf")}, QDir::Files))
            found.insert(f.absoluteFilePath(), f.lastModified());
    return found;
}

QStringList CupsFixture::completedJobs() const {
    QStringList jobs;
    const Run list = run(QStringLiteral("lpstat"), {"-W", "completed", "-o", "PDF"});
    for (const QString& line : list.output.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        if (line.startsWith(QLatin1String("PDF-")))
            jobs << line.section(QLatin1Char(' '), 0, 0);
    return jobs;
}

QString CupsFixture::awaitPdf(const Snapshot& before, int timeoutMs) {
    // Job numbers restart with every scheduler, so the job's own file is the one
    // named after it that is new or rewritten since `before`.
    QString job;
    QString found;
    (void)QTest::qWaitFor(
        [&] {
            if (job.isEmpty()) {
                for (const QString& j : completedJobs())
                    if (!seenJobs_.contains(j))
                        job = j;
                if (job.isEmpty())
                    return false;
                seenJobs_ << job;
            }
            const QString suffix = QStringLiteral("-job_%1.pdf").arg(job.section(u'-', 1));
            const Snapshot now = pdfs();
            for (auto it = now.begin(); it != now.end(); ++it)
                if (it.key().endsWith(suffix) && before.value(it.key()) != it.value()) {
                    found = it.key();
                    return true;
                }
            return false;
        },
        timeoutMs);
    if (found.isEmpty())
        return {};
    produced_ << found;
    // cups-pdf writes the file in place; wait until it stops growing.
    qint64 size = -1;
    while (QFileInfo(found).size() != size) {
        size = QFileInfo(found).size();
        QTest::qWait(300);
    }
    return found;
}

QString CupsFixture::errorLog() const {
    QFile f(at(QStringLiteral("log/error_log")));
    return f.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(f.readAll().right(2000))
                                       : QString();
}

CupsFixture::Run CupsFixture::run(const QString& program, const QStringList& args) {
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    if (!p.waitForFinished(30000)) {
        p.kill();
        p.waitForFinished(5000);
        return {-1, QStringLiteral("%1 did not finish").arg(program)};
    }
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromLocal8Bit(p.readAll())};
}

int CupsFixture::pageCount(const QString& pdf) {
    const Run info = run(QStringLiteral("pdfinfo"), {pdf});
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info.output);
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

QImage CupsFixture::render(const QString& pdf, int dpi) {
    const QString stem = at(QStringLiteral("page"));
    const Run r = run(QStringLiteral("pdftoppm"),
                      {"-png", "-singlefile", "-r", QString::number(dpi), pdf, stem});
    if (r.exitCode != 0)
        return {};
    return QImage(stem + QStringLiteral(".png"));
}

CupsFixture::PrintedPage CupsFixture::renderPrinted(const QString& pdf, const QWidget* client) {
    PrintedPage page;
    const int dpiX = client->logicalDpiX();
    page.scaleY = double(dpiX) / client->logicalDpiY();
    page.image = render(pdf, dpiX);
    const QPrinter printer(QPrinterInfo::defaultPrinter(), QPrinter::HighResolution);
    page.origin = printer.pageLayout().paintRect(QPageLayout::Inch).topLeft() * dpiX;
    return page;
}

QRect CupsFixture::PrintedPage::onPage(const QRect& r) const {
    return QRectF(origin.x() + r.x(), origin.y() + r.y() * scaleY, r.width(), r.height() * scaleY)
        .toRect();
}

QColor CupsFixture::meanColour(const QImage& image, const QRect& rect) {
    qint64 r = 0, g = 0, b = 0, n = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x) {
            if (!image.rect().contains(x, y))
                continue;
            const QRgb p = image.pixel(x, y);
            r += qRed(p);
            g += qGreen(p);
            b += qBlue(p);
            ++n;
        }
    return n == 0 ? QColor() : QColor(int(r / n), int(g / n), int(b / n));
}

bool CupsFixture::near(const QColor& a, const QColor& b, int tolerance) {
    return qAbs(a.red() - b.red()) <= tolerance && qAbs(a.green() - b.green()) <= tolerance &&
           qAbs(a.blue() - b.blue()) <= tolerance;
}

} // namespace velmora::test
