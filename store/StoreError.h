#pragma once

#include "store/Error.h"

#include <QString>
#include <QVariantList>

class QSqlDatabase;
class QSqlError;
class QSqlQuery;

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
// The same for a failure the engine reports by code and text only.
QString engineMessage(int code, const QString& engineText);

// Runs one statement with its positional values, ready to read forward; a failure
// throws StoreError with the engine's message and the statement.
QSqlQuery runStatement(QSqlDatabase& db, const QString& sql, const QVariantList& values = {});

} // namespace velmora
