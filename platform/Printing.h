#pragma once

#include <QImage>
#include <QVector>

class QWidget;

namespace velmora {

// Prints an image of a window's client area as one page on the default printer,
// with no dialog, at the top-left of the printable area, scaled by printer
// resolution over the window's pixels per inch. Throws std::runtime_error with a
// Portuguese message when there is no printer or the job cannot start.
class Printing {
public:
    virtual ~Printing() = default;
    virtual void printImage(const QImage& image, double windowDpiX, double windowDpiY) = 0;
    // Grabs the client area of form (its central widget: no title bar, no menu bar)
    // and prints it.
    void printWindow(QWidget* form);
};

class QtPrinting final : public Printing {
public:
    void printImage(const QImage& image, double windowDpiX, double windowDpiY) override;
};

// Test double: records what it was asked to print.
class RecordingPrinting final : public Printing {
public:
    void printImage(const QImage& image, double, double) override { printed.append(image); }
    QVector<QImage> printed;
};

} // namespace velmora
