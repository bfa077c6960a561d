#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace velmora::datadir::paradox {

// A Paradox data table read whole: field names and texts converted from Windows-1252;
// numbers as qlonglong (double for Number), an empty field as a null QVariant.
struct Table {
    QString file; // the file name, for messages
    QStringList names;
    QList<unsigned char> types;
    QList<QList<QVariant>> rows;

    int column(const QString& name) const; // by name in any letter case; -1 when absent
};

// Checks the bytes first (ParadoxHeader.h) and only then hands them to pxlib.
// Throws DataDirError (Exit::Problems) naming the file when it is not a whole table.
Table read(const QByteArray& data, const QString& fileName);
Table readFile(const QString& path);

// Windows-1252, the code page of the tables' texts, both ways.
QString fromWindows1252(const QByteArray& bytes);
QByteArray toWindows1252(const QString& text);

} // namespace velmora::datadir::paradox
