#pragma once

#include <QByteArray>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

namespace velmora {

// Trigram full-text indexes over the folded short and full names of Clubes, kept by
// triggers: a name fragment of three or more letters is found among a million clubs
// without reading every name. Only the index is stored (no copy of the text, no
// positions), so it is queried as "every trigram of the fragment present", which
// finds a superset of the names holding the fragment; the statement's own condition
// then keeps exactly those.
struct SearchIndex {
    QString name;   // the FTS5 table
    QString column; // of Clubes
    // Rowids follow the name order (Search::orderedRowid) instead of being the codes,
    // so the first match in rowid order tells where in the name order matches begin.
    bool nameOrder = false;
    // Whole words (Search::wordQuery) instead of trigrams.
    bool words = false;
};

// The distinct words of a column's folded names (split at each space), with how many
// clubs hold each, and a trigram index over the words themselves (rowid: the word's
// Codigo). A fragment without a space is in a name only if one of its words holds it.
struct WordList {
    QString table;    // Codigo, Palavra, Qtde
    QString trigrams; // FTS5 over Palavra
    QString column;   // of Clubes
};

class Search final {
public:
    static const QList<SearchIndex>& indexes();
    static const SearchIndex* forColumn(const QString& column); // any letter case
    // Indexes of whole words, for short and full names: the clubs holding any of a few
    // words are found exactly, however common the words' trigrams are.
    static const QList<SearchIndex>& wordIndexes();
    static const SearchIndex* wordsForColumn(const QString& column);
    static const QList<WordList>& wordLists();
    static const WordList* wordListFor(const QString& column);

    static void build(QSqlDatabase& db); // drop() first when they may exist
    static void drop(QSqlDatabase& db);
    static QStringList triggerNames();
    static QStringList indexNames();       // of the tables kept beside the search indexes
    static bool present(QSqlDatabase& db); // the indexes exist in this store

    // Writes no longer merge the indexes' segments (SearchUpkeep does, when idle); the
    // setting is kept in the store. Merging never changes what a search finds.
    static void deferMerging(QSqlDatabase& db);
    // Merges up to about `pages` pages of each index; whether merging work remains.
    static bool mergeStep(QSqlDatabase& db, int pages);

    // The full-text query for a folded fragment of at least minimumLength characters.
    static QString trigramQuery(const QString& fragment);
    static constexpr int minimumLength = 3;
    // The trigrams `index` holds, with how many clubs hold each (columns term and doc),
    // as a table of this connection made on first use: a letter or letter pair is
    // found as the start of trigrams, since each index pads its names with two
    // characters no name has.
    static QString termsOf(QSqlDatabase& db, const SearchIndex& index);

    // A name-ordered index keys a club by the first four bytes of its folded name (UTF-8,
    // the order the engine compares text in) above its code. Clubs whose code lies
    // outside [0, codeLimit) do not fit and are left out of it.
    static constexpr int codeBits = 31;
    static constexpr qint64 codeLimit = qint64(1) << codeBits;
    // The four bytes as a number, zeros after a shorter text: the SQL function orderprefix().
    static qint64 orderPrefix(const QByteArray& utf8);
    // Text that orders before or equal to every folded name whose rowid is at least
    // `rowid` in a name-ordered index: the prefix, cut to whole characters.
    static QString orderBound(qint64 rowid);
    // Codes of the clubs a name-ordered index leaves out, as a select.
    static QString clubsLeftOut();
    // Codes of the clubs `index` offers for a full-text query (the parameter, "?" or
    // ":NAME"), those it leaves out included, as a select.
    static QString candidateCodes(const SearchIndex& index, const QString& parameter);

    // Every letter, letter pair and join of the folded short names, with how many clubs
    // hold it: a fragment of one or two letters, or one with a join, that no club has is
    // answered without reading a single name.
    static QString piecesTable();
    static constexpr int pieceLength = 2;
    // The distinct pieces of a folded name (its joins too) as a JSON array: the SQL
    // function pieces().
    static QByteArray piecesOf(const QString& folded);

    // The joins of a folded name: the characters around each of its spaces, joinSide
    // on either side, where the name has them. A text holding words apart that some
    // name holds together has that join, so a join no club has answers a search at once.
    // The short names' joins are kept with their pieces, the full names' in joinsTable.
    static QStringList joinsOf(const QString& folded);
    static constexpr int joinSide = 2;
    static QString joinsTable();
    // The joins as a JSON array: the SQL function joins().
    static QByteArray joinsJson(const QString& folded);

    // Every pair of neighbouring words of the folded names (split at each space, empty
    // words kept), with how many clubs hold it, for short and full names: a fragment
    // whose words no name holds so together is answered at once, however common each
    // word and the characters around each space are. The first word is kept reversed,
    // so that the words ending in a text are a range of the key.
    static QString namePairsTable();
    static QString fullPairsTable();
    // The distinct pairs of a folded name as a JSON array of [first reversed, second]:
    // the SQL function wordpairs().
    static QByteArray pairsJson(const QString& folded);
    static QString reversed(const QString& text); // by code point

    // The distinct non-empty words of a folded name as a JSON array: the SQL function words().
    static QByteArray wordsJson(const QString& folded);
    // The query a word index answers with the clubs holding `word` (a superset when the
    // word holds characters the index splits at); empty when the index cannot tell.
    static QString wordQuery(const QString& word);
};

} // namespace velmora
