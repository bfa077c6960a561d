#pragma once

// The application shell's windows: the splash, the main window and the information page.

#include "layout/Place.h"

namespace velmora::layout {

inline constexpr Window splash{"FrmSplash", {494, 296},       ":/artwork/splash.jpg",
                               "ImgSplash", {0, 0, 494, 296}, {}};

// The main window: five counters down the right edge and the featured club below them.
inline constexpr Font counterFont{"Impact", 24};
inline constexpr QRgb counterGrey = qRgb(0x80, 0x80, 0x80);
inline constexpr Qt::Alignment centred = Qt::AlignHCenter | Qt::AlignTop;
inline constexpr Place inicialPlaces[] = {
    {.name = "LblQtdeClubes",
     .kind = Kind::Label,
     .rect = {580, 26, 63, 35},
     .font = counterFont,
     .colour = counterGrey,
     .align = centred},
    {.name = "LblQtdeBrasil",
     .kind = Kind::Label,
     .rect = {634, 84, 57, 36},
     .font = counterFont,
     .colour = counterGrey,
     .align = centred},
    {.name = "LblQtdeOutros",
     .kind = Kind::Label,
     .rect = {583, 142, 57, 33},
     .font = counterFont,
     .colour = counterGrey,
     .align = centred},
    {.name = "LblSelecoes",
     .kind = Kind::Label,
     .rect = {635, 201, 57, 33},
     .font = counterFont,
     .colour = counterGrey,
     .align = centred},
    {.name = "LblExtintos",
     .kind = Kind::Label,
     .rect = {583, 259, 57, 33},
     .font = counterFont,
     .colour = counterGrey,
     .align = centred},
    {.name = "LblNomeClube",
     .kind = Kind::Label,
     .rect = {485, 392, 0, 0},
     .font = {"Corbel", 15, true},
     .align = Qt::AlignLeft | Qt::AlignTop},
    {.name = "LblNomeCompleto",
     .kind = Kind::Label,
     .rect = {485, 414, 0, 0},
     .font = {"Corbel", 13, true},
     .align = Qt::AlignLeft | Qt::AlignTop},
    {.name = "LblFederacao",
     .kind = Kind::Label,
     .rect = {470, 492, 82, 15},
     .font = {"Corbel", 13},
     .align = centred},
    {.name = "LblPais",
     .kind = Kind::Label,
     .rect = {564, 493, 57, 15},
     .font = {"Corbel", 13},
     .align = centred},
    {.name = "ImgEscudo",
     .kind = Kind::Picture,
     .rect = {352, 390, 113, 113},
     .spoken = "Escudo do clube em destaque"},
    {.name = "ImgLogoFeder",
     .kind = Kind::Picture,
     .rect = {485, 436, 53, 53},
     .spoken = "Federação"},
    {.name = "ImgBandPais",
     .kind = Kind::Picture,
     .rect = {556, 442, 69, 40},
     .spoken = "Bandeira do país"},
};
inline constexpr Window inicial{"FrmInicial", {792, 535},         ":/artwork/main.jpg",
                                "ImgFundo",   {-1, -1, 794, 548}, inicialPlaces};

// A picture page: its words are on the picture.
inline constexpr Window informacoes{
    "FrmInformacoes", {792, 546}, ":/artwork/info.jpg", "Image", {-2, -2, 796, 550}, {}, false};

} // namespace velmora::layout
