// The "Altitude Map Properties" sheet driven on the offscreen platform with a scripted platform.

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <memory>

#include "GuiWait.h"
#include "altitude/AltitudeMap.h"
#include "altitude/AltitudeTestFiles.h"
#include "altitude/ui/CAltMapsPropertySheet.h"
#include "altitude/ui/CBMPAltMap.h"
#include "altitude/ui/CDTEDAltMap.h"
#include "altitude/ui/CMainAltMap.h"
#include "altitude/ui/CTEXTAltMap.h"
#include "project/AppContext.h"
#include "base/ui/CommandRegistry.h"
#include "project/CDibDoc.h"
#include "project/ui/AltMapExtentsDlg.h"
#include "support/ScriptedPlatform.h"
#include "support/TempDir.h"

namespace {

class RecordingPlatform : public ScriptedPlatform {
public:
    std::vector<std::string> urls;
    void openUrl(const std::string& url) override { urls.push_back(url); }
};

// Runs `fill` on the extents dialog as soon as it is shown modally.
void whenExtentsDialogOpens(std::function<void(AltMapExtentsDlg&)> fill)
{
    whenModal<AltMapExtentsDlg>([fill](AltMapExtentsDlg* dialog) { fill(*dialog); });
}

int countColour(const QImage& image, QRgb colour)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += image.pixel(x, y) == colour;
    return n;
}

} // namespace

class AltitudeSheetTest : public QObject {
    Q_OBJECT

    std::unique_ptr<RecordingPlatform> platform;
    std::unique_ptr<AppContext> app;
    std::unique_ptr<CDibDoc> doc;
    std::unique_ptr<TempDir> dir;

    std::string writeRampBmp()
    {
        dir->write("ramp.bmp", testfiles::makeBmp(64, 64, testfiles::greyPalette(),
                                                  [](int x, int y) { return 10 + (x + y) * 240 / 126; }));
        return dir->file("ramp.bmp");
    }
    std::string writeText()
    {
        dir->write("points.txt", "45.0 15.0 5\n45.0 15.5 10\n45.0 16.0 15\n46.0 15.0 300\n46.0 15.5 310\n46.0 16.0 320\n");
        return dir->file("points.txt");
    }
    std::string writeDted()
    {
        dir->write("cell.dt0", testfiles::makeDted("450000N", "0150000E", "460000N", "0160000E", 11, 11,
                                                   [](int i, int j) { return i * 10 + j - 20; }));
        return dir->file("cell.dt0");
    }
    AltitudeMap* addOwnedMap(int type, std::vector<AltitudeRecord> records, const std::string& title)
    {
        auto map = std::make_unique<AltitudeMap>();
        map->sourceType = type;
        map->title = title;
        map->columns = static_cast<int>(records.size());
        map->rows = 1;
        map->records = std::move(records);
        map->waterLevel = map->minAltitudeOfRecords();
        doc->altitudeMaps.push_back(std::move(map));
        return doc->altitudeMaps.back().get();
    }

private slots:
    void init()
    {
        platform = std::make_unique<RecordingPlatform>();
        app = std::make_unique<AppContext>(*platform);
        dir = std::make_unique<TempDir>();
        app->settings.applicationPath = dir->str();
        app->settings.coordinateFormat = 0;
        doc = std::make_unique<CDibDoc>(*app);
        doc->boundary = {45.0, 46.0, 15.0, 16.0};
        platform->messages.clear();
    }
    void cleanup()
    {
        doc.reset();
        app.reset();
        platform.reset();
        dir.reset();
    }

    void sheetHasItsPagesInOrder()
    {
        CAltMapsPropertySheet sheet(*doc);
        QCOMPARE(sheet.windowTitle(), QStringLiteral("Altitude Map Properties"));
        const QStringList titles{"Main Altitude Map", "BMP Altitude Maps", "TEXT Altitude Maps", "DTED Altitude Maps",
                                 "Elevation file"};
        QCOMPARE(sheet.tabs()->count(), 5);
        for (int i = 0; i < 5; ++i)
            QCOMPARE(sheet.tabs()->tabText(i), titles[i]);
        QVERIFY(CommandRegistry::instance().find("project.altitudeSources"));
        QCOMPARE(CommandRegistry::instance().find("project.altitudeSources")->text,
                 QStringLiteral("Select Altitude &Data Source..."));
    }

