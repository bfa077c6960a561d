#pragma once

#include <QAbstractListModel>
#include <QHash>
#include <QStringList>

namespace velmora {

class Query;

// The first column of a long ordered statement as a list model, read a page at a
// time: the list offers its first page and grows by a page each time the user
// scrolls to its end (a drop-down measures every row it has when it opens), so a
// chooser over a million names opens at once and holds only what was scrolled.
class PagedNames final : public QAbstractListModel {
    Q_OBJECT
public:
    // query: a query object of the model's own; the model rebuilds its statement.
    PagedNames(Query& query, QObject* parent);

    // Shows the `count` rows of the statement `lines` (which must have an order).
    void reset(const QStringList& lines, int count);
    void clear();

    int rowCount(const QModelIndex& parent = {}) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    static constexpr int pageSize = 256;

private:
    const QStringList& page(int number) const;

    static constexpr int keptPages = 128;

    Query& query_;
    QStringList lines_;
    int count_ = 0;   // rows of the statement
    int offered_ = 0; // rows the list has been given so far
    mutable QHash<int, QStringList> pages_;
};

} // namespace velmora
