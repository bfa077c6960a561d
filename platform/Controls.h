#pragma once

// The one kit the windows build their controls with, each from its row of the window's
// place table.

#include "layout/Place.h"

#include <QAction>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>

#include <initializer_list>

class QCheckBox;
class QComboBox;
class QPushButton;
class QRadioButton;
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
// A push button with its caption, tool tip and glyph; glyphSize empty: the style's size.
QPushButton* makeButton(QWidget* parent, const layout::Place& place, QSize glyphSize = {});
// A radio button or a check box with its caption.
QRadioButton* makeRadio(QWidget* parent, const layout::Place& place);
QCheckBox* makeCheckBox(QWidget* parent, const layout::Place& place);
// A drop-down list without free typing.
QComboBox* makeChoiceList(QWidget* parent, const layout::Place& place);

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
