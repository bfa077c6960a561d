#pragma once

#include <QHash>
#include <QSize>
#include <QString>
#include <QStringList>

namespace velmora::datadir {

// Whether the club editor would take a picture file: the picture loader the editor shows
// it with verifies it (type read from the content, damage, the file size and pixel
// limits) as for a picture box. Verdicts are kept per file; many files are checked on
// every core at once.
class PictureCheck final {
public:
    static constexpr QSize box{96, 96};

    // Checks every file of paths not yet known.
    void checkAll(const QStringList& paths);
    // Why the editor would refuse path (the loader's own words); empty when it would
    // take it. Checks it now when not yet known.
    QString fault(const QString& path);

private:
    QHash<QString, QString> verdicts_;
};

} // namespace velmora::datadir
