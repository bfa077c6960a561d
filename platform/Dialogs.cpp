#include "platform/Dialogs.h"

#include "platform/Form.h"
#include "platform/Pictures.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QGridLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
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

constexpr QSize previewSize{200, 200};

// The preview pane of the picture dialog: the selected file, fitted into the pane.
// Files that fail to load show nothing.
void attachPreview(QFileDialog& dialog) {
    auto* grid = qobject_cast<QGridLayout*>(dialog.layout());
    if (grid == nullptr)
        return;
    auto* preview = new QLabel(&dialog);
    preview->setObjectName(QStringLiteral("Preview"));
    preview->setFixedSize(previewSize);
    preview->setAlignment(Qt::AlignCenter);
    preview->setFrameShape(QFrame::StyledPanel);
    grid->addWidget(preview, 1, grid->columnCount(), 1, 1);
    QObject::connect(
        &dialog, &QFileDialog::currentChanged, preview, [preview](const QString& path) {
            preview->clear();
            try {
                Pictures pictures;
                preview->setPixmap(QPixmap::fromImage(pictures.loadFitted(path, previewSize)));
            } catch (const PictureError&) {
                // Not a picture (or a broken one): nothing to preview.
            }
        });
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
    dialog.setOption(QFileDialog::DontUseNativeDialog);
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
    if (runModal(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    fileName = dialog.selectedFiles().constFirst();
    return true;
}

QStringList ScriptedDialogs::messages() const {
    QStringList texts;
    for (const Shown& s : shown_)
        if (s.kind == QLatin1String("message"))
            texts.append(s.text);
    return texts;
}

MsgResult ScriptedDialogs::message(const QString& caption, const QString& text, MsgIcon icon,
                                   MsgButtons buttons) {
    shown_.append({QStringLiteral("message"), caption, text, icon, buttons});
    if (!answers_.isEmpty())
        return answers_.takeFirst();
    return buttons == MsgButtons::YesNo ? MsgResult::No : MsgResult::Ok;
}

QString ScriptedDialogs::entry(const QString& caption, const QString& prompt) {
    shown_.append({QStringLiteral("entry"), caption, prompt, MsgIcon::None, MsgButtons::Ok});
    EntryBoxScope scope(forms());
    return entries_.isEmpty() ? QString() : entries_.takeFirst();
}

bool ScriptedDialogs::openPicture(QString& fileName) {
    shown_.append({QStringLiteral("picture"), QString(), fileName, MsgIcon::None, MsgButtons::Ok});
    if (pictures_.isEmpty())
        return false;
    const QString chosen = pictures_.takeFirst();
    if (chosen.isEmpty())
        return false;
    fileName = chosen;
    return true;
}

} // namespace velmora
