#include "platform/Printing.h"

#include "platform/Captions.h"
#include "platform/Dialogs.h"
#include "platform/PictureBox.h"
#include "store/Error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLibrary>
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
#include <QTemporaryFile>
#include <QWidget>
#include <algorithm>
#include <cups/cups.h>
#include <utility>
#include <vector>

namespace velmora {

namespace {

[[noreturn]] void fail(const QString& message) {
    throw Error(message);
}

constexpr int pdfDpi = 1200;

// The print system's library is loaded when a page goes to a printer, not at start-up:
// it brings a score of libraries (encryption, Kerberos, service discovery) with it.
struct CupsCalls {
    decltype(&cupsPrintFile) printFile = nullptr;
    decltype(&cupsLastErrorString) lastError = nullptr;
};

const CupsCalls& cups() {
    static const CupsCalls calls = [] {
        CupsCalls found;
        QLibrary library(QStringLiteral("cups"), 2);
        if (library.load()) {
            found.printFile =
                reinterpret_cast<decltype(&cupsPrintFile)>(library.resolve("cupsPrintFile"));
            found.lastError = reinterpret_cast<decltype(&cupsLastErrorString)>(
                library.resolve("cupsLastErrorString"));
        }
        return found;
    }();
    return calls;
}

// A wide window is printed across the page.
QPageLayout::Orientation orientationFor(const QWidget* area) {
    return area->width() > area->height() ? QPageLayout::Landscape : QPageLayout::Portrait;
}

QMarginsF pageMargins() {
    const double m = Printing::marginMm;
    return {m, m, m, m};
}

// The pictures of area decoded again for the paper while the page is drawn; the
// screen's pictures come back when it is done.
class FinerPictures final {
public:
    FinerPictures(QWidget* area, qreal ratio) {
        Pictures pictures;
        for (QLabel* box : area->findChildren<QLabel*>()) {
            QImage image = finerPicture(pictures, box, ratio);
            if (image.isNull())
                continue;
            shown_.emplace_back(box, box->pixmap());
            box->setPixmap(QPixmap::fromImage(std::move(image)));
        }
    }
    ~FinerPictures() {
        for (const auto& [box, pixmap] : shown_)
            box->setPixmap(pixmap);
    }
    FinerPictures(const FinerPictures&) = delete;
    FinerPictures& operator=(const FinerPictures&) = delete;

private:
    std::vector<std::pair<QLabel*, QPixmap>> shown_;
};

// The painter's device from the top-left of its printable area, which is where a
// printer's and a PDF writer's painters start.
void paintPage(QPainter& painter, QPagedPaintDevice& device, QWidget* area) {
    const QRect printable = device.pageLayout().paintRectPixels(device.logicalDpiX());
    Printing::paintArea(painter, area, QRectF(QPointF(0, 0), printable.size()));
}

} // namespace

void Printing::paintArea(QPainter& painter, QWidget* area, const QRectF& box) {
    const QSizeF size = area->size();
    if (size.isEmpty())
        return;
    const double scale = std::min(box.width() / size.width(), box.height() / size.height());
    // Device pixels per window pixel that a picture needs to be printed at pictureDpi.
    const qreal ratio = pictureDpi * scale / std::max(1, painter.device()->logicalDpiX());
    const FinerPictures finer(area, ratio);
    painter.save();
    painter.translate(box.left() + (box.width() - size.width() * scale) / 2, box.top());
    painter.scale(scale, scale);
    area->render(&painter, QPoint(), QRegion(),
                 QWidget::DrawWindowBackground | QWidget::DrawChildren);
    painter.restore();
}

void Printing::printWindow(QWidget* form, Dialogs& dialogs, const QString& subject) {
    QWidget* area = form;
    // The client area only: no title bar, no menu bar.
    if (auto* window = qobject_cast<QMainWindow*>(form); window && window->centralWidget())
        area = window->centralWidget();
    QString path = defaultPdfPath(form->windowTitle(), subject);
    const QString title = QFileInfo(path).completeBaseName();
    if (hasPrinter()) {
        printArea(area, title);
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
    if (dialogs.savePdf(path))
        savePdf(area, title, path);
}

QString Printing::defaultPdfPath(const QString& caption, const QString& subject) {
    QString name = caption.simplified();
    if (const QString about = subject.simplified(); !about.isEmpty())
        name = name.isEmpty() ? about : name + QStringLiteral(" - ") + about;
    // Characters a file name cannot hold (here or on Windows) become hyphens.
    name.replace(QRegularExpression(QStringLiteral("[/\\\\:*?\"<>|]")), QStringLiteral("-"));
    if (name.isEmpty())
        name = programName;
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QDir(folder).exists())
        folder = QDir::homePath();
    return QDir(folder).filePath(name + QLatin1String(".pdf"));
}

void Printing::savePdf(QWidget* area, const QString& title, const QString& path) {
    writePdf(area, title,
             QPageLayout(QPageSize(QPageSize::A4), orientationFor(area), pageMargins(),
                         QPageLayout::Millimeter),
             path);
}

void Printing::writePdf(QWidget* area, const QString& title, const QPageLayout& layout,
                        const QString& path) {
    QPdfWriter writer(path);
    writer.setResolution(pdfDpi);
    writer.setPageLayout(layout);
    writer.setCreator(programName);
    writer.setTitle(title);
    QPainter painter;
    if (!painter.begin(&writer))
        fail(QStringLiteral("Não foi possível criar o arquivo \"%1\".").arg(path));
    paintPage(painter, writer, area);
    if (!painter.end())
        fail(QStringLiteral("Não foi possível gravar o arquivo \"%1\".").arg(path));
}

bool QtPrinting::hasPrinter() const {
    return !QPrinterInfo::defaultPrinter().isNull();
}

void QtPrinting::printArea(QWidget* area, const QString& title) {
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        fail(QStringLiteral("Nenhuma impressora disponível para imprimir."));
    // The printer's paper, with its own margins where they are wider than ours.
    QPrinter printer(info, QPrinter::HighResolution);
    printer.setPageOrientation(orientationFor(area));
    printer.setPageMargins(pageMargins(), QPageLayout::Millimeter);
    // Qt paints widgets on a printer as one picture of the page, so the page goes to
    // the printer as the PDF a file would get: text stays text.
    QTemporaryFile page(QDir(QDir::tempPath()).filePath(QStringLiteral("velmora-XXXXXX.pdf")));
    if (!page.open())
        fail(QStringLiteral("Não foi possível preparar a impressão: %1").arg(page.errorString()));
    page.close();
    writePdf(area, title, printer.pageLayout(), page.fileName());
    const CupsCalls& calls = cups();
    if (calls.printFile == nullptr || calls.lastError == nullptr)
        fail(QStringLiteral("Não foi possível imprimir na impressora %1: a biblioteca do sistema "
                            "de impressão (libcups2) não está instalada.")
                 .arg(info.printerName()));
    const QByteArray name = info.printerName().toUtf8();
    if (calls.printFile(name.constData(), QFile::encodeName(page.fileName()).constData(),
                        title.toUtf8().constData(), 0, nullptr) == 0)
        fail(QStringLiteral("Não foi possível imprimir na impressora %1: %2")
                 .arg(info.printerName(), QString::fromUtf8(calls.lastError())));
}

} // namespace velmora
