// Every window of the builder as the user meets it, on a 1920 x 1080 screen at the scale
// factor the test runs at (CTest runs it at 1 and 2): no control cut off by its parent, none
// on top of another, none squeezed below its minimum, no window larger than the screen.
// With ORVANE_SHOT_DIR set it also leaves a picture of each (scripts/screenshot-dialogs.sh).

#include <QApplication>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include "altitude/ui/CAltMapsPropertySheet.h"
#include "app/ui/CMainFrame.h"
#include "app/ui/CSplashWindow.h"
#include "app/ui/PreferencesSheet.h"
#include "base/ui/ProgressDialog.h"
#include "imagery/ui/PaletteDialog.h"
#include "import/GeoTiffWriter.h"
#include "import/ui/ImportDialog.h"
#include "project/AppContext.h"
#include "project/CDibDoc.h"
#include "project/ProjectFile.h"
#include "project/ui/AltMapExtentsDlg.h"
#include "project/ui/AvailableTexturesDialog.h"
#include "project/ui/BoundaryAreaDlg.h"
#include "project/ui/ChunkPropertiesSheet.h"
#include "project/ui/FsMacroDialog.h"
#include "project/ui/FsMenuPositionDialog.h"
#include "project/ui/ProjectPropertiesSheet.h"
#include "DemoProject.h"
#include "support/ScriptedPlatform.h"
#include "support/WindowGallery.h"
#include "wizards/ui/PhotoWizard.h"
#include "wizards/ui/SynthWizard.h"

namespace {

const QString kProgram = QStringLiteral("orvane");

void expectNoFaults(const QStringList& faults)
{
    if (!faults.isEmpty())
        QFAIL(qPrintable(QStringLiteral("\n") + faults.join(QLatin1Char('\n'))));
}

} // namespace

class DialogGalleryTest : public QObject {
    Q_OBJECT

private:
    ScriptedPlatform platform_;
    std::unique_ptr<AppContext> app_;
    std::unique_ptr<CDibDoc> doc_;

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init()
    {
        app_ = std::make_unique<AppContext>(platform_);
        doc_ = std::make_unique<CDibDoc>(*app_);
        fillDemoProject(*doc_);
    }
    void cleanup()
    {
        doc_.reset();
        app_.reset();
    }

    void mainWindowWithAProject()
    {
        QTemporaryDir work;
        const QString path = work.filePath(QStringLiteral("Demo.prj"));
        QVERIFY(saveProject(*doc_, path.toStdString()));
        CMainFrame frame(*app_);
        frame.show();
        QVERIFY(frame.openProjectFile(path));
        expectNoFaults(WindowGallery::check(&frame, kProgram, QStringLiteral("main")));
    }

    void splash()
    {
        CSplashWindow splash;
        expectNoFaults(WindowGallery::check(&splash, kProgram, QStringLiteral("splash")));
    }

    void preferencesEveryPage()
    {
        PreferencesSheet sheet(*app_);
        expectNoFaults(WindowGallery::check(&sheet, kProgram, QStringLiteral("preferences"),
                                            WindowGallery::tabStates(sheet.tabs())));
    }

    void altitudeSourcesEveryPage()
    {
        CAltMapsPropertySheet sheet(*doc_);
        expectNoFaults(WindowGallery::check(&sheet, kProgram, QStringLiteral("altitude-sources"),
                                            WindowGallery::tabStates(sheet.tabs())));
    }

    void boundaryArea()
    {
        BoundaryAreaDlg dialog(*doc_);
        expectNoFaults(WindowGallery::check(&dialog, kProgram, QStringLiteral("boundary-area")));
    }

    void altitudeMapExtents()
    {
        AltMapExtentsDlg dialog(*doc_);
        expectNoFaults(WindowGallery::check(&dialog, kProgram, QStringLiteral("altitude-map-extents")));
    }

