// The "Elevation file" page of the altitude sources sheet, driven through its real controls:
// Add with the void option, the TEXT page not listing such maps, refusals that leave the list
// alone, and DTED Level 1 files on the old page pointing to the new one.

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest>

#include <memory>

#include "altitude/AltitudeMap.h"
#include "altitude/ui/CAltMapsPropertySheet.h"
#include "altitude/ui/CDTEDAltMap.h"
#include "altitude/ui/CElevationAltMap.h"
#include "altitude/ui/CTEXTAltMap.h"
#include "import/ElevationImport.h"
#include "project/AppContext.h"
#include "project/CDibDoc.h"
#include "support/ScriptedPlatform.h"
#include "support/TempDir.h"

namespace {

// An SRTM 3 arc-second tile as the format lays it: 1201 x 1201 big-endian 16-bit heights, north
// row first. One void in the middle.
std::vector<unsigned char> hgtTile()
{
    std::vector<unsigned char> bytes;
    bytes.reserve(1201 * 1201 * 2);
    for (int y = 0; y < 1201; ++y)
        for (int x = 0; x < 1201; ++x) {
            const int v = x == 600 && y == 600 ? -32768 : 100 + x / 10 + y / 20;
            const auto u = static_cast<std::uint16_t>(static_cast<std::int16_t>(v));
            bytes.push_back(static_cast<unsigned char>(u >> 8));
            bytes.push_back(static_cast<unsigned char>(u & 0xFF));
        }
    return bytes;
}

bool anyMessageHas(const ScriptedPlatform& platform, const std::string& part)
{
    for (const auto& m : platform.messages)
        if (m.text.find(part) != std::string::npos)
            return true;
    return false;
}

} // namespace

class ElevationPageTest : public QObject {
    Q_OBJECT

    std::unique_ptr<ScriptedPlatform> platform;
    std::unique_ptr<AppContext> app;
    std::unique_ptr<CDibDoc> doc;
    std::unique_ptr<TempDir> dir;

private slots:
    void init()
    {
        platform = std::make_unique<ScriptedPlatform>();
        app = std::make_unique<AppContext>(*platform);
        dir = std::make_unique<TempDir>();
        app->settings.applicationPath = dir->str();
        doc = std::make_unique<CDibDoc>(*app);
        doc->boundary = {45.0, 45.5, 15.0, 15.5};
        platform->messages.clear();
    }
    void cleanup()
    {
        doc.reset();
        app.reset();
        platform.reset();
        dir.reset();
    }

    void addsAnHgtTileClippedWithVoidsLeftOut()
    {
        dir->write("N45E015.hgt", hgtTile());
        CAltMapsPropertySheet sheet(*doc);
        CElevationAltMap* page = sheet.elevationPage();
        sheet.tabs()->setCurrentWidget(page);
        page->voidsCombo()->setCurrentIndex(1);
        page->spacingSpin()->setValue(0);
        platform->fileAnswers.push_back(dir->file("N45E015.hgt"));
        page->addButton()->click();
        QCOMPARE(page->list()->count(), 1);
        QCOMPARE(page->list()->item(0)->text(), QString::fromStdString(dir->file("N45E015.hgt")));
        QCOMPARE(doc->altitudeMaps.size(), std::size_t{1});
        const AltitudeMap& map = *doc->altitudeMaps[0];
        QVERIFY(isElevationFileMap(map));
        // Half a degree is 600 posts: 601 x 601 posts, the void at the tile's middle left out.
        QCOMPARE(map.columns, 601);
        QCOMPARE(map.records.size(), std::size_t{601 * 601 - 1});
        QVERIFY(anyMessageHas(*platform, "361201 posts read, 1 void (left out), 361200 records kept."));
        QCOMPARE(page->lowestEdit()->text(), QStringLiteral("130"));   // the tile's southern half

        // Stored as a text map, it still is not the TEXT page's.
        sheet.tabs()->setCurrentWidget(sheet.textPage());
        QCOMPARE(sheet.textPage()->list()->count(), 0);

        sheet.tabs()->setCurrentWidget(page);
        page->list()->setCurrentRow(0);
        page->deleteButton()->click();
        QCOMPARE(doc->altitudeMaps.size(), std::size_t{0});
        QCOMPARE(page->list()->count(), 0);
    }

    void postSpacingStartsAtTheChunksNodeSpacing()
    {
        {
            CAltMapsPropertySheet sheet(*doc);
            QCOMPARE(sheet.elevationPage()->spacingSpin()->value(), 0.0);   // no chunks: every post
        }
        // One chunk of 0.01 x 0.01 degrees at density 4: 278 m north-south, 197 m east-west at 45.
        TexReliefChunk chunk;
        chunk.area = {45.0, 45.01, 15.0, 15.01};
        chunk.properties.gridDensity = 4;
        doc->chunks.push_back(chunk);
        CAltMapsPropertySheet sheet(*doc);
        QCOMPARE(sheet.elevationPage()->spacingSpin()->value(), 196.0);
    }

    void refusalsLeaveTheListAlone()
    {
        dir->write("notes.hgt", std::string("not heights\n"));
        std::vector<unsigned char> half = hgtTile();
        half.resize(half.size() / 2);
        dir->write("N45E015.hgt", half);
        CAltMapsPropertySheet sheet(*doc);
        CElevationAltMap* page = sheet.elevationPage();
        sheet.tabs()->setCurrentWidget(page);
        for (const char* name : {"notes.hgt", "N45E015.hgt"}) {
            platform->messages.clear();
            platform->fileAnswers.push_back(dir->file(name));
            page->addButton()->click();
            QCOMPARE(page->list()->count(), 0);
            QVERIFY(doc->altitudeMaps.empty());
            QCOMPARE(platform->messages.size(), std::size_t{1});
            QVERIFY(anyMessageHas(*platform, std::string("Cannot read ") + name));
        }
    }

    void dtedLevelOneOnTheOldPagePointsToTheNewOne()
    {
        dir->write("cell.dt1", std::string(4000, 'x'));
        CAltMapsPropertySheet sheet(*doc);
        sheet.tabs()->setCurrentWidget(sheet.dtedPage());
        platform->fileAnswers.push_back(dir->file("cell.dt1"));
        sheet.dtedPage()->addButton()->click();
        QCOMPARE(sheet.dtedPage()->list()->count(), 0);
        QVERIFY(doc->altitudeMaps.empty());
        QCOMPARE(platform->messages.size(), std::size_t{1});
        QVERIFY(anyMessageHas(*platform, "\"Elevation file\" page"));
    }
};

QTEST_MAIN(ElevationPageTest)
#include "ElevationPageTest.moc"
