#pragma once

// The one kit the windows build their controls with, each from its row of the window's
// place table.

#include "layout/Place.h"

#include <QAction>
#include <QComboBox>
#include <QElapsedTimer>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>

#include <initializer_list>

class QCheckBox;
class QPushButton;
class QWidget;

namespace velmora {

class Dialogs;
class Pictures;

// Names a control after its row and puts it at its place, in its font and colour, with
// the name a screen reader gives it.
void putAt(QWidget* control, const layout::Place& place);
template <class W> W* placed(W* control, const layout::Place& place) {
    putAt(control, place);
    return control;
}

// A drop-down list without free typing. Typing picks by the item's start, spaces
// included ("Rio de Janeiro"); a space opens the list only when no search is under way.
// Its current text is cut with "…" where it does not fit, the whole text in its tool
// tip. Its painted title is linked to it as its label, which is how screen readers on
// Linux name a list (its own name there is its value).
class ChoiceList : public QComboBox {
    Q_OBJECT
public:
    explicit ChoiceList(QWidget* parent = nullptr);
    // The label the list is known by (nullptr before putAt gives it one).
    QLabel* title() const { return title_; }
    void setTitle(const QString& text);
    // A title of its own shown beside the list takes the place of the painted one.
    void setTitle(QLabel* shown);

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void paintEvent(QPaintEvent* e) override;

private:
    QLabel* title_ = nullptr;
    QElapsedTimer lastTyped_;
};

// A radio button that behaves as the desktop's radio groups do: an arrow key moves to
// the next button of the group and chooses it.
class ChoiceRadio final : public QRadioButton {
    Q_OBJECT
public:
    using QRadioButton::QRadioButton;

protected:
    void keyPressEvent(QKeyEvent* e) override;
};

// A label that draws a stretched picture itself, every pixel of it: a plain label first
// shrinks it to the screen's density, and a printed page is finer.
class PictureBox final : public QLabel {
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent* event) override;
};

// A picture box: what it shows is stretched to fill it.
QLabel* makePicture(QWidget* parent, const layout::Place& place);
// A label of plain text: a club's texts are shown as typed, never as HTML.
QLabel* makeLabel(QWidget* parent, const layout::Place& place);
// Sets a label's text. A text wider than the label's room (its fixed width, or the room
// of its row) is cut with "…", and the whole text goes to its tool tip and accessible
// description; a label sized to its text is sized again.
void setFittedText(QLabel* label, const QString& text);
// Sets a label's text in the largest font, up to its row's size, that fits its width.
void setShrunkText(QLabel* label, const QString& text, const layout::Place& place);
// A value label painted beside its title: shows the value, spoken as "title: value".
void setTitledValue(QLabel* label, const QString& value, const layout::Place& place);

// A push button with its caption, tool tip and glyph; glyphSize empty: the style's size.
QPushButton* makeButton(QWidget* parent, const layout::Place& place, QSize glyphSize = {});
// A radio button or a check box with its caption.
ChoiceRadio* makeRadio(QWidget* parent, const layout::Place& place);
QCheckBox* makeCheckBox(QWidget* parent, const layout::Place& place);
// A drop-down list without free typing.
ChoiceList* makeChoiceList(QWidget* parent, const layout::Place& place);

// The window's built-in picture, created first so every control lies above it. A
// broken build shows the general error report instead of stopping start-up.
QLabel* makeBackground(QWidget* parent, const layout::Window& window, Pictures& pictures,
                       Dialogs& dialogs);
// The same box without the picture.
QLabel* makeBackgroundBox(QWidget* parent, const layout::Window& window);

// A menu of a window, as data: its items in order, a null caption for a separator.
template <class F> struct MenuItem {
    const char* name;
    const char* caption;
    QAction* F::*action = nullptr;
    void (F::*handler)() = nullptr;
    QKeySequence shortcut = {};
};
template <class F> struct MenuDef {
    const char* name;
    const char* caption;
    QMenu* F::*menu;
    std::initializer_list<MenuItem<F>> items;
};

// Adds the menus to the bar, binds each item to its member and its handler.
template <class F> void addMenus(F& form, QMenuBar* bar, std::initializer_list<MenuDef<F>> menus) {
    for (const MenuDef<F>& def : menus) {
        QMenu* menu = bar->addMenu(QString::fromUtf8(def.caption));
        menu->setObjectName(QString::fromLatin1(def.name));
        form.*def.menu = menu;
        for (const MenuItem<F>& entry : def.items) {
            QAction* item = entry.caption == nullptr
                                ? menu->addSeparator()
                                : menu->addAction(QString::fromUtf8(entry.caption));
            item->setObjectName(QString::fromLatin1(entry.name));
            item->setShortcut(entry.shortcut);
            if (entry.handler != nullptr) {
                const auto handler = entry.handler;
                QObject::connect(item, &QAction::triggered, &form,
                                 [&form, handler] { (form.*handler)(); });
            }
            if (entry.action != nullptr)
                form.*entry.action = item;
        }
    }
}

} // namespace velmora
