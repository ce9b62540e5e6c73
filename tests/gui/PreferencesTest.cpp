// Drives the four pages of the Preferences sheet on the offscreen platform.

#include <QCheckBox>
#include <QColor>
#include <QImage>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

#include <algorithm>
#include <memory>

#include "project/AppContext.h"
#include "app/ui/PreferencesSheet.h"
#include "app/ui/PreferencesGeneralPage.h"
#include "app/ui/PreferencesPathsPage.h"
#include "app/ui/PreferencesSynthTexturesPage.h"
#include "app/ui/PreferencesOptionsPage.h"
#include "base/ui/CommandRegistry.h"
#include "project/CDibDoc.h"
#include "RecordingFrame.h"
#include "support/ScriptedPlatform.h"
#include "synth/SynthTestFiles.h"
#include "synth/TextureLibrary.h"
#include "synth/TextureLinks.h"

namespace {

TextureClass textureClass(int code, const char* name, std::uint32_t color, bool enabled = true)
{
    TextureClass c;
    c.code = code;
    c.name = name;
    c.color = color;
    c.enabled = enabled ? 1 : 0;
    return c;
}

/// A library folder and settings that differ from the defaults everywhere the sheet can write.
struct Fixture {
    ScriptedPlatform platform;
    AppContext app{platform};
    TempDir dir;

    Fixture()
    {
        SynthTestFiles::writeLibrary(dir, {"000000s1.bmp", "000000w1.bmp", "010100s1.bmp", "010100w1.bmp",
                                           "030000s1.bmp"});
        AppSettings& s = app.settings;
        s.synthTexturesPath = dir.str();
        s.applicationPath = dir.str();
        s.fs98Path = "/fs98";
        s.cfsPath = "/cfs";
        s.fs2000Path = "/fs2000";
        s.platform = 1;
        s.loadTexturesOnOpen = 1;
        s.showSynthTilesColorCoded = 0;
        s.zoomLevel = 0.25;
        s.viewSeason = 2;
        s.textureClasses = {textureClass(0, "Grass", 0x00FF00), textureClass(1, "Water", 0xFF0000)};
        loadTextureLibrary(app);
        platform.progressLog.clear();
    }

    bool libraryReloaded() const
    {
        return std::find(platform.progressLog.begin(), platform.progressLog.end(),
                         "create Loading/Replacing Synthetic Textures...") != platform.progressLog.end();
    }
};

void showPage(PreferencesSheet& sheet, int index)
{
    sheet.tabs()->setCurrentIndex(index);
    QCoreApplication::processEvents();
}

void doubleClickRow(QTreeWidget* list, int row)
{
    QTreeWidgetItem* item = list->topLevelItem(row);
    QVERIFY(item);
    const QRect rect = list->visualItemRect(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rect.center());
}

} // namespace

class PreferencesTest : public QObject {
    Q_OBJECT

private slots:
    void commandIsRegistered();
    void generalPageWritesOnlyItself();
    void fs98CanBeChosenAndOpensThePaletteCommands();
    void pathsPageBrowsesFolders();
    void synthTexturesPageEditsClassesAndReloads();
    void scanThenCancelKeepsRescannedClasses();
    void zoomArrowsDoubleAndHalve();
    void colourRowsAndSeasonChange();
    void cancelChangesNothing();
    void applyKeepsSheetOpen();
};

void PreferencesTest::commandIsRegistered()
{
    const CommandSpec* command = CommandRegistry::instance().find("app.preferences");
    QVERIFY(command);
    QCOMPARE(command->text, QStringLiteral("&Preferences..."));
    QCOMPARE(command->shortcut, QKeySequence(Qt::CTRL | Qt::Key_P));
    QVERIFY(command->run);
}

