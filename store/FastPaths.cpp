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

// How a piece of a fragment stands in the words of a name holding the fragment: a
// fragment without a space lies within one word; with spaces its first piece ends a
// word, its last starts one and those between are whole words.
enum class Fit { Within, Ending, Whole, Starting };

// Words beyond this many, for one piece or for a whole query, are not worth asking for.
constexpr int mostWords = 512;

struct WordSet {
    QStringList words;
    qint64 clubs = 0;   // how many hold them, a club counted once per word
    qint64 biggest = 0; // how many hold the commonest of them
};

QSqlQuery wordsFor(Database& db, const WordList& list, const QString& piece, Fit fit) {
    switch (fit) {
    case Fit::Whole:
        return select(
            db, QStringLiteral("select Palavra, Qtde from %1 where Palavra = ?").arg(list.table),
            {piece});
    case Fit::Starting:
        return select(db,
                      QStringLiteral("select Palavra, Qtde from %1 where Palavra >= ? and Palavra "
                                     "< ? order by Palavra limit %2")
                          .arg(list.table)
                          .arg(mostWords + 1),
                      {piece, piece + lastCharacter()});
    case Fit::Within:
    case Fit::Ending:
        break;
    }
    // Read through the words' trigrams; the words holding them that do not fit are
    // dropped after, so twice as many are read.
    return select(db,
                  QStringLiteral("select w.Palavra, w.Qtde from (select rowid from %1 where %1 "
                                 "match ? limit %3) as m join %2 as w on w.Codigo = m.rowid")
                      .arg(list.trigrams, list.table)
                      .arg(2 * mostWords + 1),
                  {Search::trigramQuery(piece)});
}

// The words of `list` the piece fits as `fit` says. Nothing when there are too many to
// ask for, or when the piece is too short to find the words it lies within.
std::optional<WordSet> fittingWords(Database& db, const WordList& list, const QString& piece,
                                    Fit fit) {
    if ((fit == Fit::Within || fit == Fit::Ending) && lengthOf(piece) < Search::minimumLength)
        return std::nullopt;
    QSqlQuery found = wordsFor(db, list, piece, fit);
    WordSet set;
    for (int read = 1; found.next(); ++read) {
        const QString word = found.value(0).toString();
        const bool fits = fit == Fit::Within   ? word.contains(piece)
                          : fit == Fit::Ending ? word.endsWith(piece)
                                               : word.startsWith(piece);
        if (read > 2 * mostWords || (fits && set.words.size() == mostWords))
            return std::nullopt;
        if (fits) {
            set.words << word;
            set.clubs += found.value(1).toLongLong();
            set.biggest = std::max(set.biggest, found.value(1).toLongLong());
        }
    }
    return set;
}

// What the words of a name fragment tell: that no name in `column` holds it, or a query
// of that column's word index offering every club that does (and maybe a few more).
struct WordsAnswer {
    bool none = false;
    QString query;
    // About how many clubs the query offers at least and at most, known without asking
    // the index (a word it splits at a sign may offer a few more).
    qint64 least = 0;
    qint64 most = 0;
};

// The pieces' words, rarest first, each piece's words joined by OR, the pieces by AND;
// more pieces are added only while the clubs they offer are more than `enough`.
WordsAnswer wordsQuery(QList<WordSet> sets, qint64 enough) {
    std::sort(sets.begin(), sets.end(),
              [](const WordSet& a, const WordSet& b) { return a.clubs < b.clubs; });
    WordsAnswer answer;
    QStringList pieces;
    qsizetype terms = 0;
    for (const WordSet& set : sets) {
        if (terms + set.words.size() > mostWords || (!pieces.isEmpty() && answer.most <= enough))
            break;
        QStringList alternatives;
        for (const QString& word : set.words) {
            const QString query = Search::wordQuery(word);
            if (query.isEmpty())
                break; // a word of no letters: the index cannot offer this piece
            alternatives << QLatin1Char('(') + query + QLatin1Char(')');
        }
        if (alternatives.size() < set.words.size())
            continue;
        pieces << QLatin1Char('(') + alternatives.join(QLatin1String(" OR ")) + QLatin1Char(')');
        terms += set.words.size();
        // One piece offers at least its commonest word's clubs; more pieces, maybe none.
        answer.least = pieces.size() == 1 ? set.biggest : 0;
        answer.most = pieces.size() == 1 ? set.clubs : std::min(answer.most, set.clubs);
    }
    answer.query = pieces.join(QLatin1String(" AND "));
    return answer;
}

