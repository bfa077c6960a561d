#pragma once

#include "store/Statements.h"
#include "store/StoreError.h"

#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <memory>

namespace velmora {

class Database;

// A query object as the windows use it: the statement is built line by line,
// parameters are bound by name, and the open result is walked forward.
// A result with no row reads every column as empty text.
class Query final {
public:
    // A named parameter ("ESTADO" or ":ESTADO") and its value: text or a whole number.
    struct Param {
        Param(QString name, const QString& text);
        Param(QString name, qint64 number);
        QString name;
        QVariant value;
    };
    using Params = QList<Param>;

    Query(Database& db, QString objectName);
    ~Query();
    Query(const Query&) = delete;
    Query& operator=(const Query&) = delete;

    const QString& objectName() const { return name_; }

    // Statement as lines.
    void close(); // drops the open result, keeps the lines
    void clear(); // empties the lines (and the bindings)
    void add(const QString& line);
    const QStringList& lines() const { return lines_; }
    QString statement() const; // the lines joined by line breaks

    // Named parameters, without or with the leading colon ("ESTADO" or ":ESTADO").
    void bindText(const QString& name, const QString& value);
    void bindInt(const QString& name, qint64 value);

    // execute() accepts a select and has no effect on any table; open() runs the
    // statement and stands on the first row. Throws StoreError.
    void execute();
    void open();
    // The one way a statement runs: close, clear, add each line, bind each parameter,
    // execute and open (standing on the first row). Throws StoreError. A statement of
    // the store's (Statements) may run through its faster equivalent.
    void run(const Statement& statement, const Params& params = {});

    bool isOpen() const;
    bool eof() const; // set when moved forward from the last row, or no row at all
    void next();
    bool isEmpty() const; // the open result has no row
    int rowCount();       // rows of the open result (counts once, then cached)

    // What the open result ran: the store's statement through its shortcut, or not.
    bool ranShortcut() const { return shortcut_; }
    const QStringList& ranLines() const { return ranLines_; }
    // The engine's account of how it runs what the open result ran, one step a line.
    QStringList queryPlan() const;

    QString field(int column) const; // by position, 0-based; "" past the end or with no row
    // Case-insensitive alias or column name; throws StoreError for a name the result lacks.
    QString fieldByName(const QString& column) const;
    int columnCount() const;

private:
    void bind(const QString& name, const QVariant& value);
    // Chooses what runs: the statement, or its shortcut's equivalent.
    void plan();
    // What plan() chose, translated, prepared forward-only and bound; `wrapper`
    // ("...%1...") wraps the translated text.
    std::unique_ptr<QSqlQuery> prepared(const QString& wrapper = {}) const;
    bool isSelect() const;
    // Reads up to readAhead rows into ahead_; a statement read to its end is finished
    // at once, so a short result never keeps the store's snapshot pinned.
    void readAhead();
    StoreError failure(const QString& why) const;

    static constexpr int readAheadRows = 64;

    Database& db_;
    QString name_;
    QStringList lines_;
    Statement named_; // the store's statement the lines are, if they are one
    QVector<QPair<QString, QVariant>> bindings_;
    // What runs: lines_ and bindings_, or the shortcut's equivalent.
    QStringList ranLines_;
    QVector<QPair<QString, QVariant>> ranBindings_;
    bool shortcut_ = false;
    std::unique_ptr<QSqlQuery> query_; // null once read to the end
    QVector<QString> row_;             // current row as text
    QList<QVector<QString>> ahead_;    // rows read but not yet reached
    QStringList columns_;              // result column names
    bool open_ = false;
    bool eof_ = true;
    bool empty_ = true;
    int position_ = 0; // 0-based index of the current row
    int rowCount_ = -1;
};

} // namespace velmora
