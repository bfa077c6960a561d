#pragma once

#include "tools/datadir/Csv.h"
#include "tools/datadir/Progress.h"

#include <QChar>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

namespace velmora::datadir {

struct ExportOptions {
    QString dir;  // the data directory
    QString file; // the CSV file to write; never overwritten
    QChar separator = QLatin1Char(';');
};

struct ExportReport {
    int clubs = 0;
    int pictures = 0;      // badge files written beside the CSV
    QString pictureFolder; // where: a folder named after the CSV, beside it
    QStringList missing;   // clubs whose badge file was not there to copy
};

// The folder an export of file writes its badges to: beside it, named after it.
QString exportPictureFolder(const QString& file);

// Writes every club, all seventeen fields of Clubes.db in code order, as UTF-8 CSV
// with a header row: every text quoted, a text a spreadsheet would run as a formula
// neutralised (csv::neutralised). Each badge file is copied once into
// exportPictureFolder(file) and its path written relative to the CSV, so the file and
// its folder move together; the other picture paths inside the data directory become
// relative to it. Throws DataDirError.
ExportReport exportClubs(const ExportOptions& options);

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
    csv::Encoding encoding = csv::Encoding::Automatic;
    // A row whose code is stored changes that club instead of adding one.
    bool update = false;
    // Called once every line is checked, before the first badge is copied (tests make
    // a copy fail there).
    std::function<void()> beforeCopies = {};
    // Told each step and how far it got; answering false stops the import before its
    // commit, with nothing changed (DataDirError).
    Progress progress = {};
};

struct LineProblem {
    int line = 0;
    QString field; // empty when the whole line is at fault
    QString reason;
};

struct ImportReport {
    int added = 0;
    int updated = 0;             // stored clubs changed (ImportOptions::update)
    int renumbered = 0;          // clubs whose code was taken and got the next free one
    int badgesRenamed = 0;       // badges whose file name was taken in Distintivos/
    QString encoding;            // what the file was read as
    QList<LineProblem> problems; // not empty: nothing was changed
};

// Adds the clubs of a CSV file as the club editor would save them (ClubRules), each
// badge checked as the editor checks a picture and copied into Distintivos/ under a
// free name. All or nothing: any bad line leaves the store and the folder untouched
// (no badge is copied before every line is found good) and is listed in the report.
// Throws DataDirError when the store or the file cannot be opened at all, or a copy or
// the store fails (nothing is changed then either).
ImportReport importClubs(const ImportOptions& options);

} // namespace velmora::datadir
