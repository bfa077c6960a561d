#include "bench/Words.h"

#include "store/Database.h"
#include "store/Folding.h"
#include "store/Names.h"
#include "store/Query.h"
#include "store/Search.h"
#include "store/Statements.h"

#include <QHash>
#include <QRegularExpression>
#include <algorithm>
#include <map>
#include <memory>

namespace velmora::bench {

namespace {

// Letters in the order they are rare in Portuguese names: the first absent one is found
// after few searches.
const QString rareLetters = QStringLiteral("kwyxqzjhfvbgpdmnlrtscoeiau");

QString value(Database& db, const QString& sql) {
    return db.value(sql).toString();
}

// The commonest of `keys`, ties to the first in text order.
QString commonest(const QHash<QString, int>& counts) {
    QString best;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        const int n = counts.value(best);
        if (best.isEmpty() || it.value() > n || (it.value() == n && it.key() < best))
            best = it.key();
    }
    return best;
}

// The words of the first names of the catalogue in `column`.
QList<QStringList> firstNames(Database& db, const char* column) {
    Query names(db, QStringLiteral("Nomes"));
    names.run({QStringLiteral("select %1 from clubes.db limit 20000").arg(QLatin1String(column))});
    static const QRegularExpression separator(QStringLiteral("[^\\w]+"),
                                              QRegularExpression::UseUnicodePropertiesOption);
    QList<QStringList> words;
    for (; !names.eof(); names.next())
        words << names.field(0).split(separator, Qt::SkipEmptyParts);
    return words;
}

// The commonest word of four letters or more among the first names of the catalogue,
// as it is written in the first name that holds it.
QString commonWord(const QList<QStringList>& names) {
    QHash<QString, int> counts;
    QHash<QString, QString> spelling;
    for (const QStringList& words : names) {
        for (const QString& word : words) {
            if (word.size() < 4)
                continue;
            const QString key = foldedText(word);
            ++counts[key];
            spelling.insert(key, spelling.value(key, word));
        }
    }
    return spelling.value(commonest(counts)).toLower();
}

// The first and third word of the commonest three first words: words many names hold,
// which a name holds together only when the second word is left out.
QString apartWords(const QList<QStringList>& names) {
    QHash<QString, int> counts;
    for (const QStringList& words : names) {
        if (words.size() >= 3)
            ++counts[(words[0] + u' ' + words[2]).toLower()];
    }
    return commonest(counts);
}

// Words `second` and `first` (in that order) of the commonest such pair of first words.
QString swappedWords(const QList<QStringList>& names, int first, int second) {
    QHash<QString, int> counts;
    for (const QStringList& words : names) {
        if (words.size() > std::max(first, second))
            ++counts[(words[second] + u' ' + words[first]).toLower()];
    }
    return commonest(counts);
}

// The character of `pattern` (a GLOB class) the fewest folded names hold, "" for none.
QString rarePiece(Database& db, const char* pattern) {
    return value(db, QStringLiteral("select lower(Trecho) from %1 where Trecho glob '%2' order "
                                    "by Qtde, Trecho limit 1")
                         .arg(Search::piecesTable(), QLatin1String(pattern)));
}

// Whether the name search ("Pesquisar") finds no club for the fragment.
bool noNameHolds(Database& db, const QString& fragment) {
    Query search(db, QStringLiteral("Pesquisa"));
    search.run(Statements::clubsByName(),
               {{Statements::clubsByName().parameter(), QLatin1Char('%') + fragment + u'%'}});
    return search.isEmpty();
}

// The first candidate no name holds, "" when every one is held.
QString firstAbsent(Database& db, const QStringList& candidates) {
    for (const QString& candidate : candidates) {
        if (noNameHolds(db, candidate))
            return candidate;
    }
    return {};
}

QStringList letters() {
    QStringList list;
    for (QChar c : rareLetters)
        list << QString(c);
    return list;
}

QStringList pairs() {
    QStringList list{QStringLiteral("wy")};
    for (QChar a : rareLetters)
        for (QChar b : rareLetters)
            list << QString(a) + b;
    return list;
}

QStringList longer() {
    QStringList list{QStringLiteral("xique")};
    for (QChar a : rareLetters.left(8))
        for (QChar b : rareLetters.left(8))
            list << QString(a) + b + a;
    return list;
}

Words read(const QString& dir) {
    Database db(dir);
    Words w;
    const qint64 last = db.value(QStringLiteral("select max(Codigo) from Clubes")).toLongLong();
    const auto lastWord = [&](qint64 code) {
        return value(db, QStringLiteral("select NomeClube from Clubes where Codigo >= %1 order "
                                        "by Codigo limit 1")
                             .arg(code))
            .section(QLatin1Char(' '), -1);
    };
    w.rareName = lastWord(last / 2);
    w.lateFull = lastWord(last);
    const QList<QStringList> names = firstNames(db, "NomeClube");
    w.commonName = commonWord(names);
    w.longerWord = w.commonName + u's';
    w.apartName = apartWords(names);
    const QList<QStringList> fullNames = firstNames(db, "NomeCompletoClube");
    w.apartFull = apartWords(fullNames);
    w.swappedName = swappedWords(names, 0, 1);
    w.swappedFull = swappedWords(fullNames, 0, 1);
    w.swappedLater = swappedWords(fullNames, 1, 2);
    w.rareLetter = rarePiece(db, "[A-Z]");
    w.rareDigit = rarePiece(db, "[0-9]");
    w.absent1 = firstAbsent(db, letters());
    w.absent2 = firstAbsent(db, pairs());
    w.absent3 = firstAbsent(db, longer());
    const QString clubsByCountry =
        QStringLiteral("select PaisClube from Clubes where Identificador = 0 and PaisClube in "
                       "(select NomePais from Paises) group by PaisClube order by count(*) %1, "
                       "PaisClube limit 1");
    w.bigCountry = value(db, clubsByCountry.arg(QStringLiteral("desc"))).left(3).toLower();
    w.fewCountry = value(db, clubsByCountry.arg(QString()));
    w.bigState = value(db, QStringLiteral("select UFClube from Clubes where PaisClube = '%1' "
                                          "and Identificador = 0 group by UFClube order by "
                                          "count(*) desc, UFClube limit 1")
                               .arg(brasil))
                     .toLower();
    w.year = value(db, QStringLiteral("select AnoFundacao from Clubes where Identificador = 0 "
                                      "and AnoFundacao is not null group by AnoFundacao order "
                                      "by count(*) desc, AnoFundacao limit 1"));
    w.federation = value(db, QStringLiteral("select Federacao from Clubes where Identificador = "
                                            "0 group by Federacao order by count(*) desc, "
                                            "Federacao limit 1"));
    return w;
}

} // namespace

const Words& wordsOf(const QString& dir) {
    static std::map<QString, std::unique_ptr<Words>> read_;
    auto& words = read_[dir];
    if (!words)
        words = std::make_unique<Words>(read(dir));
    return *words;
}

} // namespace velmora::bench
