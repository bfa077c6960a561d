#pragma once

#include <QImage>
#include <QString>
#include <QVector>

class QWidget;

namespace velmora {

class Dialogs;

// Prints an image of a window's client area as one page on the default printer,
// with no dialog, at the top-left of the printable area, scaled by printer
// resolution over the window's pixels per inch. Throws Error with a
// Portuguese message when there is no printer or the job cannot start.
class Printing {
public:
    virtual ~Printing() = default;
    // False when the machine has no printer to print on.
    virtual bool hasPrinter() const { return true; }
    virtual void printImage(const QImage& image, double windowDpiX, double windowDpiY) = 0;
    // The same page written to a PDF file at path (A4, the image as large as on the
    // screen, from the top-left corner). Throws Error.
    virtual void savePdf(const QImage& image, double windowDpiX, double windowDpiY,
                         const QString& path);

    // Grabs the client area of form (its central widget: no title bar, no menu bar)
    // and prints it. With no printer, says so and offers to save the page as a PDF,
    // named after the window's caption.
    void printWindow(QWidget* form, Dialogs& dialogs);

    // "<caption>.pdf" in the user's documents folder.
    static QString defaultPdfPath(const QString& caption);
};

class QtPrinting final : public Printing {
public:
    bool hasPrinter() const override;
    void printImage(const QImage& image, double windowDpiX, double windowDpiY) override;
};

// Test double: records what it was asked to print; saving a PDF is real.
class RecordingPrinting final : public Printing {
public:
    bool hasPrinter() const override { return printerPresent; }
    void printImage(const QImage& image, double, double) override { printed.append(image); }
    bool printerPresent = true;
    QVector<QImage> printed;
};

} // namespace velmora
