// The chunk properties sheet, the FS item dialogs and the project properties sheet, driven
// through their controls on the offscreen platform; what they store reaches the source and
// survives a save.

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>

#include <memory>

#include "RecordingFrame.h"
#include "base/ui/CommandRegistry.h"
#include "output/ScasmWriter.h"
#include "project/AppContext.h"
#include "project/CDibDoc.h"
#include "project/ProjectFile.h"
#include "project/ui/AvailableTexturesDialog.h"
#include "project/ui/ChunkGeneralPage.h"
#include "project/ui/ChunkPropertiesSheet.h"
#include "project/ui/ChunkSyntheticPage.h"
#include "synth/TextureLinks.h"
#include "project/ui/ChunkTexturePage.h"
#include "project/ui/FsItemsPage.h"
#include "project/ui/FsMacroDialog.h"
#include "project/ui/FsMenuPositionDialog.h"
#include "project/ui/ProjectOutputPage.h"
#include "project/ui/ProjectPropertiesSheet.h"
#include "support/ScriptedPlatform.h"
#include "support/TempDir.h"

namespace {

template <class T>
T* child(QWidget* parent, const char* name)
{
    T* found = parent->findChild<T*>(QString::fromLatin1(name));
    if (!found)
        qFatal("no child %s", name);
    return found;
}

QRadioButton* radio(QWidget* parent, const char* text)
{
    for (QRadioButton* r : parent->findChildren<QRadioButton*>())
        if (r->text() == QLatin1String(text))
            return r;
    qFatal("no radio %s", text);
    return nullptr;
}

QCheckBox* box(QWidget* parent, const char* text)
{
    for (QCheckBox* b : parent->findChildren<QCheckBox*>())
        if (b->text() == QLatin1String(text))
            return b;
    qFatal("no box %s", text);
    return nullptr;
}

std::vector<std::string> sourceLines(CDibDoc& doc, const TempDir& dir)
{
    const std::string path = dir.file("out.sca");
    if (!writeScasmSource(doc, path))
        return {};
    std::vector<std::string> lines;
    const std::string text = dir.readText("out.sca");
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

bool hasLine(const std::vector<std::string>& lines, const std::string& line)
{
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

} // namespace

class ChunkPropertiesTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TempDir> dir;
    std::unique_ptr<ScriptedPlatform> platform;
    std::unique_ptr<AppContext> app;
    std::unique_ptr<CDibDoc> doc;

private slots:
    void init()
    {
        dir = std::make_unique<TempDir>();
        platform = std::make_unique<ScriptedPlatform>();
        app = std::make_unique<AppContext>(*platform);
        app->settings.applicationPath = dir->str();
        app->settings.coordinateFormat = 0;
        doc = std::make_unique<CDibDoc>(*app);
        platform->messages.clear();
        // Three chunks side by side over a flat altitude grid, so a source can be written.
        doc->boundary = {45.0, 45.1, 15.0, 15.3};
        doc->chunkColumns = 3;
        doc->chunkRows = 1;
        for (int c = 0; c < 3; ++c) {
            TexReliefChunk chunk;
            chunk.chunkValueA = c;
            chunk.chunkValueB = 0;
            chunk.area = {45.0, 45.1, 15.0 + 0.1 * c, 15.1 + 0.1 * c};
            doc->chunks.push_back(chunk);
        }
        for (int i = 0; i <= 10; ++i)
            for (int j = 0; j <= 30; ++j)
                doc->mainAltitudeMap.records.push_back({45.0 + 0.01 * i, 15.0 + 0.01 * j, 100});
    }
    void cleanup()
    {
        doc.reset();
        app.reset();
        platform.reset();
        dir.reset();
    }

    void newChunkShowsItsDefaultsAndEnabling()
    {
        ChunkPropertiesSheet sheet(*doc, {1});
        ChunkGeneralPage* page = sheet.general();
        QCOMPARE(sheet.windowTitle(), QStringLiteral("Orvane Chunk Properties"));
        QCOMPARE(sheet.tabs()->count(), 2);   // no library texture: no Synthetic page
        QCOMPARE(sheet.tabs()->tabText(0), QStringLiteral("General"));
        QCOMPARE(sheet.tabs()->tabText(1), QStringLiteral("Texture"));
        QCOMPARE(child<QLineEdit>(page, "density")->text(), QStringLiteral("4"));
        QCOMPARE(child<QLineEdit>(page, "areaRange")->text(), QStringLiteral("60"));
        QVERIFY(box(page, "BitmapMode")->isChecked());
        QCOMPARE(child<QLineEdit>(page, "bitmapModeIndex")->text(), QStringLiteral("0"));
        QVERIFY(child<QLineEdit>(page, "bitmapModeIndex")->isEnabled());
        QVERIFY(box(page, "Smoothing")->isChecked());
        QVERIFY(box(page, "PerspectiveShade")->isChecked());
        QVERIFY(box(page, "Polygon Col.")->isChecked());
        QVERIFY(radio(page, "PerspectiveCall2")->isChecked());
        QVERIFY(radio(page, "Use RefPoint Type 2")->isChecked());
        QVERIFY(child<QLineEdit>(page, "refPointAltitude")->isEnabled());
        QVERIFY(radio(page, "DPC")->isChecked());
        QVERIFY(!box(page, "Enable Flat Grid Optimization")->isChecked());
        QCOMPARE(radio(page, "TC")->toolTip(), QStringLiteral("Transparent Color"));
        QCOMPARE(child<QLineEdit>(page, "north")->text(), QStringLiteral("45.100000"));
        QCOMPARE(child<QLineEdit>(page, "west")->text(), QStringLiteral("15.100000"));
        QVERIFY(child<QLineEdit>(page, "north")->isReadOnly());

        // The dependent fields follow their boxes.
        QTest::mouseClick(radio(page, "Use RefPoint Type 7"), Qt::LeftButton);
        QVERIFY(!child<QLineEdit>(page, "refPointAltitude")->isEnabled());
        QTest::mouseClick(box(page, "Polygon Col."), Qt::LeftButton);
        QVERIFY(!radio(page, "DPC")->isEnabled());
        QVERIFY(!child<QPushButton>(page, "colorButton")->isEnabled());
        QTest::mouseClick(box(page, "BitmapMode"), Qt::LeftButton);
        QVERIFY(!child<QLineEdit>(page, "bitmapModeIndex")->isEnabled());
        QVERIFY(sheet.applyButton()->isEnabled());
    }

    void densityArrowsStepThroughThePowersOfTwo()
    {
        ChunkPropertiesSheet sheet(*doc, {0});
        sheet.show();
        QVERIFY(QTest::qWaitForWindowExposed(&sheet));
        ChunkGeneralPage* page = sheet.general();
        QLineEdit* density = child<QLineEdit>(page, "density");
        QStringList seen;
        for (int i = 0; i < 7; ++i) {
            QTest::mouseClick(child<QToolButton>(page, "densityUp"), Qt::LeftButton);
            seen << density->text();
        }
        QCOMPARE(seen, (QStringList{"8", "16", "32", "64", "128", "256", "256"}));
        seen.clear();
        for (int i = 0; i < 10; ++i)
            QTest::mouseClick(child<QToolButton>(page, "densityDown"), Qt::LeftButton);
        QCOMPARE(density->text(), QStringLiteral("1"));
    }

    void severalChunksChangeOnlyWhatTheUserSet()
    {
        doc->chunks[0].properties.smoothing = 0;
        doc->chunks[2].properties.gridDensity = 16;
        doc->chunks[1].properties.useBitmapMode = 0;
        ChunkPropertiesSheet sheet(*doc, {0, 1, 2});
        ChunkGeneralPage* page = sheet.general();
        QVERIFY(child<QLineEdit>(page, "density")->text().isEmpty());
        QVERIFY(!box(page, "Smoothing")->isChecked());
        QVERIFY(!radio(page, "DPC")->isChecked() && !radio(page, "TC")->isChecked());
        QVERIFY(!box(page, "Lock")->isEnabled());
        QVERIFY(child<QLineEdit>(page, "north")->text().isEmpty());
        // The enabling boxes work on empty fields without an integer complaint.
        QTest::mouseClick(box(page, "Polygon Col."), Qt::LeftButton);
        QTest::mouseClick(radio(page, "Use RefPoint Type 2"), Qt::LeftButton);
        QVERIFY(platform->messages.empty());
        QTest::mouseClick(box(page, "Polygon Col."), Qt::LeftButton);   // off again: leave as it is

        QTest::mouseClick(box(page, "Smoothing"), Qt::LeftButton);
        QTest::keyClicks(child<QLineEdit>(page, "areaRange"), "30");
        const std::vector<TexReliefChunk> before = doc->chunks;
        QTest::mouseClick(sheet.okButton(), Qt::LeftButton);
        QCOMPARE(sheet.result(), int(QDialog::Accepted));
        for (std::size_t i = 0; i < 3; ++i) {
            ChunkProperties expected = before[i].properties;
            expected.smoothing = 1;
            expected.areaRangeKm = 30;
            expected.useRefPointType2 = 1;
            QVERIFY(doc->chunks[i].properties == expected);
        }
        QVERIFY(platform->messages.empty());
    }

    void aWordInANumberFieldKeepsTheSheetOpen()
    {
        ChunkPropertiesSheet sheet(*doc, {0});
        QLineEdit* range = child<QLineEdit>(sheet.general(), "areaRange");
        range->setText(QStringLiteral("far"));
        QTest::mouseClick(sheet.okButton(), Qt::LeftButton);
        QCOMPARE(platform->messageTexts(), std::vector<std::string>{"Please enter an integer."});
        QCOMPARE(sheet.result(), 0);
        QCOMPARE(doc->chunks[0].properties.areaRangeKm, 60);
    }

    void valuesReachTheSourceAndSurviveASave()
    {
        {
            ChunkPropertiesSheet sheet(*doc, {1});
            sheet.show();
            QVERIFY(QTest::qWaitForWindowExposed(&sheet));
            ChunkGeneralPage* page = sheet.general();
            QTest::mouseClick(child<QToolButton>(page, "densityUp"), Qt::LeftButton);   // 8
            child<QLineEdit>(page, "areaRange")->setText(QStringLiteral("25"));
            child<QLineEdit>(page, "bitmapModeIndex")->setText(QStringLiteral("7"));
            QTest::mouseClick(child<QToolButton>(sheet.texture(), "flip2"), Qt::LeftButton);
            QCOMPARE(doc->chunks[1].chunkValueC, 2);   // at once, before OK
            QTest::mouseClick(sheet.okButton(), Qt::LeftButton);
        }
        QVERIFY(doc->modified);
        const std::vector<std::string> lines = sourceLines(*doc, *dir);
        QVERIFY(!lines.empty());
        QVERIFY(hasLine(lines, "Area(B 45.050000 15.150000 25)"));
        QVERIFY(hasLine(lines, "\tBitmapMode( 7 )"));

        const std::string path = dir->file("p.prj");
        QVERIFY(saveProject(*doc, path));
        CDibDoc loaded(*app);
        QVERIFY(loadProject(loaded, path));
        QCOMPARE(loaded.chunks[1].properties.gridDensity, 8);
        QCOMPARE(loaded.chunks[1].properties.areaRangeKm, 25);
        QCOMPARE(loaded.chunks[1].properties.bitmapModeIndex, 7);
        QCOMPARE(loaded.chunks[1].chunkValueC, 2);
        QCOMPARE(loaded.chunks[0].properties.gridDensity, 4);
    }

    void cancelKeepsFlipsButNotTheGeneralValues()
    {
        ChunkPropertiesSheet sheet(*doc, {0});
        child<QLineEdit>(sheet.general(), "areaRange")->setText(QStringLiteral("5"));
        QTest::mouseClick(child<QToolButton>(sheet.texture(), "flip1"), Qt::LeftButton);
        QTest::mouseClick(sheet.cancelButton(), Qt::LeftButton);
        QCOMPARE(doc->chunks[0].properties.areaRangeKm, 60);
        QCOMPARE(doc->chunks[0].chunkValueC, 1);
    }

    void replaceLinksTheChosenLibraryTextureAndCancelLinksNothing()
    {
        app->settings.textureClasses = {TextureClass{"Water"}, TextureClass{"Grass"}};
        for (auto [name, code] : {std::pair{"000000s1.bmp", 0}, {"010101s1.bmp", 1}, {"010101s2.bmp", 1}}) {
            auto t = std::make_unique<Texture>();
            t->name = name;
            t->kind = 0;
            t->classCode = t->eastClassCode = t->southClassCode = code;
            app->textureLibrary.push_back(std::move(t));
        }
        ChunkPropertiesSheet sheet(*doc, {2});
        ChunkTexturePage* page = sheet.texture();
        QCOMPARE(child<QLineEdit>(page, "landscapeType")->text(), QStringLiteral("No Match"));

        QTimer::singleShot(0, [] {
            auto* dialog = qobject_cast<AvailableTexturesDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            QTreeWidget* tree = dialog->tree();
            QCOMPARE(tree->topLevelItemCount(), 2);
            QCOMPARE(tree->topLevelItem(1)->text(0), QStringLiteral("Grass"));
            QCOMPARE(tree->topLevelItem(1)->childCount(), 2);
            tree->setCurrentItem(tree->topLevelItem(1)->child(1));
            QCOMPARE(dialog->selectedIndex(), 2L);
            dialog->reject();
        });
        QTest::mouseClick(page->replaceButton(), Qt::LeftButton);
        QCOMPARE(doc->chunks[2].texture, nullptr);

        QTimer::singleShot(0, [] {
            auto* dialog = qobject_cast<AvailableTexturesDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            QTreeWidget* tree = dialog->tree();
            tree->setCurrentItem(tree->topLevelItem(0));   // a group node chooses nothing
            QCOMPARE(dialog->selectedIndex(), -1L);
            tree->setCurrentItem(tree->topLevelItem(1)->child(1));
            dialog->accept();
        });
        QTest::mouseClick(page->replaceButton(), Qt::LeftButton);
        QCOMPARE(doc->chunks[2].texture, app->textureLibrary[2].get());
        QCOMPARE(doc->chunks[2].textureKind, 0);
        QCOMPARE(child<QLineEdit>(page, "textureName")->text(), QStringLiteral("010101s2.bmp"));
        QCOMPARE(child<QLineEdit>(page, "southClass")->text(), QStringLiteral("Grass"));
    }

    void gridPropertiesCommandNeedsASelection()
    {
        const CommandSpec* command = CommandRegistry::instance().find("view.gridProperties");
        QVERIFY(command);
        RecordingFrame frame(*app, doc.get());
        QVERIFY(!command->enabled(frame));
        doc->chunks[2].selected = 1;
        doc->chunks[0].selected = 1;
        QVERIFY(command->enabled(frame));
        QTimer::singleShot(0, [] {
            auto* sheet = qobject_cast<ChunkPropertiesSheet*>(QApplication::activeModalWidget());
            QVERIFY(sheet);
            QVERIFY(sheet->general()->severalChunks());
            sheet->reject();
        });
        command->run(frame);
        QVERIFY(doc->modified);   // whatever closed the sheet
    }

    void syntheticPageMatchesNeighboursAndCancelPutsLinksBack()
    {
        // A 3 x 3 grid of library chunks; the middle one is edited.
        app->settings.textureClasses = {TextureClass{"Water"}, TextureClass{"Grass"}};
        for (const char* name : {"000000s1.bmp", "000101s1.bmp", "010000s1.bmp", "010101s1.bmp", "010100s1.bmp",
                                 "000001s1.bmp", "010001s1.bmp", "000100s1.bmp"}) {
            auto t = std::make_unique<Texture>();
            t->name = name;
            t->kind = 0;
            t->classCode = name[1] - '0';
            t->eastClassCode = name[3] - '0';
            t->southClassCode = name[5] - '0';
            app->textureLibrary.push_back(std::move(t));
        }
        doc->chunks.clear();
        doc->chunkColumns = 3;
        doc->chunkRows = 3;
        for (int i = 0; i < 9; ++i) {
            TexReliefChunk chunk;
            chunk.chunkValueA = i % 3;
            chunk.chunkValueB = i / 3;
            linkChunkTexture(*app, chunk, 0);   // all water
            doc->chunks.push_back(chunk);
        }
        // A photo tile in a corner: its link must come back as it was, not as a library texture.
        Texture tile;
        tile.kind = 1;
        tile.name = "/tiles/t.bmp";
        linkChunkToTexture(doc->chunks[8], &tile);

        ChunkPropertiesSheet sheet(*doc, {4});
        QCOMPARE(sheet.tabs()->count(), 3);
        QCOMPARE(sheet.tabs()->tabText(2), QStringLiteral("Synthetic"));
        ChunkSyntheticPage* page = sheet.synthetic();
        QCOMPARE(page->neighbourhood(), (std::array<long, 9>{0, 1, 2, 3, 4, 5, 6, 7, 8}));

        // Strict fit keeps only textures whose three classes are the chunk's own (all water).
        page->filterButtons()->button(2)->click();
        QTreeWidget* tree = page->tree();
        int listed = 0;
        for (int g = 0; g < tree->topLevelItemCount(); ++g)
            listed += tree->topLevelItem(g)->childCount();
        QCOMPARE(listed, 1);
        page->filterButtons()->button(0)->click();

        // Grass in the middle with Matching: the neighbours are re-chosen to fit it.
        page->matchingButtons()->button(1)->click();
        QTreeWidgetItem* grass = nullptr;
        for (int g = 0; g < tree->topLevelItemCount(); ++g)
            for (int c = 0; c < tree->topLevelItem(g)->childCount(); ++c)
                if (tree->topLevelItem(g)->child(c)->text(0) == QStringLiteral("010101s1.bmp"))
                    grass = tree->topLevelItem(g)->child(c);
        QVERIFY(grass);
        tree->setCurrentItem(grass);
        QCOMPARE(doc->chunks[4].texture, app->textureLibrary[3].get());
        // North neighbour's south edge and west neighbour's east edge now show grass.
        QCOMPARE(doc->chunks[7].texture->southClassCode, 1);
        QCOMPARE(doc->chunks[3].texture->eastClassCode, 1);
        QCOMPARE(doc->chunks[5].texture->classCode, 1);
        QCOMPARE(doc->chunks[1].texture->classCode, 1);

        sheet.reject();
        for (int i = 0; i < 8; ++i)
            QCOMPARE(doc->chunks[static_cast<std::size_t>(i)].texture, app->textureLibrary[0].get());
        QCOMPARE(doc->chunks[8].texture, &tile);
        QCOMPARE(doc->chunks[8].textureKind, 1);
    }

    // --- FS items ---

    void positionDialogTakesThePickedPointAndChecksRanges()
    {
        doc->clickLatitude = 45.05;
        doc->clickLongitude = 15.2;
        doc->clickAltitude = 300;
        doc->clickPixelX = 40;
        doc->clickPixelY = 12;
        {
            FsMenuPositionDialog dialog(*doc);
            QCOMPARE(dialog.windowTitle(), QStringLiteral("FS Menu Position Item"));
            QCOMPARE(dialog.field("latitude")->text(), QStringLiteral("45.050000"));
            QCOMPARE(dialog.field("altitude")->text(), QStringLiteral("300"));
            QVERIFY(dialog.field("title")->isEnabled());
            dialog.field("title")->setText(QStringLiteral("Lakes"));
            dialog.field("description")->setText(QStringLiteral("North shore"));
            dialog.field("heading")->setText(QStringLiteral("400"));
            dialog.accept();
            QCOMPARE(platform->messageTexts(), std::vector<std::string>{"Please enter a number between 0 and 359.99."});
            QVERIFY(doc->menuPositionItems.empty());
            dialog.field("heading")->setText(QStringLiteral("270"));
            dialog.accept();
            QCOMPARE(dialog.result(), int(QDialog::Accepted));
        }
        QCOMPARE(doc->menuPositionItems.size(), std::size_t(1));
        QCOMPARE(doc->menuPositionItems[0].mapX, 40);
        {
            FsMenuPositionDialog second(*doc);
            QCOMPARE(second.field("title")->text(), QStringLiteral("Lakes"));
            QVERIFY(!second.field("title")->isEnabled());
            second.reject();
        }
        QCOMPARE(doc->menuPositionItems.size(), std::size_t(1));
        const std::vector<std::string> lines = sourceLines(*doc, *dir);
        QVERIFY(hasLine(lines, "Menu( Lakes )"));
        QVERIFY(hasLine(lines, "MenuEntry( 45.050000 15.200000 300 270.000000 0.000000 0.000000 0 0.000000 0 North shore )"));
    }

    void macroDialogReadsTheParameterList()
    {
        doc->clickLatitude = 45.5;
        doc->clickLongitude = 15.25;
        doc->clickAltitude = 80;
        dir->write("tower.scm", std::string("; tower\nMACRO( lat lon elev scale tower.api )\nbody\n"));
        platform->fileAnswers = {dir->file("tower.scm")};
        FsMacroDialog dialog(*doc);
        QVERIFY(!dialog.rowValue(0)->isEnabled());
        QTest::mouseClick(dialog.browseButton(), Qt::LeftButton);
        QCOMPARE(platform->fileDialogs.back().title, std::string("Select Macro file name:"));
        QCOMPARE(dialog.macroFileField()->text(), QStringLiteral("tower.scm"));
        QStringList labels, values;
        for (std::size_t i = 0; i < 5; ++i) {
            labels << dialog.rowLabel(i)->text();
            values << dialog.rowValue(i)->text();
        }
        QCOMPARE(labels, (QStringList{"lat", "lon", "elev", "scale", ""}));
        QCOMPARE(values, (QStringList{"45.500000", "15.250000", "80", "0", ""}));
        QVERIFY(dialog.rowValue(3)->isEnabled());
        QVERIFY(!dialog.rowValue(4)->isEnabled());
        dialog.rowValue(3)->setText(QStringLiteral("2"));
        dialog.accept();
        QCOMPARE(doc->macroItems.size(), std::size_t(1));
        QCOMPARE(doc->macroItems[0].parameterValues,
                 (std::vector<std::string>{"45.500000", "15.250000", "80", "2"}));
        QVERIFY(hasLine(sourceLines(*doc, *dir), "Macro( tower.scm 45.500000 15.250000 80 2 )"));
    }

    void macroDialogSaysWhatIsWrongWithAFile()
    {
        dir->write("plain.scm", std::string("no header here\n"));
        dir->write("a_very_long_name.scm", std::string("macro( x )"));
        dir->write("many.scm", std::string("macro( a b c d e f g h i j k l )"));
        platform->fileAnswers = {dir->file("missing.scm"), dir->file("plain.scm"), dir->file("a_very_long_name.scm"),
                                 dir->file("many.scm")};
        FsMacroDialog dialog(*doc);
        QTest::mouseClick(dialog.browseButton(), Qt::LeftButton);
        QTest::mouseClick(dialog.browseButton(), Qt::LeftButton);
        QCOMPARE(platform->messageTexts(),
                 (std::vector<std::string>{"Couldn't read that file.",
                                           "This Macro has improper syntax and it cannot be recognized."}));
        QCOMPARE(platform->messages[1].icon, MsgIcon::Stop);
        QVERIFY(dialog.rowLabel(0)->text().isEmpty());

        QTest::mouseClick(dialog.browseButton(), Qt::LeftButton);
        dialog.accept();
        QCOMPARE(platform->messageTexts().back(), std::string("Please enter no more than 14 characters."));
        QVERIFY(doc->macroItems.empty());

        // Past ten rows the further parameters keep their starting values.
        QTest::mouseClick(dialog.browseButton(), Qt::LeftButton);
        QCOMPARE(dialog.rowLabel(9)->text(), QStringLiteral("j"));
        dialog.rowValue(9)->setText(QStringLiteral("9"));
        dialog.accept();
        QCOMPARE(doc->macroItems.size(), std::size_t(1));
        QCOMPARE(doc->macroItems[0].parameterValues.size(), std::size_t(12));
        QCOMPARE(doc->macroItems[0].parameterValues[9], std::string("9"));
        QCOMPARE(doc->macroItems[0].parameterValues[11], std::string("0"));
    }

    // --- project properties ---

    void projectSheetStoresTheOutputOptions()
    {
        ProjectPropertiesSheet sheet(*doc);
        QStringList tabs;
        for (int i = 0; i < sheet.tabs()->count(); ++i)
            tabs << sheet.tabs()->tabText(i);
        QCOMPARE(tabs, (QStringList{"Project Settings", "Project Properties", "Menu Items", "Macro items"}));
        ProjectOutputPage* output = sheet.output();
        QVERIFY(output->season(2)->isChecked());
        QVERIFY(!output->season(0)->isChecked());
        QTest::mouseClick(output->season(0), Qt::LeftButton);
        QTest::mouseClick(output->areaMaxHeader(), Qt::LeftButton);
        QVERIFY(!output->areaMaxSize()->isEnabled());
        output->copyrightText()->setText(QString(100, QLatin1Char('x')));
        QCOMPARE(output->copyrightText()->text().size(), 80);
        QTest::keyClicks(output->copyrightText(), "y");   // a user edit
        QTest::mouseClick(sheet.okButton(), Qt::LeftButton);
        QCOMPARE(doc->includedSeasons, 5);
        QVERIFY(!doc->writeAreaMaxHeader);
        QCOMPARE(doc->copyrightText.size(), std::size_t(80));
        QVERIFY(doc->modified);
        const std::vector<std::string> lines = sourceLines(*doc, *dir);
        QVERIFY(!lines.empty());
        for (const std::string& line : lines)
            QVERIFY(line.rfind("set( areamx", 0) != 0);
    }

    void itemPagesDeleteTheSelectedRowAndLeaveUncheckedItemsOut()
    {
        for (const char* name : {"a.scm", "b.scm", "c.scm"}) {
            FsMacroItem item;
            item.macroFile = name;
            doc->macroItems.push_back(item);
        }
        ProjectPropertiesSheet sheet(*doc);
        FsItemsPage* page = sheet.macroItems();
        QCOMPARE(page->list()->headerItem()->text(0), QStringLiteral("Macro Name"));
        QCOMPARE(page->list()->topLevelItemCount(), 3);
        QTest::mouseClick(page->deleteButton(), Qt::LeftButton);   // nothing selected
        QCOMPARE(doc->macroItems.size(), std::size_t(3));
        page->list()->setCurrentItem(page->list()->topLevelItem(1));
        QTest::mouseClick(page->deleteButton(), Qt::LeftButton);
        QCOMPARE(doc->macroItems.size(), std::size_t(2));
        QCOMPARE(doc->macroItems[1].macroFile, std::string("c.scm"));
        QCOMPARE(page->list()->topLevelItemCount(), 2);

        page->list()->topLevelItem(0)->setCheckState(0, Qt::Unchecked);
        QVERIFY(!doc->macroItems[0].included);
        const std::vector<std::string> lines = sourceLines(*doc, *dir);
        QVERIFY(hasLine(lines, "Macro( c.scm )"));
        QVERIFY(!hasLine(lines, "Macro( a.scm )"));

        const std::string path = dir->file("items.prj");
        QVERIFY(saveProject(*doc, path));
        CDibDoc loaded(*app);
        QVERIFY(loadProject(loaded, path));
        QVERIFY(!loaded.macroItems[0].included);
        QVERIFY(loaded.macroItems[1].included);
        ProjectPropertiesSheet again(loaded);
        QCOMPARE(again.macroItems()->list()->topLevelItem(0)->checkState(0), Qt::Unchecked);
    }

    void projectPropertiesCommandOpensTheSheet()
    {
        const CommandSpec* command = CommandRegistry::instance().find("view.projectProperties");
        QVERIFY(command);
        RecordingFrame none(*app, nullptr);
        QVERIFY(!command->enabled(none));
        RecordingFrame frame(*app, doc.get());
        QVERIFY(command->enabled(frame));
        bool seen = false;
        QTimer::singleShot(0, [&seen] {
            auto* sheet = qobject_cast<ProjectPropertiesSheet*>(QApplication::activeModalWidget());
            seen = sheet != nullptr;
            if (sheet)
                sheet->reject();
        });
        command->run(frame);
        QVERIFY(seen);
        QVERIFY(!doc->modified);

        const CommandSpec* insert = CommandRegistry::instance().find("fs.insertMacro");
        QVERIFY(insert);
        QVERIFY(!insert->enabled(frame));   // nothing picked on the map yet
        doc->clickPixelX = 3;
        doc->clickPixelY = 4;
        QVERIFY(insert->enabled(frame));
    }
};

QTEST_MAIN(ChunkPropertiesTest)
#include "ChunkPropertiesTest.moc"
