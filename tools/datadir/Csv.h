#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace velmora::datadir::csv {

// One record of a CSV file and the line it starts on (1-based; quoted line breaks
// make a record span several lines).
struct Record {
    int line = 0;
    QStringList fields;
};

struct LineError {
    int line = 0;
    QString reason;
};

struct Table {
    QChar separator;
    QList<Record> records; // the header included, blank lines left out
    QList<LineError> errors;
};

// Reads RFC 4180 text in UTF-8, with or without the byte-order mark. A null separator
// is taken from the first line: ';' or ',', whichever splits it. Never throws: what
// cannot be read is listed by line, and the records around it are still returned.
Table read(const QByteArray& data, QChar separator = QChar());

// Appends one record, quoting the fields that need it, ended by CRLF.
void appendRecord(QString& out, const QStringList& fields, QChar separator);

inline constexpr char byteOrderMark[] = "\xEF\xBB\xBF";

} // namespace velmora::datadir::csv
