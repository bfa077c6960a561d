#pragma once

class QString;

namespace velmora {

struct Services;
struct GalleryDef;
class TFrmRelatorios;

// The seven galleries started from the main window's "Relatórios" menu.
enum class MenuGallery {
    ClubesBrasileiros,
    ClubesPorEstado,
    ClubesPorPais,
    TodosOsClubes,
    TodasAsSelecoes,
    PesquisarPorNome,
    Extintos,
};

// Runs one menu gallery: entry box where it has one, listing, count, title, page fill.
void runMenuGallery(Services& services, TFrmRelatorios& page, MenuGallery gallery);
// The same gallery for a value already known (a country or state picked elsewhere):
// no entry box, and the value matched whole rather than as part of a name.
void runMenuGalleryFor(Services& services, TFrmRelatorios& page, MenuGallery gallery,
                       const QString& value);

// What each menu gallery runs: statements, title, warning, button and step order.
const GalleryDef& menuGalleryDef(MenuGallery gallery);

} // namespace velmora
