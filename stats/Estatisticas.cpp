#include "stats/Estatisticas.h"

#include "platform/Captions.h"
#include "platform/ErrorReport.h"
#include "platform/Fonts.h"
#include "platform/Services.h"
#include "stats/Canvas.h"
#include "store/Error.h"
#include "store/Module.h"

#include <QDate>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPdfWriter>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>
#include <QSvgGenerator>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

namespace velmora {

namespace {

// As large as this, or as the screen allows (at 200 % a small screen is half as wide):
// the maps and charts are drawn to whatever size the window has.
QSize windowSize() {
    constexpr QSize largest{880, 620};
    constexpr QSize smallest{560, 420};
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return largest;
    // Room for the caption and the frame the window manager adds.
    const QSize room = screen->availableSize() - QSize(24, 64);
    return largest.boundedTo(room).expandedTo(smallest);
}
// Saved pictures are drawn at this size whatever the window's.
constexpr QSize fileSize{1000, 640};

const QColor paper{246, 247, 243};

// Enter on a row of a table opens its item, as on the picture.
class NumbersTable final : public QTableWidget {
public:
    using QTableWidget::QTableWidget;
    std::function<void(int)> open;

protected:
    void keyPressEvent(QKeyEvent* e) override {
        if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && currentRow() >= 0 && open)
            open(currentRow());
        else
            QTableWidget::keyPressEvent(e);
    }
};

QString tableName(const QString& viewName) {
    return QStringLiteral("Tabela") + viewName.mid(QStringLiteral("Visao").size());
}

} // namespace

TFrmEstatisticas::TFrmEstatisticas(Services& services)
    : Form(services.forms, QStringLiteral("FrmEstatisticas"), QStringLiteral("Estatísticas"),
           windowSize()),
      services_(services), cache_(services.dm().database()) {
    views_ = buildViews(CatalogueStatistics{}, services_.clock.currentYear());
    createControls();
}

TFrmEstatisticas::~TFrmEstatisticas() = default;

void TFrmEstatisticas::createControls() {
    client()->setAutoFillBackground(true);
    QPalette palette = client()->palette();
    palette.setColor(QPalette::Window, paper);
    client()->setPalette(palette);
    client()->setFont(pixelFont(QStringLiteral("MS Sans Serif"), 11));

    auto* column = new QVBoxLayout(client());
    column->setContentsMargins(10, 10, 10, 10);
    TabVisoes = new QTabWidget(client());
    TabVisoes->setObjectName(QStringLiteral("TabVisoes"));
    TabVisoes->setAccessibleName(QStringLiteral("Visões"));
    column->addWidget(TabVisoes, 1);
    for (int i = 0; i < views_.size(); ++i)
        addView(i);

    LblInfo = new QLabel(client());
    LblInfo->setObjectName(QStringLiteral("LblInfo"));
    LblInfo->setFont(pixelFont(QStringLiteral("Arial"), 12));
    LblInfo->setText(QStringLiteral("Aponte ou use as setas para ver os números; Enter ou um "
                                    "clique abre a galeria."));
    LblInfo->setWordWrap(true);
    column->addWidget(LblInfo);
    column->addWidget(buttonRow());
    connect(TabVisoes, &QTabWidget::currentChanged, this, [this](int index) {
        if (index >= 0)
            LblInfo->setText(views_[index].title);
    });
}

void TFrmEstatisticas::addView(int index) {
    const StatsView& v = views_[index];
    auto* stack = new QStackedWidget(TabVisoes);
    auto* canvas = new Canvas(stack);
    canvas->setObjectName(v.objectName);
    auto* table = new NumbersTable(stack);
    table->setObjectName(tableName(v.objectName));
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->verticalHeader()->hide();
    table->setTabKeyNavigation(false);
    table->open = [this, index](int row) { openItem(index, row); };
    connect(table, &QTableWidget::cellDoubleClicked, this,
            [this, index](int row, int) { openItem(index, row); });
    stack->addWidget(canvas);
    stack->addWidget(table);
    TabVisoes->addTab(stack, v.name);
    canvases_.append(canvas);
    tables_.append(table);
    stacks_.append(stack);
    connect(canvas, &Canvas::itemChosen, this, [this, index](int item) { chosen(index, item); });
    connect(canvas, &Canvas::itemActivated, this,
            [this, index](int item) { openItem(index, item); });
}

