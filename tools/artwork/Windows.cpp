#include "Windows.h"

#include "Palette.h"

#include <array>

using namespace Qt::StringLiterals;

namespace artwork {

namespace {

// Text styles shared by the windows.
const FontSpec kFieldTitle{kCorbel, 15, true};     // titles over the fields, on cards
const FontSpec kSmallCaps{kCorbel, 12, true, 1.4}; // captions on the detail card
const FontSpec kBanner{kImpact, 24, false, 1.5};   // window headings on the pitch
const FontSpec kCounterFont{kImpact, 24};          // the main window's counters
const QColor kCounterGrey(118, 118, 118);

Panel well(const QRect& picture, int pad = 4) {
    return Panel{QRectF(picture).adjusted(-pad, -pad, pad, pad), PanelStyle::Well, 4};
}

Panel frame(const QRect& picture, int pad = 6) {
    return Panel{QRectF(picture).adjusted(-pad, -pad, pad, pad), PanelStyle::Frame, 6};
}

Text fieldTitle(const QString& text, qreal x, qreal baseline) {
    return Text{text, kFieldTitle, QPointF(x, baseline), palette::deepGreen};
}

void append(std::vector<Element>& to, std::initializer_list<Element> items) {
    to.insert(to.end(), items.begin(), items.end());
}

// ---------------------------------------------------------------------------------------------

Artwork splash() {
    return Artwork{
        u"splash.jpg"_s,
        {494, 296},
        {0, 0},
        u"FrmSplash"_s,
        false,
        {
            Fill{{0, 0, 494, 296}, Surface::Pitch},
            Ornament{Drawing::PitchLines, {-300, -34, 640, 364}, 0.10},
            Ornament{Drawing::Glow, {276, -4, 260, 260}, 0.9},
            Ornament{Drawing::Ball, {338, 58, 136, 136}},
            Text{u"VELMORA"_s, {kImpact, 92, false, 3}, {32, 138}, Qt::white},
            Rule{{36, 154, 96, 5}, palette::orange},
            Text{u"Catálogo de distintivos de futebol"_s,
                 {kCorbel, 20, true},
                 {36, 188},
                 palette::mist},
            Text{u"Clubes  •  Seleções  •  Galerias"_s,
                 {kCorbel, 15},
                 {36, 212},
                 QColor(170, 196, 182)},
            Text{u"Carregando o catálogo…"_s,
                 {kCorbel, 13, false, 0, true},
                 {36, 276},
                 QColor(150, 176, 164)},
            Text{u"v1.0"_s, {kCorbel, 18, true}, {466, 276}, palette::orange, Qt::AlignRight},
        },
    };
}

// The five counters zig-zag down the right edge; each circle is centred on its label.
struct Counter {
    const char16_t* name;
    const char16_t* title;
    QRect label;
    bool titleOnLeft;
};
const std::array<Counter, 5> kCounters{{
    {u"LblQtdeClubes", u"Total de Clubes", {580, 26, 63, 35}, false},
    {u"LblQtdeBrasil", u"Brasileiros", {634, 84, 57, 36}, true},
    {u"LblQtdeOutros", u"Estrangeiros", {583, 142, 57, 33}, false},
    {u"LblSelecoes", u"Seleções", {635, 201, 57, 33}, true},
    {u"LblExtintos", u"Extintos", {583, 259, 57, 33}, false},
}};

Artwork mainWindow() {
    Artwork art{u"main.jpg"_s, {794, 548}, {1, 1}, u"FrmInicial"_s, false, {}};
    auto& e = art.elements;
    append(e, {
                  Fill{{-1, -1, 794, 548}, Surface::Pitch},
                  Ornament{Drawing::PitchLines, {-340, 24, 800, 470}, 0.09},
                  Text{u"VELMORA"_s, {kImpact, 118, false, 4}, {36, 150}, Qt::white},
                  Rule{{40, 167, 120, 6}, palette::orange},
                  Text{u"Catálogo de distintivos de futebol"_s,
                       {kCorbel, 24, true},
                       {40, 204},
                       palette::mist},
                  Text{u"Clubes e seleções do Brasil e do mundo"_s,
                       {kCorbel, 17},
                       {40, 230},
                       QColor(168, 196, 182)},
                  Ornament{Drawing::Glow, {40, 244, 280, 280}, 0.8},
                  Ornament{Drawing::Ball, {96, 300, 168, 168}},
                  Panel{{508, -12, 300, 348}, PanelStyle::Glass, 18},
              });
    QPolygonF passes;
    for (const Counter& c : kCounters)
        passes << QRectF(c.label).center();
    e.push_back(Path{passes, QColor(244, 141, 36, 150), 2, true});
    for (const Counter& c : kCounters) {
        const QPointF centre = QRectF(c.label).center();
        e.push_back(Disc{centre, 34, Qt::white, palette::orange, 5});
        e.push_back(Text{QString::fromUtf16(c.title),
                         {kCorbel, 17, true},
                         centre + QPointF(c.titleOnLeft ? -42 : 42, 6),
                         Qt::white,
                         c.titleOnLeft ? Qt::AlignRight : Qt::AlignLeft});
        art.controls.push_back(Placed{QString::fromUtf16(c.name), Control::Label, c.label,
                                      u"1234"_s, kCounterFont, kCounterGrey, Qt::AlignHCenter});
    }
    append(e, {
                  Panel{{340, 356, 444, 162}, PanelStyle::Card, 10, u"DESTAQUE"_s, 28},
                  well({352, 390, 113, 113}),
                  well({485, 436, 53, 53}, 3),
                  well({556, 442, 69, 40}, 3),
                  Ornament{Drawing::Ball, {690, 414, 80, 80}, 0.08},
                  Text{u"um clube sorteado a cada visita"_s,
                       {kCorbel, 13, false, 0, true},
                       {772, 375},
                       QColor(255, 255, 255, 225),
                       Qt::AlignRight},
              });
    art.controls.insert(art.controls.end(),
                        {
                            {u"ImgEscudo"_s, Control::Picture, {352, 390, 113, 113}},
                            {u"LblNomeClube"_s,
                             Control::Label,
                             {485, 392, 0, 0},
                             u"Corinthians"_s,
                             {kCorbel, 15, true}},
                            {u"LblNomeCompleto"_s,
                             Control::Label,
                             {485, 414, 0, 0},
                             u"Sport Club Corinthians Paulista"_s,
                             {kCorbel, 13, true}},
                            {u"ImgLogoFeder"_s, Control::Picture, {485, 436, 53, 53}},
                            {u"LblFederacao"_s,
                             Control::Label,
                             {470, 492, 82, 15},
                             u"FPF"_s,
                             {kCorbel, 13},
                             Qt::black,
                             Qt::AlignHCenter},
                            {u"ImgBandPais"_s, Control::Picture, {556, 442, 69, 40}},
                            {u"LblPais"_s,
                             Control::Label,
                             {564, 493, 57, 15},
                             u"BRA"_s,
                             {kCorbel, 13},
                             Qt::black,
                             Qt::AlignHCenter},
                        });
    return art;
}

Artwork information() {
    Artwork art{u"info.jpg"_s, {796, 550}, {2, 2}, u"FrmInformacoes"_s, false, {}};
    append(art.elements,
           {
               Fill{{-2, -2, 796, 550}, Surface::Paper},
               Fill{{-2, -2, 796, 84}, Surface::Pitch},
               Ornament{Drawing::PitchLines, {430, -60, 420, 200}, 0.10},
               Rule{{-2, 82, 796, 4}, palette::orange},
               Text{u"INFORMAÇÕES"_s, {kImpact, 44, false, 2}, {30, 48}, Qt::white},
               Text{u"Dicas para manter o seu catálogo em ordem"_s,
                    {kCorbel, 18},
                    {32, 71},
                    palette::mist},
               Ornament{Drawing::Ball, {700, 8, 64, 64}},
               // Left column.
               Note{{24, 100, 366, 134},
                    u"1"_s,
                    u"Distintivos"_s,
                    {u"Os distintivos ficam melhores com 201 × 201 pixels, em arquivos JPEG "
                     u"ou bitmap."_s,
                     u"Ao gravar, o Velmora guarda uma cópia na pasta Distintivos."_s}},
               Note{{24, 244, 366, 135},
                    u"2"_s,
                    u"Cidades"_s,
                    {u"Antes de cadastrar uma cidade, confira se ela ainda não está "
                     u"cadastrada: o cadastro aceita a mesma cidade mais de uma vez."_s,
                     u"Cadastre em Utilitários › “Cadastro de Cidades”."_s}},
               Note{{24, 389, 366, 135},
                    u"3"_s,
                    u"Idade dos clubes"_s,
                    {u"A idade de um clube é o ano atual menos o ano de fundação, e não muda "
                     u"sozinha. Uma vez por ano, no Cadastro de Clubes, escolha Utilitários › "
                     u"“Recalcular Idade dos Clubes”."_s}},
               // Right column.
               Note{{402, 100, 366, 140},
                    u"4"_s,
                    u"Campos obrigatórios"_s,
                    {u"Um clube ou seleção novo precisa ter:"_s, u"• nome e escudo;"_s,
                     u"• federação e país;"_s, u"• estado, para os clubes brasileiros."_s}},
               Note{{402, 250, 366, 100},
                    u"5"_s,
                    u"Impressão"_s,
                    {u"As galerias são impressas como aparecem na tela, na impressora "
                     u"padrão, ou salvas em PDF."_s}},
               Note{{402, 360, 366, 164},
                    u"6"_s,
                    u"Cópia de segurança"_s,
                    {u"Com o programa fechado, copie para outro disco a pasta de dados "
                     u"inteira:"_s,
                     u"• ~/Velmora (no Windows, C:\\Velmora)"_s,
                     u"Para restaurar, feche o programa e copie a pasta de volta para o "
                     u"mesmo lugar."_s}},
               Text{u"Velmora v1.0  •  Catálogo de distintivos de futebol"_s,
                    {kCorbel, 12},
                    {396, 540},
                    palette::muted,
                    Qt::AlignHCenter},
           });
    return art;
}

Artwork clubEditor() {
    Artwork art{u"clubes.jpg"_s, {792, 546}, {0, 0}, u"FrmClubes"_s, false, {}};
    append(
        art.elements,
        {
            Fill{{0, 0, 792, 546}, Surface::Pitch},
            Ornament{Drawing::PitchLines, {-120, 30, 1032, 560}, 0.06},
            Text{u"CADASTRO DE CLUBES E SELEÇÕES"_s, kBanner, {756, 30}, Qt::white, Qt::AlignRight},
            Rule{{696, 36, 60, 3}, palette::orange},
            Text{u"CÓDIGO"_s, {kCorbel, 11, true, 1.5}, {70, 22}, palette::mist, Qt::AlignHCenter},
            Disc{{70, 68.5}, 40, QColor(122, 132, 146), QColor(255, 255, 255, 190), 3},
            // Name, foundation and age.
            Panel{{107, 44, 584, 62}},
            // Full name and the locate button.
            Panel{{28, 116, 669, 60}},
            // Badge with its commands and the navigator.
            Panel{{28, 188, 220, 328}},
            well({39, 218, 201, 201}),
            // Country and state.
            Panel{{256, 188, 500, 72}},
            well({269, 220, 59, 33}, 3),
            well({613, 220, 59, 33}, 3),
            Panel{{256, 268, 500, 56}},
            Panel{{256, 332, 272, 100}},
            well({266, 338, 85, 85}, 3),
            Ornament{Drawing::Ball, {552, 355, 52, 52}, 0.9},
            Panel{{628, 332, 128, 100}},
            Panel{{256, 448, 500, 70}},
            Ornament{Drawing::Stadium, {266, 452, 110, 62}},
        });
    // The field titles, each over its control.
    struct Title {
        const char16_t* text;
        qreal x, baseline;
    };
    static constexpr Title kTitles[] = {
        {u"Nome do Clube/Seleção", 117, 63},
        {u"Fundação", 501, 63},
        {u"Idade", 588, 63},
        {u"Nome completo do Clube/Seleção", 38, 135},
        {u"Escudo", 39, 210},
        {u"País / Estado (somente para clubes brasileiros)", 269, 210},
        {u"Cidade", 265, 284},
        {u"Federação", 367, 352},
        {u"Classificação", 641, 352},
        {u"Estádio", 386, 476},
        {u"Capacidade", 631, 476},
    };
    for (const Title& t : kTitles)
        art.elements.push_back(fieldTitle(QString::fromUtf16(t.text), t.x, t.baseline));

    art.controls = {
        {u"lblCodigo"_s,
         Control::Label,
         {32, 44, 76, 49},
         u"128"_s,
         {kImpact, 32},
         Qt::white,
         Qt::AlignHCenter},
        {u"EdtNomeClube"_s, Control::Edit, {117, 71, 357, 26}, u"Corinthians"_s},
        {u"ComboAno"_s, Control::Combo, {501, 70, 65, 26}, u"1910"_s},
        {u"EdtIdade"_s, Control::Edit, {588, 69, 89, 26}, u"115 anos"_s},
        {u"EdtNomeCompletoClube"_s,
         Control::Edit,
         {38, 141, 523, 26},
         u"Sport Club Corinthians Paulista"_s},
        {u"BtnLocalizar"_s, Control::Button, {586, 141, 101, 25}, u"Localizar"_s},
        {u"ImgLogoClube"_s, Control::Picture, {39, 218, 201, 201}},
        {u"ImgBandeira"_s, Control::Picture, {269, 220, 59, 33}},
        {u"EdtNomePais"_s, Control::Edit, {333, 223, 249, 26}, u"Brasil"_s},
        {u"BtnSelecionarPais"_s, Control::Button, {584, 225, 23, 23}, u"..."_s},
        {u"ImgUF"_s, Control::Picture, {613, 220, 59, 33}},
        {u"EdtSiglaEstado"_s, Control::Edit, {676, 223, 42, 26}, u"SP"_s},
        {u"BtnSelecionaUF"_s, Control::Button, {719, 224, 23, 23}, u"..."_s},
        {u"EdtNomeCidade"_s, Control::Edit, {265, 290, 457, 26}, u"São Paulo"_s},
        {u"BtnSelecionarCidade"_s, Control::Button, {723, 291, 23, 23}, u"..."_s},
        {u"ImgLogoFederacao"_s, Control::Picture, {266, 338, 85, 85}},
        {u"EdtFederacao"_s, Control::Edit, {367, 358, 121, 26}, u"FPF"_s},
        {u"BtnFederacao"_s, Control::Button, {493, 359, 23, 23}, u"..."_s},
        {u"rbSelecao"_s, Control::Radio, {641, 366, 113, 17}, u"Seleção"_s},
        {u"rbClube"_s, Control::Radio, {641, 398, 113, 17}, u"Clube"_s},
        {u"CkbExtinto"_s, Control::Radio, {368, 402, 121, 17}, u"Clube Extinto"_s},
        {u"BtnFoto"_s, Control::Button, {39, 444, 105, 33}, u"Alterar logo"_s},
        {u"BtnGravar"_s, Control::Button, {159, 444, 41, 33}, u"G"_s},
        {u"BtnCancelar"_s, Control::Button, {199, 444, 41, 33}, u"C"_s},
        {u"Navegador"_s, Control::Button, {39, 481, 200, 25}, u"|<   <   >   >|"_s},
        {u"EdtEstadio"_s, Control::Edit, {386, 483, 223, 26}, u"Neo Química Arena"_s},
        {u"EdtCapacidade"_s, Control::Edit, {631, 482, 119, 26}, u"49.205"_s},
    };
    return art;
}

Artwork cityRegistry() {
    Artwork art{u"cadcidade.jpg"_s, {519, 282}, {0, 0}, u"FrmCadastroCidade"_s, false, {}};
    append(art.elements, {
                             Fill{{0, 0, 519, 282}, Surface::Pitch},
                             Ornament{Drawing::PitchLines, {-60, 20, 640, 360}, 0.06},
                             Panel{{22, 20, 472, 62}},
                             fieldTitle(u"Cidade a ser cadastrada:"_s, 32, 40),
                             Panel{{22, 98, 410, 80}},
                             well({32, 122, 73, 46}, 3),
                             fieldTitle(u"País:"_s, 112, 126),
                             Panel{{22, 190, 410, 80}},
                             well({32, 214, 73, 46}, 3),
                             fieldTitle(u"Estado (apenas para o Brasil):"_s, 112, 218),
                             Ornament{Drawing::Pin, {452, 118, 44, 62}},
                             Ornament{Drawing::Ball, {446, 206, 56, 56}, 0.9},
                         });
    art.controls = {
        {u"EdtCidade"_s, Control::Edit, {32, 46, 353, 26}, u"Ribeirão Preto"_s},
        {u"BtnGravar"_s, Control::Button, {415, 45, 33, 25}, u"G"_s},
        {u"BtnCancelar"_s, Control::Button, {447, 45, 33, 25}, u"C"_s},
        {u"ImgBandPais"_s, Control::Picture, {32, 122, 73, 46}},
        {u"ComboPais"_s, Control::Combo, {112, 133, 305, 22}, u"Brasil"_s},
        {u"ImgBandUF"_s, Control::Picture, {32, 214, 73, 46}},
        {u"ComboUF"_s, Control::Combo, {112, 225, 305, 22}, u"SP - São Paulo"_s},
    };
    return art;
}

// The three selection dialogs share one design: a framed preview at the left and a card
// holding the title, the list and the OK button.
struct Picker {
    const char16_t* file;
    const char16_t* window;
    QSize size;
    const char16_t* title;
    const char16_t* list;
    const char16_t* preview;
    QRect previewRect;
    QRect card;
    const char16_t* sample;
};

Artwork picker(const Picker& d) {
    const int x = d.card.left() + 10;
    const QRect list(x, d.card.top() + 26, d.card.right() - 8 - x, 24);
    const QRect ok(list.right() - 74, list.bottom() + 7, 75, 25);
    Artwork art{QString::fromUtf16(d.file),
                d.size,
                {0, 0},
                QString::fromUtf16(d.window),
                true,
                {
                    Fill{QRectF(QPointF(0, 0), d.size), Surface::Pitch},
                    Ornament{Drawing::PitchLines, {-40, -30, 520, 200}, 0.07},
                    frame(d.previewRect),
                    Panel{d.card},
                    fieldTitle(QString::fromUtf16(d.title), x, d.card.top() + 19),
                }};
    art.controls = {
        {QString::fromUtf16(d.preview), Control::Picture, d.previewRect},
        {QString::fromUtf16(d.list), Control::Combo, list, QString::fromUtf16(d.sample)},
        {u"BtnOk"_s, Control::Button, ok, u"OK"_s},
    };
    return art;
}

const std::array<Picker, 3> kPickers{{
    {u"paises.jpg",
     u"FrmPaises",
     {422, 101},
     u"País:",
     u"ComboPais",
     u"ImgBandeiraPais",
     {14, 19, 94, 62},
     {120, 7, 294, 87},
     u"Brasil"},
    {u"uf.jpg",
     u"FrmUF",
     {441, 107},
     u"Estado:",
     u"ComboUf",
     u"ImgBandeiraUF",
     {14, 23, 95, 61},
     {122, 9, 311, 89},
     u"SP-São Paulo"},
    {u"federacao.jpg",
     u"FrmFederacao",
     {345, 107},
     u"Federação:",
     u"ComboFederacao",
     u"ImgLogoFederacao",
     {12, 12, 83, 83},
     {108, 9, 229, 89},
     u"CBF"},
}};

Artwork federationChooser() {
    Artwork art{u"selfeder.jpg"_s, {300, 145}, {0, 0}, u"FrmSelFeder"_s, true, {}};
    append(art.elements,
           {
               Fill{{0, 0, 300, 145}, Surface::Pitch},
               Ornament{Drawing::PitchLines, {-60, -20, 420, 220}, 0.07},
               Text{u"CLUBES POR FEDERAÇÃO"_s, {kImpact, 21, false, 1.2}, {14, 25}, Qt::white},
               Rule{{14, 29, 40, 3}, palette::orange},
               frame({14, 42, 93, 93}),
               Panel{{122, 38, 166, 99}},
               fieldTitle(u"Federação:"_s, 132, 58),
           });
    art.controls = {
        {u"ImgLogoFeder"_s, Control::Picture, {14, 42, 93, 93}},
        {u"ComboFeder"_s, Control::Combo, {132, 64, 140, 24}, u"CBF"_s},
        {u"BtnOk"_s, Control::Button, {197, 102, 75, 25}, u"OK"_s},
    };
    return art;
}

Artwork clubChooser() {
    Artwork art{u"selclube.jpg"_s, {433, 185}, {0, 0}, u"FrmSelClube"_s, true, {}};
    append(art.elements,
           {
               Fill{{0, 0, 433, 185}, Surface::Pitch},
               Ornament{Drawing::PitchLines, {-40, -20, 520, 240}, 0.07},
               Text{u"DETALHE DO CLUBE/SELEÇÃO"_s, {kImpact, 21, false, 1.2}, {14, 25}, Qt::white},
               Rule{{14, 29, 40, 3}, palette::orange},
               Panel{{12, 38, 305, 138}},
               fieldTitle(u"Classificação:"_s, 24, 58),
               fieldTitle(u"Clube ou seleção:"_s, 24, 106),
               frame({329, 44, 92, 92}),
           });
    art.controls = {
        {u"rbClube"_s, Control::Radio, {24, 66, 90, 20}, u"Clube"_s},
        {u"rbSelecao"_s, Control::Radio, {124, 66, 100, 20}, u"Seleção"_s},
        {u"ComboClubes"_s, Control::Combo, {24, 112, 281, 24}, u"Corinthians"_s},
        {u"BtnOk"_s, Control::Button, {230, 143, 75, 25}, u"OK"_s},
        {u"ImgEscudoClube"_s, Control::Picture, {329, 44, 92, 92}},
    };
    return art;
}

// The gallery page is printed, so it stays light: hairline cards on white.
struct Slot {
    QPoint badge;
    QPoint flag;
};
const std::array<Slot, 12> kSlots{{
    {{21, 67}, {118, 71}},
    {{21, 145}, {118, 150}},
    {{22, 225}, {118, 230}},
    {{21, 304}, {118, 309}},
    {{21, 383}, {118, 388}},
    {{21, 463}, {118, 468}},
    {{419, 66}, {516, 70}},
    {{419, 144}, {516, 149}},
    {{420, 224}, {516, 229}},
    {{419, 303}, {516, 308}},
    {{419, 382}, {516, 387}},
    {{419, 462}, {516, 467}},
}};

Artwork galleryPage() {
    Artwork art{u"relatorios.jpg"_s, {794, 549}, {1, 1}, u"FrmRelatorios"_s, false, {}};
    append(art.elements, {
                             Fill{{-1, -1, 794, 549}, Surface::Page},
                             Fill{{-1, -1, 794, 54}, Surface::Paper},
                             Rule{{-1, 51, 794, 2}, palette::green},
                             Rule{{-1, 53, 794, 1}, palette::orange},
                         });
    art.controls = {
        {u"ImgBandTitulo"_s, Control::Picture, {22, 10, 57, 33}},
        {u"LblTitulo"_s,
         Control::Label,
         {94, 16, 0, 0},
         u"Relação de Clubes - Estado: São Paulo (37)"_s,
         {kArial, 19, true}},
        {u"BtnProxima"_s, Control::Button, {736, 16, 22, 20}, u">>"_s},
    };
    for (std::size_t i = 0; i < kSlots.size(); ++i) {
        const Slot& s = kSlots[i];
        const bool left = i < 6;
        const qreal cardLeft = s.badge.x() - 9;
        const qreal cardRight = left ? 402 : 782;
        const qreal top = s.badge.y() - 7;
        const qreal textLeft = s.flag.x() + 63;
        append(art.elements,
               {
                   Panel{{cardLeft, top, cardRight - cardLeft, 72}, PanelStyle::Outline, 6},
                   well({s.badge.x(), s.badge.y(), 57, 57}, 3),
                   Rule{{textLeft - 8, top + 10, 1, 52}, palette::hairline},
               });
        const int n = int(i) + 1;
        art.controls.insert(
            art.controls.end(),
            {
                {u"ImgClube%1"_s.arg(n), Control::Picture, {s.badge, QSize(57, 57)}},
                {u"ImgBandClube%1"_s.arg(n), Control::Picture, {s.flag, QSize(49, 33)}},
                {u"LblSiglaPaisClube%1"_s.arg(n),
                 Control::Label,
                 {s.flag + QPoint(0, 35), QSize(49, 14)},
                 u"BRA"_s,
                 {kArial, 11, true},
                 Qt::black,
                 Qt::AlignHCenter},
                {u"LblNomeClube%1"_s.arg(n),
                 Control::Label,
                 {int(textLeft), s.flag.y(), 0, 0},
                 u"Corinthians"_s,
                 {kArial, 12, true}},
                {u"LblNomeCompleto%1"_s.arg(n),
                 Control::Label,
                 {int(textLeft), s.flag.y() + 17, 0, 0},
                 u"Sport Club Corinthians Paulista"_s,
                 {kArial, 11}},
                {u"LblCidade%1"_s.arg(n),
                 Control::Label,
                 {int(textLeft), s.flag.y() + 33, 0, 0},
                 u"São Paulo - SP"_s,
                 {kArial, 11}},
            });
    }
    art.elements.push_back(Text{u"Velmora  •  Catálogo de distintivos de futebol"_s,
                                {kCorbel, 11},
                                {782, 541},
                                palette::muted,
                                Qt::AlignRight});
    return art;
}

Artwork detailCard() {
    Artwork art{u"card.jpg"_s, {792, 546}, {0, 0}, u"FrmClubeSelecionado"_s, false, {}};
    append(
        art.elements,
        {
            Fill{{0, 0, 792, 546}, Surface::Paper},
            Fill{{0, 0, 792, 252}, Surface::Night},
            Ornament{Drawing::PitchLines, {300, -40, 620, 330}, 0.07},
            Ornament{Drawing::Ball, {640, 52, 150, 150}, 0.14},
            Rule{{0, 252, 792, 4}, palette::orange},
            frame({40, 27, 201, 201}, 8),
            Text{
                u"FICHA DO CLUBE / SELEÇÃO"_s, {kImpact, 22, false, 2}, {277, 62}, palette::orange},
            Panel{{60, 268, 456, 136}, PanelStyle::Outline, 10},
            well({86, 280, 107, 107}, 5),
            Text{u"FEDERAÇÃO"_s, kSmallCaps, {213, 309}, palette::green},
            Panel{{528, 268, 232, 136}, PanelStyle::Outline, 10},
            Text{u"ESTÁDIO"_s, kSmallCaps, {545, 302}, palette::green},
            Ornament{Drawing::Stadium, {640, 360, 110, 40}},
            Panel{{60, 420, 344, 108}, PanelStyle::Outline, 10},
            well({87, 443, 105, 68}, 4),
            Text{u"PAÍS"_s, kSmallCaps, {209, 444}, palette::green},
            Panel{{412, 420, 348, 108}, PanelStyle::Outline, 10},
            well({424, 441, 105, 68}, 4),
            Text{u"ESTADO"_s, kSmallCaps, {537, 455}, palette::green},
            Text{u"Velmora v1.0"_s, {kCorbel, 11}, {760, 541}, palette::muted, Qt::AlignRight},
        });
    art.controls = {
        {u"ImgEscudoClube"_s, Control::Picture, {40, 27, 201, 201}},
        {u"LblNomeClube"_s,
         Control::Label,
         {276, 80, 0, 0},
         u"Corinthians"_s,
         {kArial, 29, true},
         Qt::white},
        {u"LblNomeCompleto"_s,
         Control::Label,
         {276, 120, 0, 0},
         u"Sport Club Corinthians Paulista"_s,
         {kArial, 19, true},
         Qt::white},
        {u"LblFundacao"_s,
         Control::Label,
         {276, 147, 0, 0},
         u"Fundado em 1910 - 115 anos"_s,
         {kArial, 19, true},
         Qt::white},
        {u"ImgLogoFeder"_s, Control::Picture, {86, 280, 107, 107}},
        {u"LblFederacao"_s, Control::Label, {212, 319, 0, 0}, u"FPF"_s, {kArial, 24, true}},
        {u"LblEstadio"_s,
         Control::Label,
         {544, 311, 0, 0},
         u"Neo Química Arena"_s,
         {kArial, 15, true}},
        {u"LblCapacidade"_s,
         Control::Label,
         {544, 335, 0, 0},
         u"Capacidade: 49.205"_s,
         {kArial, 15, true}},
        {u"ImgBandeiraPais"_s, Control::Picture, {87, 443, 105, 68}},
        {u"LblPais"_s, Control::Label, {208, 451, 0, 0}, u"BRASIL"_s, {kArial, 19, true}},
        {u"LblCidade"_s, Control::Label, {208, 479, 0, 0}, u"São Paulo"_s, {kArial, 15, true}},
        {u"ImgBandeiraUF"_s, Control::Picture, {424, 441, 105, 68}},
        {u"LblEstado"_s, Control::Label, {536, 463, 0, 0}, u"SÃO PAULO"_s, {kArial, 16, true}},
    };
    return art;
}

Artwork glyph(const char16_t* file, Drawing drawing) {
    return Artwork{QString::fromUtf16(file),
                   {24, 24},
                   {0, 0},
                   {},
                   false,
                   {Fill{{0, 0, 24, 24}, Surface::Clear}, Ornament{drawing, {0, 0, 24, 24}}}};
}

} // namespace

std::vector<Artwork> catalogue() {
    std::vector<Artwork> all{splash(),
                             mainWindow(),
                             information(),
                             clubEditor(),
                             cityRegistry(),
                             federationChooser(),
                             clubChooser(),
                             galleryPage(),
                             detailCard(),
                             glyph(u"glyph-gravar.png", Drawing::Floppy),
                             glyph(u"glyph-cancelar.png", Drawing::Cross),
                             glyph(u"glyph-ok.png", Drawing::Check)};
    for (const Picker& d : kPickers)
        all.push_back(picker(d));
    return all;
}

} // namespace artwork
