#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTabWidget>
#include <QtTest>

#include "GuiTestSupport.h"
#include "IniFile.h"
#include "ui/RunwayDialog.h"

class TestRunwayDialog : public QObject {
  Q_OBJECT

private:
  std::unique_ptr<TestSplitPlatform> owner;
  TestSplitPlatform* p = nullptr;
  RunwayDialog* form = nullptr;

  void showActive() {
    form->show();
    QApplication::setActiveWindow(form);
    QVERIFY(QTest::qWaitForWindowActive(form, kGuiWaitMs));
  }
  /// Types into a box and leaves it with Tab.
  void typeAndLeave(QLineEdit* edit, const QString& text) {
    for (int i = 0; i < form->Page->count(); ++i)
      if (form->Page->widget(i)->isAncestorOf(edit)) form->Page->setCurrentIndex(i);
    edit->setFocus(Qt::TabFocusReason);
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Tab);
  }
  QStringList tabTexts() const {
    QStringList t;
    for (int i = 0; i < form->Page->count(); ++i) t << form->Page->tabText(i);
    return t;
  }

private slots:
  void init() {
    owner = std::make_unique<TestSplitPlatform>();
    p = owner.get();
    form = new RunwayDialog(*p);
  }
  void cleanup() {
    delete form;
    form = nullptr;
    owner.reset();
  }

  void showingStartsFromABlankRunway() {
    form->CoNs->setCurrentIndex(1);
    form->RefName->setText("old");
    form->box(RunwayModel::RwAlt)->setText("99");
    form->Page->setCurrentIndex(2);
    showActive();
    QCOMPARE(form->windowTitle(), QString("Runway Details"));
    QCOMPARE(form->RefName->text(), QString());
    QCOMPARE(form->CoNs->currentIndex(), 1);  // keeps its last choice
    QCOMPARE(form->CoEw->currentText(), QString("W"));
    for (int b = 0; b < RunwayModel::BoxCount; ++b) QCOMPARE(form->box(static_cast<RunwayModel::Box>(b))->text(), QString("0"));
    QCOMPARE(form->RwId_A->text(), QString("1"));
    QCOMPARE(form->Page->currentIndex(), 0);
    QCOMPARE(tabTexts(), QStringList({"Runway General", "Common Markings && Lights", "Runway 1 specific",
                                      "Runway 19 specific"}));
    QVERIFY(!form->nearEnd.reil->isEnabled());
    QVERIFY(!form->farEnd.touchdown->isEnabled());
    QCOMPARE(form->RwSurface->count(), 10);
    QCOMPARE(form->nearEnd.approach->itemText(10), QString("CALVERT2"));
    QCOMPARE(form->farEnd.vasiType->itemText(10), QString("Vasi pulsating"));
    QCOMPARE(form->nearEnd.strobes->count(), 16);
    QCOMPARE(form->RwId_B->count(), 4);
    QCOMPARE(form->box(RunwayModel::RwAlt)->toolTip(), QString("Runway altitude in metres\nFloating point. eg 16.5"));
    QCOMPARE(form->SaveRwy->toolTip(), QString("Save runway settings"));
  }

  void shownFixedInTheScreenCentreWhereverTheMainWindowIs() {
    QWidget main;
    main.setGeometry(0, 0, 200, 100);
    main.show();
    RunwayDialog dialog(*p, &main);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog, kGuiWaitMs));
    const QPoint centre = dialog.screen()->availableGeometry().center();
    // The window frame may be measured only after the first showing: a few pixels either way.
    QVERIFY((dialog.frameGeometry().center() - centre).manhattanLength() <= 10);
    QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
  }

  void keyFiltersBeepAndDropRefusedKeys() {
    showActive();
    QLineEdit* length = form->box(RunwayModel::RwLength);
    length->setFocus();
    length->clear();
    QTest::keyClicks(length, "a1.5x");
    QCOMPARE(length->text(), QString("15"));
    QCOMPARE(p->beeps, 3);
    QLineEdit* alt = form->box(RunwayModel::RwAlt);
    alt->setFocus();
    alt->clear();
    QTest::keyClicks(alt, "1,7.5");
    QCOMPARE(alt->text(), QString("17.5"));
    QCOMPARE(p->beeps, 4);
    QTest::keyClick(alt, Qt::Key_Backspace);
    QCOMPARE(alt->text(), QString("17."));
    QCOMPARE(p->beeps, 4);
  }

  void leavingABadBoxWarnsAndKeepsTheFocus() {
    showActive();
    QLineEdit* alt = form->box(RunwayModel::RwAlt);
    typeAndLeave(alt, "");
    QTRY_COMPARE_WITH_TIMEOUT(p->messages.size(), size_t(1), kGuiWaitMs);
    QCOMPARE(p->messages[0].text, std::string("Altitude must be zero or floating point value\r\r(eg. 17.5)"));
    QCOMPARE(p->messages[0].type, MessageType::Warning);
    QTRY_VERIFY_WITH_TIMEOUT(alt->hasFocus(), kGuiWaitMs);
    QCOMPARE(p->beeps, 1);

    typeAndLeave(alt, "1.2.3");
    QTRY_COMPARE_WITH_TIMEOUT(p->messages.size(), size_t(2), kGuiWaitMs);
    QTRY_VERIFY_WITH_TIMEOUT(alt->hasFocus(), kGuiWaitMs);

    typeAndLeave(alt, "17.5");
    // The check runs as the focus leaves: once it has left, a warning would have been shown.
    QTRY_VERIFY_WITH_TIMEOUT(!alt->hasFocus(), kGuiWaitMs);
    QCOMPARE(p->messages.size(), size_t(2));
  }

  void runwayNumberSetsEndCaptionsOrIsRefused_data() {
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("nearEnd");
    QTest::addColumn<QString>("farEnd");
    QTest::newRow("27") << "27" << "27" << "9";
    QTest::newRow("9") << "9" << "9" << "27";
    QTest::newRow("36") << "36" << "36" << "18";
    QTest::newRow("0") << "0" << "" << "";
    QTest::newRow("37") << "37" << "" << "";
    QTest::newRow("empty") << "" << "" << "";
  }
  void runwayNumberSetsEndCaptionsOrIsRefused() {
    QFETCH(QString, number);
    QFETCH(QString, nearEnd);
    QFETCH(QString, farEnd);
    showActive();
    typeAndLeave(form->RwId_A, number);
    if (nearEnd.isEmpty()) {
      QTRY_COMPARE_WITH_TIMEOUT(p->messages.size(), size_t(1), kGuiWaitMs);
      QCOMPARE(p->messages[0].text, std::string("Runway ID must be a number between 1 and 36"));
      QTRY_VERIFY_WITH_TIMEOUT(form->RwId_A->hasFocus(), kGuiWaitMs);
      QCOMPARE(form->Page->tabText(2), QString("Runway 1 specific"));
      return;
    }
    QTRY_COMPARE_WITH_TIMEOUT(form->Page->tabText(2), "Runway " + nearEnd + " specific", kGuiWaitMs);
    QCOMPARE(form->Page->tabText(3), "Runway " + farEnd + " specific");
    QCOMPARE(form->markings[RunwayModel::ClosedNear]->text(), "Runway " + nearEnd + " Closed");
    QCOMPARE(form->markings[RunwayModel::ClosedFar]->text(), "Runway " + farEnd + " Closed");
    QCOMPARE(form->markings[RunwayModel::StolNear]->text(), "Runway " + nearEnd + " STOL");
    QCOMPARE(form->markings[RunwayModel::StolFar]->text(), "Runway " + farEnd + " STOL");
    QVERIFY(p->messages.empty());
  }

  void dependentControlsFollowTheirBoxes() {
    showActive();
    QRadioButton* high = qobject_cast<QRadioButton*>(form->RwEdgeLights->button(2));
    QVERIFY(!high->isEnabled());
    form->RwEnableLights->setChecked(true);
    QVERIFY(high->isEnabled());
    QVERIFY(form->RwRedEnds->isEnabled());
    form->nearEnd.thresholdEnable->setChecked(true);
    QVERIFY(form->nearEnd.reil->isEnabled());
    QVERIFY(!form->farEnd.reil->isEnabled());
    form->nearEnd.reil->setChecked(true);
    form->nearEnd.thresholdEnable->setChecked(false);  // REIL now disabled and not counted
    QVERIFY(!form->nearEnd.reil->isEnabled());
    for (const std::string& line : form->model().okLines()) QVERIFY(line.rfind("\tThrLightsN", 0) != 0);
    form->nearEnd.thresholdEnable->setChecked(true);
    const auto withReil = form->model().okLines();
    QVERIFY(std::find(withReil.begin(), withReil.end(), "\tThrLightsN 05") != withReil.end());
    form->EnableIdDuplicate->setChecked(true);
    QVERIFY(form->markings[RunwayModel::IdNumbers]->isChecked());
    form->markings[RunwayModel::IdNumbers]->setChecked(false);
    QVERIFY(!form->EnableIdDuplicate->isChecked());
  }

  void okAddsTheRunwayLines() {
    p->answers.clear();
    onModal<RunwayDialog>([](RunwayDialog* dialog) {
      dialog->markings[RunwayModel::EdgeLine]->setChecked(true);
      dialog->markings[RunwayModel::CentreLine]->setChecked(true);
      dialog->markings[RunwayModel::ClosedFar]->setChecked(true);
      dialog->RwEnableLights->setChecked(true);
      dialog->RwEdgeLights->button(2)->setChecked(true);
      dialog->box(RunwayModel::RwVasiSlopeN)->setText("4.5");
      dialog->nearEnd.vasiType->setCurrentIndex(10);
      dialog->nearEnd.approach->setCurrentIndex(10);
      dialog->nearEnd.reil->setChecked(true);  // disabled: threshold lights off
      dialog->RwOk->click();
    });
    IniFile config;
    const auto lines = p->addRunway(config);
    QVERIFY(lines.has_value());
    const std::vector<std::string> expected = {"", "\t;Runway name: ", "\tRunway( N0:0:0.0 W0:0:0.0", "\tAltitude 0",
                                               "\tHeading 0", "\tLength 0", "\tWidth 0", "\tID 1", "\tSurface 0",
                                               "\tMARKERS 2011", "\tLIGHTS  03", "\tVasiSlopeN 4.5",
                                               "\tVasiBarsN A", "\tAprLN 10", "\t)", ""};
    QCOMPARE(*lines, expected);
  }

  void defaultsAndCancel() {
    onModal<RunwayDialog>([](RunwayDialog* dialog) { dialog->RwOk->click(); });
    IniFile config;
    auto lines = p->addRunway(config);
    QVERIFY(lines.has_value());
    QCOMPARE(*lines, RunwayModel().okLines());
    onModal<RunwayDialog>([](RunwayDialog* dialog) { dialog->RwCancel->click(); });
    QVERIFY(!p->addRunway(config).has_value());
  }

  void okRefusesALoadedBadBox() {
    showActive();
    form->box(RunwayModel::RwVasiSpacingF)->setText("7x");  // as a hand-edited runway file could hold
    form->RwOk->click();
    QVERIFY(form->isVisible());
    QCOMPARE(p->messages.back().text, std::string("Vasi element spacing must be zero or integer value\r\r(eg. 76)"));
    QCOMPARE(form->Page->currentWidget(), form->farEnd.page);
  }

  void saveAndLoadRestoreEveryControlAndCaption() {
    GuiTestDir dir;
    IniFile config(dir / "OVSPLIT.cfg");
    form->setConfig(&config);
    showActive();
    form->RefName->setText("Main");
    form->CoNs->setCurrentIndex(1);
    form->CoEw->setCurrentIndex(0);
    for (int b = 0; b < RunwayModel::BoxCount; ++b)
      form->box(static_cast<RunwayModel::Box>(b))->setText(QString::number(b + 1));
    form->RwId_A->setText("27");
    form->RwId_B->setCurrentIndex(2);
    form->RwSurface->setCurrentIndex(5);
    form->markings[RunwayModel::Touchdown]->setChecked(true);
    form->markings[RunwayModel::StolFar]->setChecked(true);
    form->RwEnableLights->setChecked(true);
    form->RwEdgeLights->button(1)->setChecked(true);
    form->RwCentreLights->button(3)->setChecked(true);
    form->RwRedEnds->setChecked(true);
    form->farEnd.thresholdEnable->setChecked(true);
    form->farEnd.touchdown->setChecked(true);
    form->nearEnd.strobes->setCurrentIndex(12);
    form->farEnd.vasiSide->setCurrentIndex(1);
    form->nearEnd.approach->setCurrentIndex(4);
    const RunwayModel saved = form->model();

    p->saveAnswers = {dir / "field.rwy"};
    form->SaveRwy->click();
    QCOMPARE(p->saveRequests.back().filter, std::string("Runway Data Files (*.rwy)|*.rwy"));
    QVERIFY(config.readString("Recent", "Runway").empty());  // saving does not touch it

    form->hide();
    showActive();  // blank again
    QCOMPARE(form->RefName->text(), QString());
    p->openAnswers = {dir / "field.rwy"};
    form->LoadRwy->click();
    QCOMPARE(p->openRequests.back().title, std::string("Open runway file"));
    const RunwayModel loaded = form->model();
    QCOMPARE(loaded.okLines(), saved.okLines());
    QCOMPARE(loaded.boxes, saved.boxes);
    QCOMPARE(loaded.markings, saved.markings);
    QVERIFY(form->farEnd.touchdown->isEnabled());
    QVERIFY(form->farEnd.touchdown->isChecked());
    QCOMPARE(form->Page->tabText(3), QString("Runway 9 specific"));
    QCOMPARE(form->markings[RunwayModel::StolFar]->text(), QString("Runway 9 STOL"));
    QCOMPARE(config.readString("Recent", "Runway"), dir / "field.rwy");

    // The next load starts at the remembered file.
    p->openAnswers = {std::nullopt};
    form->LoadRwy->click();
    QCOMPARE(p->openRequests.back().initialDir, dir.withSlash());
    QCOMPARE(p->openRequests.back().fileName, std::string("field.rwy"));
  }

  void unreadableRunwayFileIsReported() {
    GuiTestDir dir;
    showActive();
    p->openAnswers = {dir / "missing.rwy"};
    form->LoadRwy->click();
    QCOMPARE(p->messages.size(), size_t(1));
    QCOMPARE(p->messages[0].type, MessageType::Error);
    p->saveAnswers = {dir / "no-folder/x.rwy"};
    form->SaveRwy->click();
    QCOMPARE(p->messages.size(), size_t(2));
    QCOMPARE(p->messages[1].type, MessageType::Error);
  }
};

QTEST_MAIN(TestRunwayDialog)
#include "test_runway_dialog.moc"