void PreferencesTest::generalPageWritesOnlyItself()
{
    Fixture f;
    const AppSettings before = f.app.settings;
    PreferencesSheet sheet(f.app);
    sheet.show();
    QCOMPARE(sheet.windowTitle(), QStringLiteral("Orvane Properties"));
    QCOMPARE(sheet.tabs()->count(), 4);
    QCOMPARE(sheet.tabs()->tabText(0), QStringLiteral("General"));
    QCOMPARE(sheet.tabs()->tabText(1), QStringLiteral("Paths"));
    QCOMPARE(sheet.tabs()->tabText(2), QStringLiteral("Synth Textures"));
    QCOMPARE(sheet.tabs()->tabText(3), QStringLiteral("Preferences"));

    PreferencesGeneralPage* page = sheet.general();
    // Every platform can be chosen: FS98 is the one whose .r8 tiles the palette commands serve.
    for (int i = 0; i < 3; ++i)
        QVERIFY(page->platformButton(i)->isEnabled());
    QCOMPARE(page->platformButton(0)->text(), QStringLiteral("Microsoft Flight Simulator 98"));
    QVERIFY(page->platformButton(1)->isChecked());
    QVERIFY(!sheet.applyButton()->isEnabled());

    page->platformButton(2)->click();
    QVERIFY(sheet.applyButton()->isEnabled());
    sheet.okButton()->click();

    QVERIFY(!sheet.isVisible());
    AppSettings expected = before;
    expected.platform = 2;
    QVERIFY(f.app.settings == expected);
    QVERIFY(!f.libraryReloaded());
}

void PreferencesTest::fs98CanBeChosenAndOpensThePaletteCommands()
{
    Fixture f;
    CDibDoc doc(f.app);
    doc.projectBitmap = PackedBitmap(std::vector<std::uint8_t>(64, 0));
    RecordingFrame frame(f.app, &doc);
    const CommandSpec* define = CommandRegistry::instance().find("palette.define");
    QVERIFY(define && define->enabled);
    QVERIFY(!define->enabled(frame));

    PreferencesSheet sheet(f.app);
    sheet.show();
    QTest::mouseClick(sheet.general()->platformButton(0), Qt::LeftButton);
    QVERIFY(sheet.general()->platformButton(0)->isChecked());
    sheet.okButton()->click();
    QCOMPARE(f.app.settings.platform, 0);
    QVERIFY(define->enabled(frame));
}

void PreferencesTest::pathsPageBrowsesFolders()
{
    Fixture f;
    const AppSettings before = f.app.settings;
    PreferencesSheet sheet(f.app);
    sheet.show();
    showPage(sheet, 1);
    PreferencesPathsPage* page = sheet.paths();

    QCOMPARE(page->folderEdit(PreferencesPathsPage::SynthTextures)->text(), QString::fromStdString(f.dir.str()));
    QCOMPARE(page->folderEdit(PreferencesPathsPage::Cfs)->text(), QStringLiteral("/cfs"));
    QVERIFY(page->applicationPathEdit()->isReadOnly());
    QCOMPARE(page->applicationPathEdit()->text(), QString::fromStdString(f.dir.str()));

    f.platform.folderAnswers = {std::string("/textures"), std::string("/f98"), std::nullopt, std::string("/f2k")};
    for (auto folder : {PreferencesPathsPage::SynthTextures, PreferencesPathsPage::Fs98, PreferencesPathsPage::Cfs, PreferencesPathsPage::Fs2000})
        page->browseButton(folder)->click();
    QCOMPARE(f.platform.folderPrompts,
             (std::vector<std::string>{"Please specify a folder",
                                       "Please specify where is the main folder for Flight Simulator 98",
                                       "Please specify where is the main folder for Combat Flight Simulator",
                                       "Please specify where is the main folder for Flight Simulator 2000"}));
    QCOMPARE(page->folderEdit(PreferencesPathsPage::SynthTextures)->text(), QStringLiteral("/textures"));
    QCOMPARE(page->folderEdit(PreferencesPathsPage::Cfs)->text(), QStringLiteral("/cfs"));
    QVERIFY(sheet.applyButton()->isEnabled());

    sheet.okButton()->click();
    AppSettings expected = before;
    expected.synthTexturesPath = "/textures";
    expected.fs98Path = "/f98";
    expected.fs2000Path = "/f2k";
    QVERIFY(f.app.settings == expected);
    QVERIFY(!f.libraryReloaded());
}

