#pragma once

#include "platform/Form.h"
#include "stats/Views.h"
#include "store/Statistics.h"

#include <QList>
#include <memory>

class QLabel;
class QPushButton;
class QStackedWidget;
class QTabWidget;
class QTableWidget;

namespace velmora {

struct Services;
class Canvas;

// The collection at a glance: a world map, a map of Brazil and five charts of the
// catalogue's counts, each with a table of the same numbers; a number leads to the
// gallery of the clubs behind it. Every view can be saved (PNG, SVG, PDF) and printed.
class TFrmEstatisticas final : public Form {
    Q_OBJECT
public:
    explicit TFrmEstatisticas(Services& services);
    ~TFrmEstatisticas() override;

    // Reads the counts again when the store changed since they were shown.
    void FormActivate() override;

    enum class FileType { Png, Svg, Pdf };
    // Saves the current view, asking where (proposing its name and today's date in the
    // documents folder).
    void save(FileType type);
    // Writes a view to a file of that type; throws Error.
    void write(int view, FileType type, const QString& path) const;
    void BtnImprimirClick();
    void BtnVoltarClick();
    void BtnTabelaClick();

    // The gallery (or the choice among galleries) an item of the current view leads to.
    void openItem(int view, int item);

    int viewCount() const { return int(canvases_.size()); }
    int currentView() const;
    const StatsView& view(int index) const;
    Canvas* canvas(int index) const { return canvases_[index]; }
    QTableWidget* table(int index) const { return tables_[index]; }

    QTabWidget* TabVisoes = nullptr;
    QLabel* LblInfo = nullptr;
    QPushButton* BtnTabela = nullptr;
    QPushButton* BtnSalvar = nullptr;
    QPushButton* BtnImprimir = nullptr;
    QPushButton* BtnVoltar = nullptr;

    static QString fileSuffix(FileType type);

signals:
    void galleryWanted(StatsGallery gallery, const QString& value);

private:
    void createControls();
    void addView(int index);
    QWidget* buttonRow();
    void refresh();
    void fillTable(int index);
    void chosen(int view, int item);
    void openTargets(const QList<StatsTarget>& targets, const QPoint& at);

    Services& services_;
    StatisticsCache cache_;
    QList<StatsView> views_;
    QList<Canvas*> canvases_;
    QList<QTableWidget*> tables_;
    QList<QStackedWidget*> stacks_;
};

} // namespace velmora
