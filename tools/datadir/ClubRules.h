#pragma once

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>

namespace velmora {
class Database;
}

namespace velmora::datadir {

// A text's length as the editor and the store count it: in characters, a character
// outside the basic plane (an emoji) being one.
qsizetype characters(const QString& text);

// Why a text cannot be stored as typed into a box: a control character (NUL, tab, line
// break, escape...) that no window shows; empty when it can.
QString controlCharacterFault(const QString& text);

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
    // full path of the chosen badge file; the file must exist, and its content is left
    // to the caller (PictureCheck), which judges many files at once. Lists every
    // problem, not only the first.
    // changing: the code of the stored club that club changes (its own name is no
    // repetition), 0 for a new club.
    QList<FieldProblem> apply(Club& club, qint64 changing = 0) const;

    bool nameStored(const QString& name) const { return storedNames_.contains(name); }
    const QSet<qint64>& storedCodes() const { return storedCodes_; }

private:
    void checkWidths(const Club& club, QList<FieldProblem>& problems) const;
    void applyPlace(Club& club, QList<FieldProblem>& problems) const;
    void applyYear(Club& club, QList<FieldProblem>& problems) const;
    void checkFlags(const Club& club, QList<FieldProblem>& problems) const;
    void checkTexts(const Club& club, QList<FieldProblem>& problems) const;

    int currentYear_;
    QHash<QString, QString> countryFlags_; // NomePais -> BandeiraPais
    QHash<QString, QString> stateFlags_;   // UF -> BandeiraUF
    QHash<QString, QString> logos_;        // NomeFederacao -> LogoFederacao
    QSet<int> years_;
    QHash<QString, qint64> storedNames_; // NomeClube -> Codigo
    QSet<qint64> storedCodes_;
};

} // namespace velmora::datadir
