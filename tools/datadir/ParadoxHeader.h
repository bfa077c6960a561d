#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace velmora::datadir::paradox {

// Field types of a Paradox table that the reader understands.
enum FieldType : unsigned char {
    Alpha = 0x01,
    Date = 0x02,
    Short = 0x03,
    Long = 0x04,
    Currency = 0x05,
    Number = 0x06,
    Logical = 0x09,
    AutoInc = 0x16,
};

struct Field {
    QByteArray name; // as stored: Windows-1252 bytes
    unsigned char type = 0;
    int size = 0;
};

// What the header of a Paradox data table (.DB) says, once it has been checked.
struct Layout {
    int version = 0; // file version id: 3 (3.0) to 12 (7.x)
    int recordSize = 0;
    int headerSize = 0;
    int blockSize = 0;
    int records = 0;
    QList<Field> fields;
};

// Checks that data is a whole Paradox data table before any library reads it: the
// header's sizes and field list agree with each other and with the file, and the
// chain of data blocks stays inside the file, visits each block once and holds the
// number of records the header states. Returns an empty text when it does, else the
// reason in Portuguese. Reads nothing outside data, so any bytes are safe to pass.
QString check(const QByteArray& data, Layout* layout = nullptr);

} // namespace velmora::datadir::paradox
