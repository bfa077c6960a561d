#include "platform/Dialogs.h"

#include "core/Pictures.h"
#include "platform/Form.h"
#include "platform/ProgressPanel.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QGridLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPointer>
#include <QScreen>
#include <QStandardPaths>
#include <QTranslator>
#include <QTreeView>
#include <algorithm>
#include <utility>

namespace velmora {

namespace {

// A box sits on the modal box it came from, or else on the program window in
// front: the one just shown may not be active yet (the window manager confirms
// later), and the box must not bring the one behind it forward.
QWidget* dialogParent(const Forms* forms) {
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    if (Form* front = forms != nullptr ? forms->front() : nullptr)
        return front;
    return QApplication::activeWindow();
}

QMessageBox::Icon toQt(MsgIcon icon) {
    switch (icon) {
    case MsgIcon::Information:
        return QMessageBox::Information;
    case MsgIcon::Warning:
        return QMessageBox::Warning;
    case MsgIcon::Error:
        return QMessageBox::Critical;
    case MsgIcon::Question:
        return QMessageBox::Question;
    case MsgIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

// Runs a modal box; afterwards the window it sat on is active again, as a desktop's
// window manager would have it.
int runModal(QDialog& box) {
    const QPointer<QWidget> under = box.parentWidget();
    const int result = box.exec();
    if (under && under->isVisible()) {
        under->window()->raise();
        under->window()->activateWindow();
    }
    return result;
}

// A line that is a file or folder's path is never broken: the box grows to hold it, as
// far as the screen allows.
void keepWholeLines(QMessageBox& box, const QString& text) {
    auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    if (label == nullptr)
        return;
    int widest = 0;
    for (const QString& line : text.split(QLatin1Char('\n')))
        if (QDir::isAbsolutePath(line) && QFileInfo::exists(line))
            widest = std::max(widest, label->fontMetrics().horizontalAdvance(line) + 2);
    const QScreen* screen = box.screen();
    const int room = screen != nullptr ? screen->availableGeometry().width() * 4 / 5 : widest;
    if (widest > 0)
        label->setMinimumWidth(std::min(widest, room));
}

constexpr QSize previewSize{200, 200};

// Where the first choice starts: the user's Pictures folder, else the home folder.
QString firstPictureFolder() {
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    return !pictures.isEmpty() && QFileInfo(pictures).isDir() ? pictures : QDir::homePath();
}

// Shows path fitted into the preview pane. Merely highlighting a file must never end
// the program: whatever goes wrong, the pane shows nothing or says why.
void showPreview(QLabel* preview, const QString& path) {
    preview->clear();
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return;
    try {
        // Fitted into the pane, then decoded for the screen's pixels there.
        QSize fitted = Pictures::pictureSize(path);
        if (fitted.width() > previewSize.width() || fitted.height() > previewSize.height())
            fitted.scale(previewSize, Qt::KeepAspectRatio);
        const qreal ratio = std::max<qreal>(1, preview->devicePixelRatioF());
        Pictures pictures;
        QImage image = pictures.load(path, fitted.expandedTo({1, 1}) * ratio);
        image.setDevicePixelRatio(ratio);
        preview->setPixmap(QPixmap::fromImage(image));
    } catch (const PictureError& e) {
        // Only a picture the loader knows gets a reason; other files show nothing.
        if (e.kind() == PictureError::Kind::TooBig || e.kind() == PictureError::Kind::Damaged)
            preview->setText(e.kind() == PictureError::Kind::TooBig
                                 ? QStringLiteral("Imagem grande demais")
                                 : QStringLiteral("Imagem danificada"));
    } catch (...) {
        preview->setText(QStringLiteral("Sem visualização"));
    }
}

// The type column in Portuguese: Qt's translations leave "Folder" and "%1 File" in English.
class PortugueseFileTypes final : public QFileIconProvider {
public:
    QString type(const QFileInfo& info) const override {
        if (info.isRoot())
            return QStringLiteral("Unidade");
        if (info.isDir())
            return QStringLiteral("Pasta");
        const QString suffix = info.suffix();
        return suffix.isEmpty() ? QStringLiteral("Arquivo")
                                : QStringLiteral("Arquivo %1").arg(suffix.toUpper());
    }
};

// What both file dialogs share: Portuguese file types and columns as wide as their
// headings and contents.
void dressFileDialog(QFileDialog& dialog) {
    static PortugueseFileTypes types; // holds nothing: one serves every dialog
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setIconProvider(&types);
    dialog.setViewMode(QFileDialog::Detail);
    if (auto* files = dialog.findChild<QTreeView*>(QStringLiteral("treeView"))) {
        QHeaderView* header = files->header();
        for (int column = 1; column < header->count(); ++column)
            header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    }
    dialog.resize(dialog.sizeHint().expandedTo({860, 480}));
}

// The preview pane of the picture dialog: the selected file, fitted into the pane.
void attachPreview(QFileDialog& dialog) {
    auto* grid = qobject_cast<QGridLayout*>(dialog.layout());
    if (grid == nullptr)
        return;
    auto* preview = new QLabel(&dialog);
    preview->setObjectName(QStringLiteral("Preview"));
    preview->setFixedSize(previewSize);
    preview->setAlignment(Qt::AlignCenter);
    preview->setWordWrap(true);
    preview->setTextFormat(Qt::PlainText);
    preview->setFrameShape(QFrame::StyledPanel);
    grid->addWidget(preview, 1, grid->columnCount(), 1, 1);
    QObject::connect(&dialog, &QFileDialog::currentChanged, preview,
                     [preview](const QString& path) { showPreview(preview, path); });
}

} // namespace

Dialogs::EntryBoxScope::EntryBoxScope(Forms* forms) : forms_(forms) {
    if (forms_ != nullptr)
        forms_->entryBoxOpened();
}

Dialogs::EntryBoxScope::~EntryBoxScope() {
    if (forms_ != nullptr)
        forms_->entryBoxClosed();
}

MsgResult QtDialogs::message(const QString& caption, const QString& text, MsgIcon icon,
                             MsgButtons buttons) {
    const auto qtButtons =
        buttons == MsgButtons::YesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok;
    QMessageBox box(toQt(icon), caption, text, qtButtons, dialogParent(forms()));
    box.setObjectName(QStringLiteral("MessageBox"));
    box.setTextFormat(Qt::PlainText); // messages quote names and paths the user typed
    // Portuguese whatever translations the machine has.
    for (const auto& [button, label] :
         {std::pair{QMessageBox::Ok, "OK"}, {QMessageBox::Yes, "Sim"}, {QMessageBox::No, "Não"}})
        if (QAbstractButton* b = box.button(button))
            b->setText(QString::fromUtf8(label));
    keepWholeLines(box, text);
    const int pressed = runModal(box);
    if (buttons == MsgButtons::Ok)
        return MsgResult::Ok;
    return pressed == QMessageBox::Yes ? MsgResult::Yes : MsgResult::No;
}

QString QtDialogs::entry(const QString& caption, const QString& prompt) {
    QInputDialog box(dialogParent(forms()));
    box.setObjectName(QStringLiteral("EntryBox"));
    box.setInputMode(QInputDialog::TextInput);
    box.setWindowTitle(caption);
    box.setLabelText(prompt);
    box.setTextValue(QString());
    box.setOkButtonText(QStringLiteral("OK"));
    box.setCancelButtonText(QStringLiteral("Cancelar"));
    EntryBoxScope scope(forms());
    if (runModal(box) != QDialog::Accepted)
        return {};
    return box.textValue();
}

bool QtDialogs::openPicture(QString& fileName) {
    QFileDialog dialog(dialogParent(forms()));
    dialog.setObjectName(QStringLiteral("ProcuraFoto"));
    dressFileDialog(dialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setNameFilters(Pictures::nameFilters());
    dialog.setWindowTitle(QStringLiteral("Abrir"));
    for (const auto& [label, text] : {std::pair{QFileDialog::LookIn, "Examinar:"},
                                      {QFileDialog::FileName, "Nome do arquivo:"},
                                      {QFileDialog::FileType, "Arquivos do tipo:"},
                                      {QFileDialog::Accept, "Abrir"},
                                      {QFileDialog::Reject, "Cancelar"}})
        dialog.setLabelText(label, QString::fromUtf8(text));
    attachPreview(dialog);
    if (!fileName.isEmpty())
        dialog.selectFile(fileName);
    else
        dialog.setDirectory(firstPictureFolder());
    if (runModal(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    fileName = dialog.selectedFiles().constFirst();
    return true;
}

namespace {

class NoProgress final : public ProgressBox {
public:
    bool step(int) override { return true; }
};

} // namespace

std::unique_ptr<ProgressBox> Dialogs::progress(QWidget*, const QString&) {
    return std::make_unique<NoProgress>();
}

std::unique_ptr<ProgressBox> QtDialogs::progress(QWidget* window, const QString& text) {
    return std::make_unique<ProgressPanel>(window, text);
}

bool Dialogs::saveFile(QString&, const QString&, const QString&) {
    return false;
}

bool QtDialogs::savePdf(QString& fileName) {
    return saveFile(fileName, QStringLiteral("Documento PDF (*.pdf)"), QStringLiteral("pdf"));
}

bool QtDialogs::saveFile(QString& fileName, const QString& filter, const QString& suffix) {
    QFileDialog dialog(dialogParent(forms()));
    dialog.setObjectName(QStringLiteral("Salvar") + suffix.at(0).toUpper() + suffix.mid(1));
    dressFileDialog(dialog);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(filter);
    dialog.setDefaultSuffix(suffix);
    dialog.setWindowTitle(QStringLiteral("Salvar como ") + suffix.toUpper());
    for (const auto& [label, text] : {std::pair{QFileDialog::LookIn, "Salvar em:"},
                                      {QFileDialog::FileName, "Nome do arquivo:"},
                                      {QFileDialog::FileType, "Salvar como tipo:"},
                                      {QFileDialog::Accept, "Salvar"},
                                      {QFileDialog::Reject, "Cancelar"}})
        dialog.setLabelText(label, QString::fromUtf8(text));
    if (!fileName.isEmpty())
        dialog.selectFile(fileName);
    if (runModal(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    fileName = dialog.selectedFiles().constFirst();
    return true;
}

bool installQtTranslations(QCoreApplication& app) {
    auto* texts = new QTranslator(&app);
    if (!texts->load(QLocale(QLocale::Portuguese, QLocale::Brazil), QStringLiteral("qtbase"),
                     QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete texts;
        return false;
    }
    return app.installTranslator(texts);
}

} // namespace velmora