void PreferencesTest::synthTexturesPageEditsClassesAndReloads()
{
    Fixture f;
    PreferencesSheet sheet(f.app);
    sheet.show();
    showPage(sheet, 2);
    PreferencesSynthTexturesPage* page = sheet.synthTextures();
    QTreeWidget* list = page->classList();

    QVERIFY(page->loadOnOpenBox()->isChecked());
    QCOMPARE(page->loadOnOpenBox()->toolTip(), QStringLiteral("Load the textures when Orvane starts up"));
    QCOMPARE(list->headerItem()->text(0), QStringLiteral("Name"));
    QCOMPARE(list->headerItem()->text(1), QStringLiteral("Index"));
    QCOMPARE(list->columnWidth(0), 180);
    QCOMPARE(list->columnWidth(1), 60);
    QCOMPARE(list->topLevelItemCount(), 2);
    QCOMPARE(list->topLevelItem(1)->text(0), QStringLiteral("Water"));
    QCOMPARE(list->topLevelItem(1)->text(1), QStringLiteral("1"));
    QCOMPARE(list->topLevelItem(1)->checkState(0), Qt::Checked);

    page->selectNoneButton()->click();
    QCOMPARE(list->topLevelItem(0)->checkState(0), Qt::Unchecked);
    QCOMPARE(list->topLevelItem(1)->checkState(0), Qt::Unchecked);
    page->selectAllButton()->click();
    QCOMPARE(list->topLevelItem(0)->checkState(0), Qt::Checked);
    list->topLevelItem(1)->setCheckState(0, Qt::Unchecked);

    // In-place editing of a name: double-click, type, Return.
    doubleClickRow(list, 0);
    auto* editor = list->viewport()->findChild<QLineEdit*>();
    QVERIFY(editor);
    editor->selectAll();
    QTest::keyClicks(editor, "Meadow");
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();   // the delegate commits after the key press
    QCOMPARE(list->topLevelItem(0)->text(0), QStringLiteral("Meadow"));
    // An edit that ends without text keeps the name.
    list->topLevelItem(1)->setText(0, QString());
    QCOMPARE(list->topLevelItem(1)->text(0), QStringLiteral("Water"));

    page->loadOnOpenBox()->click();
    sheet.okButton()->click();

    const AppSettings& s = f.app.settings;
    QCOMPARE(s.loadTexturesOnOpen, 0);
    QCOMPARE(s.textureClasses[0].name, std::string("Meadow"));
    QCOMPARE(s.textureClasses[0].enabled, 1);
    QCOMPARE(s.textureClasses[1].enabled, 0);
    QVERIFY(f.libraryReloaded());
    QCOMPARE(f.app.textureLibrary.size(), std::size_t(1));
    QCOMPARE(f.app.textureLibrary[0]->name, std::string("000000s1.bmp"));
}

