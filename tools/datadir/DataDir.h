#pragma once

#include "store/Error.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

namespace velmora::datadir {

// Exit codes of velmora-datadir, also carried by DataDirError.
enum class Exit : int {
    Ok = 0,
    Problems = 1, // check found something wrong
    Usage = 2,    // unknown command, option or argument
    Refused = 3,  // the directory already holds a store, or a file would be overwritten
    BadDir = 4,   // not a folder, not writable, path too long
    Failed = 5,   // anything else went wrong while creating (nothing is left behind)
};

class DataDirError final : public Error {
public:
    DataDirError(Exit code, const QString& message) : Error(message), code_(code) {}
    Exit code() const { return code_; }

private:
    Exit code_;
};

// Where the shipped data is read from: the resources embedded in the tool.
inline constexpr const char* shippedData = ":/velmora-data";

// Folders of a data directory; Distintivos is the badge directory.
inline constexpr const char* countryFlagsDir = "Bandeiras";
inline constexpr const char* stateFlagsDir = "Estados";
inline constexpr const char* logosDir = "Federacoes";
inline constexpr const char* badgesDir = "Distintivos";

struct Counts {
    int countries = 0;
    int states = 0;
    int years = 0;
    int federations = 0;
    int cities = 0;
    int clubs = 0;
};

struct CreateOptions {
    QString dir;
    bool sample = false;
    int currentYear = 0; // for the sample's age texts; 0: the system date's year
    QString source = QString::fromLatin1(shippedData);
};

// Creates a complete data directory: the store with the six tables, the reference
// rows and their pictures copied into sub-folders (full paths in the rows), an
// empty or (with sample) filled badge directory. Never overwrites anything; on a
// failure removes exactly what it created. Throws DataDirError.
Counts create(const CreateOptions& options);

struct Problem {
    QString table; // table file name ("Paises.DB")
    QString key;
    QString field;
    QString path;
    QString reason;
};

struct CheckReport {
    Counts counts;
    int pictures = 0; // picture paths looked at
    QList<Problem> problems;
    QMap<QString, int> outside; // data directories paths point into instead, with counts
    QStringList strays;         // badge files no club names
    QStringList trashed;        // with fix: strays moved to the trash (or deleted)
    QString upgradeNotice;      // what opening did to an older store
    bool readOnly = false;      // the store or its folder cannot be written
};

// How far check looks into a picture: what a load checks before decoding (the
// file's size, its header by content, the pixel limit), or a full decode.
enum class CheckDepth { Header, Decode };

// Runs the engine's integrity check, opens the store as the program does (the
// data module) and checks every picture path of every row inside dir; paths
// outside dir are counted per foreign data directory. Lists badge files no club
// names; fix moves them to the trash. Throws DataDirError (Problems) when the
// store is damaged or cannot be opened.
CheckReport check(const QString& dir, bool fix = false, CheckDepth depth = CheckDepth::Header);

} // namespace velmora::datadir
