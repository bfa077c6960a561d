#pragma once

#include "store/Error.h"

#include <QString>
#include <QVariantList>

class QSqlDatabase;
class QSqlError;
class QSqlQuery;
struct sqlite3;

namespace velmora {

// The store's one way to fail: the engine's message, in Portuguese, ready for
// the general error report.
class StoreError final : public Error {
public:
    using Error::Error;
};

// An engine failure told in Portuguese: what happened and what the user can do
// (by the engine's error code), then the engine's own words for whoever helps.
QString engineMessage(const QSqlError& error);
// The same for a failure the engine reports by code and text only; systemError is
// the system's error number behind an input/output failure (sqlite3_system_errno).
QString engineMessage(int code, const QString& engineText, int systemError = 0);
// The same, reading from the connection what the driver left out: the code of a
// failed commit, the system's error number behind a failed write.
QString engineMessage(const QSqlDatabase& db, const QSqlError& error);

// A write that found no room: the engine's SQLITE_FULL, or a system error that
// means the same (no space, quota exceeded, larger than the file system allows).
bool isDiskFull(int engineCode, int systemError);
bool isDiskFullErrno(int systemError);
// What the user is told then, wherever it happens: one text for the whole program.
QString diskFullText();

// The engine's own handle behind a Qt connection; null when it has none.
sqlite3* engineHandle(const QSqlDatabase& db);

// Runs one statement with its positional values, ready to read forward; a failure
// throws StoreError with the engine's message and the statement.
QSqlQuery runStatement(QSqlDatabase& db, const QString& sql, const QVariantList& values = {});

} // namespace velmora
