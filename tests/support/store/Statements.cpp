#include "tests/support/store/Statements.h"

namespace velmora::test {

const QStringList& listingColumns() {
    static const QStringList lines = {
        "select c.NomeClube,", "c.NomeCompletoClube,", "c.AnoFundacao,", "c.PaisClube,",
        "c.UFClube,",          "c.CidadeClube,",       "c.EscudoClube,", "c.BandeiraPais,",
        "c.BandeiraUF,",       "c.IdadeClube,",        "c.Federacao,",   "c.LogoFederacao,"};
    return lines;
}

QStringList listing(const QStringList& tail) {
    return listingColumns() + tail;
}

const QStringList& featuredStatement() {
    static const QStringList lines =
        listing({"p.codpais,", "c.Estadio,", "c.Capacidade", "from clubes.db as c, paises.db as p",
                 "where c.codigo = :CODALEATORIO", "and c.PaisClube = p.NomePais"});
    return lines;
}

const QStringList& cardStatement() {
    static const QStringList lines =
        listing({"p.codpais,", "c.extinto,", "c.estadio,", "c.capacidade",
                 "from clubes.db as c, paises.db as p", "where c.PaisClube = p.NomePais",
                 "and c.NomeClube = :NOME", "order by c.nomeclube"});
    return lines;
}

QStringList allClubsListing() {
    return listing({"p.codpais", "from clubes.db as c, paises.db as p",
                    "where c.PaisClube = p.NomePais", "and c.Identificador = 0",
                    "order by c.NomeClubeOrdem, c.NomeClube"});
}

} // namespace velmora::test
