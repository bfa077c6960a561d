#pragma once

#include <QAbstractListModel>
#include <QHash>
#include <QStringList>

namespace velmora {

class Query;

// The first column of a long ordered statement as a list model, read a page at a
// time when the list shows those rows: a chooser over a million names is ready at
// once and holds only the pages the user has scrolled through.
class PagedNames final : public QAbstractListModel {
    Q_OBJECT
public:
    // query: a query object of the model's own; the model rebuilds its statement.
    PagedNames(Query& query, QObject* parent);

    // Shows the `count` rows of the statement `lines` (which must have an order).
    void reset(const QStringList& lines, int count);
    void clear();

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    static constexpr int pageSize = 256;

private:
    const QStringList& page(int number) const;

    static constexpr int keptPages = 128;

    Query& query_;
    QStringList lines_;
    int count_ = 0;
    mutable QHash<int, QStringList> pages_;
};

} // namespace velmora
