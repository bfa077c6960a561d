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
// The featured club's names stop short of the right edge of its panel.
inline constexpr int featuredRoom = 289;
constexpr Place counter(const char* name, QRect rect, const char* title) {
    return {.name = name,
            .kind = Kind::Label,
            .rect = rect,
            .font = counterFont,
            .colour = counterGrey,
            .align = centred,
            .title = title};
}
inline constexpr Place inicialPlaces[] = {
    counter("LblQtdeClubes", {580, 26, 63, 35}, "Total de Clubes"),
    counter("LblQtdeBrasil", {634, 84, 57, 36}, "Brasileiros"),
    counter("LblQtdeOutros", {583, 142, 57, 33}, "Estrangeiros"),
    counter("LblSelecoes", {635, 201, 57, 33}, "Seleções"),
    counter("LblExtintos", {583, 259, 57, 33}, "Extintos"),
    {.name = "LblNomeClube",
     .kind = Kind::Label,
     .rect = {485, 392, 0, 0},
     .font = {"Corbel", 15, true},
     .align = Qt::AlignLeft | Qt::AlignTop,
     .room = featuredRoom},
    {.name = "LblNomeCompleto",
     .kind = Kind::Label,
     .rect = {485, 414, 0, 0},
     .font = {"Corbel", 13, true},
     .align = Qt::AlignLeft | Qt::AlignTop,
     .room = featuredRoom},
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
    picture("ImgEscudo", {352, 390, 113, 113}, "Escudo do clube em destaque"),
    picture("ImgLogoFeder", {485, 436, 53, 53}, "Federação"),
    picture("ImgBandPais", {556, 442, 69, 40}, "Bandeira do país"),
};
inline constexpr Window inicial{"FrmInicial", {792, 535},         ":/artwork/main.jpg",
                                "ImgFundo",   {-1, -1, 794, 548}, inicialPlaces};

// A picture page: its words are on the picture.
inline constexpr Window informacoes{
    "FrmInformacoes", {792, 546}, ":/artwork/info.jpg", "Image", {-2, -2, 796, 550}, {}, false};

} // namespace velmora::layout
