#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

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

// How the bytes of a file without a byte-order mark are read. A mark (UTF-8, UTF-16,
// UTF-32) always decides.
enum class Encoding { Automatic, Utf8, Windows1252 };

struct Table {
    QChar separator;
    QString encoding;      // the encoding the text was read in, as a user names it
    QList<Record> records; // the header included, blank lines left out
    QList<LineError> errors;
};

// Reads RFC 4180 text: UTF-8, or UTF-16 or UTF-32 with their byte-order mark, or
// Windows-1252 when asked for or when the bytes can be nothing else (not UTF-8 and not
// one UTF-8 sequence in them). A null separator is taken from the first line: ';' or
// ',', whichever splits it. Never throws: what cannot be read is listed by line, and the
// records around it are still returned.
// With a sink, each record is handed to it as soon as it is read and not kept in the
// table, so a big file is never held whole as records.
using RecordSink = std::function<void(Record&)>;
Table read(QByteArray data, QChar separator = QChar(), Encoding encoding = Encoding::Automatic,
           const RecordSink& sink = {});

// Appends one record, ended by CRLF: the fields that need it quoted, and the fields
// marked in alwaysQuoted quoted whatever they hold (a spreadsheet then keeps them as
// text when told to, "025" and "49.205" included).
void appendRecord(QString& out, const QStringList& fields, QChar separator,
                  const QList<bool>& alwaysQuoted = {});

// A text a spreadsheet would run as a formula (leading '=', '+', '-', '@', tab or CR)
// gets an apostrophe in front; so does one whose leading apostrophes come before such a
// character, so that restored() gives back exactly what neutralised() was given.
QString neutralised(const QString& text);
QString restored(const QString& text);

inline constexpr char byteOrderMark[] = "\xEF\xBB\xBF";

} // namespace velmora::datadir::csv
