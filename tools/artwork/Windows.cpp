#include "Windows.h"

#include "Palette.h"
#include "layout/App.h"
#include "layout/Detail.h"
#include "layout/Gallery.h"
#include "layout/Registry.h"

#include <array>
#include <initializer_list>
#include <string_view>
#include <utility>

using namespace Qt::StringLiterals;

namespace artwork {

namespace {

// Text styles shared by the windows.
const FontSpec kFieldTitle{kCorbel, 15, true};     // titles over the fields, on cards
const FontSpec kSmallCaps{kCorbel, 12, true, 1.4}; // captions on the detail card
const FontSpec kBanner{kImpact, 24, false, 1.5};   // window headings on the pitch

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
// The windows' own place tables say where each control goes.

namespace vl = velmora::layout;

QRect placeOf(const vl::Window& window, std::string_view name) {
    return vl::at(window, name).rect;
}

// The look-alike of the face a window names.
FontSpec fontOf(const vl::Font& font) {
    if (font.family == nullptr)
        return {kCorbel, 15, true};
    const std::string_view family = font.family;
    const QString& face = family == "Impact" ? kImpact : family == "Corbel" ? kCorbel : kArial;
    return {face, qreal(font.pixelSize), font.bold};
}

Control controlOf(vl::Kind kind) {
    switch (kind) {
    case vl::Kind::Label:
        return Control::Label;
    case vl::Kind::Picture:
        return Control::Picture;
    case vl::Kind::Edit:
        return Control::Edit;
    case vl::Kind::Combo:
        return Control::Combo;
    case vl::Kind::Radio:
    case vl::Kind::Check:
        return Control::Radio;
    case vl::Kind::Button:
    case vl::Kind::Navigator:
        break;
    }
    return Control::Button;
}

using Samples = std::initializer_list<std::pair<std::string_view, QString>>;

// A stand-in for a control: its place, face and colour, with a sample text for previews
// (its own caption when it has one, else the first letter of its tool tip).
Placed placed(const vl::Place& place, const QString& sample) {
    QString text = sample;
    if (text.isEmpty())
        text = QString::fromUtf8(place.text);
    if (text.isEmpty())
        text = QString::fromUtf8(place.hint).left(1);
    const Qt::Alignment across = place.align & Qt::AlignHorizontal_Mask;
    return Placed{QString::fromLatin1(place.name),
                  controlOf(place.kind),
                  place.rect,
                  text,
                  fontOf(place.font),
                  place.colour != 0 ? QColor::fromRgb(place.colour) : QColor(Qt::black),
                  across != Qt::Alignment() ? across : Qt::AlignLeft};
}

std::vector<Placed> controlsOf(const vl::Window& window, Samples samples = {}) {
    std::vector<Placed> controls;
    for (const vl::Place& place : window.places) {
        QString sample;
        for (const auto& [name, text] : samples)
            if (name == place.name)
                sample = text;
        controls.push_back(placed(place, sample));
    }
    return controls;
}

// A window's picture: the file it shows and where its client area falls in it.
Artwork pictureOf(const vl::Window& window, bool chosenLayout) {
    const QString path = QString::fromLatin1(window.background);
    const QRect lies = window.backgroundRect;
    return Artwork{path.mid(path.lastIndexOf(QLatin1Char('/')) + 1),
                   lies.size(),
                   -lies.topLeft(),
                   QString::fromLatin1(window.name),
                   chosenLayout,
                   {}};
}

// ---------------------------------------------------------------------------------------------

Artwork splash() {
    Artwork art = pictureOf(vl::splash, false);
    art.elements = {
        Fill{{0, 0, 494, 296}, Surface::Pitch},
        Ornament{Drawing::PitchLines, {-300, -34, 640, 364}, 0.10},
        Ornament{Drawing::Glow, {276, -4, 260, 260}, 0.9},
        Ornament{Drawing::Ball, {338, 58, 136, 136}},
        Text{u"VELMORA"_s, {kImpact, 92, false, 3}, {32, 138}, Qt::white},
        Rule{{36, 154, 96, 5}, palette::orange},
        Text{
            u"Catálogo de distintivos de futebol"_s, {kCorbel, 20, true}, {36, 188}, palette::mist},
        Text{
            u"Clubes  •  Seleções  •  Galerias"_s, {kCorbel, 15}, {36, 212}, QColor(170, 196, 182)},
        Text{u"Carregando o catálogo…"_s,
             {kCorbel, 13, false, 0, true},
             {36, 276},
             QColor(150, 176, 164)},
        Text{u"v1.0"_s, {kCorbel, 18, true}, {466, 276}, palette::orange, Qt::AlignRight},
    };
    return art;
}

// The five counters zig-zag down the right edge; each circle is centred on its label,
// its title (from the window's place table) beside it.
struct Counter {
    const char* name;
    bool titleOnLeft;
};
const std::array<Counter, 5> kCounters{{
    {"LblQtdeClubes", false},
    {"LblQtdeBrasil", true},
    {"LblQtdeOutros", false},
    {"LblSelecoes", true},
    {"LblExtintos", false},
}};

Artwork mainWindow() {
    Artwork art = pictureOf(vl::inicial, false);
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
        passes << QRectF(placeOf(vl::inicial, c.name)).center();
    e.push_back(Path{passes, QColor(244, 141, 36, 150), 2, true});
    for (const Counter& c : kCounters) {
        const QPointF centre = QRectF(placeOf(vl::inicial, c.name)).center();
        e.push_back(Disc{centre, 34, Qt::white, palette::orange, 5});
        e.push_back(Text{QString::fromUtf8(vl::at(vl::inicial, c.name).title),
                         {kCorbel, 17, true},
                         centre + QPointF(c.titleOnLeft ? -42 : 42, 6),
                         Qt::white,
                         c.titleOnLeft ? Qt::AlignRight : Qt::AlignLeft});
    }
    append(e, {
                  Panel{{340, 356, 444, 162}, PanelStyle::Card, 10, u"DESTAQUE"_s, 28},
                  well(placeOf(vl::inicial, "ImgEscudo")),
                  well(placeOf(vl::inicial, "ImgLogoFeder"), 3),
                  well(placeOf(vl::inicial, "ImgBandPais"), 3),
                  Ornament{Drawing::Ball, {690, 414, 80, 80}, 0.08},
                  Text{u"um clube sorteado a cada visita"_s,
                       {kCorbel, 13, false, 0, true},
                       {772, 375},
                       QColor(255, 255, 255, 225),
                       Qt::AlignRight},
              });
    art.controls =
        controlsOf(vl::inicial, {{"LblQtdeClubes", u"1234"_s},
                                 {"LblQtdeBrasil", u"1234"_s},
                                 {"LblQtdeOutros", u"1234"_s},
                                 {"LblSelecoes", u"1234"_s},
                                 {"LblExtintos", u"1234"_s},
                                 {"LblNomeClube", u"Corinthians"_s},
                                 {"LblNomeCompleto", u"Sport Club Corinthians Paulista"_s},
                                 {"LblFederacao", u"FPF"_s},
                                 {"LblPais", u"BRA"_s}});
    return art;
}

Artwork information() {
    Artwork art = pictureOf(vl::informacoes, false);
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
                    {u"Confira antes se a cidade já existe: o cadastro aceita a mesma "
                     u"cidade duas vezes."_s,
                     u"No Cadastro de Clubes, escolha Utilitários › “Cadastro de Cidades”."_s}},
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
    Artwork art = pictureOf(vl::clubes, false);
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
            well(placeOf(vl::clubes, "ImgLogoClube")),
            // Country and state.
            Panel{{256, 188, 500, 72}},
            well(placeOf(vl::clubes, "ImgBandeira"), 3),
            well(placeOf(vl::clubes, "ImgUF"), 3),
            Panel{{256, 268, 500, 56}},
            Panel{{256, 332, 272, 100}},
            well(placeOf(vl::clubes, "ImgLogoFederacao"), 3),
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

