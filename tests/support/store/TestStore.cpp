#include "tests/support/store/TestStore.h"

#include "store/Schema.h"
#include "store/StoreError.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QSqlError>
#include <QSqlQuery>
#include <stdexcept>

namespace velmora::test {

namespace {

struct Country {
    const char* code;
    const char* name;
    const char* city; // a city of the country for made-up clubs
    const char* federation;
};
const Country countries[] = {
    {"BRA", "Brasil", "", "CBF"},
    {"ARG", "Argentina", "Buenos Aires", "CONMEBOL"},
    {"ENG", "Inglaterra", "Londres", "UEFA"},
    {"ITA", "Itália", "Roma", "UEFA"},
    {"GER", "Alemanha", "Munique", "UEFA"},
    {"URU", "Uruguai", "Montevidéu", "CONMEBOL"},
};

struct State {
    const char* uf;
    const char* name;
    const char* capital;
    const char* federation;
};
const State states[] = {
    {"SP", "São Paulo", "São Paulo", "FPF-SP"},
    {"RJ", "Rio de Janeiro", "Rio de Janeiro", "FERJ"},
    {"MG", "Minas Gerais", "Belo Horizonte", "CBF"},
    {"RS", "Rio Grande do Sul", "Porto Alegre", "CBF"},
};

const char* const federations[] = {"FIFA", "CONMEBOL", "UEFA", "CBF", "FPF-SP", "FERJ"};

struct City {
    const char* name;
    const char* country;
    const char* uf;
};
const City cities[] = {
    {"São Paulo", "Brasil", "SP"},      {"Campinas", "Brasil", "SP"},
    {"Santos", "Brasil", "SP"},         {"Rio de Janeiro", "Brasil", "RJ"},
    {"Belo Horizonte", "Brasil", "MG"}, {"Buenos Aires", "Argentina", ""},
    {"Londres", "Inglaterra", ""},
};

constexpr int firstYear = 1850;
constexpr int lastYear = 2050;
constexpr int fixtureYear = 2024;

QString u(const char* text) {
    return QString::fromUtf8(text);
}

QColor colourFor(int n) {
    return QColor::fromHsv((n * 47) % 360, 200, 220);
}

// File-name friendly form of a club name ("São Paulo" -> "SaoPaulo").
QString fileStem(const QString& name) {
    QString stem;
    for (QChar c : name.normalized(QString::NormalizationForm_D)) {
        if (c.unicode() < 128 && c.isLetterOrNumber())
            stem += c;
    }
    return stem.isEmpty() ? QStringLiteral("Clube") : stem;
}

const Country* findCountry(const QString& name) {
    for (const Country& c : countries) {
        if (u(c.name) == name)
            return &c;
    }
    return nullptr;
}

const State* findState(const QString& uf) {
    for (const State& s : states) {
        if (u(s.uf) == uf)
            return &s;
    }
    return nullptr;
}

[[noreturn]] void fail(const QString& what) {
    throw std::runtime_error(what.toStdString());
}

void copyFile(const QString& from, const QString& to) {
    QDir().mkpath(QFileInfo(to).absolutePath());
    if (!QFile::copy(from, to))
        fail(QStringLiteral("TestStore: cannot copy %1 to %2").arg(from, to));
}

// The store file with its write-ahead log, which may hold rows not yet in the file.
void copyStore(const QString& from, const QString& to) {
    for (const char* suffix : {"", "-wal"}) {
        const QString name = QString::fromLatin1(Database::fileName) + QLatin1String(suffix);
        if (QFileInfo::exists(QDir(from).filePath(name)))
            copyFile(QDir(from).filePath(name), QDir(to).filePath(name));
    }
}

void copyFolder(const QString& from, const QString& to) {
    QDirIterator it(from, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        copyFile(file, to + file.mid(from.size()));
    }
}

} // namespace

TestStore::TestStore() : ownDir_(std::make_unique<QTemporaryDir>()) {
    if (!ownDir_->isValid())
        fail(QStringLiteral("TestStore: no temporary folder: %1").arg(ownDir_->errorString()));
    dir_ = ownDir_->path();
    create();
}

TestStore::TestStore(const QString& dir) : dir_(QDir::cleanPath(dir)) {
    if (!QDir().mkpath(dir_))
        fail(QStringLiteral("TestStore: cannot make %1").arg(dir_));
    create();
}

TestStore::TestStore(const QString& catalogue, Copy copy) {
    const QString source = QDir::cleanPath(catalogue);
    if (copy == Copy::None) {
        dir_ = source;
        return;
    }
    ownDir_ = std::make_unique<QTemporaryDir>();
    if (!ownDir_->isValid())
        fail(QStringLiteral("TestStore: no temporary folder: %1").arg(ownDir_->errorString()));
    dir_ = ownDir_->path();
    if (copy == Copy::Store)
        copyStore(source, dir_);
    else
        copyFolder(source, dir_);
}

TestStore::~TestStore() {
    db_.reset();
}

QString TestStore::path(const QString& relative) const {
    return QDir(dir_).filePath(relative);
}

QString TestStore::storeFile() const {
    return path(QString::fromLatin1(Database::fileName));
}

Database& TestStore::database() {
    if (!db_)
        open(false);
    return *db_;
}

void TestStore::open(bool create) {
    db_ = std::make_unique<Database>(dir_, create);
    // Seeding needs no protection against power cuts; the program's own connection keeps it.
    db_->exec(QStringLiteral("PRAGMA synchronous = OFF"));
}

void TestStore::close() {
    db_.reset();
}

void TestStore::create() {
    for (const char* folder : {"Bandeiras", "Estados", "Federacoes", "Distintivos", "Fontes"})
        QDir(dir_).mkpath(QString::fromLatin1(folder));
    const bool fresh = !QFileInfo::exists(storeFile());
    open(true);
    if (!fresh)
        return; // an existing store is kept as it is
    Schema::create(db_->handle());

    Transaction transaction(*db_);
    int n = 0;
    for (const Country& c : countries) {
        const QString flag = makeBadge(u(c.code) + QLatin1String(".jpg"), colourFor(++n),
                                       QStringLiteral("Bandeiras"));
        QSqlQuery q(db_->handle());
        q.prepare(QStringLiteral("insert into Paises (CodPais, NomePais, BandeiraPais) "
                                 "values (?, ?, ?)"));
        q.addBindValue(u(c.code));
        q.addBindValue(u(c.name));
        q.addBindValue(flag);
        if (!q.exec())
            fail(q.lastError().text());
    }
    int codigo = 0;
    for (const State& s : states) {
        const QString flag =
            makeBadge(u(s.uf) + QLatin1String(".jpg"), colourFor(++n), QStringLiteral("Estados"));
        QSqlQuery q(db_->handle());
        q.prepare(QStringLiteral("insert into UF (Codigo, UF, NomeCompleto, BandeiraUF) "
                                 "values (?, ?, ?, ?)"));
        q.addBindValue(++codigo);
        q.addBindValue(u(s.uf));
        q.addBindValue(u(s.name));
        q.addBindValue(flag);
        if (!q.exec())
            fail(q.lastError().text());
    }
    for (int year = firstYear; year <= lastYear; ++year)
        db_->exec(QStringLiteral("insert into Anos (Ano) values (%1)").arg(year));
    for (const char* f : federations) {
        const QString file =
            makeBadge(u(f) + QLatin1String(".jpg"), colourFor(++n), QStringLiteral("Federacoes"));
        QSqlQuery q(db_->handle());
        q.prepare(QStringLiteral("insert into Federacao (NomeFederacao, LogoFederacao) "
                                 "values (?, ?)"));
        q.addBindValue(u(f));
        q.addBindValue(file);
        if (!q.exec())
            fail(q.lastError().text());
    }
    for (const City& c : cities)
        insertCity(u(c.name), u(c.country), u(c.uf));
    transaction.commit();
}

QString TestStore::countryFlag(const QString& nomePais) const {
    const Country* c = findCountry(nomePais);
    return c ? path(QStringLiteral("Bandeiras/%1.jpg").arg(u(c->code))) : QString();
}

QString TestStore::stateFlag(const QString& uf) const {
    return findState(uf) ? path(QStringLiteral("Estados/%1.jpg").arg(uf)) : QString();
}

QString TestStore::logo(const QString& federacao) const {
    for (const char* f : federations) {
        if (u(f) == federacao)
            return path(QStringLiteral("Federacoes/%1.jpg").arg(federacao));
    }
    return {};
}

QString TestStore::stateName(const QString& uf) const {
    const State* s = findState(uf);
    return s ? u(s->name) : QString();
}

QString TestStore::countryCode(const QString& nomePais) const {
    const Country* c = findCountry(nomePais);
    return c ? u(c->code) : QString();
}

QString TestStore::makeBadge(const QString& fileName, QColor colour, const QString& folder) {
    QDir(dir_).mkpath(folder);
    const QString file = QDir(path(folder)).filePath(fileName);
    QImage image(48, 48, QImage::Format_RGB32);
    image.fill(colour);
    {
        // A band of another colour, so the picture is not a flat fill.
        QPainter painter(&image);
        painter.fillRect(0, 18, 48, 12, colour.darker(200));
    }
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (suffix == QLatin1String("svg")) {
        QFile svg(file);
        const QByteArray text =
            QStringLiteral("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"48\" "
                           "height=\"48\"><rect width=\"48\" height=\"48\" fill=\"%1\"/>"
                           "<rect y=\"18\" width=\"48\" height=\"12\" fill=\"%2\"/></svg>")
                .arg(colour.name(), colour.darker(200).name())
                .toUtf8();
        if (!svg.open(QIODevice::WriteOnly) || svg.write(text) != text.size())
            fail(QStringLiteral("TestStore: cannot write picture %1").arg(file));
        return file;
    }
    // Any other type by its extension; a name without one is a JPEG.
    const char* format = suffix.isEmpty() ? "JPEG" : nullptr;
    if (!image.save(file, format, 90))
        fail(QStringLiteral("TestStore: cannot write picture %1").arg(file));
    return file;
}

Club TestStore::club(int codigo, const QString& nome, const QString& pais, const QString& uf) {
    const QString badge = makeBadge(QStringLiteral("%1%2.jpg").arg(fileStem(nome)).arg(codigo),
                                    colourFor(codigo), QStringLiteral("Distintivos"));
    return clubSharingBadge(codigo, nome, pais, uf, badge);
}

Club TestStore::clubSharingBadge(int codigo, const QString& nome, const QString& pais,
                                 const QString& uf, const QString& escudo) const {
    Club c;
    c.codigo = codigo;
    c.nomeClube = nome.left(40);
    c.nomeCompletoClube = (nome + QLatin1String(" Futebol Clube")).left(100);
    c.anoFundacao = 1910;
    c.idadeClube = QStringLiteral("%1 anos").arg(fixtureYear - 1910);
    c.paisClube = pais;
    c.escudoClube = escudo;
    c.bandeiraPais = countryFlag(pais);
    c.estadio = (QStringLiteral("Estádio ") + nome).left(35);
    c.capacidade = QStringLiteral("30.000");
    if (pais == QLatin1String("Brasil")) {
        const State* s = findState(uf);
        c.ufClube = uf;
        c.bandeiraUF = stateFlag(uf);
        c.cidadeClube = s ? u(s->capital) : QString();
        c.federacao = s ? u(s->federation) : QStringLiteral("CBF");
    } else {
        const Country* country = findCountry(pais);
        c.ufClube.clear();
        c.cidadeClube = country ? u(country->city) : QString();
        c.federacao = country ? u(country->federation) : QStringLiteral("FIFA");
    }
    c.logoFederacao = logo(c.federacao);
    return c;
}

Club TestStore::selecao(int codigo, const QString& nome, const QString& pais) {
    Club c = club(codigo, nome, pais, QString());
    makeSelecao(c);
    return c;
}

void TestStore::makeSelecao(Club& c) const {
    c.identificador = 1;
    c.ufClube.clear();
    c.bandeiraUF.clear();
    c.federacao = QStringLiteral("FIFA");
    c.logoFederacao = logo(c.federacao);
}

void TestStore::insert(const Club& c) {
    QSqlQuery q(database().handle());
    q.prepare(QStringLiteral(
        "insert into Clubes (Codigo, NomeClube, NomeCompletoClube, AnoFundacao, PaisClube, "
        "UFClube, CidadeClube, IdadeClube, EscudoClube, BandeiraPais, BandeiraUF, Federacao, "
        "LogoFederacao, Identificador, Extinto, Estadio, Capacidade) "
        "values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    const QVariant year =
        c.anoFundacao ? QVariant(*c.anoFundacao) : QVariant(QMetaType(QMetaType::Int));
    const QVariantList values = {
        c.codigo,        c.nomeClube,     c.nomeCompletoClube, year,
        c.paisClube,     c.ufClube,       c.cidadeClube,       c.idadeClube,
        c.escudoClube,   c.bandeiraPais,  c.bandeiraUF,        c.federacao,
        c.logoFederacao, c.identificador, c.extinto,           c.estadio,
        c.capacidade};
    for (const QVariant& v : values)
        q.addBindValue(v.typeId() == QMetaType::QString && v.toString().isNull()
                           ? QVariant(QString(QLatin1String("")))
                           : v);
    if (!q.exec())
        fail(QStringLiteral("TestStore::insert(%1): %2").arg(c.codigo).arg(q.lastError().text()));
}

Club TestStore::add(int codigo, const QString& nome, const QString& pais, const QString& uf) {
    Club c = club(codigo, nome, pais, uf);
    insert(c);
    return c;
}

void TestStore::insertCity(const QString& cidade, const QString& pais, const QString& estado) {
    QSqlQuery q(database().handle());
    q.prepare(QStringLiteral("insert into Cidades (Estado, Cidade, \"País\") values (?, ?, ?)"));
    q.addBindValue(estado.isNull() ? QString(QLatin1String("")) : estado);
    q.addBindValue(cidade);
    q.addBindValue(pais);
    if (!q.exec())
        fail(q.lastError().text());
}

void TestStore::exec(const QString& sql) {
    database().exec(sql);
}

int TestStore::count(const QString& table) {
    return value(QStringLiteral("select count(*) from \"%1\"").arg(Schema::table(table).name))
        .toInt();
}

QString TestStore::value(const QString& sql) {
    const QStringList values = column(sql);
    return values.isEmpty() ? QString() : values.first();
}

QStringList TestStore::column(const QString& sql) {
    QSqlQuery q(database().handle());
    q.setForwardOnly(true);
    if (!q.exec(sql))
        fail(QStringLiteral("%1\n%2").arg(q.lastError().text(), sql));
    QStringList values;
    while (q.next())
        values << (q.value(0).isNull() ? QString() : q.value(0).toString());
    return values;
}

} // namespace velmora::test
