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
    picture("ImgEscudoClube", {329, 44, 92, 92}, "Escudo"),
    {.name = "ComboClubes",
     .kind = Kind::Combo,
     .rect = {24, 112, 281, 24},
     .font = {"Corbel", 13, true},
     .spoken = "Clube ou seleção"},
    okButton({230, 143, 75, 25}),
};
inline constexpr Window selClube{"FrmSelClube", {433, 185},       ":/artwork/selclube.jpg",
                                 "Image1",      {0, 0, 433, 185}, selClubePlaces};

// The card: pictures first, then the labels, each sized to its text, in Arial bold; the
// labels of the dark band at the top are white.
// Each label's room ends inside the panel it lies on.
constexpr Place cardLabel(const char* name, QPoint at, int pixelSize, int room, QRgb colour = 0) {
    Place place = textLabel(name, at, {"Arial", pixelSize, true}, colour);
    place.room = room;
    return place;
}
inline constexpr QRgb cardBand = qRgb(255, 255, 255);
inline constexpr int cardBandBottom = 252; // the dark band's lower edge
inline constexpr Place cardPlaces[] = {
    picture("ImgEscudoClube", {40, 27, 201, 201}, "Escudo"),
    picture("ImgLogoFeder", {86, 280, 107, 107}, "Federação"),
    picture("ImgBandeiraPais", {87, 443, 105, 68}, "País"),
    picture("ImgBandeiraUF", {424, 441, 105, 68}, "Estado"),
    cardLabel("LblNomeClube", {276, 80}, 29, 500, cardBand),
    cardLabel("LblNomeCompleto", {276, 120}, 19, 500, cardBand),
    cardLabel("LblFundacao", {276, 147}, 19, 500, cardBand),
    cardLabel("LblFederacao", {212, 319}, 24, 294),
    cardLabel("LblEstadio", {544, 311}, 15, 206),
    cardLabel("LblCapacidade", {544, 335}, 15, 206),
    cardLabel("LblPais", {208, 451}, 19, 186),
    cardLabel("LblCidade", {208, 479}, 15, 186),
    cardLabel("LblEstado", {536, 463}, 16, 214),
};
inline constexpr Window card{"FrmClubeSelecionado", {792, 546}, ":/artwork/card.jpg", "Image1",
                             {0, 0, 792, 546},      cardPlaces};

} // namespace velmora::layout
