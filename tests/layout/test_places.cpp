// The windows' place tables themselves: every control on its window, no name twice, and
// each window's built-in picture drawn for the place it is shown in.
#include "layout/App.h"
#include "layout/Detail.h"
#include "layout/Gallery.h"
#include "layout/Registry.h"

#include <QFile>
#include <QImageReader>
#include <QSet>
#include <QtTest>

using namespace velmora;

namespace {

const layout::Window* const windows[] = {
    &layout::splash,    &layout::inicial,    &layout::informacoes, &layout::clubes,
    &layout::cadCidade, &layout::paises,     &layout::uf,          &layout::cidade,
    &layout::federacao, &layout::relatorios, &layout::ano,         &layout::selFeder,
    &layout::selClube,  &layout::card,
};

// A control of the gallery page's slot n, as the page names and places it.
QList<QPair<QString, QRect>> slotControls() {
    QList<QPair<QString, QRect>> controls;
    for (int n = 1; n <= layout::slotCount; ++n)
        for (const layout::SlotPart& part : layout::slotParts)
            controls.append(
                {QString::fromLatin1(part.stem) + QString::number(n), layout::slotRect(n, part)});
    return controls;
}

void addWindowRows() {
    QTest::addColumn<int>("index");
    for (std::size_t i = 0; i < std::size(windows); ++i)
        QTest::newRow(windows[i]->name) << int(i);
}

QList<QPair<QString, QRect>> controlsOf(const layout::Window& window) {
    QList<QPair<QString, QRect>> controls;
    for (const layout::Place& place : window.places)
        controls.append({QString::fromLatin1(place.name), place.rect});
    if (&window == &layout::relatorios)
        controls += slotControls();
    return controls;
}

} // namespace

class TestPlaces : public QObject {
    Q_OBJECT
private slots:
    void controlsLieOnTheirWindow_data() { addWindowRows(); }
    void controlsLieOnTheirWindow();
    void backgroundFitsItsPicture_data() { addWindowRows(); }
    void backgroundFitsItsPicture();
    void glyphsAreBuiltIn_data() { addWindowRows(); }
    void glyphsAreBuiltIn();
};

void TestPlaces::controlsLieOnTheirWindow() {
    QFETCH(int, index);
    const layout::Window& window = *windows[index];
    const QRect client(QPoint(0, 0), window.client);
    QSet<QString> names;
    for (const auto& [name, rect] : controlsOf(window)) {
        QVERIFY2(!names.contains(name), qPrintable(name));
        names.insert(name);
        // A label sized to its text starts on the window; anything else lies wholly on it.
        const bool inside =
            rect.isEmpty() ? client.contains(rect.topLeft()) : client.contains(rect);
        QVERIFY2(inside, qPrintable(name));
    }
    if (window.backgroundName != nullptr)
        QVERIFY(!names.contains(QString::fromLatin1(window.backgroundName)));
}

void TestPlaces::backgroundFitsItsPicture() {
    QFETCH(int, index);
    const layout::Window& window = *windows[index];
    if (window.background == nullptr)
        QSKIP("a window without a picture");
    // The picture covers the client area, and is drawn at the size it is shown: no scaling.
    QVERIFY(window.backgroundRect.contains(QRect(QPoint(0, 0), window.client)));
    QImageReader picture(QString::fromLatin1(window.background));
    QCOMPARE(picture.size(), window.backgroundRect.size());
}

void TestPlaces::glyphsAreBuiltIn() {
    QFETCH(int, index);
    for (const layout::Place& place : windows[index]->places)
        if (place.glyph != nullptr)
            QVERIFY2(QFile::exists(QString::fromLatin1(place.glyph)), place.glyph);
}

QTEST_GUILESS_MAIN(TestPlaces)
#include "test_places.moc"
