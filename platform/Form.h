#pragma once

#include <QAbstractButton>
#include <QAction>
#include <QMainWindow>
#include <QPoint>
#include <QPointer>
#include <QPushButton>
#include <QRect>
#include <QSize>
#include <QString>
#include <optional>

namespace velmora {

class Dialogs;
class Form;

// Tracks which of the program's windows was last active, so a form's FormActivate
// runs when it becomes the active window among them (an entry box counts as one of
// them), and not when a message box or file dialog closes over it, nor on a switch
// back from another application.
class Forms final : public QObject {
    Q_OBJECT
public:
    explicit Forms(Dialogs& dialogs, QObject* parent = nullptr);
    ~Forms() override;

    // Modeless show: visible, raised, active. A shown form is only brought to front.
    void show(Form* form);
    // Close = hide.
    void close(Form* form);

    // The window the others go back to ("Voltar"): set once by the application.
    void setMainWindow(Form* form) { main_ = form; }
    void showMainWindow();

    // Called by the entry box (real or scripted) around its modal run: while it is
    // up it is the last active program window; when it closes, the form that was
    // active before is activated again (its FormActivate runs).
    void entryBoxOpened();
    void entryBoxClosed();

    // Called by Form on QEvent::WindowActivate.
    void formActivated(Form* form);
    // Called by Form when it hides.
    void formHidden(Form* form);
    Form* lastActive() const { return last_; }
    // The program window in front: the one last shown or activated, while visible.
    // Boxes sit on it, and it is active again when they close.
    Form* front() const;

private:
    Dialogs& dialogs_;
    QPointer<Form> main_;
    QPointer<Form> last_;
    QPointer<Form> front_;
    QPointer<Form> beforeEntry_;
    int entryDepth_ = 0; // entry boxes up (one may open from another's handler)
};

// Where a window whose frame is `frame` may stand on `available`: moved only as far as
// needed to fit; a window larger than the screen keeps its top-left corner (caption
// and menu bar) on it.
QPoint keepOnScreen(const QRect& frame, const QRect& available);
// keepOnScreen on the available area of the screen under the frame's top-left corner
// (the primary screen when none is).
QPoint keepOnScreen(const QRect& frame);

// Base of every window: a caption bar without title-bar buttons, a fixed client
// size, centred or placed, absolutely placed controls on client().
class Form : public QMainWindow {
    Q_OBJECT
public:
    Form(Forms& forms, const QString& objectName, const QString& caption, QSize clientSize,
         std::optional<QPoint> placedAt = std::nullopt);

    // Runs each time the form becomes the active window among the program's windows.
    virtual void FormActivate() {}

    QWidget* client() const { return client_; } // absolute positioning parent
    QSize clientSize() const { return clientSize_; }
    Forms& forms() const { return forms_; }

    // Placement on show: centred on the desktop, or at the designed position.
    void place();
    // True once placed: later shows keep where the user left the window.
    bool isPlaced() const { return placed_; }

    // Tab visits the controls as they are seen: rows from top to bottom, each row
    // from left to right. Done at the first show, once every control exists.
    void orderTabs();

    // The window's own way out ("Voltar", "OK", "Cancelar", "Sair"). The window
    // manager's close box and Alt+F4 run it while it is enabled, and do nothing else.
    void setWayOut(QAction* command);
    void setWayOut(QAbstractButton* command);
    // A chooser's way out is its choice: ok is its way out and default button (Enter
    // presses it), and Esc, which cannot leave, shows why (stayHint) beside the control
    // in use. The hint is also the window's accessible description.
    void setChoiceButton(QPushButton* ok, const QString& stayHint);
    const QString& stayHint() const { return stayHint_; }

protected:
    bool event(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    bool tabsOrdered_ = false;
    Forms& forms_;
    QWidget* client_;
    QSize clientSize_;
    std::optional<QPoint> placedAt_;
    bool placed_ = false;
    QPointer<QAction> wayOutAction_;
    QPointer<QAbstractButton> wayOutButton_;
    QString stayHint_;
};

} // namespace velmora
