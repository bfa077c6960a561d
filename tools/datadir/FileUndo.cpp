#include "tools/datadir/FileUndo.h"

#include "tools/datadir/DataDir.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

namespace velmora::datadir {

Undo::~Undo() {
    if (kept_)
        return;
    for (auto it = files_.crbegin(); it != files_.crend(); ++it)
        QFile::remove(*it);
    for (auto it = dirs_.crbegin(); it != dirs_.crend(); ++it)
        QDir().rmdir(*it);
}

void makeDir(const QString& path, Undo& undo) {
    QStringList missing;
    for (QString p = path; !QFileInfo::exists(p); p = QFileInfo(p).path()) {
        missing.prepend(p);
        if (QFileInfo(p).path() == p)
            break;
    }
    if (QFileInfo::exists(path) && !QFileInfo(path).isDir())
        throw DataDirError(Exit::BadDir, QStringLiteral("%1 não é uma pasta.").arg(path));
    for (const QString& dir : missing) {
        if (!QDir().mkdir(dir))
            throw DataDirError(Exit::BadDir,
                               QStringLiteral("Não foi possível criar a pasta %1: sem permissão "
                                              "de escrita, ou parte do caminho não é uma pasta.")
                                   .arg(dir));
        undo.addDir(dir);
    }
}

int copyFolder(const QString& source, const QString& target, Undo& undo) {
    makeDir(target, undo);
    int copied = 0;
    QDirIterator it(source, QDir::Files | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString from = it.next();
        const QString to = target + QLatin1Char('/') + QDir(source).relativeFilePath(from);
        makeDir(QFileInfo(to).path(), undo);
        if (QFileInfo::exists(to))
            throw DataDirError(Exit::Refused,
                               QStringLiteral("O arquivo %1 já existe. velmora-datadir nunca "
                                              "sobrescreve arquivos.")
                                   .arg(to));
        QFile file(from);
        // QFile::copy never replaces a file, not even one that appeared meanwhile.
        if (!file.copy(to))
            throw DataDirError(Exit::Failed,
                               QStringLiteral("Não foi possível copiar %1 para %2: %3")
                                   .arg(from, to, file.errorString()));
        undo.addFile(to);
        ++copied;
    }
    return copied;
}

} // namespace velmora::datadir
