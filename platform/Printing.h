#pragma once

#include <QImage>
#include <QRectF>
#include <QString>
#include <QVector>

class QPageLayout;
class QPainter;
class QWidget;

namespace velmora {

class Dialogs;

// Prints a window's client area as one page on the default printer, with no dialog:
// the widgets drawn again for the paper (text stays text, pictures decoded anew at up
// to pictureDpi), as large as the printable area allows with the window's proportions
// kept, inside margins a printer can reach. Throws Error with a Portuguese message
// when there is no printer or the job cannot start.
class Printing {
public:
    // No printer draws this close to the paper's edge.
    static constexpr double marginMm = 10.0;
    // Pictures are decoded again for the paper up to this fineness (or their own).
    static constexpr double pictureDpi = 300.0;

    virtual ~Printing() = default;
    // False when the machine has no printer to print on.
    virtual bool hasPrinter() const { return true; }
    // Prints area on the default printer; title names the job.
    virtual void printArea(QWidget* area, const QString& title) = 0;
    // The same page written to a PDF file at path (A4). Throws Error.
    virtual void savePdf(QWidget* area, const QString& title, const QString& path);

    // Prints the client area of form (its central widget: no title bar, no menu bar).
    // With no printer, says so and offers to save the page as a PDF, named after the
    // window's caption and, when given, the subject of what it shows.
    void printWindow(QWidget* form, Dialogs& dialogs, const QString& subject = {});

    // "<caption> - <subject>.pdf" (or "<caption>.pdf") in the user's documents folder.
    static QString defaultPdfPath(const QString& caption, const QString& subject = {});

    // Draws area with painter into box (device coordinates): fitted, proportions
    // kept, centred across and at the top.
    static void paintArea(QPainter& painter, QWidget* area, const QRectF& box);

protected:
    // area as one page of layout in a PDF file at path. Throws Error.
    static void writePdf(QWidget* area, const QString& title, const QPageLayout& layout,
                         const QString& path);
};

class QtPrinting final : public Printing {
public:
    bool hasPrinter() const override;
    void printArea(QWidget* area, const QString& title) override;
};

} // namespace velmora