    void palette()
    {
        PaletteDialog dialog(*doc_);
        expectNoFaults(WindowGallery::check(&dialog, kProgram, QStringLiteral("palette")));
    }

    void progress()
    {
        ProgressDialog dialog("Saving Altitude Data Records...");
        dialog.SetRange(0, 100);
        dialog.SetPos(40);
        dialog.SetStatus("Record 4000 of 10000");
        expectNoFaults(WindowGallery::check(&dialog, kProgram, QStringLiteral("progress")));
    }

    void chunkPropertiesEveryPage()
    {
        ChunkPropertiesSheet sheet(*doc_, {0, 1});
        expectNoFaults(WindowGallery::check(&sheet, kProgram, QStringLiteral("chunk-properties"),
                                            WindowGallery::tabStates(sheet.tabs())));
    }

    void projectPropertiesEveryPage()
    {
        ProjectPropertiesSheet sheet(*doc_);
        expectNoFaults(WindowGallery::check(&sheet, kProgram, QStringLiteral("project-properties"),
                                            WindowGallery::tabStates(sheet.tabs())));
    }

    void fsMenuPosition()
    {
        FsMenuPositionDialog dialog(*doc_);
        expectNoFaults(WindowGallery::check(&dialog, kProgram, QStringLiteral("fs-menu-position")));
    }

    void fsMacro()
    {
        FsMacroDialog dialog(*doc_);
        expectNoFaults(WindowGallery::check(&dialog, kProgram, QStringLiteral("fs-macro")));
    }

    void availableTextures()
    {
        AvailableTexturesDialog dialog(*app_);
        expectNoFaults(WindowGallery::check(&dialog, kProgram, QStringLiteral("available-textures")));
    }

    void synthWizardEveryPage()
    {
        CDibDoc fresh(*app_);
        SynthWizardServices services;
        services.altitudeSources = [](QWidget*, CDibDoc&) {};
        SynthWizard wizard(fresh, services);
        QList<QPair<QString, std::function<void()>>> pages;
        for (int id : {SynthWizard::Page1, SynthWizard::Page2, SynthWizard::Page3, SynthWizard::Page4})
            pages.append({QStringLiteral("page%1").arg(id + 1), [&wizard, id] {
                              wizard.setStartId(id);
                              wizard.restart();
                          }});
        expectNoFaults(WindowGallery::check(&wizard, kProgram, QStringLiteral("synth-wizard"), pages));
    }

    void photoWizardEveryPage()
    {
        CDibDoc fresh(*app_);
        PhotoWizard wizard(fresh, {[](QWidget*, CDibDoc&) {}, {}});
        QList<QPair<QString, std::function<void()>>> pages;
        for (int id : {PhotoWizard::Page1, PhotoWizard::Page2, PhotoWizard::Page3, PhotoWizard::Page4})
            pages.append({QStringLiteral("page%1").arg(id + 1), [&wizard, id] {
                              wizard.setStartId(id);
                              wizard.restart();
                          }});
        expectNoFaults(WindowGallery::check(&wizard, kProgram, QStringLiteral("photo-wizard"), pages));
    }

    void importPicture()
    {
        QTemporaryDir dir;
        const std::string path = dir.filePath(QStringLiteral("aerial-photo.tif")).toStdString();
        RgbImage image(300, 200);
        for (std::size_t i = 0; i < image.pixels.size(); ++i)
            image.pixels[i] = static_cast<std::uint8_t>(i * 7 % 251);
        std::string error;
        QVERIFY2(writeGeoTiff(path, image, 32633, {480000, 25, 0, 5000000, 0, -25}, error), error.c_str());
        const std::optional<RasterInfo> info = probeRaster(path, error);
        QVERIFY2(info, error.c_str());
        ImportDialog dialog(platform_, path, *info, std::string());
        expectNoFaults(WindowGallery::check(&dialog, kProgram, QStringLiteral("import-picture")));
    }
};

QTEST_MAIN(DialogGalleryTest)
#include "DialogGalleryTest.moc"