QWidget* TFrmEstatisticas::buttonRow() {
    auto* row = new QWidget(client());
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    auto button = [&](const char* name, const char* text, const char* hint) {
        auto* b = new QPushButton(QString::fromUtf8(text), row);
        b->setObjectName(QString::fromLatin1(name));
        b->setToolTip(QString::fromUtf8(hint));
        layout->addWidget(b);
        return b;
    };
    BtnTabela = button("BtnTabela", "&Tabela", "Mostra os números da visão numa tabela");
    BtnTabela->setCheckable(true);
    layout->addStretch(1);
    BtnSalvar = button("BtnSalvar", "&Salvar", "Salva a visão como imagem PNG, desenho SVG ou PDF");
    BtnImprimir = button("BtnImprimir", "&Imprimir", "Imprime a visão");
    BtnImprimir->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    BtnVoltar = button("BtnVoltar", "&Voltar", "Volta à janela principal");
    BtnVoltar->setShortcut(QKeySequence(Qt::Key_Escape));

    auto* menu = new QMenu(BtnSalvar);
    menu->setObjectName(QStringLiteral("MnSalvar"));
    for (const auto& [text, type] : {std::pair{"Imagem &PNG...", FileType::Png},
                                     {"Desenho &SVG...", FileType::Svg},
                                     {"Documento P&DF...", FileType::Pdf}})
        menu->addAction(QString::fromUtf8(text), this, [this, t = type] { save(t); });
    BtnSalvar->setMenu(menu);

    connect(BtnTabela, &QPushButton::clicked, this, [this] { BtnTabelaClick(); });
    connect(BtnImprimir, &QPushButton::clicked, this, [this] { BtnImprimirClick(); });
    connect(BtnVoltar, &QPushButton::clicked, this, [this] { BtnVoltarClick(); });
    setWayOut(BtnVoltar);
    return row;
}

void TFrmEstatisticas::FormActivate() {
    guard(services_.dialogs, [this] { refresh(); });
}

void TFrmEstatisticas::refresh() {
    const CatalogueStatistics& stats = cache_.current();
    if (!cache_.changed())
        return;
    views_ = buildViews(stats, services_.clock.currentYear());
    for (int i = 0; i < views_.size(); ++i) {
        canvases_[i]->setView(views_[i]);
        fillTable(i);
    }
    LblInfo->setText(views_[currentView()].title);
}

void TFrmEstatisticas::fillTable(int index) {
    const StatsView& v = views_[index];
    QTableWidget* table = tables_[index];
    table->clear();
    table->setColumnCount(int(v.columns.size()));
    table->setHorizontalHeaderLabels(v.columns);
    table->setRowCount(int(v.items.size()));
    table->setAccessibleName(v.title);
    for (int r = 0; r < v.items.size(); ++r) {
        const StatsItem& item = v.items[r];
        table->setItem(r, 0, new QTableWidgetItem(item.label));
        for (int c = 0; c < item.values.size(); ++c) {
            auto* cell = new QTableWidgetItem(QString::number(item.values[c]));
            cell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            table->setItem(r, c + 1, cell);
        }
    }
    table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
}

int TFrmEstatisticas::currentView() const {
    return std::max(0, TabVisoes->currentIndex());
}

const StatsView& TFrmEstatisticas::view(int index) const {
    return views_[index];
}

void TFrmEstatisticas::chosen(int view, int item) {
    QStringList parts;
    for (int i : canvases_[view]->companions(item))
        parts << describe(views_[view], views_[view].items[i]);
    const QString text = parts.join(QStringLiteral(" · "));
    LblInfo->setText(text);
    canvases_[view]->setAccessibleDescription(text);
}

void TFrmEstatisticas::openItem(int view, int item) {
    guard(services_.dialogs, [&] {
        if (item < 0 || item >= views_[view].items.size())
            return;
        QList<StatsTarget> targets;
        for (int i : canvases_[view]->companions(item))
            targets += views_[view].items[i].targets;
        Canvas* canvas = canvases_[view];
        openTargets(targets, canvas->mapToGlobal(canvas->itemRect(item).center().toPoint()));
    });
}

