#pragma once

#include "tools/datadir/DataDir.h"

#include <QList>
#include <QString>

class QTextStream;

namespace velmora::datadir {

// What velmora-datadir prints for check, relocate, backup and restore; each returns
// the exit code (see Exit) and lets DataDirError through for the caller to print.
int checkCommand(const QString& dir, bool fix, CheckDepth depth, QTextStream& out);
int relocateCommand(const QString& dir, bool force, QTextStream& out);
int backupCommand(const QString& dir, const QString& dest, QTextStream& out);
int restoreCommand(const QString& backupFolder, const QString& dir, QTextStream& out);

// "218 países, 27 estados, ..."
QString describe(const Counts& counts);
// Problems as an aligned table: table, key, field, path, reason.
void printProblems(const QList<Problem>& problems, QTextStream& out);

} // namespace velmora::datadir
