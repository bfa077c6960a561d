#pragma once

#include "store/Database.h"

#include <QString>
#include <QStringList>
#include <memory>

namespace velmora::datadir {

// The root folder a command works on: absolute and clean; fails (BadDir) when it
// is missing or not a folder.
QString existingDir(const QString& dir);

// Opens the store of root as the program does (checked, an older version
// upgraded); notice receives what the upgrade did. Throws DataDirError
// (Problems) when the store does not open.
std::unique_ptr<Database> openStore(const QString& root, QString* notice = nullptr);

// The engine's own integrity check of root's store: empty when sound, else
// what is damaged (or why the file does not open at all).
QStringList storeDamage(const QString& root);

// "select" on a store; throws StoreError.
QString quotedName(const QString& identifier);

} // namespace velmora::datadir
