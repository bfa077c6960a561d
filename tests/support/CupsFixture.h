#pragma once

#include <QColor>
#include <QDateTime>
#include <QHash>
#include <QImage>
#include <QList>
#include <QProcess>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

class QWidget;

namespace velmora::test {

// A private CUPS scheduler with the cups-pdf queue "PDF" as the default printer, for
// tests that print for real. Construct it before the process makes any CUPS call:
// it points CUPS_SERVER at its own socket, which stays dead until start(), so the
// process sees no printer at all until then. The scheduler is stopped by its process
// id; the PDFs its jobs produced are removed.
class CupsFixture final {
public:
    CupsFixture();
    ~CupsFixture();
    CupsFixture(const CupsFixture&) = delete;
    CupsFixture& operator=(const CupsFixture&) = delete;

    // Starts the scheduler and makes "PDF" the default printer. Returns why it could
    // not ("" on success), so a machine without CUPS or poppler-utils skips instead of
    // failing.
    QString start();
    bool running() const { return cupsd_.state() == QProcess::Running; }

    // The PDFs in cups-pdf's output folders with their modification times.
    using Snapshot = QHash<QString, QDateTime>;
    static Snapshot pdfs();
    // Waits for the next job of this scheduler to complete and returns the PDF it
    // wrote (new or rewritten since `before`), or "" after the timeout.
    QString awaitPdf(const Snapshot& before, int timeoutMs = 60000);

    QString errorLog() const;

    struct Run {
        int exitCode = -1;
        QString output;
    };
    static Run run(const QString& program, const QStringList& args);
    // A printed window read back: the first page rendered so that one window pixel is
    // one page pixel (turned upright when the paper carries it turned), the window
    // where a page printed "as large as fits" puts it: the largest box of the window's
    // proportions inside margins of marginMm, centred across, at the top.
    struct PrintedPage {
        QImage image;
        QPointF origin;
        double dpi = 0;   // of the rendering
        QRectF printable; // the area inside the margins, in page pixels
        // Where a rectangle of the window's client area lies on the page.
        QRect onPage(const QRect& r) const;
    };
    PrintedPage renderPrinted(const QString& pdf, const QWidget* client, double marginMm);

    // Mean colour of a rectangle (parts outside the image left out).
    static QColor meanColour(const QImage& image, const QRect& rect);
    static bool near(const QColor& a, const QColor& b, int tolerance);

    // Pages of a PDF by pdfinfo (-1 when it cannot tell).
    static int pageCount(const QString& pdf);
    // The first page's size in points by pdfinfo (empty when it cannot tell).
    static QSizeF pageSize(const QString& pdf);
    // The fonts a PDF draws its text in, by pdffonts.
    static QStringList fonts(const QString& pdf);
    // The PDF's text by pdftotext, as laid out on the page.
    static QString text(const QString& pdf);
    // The size in pixels of each picture the PDF holds, by pdfimages.
    static QList<QSize> pictureSizes(const QString& pdf);
    // The PDF's first page rendered by pdftoppm at dpi.
    QImage render(const QString& pdf, double dpi);

private:
    QString at(const QString& name) const { return root_.filePath(name); }
    bool writeFile(const QString& name, const QString& text);
    QStringList completedJobs() const; // "PDF-3", ...

    QTemporaryDir root_;
    QProcess cupsd_;
    QStringList seenJobs_;
    QStringList produced_;
};

} // namespace velmora::test
