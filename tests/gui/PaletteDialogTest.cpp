// The Define Palette dialog driven as the user would: range boxes, JASC import, Browse, OK and Cancel.

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "GuiWait.h"
#include "project/AppContext.h"
#include "imagery/ui/PaletteDialog.h"
#include "project/CDibDoc.h"
#include "support/ScriptedPlatform.h"
#include "support/TempDir.h"

namespace {
// colors.pcf entry i = (i, 255 - i, 100): every entry differs from black and from the others.
std::uint32_t pcfColor(int i)
{
    return static_cast<std::uint32_t>(i) | static_cast<std::uint32_t>(255 - i) << 8 | 100u << 16;
}

QColor qcolor(std::uint32_t c)
{
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

struct Project {
    TempDir dir;
    ScriptedPlatform platform;
    AppContext app{platform};
    std::unique_ptr<CDibDoc> doc;
    Project()
    {
        std::vector<unsigned char> bytes;
        for (int i = 0; i < 256; ++i) {
            const std::uint32_t c = pcfColor(i);
            bytes.push_back(c & 0xFF);
            bytes.push_back((c >> 8) & 0xFF);
            bytes.push_back((c >> 16) & 0xFF);
        }
        dir.write("colors.pcf", bytes);
        app.settings.applicationPath = dir.str();
        doc = std::make_unique<CDibDoc>(app);
        // Marks in the entries no box owns, to see that they are left alone.
        for (int i = 128; i < 160; ++i)
            doc->colorTable[i] = 0x0A0B0C + i;
    }
};

// The colour painted in the middle of grid cell `index`.
QColor cellColor(PaletteDialog& dialog, int index)
{
    const QImage shot = dialog.gridFrame()->grab().toImage();
    const int cellW = dialog.gridFrame()->width() / 16;
    const int cellH = dialog.gridFrame()->height() / 16;
    return shot.pixelColor((index % 16) * cellW + cellW / 2 - 1, (index / 16) * cellH + cellH / 2 - 1);
}

void click(QCheckBox* box)
{
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(4, box->height() / 2));
}
} // namespace