    void addsEachKindOfMap()
    {
        CAltMapsPropertySheet sheet(*doc);
        // BMP: the extents dialog follows the read; its copy button takes the project boundary.
        sheet.tabs()->setCurrentIndex(1);
        platform->fileAnswers.push_back(writeRampBmp());
        whenExtentsDialogOpens([](AltMapExtentsDlg& d) {
            QVERIFY(d.copyButton()->isEnabled());
            d.copyButton()->click();
            d.maxAltitudeBox()->setValue(1000);
            d.okButton()->click();
        });
        sheet.bmpPage()->addButton()->click();
        QCOMPARE(platform->fileDialogs.back().filter, std::string("bmp files (*.bmp)|*.bmp|All Files (*.*)|*.*||"));
        QCOMPARE(doc->altitudeMaps.size(), std::size_t(1));
        QCOMPARE(doc->altitudeMaps[0]->sourceType, 1);
        QCOMPARE(doc->altitudeMaps[0]->records.size(), std::size_t(64 * 64));
        QCOMPARE(sheet.bmpPage()->list()->count(), 1);
        QCOMPARE(sheet.bmpPage()->list()->currentRow(), 0);
        QCOMPARE(sheet.bmpPage()->lowestEdit()->text(), QStringLiteral("0"));
        QCOMPARE(sheet.bmpPage()->highestEdit()->text(), QStringLiteral("1000"));
        QCOMPARE(sheet.bmpPage()->maxLatitudeEdit()->text(), QStringLiteral("46.000000"));
        QCOMPARE(sheet.bmpPage()->preview().size(), QSize(64, 64));
        QVERIFY(sheet.bmpPage()->deleteButton()->isEnabled());

        sheet.tabs()->setCurrentIndex(2);
        platform->fileAnswers.push_back(writeText());
        sheet.textPage()->addButton()->click();
        QCOMPARE(platform->fileDialogs.back().filter, std::string("text files (*.txt)|*.txt|All Files (*.*)|*.*||"));
        QCOMPARE(doc->altitudeMaps.back()->sourceType, 3);
        QCOMPARE(sheet.textPage()->list()->item(0)->text().toStdString(), dir->file("points.txt"));

        sheet.tabs()->setCurrentIndex(3);
        platform->fileAnswers.push_back(writeDted());
        sheet.dtedPage()->addButton()->click();
        QCOMPARE(platform->fileDialogs.back().filter, std::string("DTED files (*.dt0)|*.dt0|All Files (*.*)|*.*||"));
        QCOMPARE(doc->altitudeMaps.size(), std::size_t(3));
        QCOMPARE(doc->altitudeMaps.back()->sourceType, 2);
        QCOMPARE(sheet.dtedPage()->lowestEdit()->text(), QStringLiteral("-20"));
        // Each page lists only its own kind.
        QCOMPARE(sheet.dtedPage()->list()->count(), 1);
        QVERIFY(doc->modified);

        sheet.dtedPage()->internetButton()->click();
        QCOMPARE(platform->urls.size(), std::size_t(1));
    }

    void failedOrCancelledAddsLeaveTheListAlone()
    {
        CAltMapsPropertySheet sheet(*doc);
        sheet.tabs()->setCurrentIndex(1);
        const std::string bmp = writeRampBmp();

        platform->fileAnswers.push_back(bmp);   // Cancel in the extents dialog
        whenExtentsDialogOpens([](AltMapExtentsDlg& d) { d.reject(); });
        sheet.bmpPage()->addButton()->click();
        QVERIFY(doc->altitudeMaps.empty());

        platform->fileAnswers.push_back(bmp);   // Cancel in the reading progress
        platform->cancelAfterSteps = 5;
        sheet.bmpPage()->addButton()->click();
        QVERIFY(doc->altitudeMaps.empty());
        platform->cancelAfterSteps = -1;

        platform->fileAnswers.push_back(std::nullopt);   // Cancel in the file dialog
        sheet.bmpPage()->addButton()->click();
        QVERIFY(doc->altitudeMaps.empty());

        sheet.tabs()->setCurrentIndex(3);
        dir->write("bad.dt0", std::string("not a DTED file"));
        platform->fileAnswers.push_back(dir->file("bad.dt0"));
        sheet.dtedPage()->addButton()->click();
        QVERIFY(doc->altitudeMaps.empty());
        QCOMPARE(sheet.dtedPage()->list()->count(), 0);
        QVERIFY(!sheet.dtedPage()->activeCheck()->isEnabled());
    }

