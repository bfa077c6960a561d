#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace velmora::datadir {

// One of the seven columns of the six tables that hold a picture path.
struct PictureField {
    const char* table;
    QStringList key; // columns shown as the row's key
    const char* field;
    bool onlyBrasil; // required only when PaisClube is "Brasil"
};
const QList<PictureField>& pictureFields();

// The four picture folders of a data directory, as a data directory spells them.
const QStringList& pictureFolders();

// A picture path read as <root>/<folder>/<name> where folder is one of the four
// picture folders in any letter case; either separator, so "C:\Velmora\Bandeiras\bra.jpg"
// reads as root "C:\Velmora", folder "Bandeiras", name "bra.jpg".
struct PathParts {
    QString root;
    QString folder; // as pictureFolders() spells it
    QString name;
};
std::optional<PathParts> splitPicturePath(const QString& path);

// Whether path names a file inside the folder root (an absolute, clean path).
bool insideDir(const QString& path, const QString& root);

// path (absolute, clean) with symbolic links resolved, for a path that need not exist
// yet: its deepest existing folder is resolved and the rest appended.
QString realPath(const QString& path);

// Whether path is folder or lies inside it, symbolic links resolved on both sides.
bool sameOrInside(const QString& path, const QString& folder);

// The data directory a path outside root belongs to: the root of its picture
// folder, else the folder that holds it.
QString foreignRoot(const QString& path);

// The picture folders as they are on disk under root, indexed once so that
// many lookups cost no disk access; file names are matched exactly first,
// then in any letter case (a catalogue kept on Windows ignores case).
class FolderIndex final {
public:
    explicit FolderIndex(const QString& root);
    // Full path of <folder>/<name> under root when such a file exists; empty otherwise.
    QString find(const QString& folder, const QString& name) const;
    // Actual path of one picture folder under root (its canonical name when absent).
    QString folderPath(const QString& folder) const;
    // Every file directly in one picture folder.
    QStringList files(const QString& folder) const;

private:
    struct Folder {
        QString path;
        QHash<QString, QString> exact;    // name -> name
        QHash<QString, QStringList> fold; // lower-case name -> names
    };
    QHash<QString, Folder> folders_;
};

} // namespace velmora::datadir
