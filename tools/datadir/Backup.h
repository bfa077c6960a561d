#pragma once

#include "tools/datadir/Relocate.h"

#include <QDateTime>
#include <QString>

namespace velmora::datadir {

struct BackupReport {
    QString folder;   // the new backup folder
    int clubs = 0;    // rows of Clubes in the copy
    int pictures = 0; // picture files copied
};

// Writes a consistent copy of dir's store (SQLite's online backup, safe while the
// program runs and writes) and its four picture folders into a new folder under
// dest named with the date and time (now). Never overwrites; on a failure removes
// what it made. Throws DataDirError.
BackupReport backup(const QString& dir, const QString& dest,
                    const QDateTime& now = QDateTime::currentDateTime());

struct RestoreReport {
    int clubs = 0;
    int pictures = 0;
    RelocateReport relocation; // paths pointed into dir (files the backup lacks listed)
};

// Lays out the backup folder as the data directory dir (refusing a dir that holds
// a store, or any file that would be replaced) and points every picture path into
// dir, that of a file the backup lacks included (listed in relocation.missing). Refuses
// a dir inside the backup; folders are compared with symbolic links resolved. On a failure removes
// what it made. Throws DataDirError.
RestoreReport restore(const QString& backupFolder, const QString& dir);

} // namespace velmora::datadir
