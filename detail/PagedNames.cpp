#include "detail/PagedNames.h"

#include "store/Query.h"

namespace velmora {

PagedNames::PagedNames(Query& query, QObject* parent) : QAbstractListModel(parent), query_(query) {}

void PagedNames::reset(const QStringList& lines, int count) {
    beginResetModel();
    lines_ = lines;
    count_ = std::max(count, 0);
    offered_ = std::min(count_, pageSize);
    pages_.clear();
    endResetModel();
}

void PagedNames::clear() {
    reset({}, 0);
}

int PagedNames::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : offered_;
}

bool PagedNames::canFetchMore(const QModelIndex& parent) const {
    return !parent.isValid() && offered_ < count_;
}

void PagedNames::fetchMore(const QModelIndex& parent) {
    if (!canFetchMore(parent))
        return;
    const int more = std::min(count_, offered_ + pageSize);
    beginInsertRows({}, offered_, more - 1);
    offered_ = more;
    endInsertRows();
}

QVariant PagedNames::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= offered_ ||
        (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    const QStringList& names = page(index.row() / pageSize);
    const int at = index.row() % pageSize;
    return at < names.size() ? names[at] : QString();
}

const QStringList& PagedNames::page(int number) const {
    if (const auto found = pages_.constFind(number); found != pages_.constEnd())
        return *found;
    if (pages_.size() >= keptPages)
        pages_.clear(); // memory stays bounded however far the user scrolls
    QStringList names;
    try {
        query_.run(lines_ + QStringList{QStringLiteral("limit :LIMITE offset :DESLOCAMENTO")},
                   {{QStringLiteral("LIMITE"), pageSize},
                    {QStringLiteral("DESLOCAMENTO"), qint64(number) * pageSize}});
        names.reserve(pageSize);
        for (; !query_.eof(); query_.next())
            names << query_.field(0);
        query_.close();
    } catch (const std::exception&) {
        // Painting cannot report: the rows stay blank and are read again next time.
        static const QStringList none;
        return none;
    }
    return *pages_.insert(number, names);
}

} // namespace velmora
