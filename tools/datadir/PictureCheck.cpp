#include "tools/datadir/PictureCheck.h"

#include "core/Pictures.h"
#include "tools/datadir/EveryCore.h"

#include <QSet>
#include <new>

namespace velmora::datadir {

namespace {

QString loadFault(const QString& path) {
    try {
        Pictures::verify(path, PictureCheck::box);
        return QString();
    } catch (const PictureError& e) {
        return e.text();
    } catch (const std::bad_alloc&) {
        return QStringLiteral("Não foi possível carregar a imagem \"%1\": memória insuficiente "
                              "para ela.")
            .arg(path);
    }
}

} // namespace

void PictureCheck::checkAll(const QStringList& paths) {
    QStringList todo;
    QSet<QString> seen;
    for (const QString& p : paths) {
        if (p.isEmpty() || verdicts_.contains(p) || seen.contains(p))
            continue;
        seen.insert(p);
        todo.append(p);
    }
    QList<QString> faults(todo.size());
    onEveryCore(todo.size(), [&](qsizetype i) { faults[i] = loadFault(todo[i]); });
    for (qsizetype i = 0; i < todo.size(); ++i)
        verdicts_.insert(todo[i], faults[i]);
}

QString PictureCheck::fault(const QString& path) {
    const auto it = verdicts_.constFind(path);
    if (it != verdicts_.constEnd())
        return *it;
    return *verdicts_.insert(path, loadFault(path));
}

} // namespace velmora::datadir
