#pragma once

// The club registry's windows: the club editor, the city registry and the four selection
// dialogs.

#include "layout/Place.h"

namespace velmora::layout {

inline constexpr Font registryData{"Corbel", 15, true};

// A box or list of the pending row, and the "..." button that picks what goes in one.
constexpr Place dataEdit(const char* name, QRect rect, const char* spoken) {
    return {.name = name, .kind = Kind::Edit, .rect = rect, .font = registryData, .spoken = spoken};
}
constexpr Place dataList(const char* name, QRect rect, const char* spoken) {
    return {
        .name = name, .kind = Kind::Combo, .rect = rect, .font = registryData, .spoken = spoken};
}
constexpr Place pickButton(const char* name, QRect rect, const char* spoken) {
    return {.name = name, .kind = Kind::Button, .rect = rect, .text = "...", .spoken = spoken};
}
constexpr Place kindBox(const char* name, Kind kind, QRect rect, const char* text) {
    return {.name = name, .kind = kind, .rect = rect, .font = registryData, .text = text};
}

inline constexpr Place clubesPlaces[] = {
    {.name = "lblCodigo",
     .kind = Kind::Label,
     .rect = {32, 44, 76, 49},
     .font = {"Impact", 32},
     .colour = qRgb(255, 255, 255),
     .align = Qt::AlignCenter,
     .title = "Código"},
    dataEdit("EdtNomeClube", {117, 71, 357, 26}, "Nome do Clube/Seleção"),
    dataList("ComboAno", {501, 70, 65, 26}, "Fundação"),
    dataEdit("EdtIdade", {588, 69, 89, 26}, "Idade"),
    dataEdit("EdtNomeCompletoClube", {38, 141, 523, 26}, "Nome completo do Clube/Seleção"),
    {.name = "BtnLocalizar",
     .kind = Kind::Button,
     .rect = {586, 141, 101, 25},
     .text = "Localizar",
     .hint = "A pesquisa é feita pelo nome completo do Clube/Seleção"},
    picture("ImgLogoClube", {39, 218, 201, 201}, "Escudo"),
    picture("ImgBandeira", {269, 220, 59, 33}, "Bandeira do país"),
    dataEdit("EdtNomePais", {333, 223, 249, 26}, "País"),
    pickButton("BtnSelecionarPais", {584, 225, 23, 23}, "Selecionar País"),
    picture("ImgUF", {613, 220, 59, 33}, "Bandeira do estado"),
    dataEdit("EdtSiglaEstado", {676, 223, 42, 26}, "Estado"),
    pickButton("BtnSelecionaUF", {719, 224, 23, 23}, "Selecionar Estado"),
    dataEdit("EdtNomeCidade", {265, 290, 457, 26}, "Cidade"),
    pickButton("BtnSelecionarCidade", {723, 291, 23, 23}, "Selecionar a Cidade"),
    picture("ImgLogoFederacao", {266, 338, 85, 85}, "Logotipo da federação"),
    dataEdit("EdtFederacao", {367, 358, 121, 26}, "Federação"),
    pickButton("BtnFederacao", {493, 359, 23, 23}, "Selecionar Federação"),
    kindBox("rbSelecao", Kind::Radio, {641, 366, 113, 17}, "Seleção"),
    kindBox("rbClube", Kind::Radio, {641, 398, 113, 17}, "Clube"),
    kindBox("CkbExtinto", Kind::Check, {368, 402, 121, 17}, "Clube Extinto"),
    {.name = "BtnFoto",
     .kind = Kind::Button,
     .rect = {39, 444, 105, 33},
     .text = "Selecionar logo"},
    glyphButton("BtnGravar", {159, 444, 41, 33}, "Gravar", ":/artwork/glyph-gravar.png"),
    glyphButton("BtnCancelar", {199, 444, 41, 33}, "Cancelar", ":/artwork/glyph-cancelar.png"),
    {.name = "Navegador", .kind = Kind::Navigator, .rect = {39, 481, 200, 25}},
    dataEdit("EdtEstadio", {386, 483, 223, 26}, "Estádio"),
    dataEdit("EdtCapacidade", {631, 482, 119, 26}, "Capacidade"),
};
inline constexpr Window clubes{"FrmClubes", {792, 546},       ":/artwork/clubes.jpg",
                               "Image1",    {0, 0, 792, 546}, clubesPlaces};

inline constexpr Place cadCidadePlaces[] = {
    dataEdit("EdtCidade", {32, 46, 353, 26}, "Cidade a ser cadastrada"),
    {.name = "ComboPais", .kind = Kind::Combo, .rect = {112, 133, 305, 22}, .spoken = "País"},
    picture("ImgBandPais", {32, 122, 73, 46}, "Bandeira do país"),
    {.name = "ComboUF",
     .kind = Kind::Combo,
     .rect = {112, 225, 305, 22},
     .spoken = "Estado (apenas para o Brasil)"},
    picture("ImgBandUF", {32, 214, 73, 46}, "Bandeira do estado"),
    glyphButton("BtnGravar", {415, 45, 33, 25}, "Gravar", ":/artwork/glyph-gravar.png"),
    glyphButton("BtnCancelar", {447, 45, 33, 25}, "Cancelar", ":/artwork/glyph-cancelar.png"),
};
inline constexpr Window cadCidade{"FrmCadastroCidade",       {519, 282},
                                  ":/artwork/cadcidade.jpg", "Image1",
                                  {0, 0, 519, 282},          cadCidadePlaces};

// The selection dialogs: the preview of the picked item's picture (the city dialog has
// none), the list and "OK".
inline constexpr Place paisesPlaces[] = {
    picture("ImgBandeiraPais", {14, 19, 94, 62}, "Bandeira do país"),
    dataList("ComboPais", {130, 33, 275, 24}, "País"),
    okButton({330, 63, 75, 25}),
};
inline constexpr Window paises{"FrmPaises", {422, 101},       ":/artwork/paises.jpg",
                               "Image1",    {0, 0, 422, 101}, paisesPlaces};

inline constexpr Place ufPlaces[] = {
    picture("ImgBandeiraUF", {14, 23, 95, 61}, "Bandeira do estado"),
    dataList("ComboUf", {132, 35, 292, 24}, "Estado"),
    okButton({349, 65, 75, 25}),
};
inline constexpr Window uf{"FrmUF",  {441, 107},       ":/artwork/uf.jpg",
                           "Image1", {0, 0, 441, 107}, ufPlaces};

inline constexpr Place cidadePlaces[] = {
    dataList("ComboCidade", {16, 21, 327, 24}, "Cidade"),
    okButton({352, 20, 75, 25}),
};
inline constexpr Window cidade{"FrmCidade", {443, 65}, nullptr, nullptr, {}, cidadePlaces};

inline constexpr Place federacaoPlaces[] = {
    picture("ImgLogoFederacao", {12, 12, 83, 83}, "Logotipo da federação"),
    dataList("ComboFederacao", {118, 35, 210, 24}, "Federação"),
    okButton({253, 65, 75, 25}),
};
inline constexpr Window federacao{"FrmFederacao", {345, 107},       ":/artwork/federacao.jpg",
                                  "Image1",       {0, 0, 345, 107}, federacaoPlaces};

} // namespace velmora::layout
