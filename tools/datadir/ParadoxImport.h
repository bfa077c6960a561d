#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace velmora::datadir {

struct ParadoxImportOptions {
    QString source; // a data directory holding the six Paradox tables and their pictures
    QString dir;    // the new data directory
};

struct TableCount {
    QString file; // the source table
    int read = 0;
    int written = 0;
};

struct ParadoxImportReport {
    QList<TableCount> counts;
    int pictures = 0;       // picture files copied in
    QStringList notBrought; // everything left out or not found, one line each
};

// Builds a new data directory, as create does, from the six Paradox tables of source:
// every row of every table with its texts converted from Windows-1252, each picture
// the rows point to copied into the matching folder and the paths made to point there.
// Refuses a folder that already holds a store. A table that is missing, not a Paradox
// table, damaged or without a field the catalogue needs stops it before anything is
// written. Throws DataDirError.
ParadoxImportReport importParadox(const ParadoxImportOptions& options);

} // namespace velmora::datadir
