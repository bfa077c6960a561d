#include "tools/datadir/ClubRules.h"

#include "store/Database.h"
#include "store/Names.h"
#include "store/Schema.h"
#include "store/StoreError.h"

#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

namespace velmora::datadir {

namespace {

QString required() {
    return QStringLiteral("campo obrigatório vazio (Todos os campos são de preenchimento "
                          "obrigatório)");
}

// Every row of a two-column statement as key -> value.
QHash<QString, QString> pairs(Database& db, const QString& sql) {
    QSqlQuery query = runStatement(db.handle(), sql);
    QHash<QString, QString> result;
    while (query.next())
        result.insert(query.value(0).toString(), query.value(1).toString());
    return result;
}

QString controlName(char16_t c) {
    switch (c) {
    case 0x00:
        return QStringLiteral("NUL");
    case 0x09:
        return QStringLiteral("tabulação");
    case 0x0A:
        return QStringLiteral("quebra de linha");
    case 0x0D:
        return QStringLiteral("retorno de carro");
    case 0x1B:
        return QStringLiteral("escape");
    default:
        return QStringLiteral("U+%1").arg(uint(c), 4, 16, QLatin1Char('0')).toUpper();
    }
}

} // namespace

qsizetype characters(const QString& text) {
    return QStringView(text).toUcs4().size();
}

QString controlCharacterFault(const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i)
        if (text[i].category() == QChar::Other_Control)
            return QStringLiteral("caractere de controle (%1) na posição %2: nenhuma janela o "
                                  "mostra; tire-o do texto")
                .arg(controlName(text[i].unicode()))
                .arg(i + 1);
    return QString();
}

ClubRules::ClubRules(Database& db, int currentYear) : currentYear_(currentYear) {
    countryFlags_ = pairs(db, QStringLiteral("select NomePais, BandeiraPais from Paises"));
    stateFlags_ = pairs(db, QStringLiteral("select UF, BandeiraUF from UF"));
    logos_ = pairs(db, QStringLiteral("select NomeFederacao, LogoFederacao from Federacao"));
    for (const QString& year : pairs(db, QStringLiteral("select Ano, Ano from Anos")).keys())
        years_.insert(year.toInt());
    const QHash<QString, QString> clubs =
        pairs(db, QStringLiteral("select Codigo, NomeClube from Clubes"));
    for (auto it = clubs.cbegin(); it != clubs.cend(); ++it) {
        storedCodes_.insert(it.key().toLongLong());
        storedNames_.insert(it.value(), it.key().toLongLong());
    }
}

QList<FieldProblem> ClubRules::apply(Club& club, qint64 changing) const {
    QList<FieldProblem> problems;
    const QString name = club.value(QStringLiteral("NomeClube"));
    const auto stored = storedNames_.constFind(name);
    if (name.isEmpty())
        problems.append({QStringLiteral("NomeClube"), required()});
    else if (stored != storedNames_.cend() && *stored != changing)
        problems.append({QStringLiteral("NomeClube"),
                         QStringLiteral("Existe cadastrado outro Clube e/ou Seleção com este "
                                        "nome.")});
    const QString kind = club.value(QStringLiteral("Identificador"));
    if (kind.isEmpty())
        problems.append({QStringLiteral("Identificador"), required()});
    else if (kind != QLatin1String("0") && kind != QLatin1String("1"))
        problems.append({QStringLiteral("Identificador"),
                         QStringLiteral("\"%1\" não é 0 (clube) nem 1 (seleção)").arg(kind)});
    QString& extinct = club[QStringLiteral("Extinto")];
    if (extinct.isEmpty())
        extinct = QStringLiteral("0");
    else if (extinct != QLatin1String("0") && extinct != QLatin1String("1"))
        problems.append({QStringLiteral("Extinto"),
                         QStringLiteral("\"%1\" não é 0 (ativo) nem 1 (extinto)").arg(extinct)});
    applyPlace(club, problems);
    applyYear(club, problems);
    checkFlags(club, problems);
    checkTexts(club, problems);
    checkWidths(club, problems);
    return problems;
}

