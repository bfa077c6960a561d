#pragma once

#include "store/Database.h"

#include <QColor>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>
#include <memory>
#include <optional>

namespace velmora::test {

// One row of Clubes.db, every field as the editor would store it.
struct Club {
    int codigo = 0;
    QString nomeClube;
    QString nomeCompletoClube;
    std::optional<int> anoFundacao = 1910;
    QString paisClube = QStringLiteral("Brasil");
    QString ufClube = QStringLiteral("SP");
    QString cidadeClube;
    QString idadeClube = QStringLiteral("114 anos");
    QString escudoClube;
    QString bandeiraPais;
    QString bandeiraUF;
    QString federacao;
    QString logoFederacao;
    int identificador = 0; // 0 club, 1 national team
    int extinto = 0;
    QString estadio;
    QString capacidade;
};

// A complete data directory in a folder: Velmora.sqlite with the six tables and
// reference rows, picture folders with small real JPEG flags, state flags and
// federation logos (full paths in the rows), an empty Distintivos/ and a Fontes/
// folder for badge sources.
//
// Reference rows: countries Brasil (BRA), Argentina (ARG), Inglaterra (ENG),
// Itália (ITA), Alemanha (GER), Uruguai (URU); states SP, RJ, MG, RS (Codigo 1..4);
// years 1850..2050; federations FIFA, CONMEBOL, UEFA, CBF, FPF-SP, FERJ; cities
// São Paulo/SP, Campinas/SP, Santos/SP, Rio de Janeiro/RJ, Belo Horizonte/MG,
// Buenos Aires (Argentina), Londres (Inglaterra).
class TestStore {
public:
    // How a store on an existing catalogue (a generated one) uses it.
    enum class Copy {
        None,  // works on the folder itself: for runs that only read
        Store, // a copy of the store file; pictures are still found by full path
        Folder // a copy of the whole folder, pictures included: for runs that replace badges
    };

    // On a folder of its own, removed with the store.
    TestStore();
    // On an existing (empty) folder.
    explicit TestStore(const QString& dir);
    // The catalogue in the folder `catalogue` as it is (no reference rows added), used
    // as `copy` says; a copy lives in a folder of its own, removed with the store.
    TestStore(const QString& catalogue, Copy copy);
    ~TestStore();
    TestStore(const TestStore&) = delete;
    TestStore& operator=(const TestStore&) = delete;

    QString dir() const { return dir_; }
    QString path(const QString& relative) const; // dir() + "/" + relative
    QString storeFile() const;                   // the Velmora.sqlite path

    // Full paths of the reference pictures ("" for a name the store does not have).
    QString countryFlag(const QString& nomePais) const;
    QString stateFlag(const QString& uf) const;
    QString logo(const QString& federacao) const;
    QString stateName(const QString& uf) const;
    QString countryCode(const QString& nomePais) const;

    // Writes a real picture (JPEG, or BMP/PNG by extension) into folder and returns
    // its full path.
    QString makeBadge(const QString& fileName, QColor colour = QColor(200, 30, 30),
                      const QString& folder = QStringLiteral("Fontes"));

    // A complete valid row: badge file made in Distintivos/, flags and logo from the
    // reference rows, the city and federation of its country or state, the age text
    // for year 2024. An unknown country gets empty flag, city and federation.
    Club club(int codigo, const QString& nome, const QString& pais = QStringLiteral("Brasil"),
              const QString& uf = QStringLiteral("SP"));
    // The same row pointing at an existing badge file (no picture is written).
    Club clubSharingBadge(int codigo, const QString& nome, const QString& pais, const QString& uf,
                          const QString& escudo) const;
    // A national team of a country: Identificador 1, no state, FIFA.
    Club selecao(int codigo, const QString& nome, const QString& pais);
    void makeSelecao(Club& club) const; // turns a row into a national team's

    void insert(const Club& club);
    // Shorthand: insert(club(codigo, nome, pais, uf)) and return the row.
    Club add(int codigo, const QString& nome, const QString& pais = QStringLiteral("Brasil"),
             const QString& uf = QStringLiteral("SP"));
    void insertCity(const QString& cidade, const QString& pais, const QString& estado = {});

    // Raw SQLite on the store (table stems: Clubes, Paises, UF, Cidades, Anos, Federacao).
    void exec(const QString& sql);
    int count(const QString& table);        // stem or file name, any case
    QString value(const QString& sql);      // first column of the first row as text, "" if none
    QStringList column(const QString& sql); // first column of every row as text

    // Releases this fixture's connection (reopened by the next call that needs it),
    // so a test can break or remove the store file.
    void close();
    Database& database();

private:
    void create();
    void open(bool create);

    std::unique_ptr<QTemporaryDir> ownDir_;
    QString dir_;
    std::unique_ptr<Database> db_;
};

} // namespace velmora::test
