#include "stats/Views.h"

#include "stats/Maps.h"
#include "store/Statistics.h"

#include <QLocale>
#include <algorithm>

namespace velmora {

namespace {

using Stats = CatalogueStatistics;
using G = StatsGallery;

const QString clubUnit = QStringLiteral("clube|clubes");
const QString rowUnit = QStringLiteral("clube ou seleção|clubes e seleções");

// How many bars a ranking shows; the rest is summed in one last bar.
constexpr int topBars = 12;

QString number(qint64 n) {
    return QLocale(QLocale::Portuguese, QLocale::Brazil).toString(n);
}

QString ofTotal(const QString& what, qint64 total, const QString& unit) {
    return QStringLiteral("%1 (total: %2)").arg(what, counted(total, unit));
}

// What England, Scotland, Wales and Northern Ireland are drawn as is said in their tool tip.
QString partNote(const QString& owner) {
    if (owner == QLatin1String("GBR"))
        return QStringLiteral("No mapa, faz parte do Reino Unido, desenhado como um só país.");
    return owner.isEmpty() ? QString() : QStringLiteral("No mapa, faz parte de %1.").arg(owner);
}

StatsView worldView(const Stats& s) {
    StatsView v{QStringLiteral("Mapa-múndi"),
                QStringLiteral("VisaoMundo"),
                ofTotal(QStringLiteral("Clubes e seleções por país"), s.total(), rowUnit),
                StatsChart::WorldMap,
                {QStringLiteral("País"), QStringLiteral("Clubes"), QStringLiteral("Seleções")},
                rowUnit,
                {}};
    v.credit = QStringLiteral("Mapa: Natural Earth");
    QStringList known;
    for (const Stats::Country& c : s.countries) {
        const Stats::Kinds k = s.byCountry.value(c.name);
        v.items.append({c.code,
                        c.name,
                        k.total(),
                        {k.clubs, k.teams},
                        c.flag,
                        partNote(MapShapes::world().ownerOf(c.code)),
                        {{G::Country, c.name, c.name}}});
        known << c.name;
    }
    // Rows whose country is not in Paises.DB are counted, though nowhere on the map.
    for (auto it = s.byCountry.cbegin(); it != s.byCountry.cend(); ++it) {
        if (!known.contains(it.key()))
            v.items.append({QString(),
                            it.key().isEmpty() ? QStringLiteral("(sem país)") : it.key(),
                            it->total(),
                            {it->clubs, it->teams},
                            QString(),
                            QStringLiteral("País que não está na tabela de países."),
                            {}});
    }
    return v;
}

StatsView brazilView(const Stats& s) {
    qint64 brazilian = 0;
    for (qint64 n : s.clubsByState)
        brazilian += n;
    StatsView v{QStringLiteral("Mapa do Brasil"),
                QStringLiteral("VisaoBrasil"),
                ofTotal(QStringLiteral("Clubes brasileiros por estado"), brazilian, clubUnit),
                StatsChart::BrazilMap,
                {QStringLiteral("Estado"), QStringLiteral("Clubes")},
                clubUnit,
                {}};
    v.credit = QStringLiteral("Mapa: MapSVG (CC BY 4.0)");
    for (const Stats::State& st : s.states) {
        const qint64 n = s.clubsByState.value(st.uf);
        v.items.append({st.uf, st.name, n, {n}, st.flag, {}, {{G::State, st.uf, st.name}}});
    }
    return v;
}

// The largest first (ties by name), the ones past `top` summed as `others`.
QList<StatsItem> ranked(QList<StatsItem> items, const QString& others) {
    std::stable_sort(items.begin(), items.end(),
                     [](const StatsItem& a, const StatsItem& b) { return a.count > b.count; });
    if (items.size() <= topBars + 1)
        return items;
    StatsItem rest{others, others, 0, {0}, {}, {}, {}};
    for (qsizetype i = topBars; i < items.size(); ++i)
        rest.count += items[i].count;
    rest.values = {rest.count};
    rest.note = QStringLiteral("Soma de %1 itens fora dos %2 maiores.")
                    .arg(items.size() - topBars)
                    .arg(topBars);
    items.resize(topBars);
    items.append(rest);
    return items;
}

StatsView countryChart(const Stats& s) {
    QHash<QString, QString> flags;
    for (const Stats::Country& c : s.countries)
        flags.insert(c.name, c.flag);
    QList<StatsItem> items;
    for (auto it = s.byCountry.cbegin(); it != s.byCountry.cend(); ++it) {
        if (it->clubs > 0)
            items.append({it.key(),
                          it.key(),
                          it->clubs,
                          {it->clubs},
                          flags.value(it.key()),
                          {},
                          {{G::Country, it.key(), it.key()}}});
    }
    return {QStringLiteral("Por país"),
            QStringLiteral("VisaoPaises"),
            ofTotal(QStringLiteral("Clubes por país"), s.kinds.clubs, clubUnit),
            StatsChart::Bars,
            {QStringLiteral("País"), QStringLiteral("Clubes")},
            clubUnit,
            ranked(items, QStringLiteral("Outros"))};
}

StatsView decadeChart(const Stats& s, int year) {
    const int first = std::min(1850, s.clubsByYear.isEmpty() ? 1850 : s.clubsByYear.firstKey());
    const int last = std::max(year, s.clubsByYear.isEmpty() ? year : s.clubsByYear.lastKey());
    QList<StatsItem> items;
    for (int decade = first - first % 10; decade <= last; decade += 10) {
        StatsItem item;
        item.label = item.key = QStringLiteral("%1–%2").arg(decade).arg(decade + 9);
        for (auto it = s.clubsByYear.lowerBound(decade);
             it != s.clubsByYear.cend() && it.key() < decade + 10; ++it) {
            item.count += *it;
            item.targets.append(
                {G::Year, QString::number(it.key()),
                 QStringLiteral("%1 (%2)").arg(it.key()).arg(counted(*it, clubUnit))});
        }
        item.values = {item.count};
        items.append(item);
    }
    qint64 dated = 0;
    for (qint64 n : s.clubsByYear)
        dated += n;
    return {QStringLiteral("Por década"),
            QStringLiteral("VisaoDecadas"),
            ofTotal(QStringLiteral("Clubes por década de fundação"), dated, clubUnit),
            StatsChart::Bars,
            {QStringLiteral("Década"), QStringLiteral("Clubes")},
            clubUnit,
            items};
}

StatsView federationChart(const Stats& s) {
    QList<StatsItem> items;
    qint64 total = 0;
    for (auto it = s.clubsByFederation.cbegin(); it != s.clubsByFederation.cend(); ++it) {
        items.append(
            {it.key(), it.key(), *it, {*it}, {}, {}, {{G::Federation, it.key(), it.key()}}});
        total += *it;
    }
    return {QStringLiteral("Por federação"),
            QStringLiteral("VisaoFederacoes"),
            ofTotal(QStringLiteral("Clubes por federação"), total, clubUnit),
            StatsChart::Bars,
            {QStringLiteral("Federação"), QStringLiteral("Clubes")},
            clubUnit,
            ranked(items, QStringLiteral("Outras"))};
}

StatsItem plain(const QString& label, qint64 n, StatsGallery gallery) {
    StatsItem item{label, label, n, {n}, {}, {}, {}};
    if (gallery != G::None)
        item.targets.append({gallery, {}, label});
    return item;
}

StatsView kindChart(const Stats& s) {
    return {QStringLiteral("Clubes e seleções"),
            QStringLiteral("VisaoTipos"),
            ofTotal(QStringLiteral("Clubes e seleções"), s.total(), rowUnit),
            StatsChart::Pie,
            {QStringLiteral("Tipo"), QStringLiteral("Quantidade")},
            rowUnit,
            {plain(QStringLiteral("Clubes"), s.kinds.clubs, G::AllClubs),
             plain(QStringLiteral("Seleções"), s.kinds.teams, G::AllTeams)}};
}

StatsView statusChart(const Stats& s) {
    return {QStringLiteral("Ativos e extintos"),
            QStringLiteral("VisaoSituacao"),
            ofTotal(QStringLiteral("Clubes e seleções ativos e extintos"), s.total(), rowUnit),
            StatsChart::Pie,
            {QStringLiteral("Situação"), QStringLiteral("Quantidade")},
            rowUnit,
            {plain(QStringLiteral("Ativos"), s.active(), G::None),
             plain(QStringLiteral("Extintos"), s.extinct, G::Extinct)}};
}

} // namespace

QList<StatsView> buildViews(const CatalogueStatistics& stats, int year) {
    return {worldView(stats),         brazilView(stats),      countryChart(stats),
            decadeChart(stats, year), federationChart(stats), kindChart(stats),
            statusChart(stats)};
}

QString counted(qint64 n, const QString& unit) {
    const QStringList forms = unit.split(QLatin1Char('|'));
    return number(n) + QLatin1Char(' ') + (n == 1 ? forms.first() : forms.last());
}

QString describe(const StatsView& view, const StatsItem& item) {
    QString text = item.label + QStringLiteral(": ");
    if (view.chart == StatsChart::WorldMap && item.values.size() == 2)
        text += counted(item.values[0], clubUnit) + QStringLiteral(", ") +
                counted(item.values[1], QStringLiteral("seleção|seleções"));
    else
        text += counted(item.count, view.unit);
    if (!item.note.isEmpty())
        text += QStringLiteral(". ") + item.note;
    return text;
}

} // namespace velmora
