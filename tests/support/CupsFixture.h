#pragma once

#include <QDateTime>
#include <QHash>
#include <QImage>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

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
    // not ("" on success), so a machine without CUPS skips instead of failing.
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
    // Pages of a PDF by pdfinfo (-1 when it cannot tell).
    static int pageCount(const QString& pdf);
    // The PDF's first page rendered by pdftoppm at dpi.
    QImage render(const QString& pdf, int dpi);

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
