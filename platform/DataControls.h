#pragma once

#include "platform/Controls.h"
#include "store/Query.h"

#include <QComboBox>
#include <QLineEdit>
#include <QString>
#include <QWidget>

class QPushButton;

namespace velmora {

class DataSource;
class Dialogs;
class Table;

// A text box bound to one field of a data source's current row: it shows the field
// (the pending buffer while inserting or editing) and, only while the table inserts
// or edits, writes what is typed back into the buffer. Typing is limited to the
// field's width; in browse mode the box is read-only. Out of the user's hands it shows
// the beginning of its text.
class DbLineEdit final : public QLineEdit {
    Q_OBJECT
public:
    // Write failures (refused by the table) go to the general error report.
    DbLineEdit(DataSource& source, QString field, Dialogs& dialogs, QWidget* parent = nullptr);

    const QString& field() const { return field_; }
    // Shows the field of the current row again.
    void refresh();

protected:
    void focusOutEvent(QFocusEvent* e) override;

private:
    void writeBack(const QString& text);
    void followState();

    DataSource& source_;
    QString field_;
    Dialogs& dialogs_;
    bool showing_ = false; // set while refresh() puts the row's text in
};

// A drop-down list without free typing: its items are one column of another table
// (walked in that table's order), its value is one field of the current row.
// A pick writes the field while the row is inserted or edited, then emits chosen().
class DbComboBox final : public ChoiceList {
    Q_OBJECT
public:
    DbComboBox(DataSource& listSource, QString listField, DataSource& source, QString field,
               Dialogs& dialogs, QWidget* parent = nullptr);

    // Reads the list again from the list table.
    void reloadList();
    // Selects the item equal to the field of the current row (none when it has no item).
    void refresh();

signals:
    // After a pick has been written into the pending row.
    void chosen();

private:
    void pick(int index);

    DataSource& listSource_;
    QString listField_;
    DataSource& source_;
    QString field_;
    Dialogs& dialogs_;
};

// The record navigator: First, Prior, Next and Last move the table's current row;
// a button that cannot move from the current row is disabled (all four on an empty
// table or while a row is pending). clicked() comes after the move.
class DbNavigator final : public QWidget {
    Q_OBJECT
public:
    enum class Button { First, Prior, Next, Last };

    DbNavigator(DataSource& source, Dialogs& dialogs, QWidget* parent = nullptr);

    QPushButton* button(Button which) const { return buttons_[int(which)]; }
    // Moves as if the button had been pressed (a disabled button does nothing).
    void press(Button which);
    // Enables exactly the buttons that can move from the current row.
    void refresh();

signals:
    void clicked(velmora::DbNavigator::Button which);

private:
    DataSource& source_;
    Dialogs& dialogs_;
    QPushButton* buttons_[4] = {};
};

// Empties a list and fills it from a statement, one item per row in the order the
// engine returns them (item reads the row; the first column when null). Nothing is
// picked and the list's own signals stay quiet: only a pick by the user runs its
// handlers. The query is closed afterwards, so no read is left open.
void fillList(QComboBox* list, Query& query, const QStringList& lines,
              const Query::Params& params = {}, QString (*item)(const Query&) = nullptr);

} // namespace velmora
