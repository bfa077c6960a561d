#pragma once

#include "store/Schema.h"

#include <QObject>
#include <QString>
#include <QVariant>
#include <QVector>

namespace velmora {

class Database;

// A cursor over one table in key order (Codigo for Clubes, insertion order for the
// others), with a row buffer for append and edit. Fields are read and written as
// text; cancel discards everything set since append or edit.
class Table final : public QObject {
    Q_OBJECT
public:
    enum class State { Browse, Insert, Edit };

    Table(Database& db, const TableDef& def, QString objectName);

    const TableDef& def() const { return def_; }

    // Navigation; each emits rowChanged(). Moving in an empty table does nothing.
    void first();
    void prior();
    void next();
    void last();
    bool bof() const; // prior() was refused at the first row (or empty table)
    bool eof() const; // next() was refused at the last row (or empty table)
    int rowCount() const;
    bool isEmpty() const { return rowCount() == 0; }

    // Current row (the buffer while inserting or editing). Field names in any case.
    QString fieldText(const QString& field) const;
    // Only while inserting or editing. Refuses (StoreError, in Portuguese, naming the
    // field) text over the field's width, and text that is not a whole number for an
    // integer field ("" stores NULL). Nothing is stored until post().
    void setFieldText(const QString& field, const QString& text);

    State state() const { return state_; }
    void append(); // starts an empty row; the cursor shows it
    void edit();   // starts editing the current row; throws on an empty table
    void post();   // one transaction; back to Browse on the posted row
    void cancel(); // drops the pending row or changes; back to the row that was current
    void remove(); // deletes the current row; the next row (or the new last) becomes current

    // Re-reads the current row and the row count (after writes by statements).
    void refresh();

signals:
    void rowChanged();   // the current row or its values changed
    void stateChanged(); // Browse/Insert/Edit changed

private:
    // implementation detail is the store's choice
    struct Impl;
    Database& db_;
    TableDef def_;
    State state_ = State::Browse;
    QVector<QVariant> current_;  // values of the current stored row
    QVector<QVariant> buffer_;   // values being inserted or edited
    qint64 key_ = 0;             // key of the current stored row (rowid)
    bool hasRow_ = false;
    bool bof_ = true;
    bool eof_ = true;
    mutable int rowCount_ = -1;
    qint64 savedKey_ = 0;        // row to return to on cancel of an append
};

// Links a table to the controls bound to it.
class DataSource final : public QObject {
    Q_OBJECT
public:
    DataSource(Table& table, QString objectName);
    Table& table() const { return table_; }

signals:
    void rowChanged();
    void stateChanged();

private:
    Table& table_;
};

} // namespace velmora
