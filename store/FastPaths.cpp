#include "store/FastPaths.h"

#include "store/Counts.h"
#include "store/Database.h"
#include "store/Folding.h"
#include "store/Schema.h"
#include "store/Search.h"
#include "store/Statements.h"
#include "store/StoreError.h"

#include <QSqlQuery>
#include <algorithm>

namespace velmora {

namespace {

// Parameters the shortcuts add; no statement of the program uses these names.
const QString countryParameter = QStringLiteral("ATALHO_PAIS%1");
const QString fragmentParameter = QStringLiteral("ATALHO_TRECHO");
const QString trigramParameter = QStringLiteral("ATALHO_TRIGRAMAS");
const QString boundParameter = QStringLiteral("ATALHO_INICIO");

QString colon(const QString& parameter) {
    return QLatin1Char(':') + parameter;
}

QVariant boundValue(const FastPaths::Bindings& bound, const QString& parameter) {
    for (const auto& [name, value] : bound) {
        if (name.compare(parameter, Qt::CaseInsensitive) == 0)
            return value;
    }
    return {};
}

QSqlQuery select(Database& db, const QString& sql, const QVariantList& values) {
    return runStatement(db.handle(), sql, values);
}

// "select count(*) ... from Clubes where <conditions on grouped columns>": the sum of
// the matching groups of a count table.
std::optional<FastPaths::Plan> countPlan(const Statement& s) {
    if (!s.counts())
        return std::nullopt;
    return FastPaths::Plan{QStringList{QStringLiteral("select coalesce(sum(Qtde), 0) as qtde"),
                                       QStringLiteral("from ") + s.counts()->name} +
                               s.lines().mid(s.conditionLine()),
                           {}};
}

// The folded text between the two "%" a search pattern is built with, or nothing when
// the pattern holds wildcards of its own (they are matched as LIKE matches them).
std::optional<QString> fragmentOf(const QVariant& pattern) {
    if (!pattern.isValid() || pattern.isNull())
        return std::nullopt;
    const QString folded = foldedText(pattern.toString());
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

// How many clubs hold the piece, as `table` counts them.
qint64 pieceCount(Database& db, const QString& piece,
                  const QString& table = Search::piecesTable()) {
    QSqlQuery count =
        select(db, QStringLiteral("select Qtde from %1 where Trecho = ?").arg(table), {piece});
    return count.next() ? count.value(0).toLongLong() : 0;
}

// Whether the fragment has a join no club's name in `table` has: then no name holds it.
bool joinMissing(Database& db, const QString& fragment, const QString& table) {
    const QStringList joins = Search::joinsOf(fragment);
    return std::any_of(joins.begin(), joins.end(),
                       [&](const QString& join) { return pieceCount(db, join, table) == 0; });
}

// Orders after every text that begins with the text it is appended to.
const QString& lastCharacter() {
    static const QString last = QString::fromUcs4(U"\U0010FFFF", 1);
    return last;
}

// One side of a word pair: the words of `column` from `low` to `high`, both included.
struct Side {
    const char* column;
    QString low;
    QString high;
};

// A word the fragment holds whole, or only the part of one that a name's word begins with.
Side sideOf(const char* column, QString text, bool whole) {
    if (text.isNull())
        text = QStringLiteral(""); // a null text would be bound as NULL, matching nothing
    return {column, text, whole ? text : text + lastCharacter()};
}

// Whether a name in `table` holds a word of `walked` just before or after (as the
// columns say) a word of `other`: the words of `walked` are read one by one and each is
// looked up with `other`. Nothing when `walked` has more words than are worth reading.
std::optional<bool> pairHeld(Database& db, const QString& table, const Side& walked,
                             const Side& other) {
    constexpr int mostWords = 64;
    QSqlQuery held = select(
        db,
        QStringLiteral(
            "with recursive words(w) as (select (select %2 from %1 where %2 between ? and ? "
            "order by %2 limit 1) union all select (select %2 from %1 where %2 > w and %2 <= ? "
            "order by %2 limit 1) from words where w is not null limit %4) select count(w), "
            "coalesce(sum(exists (select 1 from %1 where %2 = w and %3 between ? and ?)), 0) "
            "from words")
            .arg(table, QLatin1String(walked.column), QLatin1String(other.column))
            .arg(mostWords),
        {walked.low, walked.high, walked.high, other.low, other.high});
    if (!held.next())
        return std::nullopt;
    if (held.value(1).toLongLong() > 0)
        return true;
    if (held.value(0).toInt() < mostWords)
        return false;
    return std::nullopt;
}

// Whether the fragment holds two neighbouring words that no name in `table` (a table of
// word pairs) holds so together: then no name holds the fragment. Its first word may
// be the end of a name's word and its last the start of one; the others are whole.
bool pairMissing(Database& db, const QString& fragment, const QString& table) {
    const QStringList words = fragment.split(u' ');
    for (qsizetype i = 0; i + 1 < words.size(); ++i) {
        const Side before = sideOf("Antes", Search::reversed(words[i]), i > 0);
        const Side after = sideOf("Depois", words[i + 1], i + 2 < words.size());
        std::optional<bool> held = pairHeld(db, table, before, after);
        if (!held)
            held = pairHeld(db, table, after, before);
        if (held == false)
            return true;
    }
    return false;
}

// The full-text query for the clubs whose names hold a letter or letter pair: every
// trigram it begins, nothing when there are more than is worth asking for at once.
std::optional<QString> pieceQuery(Database& db, const SearchIndex& index, const QString& piece) {
    constexpr int mostTerms = 512;
    QSqlQuery terms = select(db,
                             QStringLiteral("select term from %1 where term >= ? and term < ? "
                                            "limit %2")
                                 .arg(Search::termsOf(db.handle(), index))
                                 .arg(mostTerms + 1),
                             {piece, piece + lastCharacter()});
    QStringList quoted;
    while (terms.next()) {
        const QString term = terms.value(0).toString();
        if (term.startsWith(piece))
            quoted << QLatin1Char('"') + QString(term).replace(u'"', QLatin1String("\"\"")) +
                          QLatin1Char('"');
    }
    if (quoted.isEmpty() || quoted.size() > mostTerms)
        return std::nullopt;
    return quoted.join(QLatin1String(" OR "));
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

// "Localizar": the clubs whose full name holds the fragment, in table order, through
// the trigram index (which yields them in that order); the first comes at once
// however late it lies in the table. A fragment with a join or a pair of words no
// full name has reads no name.
std::optional<FastPaths::Plan> locatePlan(Database& db, const Statement& s,
                                          const QVariant& pattern) {
    const std::optional<QString> fragment = fragmentOf(pattern);
    if (!fragment || lengthOf(*fragment) < Search::minimumLength)
        return std::nullopt;
    if (joinMissing(db, *fragment, Search::joinsTable()) ||
        pairMissing(db, *fragment, Search::fullPairsTable()))
        return FastPaths::Plan{QStringList(s.lines()) << QStringLiteral("and 0"), {}};
    const QString index = Search::forColumn(QStringLiteral("NomeCompletoClube"))->name;
    return FastPaths::Plan{
        {QStringLiteral("select c.*"), QStringLiteral("from %1, clubes.db as c").arg(index),
         QStringLiteral("where %1 match %2").arg(index, colon(trigramParameter)),
         QStringLiteral("and c.Codigo = %1.rowid").arg(index),
         QStringLiteral("and ") + s.condition(), QStringLiteral("order by %1.rowid").arg(index)},
        {{trigramParameter, Search::trigramQuery(*fragment)}}};
}

} // namespace

// No statement is run to learn whether the store changed: this connection's writes
// move the stamp at once, another connection's once the chosen statement has read
// (current() then tells the query to choose again).
template <typename Make>
std::optional<FastPaths::Plan> FastPaths::kept(const QString& key, Make make) {
    lastKept_ = true;
    if (db_.writeStamp() != stamp_ || plans_.size() >= 256) {
        plans_.clear();
    } else if (const auto found = plans_.constFind(key); found != plans_.constEnd()) {
        return *found;
    }
    std::optional<Plan> plan = make();
    // As the plan's own statements read the store.
    stamp_ = db_.writeStamp();
    plans_.insert(key, plan);
    return plan;
}

bool FastPaths::current() const {
    return !lastKept_ || db_.writeStamp() == stamp_;
}

void FastPaths::forget() {
    plans_.clear();
    stamp_ = {-1, -1};
}

std::optional<FastPaths::Plan> FastPaths::choose(const Statement& s, const Bindings& bound) {
    lastKept_ = false;
    const QVariant pattern = boundValue(bound, s.parameter());
    // The plan depends on the sort limit too, which the tests move.
    const QString key =
        s.name() + QChar(0) + pattern.toString() + QChar(0) + QString::number(db_.sortLimit());
    switch (s.shortcut()) {
    case Shortcut::None:
        return std::nullopt;
    case Shortcut::Count:
        return countPlan(s);
    case Shortcut::Locate:
        return locatePlan(db_, s, pattern);
    case Shortcut::Country:
        return kept(key, [&] { return country(s, pattern); });
    case Shortcut::Name:
        return kept(key, [&] { return name(s, pattern); });
    }
    return std::nullopt;
}

// A listing filtered by a pattern on the country: the pattern is matched against the
// countries of the count table first, and the listing takes the matching countries
// by name. One country reads its clubs in name order from its own index; a few clubs
// are read through that index and sorted; many are found walking the name order.
std::optional<FastPaths::Plan> FastPaths::country(const Statement& s, const QVariant& pattern) {
    if (!pattern.isValid())
        return std::nullopt;
    QSqlQuery countries =
        select(db_,
               QStringLiteral("select PaisClube, sum(Qtde) from %1 where fold(PaisClube) like "
                              "fold(?) group by PaisClube")
                   .arg(Counts::tables().first().name),
               {pattern});
    Plan plan{s.lines(), {}};
    QStringList marks;
    qint64 clubs = 0;
    while (countries.next()) {
        const QString parameter = countryParameter.arg(marks.size() + 1);
        plan.added.append({parameter, countries.value(0)});
        marks << colon(parameter);
        clubs += countries.value(1).toLongLong();
    }
    QString& condition = plan.lines[s.conditionLine()];
    if (marks.isEmpty())
        condition = QStringLiteral("and 0");
    else if (marks.size() == 1)
        condition = QStringLiteral("and c.PaisClube = ") + marks.first();
    else
        condition =
            QStringLiteral("and %1c.PaisClube in (%2)")
                .arg(clubs > db_.sortLimit() ? QStringLiteral("+") : QString(), marks.join(u", "));
    // Left alone, the engine walks the name order even for a handful of clubs.
    if (marks.size() > 1 && clubs <= db_.sortLimit())
        plan.lines[s.fromLine()] =
            QStringLiteral("from clubes.db as c indexed by %1, paises.db as p")
                .arg(Schema::countryIndex());
    return plan;
}

// A listing filtered by a name fragment ("Pesquisar"), in name order. A fragment few
// clubs hold is found through the trigram index and its rows sorted. One many clubs
// hold is found walking the name order and testing the order key the index carries,
// from where the trigram index says the matches begin, so no row is read that does
// not match and no stretch of names is read that holds none. A letter or pair no club
// has, or a fragment with a join or a pair of words no club has (words never so
// together), is answered at once; a letter or pair few clubs have is found as the start of
// trigrams; another one walks the whole name order. The statement's own condition stays, so the
// rows are exactly its rows.
std::optional<FastPaths::Plan> FastPaths::name(const Statement& s, const QVariant& pattern) {
    const std::optional<QString> fragment = fragmentOf(pattern);
    if (!fragment)
        return std::nullopt;
    const SearchIndex* search = Search::forColumn(QStringLiteral("NomeClube"));
    const int length = lengthOf(*fragment);
    const QString walk =
        QStringLiteral("and instr(c.NomeClubeOrdem, %1) > 0").arg(colon(fragmentParameter));
    QStringList extra{walk};
    Bindings added{{fragmentParameter, *fragment}};
    const auto sorted = [&](const QString& query) {
        extra = QStringList{QStringLiteral("and c.Codigo in (%1)")
                                .arg(Search::candidateCodes(*search, colon(trigramParameter)))};
        added = {{trigramParameter, query}};
    };
    const bool piece = length >= 1 && length <= Search::pieceLength;
    const qint64 clubs = piece ? pieceCount(db_, *fragment) : -1;
    if (clubs == 0 || joinMissing(db_, *fragment, Search::piecesTable()) ||
        pairMissing(db_, *fragment, Search::namePairsTable())) {
        extra = QStringList{QStringLiteral("and 0")};
        added.clear();
    } else if (piece) {
        if (clubs <= db_.sortLimit()) {
            if (const std::optional<QString> query = pieceQuery(db_, *search, *fragment))
                sorted(*query);
        }
    } else if (length >= Search::minimumLength) {
        const QString query = Search::trigramQuery(*fragment);
        if (candidates(db_, *search, query, db_.sortLimit()) <= db_.sortLimit()) {
            sorted(query);
        } else if (const std::optional<QString> bound = lowerBound(db_, *search, query)) {
            extra = QStringList{
                QStringLiteral("and c.NomeClubeOrdem >= %1").arg(colon(boundParameter)), walk};
            added.prepend({boundParameter, *bound});
        }
    }
    Plan plan{s.lines(), added};
    for (qsizetype i = extra.size(); i-- > 0;)
        plan.lines.insert(s.conditionLine(), extra[i]);
    return plan;
}

} // namespace velmora
