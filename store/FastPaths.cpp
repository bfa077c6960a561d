#include "store/FastPaths.h"

#include "store/Counts.h"
#include "store/Database.h"
#include "store/Schema.h"
#include "store/Search.h"
#include "store/StoreError.h"

#include <QRegularExpression>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>

namespace velmora {

namespace {

qsizetype skipLiteral(const QString& sql, qsizetype i) {
    for (++i; i < sql.size(); ++i) {
        if (sql[i] == QLatin1Char('\'')) {
            if (i + 1 < sql.size() && sql[i + 1] == QLatin1Char('\''))
                ++i;
            else
                return i + 1;
        }
    }
    return i;
}

QStringList literals(const QString& sql) {
    QStringList found;
    for (qsizetype i = 0; i < sql.size();) {
        if (sql[i] == QLatin1Char('\'')) {
            const qsizetype end = skipLiteral(sql, i);
            found << sql.mid(i, end - i);
            i = end;
        } else {
            ++i;
        }
    }
    return found;
}

// The statement on one line, when that changes no text constant.
std::optional<QString> oneLine(const QString& sql) {
    QString line = sql.simplified();
    if (literals(line) != literals(sql))
        return std::nullopt;
    return line;
}

bool isWordChar(QChar c) {
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

// The column names a condition reads (functions and keywords left out), or nothing
// for a condition that reads anything else (a subquery, a qualified name).
std::optional<QStringList> conditionColumns(const QString& condition) {
    static const QSet<QString> keywords = {"and",     "or",     "not",     "in",   "like",
                                           "is",      "null",   "between", "glob", "escape",
                                           "collate", "nocase", "binary"};
    QStringList columns;
    for (qsizetype i = 0; i < condition.size();) {
        const QChar c = condition[i];
        if (c == QLatin1Char('\'')) {
            i = skipLiteral(condition, i);
        } else if (c.isDigit()) {
            while (i < condition.size() && (isWordChar(condition[i]) || condition[i] == u'.'))
                ++i;
        } else if (c.isLetter() || c == QLatin1Char('_')) {
            const qsizetype start = i;
            while (i < condition.size() && isWordChar(condition[i]))
                ++i;
            const QString word = condition.mid(start, i - start);
            qsizetype after = i;
            while (after < condition.size() && condition[after] == u' ')
                ++after;
            if (after < condition.size() && condition[after] == u'.')
                return std::nullopt;
            const bool function = after < condition.size() && condition[after] == u'(';
            if (!function && !keywords.contains(word.toLower()))
                columns << word;
        } else if (c == u'"' || c == u'`' || c == u'[') {
            return std::nullopt; // quoted names: not ours
        } else {
            ++i;
        }
    }
    return columns;
}

// "select count(*) as qtde from Clubes where <condition on grouped columns>":
// the sum of the matching groups of a count table.
std::optional<FastPaths::Plan> countPlan(const QString& sql, const QVariantList& values) {
    static const QRegularExpression count(
        QStringLiteral("^select count\\(\\*\\)( as \\w+)? from Clubes(?: where (.+))?$"),
        QRegularExpression::CaseInsensitiveOption);
    const auto m = count.match(sql);
    if (!m.hasMatch())
        return std::nullopt;
    const QString condition = m.captured(2);
    const std::optional<QStringList> columns = conditionColumns(condition);
    if (!columns)
        return std::nullopt;
    const CountTable* table = Counts::covering(*columns);
    if (!table)
        return std::nullopt;
    QString fast =
        QStringLiteral("select coalesce(sum(Qtde), 0)%1 from %2").arg(m.captured(1), table->name);
    if (!condition.isEmpty())
        fast += QStringLiteral(" where ") + condition;
    return FastPaths::Plan{fast, values};
}

// Index of the parameter at `position`: the marks before it, outside text constants.
int parameterIndex(const QString& sql, qsizetype position) {
    int index = 0;
    for (qsizetype i = 0; i < position;) {
        if (sql[i] == QLatin1Char('\'')) {
            i = skipLiteral(sql, i);
            continue;
        }
        if (sql[i] == QLatin1Char('?'))
            ++index;
        ++i;
    }
    return index;
}

QSqlQuery select(Database& db, const QString& sql, const QVariantList& values) {
    return runStatement(db.handle(), sql, values);
}

// A listing filtered by a pattern on the country: the pattern is matched against the
// countries of the count table first, and the listing takes the matching countries
// by name. One country reads its clubs in name order from its own index; a few clubs
// are read through that index and sorted; many are found walking the name order.
std::optional<FastPaths::Plan> countryPlan(Database& db, const QString& sql,
                                           const QVariantList& values) {
    // Accents folded or only letter case: the countries are matched the same way.
    QString function = QStringLiteral("fold");
    QString condition = QStringLiteral("fold(c.PaisClube) like fold(?)");
    if (!sql.contains(condition, Qt::CaseInsensitive)) {
        function = QStringLiteral("upper");
        condition = QStringLiteral("upper(c.PaisClube) like upper(?)");
    }
    const qsizetype at = sql.indexOf(condition, 0, Qt::CaseInsensitive);
    if (at < 0 || sql.indexOf(condition, at + 1, Qt::CaseInsensitive) >= 0 ||
        !sql.startsWith(QLatin1String("select "), Qt::CaseInsensitive) ||
        !sql.contains(QLatin1String(" from Clubes as c"), Qt::CaseInsensitive))
        return std::nullopt;
    const int index = parameterIndex(sql, at);
    if (index >= values.size())
        return std::nullopt;

    QSqlQuery countries = select(db,
                                 QStringLiteral("select PaisClube, sum(Qtde) from %1 where "
                                                "%2(PaisClube) like %2(?) group by PaisClube")
                                     .arg(Counts::tables().first().name, function),
                                 {values[index]});
    QVariantList names;
    qint64 clubs = 0;
    while (countries.next()) {
        names << countries.value(0);
        clubs += countries.value(1).toLongLong();
    }
    QString replacement;
    if (names.isEmpty())
        replacement = QStringLiteral("0");
    else if (names.size() == 1)
        replacement = QStringLiteral("c.PaisClube = ?");
    else
        replacement = QStringLiteral("%1c.PaisClube in (%2)")
                          .arg(clubs > db.sortLimit() ? QStringLiteral("+") : QString(),
                               QStringList(names.size(), QStringLiteral("?")).join(u", "));
    QVariantList fastValues = values.mid(0, index) + names + values.mid(index + 1);
    QString fast = sql;
    fast.replace(at, condition.size(), replacement);
    // Left alone, the engine walks the name order even for a handful of clubs.
    if (names.size() > 1 && clubs <= db.sortLimit())
        fast.replace(QLatin1String(" from Clubes as c"),
                     QStringLiteral(" from Clubes as c indexed by %1").arg(Schema::countryIndex()),
                     Qt::CaseInsensitive);
    return FastPaths::Plan{fast, fastValues};
}

// The folded text between the two "%" a search pattern is built with, or nothing when
// the pattern holds wildcards of its own (they are matched as LIKE matches them).
std::optional<QString> fragmentOf(Database& db, const QVariant& pattern) {
    QSqlQuery query = select(db, QStringLiteral("select fold(?)"), {pattern});
    if (!query.next())
        return std::nullopt;
    const QString folded = query.value(0).toString();
    if (folded.size() < 2 || !folded.startsWith(u'%') || !folded.endsWith(u'%'))
        return std::nullopt;
    const QString inner = folded.mid(1, folded.size() - 2);
    if (inner.contains(u'%') || inner.contains(u'_'))
        return std::nullopt;
    return inner;
}

int lengthOf(const QString& fragment) {
    return int(fragment.toUcs4().size());
}

// Rows the trigram index offers for a fragment, counted up to limit + 1.
qint64 candidates(Database& db, const SearchIndex& index, const QString& query, int limit) {
    QSqlQuery count =
        select(db,
               QStringLiteral("select count(*) from (select rowid from %1 where %1 match ? "
                              "limit ?)")
                   .arg(index.name),
               {query, limit + 1});
    return count.next() ? count.value(0).toLongLong() : 0;
}

// Whether some club's folded short name holds the letter or letter pair.
bool pieceOccurs(Database& db, const QString& piece) {
    return select(db,
                  QStringLiteral("select 1 from %1 where Trecho = ?").arg(Search::piecesTable()),
                  {piece})
        .next();
}

// A text that orders before or equal to every folded name the name-ordered index
// offers for the query: the first match there, in rowid order, is in the first
// prefix of the name order that holds one. Nothing when the index leaves clubs out
// (their names are not in it) or offers no club.
std::optional<QString> lowerBound(Database& db, const SearchIndex& index, const QString& query) {
    QSqlQuery leftOut =
        select(db, QStringLiteral("select exists (%1)").arg(Search::clubsLeftOut()), {});
    if (!leftOut.next() || leftOut.value(0).toBool())
        return std::nullopt;
    QSqlQuery first =
        select(db,
               QStringLiteral("select rowid from %1 where %1 match ? order by rowid limit 1")
                   .arg(index.name),
               {query});
    if (!first.next())
        return std::nullopt;
    return Search::orderBound(first.value(0).toLongLong());
}

// A listing filtered by a name fragment ("Pesquisar"), in name order. A fragment few
// clubs hold is found through the trigram index and its rows sorted. One many clubs
// hold is found walking the name order and testing the order key the index carries,
// from where the trigram index says the matches begin, so no row is read that does
// not match and no stretch of names is read that holds none. A letter or pair no club
// has is answered at once; another one walks the whole name order. The statement's
// own condition stays, so the rows are exactly its rows.
std::optional<FastPaths::Plan> namePlan(Database& db, const QString& sql,
                                        const QVariantList& values) {
    static const QString condition = QStringLiteral("fold(c.NomeClube) like fold(?)");
    const qsizetype at = sql.indexOf(condition, 0, Qt::CaseInsensitive);
    if (at < 0 || sql.indexOf(condition, at + 1, Qt::CaseInsensitive) >= 0 ||
        !sql.contains(QLatin1String(" from Clubes as c"), Qt::CaseInsensitive) ||
        !sql.contains(QLatin1String("order by c.NomeClubeOrdem"), Qt::CaseInsensitive))
        return std::nullopt;
    const int index = parameterIndex(sql, at);
    if (index >= values.size())
        return std::nullopt;
    const std::optional<QString> fragment = fragmentOf(db, values[index]);
    if (!fragment)
        return std::nullopt;
    const SearchIndex* search = Search::forColumn(QStringLiteral("NomeClube"));
    const int length = lengthOf(*fragment);
    const QString walk = QStringLiteral("instr(c.NomeClubeOrdem, ?) > 0 and ");
    QString extra = walk;
    QVariantList added{*fragment};
    if (length >= 1 && length <= Search::pieceLength && !pieceOccurs(db, *fragment)) {
        extra = QStringLiteral("0 and ");
        added.clear();
    } else if (length >= Search::minimumLength) {
        const QString query = Search::trigramQuery(*fragment);
        if (candidates(db, *search, query, db.sortLimit()) <= db.sortLimit()) {
            extra = QStringLiteral("c.Codigo in (%1) and ").arg(Search::candidateCodes(*search));
            added = {query};
        } else if (const std::optional<QString> bound = lowerBound(db, *search, query)) {
            extra = QStringLiteral("c.NomeClubeOrdem >= ? and ") + walk;
            added = {*bound, *fragment};
        }
    }
    QVariantList fastValues = values.mid(0, index) + added + values.mid(index);
    QString fast = sql;
    fast.insert(at, extra);
    return FastPaths::Plan{fast, fastValues};
}

// "Localizar": the clubs whose full name holds the fragment, in table order, through
// the trigram index (which yields them in that order); the first comes at once
// however late it lies in the table.
std::optional<FastPaths::Plan> locatePlan(Database& db, const QString& sql,
                                          const QVariantList& values) {
    static const QRegularExpression locate(
        QStringLiteral("^select \\* from Clubes where (fold\\(NomeCompletoClube\\) like "
                       "fold\\(\\?\\))$"),
        QRegularExpression::CaseInsensitiveOption);
    const auto m = locate.match(sql);
    if (!m.hasMatch() || values.size() != 1)
        return std::nullopt;
    const std::optional<QString> fragment = fragmentOf(db, values[0]);
    if (!fragment || lengthOf(*fragment) < Search::minimumLength)
        return std::nullopt;
    const SearchIndex* search = Search::forColumn(QStringLiteral("NomeCompletoClube"));
    return FastPaths::Plan{
        QStringLiteral("select c.* from %1, Clubes as c where %1 match ? and "
                       "c.Codigo = %1.rowid and fold(c.NomeCompletoClube) like fold(?) "
                       "order by %1.rowid")
            .arg(search->name),
        {Search::trigramQuery(*fragment), values[0]}};
}

} // namespace

std::optional<FastPaths::Plan> FastPaths::choose(Database& db, const QString& sql,
                                                 const QVariantList& values) {
    const std::optional<QString> line = oneLine(sql);
    if (!line)
        return std::nullopt;
    if (auto plan = countPlan(*line, values))
        return plan;
    if (auto plan = countryPlan(db, *line, values))
        return plan;
    if (auto plan = namePlan(db, *line, values))
        return plan;
    if (auto plan = locatePlan(db, *line, values))
        return plan;
    return std::nullopt;
}

} // namespace velmora
