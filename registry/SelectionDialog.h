#pragma once

#include "layout/Place.h"
#include "platform/Form.h"
#include "store/Query.h"

#include <QImage>
#include <QList>
#include <QMetaType>
#include <QPair>
#include <QString>
#include <QStringList>
#include <optional>

class QComboBox;
class QLabel;
class QPushButton;

namespace velmora {

class Table;
class TFrmDm;
struct Services;

// A statement with its parameters.
struct DialogStatement {
    QStringList lines;
    Query::Params parameters;
};

// What a value written on OK is taken from.
enum class PickPart {
    Text,    // the picked item
    Code,    // its first two characters (a state code)
    Picture, // the picture path found for it
};

// A pick confirmed with OK: the fields it writes into the pending club row and its
// picture, decoded for the editor's box (null when the dialog has none).
struct SelectionChoice {
    QString picked;
    QList<QPair<QString, QString>> fields; // name, value
    QImage picture;
};

// One selection dialog of the club editor, described as data: the four dialogs
// share one behaviour and differ only in what follows.
struct SelectionDef {
    const layout::Window& window; // the list, the preview (none for the city) and "OK"
    const char* caption;
    std::optional<QPoint> placedAt; // nullopt: desktop centre
    Query TFrmDm::*query;           // list and picture path
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
    const char* stayHint;                       // why Esc does not close it
    QList<QPair<const char*, PickPart>> writes; // fields of the pending row
};

// The pattern every selection dialog follows: opened over a freshly read list, a pick
// previews its picture, OK reports the choice for the pending club row and closes.
class SelectionDialog : public Form {
    Q_OBJECT
public:
    SelectionDialog(Services& services, const SelectionDef& def);

    // Empties and refills the list, shows the dialog with nothing picked; OK decodes
    // the picked picture for a box of pictureBox (none when empty). Failures go to
    // the general error report.
    void open(QSize pictureBox = {});
    // Closes without a choice (the pending row it was opened for has ended or changed).
    void dismiss();
    // The picked item changed: preview its picture.
    void listChange();
    void BtnOkClick();

    const SelectionDef& def() const { return def_; }
    QComboBox* list() const { return list_; }
    QLabel* preview() const { return preview_; } // nullptr for the city dialog

    QLabel* Image1 = nullptr; // nullptr without a background
    QPushButton* BtnOk = nullptr;

signals:
    // OK with an item picked while a club row is pending; the dialog has closed.
    void chosen(const velmora::SelectionChoice& choice);

private:
    void fillList();
    void clearPreview();
    QString keyOf(PickPart part, const QString& picked) const;
    QString picturePath(const QString& picked);
    SelectionChoice choiceOf(const QString& picked);

    Services& services_;
    const SelectionDef& def_;
    QComboBox* list_ = nullptr;
    QLabel* preview_ = nullptr;
    QSize pictureBox_;
};

} // namespace velmora

Q_DECLARE_METATYPE(velmora::SelectionChoice)
