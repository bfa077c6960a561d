#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

namespace velmora {

// Trigram full-text indexes over the folded short and full names of Clubes, kept by
// triggers: a name fragment of three or more letters is found among a million clubs
// without reading every name. Only the index is stored (no copy of the text, no
// positions), so it is queried as "every trigram of the fragment present", which
// finds a superset of the names holding the fragment; the statement's own condition
// then keeps exactly those.
struct SearchIndex {
    QString name;   // the FTS5 table
    QString column; // of Clubes
};

class Search final {
public:
    static const QList<SearchIndex>& indexes();
    static const SearchIndex* forColumn(const QString& column); // any letter case

    static void build(QSqlDatabase& db); // drop() first when they may exist
    static void drop(QSqlDatabase& db);
    static QStringList triggerNames();

    // The full-text query for a folded fragment of at least minimumLength characters.
    static QString trigramQuery(const QString& fragment);
    static constexpr int minimumLength = 3;
};

} // namespace velmora
