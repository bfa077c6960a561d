#pragma once

// The club detail's windows: the club chooser and the detail card.

#include "layout/Place.h"

namespace velmora::layout {

inline constexpr Place selClubePlaces[] = {
    {.name = "rbClube",
     .kind = Kind::Radio,
     .rect = {24, 66, 90, 20},
     .font = {"Corbel", 15, true},
     .text = "Clube"},
    {.name = "rbSelecao",
     .kind = Kind::Radio,
     .rect = {124, 66, 100, 20},
     .font = {"Corbel", 15, true},
     .text = "Seleção"},
    {.name = "ImgEscudoClube",
     .kind = Kind::Picture,
     .rect = {329, 44, 92, 92},
     .spoken = "Escudo"},
    {.name = "ComboClubes",
     .kind = Kind::Combo,
     .rect = {24, 112, 281, 24},
     .font = {"Corbel", 13, true},
     .spoken = "Clube ou seleção"},
    {.name = "BtnOk",
     .kind = Kind::Button,
     .rect = {230, 143, 75, 25},
     .text = "OK",
     .glyph = ":/artwork/glyph-ok.png"},
};
inline constexpr Window selClube{"FrmSelClube", {433, 185},       ":/artwork/selclube.jpg",
                                 "Image1",      {0, 0, 433, 185}, selClubePlaces};

// The card: pictures first, then the labels, each sized to its text; the labels of the
// dark band at the top are white.
inline constexpr QRgb cardBand = qRgb(255, 255, 255);
inline constexpr Place cardPlaces[] = {
    {.name = "ImgEscudoClube",
     .kind = Kind::Picture,
     .rect = {40, 27, 201, 201},
     .spoken = "Escudo"},
    {.name = "ImgLogoFeder",
     .kind = Kind::Picture,
     .rect = {86, 280, 107, 107},
     .spoken = "Federação"},
    {.name = "ImgBandeiraPais",
     .kind = Kind::Picture,
     .rect = {87, 443, 105, 68},
     .spoken = "País"},
    {.name = "ImgBandeiraUF",
     .kind = Kind::Picture,
     .rect = {424, 441, 105, 68},
     .spoken = "Estado"},
    {.name = "LblNomeClube",
     .kind = Kind::Label,
     .rect = {276, 80, 0, 0},
     .font = {"Arial", 29, true},
     .colour = cardBand},
    {.name = "LblNomeCompleto",
     .kind = Kind::Label,
     .rect = {276, 120, 0, 0},
     .font = {"Arial", 19, true},
     .colour = cardBand},
    {.name = "LblFundacao",
     .kind = Kind::Label,
     .rect = {276, 147, 0, 0},
     .font = {"Arial", 19, true},
     .colour = cardBand},
    {.name = "LblFederacao",
     .kind = Kind::Label,
     .rect = {212, 319, 0, 0},
     .font = {"Arial", 24, true}},
    {.name = "LblEstadio",
     .kind = Kind::Label,
     .rect = {544, 311, 0, 0},
     .font = {"Arial", 15, true}},
    {.name = "LblCapacidade",
     .kind = Kind::Label,
     .rect = {544, 335, 0, 0},
     .font = {"Arial", 15, true}},
    {.name = "LblPais", .kind = Kind::Label, .rect = {208, 451, 0, 0}, .font = {"Arial", 19, true}},
    {.name = "LblCidade",
     .kind = Kind::Label,
     .rect = {208, 479, 0, 0},
     .font = {"Arial", 15, true}},
    {.name = "LblEstado",
     .kind = Kind::Label,
     .rect = {536, 463, 0, 0},
     .font = {"Arial", 16, true}},
};
inline constexpr Window card{"FrmClubeSelecionado", {792, 546}, ":/artwork/card.jpg", "Image1",
                             {0, 0, 792, 546},      cardPlaces};

} // namespace velmora::layout