void TFrmEstatisticas::openTargets(const QList<StatsTarget>& targets, const QPoint& at) {
    if (targets.size() == 1) {
        emit galleryWanted(targets.first().gallery, targets.first().value);
        return;
    }
    if (targets.isEmpty())
        return;
    // A decade's years, or the four countries of the United Kingdom: the user picks one.
    QMenu chooser(this);
    chooser.setObjectName(QStringLiteral("MnEscolha"));
    for (const StatsTarget& t : targets) {
        chooser.addAction(t.label, this, [this, t] { emit galleryWanted(t.gallery, t.value); });
    }
    chooser.exec(at);
}

void TFrmEstatisticas::BtnTabelaClick() {
    const int page = BtnTabela->isChecked() ? 1 : 0;
    for (QStackedWidget* stack : stacks_)
        stack->setCurrentIndex(page);
    stacks_[currentView()]->currentWidget()->setFocus();
}

void TFrmEstatisticas::BtnImprimirClick() {
    guard(services_.dialogs, [this] { services_.printing.printWindow(this, services_.dialogs); });
}

void TFrmEstatisticas::BtnVoltarClick() {
    guard(services_.dialogs, [this] { services_.forms.close(this); });
}

QString TFrmEstatisticas::fileSuffix(FileType type) {
    switch (type) {
    case FileType::Png:
        return QStringLiteral("png");
    case FileType::Svg:
        return QStringLiteral("svg");
    case FileType::Pdf:
        break;
    }
    return QStringLiteral("pdf");
}

void TFrmEstatisticas::save(FileType type) {
    guard(services_.dialogs, [this, type] {
        const int index = currentView();
        const QString suffix = fileSuffix(type);
        const QString name =
            QStringLiteral("Estatísticas - %1 - %2")
                .arg(views_[index].name, QDate::currentDate().toString(Qt::ISODate));
        QString path = Printing::defaultPdfPath(name);
        path = path.left(path.size() - 3) + suffix;
        static const QHash<QString, QString> filters = {
            {QStringLiteral("png"), QStringLiteral("Imagem PNG (*.png)")},
            {QStringLiteral("svg"), QStringLiteral("Desenho SVG (*.svg)")},
            {QStringLiteral("pdf"), QStringLiteral("Documento PDF (*.pdf)")}};
        if (services_.dialogs.saveFile(path, filters.value(suffix), suffix))
            write(index, type, path);
    });
}

void TFrmEstatisticas::write(int index, FileType type, const QString& path) const {
    const Canvas& canvas = *canvases_[index];
    const QString title = views_[index].title;
    const QRectF area(QPointF(0, 0), QSizeF(fileSize));
    const auto failed = [&path] {
        return Error(QStringLiteral("Não foi possível gravar o arquivo \"%1\".").arg(path));
    };
    QPainter painter;
    if (type == FileType::Png) {
        // Twice the pixels: sharp when printed or shown on a screen at 200 %.
        QImage image(fileSize * 2, QImage::Format_ARGB32);
        image.setDevicePixelRatio(2);
        painter.begin(&image);
        canvas.render(painter, area);
        painter.end();
        if (!image.save(path, "PNG"))
            throw failed();
    } else if (type == FileType::Svg) {
        QSvgGenerator svg;
        svg.setFileName(path);
        svg.setSize(fileSize);
        svg.setViewBox(area);
        svg.setTitle(title);
        svg.setDescription(programName);
        if (!painter.begin(&svg))
            throw failed();
        canvas.render(painter, area);
        if (!painter.end() || !QFileInfo(path).isFile())
            throw failed();
    } else {
        // Drawn, not grabbed: the PDF's text is text.
        QPdfWriter pdf(path);
        pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                                      QMarginsF(10, 10, 10, 10)));
        pdf.setTitle(title);
        pdf.setCreator(programName);
        if (!painter.begin(&pdf))
            throw failed();
        const QRect page = pdf.pageLayout().paintRectPixels(pdf.resolution());
        const qreal scale = std::min(page.width() / area.width(), page.height() / area.height());
        painter.scale(scale, scale);
        canvas.render(painter, area);
        if (!painter.end())
            throw failed();
    }
}

} // namespace velmora
