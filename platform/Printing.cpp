#include "platform/Printing.h"

#include <QMainWindow>
#include <QPainter>
#include <QPixmap>
#include <QPrinter>
#include <QPrinterInfo>
#include <QWidget>
#include <stdexcept>

namespace velmora {

namespace {

[[noreturn]] void fail(const QString& message) {
    throw std::runtime_error(message.toStdString());
}

constexpr double defaultDpi = 96.0;

double validDpi(double dpi) {
    return dpi > 0 ? dpi : defaultDpi;
}

} // namespace

void Printing::printWindow(QWidget* form) {
    QWidget* area = form;
    // The client area only: no title bar, no menu bar.
    if (auto* window = qobject_cast<QMainWindow*>(form); window && window->centralWidget())
        area = window->centralWidget();
    const QPixmap shot = area->grab();
    // A high-density screen grabs more pixels per inch than the logical resolution.
    const double ratio = shot.devicePixelRatio();
    QImage image = shot.toImage();
    image.setDevicePixelRatio(1.0);
    printImage(image, area->logicalDpiX() * ratio, area->logicalDpiY() * ratio);
}

void QtPrinting::printImage(const QImage& image, double windowDpiX, double windowDpiY) {
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        fail(QStringLiteral("Nenhuma impressora disponível para imprimir."));
    QPrinter printer(info, QPrinter::HighResolution);
    printer.setDocName(QStringLiteral("Velmora"));
    QPainter painter;
    if (!painter.begin(&printer))
        fail(QStringLiteral("Não foi possível iniciar a impressão na impressora %1.")
                 .arg(info.printerName()));
    // Keeps the window's size in inches: printer dots per window pixel, per axis.
    painter.scale(printer.logicalDpiX() / validDpi(windowDpiX),
                  printer.logicalDpiY() / validDpi(windowDpiY));
    painter.drawImage(QPoint(0, 0), image);
    if (!painter.end() || printer.printerState() == QPrinter::Error)
        fail(QStringLiteral("Não foi possível concluir a impressão na impressora %1.")
                 .arg(info.printerName()));
}

} // namespace velmora
