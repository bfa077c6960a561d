#include "registry/SelectionDialog.h"

#include "platform/Captions.h"
#include "platform/DataControls.h"
#include "platform/ErrorReport.h"
#include "platform/Fonts.h"
#include "platform/Pictures.h"
#include "platform/Services.h"
#include "store/Module.h"

#include <QComboBox>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <algorithm>

namespace velmora {

namespace {

QLabel* makePicture(QWidget* parent, const char* name, QRect place) {
    auto* picture = new QLabel(parent);
    picture->setObjectName(QString::fromLatin1(name));
    picture->setGeometry(place);
    picture->setScaledContents(true);
    return picture;
}

} // namespace

SelectionDialog::SelectionDialog(Services& services, const SelectionDef& def)
    : Form(services.forms, QString::fromLatin1(def.objectName), QString::fromUtf8(def.caption),
           def.clientSize, def.placedAt),
      services_(services), def_(def) {
    // No menu bar: the window is its client area. Fixed, so that placing it never
    // grows a low window (the city dialog) to a toolkit's minimum height.
    setFixedSize(def_.clientSize);
    QWidget* area = client();
    if (def_.background != nullptr) {
        Image1 = makePicture(area, "Image1", QRect(QPoint(0, 0), def_.clientSize));
        // Built-in artwork; a broken build shows the report instead of stopping start-up.
        guard(services_.dialogs, [this] {
            showPicture(services_.pictures, Image1, QString::fromLatin1(def_.background), true);
        });
    }
    if (def_.previewName != nullptr) {
        preview_ = makePicture(area, def_.previewName, def_.previewRect);
        preview_->setAccessibleName(QString::fromUtf8(def_.previewSpoken));
    }

    list_ = new QComboBox(area);
    list_->setObjectName(QString::fromLatin1(def_.listName));
    list_->setEditable(false);
    list_->setGeometry(def_.listRect);
    list_->setAccessibleName(QString::fromUtf8(def_.listSpoken));
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
}

void SelectionDialog::dismiss() {
    services_.forms.close(this);
}

void SelectionDialog::clearPreview() {
    if (preview_ != nullptr)
        clearPicture(preview_);
}

void SelectionDialog::fillList() {
    const DialogStatement statement = def_.listStatement(services_.dm().TblClubes);
    velmora::fillList(list_, services_.dm().*def_.query, statement.lines, statement.parameters,
                      def_.item);
}

void SelectionDialog::open(QSize pictureBox) {
    guard(services_.dialogs, [this, pictureBox] {
        pictureBox_ = pictureBox;
        {
            const QSignalBlocker quiet(list_);
            list_->clear();
        }
        if (!def_.clearPreviewAfterFill)
            clearPreview();
        fillList();
        if (def_.clearPreviewAfterFill)
            clearPreview();
        services_.forms.show(this);
        list_->setFocus();
    });
}

QString SelectionDialog::keyOf(PickPart part, const QString& picked) const {
    return part == PickPart::Code ? picked.left(2) : picked;
}

QString SelectionDialog::picturePath(const QString& picked) {
    Query& query = services_.dm().*def_.query;
    query.run(def_.pictureLines,
              {{QString::fromLatin1(def_.pictureParameter), keyOf(def_.pictureKey, picked)}});
    const QString path = query.field(0);
    query.close();
    return path;
}

void SelectionDialog::listChange() {
    guard(services_.dialogs, [this] {
        if (preview_ == nullptr || list_->currentIndex() < 0)
            return;
        showPicture(services_.pictures, preview_, picturePath(list_->currentText()), true);
    });
}

SelectionChoice SelectionDialog::choiceOf(const QString& picked) {
    // The path is read again for the item now picked: the query object is shared
    // with other windows, so its last result may be someone else's by now.
    const QString path = def_.pictureLines.isEmpty() ? QString() : picturePath(picked);
    SelectionChoice choice{picked, {}, {}};
    // Decoded before the choice is reported: a picture that fails leaves the row as it was.
    // Decoded for the screen's pixels, not the box's logical ones: sharp at 200 %.
    if (!pictureBox_.isEmpty()) {
        const qreal ratio = std::max<qreal>(1, devicePixelRatioF());
        choice.picture = services_.pictures.load(path, pictureBox_ * ratio);
        choice.picture.setDevicePixelRatio(ratio);
    }
    for (const auto& [field, part] : def_.writes)
        choice.fields.append(
            {QString::fromLatin1(field), part == PickPart::Picture ? path : keyOf(part, picked)});
    return choice;
}

void SelectionDialog::BtnOkClick() {
    guard(services_.dialogs, [this] {
        // Only a row being inserted or edited takes a choice; a stored row never does.
        if (services_.dm().TblClubes.state() == Table::State::Browse) {
            services_.forms.close(this);
            return;
        }
        const QString picked = list_->currentText();
        if (picked.isEmpty()) {
            services_.dialogs.message(programName, QString::fromUtf8(def_.emptyMessage),
                                      MsgIcon::Information);
            return;
        }
        const SelectionChoice choice = choiceOf(picked);
        services_.forms.close(this);
        emit chosen(choice);
    });
}

} // namespace velmora
