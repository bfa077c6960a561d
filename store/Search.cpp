#include "store/Search.h"

#include "store/StoreError.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace velmora {

namespace {

void run(QSqlDatabase& db, const QString& sql) {
    runStatement(db, sql);
}

QString trigger(const QString& table, const char* event) {
    return table + QLatin1String(event);
}

// The rowid a club gets in `index`, its columns read through `row` ("new.", "old." or "").
QString rowidOf(const SearchIndex& index, const QString& row) {
    if (!index.nameOrder)
        return row + QLatin1String("Codigo");
    return QStringLiteral("(orderprefix(fold(%1%2)) << %3) | %1Codigo")
        .arg(row, index.column)
        .arg(Search::codeBits);
}

// The text an index holds for a club: its folded name and two characters no name has,
// so that every letter of the name, the last two too, begins a trigram and a letter or
// letter pair is found as the start of one (Search::prefixQuery).
QString indexedText(const SearchIndex& index, const QString& row) {
    if (index.words)
        return QStringLiteral("fold(%1%2)").arg(row, index.column);
    return QStringLiteral("fold(%1%2) || char(1, 1)").arg(row, index.column);
}

// Which clubs `index` holds, as a where clause (empty: all of them).
QString heldWhere(const SearchIndex& index, const QString& row) {
    if (!index.nameOrder)
        return {};
    return QStringLiteral(" WHERE %1Codigo BETWEEN 0 AND %2").arg(row).arg(Search::codeLimit - 1);
}

QString added(const SearchIndex& index) {
    const QString row = QStringLiteral("new.");
    return QStringLiteral("INSERT INTO %1 (rowid, Busca) SELECT %2, %3%4;")
        .arg(index.name, rowidOf(index, row), indexedText(index, row), heldWhere(index, row));
}

// A contentless index forgets a row by being told the values it was given.
QString removed(const SearchIndex& index) {
    const QString row = QStringLiteral("old.");
    return QStringLiteral("INSERT INTO %1 (%1, rowid, Busca) SELECT 'delete', %2, %3%4;")
        .arg(index.name, rowidOf(index, row), indexedText(index, row), heldWhere(index, row));
}

void setAutomerge(QSqlDatabase& db, const SearchIndex& index, int segments) {
    run(db, QStringLiteral("INSERT INTO %1 (%1, rank) VALUES ('automerge', %2)")
                .arg(index.name)
                .arg(segments));
}

qint64 totalChanges(QSqlDatabase& db) {
    QSqlQuery q = runStatement(db, QStringLiteral("SELECT total_changes()"));
    return q.next() ? q.value(0).toLongLong() : 0;
}

// The triggers that keep `kept` (what they are named after) in step with Clubes: `add`
// runs for a new club, `remove` for a gone one, both when the `watched` columns are
// updated (and `when` holds, when given).
void keepInStep(QSqlDatabase& db, const QString& kept, const QString& watched,
                const QString& remove, const QString& add, const QString& when = {}) {
    run(db, QStringLiteral("CREATE TRIGGER %1 AFTER INSERT ON Clubes BEGIN %2 END")
                .arg(trigger(kept, "Inclui"), add));
    run(db, QStringLiteral("CREATE TRIGGER %1 AFTER DELETE ON Clubes BEGIN %2 END")
                .arg(trigger(kept, "Exclui"), remove));
    run(db, QStringLiteral("CREATE TRIGGER %1 AFTER UPDATE OF %2 ON Clubes%3 BEGIN %4 %5 END")
                .arg(trigger(kept, "Altera"), watched,
                     when.isEmpty() ? QString() : QStringLiteral(" WHEN ") + when, remove, add));
}

// A club's share of a count table keyed by `key`: one more for each of the keys `rows`
// (a select of them) gives, and one less when it goes, the key dropped at none.
QString countedAdd(const QString& table, const QString& key, const QString& rows) {
    return QStringLiteral("INSERT INTO %1 (%2, Qtde) SELECT *, 1 FROM (%3) WHERE true ON "
                          "CONFLICT (%2) DO UPDATE SET Qtde = Qtde + 1;")
        .arg(table, key, rows);
}

QString countedRemove(const QString& table, const QString& key, const QString& rows) {
    return QStringLiteral("UPDATE %1 SET Qtde = Qtde - 1 WHERE (%2) IN (%3); DELETE FROM %1 "
                          "WHERE Qtde <= 0 AND (%2) IN (%3);")
        .arg(table, key, rows);
}

// Characters besides letters and digits a word index keeps inside its words; it splits
// words at the other ASCII ones (every character beyond ASCII is kept).
constexpr char wordCharacters[] = "-./&";

// Nothing but the terms is kept: no text, no positions, no sizes (nothing ranks).
QString contentlessIndex(const QString& name, const QString& tokenizer) {
    return QStringLiteral("CREATE VIRTUAL TABLE %1 USING fts5(Busca, tokenize = '%2', detail = "
                          "none, content = '', columnsize = 0)")
        .arg(name, tokenizer);
}

const QString& trigramTokenizer() {
    static const QString tokenizer = QStringLiteral("trigram case_sensitive 1");
    return tokenizer;
}

void buildIndex(QSqlDatabase& db, const SearchIndex& index) {
    run(db, contentlessIndex(index.name, index.words ? QStringLiteral("ascii tokenchars ''%1''")
                                                           .arg(QLatin1String(wordCharacters))
                                                     : trigramTokenizer()));
    // In rowid order: a rowid below the previous one makes the index write out what it
    // has gathered, one small segment per club.
    run(db, QStringLiteral("INSERT INTO %1 (rowid, Busca) SELECT %2, %3 FROM Clubes%4 "
                           "ORDER BY 1")
                .arg(index.name, rowidOf(index, {}), indexedText(index, {}), heldWhere(index, {})));
    // Saves leave merging to SearchUpkeep, in the program's idle time.
    setAutomerge(db, index, 0);
    keepInStep(db, index.name, QStringLiteral("Codigo, ") + index.column, removed(index),
               added(index));
}

// Pieces as numbers while counting a whole table: a letter pair is its two code
// points, a single letter its code point beside one no letter has.
constexpr char32_t noLetter = 0x110000;

quint64 pieceKey(char32_t first, char32_t second) {
    return (quint64(first) << 32) | second;
}

QString pieceText(quint64 key) {
    const char32_t points[2] = {char32_t(key >> 32), char32_t(key & 0xFFFFFFFF)};
    return QString::fromUcs4(points, points[1] == noLetter ? 1 : 2);
}

std::vector<quint64> pieceKeys(const QString& folded) {
    const QList<uint> points = folded.toUcs4();
    std::vector<quint64> keys;
    keys.reserve(size_t(points.size()) * 2);
    for (qsizetype i = 0; i < points.size(); ++i) {
        keys.push_back(pieceKey(points[i], noLetter));
        if (i + 1 < points.size())
            keys.push_back(pieceKey(points[i], points[i + 1]));
    }
    std::sort(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
    return keys;
}

// A table of pieces of a folded name with how many clubs hold each, kept by triggers.
struct PieceTable {
    QString name;
    QString column;
    const char* function; // the SQL function giving a name's pieces as a JSON array
    bool letters;         // letters and letter pairs too, not only the joins
};

const QList<PieceTable>& pieceTables() {
    static const QList<PieceTable> list = {
        {Search::piecesTable(), QStringLiteral("NomeClube"), "pieces", true},
        {Search::joinsTable(), QStringLiteral("NomeCompletoClube"), "joins", false},
    };
    return list;
}

QString piecesOfRow(const PieceTable& table, const QString& row) {
    return QStringLiteral("SELECT value FROM json_each(%1(fold(%2%3)))")
        .arg(QLatin1String(table.function), row, table.column);
}

// Counted here rather than by a grouping statement: a million names hold some thirty
// million pieces, which the engine would sort.
void fillPieces(QSqlDatabase& db, const PieceTable& table) {
    QHash<quint64, qint64> counts;
    QHash<QString, qint64> joins;
    QSqlQuery names =
        runStatement(db, QStringLiteral("SELECT fold(%1) FROM Clubes").arg(table.column));
    while (names.next()) {
        const QString name = names.value(0).toString();
        if (table.letters) {
            for (quint64 key : pieceKeys(name))
                ++counts[key];
        }
        for (const QString& join : Search::joinsOf(name))
            ++joins[join];
    }
    QJsonArray rows;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        rows.append(QJsonArray{pieceText(it.key()), it.value()});
    for (auto it = joins.cbegin(); it != joins.cend(); ++it)
        rows.append(QJsonArray{it.key(), it.value()});
    runStatement(db,
                 QStringLiteral("INSERT INTO %1 (Trecho, Qtde) SELECT json_extract(value, '$[0]'), "
                                "json_extract(value, '$[1]') FROM json_each(?)")
                     .arg(table.name),
                 {QString::fromUtf8(QJsonDocument(rows).toJson(QJsonDocument::Compact))});
}

void buildPieces(QSqlDatabase& db, const PieceTable& table) {
    run(db, QStringLiteral("CREATE TABLE %1 (Trecho TEXT PRIMARY KEY, Qtde INTEGER NOT NULL) "
                           "WITHOUT ROWID")
                .arg(table.name));
    fillPieces(db, table);
    const QString key = QStringLiteral("Trecho");
    keepInStep(db, table.name, table.column,
               countedRemove(table.name, key, piecesOfRow(table, QStringLiteral("old."))),
               countedAdd(table.name, key, piecesOfRow(table, QStringLiteral("new."))));
}

// A table of the neighbouring words of a folded name, kept by triggers.
struct PairTable {
    QString name;
    QString column;
};

const QList<PairTable>& pairTables() {
    static const QList<PairTable> list = {
        {Search::namePairsTable(), QStringLiteral("NomeClube")},
        {Search::fullPairsTable(), QStringLiteral("NomeCompletoClube")},
    };
    return list;
}

// Pairs by their second word: the words before a text.
QString secondWordIndex(const PairTable& table) {
    return table.name + QStringLiteral("Depois");
}

using WordPair = std::pair<QString, QString>;

// Each pair once: a club counts once however often it holds a pair.
QList<WordPair> wordPairs(const QString& folded) {
    const QStringList words = folded.split(u' ');
    QList<WordPair> pairs;
    for (qsizetype i = 0; i + 1 < words.size(); ++i) {
        WordPair pair{Search::reversed(words[i]), words[i + 1]};
        if (!pairs.contains(pair))
            pairs << pair;
    }
    return pairs;
}

QString pairsOfRow(const PairTable& table, const QString& row) {
    return QStringLiteral("SELECT json_extract(value, '$[0]'), json_extract(value, '$[1]') FROM "
                          "json_each(wordpairs(fold(%1%2)))")
        .arg(row, table.column);
}

// Counted by the engine's sorter, which goes to disk when the pairs of a big catalogue
// would not fit its cache, instead of holding them all in memory at once.
void fillPairs(QSqlDatabase& db, const PairTable& table) {
    runStatement(db, QStringLiteral("INSERT INTO %1 (Antes, Depois, Qtde) SELECT "
                                    "json_extract(value, '$[0]') AS a, json_extract(value, '$[1]') "
                                    "AS d, count(*) FROM Clubes, json_each(wordpairs(fold(%2))) "
                                    "GROUP BY a, d")
                         .arg(table.name, table.column));
}

void buildPairs(QSqlDatabase& db, const PairTable& table) {
    run(db, QStringLiteral("CREATE TABLE %1 (Antes TEXT NOT NULL, Depois TEXT NOT NULL, Qtde "
                           "INTEGER NOT NULL, PRIMARY KEY (Antes, Depois)) WITHOUT ROWID")
                .arg(table.name));
    run(db, QStringLiteral("CREATE INDEX %1 ON %2 (Depois, Antes)")
                .arg(secondWordIndex(table), table.name));
    fillPairs(db, table);
    const QString key = QStringLiteral("Antes, Depois");
    keepInStep(db, table.name, table.column,
               countedRemove(table.name, key, pairsOfRow(table, QStringLiteral("old."))),
               countedAdd(table.name, key, pairsOfRow(table, QStringLiteral("new."))));
}

QStringList wordsOf(const QString& folded) {
    QStringList words = folded.split(u' ', Qt::SkipEmptyParts);
    words.removeDuplicates();
    return words;
}

QString wordsOfRow(const WordList& list, const QString& row) {
    return QStringLiteral("SELECT value FROM json_each(words(fold(%1%2)))").arg(row, list.column);
}

void buildWords(QSqlDatabase& db, const WordList& list) {
    run(db, QStringLiteral("CREATE TABLE %1 (Codigo INTEGER PRIMARY KEY, Palavra TEXT NOT NULL "
                           "UNIQUE, Qtde INTEGER NOT NULL)")
                .arg(list.table));
    runStatement(db, QStringLiteral("INSERT INTO %1 (Palavra, Qtde) SELECT value, count(*) FROM "
                                    "Clubes, json_each(words(fold(%2))) GROUP BY value")
                         .arg(list.table, list.column));
    run(db, contentlessIndex(list.trigrams, trigramTokenizer()));
    run(db, QStringLiteral("INSERT INTO %1 (rowid, Busca) SELECT Codigo, Palavra FROM %2")
                .arg(list.trigrams, list.table));
    setAutomerge(db, SearchIndex{list.trigrams, {}}, 0);
    // A word enters its index when the first club takes it and leaves with the last.
    run(db, QStringLiteral("CREATE TRIGGER %1 AFTER INSERT ON %2 BEGIN INSERT INTO %3 (rowid, "
                           "Busca) VALUES (new.Codigo, new.Palavra); END")
                .arg(trigger(list.trigrams, "Inclui"), list.table, list.trigrams));
    run(db, QStringLiteral("CREATE TRIGGER %1 AFTER DELETE ON %2 BEGIN INSERT INTO %3 (%3, rowid, "
                           "Busca) VALUES ('delete', old.Codigo, old.Palavra); END")
                .arg(trigger(list.trigrams, "Exclui"), list.table, list.trigrams));
    const QString key = QStringLiteral("Palavra");
    // Saves write every column: a name left as it was takes and drops no word.
    keepInStep(db, list.table, list.column,
               countedRemove(list.table, key, wordsOfRow(list, QStringLiteral("old."))),
               countedAdd(list.table, key, wordsOfRow(list, QStringLiteral("new."))),
               QStringLiteral("old.%1 IS NOT new.%1").arg(list.column));
}

// The trigram indexes first: the tests and the upkeep read them by their place.
const QList<SearchIndex>& everyIndex() {
    static const QList<SearchIndex> list = [] {
        QList<SearchIndex> all = Search::indexes() + Search::wordIndexes();
        for (const WordList& words : Search::wordLists())
            all << SearchIndex{words.trigrams, {}};
        return all;
    }();
    return list;
}

// The entry of `list` kept for a column of Clubes, named in any letter case.
template <typename Entry>
const Entry* forClubColumn(const QList<Entry>& list, const QString& column) {
    const auto found = std::find_if(list.begin(), list.end(), [&](const Entry& entry) {
        return entry.column.compare(column, Qt::CaseInsensitive) == 0;
    });
    return found == list.end() ? nullptr : &*found;
}

QByteArray jsonArray(const QStringList& texts) {
    return QJsonDocument(QJsonArray::fromStringList(texts)).toJson(QJsonDocument::Compact);
}

} // namespace

const QList<SearchIndex>& Search::indexes() {
    static const QList<SearchIndex> list = {
        {QStringLiteral("ClubesBuscaNome"), QStringLiteral("NomeClube"), true},
        {QStringLiteral("ClubesBuscaCompleto"), QStringLiteral("NomeCompletoClube"), false},
    };
    return list;
}

const SearchIndex* Search::forColumn(const QString& column) {
    return forClubColumn(indexes(), column);
}

const QList<SearchIndex>& Search::wordIndexes() {
    static const QList<SearchIndex> list = {
        {QStringLiteral("ClubesPalavrasBuscaNome"), QStringLiteral("NomeClube"), true, true},
        {QStringLiteral("ClubesPalavrasBuscaCompleto"), QStringLiteral("NomeCompletoClube"), false,
         true},
    };
    return list;
}

const SearchIndex* Search::wordsForColumn(const QString& column) {
    return forClubColumn(wordIndexes(), column);
}

const QList<WordList>& Search::wordLists() {
    static const QList<WordList> list = {
        {QStringLiteral("ClubesPalavrasNome"), QStringLiteral("ClubesPalavrasNomeTrigramas"),
         QStringLiteral("NomeClube")},
        {QStringLiteral("ClubesPalavrasCompleto"),
         QStringLiteral("ClubesPalavrasCompletoTrigramas"), QStringLiteral("NomeCompletoClube")},
    };
    return list;
}

const WordList* Search::wordListFor(const QString& column) {
    return forClubColumn(wordLists(), column);
}

bool Search::present(QSqlDatabase& db) {
    const QStringList tables = db.tables();
    return std::all_of(everyIndex().begin(), everyIndex().end(), [&](const SearchIndex& index) {
        return tables.contains(index.name, Qt::CaseInsensitive);
    });
}

void Search::deferMerging(QSqlDatabase& db) {
    for (const SearchIndex& index : everyIndex()) {
        QSqlQuery q = runStatement(
            db, QStringLiteral("SELECT v FROM %1_config WHERE k = 'automerge'").arg(index.name));
        if (!q.next() || q.value(0).toInt() != 0)
            setAutomerge(db, index, 0);
    }
}

bool Search::mergeStep(QSqlDatabase& db, int pages) {
    // One index that needs it per step, so a step stays as short as one index's merge.
    for (const SearchIndex& index : everyIndex()) {
        const qint64 before = totalChanges(db);
        run(db, QStringLiteral("INSERT INTO %1 (%1, rank) VALUES ('merge', %2)")
                    .arg(index.name)
                    .arg(pages));
        // The engine counts two changes or more when it merged something.
        if (totalChanges(db) - before >= 2)
            return true;
    }
    return false;
}

QStringList Search::triggerNames() {
    QStringList names;
    QStringList tables;
    for (const PieceTable& table : pieceTables())
        tables << table.name;
    for (const PairTable& table : pairTables())
        tables << table.name;
    for (const SearchIndex& index : indexes() + wordIndexes())
        tables << index.name;
    for (const WordList& list : wordLists())
        tables << list.table;
    for (const QString& table : tables) {
        for (const char* event : {"Inclui", "Exclui", "Altera"})
            names << trigger(table, event);
    }
    // A word's trigrams are only added and removed, by triggers on the word list.
    for (const WordList& list : wordLists())
        names << trigger(list.trigrams, "Inclui") << trigger(list.trigrams, "Exclui");
    return names;
}

QStringList Search::indexNames() {
    QStringList names;
    for (const PairTable& table : pairTables())
        names << secondWordIndex(table);
    return names;
}

void Search::drop(QSqlDatabase& db) {
    for (const QString& name : triggerNames())
        run(db, QStringLiteral("DROP TRIGGER IF EXISTS %1").arg(name));
    for (const SearchIndex& index : everyIndex())
        run(db, QStringLiteral("DROP TABLE IF EXISTS %1").arg(index.name));
    for (const WordList& list : wordLists())
        run(db, QStringLiteral("DROP TABLE IF EXISTS %1").arg(list.table));
    for (const PieceTable& table : pieceTables())
        run(db, QStringLiteral("DROP TABLE IF EXISTS %1").arg(table.name));
    for (const PairTable& table : pairTables())
        run(db, QStringLiteral("DROP TABLE IF EXISTS %1").arg(table.name));
}

void Search::build(QSqlDatabase& db) {
    for (const SearchIndex& index : indexes() + wordIndexes())
        buildIndex(db, index);
    for (const WordList& list : wordLists())
        buildWords(db, list);
    for (const PieceTable& table : pieceTables())
        buildPieces(db, table);
    for (const PairTable& table : pairTables())
        buildPairs(db, table);
}

QString Search::trigramQuery(const QString& fragment) {
    // Code points, not UTF-16 units: the tokenizer counts characters.
    const QList<uint> codes = fragment.toUcs4();
    const std::u32string points(codes.begin(), codes.end());
    QStringList trigrams;
    for (size_t i = 0; i + 3 <= points.size(); ++i) {
        const QString trigram = QString::fromUcs4(points.data() + i, 3);
        const QString quoted = QLatin1Char('"') +
                               QString(trigram).replace(QLatin1Char('"'), QLatin1String("\"\"")) +
                               QLatin1Char('"');
        if (!trigrams.contains(quoted))
            trigrams << quoted;
    }
    return trigrams.join(QLatin1String(" AND "));
}

QString Search::termsOf(QSqlDatabase& db, const SearchIndex& index) {
    const QString table = index.name + QStringLiteral("Termos");
    run(db, QStringLiteral("CREATE VIRTUAL TABLE IF NOT EXISTS temp.%1 USING fts5vocab(main, %2, "
                           "row)")
                .arg(table, index.name));
    return table;
}

qint64 Search::orderPrefix(const QByteArray& utf8) {
    quint32 prefix = 0;
    for (int i = 0; i < 4; ++i)
        prefix = (prefix << 8) | (i < utf8.size() ? quint8(utf8[i]) : 0);
    return prefix;
}

QString Search::orderBound(qint64 rowid) {
    const quint32 prefix = quint32(quint64(rowid) >> codeBits);
    QByteArray bytes;
    for (int shift = 24; shift >= 0; shift -= 8)
        bytes += char((prefix >> shift) & 0xFF);
    while (!bytes.isEmpty() && bytes.back() == '\0')
        bytes.chop(1);
    // A character the four bytes cut through is left out: a shorter text still orders
    // before every name that begins with the bytes.
    qsizetype whole = 0;
    while (whole < bytes.size()) {
        const auto lead = quint8(bytes[whole]);
        const int length = lead < 0x80    ? 1
                           : lead >= 0xF0 ? 4
                           : lead >= 0xE0 ? 3
                           : lead >= 0xC0 ? 2
                                          : 0;
        if (length == 0 || whole + length > bytes.size())
            break;
        whole += length;
    }
    return QString::fromUtf8(bytes.left(whole));
}

QString Search::clubsLeftOut() {
    return QStringLiteral("select Codigo from Clubes where Codigo < 0 union all select Codigo "
                          "from Clubes where Codigo >= %1")
        .arg(codeLimit);
}

QString Search::candidateCodes(const SearchIndex& index, const QString& parameter) {
    if (!index.nameOrder)
        return QStringLiteral("select rowid from %1 where %1 match %2").arg(index.name, parameter);
    return QStringLiteral("select rowid & %1 from %2 where %2 match %3 union all %4")
        .arg(codeLimit - 1)
        .arg(index.name, parameter, clubsLeftOut());
}

QString Search::piecesTable() {
    return QStringLiteral("ClubesTrechosNome");
}

QString Search::joinsTable() {
    return QStringLiteral("ClubesJuncoesCompleto");
}

QByteArray Search::piecesOf(const QString& folded) {
    QStringList texts;
    for (quint64 key : pieceKeys(folded))
        texts << pieceText(key);
    return jsonArray(texts + joinsOf(folded));
}

QByteArray Search::joinsJson(const QString& folded) {
    return jsonArray(joinsOf(folded));
}

QString Search::namePairsTable() {
    return QStringLiteral("ClubesParesNome");
}

QString Search::fullPairsTable() {
    return QStringLiteral("ClubesParesCompleto");
}

QByteArray Search::pairsJson(const QString& folded) {
    QJsonArray pairs;
    for (const WordPair& pair : wordPairs(folded))
        pairs.append(QJsonArray{pair.first, pair.second});
    return QJsonDocument(pairs).toJson(QJsonDocument::Compact);
}

QString Search::reversed(const QString& text) {
    QList<uint> points = text.toUcs4();
    std::reverse(points.begin(), points.end());
    return QString::fromUcs4(reinterpret_cast<const char32_t*>(points.constData()), points.size());
}

QStringList Search::joinsOf(const QString& folded) {
    const QList<uint> points = folded.toUcs4();
    QStringList joins;
    for (qsizetype i = joinSide; i + joinSide < points.size(); ++i) {
        if (points[i] != u' ')
            continue;
        const QString join = QString::fromUcs4(
            reinterpret_cast<const char32_t*>(points.constData()) + i - joinSide, 2 * joinSide + 1);
        if (!joins.contains(join))
            joins << join;
    }
    return joins;
}

QByteArray Search::wordsJson(const QString& folded) {
    return jsonArray(wordsOf(folded));
}

QString Search::wordQuery(const QString& word) {
    const auto inWord = [](QChar c) {
        return c.unicode() >= 0x80 || c.isLetterOrNumber() ||
               (c.unicode() != 0 && std::strchr(wordCharacters, char(c.unicode())) != nullptr);
    };
    QStringList tokens;
    QString token;
    for (const QChar c : word + QLatin1Char(' ')) {
        if (inWord(c)) {
            token += c;
        } else if (!token.isEmpty()) {
            tokens << QLatin1Char('"') + token + QLatin1Char('"');
            token.clear();
        }
    }
    return tokens.join(QLatin1String(" AND "));
}

} // namespace velmora
