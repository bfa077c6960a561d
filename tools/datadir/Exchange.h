#pragma once

#include <QChar>
#include <QList>
#include <QString>

namespace velmora::datadir {

struct ExportOptions {
    QString dir;  // the data directory
    QString file; // the CSV file to write; never overwritten
    QChar separator = QLatin1Char(';');
};

// Writes every club, all seventeen fields of Clubes.db in code order, as UTF-8 CSV
// with a header row; picture paths inside the data directory become relative to it.
// Returns the number of clubs written. Throws DataDirError.
int exportClubs(const ExportOptions& options);

// How the store's indexes, club counts and name search follow the imported rows: kept
// row by row, or dropped and built once after the rows (the same content, cheaper for
// many rows). Automatic rebuilds when the import is at least as big as the catalogue.
enum class IndexUpkeep { Automatic, PerRow, Rebuild };

struct ImportOptions {
    QString dir;
    QString file;
    QChar separator;     // null: the file's own, ';' or ','
    QString pictures;    // folder relative picture paths start from; empty: the CSV's folder
    int currentYear = 0; // for the age texts; 0: the system date's year
    IndexUpkeep indexes = IndexUpkeep::Automatic;
};

struct LineProblem {
    int line = 0;
    QString field; // empty when the whole line is at fault
    QString reason;
};

struct ImportReport {
    int added = 0;
    int renumbered = 0;          // clubs whose code was taken and got the next free one
    int badgesRenamed = 0;       // badges whose file name was taken in Distintivos/
    QList<LineProblem> problems; // not empty: nothing was changed
};

// Adds the clubs of a CSV file as the club editor would save them (ClubRules), each
// badge copied into Distintivos/ under a free name. All or nothing: any bad line
// leaves the store and the folder untouched and is listed in the report. Throws
// DataDirError when the store or the file cannot be opened at all.
ImportReport importClubs(const ImportOptions& options);

} // namespace velmora::datadir
