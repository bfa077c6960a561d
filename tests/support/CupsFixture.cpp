#include "tests/support/CupsFixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>
#include <QTransform>
#include <QWidget>
#include <algorithm>
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

QSizeF CupsFixture::pageSize(const QString& pdf) {
    const Run info = run(QStringLiteral("pdfinfo"), {pdf});
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("Page size:\\s+([\\d.]+) x ([\\d.]+) pts"))
            .match(info.output);
    return m.hasMatch() ? QSizeF(m.captured(1).toDouble(), m.captured(2).toDouble()) : QSizeF();
}

QStringList CupsFixture::fonts(const QString& pdf) {
    // A name per line after the two header lines.
    QStringList names =
        run(QStringLiteral("pdffonts"), {pdf}).output.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    names = names.mid(2);
    for (QString& line : names)
        line = line.section(QLatin1Char(' '), 0, 0);
    return names;
}

QString CupsFixture::text(const QString& pdf) {
    return run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")})
        .output;
}

QList<QSize> CupsFixture::pictureSizes(const QString& pdf) {
    // "page num type width height ...", two header lines first.
    QList<QSize> sizes;
    const Run list = run(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf});
    for (const QString& line : list.output.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QStringList cells = line.simplified().split(QLatin1Char(' '));
        bool numbered = false;
        if (cells.size() > 4 && (cells[0].toInt(&numbered), numbered) && cells[2] == "image")
            sizes << QSize(cells[3].toInt(), cells[4].toInt());
    }
    return sizes;
}

QImage CupsFixture::render(const QString& pdf, double dpi) {
    const QString stem = at(QStringLiteral("page"));
    const Run r = run(QStringLiteral("pdftoppm"),
                      {"-png", "-singlefile", "-r", QString::number(dpi), pdf, stem});
    if (r.exitCode != 0)
        return {};
    return QImage(stem + QStringLiteral(".png"));
}

CupsFixture::PrintedPage CupsFixture::renderPrinted(const QString& pdf, const QWidget* client,
                                                    double marginMm) {
    PrintedPage page;
    QSizeF points = pageSize(pdf);
    if (points.isEmpty() || client->width() <= 0 || client->height() <= 0)
        return page;
    // Upright paper carries a wide page turned a quarter to the left.
    const bool turned = (points.width() > points.height()) != (client->width() > client->height());
    if (turned)
        points.transpose();
    const double margin = marginMm / 25.4 * 72;
    const QSizeF box = points - QSizeF(2 * margin, 2 * margin);
    // Points per window pixel on paper; rendered at its inverse, a window pixel is a pixel.
    const double scale = std::min(box.width() / client->width(), box.height() / client->height());
    page.dpi = 72 / scale;
    page.image = render(pdf, page.dpi);
    if (turned)
        page.image = page.image.transformed(QTransform().rotate(90));
    const double toPixels = page.dpi / 72;
    page.printable = QRectF(QPointF(margin, margin), box);
    page.printable = QRectF(page.printable.topLeft() * toPixels, page.printable.size() * toPixels);
    page.origin = QPointF(page.printable.left() + (page.printable.width() - client->width()) / 2,
                          page.printable.top());
    return page;
}

QRect CupsFixture::PrintedPage::onPage(const QRect& r) const {
    return r.translated(origin.toPoint());
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
