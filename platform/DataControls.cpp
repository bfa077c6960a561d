#include "platform/DataControls.h"

#include "platform/ErrorReport.h"
#include "store/Table.h"

#include <QFocusEvent>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSignalBlocker>
#include <utility>

namespace velmora {

namespace {

bool pending(const Table& table) {
    return table.state() != Table::State::Browse;
}

int fieldWidth(const Table& table, const QString& field) {
    for (const FieldDef& def : table.def().fields) {
        if (def.name.compare(field, Qt::CaseInsensitive) == 0)
            return def.type == FieldType::Text ? def.width : 11; // "-2147483648"
    }
    return 32767; // QLineEdit's own limit; the table refuses the unknown field itself
}

} // namespace

void fillList(QComboBox* list, Query& query, const QStringList& lines, const Query::Params& params,
              QString (*item)(const Query&)) {
    const QSignalBlocker quiet(list);
    list->clear();
    query.run(lines, params);
    QStringList items;
    for (; !query.eof(); query.next())
        items << (item != nullptr ? item(query) : query.field(0));
    query.close();
    list->addItems(items);
    list->setCurrentIndex(-1);
}

DbLineEdit::DbLineEdit(DataSource& source, QString field, Dialogs& dialogs, QWidget* parent)
    : QLineEdit(parent), source_(source), field_(std::move(field)), dialogs_(dialogs) {
    setMaxLength(fieldWidth(source_.table(), field_));
    connect(&source_, &DataSource::rowChanged, this, &DbLineEdit::refresh);
    connect(&source_, &DataSource::stateChanged, this, &DbLineEdit::followState);
    connect(this, &QLineEdit::textChanged, this, &DbLineEdit::writeBack);
    followState();
    refresh();
}

void DbLineEdit::refresh() {
    QString text;
    guard(dialogs_, [&] { text = source_.table().fieldText(field_); });
    // Same text: leave the box alone so the cursor does not jump while typing.
    if (text == this->text())
        return;
    showing_ = true;
    setText(text);
    showing_ = false;
    if (!hasFocus())
        setCursorPosition(0);
}

void DbLineEdit::focusOutEvent(QFocusEvent* e) {
    QLineEdit::focusOutEvent(e);
    // A box left for another window or a menu keeps its place for the return.
    if (e->reason() != Qt::ActiveWindowFocusReason && e->reason() != Qt::PopupFocusReason)
        setCursorPosition(0);
}

void DbLineEdit::followState() {
    setReadOnly(!pending(source_.table()));
}

void DbLineEdit::writeBack(const QString& text) {
    if (showing_ || !pending(source_.table()))
        return;
    // A refused text is reported and the box shows the buffer again.
    if (!guard(dialogs_, [&] { source_.table().setFieldText(field_, text); }))
        refresh();
}

DbComboBox::DbComboBox(DataSource& listSource, QString listField, DataSource& source, QString field,
                       Dialogs& dialogs, QWidget* parent)
    : ChoiceList(parent), listSource_(listSource), listField_(std::move(listField)),
      source_(source), field_(std::move(field)), dialogs_(dialogs) {
    connect(&source_, &DataSource::rowChanged, this, &DbComboBox::refresh);
    connect(this, &QComboBox::activated, this, &DbComboBox::pick);
    reloadList();
}

void DbComboBox::reloadList() {
    guard(dialogs_, [this] {
        QStringList items;
        Table& list = listSource_.table();
        for (list.first(); !list.eof(); list.next())
            items.append(list.fieldText(listField_));
        clear();
        addItems(items);
    });
    refresh();
}

void DbComboBox::refresh() {
    QString value;
    guard(dialogs_, [&] { value = source_.table().fieldText(field_); });
    setCurrentIndex(value.isEmpty() ? -1 : findText(value, Qt::MatchExactly));
}

void DbComboBox::pick(int index) {
    if (!pending(source_.table()) || index < 0) {
        refresh();
        return;
    }
    if (guard(dialogs_, [&] { source_.table().setFieldText(field_, itemText(index)); }))
        emit chosen();
    else
        refresh();
}

DbNavigator::DbNavigator(DataSource& source, Dialogs& dialogs, QWidget* parent)
    : QWidget(parent), source_(source), dialogs_(dialogs) {
    struct Look {
        const char* name;
        const char* glyph;
        const char* hint;
    };
    static constexpr Look looks[4] = {
        {"nbFirst", "|\u25C0", "Primeiro"},
        {"nbPrior", "\u25C0", "Anterior"},
        {"nbNext", "\u25B6", "Próximo"},
        {"nbLast", "\u25B6|", "Último"},
    };
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    for (int i = 0; i < 4; ++i) {
        auto* button = new QPushButton(QString::fromUtf8(looks[i].glyph), this);
        button->setObjectName(QString::fromLatin1(looks[i].name));
        button->setToolTip(QString::fromUtf8(looks[i].hint));
        button->setAccessibleName(button->toolTip());
        // Reached by Tab; a click leaves the focus where it was.
        button->setFocusPolicy(Qt::TabFocus);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        row->addWidget(button);
        buttons_[i] = button;
        connect(button, &QPushButton::clicked, this, [this, i] { press(Button(i)); });
    }
    connect(&source_, &DataSource::rowChanged, this, &DbNavigator::refresh);
    connect(&source_, &DataSource::stateChanged, this, &DbNavigator::refresh);
    refresh();
}

void DbNavigator::press(Button which) {
    if (!isEnabled() || !button(which)->isEnabled())
        return;
    const bool moved = guard(dialogs_, [&] {
        Table& table = source_.table();
        switch (which) {
        case Button::First:
            table.first();
            break;
        case Button::Prior:
            table.prior();
            break;
        case Button::Next:
            table.next();
            break;
        case Button::Last:
            table.last();
            break;
        }
    });
    refresh();
    if (moved)
        emit clicked(which);
}

void DbNavigator::refresh() {
    bool canBack = false;
    bool canForward = false;
    guard(dialogs_, [&] {
        const Table& table = source_.table();
        if (pending(table) || !table.hasRow())
            return;
        canBack = !table.atFirst();
        canForward = !table.atLast();
    });
    button(Button::First)->setEnabled(canBack);
    button(Button::Prior)->setEnabled(canBack);
    button(Button::Next)->setEnabled(canForward);
    button(Button::Last)->setEnabled(canForward);
}

} // namespace velmora
