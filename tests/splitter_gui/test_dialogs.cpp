#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

#include "GuiTestSupport.h"
#include "ProjectDetails.h"
#include "ui/CatgenInstructionsDialog.h"
#include "ui/ScasmResultsDialog.h"
#include "ui/ProjectDetailsDialog.h"

class TestDialogs : public QObject {
  Q_OBJECT

private slots:
  void projectDetailsUndoAndLimits() {
    TestSplitPlatform platform;
    ProjectDetails offered{"Scenery1", {"NECS", "1YRE", "1", "0"}, {true, true, false, false}};
    onModal<ProjectDetailsDialog>([](ProjectDetailsDialog* d) {
      QCOMPARE(d->windowTitle(), QString("Enter project details"));
      QCOMPARE(d->LibObjNameBox->maxLength(), 32);
      QCOMPARE(d->LibIdBox[3]->maxLength(), 4);
      QVERIFY(d->QT[0]->toolTip().endsWith("Default: Checked"));
      QVERIFY(d->QT[3]->toolTip().endsWith("Default: Unchecked"));
      d->LibObjNameBox->setText("Other");
      d->QT[0]->setChecked(false);
      d->LibIdUndo->click();  // back to what was shown
      QCOMPARE(d->LibObjNameBox->text(), QString("Scenery1"));
      QVERIFY(d->QT[0]->isChecked());
      d->LibIdBox[1]->setText("ABCDEFG");
      d->reject();  // no Cancel: whatever stands in the boxes is used
    });
    platform.editProjectDetails(offered);
    QCOMPARE(offered.ids[1], std::string("ABCD"));
    QCOMPARE(offered.objectName, std::string("Scenery1"));
  }

  void scasmResultsStopAndContinue() {
    TestSplitPlatform platform;
    bool contEnabled = false;
    QString memo;
    onModal<ScasmResultsDialog>([&](ScasmResultsDialog* r) {
      contEnabled = r->Cont->isEnabled();
      memo = r->ScasmResults->toPlainText();
      QVERIFY(r->ScasmResults->isReadOnly());
      QCOMPARE(r->minimumSize(), r->maximumSize());
      r->Cont->click();
    });
    QVERIFY(platform.showScasmResults({"a", "b"}, true));
    QVERIFY(contEnabled);
    QCOMPARE(memo, QString("a\nb"));

    onModal<ScasmResultsDialog>([&](ScasmResultsDialog* r) {
      contEnabled = r->Cont->isEnabled();
      memo = r->ScasmResults->toPlainText();
      r->Stp->click();
    });
    QVERIFY(!platform.showScasmResults({}, false));
    QVERIFY(!contEnabled);
    QCOMPARE(memo, QString());
    QVERIFY(platform.scasmResultsDialog()->Cont->isEnabled());

    onModal<ScasmResultsDialog>([](ScasmResultsDialog* r) { r->reject(); });  // any other close stops
    QVERIFY(!platform.showScasmResults({}, true));
  }

  void catgenInstructionsHideTheMainWindow() {
    TestSplitPlatform platform;
    QWidget main;
    platform.setMainWindow(&main);
    main.show();
    QStringList labels;
    bool mainVisible = true;
    onModal<CatgenInstructionsDialog>([&](CatgenInstructionsDialog* g) {
      QCOMPARE(g->windowTitle(), QString("Catgen Instructions"));
      for (QLabel* l : g->Label) labels << l->text();
      mainVisible = main.isVisible();
      QCOMPARE(g->minimumSize(), g->maximumSize());
      g->Button1->click();
    });
    platform.showCatgenInstructions({"1", "2", "3", "4", "5", "6"});
    QCOMPARE(labels, QStringList({"1", "2", "3", "4", "5", "6"}));
    QVERIFY(!mainVisible);
    QVERIFY(main.isVisible());
    QVERIFY(!platform.catgenDialog()->isVisible());
  }

  void filtersAndTexts() {
    // A description that names its masks already is not given them twice.
    QCOMPARE(QtSplitPlatform::nameFilters("Orvane Scasm Files (*.sca)|*.SCA|Scasm.exe |SCASM.EXE"),
             QStringList({"Orvane Scasm Files (*.sca)", "Scasm.exe (SCASM.EXE)"}));
    QCOMPARE(QtSplitPlatform::nameFilters("Runway Data Files (*.rwy)|*.rwy"), QStringList({"Runway Data Files (*.rwy)"}));
    QCOMPARE(QtSplitPlatform::nameFilters("Text (*.txt)|*.txt;*.log|Field_A.bgl |Field_A.bgl"),
             QStringList({"Text (*.txt) (*.txt *.log)", "Field_A.bgl (Field_A.bgl)"}));
    QCOMPARE(QtSplitPlatform::displayText("a\r\rb\r"), QString("a\n\nb\n"));
  }
};

QTEST_MAIN(TestDialogs)
#include "test_dialogs.moc"
