#include "tools/datadir/FileUndo.h"
#include "tools/datadir/Progress.h"

#include "core/Files.h"
#include "tools/datadir/DataDir.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_LINUX
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#endif

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

namespace {

// Copies one file into a new file. Unlike QFile::copy it does not flush every file to
// disk on its own: a folder of thousands of badges is synced once, at the end.
void copyFile(const QString& from, const QString& to, Undo& undo) {
    stopIfAsked();
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly))
        throw DataDirError(
            Exit::Failed,
            QStringLiteral("Não foi possível ler %1: %2").arg(from, source.errorString()));
    QFile target(to);
    // NewOnly: an existing file is never replaced, not even one that appeared meanwhile.
    if (!target.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        throw DataDirError(QFileInfo::exists(to) ? Exit::Refused : Exit::Failed,
                           QStringLiteral("Não foi possível criar o arquivo %1: %2. "
                                          "velmora-datadir nunca sobrescreve arquivos.")
                               .arg(to, target.errorString()));
    undo.addFile(to);
    constexpr qint64 chunk = 1 << 20;
    while (!source.atEnd()) {
        const QByteArray bytes = source.read(chunk);
        if (bytes.isEmpty() && source.error() != QFileDevice::NoError)
            throw DataDirError(
                Exit::Failed,
                QStringLiteral("Não foi possível ler %1: %2").arg(from, source.errorString()));
        if (target.write(bytes) != bytes.size())
            throw DataDirError(Exit::Failed, QStringLiteral("Não foi possível gravar %1: %2")
                                                 .arg(to, files::writeFailure(target, errno)));
    }
    if (!target.flush())
        throw DataDirError(Exit::Failed, QStringLiteral("Não foi possível gravar %1: %2")
                                             .arg(to, files::writeFailure(target, errno)));
}

} // namespace

int copyFolder(const QString& source, const QString& target, Undo& undo) {
    makeDir(target, undo);
    int copied = 0;
    const QDir from(source);
    QDirIterator it(source, QDir::Files | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString to = target + QLatin1Char('/') + from.relativeFilePath(file);
        if (it.fileInfo().path() != source)
            makeDir(QFileInfo(to).path(), undo);
        copyFile(file, to, undo);
        ++copied;
    }
    return copied;
}

bool syncToDisk(const QString& folder) {
#ifdef Q_OS_LINUX
    // One flush of the whole file system instead of one per file.
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return false;
    const bool written = ::syncfs(fd) == 0;
    ::close(fd);
    return written;
#else
    Q_UNUSED(folder);
    return true;
#endif
}

} // namespace velmora::datadir
