#include "app/StatsGalleries.h"

#include "gallery/Anos.h"
#include "gallery/FederSel.h"
#include "gallery/GalleryCommand.h"
#include "gallery/MenuGalleries.h"
#include "gallery/Relatorios.h"
#include "stats/Estatisticas.h"

namespace velmora {

namespace {

void openGallery(Services& services, TFrmRelatorios& page, StatsGallery gallery,
                 const QString& value) {
    switch (gallery) {
    case StatsGallery::Country:
        return runMenuGalleryFor(services, page, MenuGallery::ClubesPorPais, value);
    case StatsGallery::State:
        return runMenuGalleryFor(services, page, MenuGallery::ClubesPorEstado, value);
    case StatsGallery::Federation:
        return runGallery(services, page, TFrmSelFeder::gallery(), value);
    case StatsGallery::Year:
        return runGallery(services, page, TFrmAno::gallery(), value);
    case StatsGallery::AllClubs:
        return runMenuGallery(services, page, MenuGallery::TodosOsClubes);
    case StatsGallery::AllTeams:
        return runMenuGallery(services, page, MenuGallery::TodasAsSelecoes);
    case StatsGallery::Extinct:
        return runMenuGallery(services, page, MenuGallery::Extintos);
    case StatsGallery::None:
        return;
    }
}

} // namespace

void connectStatistics(Services& services, TFrmEstatisticas& statistics, TFrmRelatorios& page) {
    QObject::connect(&statistics, &TFrmEstatisticas::galleryWanted, &page,
                     [&services, &page](StatsGallery gallery, const QString& value) {
                         openGallery(services, page, gallery, value);
                     });
}

} // namespace velmora
