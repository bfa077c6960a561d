#include "detail/PagedNames.h"

#include "store/Query.h"

namespace velmora {

namespace {

QString keyParam(int i) {
    return QStringLiteral("CHAVE%1").arg(i);
}

} // namespace

PagedNames::PagedNames(Query& query, QObject* parent) : QAbstractListModel(parent), query_(query) {}

void PagedNames::reset(const PagedListing& listing, int count) {
    beginResetModel();
    listing_ = listing;
    count_ = std::max(count, 0);
    offered_ = std::min(count_, pageSize);
    pages_.clear();
    keys_.clear();
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
    try {
        return *pages_.insert(number, read(number));
    } catch (const std::exception&) {
        // Painting cannot report: the rows stay blank and are read again next time.
        static const QStringList none;
        return none;
    }
}

QStringList PagedNames::lines(bool seek) const {
    const QStringList& texts = listing_.textKeys;
    const QString keys = (texts + QStringList{listing_.code}).join(QStringLiteral(", "));
    QStringList params;
    for (int i = 0; i <= texts.size(); ++i)
        params << QLatin1Char(':') + keyParam(i);
    QStringList statement = {QStringLiteral("select %1, %2").arg(listing_.shown, keys),
                             listing_.from, listing_.where};
    if (seek)
        statement << QStringLiteral("and (%1) > (%2)").arg(keys, params.join(QStringLiteral(", ")));
    statement << QStringLiteral("order by %1").arg(keys)
              << QStringLiteral("limit :LIMITE offset :DESLOCAMENTO");
    return statement;
}

// From the nearest page before it whose key is known: that page itself when the
// pages are read in turn, as scrolling does; the start of the listing at worst.
QStringList PagedNames::read(int number) const {
    auto known = keys_.upper_bound(number);
    const bool seek = known != keys_.begin();
    Query::Params params = {{QStringLiteral("LIMITE"), pageSize}};
    int from = 0;
    if (seek) {
        --known;
        from = known->first;
        for (int i = 0; i < known->second.texts.size(); ++i)
            params.append({keyParam(i), known->second.texts[i]});
        params.append({keyParam(int(known->second.texts.size())), known->second.code});
    }
    params.append({QStringLiteral("DESLOCAMENTO"), qint64(number - from) * pageSize});
    query_.run(lines(seek), params);
    QStringList names;
    names.reserve(pageSize);
    Key last;
    for (; !query_.eof(); query_.next()) {
        names << query_.field(0);
        last.texts.clear();
        for (int i = 0; i < listing_.textKeys.size(); ++i)
            last.texts << query_.field(1 + i);
        last.code = query_.field(1 + int(listing_.textKeys.size())).toLongLong();
    }
    query_.close();
    // A key with an empty value (a row without a name) cannot be sought past: the page
    // after it is read from further back.
    const bool seekable = std::none_of(last.texts.begin(), last.texts.end(),
                                       [](const QString& text) { return text.isNull(); });
    if (names.size() == pageSize && seekable)
        keys_[number + 1] = last;
    return names;
}

} // namespace velmora
