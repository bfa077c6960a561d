#include "platform/Printing.h"

#include "platform/Captions.h"
#include "platform/Dialogs.h"
#include "store/Error.h"

#include <QDir>
#include <QMainWindow>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPixmap>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QWidget>

namespace velmora {

namespace {

[[noreturn]] void fail(const QString& message) {
    throw Error(message);
}

constexpr double defaultDpi = 96.0;
constexpr int pdfDpi = 1200;

double validDpi(double dpi) {
    return dpi > 0 ? dpi : defaultDpi;
}

// The window as large on paper as on the screen: device dots per window pixel, per axis.
void paintPage(QPainter& painter, const QPaintDevice& device, const QImage& image, double dpiX,
               double dpiY) {
    painter.scale(device.logicalDpiX() / validDpi(dpiX), device.logicalDpiY() / validDpi(dpiY));
    painter.drawImage(QPoint(0, 0), image);
}

} // namespace

void Printing::printWindow(QWidget* form, Dialogs& dialogs) {
    QWidget* area = form;
    // The client area only: no title bar, no menu bar.
    if (auto* window = qobject_cast<QMainWindow*>(form); window && window->centralWidget())
        area = window->centralWidget();
    const QPixmap shot = area->grab();
    // A high-density screen grabs more pixels per inch than the logical resolution.
    const double ratio = shot.devicePixelRatio();
    QImage image = shot.toImage();
    image.setDevicePixelRatio(1.0);
    const double dpiX = area->logicalDpiX() * ratio;
    const double dpiY = area->logicalDpiY() * ratio;
    if (hasPrinter()) {
        printImage(image, dpiX, dpiY);
        return;
    }
    // Nobody has to set up a printer to keep the page.
    const MsgResult answer = dialogs.message(
        programName,
        QStringLiteral("Não há nenhuma impressora instalada para imprimir a página.\n"
                       "Deseja salvar a página em um arquivo PDF?"),
        MsgIcon::Question, MsgButtons::YesNo);
    if (answer != MsgResult::Yes)
        return;
    QString path = defaultPdfPath(form->windowTitle());
    if (dialogs.savePdf(path))
        savePdf(image, dpiX, dpiY, path);
}

QString Printing::defaultPdfPath(const QString& caption) {
    // Characters a file name cannot hold (here or on Windows) become hyphens.
    QString name = caption;
    name.replace(QRegularExpression(QStringLiteral("[/\\\\:*?\"<>|]")), QStringLiteral("-"));
    name = name.simplified();
    if (name.isEmpty())
        name = programName;
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QDir(folder).exists())
        folder = QDir::homePath();
    return QDir(folder).filePath(name + QLatin1String(".pdf"));
}

void Printing::savePdf(const QImage& image, double windowDpiX, double windowDpiY,
                       const QString& path) {
    QPdfWriter writer(path);
    writer.setResolution(pdfDpi);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
    writer.setCreator(programName);
    writer.setTitle(programName);
    QPainter painter;
    if (!painter.begin(&writer))
        fail(QStringLiteral("Não foi possível criar o arquivo \"%1\".").arg(path));
    paintPage(painter, writer, image, windowDpiX, windowDpiY);
    if (!painter.end())
        fail(QStringLiteral("Não foi possível gravar o arquivo \"%1\".").arg(path));
}

bool QtPrinting::hasPrinter() const {
    return !QPrinterInfo::defaultPrinter().isNull();
}

void QtPrinting::printImage(const QImage& image, double windowDpiX, double windowDpiY) {
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        fail(QStringLiteral("Nenhuma impressora disponível para imprimir."));
    QPrinter printer(info, QPrinter::HighResolution);
    printer.setDocName(programName);
    QPainter painter;
    if (!painter.begin(&printer))
        fail(QStringLiteral("Não foi possível iniciar a impressão na impressora %1.")
                 .arg(info.printerName()));
    paintPage(painter, printer, image, windowDpiX, windowDpiY);
    if (!painter.end() || printer.printerState() == QPrinter::Error)
        fail(QStringLiteral("Não foi possível concluir a impressão na impressora %1.")
                 .arg(info.printerName()));
}

} // namespace velmora
