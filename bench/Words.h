#pragma once

#include <QString>

namespace velmora::bench {

// What the benchmarks type, taken from the catalogue they run on, so that they run on
// any catalogue. Read once per data directory; reading writes nothing.
struct Words {
    QString commonName; // the commonest word of the names: many clubs
    QString rareName;   // the last word of one name, halfway through the codes: few clubs
    QString lateFull;   // the last word of the last club's name: found only at the end
    QString absent1;    // a letter no name holds
    QString absent2;    // a letter pair no name holds
    QString absent3;    // a fragment of three or more letters no name holds
    QString rareLetter; // the letter the fewest names hold (at least one)
    QString rareDigit;  // the digit the fewest names hold, "" when no name has one
    QString apartName;  // the first and third word of the commonest start of the names
    QString apartFull;  // the same for the full names: words they hold, never so together
    // Neighbouring words of the commonest start the other way round ("clube esporte"):
    // each word and even the characters around the space may be common, the text rare.
    QString swappedName;  // the first two words of the short names
    QString swappedFull;  // the first two words of the full names
    QString swappedLater; // the second and third words of the full names
    // The commonest word with a letter more ("clubes"): every trigram but the last is
    // common, and the last is held by many names too.
    QString longerWord;
    QString bigCountry; // the start of the name of the country with the most clubs
    QString fewCountry; // the country of Paises.DB with the fewest clubs (at least one)
    QString bigState;   // the state with the most Brazilian clubs
    QString year;       // the foundation year of the most clubs
    QString federation; // the federation of the most clubs
};

const Words& wordsOf(const QString& dir);

} // namespace velmora::bench
