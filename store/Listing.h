#pragma once

#include <QStringList>

namespace velmora::listing {

// Positions of the thirteen columns every club listing starts with: the club row
// joined with its country in Paises.DB. A statement's own columns follow from Extra.
enum Column : int {
    NomeClube,
    NomeCompletoClube,
    AnoFundacao,
    PaisClube,
    UFClube,
    CidadeClube,
    EscudoClube,
    BandeiraPais,
    BandeiraUF,
    IdadeClube,
    Federacao,
    LogoFederacao,
    CodPais,
    Extra,
};

// The select lines of a listing: the thirteen columns, then extra (one line each),
// then rest ("from clubes.db as c, paises.db as p" and what follows).
QStringList statement(const QStringList& extra, const QStringList& rest);

} // namespace velmora::listing
