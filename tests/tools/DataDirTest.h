#pragma once

// Helpers shared by the velmora-datadir tests.
#include "store/Database.h"
#include "store/Schema.h"
#include "tools/datadir/DataDir.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QHash>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <QTextStream>
#include <QtTest>

namespace velmora::test {

using TsvRow = QHash<QString, QString>;

// A shipped table, as embedded in the tool.
inline QList<TsvRow> shippedTable(const QString& relative) {
    QFile file(QString::fromLatin1(datadir::shippedData) + QLatin1Char('/') + relative);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QTextStream in(&file);
    in.setEncoding(QStringConverter::Utf8);
    const QStringList header = in.readLine().split(QLatin1Char('\t'));
    QList<TsvRow> rows;
    while (!in.atEnd()) {
        const QStringList cells = in.readLine().split(QLatin1Char('\t'));
        TsvRow row;
        for (qsizetype i = 0; i < header.size() && i < cells.size(); ++i)
            row.insert(header[i], cells[i]);
        rows.append(row);
    }
    return rows;
}

// Rows of one SQLite statement, every column as text.
inline QList<QStringList> rowsOf(Database& db, const QString& sql) {
    QSqlQuery query(db.handle());
    if (!query.exec(sql))
        qFatal("%s: %s", qPrintable(sql), qPrintable(query.lastError().text()));
    QList<QStringList> rows;
    while (query.next()) {
        QStringList row;
        for (int i = 0; i < query.record().count(); ++i)
            row << query.value(i).toString();
        rows.append(row);
    }
    return rows;
}

// The declared fields of a table, quoted and comma-separated, for "select" lists: the
// store may keep columns of its own beside them.
inline QString declaredFields(const QString& table) {
    QStringList names;
    for (const FieldDef& f : Schema::table(table).fields)
        names << QLatin1Char('"') + f.name + QLatin1Char('"');
    return names.join(QStringLiteral(", "));
}

inline QStringList columnOf(Database& db, const QString& sql) {
    QStringList values;
    for (const QStringList& row : rowsOf(db, sql))
        values << row.value(0);
    return values;
}

inline QString valueOf(Database& db, const QString& sql) {
    return columnOf(db, sql).value(0);
}

// Every file and folder under dir (relative paths, sorted): what a run left behind.
inline QStringList treeOf(const QString& dir) {
    QStringList entries;
    QDirIterator it(dir, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        entries << QDir(dir).relativeFilePath(it.next());
    entries.sort();
    return entries;
}

inline QByteArray bytesOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline void writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

// A copy of the shipped data on disk, for runs that need a broken source.
inline void copyShippedData(const QString& target) {
    const QString root = QString::fromLatin1(datadir::shippedData);
    QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString to = target + QLatin1Char('/') + QDir(root).relativeFilePath(source);
        QDir().mkpath(QFileInfo(to).path());
        QVERIFY(QFile::copy(source, to));
        QFile::setPermissions(to, QFile::ReadOwner | QFile::WriteOwner);
    }
}

} // namespace velmora::test
