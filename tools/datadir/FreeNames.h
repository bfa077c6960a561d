#pragma once

#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QString>
#include <algorithm>

namespace velmora::datadir {

// Hands out file names still free in one folder: the name itself while free, else
// "name-2.ext", "name-3.ext"... Letter case is ignored, so the folder also survives a
// copy to Windows. Where each name's numbering stopped is remembered: a hundred
// thousand clubs sharing one badge file name cost no more than distinct names.
class FreeNames final {
public:
    void take(const QString& name) { taken_.insert(name.toLower()); }

    QString next(const QString& name) {
        QString candidate = name;
        if (taken_.contains(candidate.toLower())) {
            const QFileInfo info(name);
            const QString suffix =
                info.suffix().isEmpty() ? QString() : QLatin1Char('.') + info.suffix();
            int& n = nextNumber_[name.toLower()];
            n = std::max(n, 2);
            do
                candidate = info.completeBaseName() + QStringLiteral("-%1").arg(n++) + suffix;
            while (taken_.contains(candidate.toLower()));
        }
        take(candidate);
        return candidate;
    }

private:
    QSet<QString> taken_;
    QHash<QString, int> nextNumber_; // lower-case name -> next number to try
};

} // namespace velmora::datadir