// Country, state and federation name rows of the reference tables; their flag and
// logo paths come with them, as the selection dialogs copy them.
void ClubRules::applyPlace(Club& club, QList<FieldProblem>& problems) const {
    const QString country = club.value(QStringLiteral("PaisClube"));
    const QString uf = club.value(QStringLiteral("UFClube"));
    const QString federation = club.value(QStringLiteral("Federacao"));
    club[QStringLiteral("BandeiraPais")] = countryFlags_.value(country);
    club[QStringLiteral("BandeiraUF")] = country == brasil ? stateFlags_.value(uf) : QString();
    club[QStringLiteral("LogoFederacao")] = logos_.value(federation);
    if (country.isEmpty())
        problems.append({QStringLiteral("PaisClube"), required()});
    else if (!countryFlags_.contains(country))
        problems.append({QStringLiteral("PaisClube"),
                         QStringLiteral("o país \"%1\" não está em Paises.DB").arg(country)});
    if (country == brasil && uf.isEmpty())
        problems.append(
            {QStringLiteral("UFClube"), QStringLiteral("Verifique o preenchimento campo ESTADO")});
    else if (country == brasil && !stateFlags_.contains(uf))
        problems.append({QStringLiteral("UFClube"),
                         QStringLiteral("o estado \"%1\" não está em UF.DB").arg(uf)});
    else if (country != brasil && !uf.isEmpty())
        problems.append(
            {QStringLiteral("UFClube"),
             QStringLiteral("só clubes do Brasil têm estado; \"%1\" é de %2")
                 .arg(uf, country.isEmpty() ? QStringLiteral("país nenhum") : country)});
    if (federation.isEmpty())
        problems.append({QStringLiteral("Federacao"), required()});
    else if (!logos_.contains(federation))
        problems.append(
            {QStringLiteral("Federacao"),
             QStringLiteral("a federação \"%1\" não está em Federacao.db").arg(federation)});
}

void ClubRules::applyYear(Club& club, QList<FieldProblem>& problems) const {
    const QString text = club.value(QStringLiteral("AnoFundacao"));
    QString& age = club[QStringLiteral("IdadeClube")];
    age.clear();
    if (text.isEmpty())
        return; // the year is not required; without it there is no age
    bool ok = false;
    const int year = text.toInt(&ok);
    if (!ok || !years_.contains(year)) {
        problems.append({QStringLiteral("AnoFundacao"),
                         QStringLiteral("o ano \"%1\" não está em Anos.DB").arg(text)});
        return;
    }
    age = QStringLiteral("%1 anos").arg(currentYear_ - year);
}

// A country, state or federation row without its picture leaves a required path empty.
void ClubRules::checkFlags(const Club& club, QList<FieldProblem>& problems) const {
    const QString country = club.value(QStringLiteral("PaisClube"));
    if (countryFlags_.contains(country) && club.value(QStringLiteral("BandeiraPais")).isEmpty())
        problems.append(
            {QStringLiteral("BandeiraPais"),
             QStringLiteral("o país \"%1\" não tem bandeira em Paises.DB").arg(country)});
    const QString federation = club.value(QStringLiteral("Federacao"));
    if (logos_.contains(federation) && club.value(QStringLiteral("LogoFederacao")).isEmpty())
        problems.append({QStringLiteral("LogoFederacao"),
                         QStringLiteral("a federação \"%1\" não tem logotipo em Federacao.db")
                             .arg(federation)});
    const QString badge = club.value(QStringLiteral("EscudoClube"));
    if (badge.isEmpty()) {
        problems.append({QStringLiteral("EscudoClube"), required()});
        return;
    }
    if (!QFileInfo(badge).isFile())
        problems.append({QStringLiteral("EscudoClube"),
                         QStringLiteral("o arquivo do distintivo não existe: %1").arg(badge)});
}

// Each text as the editor's boxes would take it: nothing a window cannot show.
void ClubRules::checkTexts(const Club& club, QList<FieldProblem>& problems) const {
    for (const FieldDef& f : Schema::table(QStringLiteral("Clubes")).fields)
        if (const QString fault = controlCharacterFault(club.value(f.name)); !fault.isEmpty())
            problems.append({f.name, fault});
}

// Text longer than its field is refused, as the editor's boxes refuse it. The badge
// path is measured where it lands, by the import.
void ClubRules::checkWidths(const Club& club, QList<FieldProblem>& problems) const {
    for (const FieldDef& f : Schema::table(QStringLiteral("Clubes")).fields) {
        if (f.type != FieldType::Text || f.name == QLatin1String("EscudoClube"))
            continue;
        const qsizetype length = characters(club.value(f.name));
        if (length > f.width)
            problems.append(
                {f.name,
                 QStringLiteral("%1 caracteres, o campo aceita %2").arg(length).arg(f.width)});
    }
}

} // namespace velmora::datadir
