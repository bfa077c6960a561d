#include "registry/Registry.h"

#include "registry/CadCidade.h"
#include "registry/Cidade.h"
#include "registry/Clubes.h"
#include "registry/Federacao.h"
#include "registry/Paises.h"
#include "registry/UF.h"

namespace velmora {

namespace {

void connectDialog(TFrmClubes& editor, SelectionDialog& dialog,
                   void (TFrmClubes::*apply)(const SelectionChoice&)) {
    QObject::connect(&dialog, &SelectionDialog::chosen, &editor, apply);
    // A choice only goes into a row being inserted or edited: when that ends, the
    // dialog closes.
    QObject::connect(&editor, &TFrmClubes::editingEnded, &dialog, &SelectionDialog::dismiss);
}

} // namespace

void connectRegistry(const RegistryWindows& w) {
    TFrmClubes& editor = w.editor;
    QObject::connect(&editor, &TFrmClubes::countryWanted, &w.countries, &SelectionDialog::open);
    QObject::connect(&editor, &TFrmClubes::stateWanted, &w.states, &SelectionDialog::open);
    QObject::connect(&editor, &TFrmClubes::cityWanted, &w.cities,
                     [&cities = w.cities] { cities.open(); });
    QObject::connect(&editor, &TFrmClubes::federationWanted, &w.federations,
                     &SelectionDialog::open);
    QObject::connect(&editor, &TFrmClubes::cityRegistryWanted, &w.cityRegistry,
                     &TFrmCadastroCidade::open);
    QObject::connect(&w.cityRegistry, &TFrmCadastroCidade::left, &editor, &TFrmClubes::comeBack);

    connectDialog(editor, w.countries, &TFrmClubes::countryChosen);
    connectDialog(editor, w.states, &TFrmClubes::stateChosen);
    connectDialog(editor, w.cities, &TFrmClubes::cityChosen);
    connectDialog(editor, w.federations, &TFrmClubes::federationChosen);
    QObject::connect(&editor, &TFrmClubes::stateDropped, &w.states, &SelectionDialog::dismiss);
    QObject::connect(&editor, &TFrmClubes::cityListChanged, &w.cities, &SelectionDialog::dismiss);
}

} // namespace velmora
