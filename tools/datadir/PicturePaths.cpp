#include "tools/datadir/PicturePaths.h"

#include "tools/datadir/DataDir.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace velmora::datadir {

const QList<PictureField>& pictureFields() {
    static const QList<PictureField> list = {
        {"Paises", {"CodPais", "NomePais"}, "BandeiraPais", false},
        {"UF", {"UF"}, "BandeiraUF", false},
        {"Federacao", {"NomeFederacao"}, "LogoFederacao", false},
        {"Clubes", {"Codigo", "NomeClube"}, "EscudoClube", false},
        {"Clubes", {"Codigo", "NomeClube"}, "BandeiraPais", false},
        {"Clubes", {"Codigo", "NomeClube"}, "BandeiraUF", true},
        {"Clubes", {"Codigo", "NomeClube"}, "LogoFederacao", false},
    };
    return list;
}

const QStringList& pictureFolders() {
    static const QStringList list = {QLatin1String(countryFlagsDir), QLatin1String(stateFlagsDir),
                                     QLatin1String(logosDir), QLatin1String(badgesDir)};
    return list;
}

namespace {

QString canonicalFolder(const QString& name) {
    for (const QString& folder : pictureFolders())
        if (folder.compare(name, Qt::CaseInsensitive) == 0)
            return folder;
    return {};
}

} // namespace

namespace {

// Last '/' or '\\' before position end (exclusive); -1 when none.
qsizetype lastSeparator(const QString& path, qsizetype end) {
    for (qsizetype i = end - 1; i >= 0; --i)
        if (path[i] == u'/' || path[i] == u'\\')
            return i;
    return -1;
}

} // namespace

std::optional<PathParts> splitPicturePath(const QString& path) {
    const qsizetype nameAt = lastSeparator(path, path.size());
    if (nameAt < 0 || nameAt + 1 == path.size())
        return std::nullopt;
    const qsizetype folderAt = lastSeparator(path, nameAt);
    const QString folder = canonicalFolder(path.mid(folderAt + 1, nameAt - folderAt - 1));
    if (folder.isEmpty())
        return std::nullopt;
    return PathParts{folderAt < 0 ? QString() : path.left(folderAt), folder, path.mid(nameAt + 1)};
}

bool insideDir(const QString& path, const QString& root) {
    if (path.isEmpty() || !QDir::isAbsolutePath(path))
        return false;
#ifdef Q_OS_WIN
    constexpr Qt::CaseSensitivity cs = Qt::CaseInsensitive;
#else
    constexpr Qt::CaseSensitivity cs = Qt::CaseSensitive;
#endif
    return QDir::cleanPath(path).startsWith(root + QLatin1Char('/'), cs);
}

QString realPath(const QString& path) {
    QString existing = QDir::cleanPath(path);
    QStringList rest;
    while (!QFileInfo::exists(existing)) {
        const QFileInfo info(existing);
        if (info.isRoot() || info.path() == existing)
            return QDir::cleanPath(path);
        rest.prepend(info.fileName());
        existing = info.path();
    }
    const QString real = QFileInfo(existing).canonicalFilePath();
    return rest.isEmpty() ? real : QDir::cleanPath(real + QLatin1Char('/') + rest.join(u'/'));
}

bool sameOrInside(const QString& path, const QString& folder) {
    const QString p = realPath(path), f = realPath(folder);
    return p == f || insideDir(p, f);
}

QString foreignRoot(const QString& path) {
    if (const auto parts = splitPicturePath(path))
        return parts->root.isEmpty() ? QStringLiteral(".") : parts->root;
    const qsizetype cut = lastSeparator(path, path.size());
    return cut < 0 ? QStringLiteral(".") : path.left(cut);
}

FolderIndex::FolderIndex(const QString& root) {
    const QDir dir(root);
    const QStringList present = dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& folder : pictureFolders()) {
        Folder f;
        f.path = dir.filePath(folder);
        if (!present.contains(folder)) { // a folder copied from Windows may be "DISTINTIVOS"
            const auto other = std::find_if(present.begin(), present.end(), [&](const QString& n) {
                return n.compare(folder, Qt::CaseInsensitive) == 0;
            });
            if (other != present.end())
                f.path = dir.filePath(*other);
        }
        for (const QString& name : QDir(f.path).entryList(QDir::Files | QDir::Hidden)) {
            f.exact.insert(name, name);
            f.fold[name.toLower()].append(name);
        }
        folders_.insert(folder, f);
    }
}

QString FolderIndex::find(const QString& folder, const QString& name) const {
    const auto f = folders_.find(folder);
    if (f == folders_.end())
        return {};
    if (f->exact.contains(name))
        return f->path + QLatin1Char('/') + name;
    const QStringList candidates = f->fold.value(name.toLower());
    // Two files differing only in case: which one was meant cannot be told.
    return candidates.size() == 1 ? f->path + QLatin1Char('/') + candidates.first() : QString();
}

QString FolderIndex::folderPath(const QString& folder) const {
    return folders_.value(folder).path;
}

QStringList FolderIndex::files(const QString& folder) const {
    return folders_.value(folder).exact.keys();
}

} // namespace velmora::datadir
