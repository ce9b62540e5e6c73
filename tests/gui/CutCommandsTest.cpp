// The "Prepare Textures..." and palette menu commands as the main window runs them, and the
// written tiles opened by Qt's own image reader.

#include <QDialog>
#include <QImage>
#include <QTimer>
#include <QWidget>
#include <QtTest>
#include <filesystem>

#include "GuiWait.h"
#include "project/AppContext.h"
#include "base/PathUtil.h"
#include "base/ui/CommandRegistry.h"
#include "base/ui/FrameServices.h"
#include "imagery/ProjectBitmap.h"
#include "imagery/TestBitmaps.h"
#include "imagery/ui/PaletteDialog.h"
#include "project/CDibDoc.h"
#include "RecordingFrame.h"
#include "support/ScriptedPlatform.h"
#include "support/TempDir.h"

namespace {

struct Project {
    TempDir dir;
    ScriptedPlatform platform;
    AppContext app{platform};
    RecordingFrame frame{app};
    std::unique_ptr<CDibDoc> doc;
    std::string tiles;

    explicit Project(int platformSetting)
    {
        app.settings.applicationPath = dir.str();
        app.settings.platform = platformSetting;
        doc = std::make_unique<CDibDoc>(app);
        tiles = dir.file("texture");
        std::filesystem::create_directories(tiles);
        doc->textureFolder = tiles;
        platform.messages.clear();
    }
    bool loadBitmap(int width, int height)
    {
        testbmp::Layout layout;
        layout.width = width;
        layout.height = height;
        dir.write("photo.bmp", testbmp::makeFile(layout));
        return loadProjectBitmap(*doc, dir.file("photo.bmp"));
    }
};

const CommandSpec& command(const char* id)
{
    const CommandSpec* entry = CommandRegistry::instance().find(id);
    if (!entry)
        qFatal("command %s is not registered", id);
    return *entry;
}

bool enabled(const char* id, FrameServices& frame)
{
    const CommandSpec& entry = command(id);
    return !entry.enabled || entry.enabled(frame);
}
} // namespace

