#include "registry/SelectionDialog.h"

#include "platform/Captions.h"
#include "platform/Controls.h"
#include "platform/DataControls.h"
#include "platform/ErrorReport.h"
#include "platform/PictureBox.h"
#include "platform/Services.h"
#include "store/Module.h"

#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <algorithm>

namespace velmora {

SelectionDialog::SelectionDialog(Services& services, const SelectionDef& def)
    : Form(services.forms, QString::fromLatin1(def.window.name), QString::fromUtf8(def.caption),
           def.window.client, def.placedAt),
      services_(services), def_(def) {
    // No menu bar: the window is its client area. Fixed, so that placing it never
    // grows a low window (the city dialog) to a toolkit's minimum height.
    setFixedSize(def_.window.client);
    QWidget* area = client();
    if (def_.window.background != nullptr)
        Image1 = makeBackground(area, def_.window, services_.pictures, services_.dialogs);
    for (const layout::Place& place : def_.window.places) {
        switch (place.kind) {
        case layout::Kind::Picture:
            preview_ = makePicture(area, place);
            break;
        case layout::Kind::Combo:
            list_ = makeChoiceList(area, place);
            break;
        case layout::Kind::Button:
            BtnOk = makeButton(area, place);
            break;
        default: // a dialog has no other controls
            break;
        }
    }
    if (preview_ != nullptr)
        connect(list_, &QComboBox::currentIndexChanged, this, [this](int index) {
            if (index >= 0)
                listChange();
        });
    connect(BtnOk, &QPushButton::clicked, this, &SelectionDialog::BtnOkClick);
    setChoiceButton(BtnOk, QString::fromUtf8(def_.stayHint));
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
