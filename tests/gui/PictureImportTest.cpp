// Page 1 of the PhotoReal wizard with a true-colour GeoTIFF: the import dialog opens, shows the
// picture before and after, converts it beside the source, and page 2 starts with its extents.

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QWizard>

#include <cmath>
#include <filesystem>
#include <functional>

#include "import/GeoTiffWriter.h"
#include "import/RasterImport.h"
#include "import/ui/ImportDialog.h"
#include "output/Coordinates.h"
#include "project/AppContext.h"
#include "project/CDibDoc.h"
#include "support/ScriptedPlatform.h"
#include "support/TempDir.h"
#include "wizards/ui/PhotoWizard.h"
#include "wizards/ui/PhotoWizardBitmapPage.h"
#include "wizards/ui/PhotoWizardExtentsPage.h"

namespace {

constexpr int kTimeout = 60000;

// A 600 x 400 true-colour picture in UTM zone 33N, 25 m pixels.
bool writeUtmPicture(const std::string& path)
{
    RgbImage image(600, 400);
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            std::uint8_t* p = image.at(x, y);
            p[0] = static_cast<std::uint8_t>(128 + 100 * std::sin(x * 0.05));
            p[1] = static_cast<std::uint8_t>(y * 255 / image.height);
            p[2] = static_cast<std::uint8_t>((x + y) % 256);
        }
    std::string error;
    return writeGeoTiff(path, image, 32633, {480000, 25, 0, 5000000, 0, -25}, error);
}

// Runs `drive` on the import dialog as soon as it is open (the dialog's exec blocks the caller).
void whenDialogOpens(std::function<void(ImportDialog*)> drive)
{
    auto* timer = new QTimer;
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, [timer, drive] {
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* dialog = qobject_cast<ImportDialog*>(widget); dialog && dialog->isVisible()) {
                timer->stop();
                timer->deleteLater();
                drive(dialog);
                return;
            }
    });
    timer->start();
}

} // namespace

class PictureImportTest : public QObject {
    Q_OBJECT

private slots:
    void geoTiffThroughTheDialogFillsPageTwo();
    void cancelAndRefusalLeaveNoBitmap();
};

void PictureImportTest::geoTiffThroughTheDialogFillsPageTwo()
{
    TempDir dir;
    const std::string tif = dir.file("photo.tif");
    QVERIFY(writeUtmPicture(tif));
    ScriptedPlatform platform;
    AppContext app(platform);
    app.settings.coordinateFormat = 0;
    CDibDoc doc(app);
    PhotoWizard wizard(doc, {[](QWidget*, CDibDoc&) {}, {}});
    wizard.show();

    bool driven = false, sawBefore = false, sawAfter = false;
    whenDialogOpens([&](ImportDialog* dialog) {
        sawBefore = dialog->beforeLabel()->pixmap().width() > 0;
        QVERIFY(dialog->resolutionButton()->isEnabled());   // georeferenced: a resolution is possible
        dialog->ditherBox()->click();
        dialog->previewButton()->click();
        sawAfter = !dialog->afterLabel()->pixmap().isNull();
        driven = true;
        dialog->convertButton()->click();
    });
    platform.fileAnswers.push_back(tif);
    wizard.page1()->browseButton()->click();
    QTRY_VERIFY_WITH_TIMEOUT(driven, kTimeout);
    QVERIFY(sawBefore);
    QVERIFY(sawAfter);

    // The converted bitmap lies beside the picture and is the project bitmap.
    const std::string bmp = dir.file("photo.bmp");
    QCOMPARE(wizard.page1()->pathEdit()->text(), QString::fromStdString(bmp));
    QVERIFY(doc.projectBitmap);
    QCOMPARE(doc.bitmapWidth % 1024, 0);
    QCOMPARE(doc.bitmapHeight % 1024, 0);

    // What the dialog wrote is what the import makes of the same options, byte for byte.
    ImportOptions options;
    options.dither = true;
    std::string error;
    const auto direct = importRaster(tif, options, nullptr, error);
    QVERIFY2(direct, error.c_str());
    QVERIFY(writeImportedBitmap(*direct, dir.file("direct.bmp"), error));
    QCOMPARE(dir.read("photo.bmp"), dir.read("direct.bmp"));

    // Page 2 starts with the picture's extents and the resolutions they give; they stay editable.
    wizard.button(QWizard::NextButton)->click();
    PhotoWizardExtentsPage* p2 = wizard.page2();
    QCOMPARE(wizard.currentPage(), p2);
    QCOMPARE(p2->fields()->maxLat()->text(), QString::fromStdString(formatCoordinate(direct->extents->north, 0)));
    QCOMPARE(p2->fields()->minLat()->text(), QString::fromStdString(formatCoordinate(direct->extents->south, 0)));
    QCOMPARE(p2->fields()->maxLon()->text(), QString::fromStdString(formatCoordinate(direct->extents->east, 0)));
    QCOMPARE(p2->fields()->minLon()->text(), QString::fromStdString(formatCoordinate(direct->extents->west, 0)));
    QVERIFY(!p2->fields()->maxLat()->isReadOnly());
    // 15 km x 10 km on 1024 x 1024 pixels.
    QVERIFY2(p2->model().horizontal > 14 && p2->model().horizontal < 15.2, qPrintable(QString::number(p2->model().horizontal)));
    QVERIFY2(p2->model().vertical > 9.5 && p2->model().vertical < 10.1, qPrintable(QString::number(p2->model().vertical)));
    wizard.button(QWizard::NextButton)->click();
    QCOMPARE(doc.boundary.north, parseCoordinate(formatCoordinate(direct->extents->north, 0)));
}

void PictureImportTest::cancelAndRefusalLeaveNoBitmap()
{
    TempDir dir;
    const std::string tif = dir.file("photo.tif");
    QVERIFY(writeUtmPicture(tif));
    ScriptedPlatform platform;
    AppContext app(platform);
    CDibDoc doc(app);
    PhotoWizard wizard(doc, {[](QWidget*, CDibDoc&) {}, {}});
    wizard.show();

    bool driven = false;
    whenDialogOpens([&](ImportDialog* dialog) {
        // A fill colour that is not one is refused with a message, and the dialog stays.
        dialog->padButton()->click();
        dialog->padColorEdit()->setText("green");
        dialog->convertButton()->click();
        QVERIFY(dialog->isVisible());
        driven = true;
        dialog->reject();
    });
    platform.fileAnswers.push_back(tif);
    wizard.page1()->browseButton()->click();
    QTRY_VERIFY_WITH_TIMEOUT(driven, kTimeout);
    QVERIFY(!platform.messages.empty());
    QCOMPARE(platform.messages.back().text, std::string("Please give the fill colour as #RRGGBB."));
    QVERIFY(!doc.projectBitmap);
    QVERIFY(wizard.page1()->pathEdit()->text().isEmpty());
    QVERIFY(!std::filesystem::exists(dir.file("photo.bmp")));
    QVERIFY(!wizard.button(QWizard::NextButton)->isEnabled());

    // A file that is no picture: its reason is shown, no dialog opens.
    dir.write("notes.tif", std::string("just text"));
    platform.fileAnswers.push_back(dir.file("notes.tif"));
    wizard.page1()->browseButton()->click();
    QVERIFY(platform.messages.back().text.find("Cannot read notes.tif") != std::string::npos);
    QVERIFY(!doc.projectBitmap);
}

QTEST_MAIN(PictureImportTest)
#include "PictureImportTest.moc"
