// The PhotoReal wizard's extents page from its minimum size up (the build also runs this program
// at a scale factor of 2): nothing is cut off or covered, the preview keeps the bitmap's shape and
// the corner buttons sit at the picture's corners.

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include <memory>

#include "base/PathUtil.h"
#include "imagery/ShippedFiles.h"
#include "project/AppContext.h"
#include "project/CDibDoc.h"
#include "support/ScriptedPlatform.h"
#include "support/TempDir.h"
#include "wizards/WizardTestFiles.h"
#include "wizards/ui/PhotoPreviewFrame.h"
#include "wizards/ui/PhotoWizard.h"
#include "wizards/ui/PhotoWizardBitmapPage.h"
#include "wizards/ui/PhotoWizardExtentsPage.h"

namespace {

QRect inPage(QWidget* widget, QWidget* page)
{
    return QRect(widget->mapTo(page, QPoint(0, 0)), widget->size());
}

} // namespace

class PhotoWizardLayoutTest : public QObject {
    Q_OBJECT

private:
    ScriptedPlatform platform;
    std::unique_ptr<TempDir> dir;
    std::unique_ptr<AppContext> app;

private slots:
    void initTestCase()
    {
        dir = std::make_unique<TempDir>();
        QVERIFY(writeShippedFiles(dir->str()));
        app = std::make_unique<AppContext>(platform);
        app->settings.applicationPath = dir->str();
    }

    void extentsPageFitsFromItsMinimumSizeUp()
    {
        // A bitmap twice as wide as high: the preview must not stretch it to its frame.
        const std::string bitmap = dir->file("wide.bmp");
        WizardTestFiles::writeBitmap(bitmap, 2048, 1024, WizardTestFiles::chunkCode);
        CDibDoc doc(*app);
        PhotoWizard wizard(doc, {[](QWidget*, CDibDoc&) {}, {}});
        wizard.show();
        QVERIFY(QTest::qWaitForWindowExposed(&wizard));
        platform.fileAnswers.push_back(bitmap);
        wizard.page1()->browseButton()->click();
        QVERIFY2(platform.messages.empty(), platform.messages.empty() ? "" : platform.messages[0].text.c_str());
        wizard.button(QWizard::NextButton)->click();
        PhotoWizardExtentsPage* page = wizard.page2();
        QCOMPARE(wizard.currentPage(), page);

        const QSize minimum = wizard.minimumSizeHint().expandedTo(wizard.minimumSize());
        for (const QSize& size : {minimum, wizard.sizeHint(), QSize(minimum.width() + 500, minimum.height() + 400)}) {
            wizard.resize(size);
            QTRY_COMPARE_WITH_TIMEOUT(wizard.size(), size.expandedTo(wizard.minimumSize()), 10000);
            QCoreApplication::processEvents();
            const QString at = QString("at %1 x %2").arg(wizard.width()).arg(wizard.height());

            // Every control lies inside the page, and no two of the page's main parts overlap.
            const QRect pageRect = page->rect();
            QList<QWidget*> controls;
            for (QWidget* w : page->findChildren<QWidget*>())
                if (w->isVisible() && (qobject_cast<QLineEdit*>(w) || qobject_cast<QCheckBox*>(w) ||
                                       qobject_cast<QRadioButton*>(w) || qobject_cast<QLabel*>(w) ||
                                       qobject_cast<PhotoPreviewFrame*>(w)))
                    controls << w;
            for (QWidget* w : controls)
                QVERIFY2(pageRect.contains(inPage(w, page)), qPrintable(w->objectName() + " cut off " + at));
            QLabel* explanation = page->explanation();
            QVERIFY2(!inPage(explanation, page).intersects(inPage(page->preview(), page)),
                     qPrintable("preview covers the explanation " + at));
            QVERIFY2(explanation->height() >= explanation->heightForWidth(explanation->width()),
                     qPrintable("explanation cut short " + at));
            for (QLineEdit* edit : {page->fields()->maxLat(), page->fields()->minLat(), page->fields()->maxLon(), page->fields()->minLon(),
                                    page->fields()->horizontal(), page->fields()->vertical()}) {
                QVERIFY2(!inPage(edit, page).intersects(inPage(page->preview(), page)),
                         qPrintable(edit->objectName() + " under the preview " + at));
                QVERIFY2(edit->width() >= edit->fontMetrics().horizontalAdvance("0000.00"),
                         qPrintable(edit->objectName() + " too narrow " + at));
            }

            // The picture keeps the bitmap's 2:1 shape, and each corner button touches its corner.
            const QRect picture = page->preview()->pictureRect();
            QVERIFY2(qAbs(picture.width() - 2 * picture.height()) <= 2, qPrintable("picture stretched " + at));
            const QRect nw = page->cornerButton(PhotoExtentsModel::NorthWest)->geometry();
            const QRect ne = page->cornerButton(PhotoExtentsModel::NorthEast)->geometry();
            const QRect sw = page->cornerButton(PhotoExtentsModel::SouthWest)->geometry();
            const QRect se = page->cornerButton(PhotoExtentsModel::SouthEast)->geometry();
            QCOMPARE(nw.bottomRight(), picture.topLeft() - QPoint(1, 1));
            QCOMPARE(ne.bottomLeft(), picture.topRight() + QPoint(1, -1));
            QCOMPARE(sw.topRight(), picture.bottomLeft() + QPoint(-1, 1));
            QCOMPARE(se.topLeft(), picture.bottomRight() + QPoint(1, 1));
            for (const QRect& corner : {nw, ne, sw, se})
                QVERIFY2(page->preview()->rect().contains(corner), qPrintable("corner button outside " + at));
        }
        // The corner buttons still choose the reference corner.
        QTest::mouseClick(page->cornerButton(PhotoExtentsModel::NorthEast), Qt::LeftButton);
        QCOMPARE(page->model().corner, int(PhotoExtentsModel::NorthEast));
    }
};

QTEST_MAIN(PhotoWizardLayoutTest)
#include "PhotoWizardLayoutTest.moc"
