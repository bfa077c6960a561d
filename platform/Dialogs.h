#pragma once

#include <QString>
#include <QStringList>
#include <QVector>
#include <memory>

class QCoreApplication;
class QWidget;

namespace velmora {

class Forms;

enum class MsgIcon { None, Information, Warning, Error, Question };
enum class MsgButtons { Ok, YesNo };
enum class MsgResult { Ok, Yes, No };

// Long work shown in the window that started it: a bar and "Cancelar".
class ProgressBox {
public:
    virtual ~ProgressBox() = default;
    // Shows how far the work is (0 to 100), lets the windows be painted and the user
    // press "Cancelar"; false once the user has.
    virtual bool step(int percent) = 0;
};

// Modal boxes: message box, entry box and the picture open dialog.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual MsgResult message(const QString& caption, const QString& text, MsgIcon icon,
                              MsgButtons buttons = MsgButtons::Ok) = 0;
    // OK gives the typed text; Cancel gives "".
    virtual QString entry(const QString& caption, const QString& prompt) = 0;
    // The picture open dialog with a preview pane, starting at fileName (the last
    // choice). Returns true and sets fileName when a file is chosen; on cancel,
    // returns false and leaves fileName as it was.
    virtual bool openPicture(QString& fileName) = 0;
    // The save dialog for a PDF, proposing fileName (a full path). Returns true and
    // sets fileName to the chosen path (ending in ".pdf"); false on cancel.
    virtual bool savePdf(QString& fileName) = 0;
    // The save dialog for one type of file: `filter` as "Imagem PNG (*.png)", `suffix`
    // added to a name typed without one. Returns true and sets fileName to the chosen
    // path; false on cancel (a Dialogs without such a box always cancels).
    virtual bool saveFile(QString& fileName, const QString& filter, const QString& suffix);
    // A progress display for long work started from `window`, up until destroyed;
    // while it is up only its "Cancelar" takes input. A Dialogs without one shows
    // nothing and never cancels.
    virtual std::unique_ptr<ProgressBox> progress(QWidget* window, const QString& text);

    // An entry box counts as one of the program's windows: the window tracker is
    // told when one opens and closes. Forms registers itself here.
    void setForms(Forms* forms) { forms_ = forms; }
    Forms* forms() const { return forms_; }

protected:
    // Marks an entry box as up for the window tracker during its modal run.
    class EntryBoxScope final {
    public:
        explicit EntryBoxScope(Forms* forms);
        ~EntryBoxScope();
        EntryBoxScope(const EntryBoxScope&) = delete;
        EntryBoxScope& operator=(const EntryBoxScope&) = delete;

    private:
        Forms* forms_;
    };

private:
    Forms* forms_ = nullptr;
};

// Qt implementation: QMessageBox, an entry box, a non-native QFileDialog with preview.
class QtDialogs final : public Dialogs {
public:
    MsgResult message(const QString& caption, const QString& text, MsgIcon icon,
                      MsgButtons buttons) override;
    QString entry(const QString& caption, const QString& prompt) override;
    bool openPicture(QString& fileName) override;
    bool savePdf(QString& fileName) override;
    bool saveFile(QString& fileName, const QString& filter, const QString& suffix) override;
    std::unique_ptr<ProgressBox> progress(QWidget* window, const QString& text) override;
};

// Qt's own texts (standard buttons, file dialogs) in Brazilian Portuguese, from the
// translations the system ships. False when they are not installed.
bool installQtTranslations(QCoreApplication& app);

} // namespace velmora
