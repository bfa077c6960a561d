#include "store/Listing.h"

namespace velmora::listing {

QStringList statement(const QStringList& extra, const QStringList& rest) {
    static const QStringList columns = {
        QStringLiteral("select c.NomeClube,"), QStringLiteral("c.NomeCompletoClube,"),
        QStringLiteral("c.AnoFundacao,"),      QStringLiteral("c.PaisClube,"),
        QStringLiteral("c.UFClube,"),          QStringLiteral("c.CidadeClube,"),
        QStringLiteral("c.EscudoClube,"),      QStringLiteral("c.BandeiraPais,"),
        QStringLiteral("c.BandeiraUF,"),       QStringLiteral("c.IdadeClube,"),
        QStringLiteral("c.Federacao,"),        QStringLiteral("c.LogoFederacao,"),
        QStringLiteral("p.codpais"),
    };
    QStringList lines = columns;
    for (const QString& column : extra) {
        lines.last() += QLatin1Char(',');
        lines << column;
    }
    return lines + rest;
}

} // namespace velmora::listing
