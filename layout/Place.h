#pragma once

// Where each control of a window sits, written once: the window builds its controls from
// it, the artwork generator draws the window's picture around it and the tests check the
// window against it.

#include <QPoint>
#include <QRect>
#include <QRgb>
#include <QSize>

#include <span>
#include <stdexcept>
#include <string_view>

namespace velmora::layout {

struct Font {
    const char* family = nullptr; // nullptr: the window's own font
    int pixelSize = 0;
    bool bold = false;
};

enum class Kind { Label, Picture, Edit, Combo, Button, Radio, Check, Navigator };

// One control in the client area of its window.
struct Place {
    const char* name; // object name
    Kind kind;
    QRect rect; // a label of empty size is sized to its text, at the rect's top left
    Font font = {};
    const char* text = "";       // caption of a button, radio or check box, or fixed label
    const char* hint = "";       // tool tip
    const char* spoken = "";     // what a screen reader calls it, when not its caption
    const char* glyph = nullptr; // built-in picture on a button
    QRgb colour = 0;             // text colour; 0: the style's own
    Qt::Alignment align = {};    // {}: the control's own
    const char* title = "";      // painted beside a value label; spoken before its value
    int room = 0;                // a label sized to its text grows at most this wide

    constexpr bool sizedToText() const { return rect.isEmpty(); }
};

// Rows of the common kinds.
constexpr Place picture(const char* name, QRect rect, const char* spoken) {
    return {.name = name, .kind = Kind::Picture, .rect = rect, .spoken = spoken};
}
constexpr Place textLabel(const char* name, QPoint at, Font font, QRgb colour = 0) {
    return {.name = name,
            .kind = Kind::Label,
            .rect = {at, QSize(0, 0)},
            .font = font,
            .colour = colour};
}
constexpr Place glyphButton(const char* name, QRect rect, const char* hint, const char* glyph) {
    return {.name = name, .kind = Kind::Button, .rect = rect, .hint = hint, .glyph = glyph};
}
constexpr Place okButton(QRect rect) {
    return {.name = "BtnOk",
            .kind = Kind::Button,
            .rect = rect,
            .text = "OK",
            .glyph = ":/artwork/glyph-ok.png"};
}

// A window: its client area, the built-in picture under its controls and the controls.
struct Window {
    const char* name;
    QSize client;
    const char* background;     // built-in picture, nullptr for none
    const char* backgroundName; // the picture box's object name
    QRect backgroundRect;       // where the picture lies; it may overhang the client area
    std::span<const Place> places;
    bool stretched = true; // false: the picture at its own size, never cut
};

// The place of the named control. Used in constant expressions, a name missing from the
// table stops the build.
constexpr const Place& at(std::span<const Place> places, std::string_view name) {
    for (const Place& p : places)
        if (name == p.name)
            return p;
    throw std::out_of_range("no control of that name in the window's table");
}

constexpr const Place& at(const Window& window, std::string_view name) {
    return at(window.places, name);
}

} // namespace velmora::layout
