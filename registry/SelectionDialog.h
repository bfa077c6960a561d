#pragma once

#include "platform/Form.h"

#include <QList>
#include <QPair>
#include <QRect>
#include <QString>
#include <QStringList>
#include <optional>

class QComboBox;
class QLabel;
class QPushButton;

namespace velmora {

class Query;
class Table;
class TFrmClubes;
class TFrmDm;
class VelmoraApp;

// A statement with its text parameters.
struct DialogStatement {
    QStringList lines;
    QList<QPair<QString, QString>> parameters; // name, value
};

// Runs a statement on a query object (close, clear, lines, parameters, execute,
// open) and stands on its first row. Throws StoreError.
void runStatement(Query& query, const DialogStatement& statement);

// What a value written on OK is taken from.
enum class PickPart {
    Text,    // the picked item
    Code,    // its first two characters (a state code)
    Picture, // the picture path found for it
};

// One selection dialog of the club editor, described as data: the four dialogs
// share one behaviour and differ only in what follows.
struct SelectionDef {
    const char* objectName;
    const char* caption;
    QSize clientSize;
    std::optional<QPoint> placedAt; // nullopt: desktop centre
    const char* background;         // built-in picture, nullptr for none
    Query TFrmDm::*query;           // list and picture path
    const char* listName;
    QRect listRect;
    const char* listSpoken;  // what a screen reader calls the list: the title beside it
    const char* previewName; // nullptr: no preview
    QRect previewRect;
    const char* previewSpoken;
    QRect okRect;
    // The list statement for the pending club row.
    DialogStatement (*listStatement)(const Table& clubs);
    // One list item from the current result row.
    QString (*item)(const Query& query);
    bool clearPreviewAfterFill;
    // Picture path of a picked item: its lines and the one parameter bound to part of it.
    QStringList pictureLines;
    const char* pictureParameter;
    PickPart pictureKey;
    const char* emptyMessage;
    QLabel* TFrmClubes::*editorPicture;         // loaded on OK, nullptr for none
    QList<QPair<const char*, PickPart>> writes; // fields of the pending row
    // The editor's follow-up once the dialog has closed, nullptr for none.
    void (*afterOk)(VelmoraApp& app, const QString& picked);
};

// The pattern every selection dialog follows: the editor opens it over a freshly
// read list, a pick previews its picture, OK writes the pending club row.
class SelectionDialog : public Form {
    Q_OBJECT
public:
    SelectionDialog(VelmoraApp& app, const SelectionDef& def);

    // The editor's opening handler: empties and refills the list, shows the dialog
    // with nothing picked. Failures go to the general error report.
    void open();
    // The picked item changed: preview its picture.
    void listChange();
    void BtnOkClick();

    const SelectionDef& def() const { return def_; }
    QComboBox* list() const { return list_; }
    QLabel* preview() const { return preview_; } // nullptr for the city dialog

    QLabel* Image1 = nullptr; // nullptr without a background
    QPushButton* BtnOk = nullptr;

private:
    void fillList();
    void clearPreview();
    QString keyOf(PickPart part, const QString& picked) const;
    QString picturePath(const QString& picked);
    void writeChoice(const QString& picked);

    VelmoraApp& app_;
    const SelectionDef& def_;
    QComboBox* list_ = nullptr;
    QLabel* preview_ = nullptr;
};

} // namespace velmora
