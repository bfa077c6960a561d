#pragma once

#include "tools/datadir/DataDir.h"

#include <QList>
#include <QMap>
#include <QString>

namespace velmora::datadir {

struct RelocateOptions {
    QString dir;
    bool force = false; // skip (and list) paths whose file is not in dir
    // Point a path whose file is not in dir at where it would be there (and list it):
    // a restored catalogue then names its missing files, not a folder to move from.
    bool pointMissing = false;
};

struct RelocateReport {
    QString dir;
    QMap<QString, int> from; // data directories the paths pointed into, with counts
    int changed = 0;         // paths rewritten
    int rows = 0;            // rows they belong to
    bool applied = false;    // false: blocked, nothing changed
    QList<Problem> blocking; // what stops it (nothing was changed)
    QList<Problem> skipped;  // with force: paths left as they were
    QList<Problem> missing;  // with pointMissing: pointed into dir, the file is not there
    QString upgradeNotice;   // what opening the store did to an older version
};

// Points every picture path of the six tables that lies in another data directory
// (a Linux or Windows path, picture folders in any letter case) at the same file
// inside dir, in one transaction. Changes nothing when a new path would not fit
// its field or (without force) a file is missing from dir. Throws DataDirError
// when the store cannot be opened.
RelocateReport relocate(const RelocateOptions& options);

} // namespace velmora::datadir