    void extentsDialogChecksInOrder()
    {
        struct Case {
            const char *minLat, *maxLat, *minLon, *maxLon;
            int minAlt, maxAlt;
            const char* message;   // nullptr: accepted
        };
        const Case cases[] = {
            {"45", "45", "15", "15", 100, 100, "Altitude Range is invalid. Please set altitude range."},
            {"45", "45:0:0", "15", "16", 0, 100, "Latitude range is invalid. Please set latitude range."},
            {"45", "46", "15:30", "15.5", 0, 100, "Longitude range is invalid. Please set longitude range."},
            {"46", "45", "16", "15", 100, 0, nullptr},   // minimum above maximum is accepted
        };
        for (const Case& c : cases) {
            platform->messages.clear();
            doc->modified = false;
            AltMapExtentsDlg dialog(*doc);
            dialog.minLatitudeEdit()->setText(c.minLat);
            dialog.maxLatitudeEdit()->setText(c.maxLat);
            dialog.minLongitudeEdit()->setText(c.minLon);
            dialog.maxLongitudeEdit()->setText(c.maxLon);
            dialog.minAltitudeBox()->setValue(c.minAlt);
            dialog.maxAltitudeBox()->setValue(c.maxAlt);
            dialog.okButton()->click();
            if (c.message) {
                QCOMPARE(platform->messageTexts(), std::vector<std::string>{c.message});
                QCOMPARE(platform->messages[0].icon, MsgIcon::Exclamation);
                QVERIFY(dialog.result() != QDialog::Accepted);
                QVERIFY(!doc->modified);
            } else {
                QVERIFY(platform->messages.empty());
                QCOMPARE(dialog.result(), int(QDialog::Accepted));
                QCOMPARE(dialog.minLatitude(), 46.0);
                QVERIFY(doc->modified);
            }
        }

        doc->boundary = {};
        AltMapExtentsDlg empty(*doc);
        QVERIFY(!empty.copyButton()->isEnabled());
        QVERIFY(empty.minLatitudeEdit()->text().isEmpty());
        QCOMPARE(empty.minAltitudeBox()->value(), 0);

        app->settings.coordinateFormat = 1;
        doc->boundary = {-45.5, 46.0, 15.0, 16.25};
        AltMapExtentsDlg dms(*doc);
        dms.copyButton()->click();
        QCOMPARE(dms.minLatitudeEdit()->text(), QStringLiteral("-45:30:0.00"));
        QCOMPARE(dms.maxLongitudeEdit()->text(), QStringLiteral("16:15:0.00"));
    }

    void waterSliderAndLevelMoveTogether()
    {
        AltitudeMap* map = addOwnedMap(3, {{45, 15, 5}, {45, 16, 100}, {46, 15, 200}, {46, 16, 300}}, "t");
        map->columns = 2;
        map->rows = 2;
        CAltMapsPropertySheet sheet(*doc);
        sheet.tabs()->setCurrentIndex(2);
        CTEXTAltMap* page = sheet.textPage();
        QCOMPARE(page->list()->currentRow(), 0);
        QCOMPARE(page->levelSlider()->minimum(), -300);
        QCOMPARE(page->levelSlider()->maximum(), -5);
        QCOMPARE(page->levelSlider()->value(), -5);

        page->levelEdit()->setText("150");
        QCOMPARE(page->levelSlider()->value(), -150);
        page->levelSlider()->setValue(-250);
        QCOMPARE(page->levelEdit()->text(), QStringLiteral("250"));
        QCOMPARE(page->waterLevel(), 250);
        QVERIFY(sheet.applyButton()->isEnabled());

        const QRgb blue = qRgb(0, 0, 255);
        QCOMPARE(countColour(page->preview(), blue), 0);
        page->waterCheck()->setChecked(true);
        // Records at 5, 100 and 200 m lie at or below 250 m; only the south-west one is inside
        // the picture of a TEXT map (the others are on its east or north edge).
        QCOMPARE(countColour(page->preview(), blue), 1);
        QCOMPARE(page->preview().pixel(0, 1), blue);   // south-west: bottom row, north at the top

        // Leaving the page hands the values to the map.
        sheet.tabs()->setCurrentIndex(0);
        QCOMPARE(map->waterLevel, 250);
        QCOMPARE(map->showWater, 1);
    }

    void deleteAndActiveOnASourcePage()
    {
        addOwnedMap(3, {{45, 15, 1}, {45, 16, 2}}, "first");
        AltitudeMap* second = addOwnedMap(3, {{47, 15, 7}, {47, 16, 8}}, "second");
        CAltMapsPropertySheet sheet(*doc);
        sheet.tabs()->setCurrentIndex(2);
        CTEXTAltMap* page = sheet.textPage();
        page->list()->setCurrentRow(1);
        QCOMPARE(page->selectedMap(), second);
        page->activeCheck()->setChecked(false);
        QCOMPARE(second->enabled, 1);   // only marked changed until the page is left or applied
        sheet.applyButton()->click();
        QCOMPARE(second->enabled, 0);
        // The main page's merge leaves the inactive map out.
        QCOMPARE(doc->mainAltitudeMap.records.size(), std::size_t(2));
        QCOMPARE(doc->mainAltitudeMap.maxAltitude(), 2);

        page->list()->setCurrentRow(0);
        page->deleteButton()->click();
        QCOMPARE(doc->altitudeMaps.size(), std::size_t(1));
        QCOMPARE(doc->altitudeMaps[0]->title, std::string("second"));
        QCOMPARE(page->list()->count(), 1);
        QVERIFY(!page->deleteButton()->isEnabled());
        QVERIFY(page->minLatitudeEdit()->text().isEmpty());
    }

