#pragma once

#include "store/Schema.h"

#include <QObject>
#include <QString>
#include <QVariant>
#include <QVector>
#include <memory>
#include <utility>

namespace velmora {

class Database;

// A cursor over one table in key order (Codigo for Clubes, insertion order for the
// others), with a row buffer for append and edit. Fields are read and written as
// text; cancel discards everything set since append or edit.
class Table final : public QObject {
    Q_OBJECT
public:
    enum class State { Browse, Insert, Edit };

    // Stands on no row until first() (the data module calls it once the store is checked).
    Table(Database& db, const TableDef& def, QString objectName);
    ~Table() override;

    const TableDef& def() const { return def_; }

    // Navigation in Browse state (throws while inserting or editing, so an unfinished
    // row is never stored or lost by a move); each emits rowChanged(). Moving in an
    // empty table does nothing.
    void first();
    void prior();
    void next();
    void last();
    bool bof() const;     // set by first() and by prior() refused at the first row (or empty)
    bool eof() const;     // set by last() and by next() refused at the last row (or empty)
    bool atFirst() const; // no row before the current one (true on an empty table)
    bool atLast() const;  // no row after the current one (true on an empty table)
    bool hasRow() const { return hasRow_; }
    // Rows in the table; counted again after any write, by this table or anyone else.
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

    // Re-reads the current row (after writes by statements or other connections);
    // a row gone meanwhile gives way to the next one, as remove() does.
    void refresh();
    // Moves to the row whose key (Codigo for Clubes, the row number for the others)
    // is key; returns false and stays where it is when there is none.
    bool seek(qint64 key);

signals:
    void rowChanged();   // the current row or its values changed
    void stateChanged(); // Browse/Insert/Edit changed

private:
    struct Impl;
    enum class Move { First, Last, After, Before, At };
    bool load(Move move, qint64 key = 0); // false (and nothing changed) when no such row
    void clearRow();
    void requireBrowse(const char* action) const;
    void setState(State state);
    int fieldIndex(const QString& field) const;
    QVariant parse(const FieldDef& field, const QString& text) const;
    void standAfterRemoval(qint64 goneKey);
    void invalidateCount() { rowCount_ = -1; }

    Database& db_;
    TableDef def_;
    std::unique_ptr<Impl> d_;
    State state_ = State::Browse;
    QVector<QVariant> current_; // values of the current stored row
    QVector<QVariant> buffer_;  // values being inserted or edited
    qint64 key_ = 0;            // key of the current stored row (rowid; Codigo for Clubes)
    bool hasRow_ = false;
    bool bof_ = true;
    bool eof_ = true;
    mutable int rowCount_ = -1;
    mutable std::pair<qint64, qint64> countStamp_{-1, -1};
    qint64 savedKey_ = 0; // row to return to on cancel of an append
    bool savedHasRow_ = false;
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