class CutCommandsTest : public QObject {
    Q_OBJECT
private slots:
    void menuTexts_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("status");
        QTest::newRow("all") << "textures.cutAll" << "Cut &all level images..." << "Cut All Level Images";
        QTest::newRow("1") << "textures.cut1" << "Cut level &1..." << "Cut Level 1 (1024x1024) images...";
        QTest::newRow("2") << "textures.cut2" << "Cut level &2..." << "Cut Level 2 (512x512) Images";
        QTest::newRow("3") << "textures.cut3" << "Cut level &3..." << "Cut Level 3 (256x256) Images";
        QTest::newRow("define") << "palette.define" << "&Define..." << QString();
        QTest::newRow("save") << "palette.save" << "&Save..." << QString();
    }
    void menuTexts()
    {
        QFETCH(QString, id);
        QFETCH(QString, text);
        QFETCH(QString, status);
        const CommandSpec& entry = command(id.toStdString().c_str());
        QCOMPARE(entry.text, text);
        if (!status.isEmpty())
            QCOMPARE(entry.statusTip, status);
        QVERIFY(entry.run);
    }

    void enablingRules()
    {
        const char* cuts[] = {"textures.cutAll", "textures.cut1", "textures.cut2", "textures.cut3"};
        const char* palettes[] = {"palette.define", "palette.save"};
        for (int platformSetting : {0, 2}) {
            Project p(platformSetting);
            for (const char* id : cuts)
                QVERIFY2(!enabled(id, p.frame), id);   // no project
            p.frame.doc = p.doc.get();
            for (const char* id : cuts)
                QVERIFY2(!enabled(id, p.frame), id);   // no bitmap
            for (const char* id : palettes)
                QVERIFY2(!enabled(id, p.frame), id);
            QVERIFY(p.loadBitmap(1024, 1024));
            for (const char* id : cuts)
                QVERIFY2(enabled(id, p.frame), id);
            for (const char* id : palettes)
                QCOMPARE(enabled(id, p.frame), platformSetting == 0);
        }
    }

    void cutAllWritesTilesThatQtReads()
    {
        Project p(1);
        p.frame.doc = p.doc.get();
        QVERIFY(p.loadBitmap(1024, 1024));
        p.platform.fileAnswers.push_back(PathUtil::join(p.tiles, "ab"));
        command("textures.cutAll").run(p.frame);
        QCOMPARE(p.doc->textureFileNames.size(), std::size_t(21));
        QCOMPARE(p.doc->textureFileNames.front(), PathUtil::join(p.tiles, "ab00001.bmp"));
        QCOMPARE(p.doc->textureFileNames.back(), PathUtil::join(p.tiles, "ab0000333.bmp"));

        // Level 3 tile 341: columns 512-767, rows 256-511 counted from the bottom.
        QImage tile(QString::fromStdString(PathUtil::join(p.tiles, "ab0000341.bmp")));
        QVERIFY(!tile.isNull());
        QCOMPARE(tile.size(), QSize(256, 256));
        for (int y : {0, 1, 100, 255})
            for (int x : {0, 7, 128, 255}) {
                const std::uint32_t c = testbmp::paletteColor(testbmp::patternIndex(512 + x, 256 + y));
                // Qt's rows run top first; the tile's first stored row is its bottom row.
                QCOMPARE(QColor(tile.pixel(x, 255 - y)), QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF));
            }
        for (const std::string& path : p.doc->textureFileNames) {
            QImage image(QString::fromStdString(path));
            QVERIFY2(!image.isNull() && image.size() == QSize(256, 256), path.c_str());
        }
        QVERIFY(p.platform.messages.empty());
    }

    void singleLevelsAskForTheirPrefixAndCancelWritesNothing()
    {
        Project p(0);
        p.frame.doc = p.doc.get();
        QVERIFY(p.loadBitmap(2048, 1024));
        const struct {
            const char* id;
            const char* title;
            std::size_t tiles;
        } runs[] = {{"textures.cut1", "Select prefix for Level 1 texture filenames:", 2},
                    {"textures.cut2", "Select prefix for Level 2 texture filenames:", 8},
                    {"textures.cut3", "Select prefix for Level 3 texture filenames:", 32}};
        for (const auto& run : runs) {
            p.doc->textureFileNames.clear();
            p.platform.fileAnswers.push_back(std::nullopt);
            command(run.id).run(p.frame);
            QCOMPARE(p.platform.fileDialogs.back().title, std::string(run.title));
            QVERIFY(p.doc->textureFileNames.empty());
            p.platform.fileAnswers.push_back(PathUtil::join(p.tiles, "cd.r8"));
            command(run.id).run(p.frame);
            QCOMPARE(p.doc->textureFileNames.size(), run.tiles);
            QCOMPARE(std::filesystem::file_size(p.doc->textureFileNames.back()), std::uintmax_t(65536));
        }
        QCOMPARE(p.doc->texturePrefix, std::string("cd"));
        QCOMPARE(p.doc->textureFileNames.back(), PathUtil::join(p.tiles, "cd0001.333"));
        QVERIFY(p.platform.progressLog.empty());   // single levels show no progress window
    }

    void paletteCommands()
    {
        Project p(0);
        p.frame.doc = p.doc.get();
        QVERIFY(p.loadBitmap(1024, 1024));
        p.doc->colorTable[3] = 0x112233;
        p.platform.fileAnswers.push_back(p.dir.file("out.pal"));
        command("palette.save").run(p.frame);
        const auto bytes = p.dir.read("out.pal");
        QCOMPARE(bytes.size(), std::size_t(768));
        QCOMPARE(int(bytes[9]), 0x33);
        QCOMPARE(int(bytes[11]), 0x11);

        // "Define..." opens the modal dialog on the project; Cancel leaves the palette alone.
        bool seen = false;
        whenModal<PaletteDialog>([&](PaletteDialog* dialog) {
            seen = true;
            dialog->reject();
        });
        command("palette.define").run(p.frame);
        QVERIFY(seen);
        QCOMPARE(p.doc->colorTable[3], 0x112233);
    }
};

QTEST_MAIN(CutCommandsTest)
#include "CutCommandsTest.moc"