class PaletteDialogTest : public QObject {
    Q_OBJECT
private slots:
    void opensWithTheProjectsChoices()
    {
        Project p;
        p.doc->colorTableParams = {0, 1, 0, 1};
        p.doc->paletteName = "mine.pal";
        p.doc->colorTable[5] = 0x332211;
        PaletteDialog dialog(*p.doc);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Define Palette..."));
        QVERIFY(!dialog.rangeBox(PaletteRange::Standard)->isChecked());
        QVERIFY(dialog.rangeBox(PaletteRange::Night)->isChecked());
        QVERIFY(dialog.rangeBox(PaletteRange::SkyGround)->isChecked());
        QCOMPARE(dialog.rangeBox(PaletteRange::Custom)->text(), QStringLiteral("Include Custom Colors"));
        QCOMPARE(dialog.paletteNameEdit()->text(), QStringLiteral("mine.pal"));
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog, kGuiWaitMs));
        QCOMPARE(cellColor(dialog, 5), qcolor(0x332211));
        QCOMPARE(cellColor(dialog, 6), QColor(Qt::black));
    }

    void eachBoxFillsAndClearsItsRange_data()
    {
        QTest::addColumn<int>("range");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("end");
        QTest::newRow("standard") << int(PaletteRange::Standard) << 0 << 116;
        QTest::newRow("night") << int(PaletteRange::Night) << 116 << 128;
        QTest::newRow("custom") << int(PaletteRange::Custom) << 192 << 256;
        QTest::newRow("sky/ground") << int(PaletteRange::SkyGround) << 160 << 192;
    }
    void eachBoxFillsAndClearsItsRange()
    {
        QFETCH(int, range);
        QFETCH(int, first);
        QFETCH(int, end);
        Project p;
        PaletteDialog dialog(*p.doc);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog, kGuiWaitMs));
        const auto before = dialog.displayedColors();
        QCheckBox* box = dialog.rangeBox(static_cast<PaletteRange>(range));

        click(box);
        QVERIFY(box->isChecked());
        for (int i = 0; i < 256; ++i) {
            const bool inside = i >= first && i < end;
            QCOMPARE(dialog.displayedColors()[i], inside ? std::int32_t(pcfColor(i)) : before[i]);
        }
        QCOMPARE(cellColor(dialog, first), qcolor(pcfColor(first)));
        QCOMPARE(cellColor(dialog, end - 1), qcolor(pcfColor(end - 1)));

        click(box);
        QVERIFY(!box->isChecked());
        for (int i = 0; i < 256; ++i) {
            const bool inside = i >= first && i < end;
            QCOMPARE(dialog.displayedColors()[i], inside ? 0 : before[i]);
        }
        QCOMPARE(cellColor(dialog, first), QColor(Qt::black));
        QCOMPARE(cellColor(dialog, 130), qcolor(0x0A0B0C + 130));
    }

    void jascImportReplacesOnlyItsColoursAndSurvivesCancel()
    {
        Project p;
        p.doc->colorTableParams = {0, 0, 1, 0};
        const auto tableBefore = p.doc->colorTable;
        std::string text = "JASC-PAL\n0100\n10\n";
        for (int k = 0; k < 10; ++k)
            text += std::to_string(k * 20) + " 1 2\n";
        p.dir.write("ten.pal", text);

        PaletteDialog dialog(*p.doc);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog, kGuiWaitMs));
        p.platform.fileAnswers.push_back(p.dir.file("ten.pal"));
        QTest::mouseClick(dialog.loadButton(), Qt::LeftButton);
        QCOMPARE(p.platform.fileDialogs.back().title, std::string("Open JASC palette file"));
        QCOMPARE(p.platform.fileDialogs.back().filter, std::string("JASC Palette files (*.pal)|*.pal|"));
        for (int k = 0; k < 64; ++k) {
            const std::uint32_t expected = k < 10 ? std::uint32_t(k * 20) | 1u << 8 | 2u << 16 : pcfColor(192 + k);
            QCOMPARE(p.doc->customColors[k], expected);
            // The box is checked, so the shown custom range follows the import at once.
            QCOMPARE(dialog.displayedColors()[192 + k], std::int32_t(expected));
        }
        QCOMPARE(cellColor(dialog, 193), qcolor(20 | 1u << 8 | 2u << 16));

        // A file that cannot be opened changes nothing and says nothing.
        p.platform.fileAnswers.push_back(p.dir.file("missing.pal"));
        QTest::mouseClick(dialog.loadButton(), Qt::LeftButton);
        QCOMPARE(p.doc->customColors[0], 0u | 1u << 8 | 2u << 16);
        QVERIFY(p.platform.messages.empty());

        dialog.reject();
        QCOMPARE(p.doc->colorTable, tableBefore);
        QCOMPARE(p.doc->colorTableParams, (std::array<std::int32_t, 4>{0, 0, 1, 0}));
        QCOMPARE(p.doc->customColors[1], 20u | 1u << 8 | 2u << 16);
        QVERIFY(!p.doc->modified);
    }

    void browseAndOkStoreEverything()
    {
        Project p;
        p.doc->paletteName = "old.pal";
        PaletteDialog dialog(*p.doc);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog, kGuiWaitMs));
        p.platform.fileAnswers.push_back(p.dir.file("scenery.pal"));
        QTest::mouseClick(dialog.browseButton(), Qt::LeftButton);
        QCOMPARE(p.platform.fileDialogs.back().filter, std::string("pal files (*.pal)|*.pal|All Files (*.*)|*.*||"));
        QCOMPARE(dialog.paletteNameEdit()->text(), QStringLiteral("scenery.pal"));
        QVERIFY(dialog.paletteNameEdit()->isEnabled());

        // Cancelled browsing keeps the name.
        p.platform.fileAnswers.push_back(std::nullopt);
        QTest::mouseClick(dialog.browseButton(), Qt::LeftButton);
        QCOMPARE(dialog.paletteNameEdit()->text(), QStringLiteral("scenery.pal"));

        click(dialog.rangeBox(PaletteRange::Standard));
        click(dialog.rangeBox(PaletteRange::SkyGround));
        const auto shown = dialog.displayedColors();
        dialog.accept();
        QCOMPARE(p.doc->paletteName, std::string("scenery.pal"));
        QCOMPARE(p.doc->colorTable, shown);
        QCOMPARE(p.doc->colorTableParams, (std::array<std::int32_t, 4>{1, 0, 0, 1}));
        QVERIFY(p.doc->modified);
        QCOMPARE(p.doc->colorTable[0], std::int32_t(pcfColor(0)));
        QCOMPARE(p.doc->colorTable[140], 0x0A0B0C + 140);
    }
};

QTEST_MAIN(PaletteDialogTest)
#include "PaletteDialogTest.moc"
