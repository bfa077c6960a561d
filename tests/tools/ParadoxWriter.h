#pragma once

// Writes Paradox tables with pxlib, as a Windows catalogue would hold them: field
// names and texts in Windows-1252.
#include "tools/datadir/Paradox.h"

#include <QList>
#include <QString>
#include <QVariant>
#include <cstring>
#include <vector>

extern "C" {
#include <paradox.h>
}

namespace velmora::test {

struct PxField {
    QString name;
    char type; // pxfAlpha, pxfLong, pxfShort
    int size;
};

// Fields as the program declares them: texts of their width, integers as Long.
inline QList<PxField> pxFieldsOf(const TableDef& def) {
    QList<PxField> fields;
    for (const FieldDef& f : def.fields)
        fields.append({f.name, f.type == FieldType::Text ? char(pxfAlpha) : char(pxfLong),
                       f.type == FieldType::Text ? f.width : 4});
    return fields;
}

// rows: one QVariant per field; a null QVariant is an empty field.
inline bool writeParadox(const QString& path, const QList<PxField>& fields,
                         const QList<QList<QVariant>>& rows) {
    pxdoc_t* doc = PX_new();
    if (!doc)
        return false;
    // pxlib owns the field list and frees it with the document.
    auto* list = static_cast<pxfield_t*>(
        doc->malloc(doc, sizeof(pxfield_t) * size_t(fields.size()), "test fields"));
    for (qsizetype i = 0; i < fields.size(); ++i) {
        const QByteArray name = datadir::paradox::toWindows1252(fields[i].name);
        list[i].px_fname = static_cast<char*>(doc->malloc(doc, size_t(name.size()) + 1, "name"));
        std::memcpy(list[i].px_fname, name.constData(), size_t(name.size()) + 1);
        list[i].px_ftype = fields[i].type;
        list[i].px_flen = fields[i].size;
        list[i].px_fdc = 0;
    }
    if (PX_create_file(doc, list, int(fields.size()), path.toLocal8Bit().constData(),
                       pxfFileTypNonIndexDB) < 0) {
        PX_delete(doc);
        return false;
    }
    bool ok = true;
    for (const QList<QVariant>& row : rows) {
        std::vector<pxval_t> values(size_t(fields.size()));
        std::vector<pxval_t*> pointers;
        std::vector<QByteArray> texts(size_t(fields.size()));
        for (qsizetype i = 0; i < fields.size(); ++i) {
            pxval_t& v = values[size_t(i)];
            std::memset(&v, 0, sizeof v);
            v.type = fields[i].type;
            const QVariant& value = row.value(i);
            v.isnull = value.isNull() || value.toString().isEmpty();
            if (fields[i].type == pxfAlpha) {
                texts[size_t(i)] = datadir::paradox::toWindows1252(value.toString());
                v.value.str.val = texts[size_t(i)].data();
                v.value.str.len = int(texts[size_t(i)].size());
            } else {
                v.value.lval = long(value.toLongLong());
            }
            pointers.push_back(&v);
        }
        ok = PX_insert_record(doc, pointers.data()) >= 0 && ok;
    }
    PX_close(doc);
    PX_delete(doc);
    return ok;
}

} // namespace velmora::test
