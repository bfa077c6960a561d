#pragma once

#include <QAbstractListModel>
#include <QHash>
#include <QStringList>
#include <map>

namespace velmora {

class Query;

// A listing the chooser pages through: the rows of `from` and `where`, sorted by the
// text keys then by the code, a column no two rows share.
struct PagedListing {
    QString shown;        // the column the list shows
    QString from;         // "from ..." line
    QString where;        // "where ..." line
    QStringList textKeys; // the sort key's text columns, in order
    QString code;         // the whole-number column that ends the sort key
};

// The first column of a long ordered listing as a list model, read a page at a time:
// the list offers its first page and grows by a page each time the user scrolls to
// its end (a drop-down measures every row it has when it opens), so a chooser over a
// million names opens at once and holds only what was scrolled. A page is read by
// seeking past the sort key of the row before it, so a page far down costs what the
// first one does.
class PagedNames final : public QAbstractListModel {
    Q_OBJECT
public:
    // query: a query object of the model's own; the model rebuilds its statement.
    PagedNames(Query& query, QObject* parent);

    // Shows the `count` rows of the listing.
    void reset(const PagedListing& listing, int count);
    void clear();

    int rowCount(const QModelIndex& parent = {}) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    static constexpr int pageSize = 256;

private:
    // The sort key of a page's row before its first, as read.
    struct Key {
        QStringList texts;
        qint64 code = 0;
    };

    const QStringList& page(int number) const;
    QStringList read(int number) const;
    QStringList lines(bool seek) const;

    static constexpr int keptPages = 128;

    Query& query_;
    PagedListing listing_;
    int count_ = 0;   // rows of the statement
    int offered_ = 0; // rows the list has been given so far
    mutable QHash<int, QStringList> pages_;
    // Kept however many pages are dropped: a few values a page.
    mutable std::map<int, Key> keys_;
};

} // namespace velmora
