#pragma once

#include <QString>

namespace velmora::bench {

// Fills the folder `dir` (which must not exist yet or be empty) with a complete data
// directory as velmora-datadir creates it (218 countries, 27 states, 35 federations)
// holding `clubs` clubs and national teams: 30 % Brazilian over the 27 states, the
// rest over the other countries with a few large and many small ones, 3 % national
// teams, 5 % extinct, foundation years 1850-2025, unique names, every badge a real
// JPEG of the badge folder; about one club in ten thousand has a country that is not
// in Paises.DB, and about as many have a "k", a "y" and a digit in their name. The same count
// always gives the same rows. Ages are those of 2024.
void makeStore(const QString& dir, int clubs);

// Other catalogue shapes, the same rows otherwise: "shared" names every club "Esporte
// Clube São" and two made-up words, "accented" gives every name an accented word,
// "country" puts every club in one foreign country, "state" every club in one
// Brazilian state. The default shape is "mixed" (the one described above).
enum class Shape { Mixed, SharedWords, Accented, OneCountry, OneState };
// The shape makeStore() and cachedStore() use: --velmora_shape=NAME or
// VELMORA_BENCH_SHAPE, read by takeShapeOption(); false for an unknown name.
bool setShape(const QString& name);
Shape shape();
QString shapeName();
// Reads and removes --velmora_shape=... from the command line; false for an unknown name.
bool takeShapeOption(int& argc, char** argv);

// A store of `clubs` clubs built once per process in a temporary folder (removed
// at exit); later calls with the same count return the same folder. With
// VELMORA_BENCH_STORES set, the stores are kept in <that folder>/<clubs>/ and reused
// by later runs (<folder>/<clubs>-<shape>/ for a shape other than the default).
QString cachedStore(int clubs);

// A store of `clubs` clubs where every club has a badge file of its own, as a real
// catalogue has (kept in <VELMORA_BENCH_STORES>/<clubs>-own-badges/ when that is set).
QString ownBadgeStore(int clubs);

// A new empty folder for one run's output. Nothing in it is deleted before the program
// ends: on ext4 without a journal, files are created several times more slowly for
// minutes after many were deleted, which would weigh on the benchmarks that follow.
QString scratchFolder();

// The year the generated ages are written for.
inline constexpr int generatedYear = 2024;

} // namespace velmora::bench
