#pragma once

// The galleries' windows: the gallery page and the year and federation choosers.

#include "layout/Place.h"

#include <QByteArray>
#include <QPoint>

#include <array>

namespace velmora::layout {

// The gallery page. Its title line and next-page buttons; the twelve slots follow.
inline constexpr Place relatoriosPlaces[] = {
    {.name = "LblTitulo",
     .kind = Kind::Label,
     .rect = {94, 16, 0, 0},
     .font = {"Arial", 19, true},
     .room = 634}, // up to the ">>" button
    {.name = "ImgBandTitulo",
     .kind = Kind::Picture,
     .rect = {22, 10, 57, 33},
     .spoken = "Bandeira"},
    {.name = "ImgFeder", .kind = Kind::Picture, .rect = {25, 2, 49, 49}, .spoken = "Federação"},
    // Every gallery has its own ">>" button; they all stand here, one shown at a time.
    {.name = "BtnProxima",
     .kind = Kind::Button,
     .rect = {736, 16, 22, 20},
     .text = ">>",
     .hint = "Próxima Página",
     .spoken = "Próxima Página"},
};
inline constexpr Window relatorios{"FrmRelatorios", {792, 546},         ":/artwork/relatorios.jpg",
                                   "Image5",        {-1, -1, 794, 549}, relatoriosPlaces};
inline constexpr Font relatoriosFont{"MS Sans Serif", 11};

inline constexpr int slotCount = 12;

// The six controls of a slot. Each is placed from the slot's badge or flag corner; the
// control of slot n is named by its stem followed by n.
struct SlotPart {
    const char* stem;
    Kind kind;
    bool fromFlag; // placed from the flag's corner, else from the badge's
    QRect rect;    // offset from that corner and size; empty: sized to its text
    Font font = {};
    Qt::Alignment align = {};
    const char* spoken = nullptr; // followed by the slot's number
};

inline constexpr std::array<SlotPart, 6> slotParts{{
    {"ImgClube", Kind::Picture, false, {0, 0, 57, 57}, {}, {}, "Escudo"},
    {"ImgBandClube", Kind::Picture, true, {0, 0, 49, 33}, {}, {}, "Bandeira"},
    {"LblSiglaPaisClube",
     Kind::Label,
     true,
     {0, 35, 49, 14},
     {"Arial", 11, true},
     Qt::AlignHCenter | Qt::AlignTop},
    {"LblNomeClube", Kind::Label, true, {63, 0, 0, 0}, {"Arial", 12, true}},
    {"LblNomeCompleto", Kind::Label, true, {63, 17, 0, 0}, {"Arial", 11}},
    {"LblCidade", Kind::Label, true, {63, 33, 0, 0}, {"Arial", 11}},
}};

// Top left of each slot's badge and flag, slots 1 to 12.
struct SlotCorners {
    QPoint badge;
    QPoint flag;
};
inline constexpr std::array<SlotCorners, slotCount> slotCorners{{
    {{21, 67}, {118, 71}},
    {{21, 145}, {118, 150}},
    {{22, 225}, {118, 230}},
    {{21, 304}, {118, 309}},
    {{21, 383}, {118, 388}},
    {{21, 463}, {118, 468}},
    {{419, 66}, {516, 70}},
    {{419, 144}, {516, 149}},
    {{420, 224}, {516, 229}},
    {{419, 303}, {516, 308}},
    {{419, 382}, {516, 387}},
    {{419, 462}, {516, 467}},
}};

// The right edge of slot n's card: the left column's, then the right column's.
constexpr int slotRight(int n) {
    return n <= slotCount / 2 ? 402 : 782;
}

// Where a part of slot n (1 to 12) sits.
constexpr QRect slotRect(int n, const SlotPart& part) {
    const SlotCorners& c = slotCorners[n - 1];
    return part.rect.translated(part.fromFlag ? c.flag : c.badge);
}

// The row of a part of slot n; name and spoken receive its texts ("ImgClube3", "Escudo 3"),
// which the row points into.
inline Place slotPlace(int n, const SlotPart& part, QByteArray& name, QByteArray& spoken) {
    name = part.stem + QByteArray::number(n);
    spoken = part.spoken == nullptr ? QByteArray() : part.spoken + (' ' + QByteArray::number(n));
    const QRect rect = slotRect(n, part);
    constexpr int inset = 6; // texts keep clear of the card's border
    return {.name = name.constData(),
            .kind = part.kind,
            .rect = rect,
            .font = part.font,
            .spoken = spoken.constData(),
            .align = part.align,
            .room = rect.isEmpty() ? slotRight(n) - inset - rect.left() : 0};
}

inline constexpr Place anoPlaces[] = {
    {.name = "Label1",
     .kind = Kind::Label,
     .rect = {10, 18, 0, 0},
     .font = {"Corbel", 15, true},
     .text = "Selecione o ano:"},
    {.name = "ComboAnos",
     .kind = Kind::Combo,
     .rect = {124, 15, 81, 26},
     .font = {"Corbel", 15, true},
     .spoken = "Selecione o ano"},
    okButton({211, 14, 54, 28}),
};
inline constexpr Window ano{"FrmAno", {272, 56}, nullptr, nullptr, {}, anoPlaces};

inline constexpr Place selFederPlaces[] = {
    picture("ImgLogoFeder", {14, 42, 93, 93}, "Logotipo da federação"),
    {.name = "ComboFeder",
     .kind = Kind::Combo,
     .rect = {132, 64, 140, 24},
     .font = {"Corbel", 13, true},
     .spoken = "Federação"},
    okButton({197, 102, 75, 25}),
};
inline constexpr Window selFeder{"FrmSelFeder", {300, 145},       ":/artwork/selfeder.jpg",
                                 "Image1",      {0, 0, 300, 145}, selFederPlaces};

} // namespace velmora::layout
