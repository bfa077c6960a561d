#include "store/DataDirLock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSysInfo>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora {

namespace {

// What a lock path that is not a plain file is, in the user's words.
QString kindOf(mode_t mode) {
    if (S_ISLNK(mode))
        return QStringLiteral("um atalho (link simbólico)");
    if (S_ISDIR(mode))
        return QStringLiteral("uma pasta");
    if (S_ISFIFO(mode))
        return QStringLiteral("um canal (pipe)");
    return QStringLiteral("um arquivo especial");
}

enum class Leftover {
    Gone,    // no file any more (or another one took its place): look again
    Removed, // nobody held it: removed
    Held,    // a running program holds it
    Kept,    // free, but it cannot be removed (read-only folder)
};

bool sameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// A lock file left in the folder belongs to whoever holds the system's lock on it
// (QLockFile keeps one while its program runs); what it says about its owner
// proves nothing. Never blocks: a pipe put in its place is not waited on.
Leftover takeOver(const QByteArray& file) {
    const int flags = O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
    // Network file systems grant an exclusive lock only on a file open for writing.
    int fd = ::open(file.constData(), O_RDWR | flags);
    if (fd < 0 && (errno == EACCES || errno == EROFS))
        fd = ::open(file.constData(), O_RDONLY | flags);
    if (fd < 0)
        return errno == ENOENT ? Leftover::Gone : Leftover::Held;
    Leftover result = Leftover::Held;
    struct stat opened = {};
    struct stat current = {};
    if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode)) {
        result = Leftover::Gone;
    } else if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
        // Ours for a moment: remove it, unless another program has just put its own there.
        if (::lstat(file.constData(), &current) != 0 || !sameFile(current, opened))
            result = Leftover::Gone;
        else
            result = ::unlink(file.constData()) == 0 ? Leftover::Removed : Leftover::Kept;
    }
    // Any other failure to lock (a file system without locks) cannot tell a
    // running holder from a dead one: the folder is not taken.
    ::close(fd);
    return result;
}

} // namespace

DataDirLock::DataDirLock(const QString& dataDir) : dataDir_(QDir::cleanPath(dataDir)) {
    if (dataDir.isEmpty() || !QFileInfo(dataDir_).isDir())
        return;
    outcome_ = take();
}

DataDirLock::~DataDirLock() = default;

// Who holds the folder, as the lock file says: the computer and the process number.
void DataDirLock::readHolder() {
    qint64 pid = 0;
    QString host, app;
    if (!QLockFile(path()).getLockInfo(&pid, &host, &app) || pid <= 0)
        return;
    holderApp_ = app;
    if (!host.isEmpty() && host != QSysInfo::machineHostName())
        otherComputer_ = host;
    else
        holder_ = QStringLiteral("processo %1 neste computador").arg(pid);
}

QString DataDirLock::path() const {
    return QDir(dataDir_).filePath(QString::fromLatin1(fileName));
}

DataDirLock::Outcome DataDirLock::take() {
    const QByteArray file = QFile::encodeName(path());
    // A few rounds: another program starting at the same moment may take it between our looks.
    for (int round = 0; round < 3; ++round) {
        struct stat seen = {};
        if (::lstat(file.constData(), &seen) == 0) {
            if (!S_ISREG(seen.st_mode)) {
                kind_ = kindOf(seen.st_mode);
                return Outcome::NotAFile;
            }
            switch (takeOver(file)) {
            case Leftover::Held:
                readHolder();
                return Outcome::AlreadyOpen;
            case Leftover::Kept:
                return Outcome::CannotLock;
            case Leftover::Gone:
            case Leftover::Removed:
                break;
            }
        }
        auto lock = std::make_unique<QLockFile>(path());
        // Age never makes a lock stale: only the end of its holder does (above).
        lock->setStaleLockTime(0);
        if (lock->tryLock(0)) {
            lock_ = std::move(lock);
            return Outcome::Locked;
        }
        if (lock->error() != QLockFile::LockFailedError)
            return Outcome::CannotLock;
    }
    readHolder();
    return Outcome::AlreadyOpen;
}

QString DataDirLock::holder() const {
    if (!otherComputer_.isEmpty())
        return QStringLiteral("o computador %1").arg(otherComputer_);
    return holder_;
}

QString DataDirLock::message() const {
    // On a line of its own: the message box keeps a path whole.
    const QString folder = QDir::toNativeSeparators(dataDir_);
    const QString file = QDir::toNativeSeparators(path());
    switch (outcome_) {
    case Outcome::AlreadyOpen:
        if (heldByTool() && otherComputer_.isEmpty())
            return QStringLiteral("O %1 está alterando a pasta de dados\n%2\n%3Espere o comando "
                                  "terminar e abra o Velmora de novo.")
                .arg(QLatin1String(toolName), folder,
                     holder_.isEmpty() ? QString()
                                       : QStringLiteral("Quem a usa: %1.\n").arg(holder_));
        if (!otherComputer_.isEmpty())
            return QStringLiteral("O Velmora já está aberto com a pasta de dados\n%1\nno "
                                  "computador %2. Feche o Velmora naquele computador e abra este "
                                  "de novo: dois computadores não podem usar a mesma pasta de "
                                  "dados ao mesmo tempo.")
                .arg(folder, otherComputer_);
        return QStringLiteral(
                   "O Velmora já está aberto com a pasta de dados\n%1\n%2Só um Velmora pode usar "
                   "a pasta de dados de cada vez: use a janela que já está aberta, ou feche-a e "
                   "abra o Velmora de novo. Se nenhuma janela do Velmora estiver à vista, "
                   "o programa que segura a pasta ainda está rodando: encerre-o (ou reinicie o "
                   "computador) e abra o Velmora de novo.")
            .arg(folder,
                 holder_.isEmpty() ? QString() : QStringLiteral("Quem a usa: %1.\n").arg(holder_));
    case Outcome::CannotLock:
        return QStringLiteral("Não foi possível gravar na pasta de dados\n%1\n"
                              "Dê permissão de gravação à pasta e abra o Velmora de novo.")
            .arg(folder);
    case Outcome::NotAFile:
        return QStringLiteral(
                   "O Velmora não pode usar a pasta de dados %1: %2, que o Velmora usa para "
                   "saber se já está aberto, é %3, e não um arquivo comum.\nCom o Velmora "
                   "fechado, apague %2 (o Velmora cria outro ao abrir) e abra o Velmora de "
                   "novo.")
            .arg(folder, file, kind_);
    case Outcome::Locked:
    case Outcome::NoFolder:
        break;
    }
    return {};
}

} // namespace velmora