std::optional<WordsAnswer> wordsAnswer(Database& db, const QString& column, const QString& fragment,
                                       qint64 enough) {
    const WordList* list = Search::wordListFor(column);
    const QStringList pieces = fragment.split(u' ');
    QList<WordSet> sets;
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        if (pieces[i].isEmpty())
            continue; // a space at either end, or two together: any word, or none, fits
        const bool first = i == 0;
        const bool last = i + 1 == pieces.size();
        const Fit fit = first && last ? Fit::Within
                        : first       ? Fit::Ending
                        : last        ? Fit::Starting
                                      : Fit::Whole;
        const std::optional<WordSet> set = fittingWords(db, *list, pieces[i], fit);
        if (set && set->words.isEmpty())
            return WordsAnswer{true, {}};
        if (set)
            sets << *set;
    }
    WordsAnswer answer = wordsQuery(sets, enough);
    if (answer.query.isEmpty())
        return std::nullopt;
    return answer;
}

// The word index's query for a fragment, when the words answered and the index offers
// no more than `limit` clubs for it. Counting these is cheap, where counting a long
// fragment's trigrams, each common, can take a frame; beyond the limit the trigrams
// across its spaces, which hold its words together, may offer fewer.
std::optional<QString> fewByWords(Database& db, const QString& column,
                                  const std::optional<WordsAnswer>& words, int limit) {
    if (!words || words->least > limit)
        return std::nullopt;
    if (words->most > limit &&
        candidates(db, *Search::wordsForColumn(column), words->query, limit) > limit)
        return std::nullopt;
    return words->query;
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
// full name has, or a piece no word fits, reads no name; one whose pieces few words fit
// reads only the clubs holding those words.
std::optional<FastPaths::Plan> locatePlan(Database& db, const Statement& s,
                                          const QVariant& pattern) {
    const std::optional<QString> fragment = fragmentOf(pattern);
    if (!fragment || lengthOf(*fragment) < Search::minimumLength)
        return std::nullopt;
    const QString column = QStringLiteral("NomeCompletoClube");
    const FastPaths::Plan none{QStringList(s.lines()) << QStringLiteral("and 0"), {}};
    if (joinMissing(db, *fragment, Search::joinsTable()) ||
        pairMissing(db, *fragment, Search::fullPairsTable()))
        return none;
    const std::optional<WordsAnswer> words = wordsAnswer(db, column, *fragment, db.sortLimit());
    if (words && words->none)
        return none;
    const std::optional<QString> byWords = fewByWords(db, column, words, db.sortLimit());
    const QString& index =
        (byWords ? Search::wordsForColumn(column) : Search::forColumn(column))->name;
    return FastPaths::Plan{
        {QStringLiteral("select c.*"), QStringLiteral("from %1, clubes.db as c").arg(index),
         QStringLiteral("where %1 match %2").arg(index, colon(trigramParameter)),
         QStringLiteral("and c.Codigo = %1.rowid").arg(index),
         QStringLiteral("and ") + s.condition(), QStringLiteral("order by %1.rowid").arg(index)},
        {{trigramParameter, byWords ? *byWords : Search::trigramQuery(*fragment)}}};
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
// together), or a piece no word fits, is answered at once; a fragment whose pieces few
// words fit is found through the clubs holding those words; a letter or pair few clubs
// have is found as the start of trigrams; another one walks the whole name order. The
// statement's own condition stays, so the rows are exactly its rows.
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
    const auto sorted = [&](const SearchIndex& index, const QString& query) {
        extra = QStringList{QStringLiteral("and c.Codigo in (%1)")
                                .arg(Search::candidateCodes(index, colon(trigramParameter)))};
        added = {{trigramParameter, query}};
    };
    const bool piece = length >= 1 && length <= Search::pieceLength;
    const qint64 clubs = piece ? pieceCount(db_, *fragment) : -1;
    const bool missing = clubs == 0 || joinMissing(db_, *fragment, Search::piecesTable()) ||
                         pairMissing(db_, *fragment, Search::namePairsTable());
    const std::optional<WordsAnswer> words =
        !missing && length >= Search::minimumLength
            ? wordsAnswer(db_, search->column, *fragment, db_.sortLimit())
            : std::nullopt;
    if (missing || (words && words->none)) {
        extra = QStringList{QStringLiteral("and 0")};
        added.clear();
    } else if (piece) {
        if (clubs <= db_.sortLimit()) {
            if (const std::optional<QString> query = pieceQuery(db_, *search, *fragment))
                sorted(*search, *query);
        }
    } else if (length >= Search::minimumLength) {
        const QString query = Search::trigramQuery(*fragment);
        if (const std::optional<QString> byWords =
                fewByWords(db_, search->column, words, db_.sortLimit())) {
            sorted(*Search::wordsForColumn(search->column), *byWords);
        } else if (candidates(db_, *search, query, db_.sortLimit()) <= db_.sortLimit()) {
            sorted(*search, query);
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
