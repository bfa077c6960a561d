#include "registry/SelectionDialog.h"

#include "app/VelmoraApp.h"
#include "platform/ErrorReport.h"
#include "platform/Fonts.h"
#include "platform/Pictures.h"
#include "registry/Clubes.h"
#include "store/Module.h"

#include <QComboBox>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QSignalBlocker>

namespace velmora {

namespace {

QLabel* makePicture(QWidget* parent, const char* name, QRect place) {
    auto* picture = new QLabel(parent);
    picture->setObjectName(QString::fromLatin1(name));
    picture->setGeometry(place);
    picture->setScaledContents(true);
    return picture;
}

// Sets every field or none: a refused value puts back what was there.
void writeAll(Table& table, const QList<QPair<QString, QString>>& values) {
    QList<QPair<QString, QString>> before;
    for (const auto& [field, value] : values)
        before.append({field, table.fieldText(field)});
    try {
        for (const auto& [field, value] : values)
            table.setFieldText(field, value);
    } catch (...) {
        for (const auto& [field, value] : before)
            table.setFieldText(field, value);
        throw;
    }
}

} // namespace

void runStatement(Query& query, const DialogStatement& statement) {
    query.close();
    query.clear();
    for (const QString& line : statement.lines)
        query.add(line);
    for (const auto& [name, value] : statement.parameters)
        query.bindText(name, value);
    query.execute();
    query.open();
}

SelectionDialog::SelectionDialog(VelmoraApp& app, const SelectionDef& def)
    : Form(app.forms, QString::fromLatin1(def.objectName), QString::fromUtf8(def.caption),
           def.clientSize, def.placedAt),
      app_(app), def_(def) {
    // No menu bar: the window is its client area. Fixed, so that placing it never
    // grows a low window (the city dialog) to a toolkit's minimum height.
    setFixedSize(def_.clientSize);
    QWidget* area = client();
    if (def_.background != nullptr) {
        Image1 = makePicture(area, "Image1", QRect(QPoint(0, 0), def_.clientSize));
        // Built-in artwork; a broken build shows the report instead of stopping start-up.
        guard(app_.dialogs, [this] {
            showPicture(app_.pictures, Image1, QString::fromLatin1(def_.background), true);
        });
    }
    if (def_.previewName != nullptr)
        preview_ = makePicture(area, def_.previewName, def_.previewRect);

    list_ = new QComboBox(area);
    list_->setObjectName(QString::fromLatin1(def_.listName));
    list_->setEditable(false);
    list_->setGeometry(def_.listRect);
    list_->setFont(pixelFont(QStringLiteral("Corbel"), 15, true));
    if (preview_ != nullptr)
        connect(list_, &QComboBox::currentIndexChanged, this, [this](int index) {
            if (index >= 0)
                listChange();
        });

    BtnOk = new QPushButton(QIcon(QStringLiteral(":/artwork/glyph-ok.png")), QStringLiteral("OK"),
                            area);
    BtnOk->setObjectName(QStringLiteral("BtnOk"));
    BtnOk->setGeometry(def_.okRect);
    connect(BtnOk, &QPushButton::clicked, this, &SelectionDialog::BtnOkClick);
    setWayOut(BtnOk);

    // A choice can only go into a row being inserted or edited: when that ends,
    // whatever is still open closes.
    if (app_.FrmClubes)
        connect(app_.FrmClubes.get(), &TFrmClubes::editingEnded, this,
                [this] { app_.forms.close(this); });
}

void SelectionDialog::clearPreview() {
    if (preview_ != nullptr)
        clearPicture(preview_);
}

void SelectionDialog::fillList() {
    Query& query = app_.dm().*def_.query;
    runStatement(query, def_.listStatement(app_.dm().TblClubes));
    QStringList items;
    for (; !query.eof(); query.next())
        items << def_.item(query);
    query.close(); // the list holds the rows now; no read is left open
    const QSignalBlocker quiet(list_);
    list_->addItems(items);
    list_->setCurrentIndex(-1);
}

void SelectionDialog::open() {
    guard(app_.dialogs, [this] {
        {
            const QSignalBlocker quiet(list_);
            list_->clear();
        }
        if (!def_.clearPreviewAfterFill)
            clearPreview();
        fillList();
        if (def_.clearPreviewAfterFill)
            clearPreview();
        app_.forms.show(this);
        list_->setFocus();
    });
}

QString SelectionDialog::keyOf(PickPart part, const QString& picked) const {
    return part == PickPart::Code ? picked.left(2) : picked;
}

QString SelectionDialog::picturePath(const QString& picked) {
    Query& query = app_.dm().*def_.query;
    runStatement(query,
                 {def_.pictureLines,
                  {{QString::fromLatin1(def_.pictureParameter), keyOf(def_.pictureKey, picked)}}});
    const QString path = query.field(0);
    query.close();
    return path;
}

void SelectionDialog::listChange() {
    guard(app_.dialogs, [this] {
        if (preview_ == nullptr || list_->currentIndex() < 0)
            return;
        showPicture(app_.pictures, preview_, picturePath(list_->currentText()), true);
    });
}

void SelectionDialog::writeChoice(const QString& picked) {
    // The path is read again for the item now picked: the query object is shared
    // with other windows, so its last result may be someone else's by now.
    const QString path = def_.pictureLines.isEmpty() ? QString() : picturePath(picked);
    QLabel* box =
        def_.editorPicture != nullptr ? app_.FrmClubes.get()->*def_.editorPicture : nullptr;
    // Decoded before anything is written: a picture that fails leaves the row as it was.
    const QImage picture = box != nullptr ? app_.pictures.load(path, box->size()) : QImage();

    QList<QPair<QString, QString>> values;
    for (const auto& [field, part] : def_.writes)
        values.append(
            {QString::fromLatin1(field), part == PickPart::Picture ? path : keyOf(part, picked)});
    writeAll(app_.dm().TblClubes, values);

    if (box != nullptr) {
        box->setScaledContents(true);
        box->setPixmap(QPixmap::fromImage(picture));
    }
}

void SelectionDialog::BtnOkClick() {
    guard(app_.dialogs, [this] {
        // Only a row being inserted or edited takes a choice; a stored row never does.
        if (app_.dm().TblClubes.state() == Table::State::Browse) {
            app_.forms.close(this);
            return;
        }
        const QString picked = list_->currentText();
        if (picked.isEmpty()) {
            app_.dialogs.message(QStringLiteral("Velmora"), QString::fromUtf8(def_.emptyMessage),
                                 MsgIcon::Information);
            return;
        }
        writeChoice(picked);
        app_.forms.close(this);
        if (def_.afterOk != nullptr)
            def_.afterOk(app_, picked);
        // Back to the editor, as when the user closes a window over it.
        TFrmClubes* editor = app_.FrmClubes.get();
        if (editor != nullptr && editor->isVisible())
            app_.forms.show(editor);
    });
}

} // namespace velmora