void PreferencesTest::scanThenCancelKeepsRescannedClasses()
{
    Fixture f;
    const AppSettings before = f.app.settings;
    PreferencesSheet sheet(f.app);
    sheet.show();
    showPage(sheet, 3);   // the colour page takes its copy before the re-scan
    showPage(sheet, 2);
    PreferencesSynthTexturesPage* page = sheet.synthTextures();
    page->loadOnOpenBox()->click();

    // No leaves the classes alone; Yes re-scans at once.
    f.platform.answers = {MsgAnswer::No, MsgAnswer::Yes};
    page->scanButton()->click();
    QVERIFY(f.app.settings.textureClasses == before.textureClasses);
    QCOMPARE(page->classList()->topLevelItemCount(), 2);
    page->scanButton()->click();
    QCOMPARE(f.platform.messages.size(), std::size_t(2));
    QCOMPARE(f.platform.messages[0].text,
             std::string("Re-scanning for texture types will erase the names and color codes of the present texture "
                         "set. Proceed?"));
    QCOMPARE(f.platform.messages[0].icon, MsgIcon::Question);
    QCOMPARE(f.platform.messages[0].buttons, MsgButtons::YesNo);
    QCOMPARE(f.platform.messages[1].text, f.platform.messages[0].text);

    std::vector<TextureClass> rescanned(4);
    rescanned[0].code = 0;
    rescanned[1].code = 1;
    rescanned[3].code = 3;
    QVERIFY(f.app.settings.textureClasses == rescanned);
    QCOMPARE(page->classList()->topLevelItemCount(), 4);
    QCOMPARE(page->classList()->topLevelItem(3)->text(1), QStringLiteral("3"));
    QCOMPARE(page->classList()->topLevelItem(2)->text(0), QStringLiteral("<no name>"));

    showPage(sheet, 3);
    QCOMPARE(sheet.preferences()->colorList()->topLevelItemCount(), 4);
    QCOMPARE(sheet.preferences()->colorCopy(), (std::vector<std::uint32_t>(4, 0x808080)));

    sheet.cancelButton()->click();
    AppSettings expected = before;
    expected.textureClasses = rescanned;
    QVERIFY(f.app.settings == expected);
    QVERIFY(!f.libraryReloaded());
}

void PreferencesTest::zoomArrowsDoubleAndHalve()
{
    Fixture f;
    PreferencesSheet sheet(f.app);
    sheet.show();
    showPage(sheet, 3);
    PreferencesOptionsPage* page = sheet.preferences();

    QCOMPARE(page->zoomEdit()->text(), PreferencesOptionsPage::zoomText(0.25));
    QVERIFY(!page->zoomEdit()->isEnabled());
    QVERIFY(!page->zoomLabel()->isEnabled());
    QVERIFY(!page->zoomUpButton()->isEnabled());
    page->colorCodedBox()->click();
    QVERIFY(page->zoomEdit()->isEnabled());
    QVERIFY(page->zoomDownButton()->isEnabled());
    QVERIFY(sheet.applyButton()->isEnabled());

    for (double expected : {0.5, 1.0, 2.0, 4.0, 8.0, 8.0}) {
        page->zoomUpButton()->click();
        QCOMPARE(page->zoomEdit()->text(), PreferencesOptionsPage::zoomText(expected));
    }
    page->zoomEdit()->setText(PreferencesOptionsPage::zoomText(0.25));
    page->zoomDownButton()->click();
    QCOMPARE(page->zoomEdit()->text(), PreferencesOptionsPage::zoomText(0.125));
    page->zoomDownButton()->click();
    QCOMPARE(page->zoomEdit()->text(), PreferencesOptionsPage::zoomText(0.0625));

    sheet.okButton()->click();
    QCOMPARE(f.app.settings.zoomLevel, 0.0625);
    QCOMPARE(f.app.settings.showSynthTilesColorCoded, 1);
}

