#pragma once

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>

namespace velmora {
class Database;
}

namespace velmora::datadir {

// A club as text, by field name of Clubes.db (the seventeen fields).
using Club = QHash<QString, QString>;

struct FieldProblem {
    QString field;
    QString reason;
};

// The rules the club editor applies when it saves a club, as plain code: required
// fields, a unique short name, the Brasil/state rule, field widths, country, state,
// federation and year taken from the reference tables, the flag and logo paths copied
// from them and the age computed. Reads the reference tables and the stored names once.
class ClubRules final {
public:
    ClubRules(Database& db, int currentYear);

    // Checks club and fills its derived fields (BandeiraPais, BandeiraUF,
    // LogoFederacao, IdadeClube, Extinto as 0 or 1). EscudoClube must already be the
    // full path of the chosen badge file. Lists every problem, not only the first.
    QList<FieldProblem> apply(Club& club) const;

    bool nameStored(const QString& name) const { return storedNames_.contains(name); }
    const QSet<qint64>& storedCodes() const { return storedCodes_; }

private:
    void checkWidths(const Club& club, QList<FieldProblem>& problems) const;
    void applyPlace(Club& club, QList<FieldProblem>& problems) const;
    void applyYear(Club& club, QList<FieldProblem>& problems) const;
    void checkFlags(const Club& club, QList<FieldProblem>& problems) const;

    int currentYear_;
    QHash<QString, QString> countryFlags_; // NomePais -> BandeiraPais
    QHash<QString, QString> stateFlags_;   // UF -> BandeiraUF
    QHash<QString, QString> logos_;        // NomeFederacao -> LogoFederacao
    QSet<int> years_;
    QSet<QString> storedNames_;
    QSet<qint64> storedCodes_;
};

} // namespace velmora::datadir
