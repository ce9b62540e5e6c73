// The map view's overlay switches and pointer modes as the tool palette shows them: disabled
// without a project, checked as the active view's state says, the altitude overlays only with records.
#include <QAbstractButton>
#include <QStandardPaths>
#include <QtTest>

#include "project/AppContext.h"
#include "app/ui/CMainFrame.h"
#include "app/ui/ProjectWindow.h"
#include "project/CDibDoc.h"
#include "synth/Texture.h"
#include "support/ScriptedPlatform.h"
#include "support/TextureImages.h"
#include "view/ui/CDibView.h"

namespace {
// A 256 x 256 8-bit texture: red (index 0) in the western half, blue (index 1) in the eastern half.
PackedBitmap halfAndHalf()
{
    PackedBitmap bitmap = blankTexture();
    std::vector<std::uint8_t>& block = bitmap.block();
    block[40 + 2] = 255;   // entry 0: red (blue, green, red, 0)
    block[44 + 0] = 255;   // entry 1: blue
    for (int y = 0; y < 256; ++y)
        for (int x = 128; x < 256; ++x)
            block[40 + 1024 + y * 256 + x] = 1;
    return bitmap;
}
} // namespace

class ViewCommandsTest : public QObject {
    Q_OBJECT

    QAbstractButton* button(int id) { return frame->findChild<QAbstractButton*>(QString("tool_%1").arg(id)); }

    ScriptedPlatform platform;
    std::unique_ptr<AppContext> app;
    std::unique_ptr<CMainFrame> frame;

private slots:
    void init()
    {
        QStandardPaths::setTestModeEnabled(true);
        app = std::make_unique<AppContext>(platform);
        frame = std::make_unique<CMainFrame>(*app);
        frame->show();
    }

    void cleanup()
    {
        for (ProjectWindow* w : frame->projectWindows()) {
            w->setCloseConfirmed(true);
            delete w;
        }
        frame.reset();
        app.reset();
    }

    void disabledWithoutProject()
    {
        frame->refreshCommands();
        for (int id : {32836, 32837, 32826, 32832, 32787, 32788, 32789, 32801})
            QVERIFY2(!button(id)->isEnabled(), qPrintable(QString::number(id)));
    }

    void overlaysToggleTheActiveView()
    {
        auto doc = std::make_unique<CDibDoc>(*app);
        doc->chunkColumns = doc->chunkRows = 1;
        frame->openDocumentWindow(std::move(doc));
        frame->refreshCommands();
        auto* view = qobject_cast<CDibView*>(frame->activeView());
        QVERIFY(view);
        QVERIFY(button(32787)->isEnabled());
        QVERIFY(!button(32787)->isChecked());
        button(32787)->click();
        frame->refreshCommands();
        QVERIFY(view->showGridLines);
        QVERIFY(button(32787)->isChecked());
        button(32788)->click();
        QVERIFY(view->showGridNodes);
        // Without altitude records there is nothing to show.
        QVERIFY(!button(32789)->isEnabled());
        QVERIFY(!button(32801)->isEnabled());
    }

    void altitudeOverlaysNeedRecords()
    {
        auto doc = std::make_unique<CDibDoc>(*app);
        doc->chunkColumns = doc->chunkRows = 1;
        doc->boundary = {45.0, 45.1, -73.1, -73.0};
        doc->mainAltitudeMap.records.push_back({45.05, -73.05, 120});
        frame->openDocumentWindow(std::move(doc));
        frame->refreshCommands();
        auto* view = qobject_cast<CDibView*>(frame->activeView());
        QVERIFY(button(32789)->isEnabled());
        button(32789)->click();
        button(32801)->click();
        QVERIFY(view->showAltitudeNodes);
        QVERIFY(view->showAltitudeLabels);
        view->grab();   // paints the crosses and labels without failing
    }

    void mosaicFollowsTheTextureOrientation()
    {
        auto doc = std::make_unique<CDibDoc>(*app);
        doc->chunkColumns = doc->chunkRows = 1;
        auto texture = std::make_unique<Texture>();
        texture->image = halfAndHalf();
        texture->kind = 1;
        TexReliefChunk chunk;
        chunk.chunkValueA = chunk.chunkValueB = 0;
        chunk.texture = texture.get();
        doc->chunks.push_back(chunk);
        CDibDoc* project = doc.get();
        frame->openDocumentWindow(std::move(doc));
        auto* view = qobject_cast<CDibView*>(frame->activeView());
        view->resize(256, 256);
        auto westColour = [&] {
            view->refresh();
            return view->grab().toImage().pixelColor(64, 128);
        };
        QCOMPARE(westColour(), QColor(Qt::red));
        project->chunks[0].chunkValueC = 1;   // mirrored east-west
        QCOMPARE(westColour(), QColor(Qt::blue));
        project->chunks[0].chunkValueC = 2;   // mirrored north-south only
        QCOMPARE(westColour(), QColor(Qt::red));
        project->chunks[0].chunkValueC = 0;
        texture.reset();
        project->chunks[0].texture = nullptr;
    }

    void modesAreExclusive()
    {
        frame->openDocumentWindow(std::make_unique<CDibDoc>(*app));
        frame->refreshCommands();
        auto* view = qobject_cast<CDibView*>(frame->activeView());
        QVERIFY(button(32836)->isChecked());
        button(32832)->click();
        frame->refreshCommands();
        QCOMPARE(view->viewMode, 3);
        QVERIFY(button(32832)->isChecked());
        QVERIFY(!button(32836)->isChecked());
        button(32837)->click();
        frame->refreshCommands();
        QCOMPARE(view->viewMode, 1);
        QVERIFY(!button(32832)->isChecked());
    }
};

QTEST_MAIN(ViewCommandsTest)
#include "ViewCommandsTest.moc"