void PreferencesTest::colourRowsAndSeasonChange()
{
    Fixture f;
    auto doc = std::make_unique<CDibDoc>(f.app);
    int repaints = 0;
    doc->onRepaint = [&] { ++repaints; };
    doc->chunks.resize(2);
    linkChunkTexture(f.app, doc->chunks[0], static_cast<long>(findLibraryTexture(f.app, "010100s1.bmp")));
    auto photo = std::make_unique<Texture>();
    photo->kind = 1;
    photo->name = "/tiles/a.bmp";
    linkChunkToTexture(doc->chunks[1], photo.get());
    doc->projectTextures.push_back(std::move(photo));

    PreferencesSheet sheet(f.app);
    sheet.show();
    showPage(sheet, 3);
    PreferencesOptionsPage* page = sheet.preferences();
    QTreeWidget* colors = page->colorList();
    QCOMPARE(colors->headerItem()->text(0), QStringLiteral("Color"));
    QCOMPARE(colors->columnWidth(0), 200);
    QCOMPARE(colors->topLevelItemCount(), 2);
    QCOMPARE(colors->topLevelItem(1)->text(0), QStringLiteral("1"));

    QVERIFY(!page->seasonButton(1)->isEnabled());
    QVERIFY(!page->seasonButton(3)->isEnabled());
    QVERIFY(page->seasonButton(0)->isEnabled());
    QVERIFY(page->seasonButton(2)->isChecked());

    // Rows are painted as bars of the class colour (0x00BBGGRR).
    auto barColor = [colors](int row) {
        const QRect rect = colors->visualItemRect(colors->topLevelItem(row));
        return colors->viewport()->grab().toImage().pixelColor(rect.right() - 6, rect.center().y());
    };
    QCOMPARE(barColor(0), QColor(0, 255, 0));
    QCOMPARE(barColor(1), QColor(0, 0, 255));

    f.platform.colorAnswers = {0x123456u};
    doubleClickRow(colors, 1);
    QCOMPARE(page->colorCopy()[1], 0x123456u);
    QCOMPARE(barColor(1), QColor(0x56, 0x34, 0x12));
    QCOMPARE(f.app.settings.textureClasses[1].color, 0xFF0000u);   // only the page's copy so far
    f.platform.colorAnswers = {std::nullopt};
    page->chooseRowColor(0);
    QCOMPARE(page->colorCopy()[0], 0x00FF00u);

    // The copy outlives a visit to another page.
    showPage(sheet, 0);
    showPage(sheet, 3);
    QCOMPARE(page->colorCopy()[1], 0x123456u);

    page->seasonButton(0)->click();
    sheet.okButton()->click();

    QCOMPARE(f.app.settings.textureClasses[1].color, 0x123456u);
    QCOMPARE(f.app.settings.viewSeason, 0);
    QCOMPARE(doc->chunks[0].texture->name, std::string("010100w1.bmp"));
    QCOMPARE(doc->chunks[1].texture, doc->projectTextures[0].get());
    QCOMPARE(repaints, 1);
}

void PreferencesTest::cancelChangesNothing()
{
    Fixture f;
    const AppSettings before = f.app.settings;
    std::vector<const Texture*> library;
    for (const auto& t : f.app.textureLibrary)
        library.push_back(t.get());

    PreferencesSheet sheet(f.app);
    sheet.show();
    sheet.general()->platformButton(2)->click();
    showPage(sheet, 1);
    sheet.paths()->folderEdit(PreferencesPathsPage::Fs98)->setText("/elsewhere");
    showPage(sheet, 2);
    sheet.synthTextures()->selectNoneButton()->click();
    sheet.synthTextures()->loadOnOpenBox()->click();
    showPage(sheet, 3);
    sheet.preferences()->colorCodedBox()->click();
    sheet.preferences()->zoomUpButton()->click();
    sheet.preferences()->seasonButton(0)->click();
    f.platform.colorAnswers = {0x010203u};
    sheet.preferences()->chooseRowColor(0);
    sheet.cancelButton()->click();

    QVERIFY(f.app.settings == before);
    QVERIFY(!f.libraryReloaded());
    QCOMPARE(f.app.textureLibrary.size(), library.size());
    for (std::size_t i = 0; i < library.size(); ++i)
        QCOMPARE(f.app.textureLibrary[i].get(), library[i]);
}

void PreferencesTest::applyKeepsSheetOpen()
{
    Fixture f;
    PreferencesSheet sheet(f.app);
    sheet.show();
    showPage(sheet, 3);
    sheet.preferences()->seasonButton(0)->click();
    QVERIFY(sheet.applyButton()->isEnabled());
    sheet.applyButton()->click();
    QVERIFY(sheet.isVisible());
    QVERIFY(!sheet.applyButton()->isEnabled());
    QCOMPARE(f.app.settings.viewSeason, 0);
    QCOMPARE(f.app.textureLibrary[0]->name, std::string("000000w1.bmp"));

    // Nothing changed since: a second Apply does not switch the season again.
    f.platform.progressLog.clear();
    sheet.applyButton()->click();
    QVERIFY(!f.libraryReloaded());
    sheet.okButton()->click();
    QVERIFY(!sheet.isVisible());
}

QTEST_MAIN(PreferencesTest)
#include "PreferencesTest.moc"
