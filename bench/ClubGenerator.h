#pragma once

#include <QString>

namespace velmora::bench {

// Fills the folder `dir` with a complete data directory (the test store's reference
// rows and pictures) holding `clubs` plausible, uniquely named clubs and national
// teams: about half Brazilian over four states, some extinct, years 1860-2020, real
// badge files shared by many rows. The same count always gives the same rows.
void makeStore(const QString& dir, int clubs);

// A store of `clubs` clubs built once per process in a temporary folder (removed
// at exit); later calls with the same count return the same folder.
QString cachedStore(int clubs);

} // namespace velmora::bench