    void mainPageMergesOnActivationAndOk()
    {
        addOwnedMap(3, {{45, 15, 10}, {45, 16, 20}}, "low");
        addOwnedMap(2, {{46, 17, 500}, {46, 18, 900}}, "high");
        CAltMapsPropertySheet sheet(*doc);
        CMainAltMap* page = sheet.mainPage();
        QCOMPARE(page->list()->count(), 2);
        QCOMPARE(doc->mainAltitudeMap.records.size(), std::size_t(4));
        QCOMPARE(page->lowestEdit()->text(), QStringLiteral("10"));
        QCOMPARE(page->highestEdit()->text(), QStringLiteral("900"));
        QCOMPARE(page->maxLongitudeEdit()->text(), QStringLiteral("18.000000"));

        page->list()->setCurrentRow(1);
        QVERIFY(page->activeCheck()->isChecked());
        page->activeCheck()->setChecked(false);
        QCOMPARE(doc->altitudeMaps[1]->enabled, 0);
        doc->modified = false;
        sheet.okButton()->click();
        QCOMPARE(doc->mainAltitudeMap.records.size(), std::size_t(2));
        QVERIFY(doc->modified);

        CAltMapsPropertySheet again(*doc);
        again.mainPage()->list()->setCurrentRow(0);
        again.mainPage()->deleteButton()->click();
        QCOMPARE(doc->altitudeMaps.size(), std::size_t(1));
        QVERIFY(doc->mainAltitudeMap.records.empty());   // the one left is inactive
        QCOMPARE(again.mainPage()->list()->count(), 1);
    }

    void mapDeletedOnTheMainPageIsNotWrittenByItsSourcePage()
    {
        addOwnedMap(3, {{45, 15, 1}, {45, 16, 2}}, "gone");
        CAltMapsPropertySheet sheet(*doc);
        sheet.tabs()->setCurrentIndex(2);
        sheet.textPage()->levelEdit()->setText("2");
        sheet.textPage()->activeCheck()->setChecked(false);
        sheet.tabs()->setCurrentIndex(0);
        sheet.mainPage()->list()->setCurrentRow(0);
        sheet.mainPage()->deleteButton()->click();
        QVERIFY(doc->altitudeMaps.empty());
        // A new map may take the deleted one's memory; Apply and OK must leave it alone.
        AltitudeMap* fresh = addOwnedMap(3, {{47, 15, 70}, {47, 16, 80}}, "fresh");
        sheet.applyButton()->click();
        sheet.okButton()->click();
        QCOMPARE(fresh->enabled, 1);
        QCOMPARE(fresh->waterLevel, 70);
    }

    void copyFromTerrainTextureRePlacesTheBmpMap()
    {
        CAltMapsPropertySheet sheet(*doc);
        sheet.tabs()->setCurrentIndex(1);
        platform->fileAnswers.push_back(writeRampBmp());
        whenExtentsDialogOpens([](AltMapExtentsDlg& d) {
            d.minLatitudeEdit()->setText("10");
            d.maxLatitudeEdit()->setText("11");
            d.minLongitudeEdit()->setText("20");
            d.maxLongitudeEdit()->setText("21");
            d.maxAltitudeBox()->setValue(500);
            d.okButton()->click();
        });
        sheet.bmpPage()->addButton()->click();
        QCOMPARE(doc->altitudeMaps.size(), std::size_t(1));
        const AltitudeMap& map = *doc->altitudeMaps[0];
        const RecordList before = map.records;
        QCOMPARE(map.records.front().latitude, 10.0);

        sheet.bmpPage()->copyButton()->click();
        QCOMPARE(map.records.front().latitude, 45.0);
        QCOMPARE(map.records.front().longitude, 15.0);
        QCOMPARE(map.records.back().latitude, 46.0);
        QCOMPARE(map.records.back().longitude, 16.0);
        for (std::size_t i = 0; i < before.size(); ++i)
            QCOMPARE(map.records[i].altitude, before[i].altitude);
        QCOMPARE(sheet.bmpPage()->minLatitudeEdit()->text(), QStringLiteral("45.000000"));
    }
};

QTEST_MAIN(AltitudeSheetTest)
#include "AltitudeSheetTest.moc"
