#include "bench/ClubGenerator.h"

#include "store/Database.h"
#include "store/Folding.h"
#include "store/Schema.h"
#include "tools/datadir/DataDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <memory>
#include <random>
#include <stdexcept>

namespace velmora::bench {

namespace {

const char* const prefixes[] = {"Esporte Clube", "Sport Club", "Associação",  "Clube Atlético",
                                "Grêmio",        "União",      "Real",        "Sporting",
                                "Racing",        "Athletic",   "Juventude",   "Internacional",
                                "Nacional",      "Operário",   "Ferroviário", "Atlético"};
// Every one accented, as many as above.
const char* const accentedPrefixes[] = {"Associação",
                                        "Grêmio",
                                        "União",
                                        "Operário",
                                        "Ferroviário",
                                        "Atlético",
                                        "Clube Atlético",
                                        "Esporte Clube São",
                                        "Grêmio Esportivo",
                                        "Associação Atlética",
                                        "União Operária",
                                        "Clube Náutico",
                                        "Ação Esportiva",
                                        "Clube Ferroviário",
                                        "Paraná",
                                        "Estrela do Ipê"};
static_assert(std::size(accentedPrefixes) == std::size(prefixes));
// No k, w, x or y anywhere: fragments with them are absent from every name.
const char* const syllables[] = {"ba",  "be",  "bi", "bo", "ca", "ce",  "co",  "da", "de", "do",
                                 "fa",  "fe",  "ga", "go", "ja", "la",  "le",  "li", "lo", "ma",
                                 "me",  "mi",  "mo", "na", "ne", "no",  "pa",  "pe", "ra", "re",
                                 "ri",  "ro",  "sa", "se", "ta", "te",  "to",  "va", "vi", "zo",
                                 "ção", "são", "rê", "tá", "lú", "nhô", "gui", "tu"};
const char* const fullNameTails[] = {"Futebol Clube",  "Esporte Clube",     "de Futebol",
                                     "Foot-Ball Club", "Futebol e Regatas", "Sociedade Esportiva"};

constexpr int syllableCount = int(std::size(syllables));
constexpr int wordSpace = syllableCount * syllableCount * syllableCount;
constexpr int badgeFiles = 64;

QString u(const char* s) {
    return QString::fromUtf8(s);
}

// A made-up word of three syllables; distinct numbers below wordSpace give distinct
// words, spread so that neighbours do not share their start.
QString word(int n) {
    int m = int((qint64(n) * 7919 + 12345) % wordSpace);
    QString w;
    for (int i = 0; i < 3; ++i, m /= syllableCount)
        w += u(syllables[m % syllableCount]);
    w[0] = w[0].toUpper();
    return w;
}

struct ShapeName {
    Shape shape;
    const char* name;
};
constexpr ShapeName shapeNames[] = {{Shape::Mixed, "mixed"},
                                    {Shape::SharedWords, "shared"},
                                    {Shape::Accented, "accented"},
                                    {Shape::OneCountry, "country"},
                                    {Shape::OneState, "state"}};

Shape& currentShape() {
    static Shape shape = Shape::Mixed;
    return shape;
}

// About one club in ten thousand has a word the syllables never make: a rare letter
// and digit, as real catalogues hold ("Kyoto 1909"); the rest have none.
constexpr int rareEvery = 9973;
QString rareWord(int n) {
    return QStringLiteral(" Ky%1").arg(n / rareEvery % 10);
}

QString plainName(int n, Shape shape);

// Distinct for distinct n below prefixes x wordSpace.
QString clubName(int n, Shape shape) {
    return n % rareEvery == rareEvery / 2 ? plainName(n, shape) + rareWord(n) : plainName(n, shape);
}

QString plainName(int n, Shape shape) {
    const int prefixCount = int(std::size(prefixes));
    const QString second = word(n / prefixCount);
    switch (shape) {
    case Shape::SharedWords:
        // Every name starts alike; the last word stands for the prefix it replaces.
        return u("Esporte Clube São ") + second + QLatin1Char(' ') +
               word(n % prefixCount + wordSpace / 2);
    case Shape::Accented:
        return u(accentedPrefixes[n % prefixCount]) + QLatin1Char(' ') + second;
    default:
        return u(prefixes[n % prefixCount]) + QLatin1Char(' ') + second;
    }
}

struct Reference {
    struct Country {
        QString name, flag, federation, federationLogo, city;
    };
    struct State {
        QString uf, flag, federation, federationLogo, city;
    };
    QList<Country> foreign; // every country but Brasil
    Country brasil;
    QList<State> states;
    QString fifaLogo;
};

QHash<QString, QString> column(Database& db, const QString& sql) {
    QSqlQuery q(db.handle());
    if (!q.exec(sql))
        throw std::runtime_error(q.lastError().text().toStdString());
    QHash<QString, QString> map;
    while (q.next())
        map.insert(q.value(0).toString(), q.value(1).toString());
    return map;
}

// Confederation of each country, from the table velmora-datadir ships.
QHash<QString, QString> confederations() {
    QHash<QString, QString> map;
    QFile file(QString::fromLatin1(datadir::shippedData) + QStringLiteral("/countries.tsv"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return map;
    QTextStream in(&file);
    in.setEncoding(QStringConverter::Utf8);
    in.readLine();
    while (!in.atEnd()) {
        const QStringList cells = in.readLine().split(QLatin1Char('\t'));
        if (cells.size() >= 4)
            map.insert(cells[1], cells[3]);
    }
    return map;
}

Reference readReference(Database& db) {
    Reference ref;
    const auto logos =
        column(db, QStringLiteral("select NomeFederacao, LogoFederacao from Federacao"));
    const auto flags = column(db, QStringLiteral("select NomePais, BandeiraPais from Paises"));
    const auto stateFlags = column(db, QStringLiteral("select UF, BandeiraUF from UF"));
    const auto countryCities =
        column(db, QStringLiteral("select País, Cidade from Cidades where Estado = ''"));
    const auto stateCities =
        column(db, QStringLiteral("select Estado, Cidade from Cidades where Estado <> ''"));
    QHash<QString, QString> stateFederation;
    for (auto it = logos.begin(); it != logos.end(); ++it) {
        for (auto s = stateFlags.begin(); s != stateFlags.end(); ++s) {
            if (it.key().endsWith(s.key()) || it.key() == QStringLiteral("FPF-") + s.key())
                stateFederation.insert(s.key(), it.key());
        }
    }
    const QHash<QString, QString> confederation = confederations();
    // Large and small countries anywhere in the alphabet, the same on every run.
    QStringList names = flags.keys();
    names.sort();
    std::shuffle(names.begin(), names.end(), std::mt19937(218u));
    for (const QString& name : names) {
        Reference::Country c{name,
                             flags.value(name),
                             confederation.value(name, u("FIFA")),
                             {},
                             countryCities.value(name, name)};
        if (!logos.contains(c.federation))
            c.federation = QStringLiteral("FIFA");
        c.federationLogo = logos.value(c.federation);
        if (name == QLatin1String("Brasil"))
            ref.brasil = c;
        else
            ref.foreign << c;
    }
    QStringList ufs = stateFlags.keys();
    ufs.sort();
    for (const QString& uf : ufs) {
        const QString federation = stateFederation.value(uf, QStringLiteral("CBF"));
        ref.states << Reference::State{uf, stateFlags.value(uf), federation,
                                       logos.value(federation), stateCities.value(uf, uf)};
    }
    ref.fifaLogo = logos.value(QStringLiteral("FIFA"));
    return ref;
}

QStringList makeBadges(const QString& dir) {
    QStringList paths;
    for (int i = 0; i < badgeFiles; ++i) {
        QImage image(201, 201, QImage::Format_RGB32);
        image.fill(QColor::fromHsv((i * 37) % 360, 180, 220));
        QPainter painter(&image);
        painter.setBrush(QColor::fromHsv((i * 37 + 180) % 360, 200, 120));
        painter.drawEllipse(30, 30, 141, 141);
        painter.end();
        const QString path = dir + QStringLiteral("/Distintivos/Escudo%1.jpg").arg(i);
        if (!image.save(path, "JPEG", 85))
            throw std::runtime_error("cannot write " + path.toStdString());
        paths << path;
    }
    return paths;
}

// Weights 1/rank^s: a few large and many small.
std::discrete_distribution<int> zipf(int n, double s) {
    std::vector<double> weights;
    for (int rank = 1; rank <= n; ++rank)
        weights.push_back(1.0 / std::pow(rank, s));
    return std::discrete_distribution<int>(weights.begin(), weights.end());
}

void exec(Database& db, const QString& sql) {
    db.exec(sql);
}

} // namespace

void makeStore(const QString& dir, int clubs) {
    datadir::CreateOptions options;
    options.dir = dir;
    options.currentYear = generatedYear;
    datadir::create(options);
    const QStringList badges = makeBadges(dir);

    Database db(dir);
    const Reference ref = readReference(db);
    // A bulk load: no journal; indexes, counts and trigram indexes built once at the end.
    Schema::dropDerived(db.handle());
    exec(db, QStringLiteral("PRAGMA journal_mode = OFF"));
    exec(db, QStringLiteral("PRAGMA synchronous = OFF"));

    std::mt19937 random(20240601u + unsigned(clubs));
    std::uniform_int_distribution<int> year(1850, 2025), percent(0, 9999);
    std::discrete_distribution<int> foreign = zipf(int(ref.foreign.size()), 1.1);
    std::discrete_distribution<int> state = zipf(int(ref.states.size()), 0.8);
    std::uniform_int_distribution<int> tail(0, int(std::size(fullNameTails)) - 1);
    const Shape shape = currentShape();

    db.handle().transaction();
    QSqlQuery insert(db.handle());
    insert.prepare(QStringLiteral(
        "insert into Clubes (Codigo, NomeClube, NomeCompletoClube, AnoFundacao, PaisClube, "
        "UFClube, CidadeClube, IdadeClube, EscudoClube, BandeiraPais, BandeiraUF, Federacao, "
        "LogoFederacao, Identificador, Extinto, Estadio, Capacidade, NomeClubeOrdem) "
        "values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    for (int code = 1; code <= clubs; ++code) {
        const int n = code - 1;
        const QString name = clubName(n, shape);
        const int draw = percent(random);
        // The last club always lies outside Paises.DB, so that even a small catalogue
        // exercises the main window's fallback draw; one country or state has no other.
        const bool oneArea = shape == Shape::OneCountry || shape == Shape::OneState;
        const bool unknownCountry = (draw == 9999 || code == clubs) && !oneArea;
        const bool brazilian = shape == Shape::OneState ||
                               (draw < 3000 && !unknownCountry && shape != Shape::OneCountry);
        const bool selecao = percent(random) < 300;
        const int founded = year(random);
        QString pais, uf, city, flag, stateFlag, federation, logo;
        if (brazilian) {
            const int drawn = state(random);
            // One state: the largest of the mixed catalogue.
            const Reference::State& s = ref.states[shape == Shape::OneState ? 0 : drawn];
            pais = ref.brasil.name;
            uf = s.uf;
            city = s.city;
            flag = ref.brasil.flag;
            stateFlag = s.flag;
            federation = s.federation;
            logo = s.federationLogo;
        } else {
            const int drawn = foreign(random);
            // One country: the largest of the mixed catalogue.
            const Reference::Country& c = ref.foreign[shape == Shape::OneCountry ? 0 : drawn];
            pais = unknownCountry ? u("Atlântida") : c.name;
            city = c.city;
            flag = c.flag;
            federation = c.federation;
            logo = c.federationLogo;
        }
        if (selecao) {
            uf.clear();
            stateFlag.clear();
            federation = QStringLiteral("FIFA");
            logo = ref.fifaLogo;
        }
        const QVariantList values = {
            code,
            name,
            name + QLatin1Char(' ') + u(fullNameTails[tail(random)]),
            founded,
            pais,
            uf,
            city,
            QStringLiteral("%1 anos").arg(generatedYear - founded),
            badges[code % badgeFiles],
            flag,
            stateFlag,
            federation,
            logo,
            selecao ? 1 : 0,
            percent(random) < 500 ? 1 : 0,
            QStringLiteral("Estádio ") + word(n / 7 + 1000),
            QString::number(5000 + code % 70000),
            foldedText(name)}; // as the trigger would write it, so it writes nothing
        for (int i = 0; i < values.size(); ++i)
            insert.bindValue(i, values[i]);
        if (!insert.exec())
            throw std::runtime_error(insert.lastError().text().toStdString());
    }
    if (!db.handle().commit())
        throw std::runtime_error(db.handle().lastError().text().toStdString());
    exec(db, QStringLiteral("PRAGMA cache_size = -262144"));
    Schema::buildDerived(db.handle());
    exec(db, QStringLiteral("PRAGMA journal_mode = WAL"));
}

QString cachedStore(int clubs) {
    // A folder of stores kept between runs, when asked for: <folder>/<clubs>/.
    const QString kept = qEnvironmentVariable("VELMORA_BENCH_STORES");
    if (!kept.isEmpty()) {
        QString path = QStringLiteral("%1/%2").arg(kept).arg(clubs);
        if (currentShape() != Shape::Mixed)
            path += QLatin1Char('-') + shapeName();
        if (!QFileInfo::exists(path + QLatin1Char('/') + QLatin1String(Database::fileName)))
            makeStore(path, clubs);
        return path;
    }
    static std::map<std::pair<int, Shape>, std::unique_ptr<QTemporaryDir>> stores;
    auto& dir = stores[{clubs, currentShape()}];
    if (!dir) {
        dir = std::make_unique<QTemporaryDir>();
        const QString path = dir->filePath(QStringLiteral("Velmora"));
        makeStore(path, clubs);
    }
    return dir->filePath(QStringLiteral("Velmora"));
}

// A generated catalogue of `clubs` where every club has a badge file of its own, as a
// real one has (kept in VELMORA_BENCH_STORES when set).
QString ownBadgeStore(int clubs) {
    static std::map<int, std::unique_ptr<QTemporaryDir>> made;
    QString dir;
    const QString kept = qEnvironmentVariable("VELMORA_BENCH_STORES");
    if (!kept.isEmpty()) {
        dir = QStringLiteral("%1/%2-own-badges").arg(kept).arg(clubs);
    } else {
        auto& temp = made[clubs];
        if (!temp)
            temp = std::make_unique<QTemporaryDir>();
        dir = temp->filePath(QStringLiteral("Velmora"));
    }
    if (QFileInfo::exists(dir + QStringLiteral("/Velmora.sqlite")))
        return dir;
    bench::makeStore(dir, clubs);
    Database db(dir);
    QSqlQuery query(db.handle());
    query.exec(QStringLiteral("select Codigo, EscudoClube from Clubes"));
    const QString badges = dir + QStringLiteral("/Distintivos/c%1.jpg");
    while (query.next())
        QFile::copy(query.value(1).toString(), badges.arg(query.value(0).toInt()));
    db.exec(QStringLiteral("update Clubes set EscudoClube = '%1/Distintivos/c' || Codigo || '.jpg'")
                .arg(dir));
    for (const QString& shared : QDir(dir + QStringLiteral("/Distintivos")).entryList({"Escudo*"}))
        QFile::remove(dir + QStringLiteral("/Distintivos/") + shared);
    return dir;
}

bool setShape(const QString& name) {
    for (const ShapeName& s : shapeNames) {
        if (name == QLatin1String(s.name)) {
            currentShape() = s.shape;
            return true;
        }
    }
    return false;
}

Shape shape() {
    return currentShape();
}

QString shapeName() {
    for (const ShapeName& s : shapeNames) {
        if (s.shape == currentShape())
            return QLatin1String(s.name);
    }
    return {};
}

bool takeShapeOption(int& argc, char** argv) {
    static const char option[] = "--velmora_shape=";
    bool known = true;
    if (const QString fromEnv = qEnvironmentVariable("VELMORA_BENCH_SHAPE"); !fromEnv.isEmpty())
        known = setShape(fromEnv);
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], option, sizeof option - 1) == 0)
            known = setShape(QString::fromLocal8Bit(argv[i] + sizeof option - 1)) && known;
        else
            argv[kept++] = argv[i];
    }
    argc = kept;
    return known;
}

QString scratchFolder() {
    static QTemporaryDir scratch;
    if (!scratch.isValid())
        qFatal("no temporary folder for the benchmarks: %s", qPrintable(scratch.errorString()));
    static int made = 0;
    const QString path = scratch.filePath(QString::number(++made));
    QDir().mkpath(path);
    return path;
}

} // namespace velmora::bench