    art.controls =
        controlsOf(vl::clubes, {{"lblCodigo", u"128"_s},
                                {"EdtNomeClube", u"Corinthians"_s},
                                {"ComboAno", u"1910"_s},
                                {"EdtIdade", u"115 anos"_s},
                                {"EdtNomeCompletoClube", u"Sport Club Corinthians Paulista"_s},
                                {"EdtNomePais", u"Brasil"_s},
                                {"EdtSiglaEstado", u"SP"_s},
                                {"EdtNomeCidade", u"São Paulo"_s},
                                {"EdtFederacao", u"FPF"_s},
                                {"Navegador", u"|<   <   >   >|"_s},
                                {"EdtEstadio", u"Neo Química Arena"_s},
                                {"EdtCapacidade", u"49.205"_s}});
    return art;
}

Artwork cityRegistry() {
    Artwork art = pictureOf(vl::cadCidade, false);
    append(art.elements, {
                             Fill{{0, 0, 519, 282}, Surface::Pitch},
                             Ornament{Drawing::PitchLines, {-60, 20, 640, 360}, 0.06},
                             Panel{{22, 20, 472, 62}},
                             fieldTitle(u"Cidade a ser cadastrada:"_s, 32, 40),
                             Panel{{22, 98, 410, 80}},
                             well(placeOf(vl::cadCidade, "ImgBandPais"), 3),
                             fieldTitle(u"País:"_s, 112, 126),
                             Panel{{22, 190, 410, 80}},
                             well(placeOf(vl::cadCidade, "ImgBandUF"), 3),
                             fieldTitle(u"Estado (apenas para o Brasil):"_s, 112, 218),
                             Ornament{Drawing::Pin, {452, 118, 44, 62}},
                             Ornament{Drawing::Ball, {446, 206, 56, 56}, 0.9},
                         });
    art.controls = controlsOf(vl::cadCidade, {{"EdtCidade", u"Ribeirão Preto"_s},
                                              {"ComboPais", u"Brasil"_s},
                                              {"ComboUF", u"SP - São Paulo"_s}});
    return art;
}

// The three selection dialogs share one design: a framed preview at the left and a card
// holding the title, the list and the OK button.
struct Picker {
    const vl::Window& window;
    const char16_t* title;
    QRect card;
    const char16_t* sample;
};

Artwork picker(const Picker& d) {
    QRect preview;
    for (const vl::Place& place : d.window.places)
        if (place.kind == vl::Kind::Picture)
            preview = place.rect;
    const int x = d.card.left() + 10;
    Artwork art = pictureOf(d.window, true);
    art.elements = {
        Fill{QRectF(QPointF(0, 0), art.size), Surface::Pitch},
        Ornament{Drawing::PitchLines, {-40, -30, 520, 200}, 0.07},
        frame(preview),
        Panel{d.card},
        fieldTitle(QString::fromUtf16(d.title), x, d.card.top() + 19),
    };
    for (const vl::Place& place : d.window.places)
        art.controls.push_back(placed(
            place, place.kind == vl::Kind::Combo ? QString::fromUtf16(d.sample) : QString()));
    return art;
}

const std::array<Picker, 3> kPickers{{
    {vl::paises, u"País:", {120, 7, 294, 87}, u"Brasil"},
    {vl::uf, u"Estado:", {122, 9, 311, 89}, u"SP-São Paulo"},
    {vl::federacao, u"Federação:", {108, 9, 229, 89}, u"CBF"},
}};

Artwork federationChooser() {
    Artwork art = pictureOf(vl::selFeder, true);
    append(art.elements,
           {
               Fill{{0, 0, 300, 145}, Surface::Pitch},
               Ornament{Drawing::PitchLines, {-60, -20, 420, 220}, 0.07},
               Text{u"CLUBES POR FEDERAÇÃO"_s, {kImpact, 21, false, 1.2}, {14, 25}, Qt::white},
               Rule{{14, 29, 40, 3}, palette::orange},
               frame(placeOf(vl::selFeder, "ImgLogoFeder")),
               Panel{{122, 38, 166, 99}},
               fieldTitle(u"Federação:"_s, 132, 58),
           });
    art.controls = controlsOf(vl::selFeder, {{"ComboFeder", u"CBF"_s}});
    return art;
}

Artwork clubChooser() {
    Artwork art = pictureOf(vl::selClube, true);
    append(art.elements,
           {
               Fill{{0, 0, 433, 185}, Surface::Pitch},
               Ornament{Drawing::PitchLines, {-40, -20, 520, 240}, 0.07},
               Text{u"DETALHE DO CLUBE/SELEÇÃO"_s, {kImpact, 21, false, 1.2}, {14, 25}, Qt::white},
               Rule{{14, 29, 40, 3}, palette::orange},
               Panel{{12, 38, 305, 138}},
               fieldTitle(u"Classificação:"_s, 24, 58),
               fieldTitle(u"Clube ou seleção:"_s, 24, 106),
               frame(placeOf(vl::selClube, "ImgEscudoClube")),
           });
    art.controls = controlsOf(vl::selClube, {{"ComboClubes", u"Corinthians"_s}});
    return art;
}

// The gallery page is printed, so it stays light: hairline cards on white.
const std::array<QString, 6> kSlotSamples{{{},
                                           {},
                                           u"BRA"_s,
                                           u"Corinthians"_s,
                                           u"Sport Club Corinthians Paulista"_s,
                                           u"São Paulo - SP"_s}};

Artwork galleryPage() {
    Artwork art = pictureOf(vl::relatorios, false);
    append(art.elements, {
                             Fill{{-1, -1, 794, 549}, Surface::Page},
                             Fill{{-1, -1, 794, 54}, Surface::Paper},
                             Rule{{-1, 51, 794, 2}, palette::green},
                             Rule{{-1, 53, 794, 1}, palette::orange},
                         });
    art.controls = controlsOf(vl::relatorios,
                              {{"LblTitulo", u"Relação de Clubes - Estado: São Paulo (37)"_s}});
    for (int n = 1; n <= vl::slotCount; ++n) {
        const vl::SlotCorners& s = vl::slotCorners[n - 1];
        const QRect badge = vl::slotRect(n, vl::slotParts[0]);
        const qreal cardLeft = s.badge.x() - 9;
        const qreal cardRight = vl::slotRight(n);
        const qreal top = s.badge.y() - 7;
        const qreal textLeft = vl::slotRect(n, vl::slotParts[3]).left();
        append(art.elements,
               {
                   Panel{{cardLeft, top, cardRight - cardLeft, 72}, PanelStyle::Outline, 6},
                   well(badge, 3),
                   Rule{{textLeft - 8, top + 10, 1, 52}, palette::hairline},
               });
        for (std::size_t c = 0; c < vl::slotParts.size(); ++c) {
            QByteArray name, spoken;
            art.controls.push_back(
                placed(vl::slotPlace(n, vl::slotParts[c], name, spoken), kSlotSamples[c]));
        }
    }
    art.elements.push_back(Text{u"Velmora  •  Catálogo de distintivos de futebol"_s,
                                {kCorbel, 11},
                                {782, 541},
                                palette::muted,
                                Qt::AlignRight});
    return art;
}

Artwork detailCard() {
    Artwork art = pictureOf(vl::card, false);
    append(
        art.elements,
        {
            Fill{{0, 0, 792, 546}, Surface::Paper},
            Fill{{0, 0, 792, vl::cardBandBottom}, Surface::Night},
            Ornament{Drawing::PitchLines, {300, -40, 620, 330}, 0.07},
            Ornament{Drawing::Ball, {640, 52, 150, 150}, 0.14},
            Rule{{0, vl::cardBandBottom, 792, 4}, palette::orange},
            frame(placeOf(vl::card, "ImgEscudoClube"), 8),
            Text{
                u"FICHA DO CLUBE / SELEÇÃO"_s, {kImpact, 22, false, 2}, {277, 62}, palette::orange},
            Panel{{60, 268, 456, 136}, PanelStyle::Outline, 10},
            well(placeOf(vl::card, "ImgLogoFeder"), 5),
            Text{u"FEDERAÇÃO"_s, kSmallCaps, {213, 309}, palette::green},
            Panel{{528, 268, 232, 136}, PanelStyle::Outline, 10},
            Text{u"ESTÁDIO"_s, kSmallCaps, {545, 302}, palette::green},
            Ornament{Drawing::Stadium, {640, 360, 110, 40}},
            Panel{{60, 420, 344, 108}, PanelStyle::Outline, 10},
            well(placeOf(vl::card, "ImgBandeiraPais"), 4),
            Text{u"PAÍS"_s, kSmallCaps, {209, 444}, palette::green},
            Panel{{412, 420, 348, 108}, PanelStyle::Outline, 10},
            well(placeOf(vl::card, "ImgBandeiraUF"), 4),
            Text{u"ESTADO"_s, kSmallCaps, {537, 455}, palette::green},
            Text{u"Velmora v1.0"_s, {kCorbel, 11}, {760, 541}, palette::muted, Qt::AlignRight},
        });
    art.controls = controlsOf(vl::card, {{"LblNomeClube", u"Corinthians"_s},
                                         {"LblNomeCompleto", u"Sport Club Corinthians Paulista"_s},
                                         {"LblFundacao", u"Fundado em 1910 - 115 anos"_s},
                                         {"LblFederacao", u"FPF"_s},
                                         {"LblEstadio", u"Neo Química Arena"_s},
                                         {"LblCapacidade", u"Capacidade: 49.205"_s},
                                         {"LblPais", u"BRASIL"_s},
                                         {"LblCidade", u"São Paulo"_s},
                                         {"LblEstado", u"SÃO PAULO"_s}});
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
