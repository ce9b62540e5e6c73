#include "ui/RunwayDialog.h"

#include <algorithm>

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QTabWidget>
#include <QTimer>
#include <QToolTip>
#include <QVBoxLayout>

#include "FileText.h"
#include "IniFile.h"
#include "SplitPlatform.h"
#include "ui/QtSplitPlatform.h"

namespace {

constexpr int kHintMilliseconds = 10000;
const char* const kRunwayFilter = "Runway Data Files (*.rwy)|*.rwy";

QString hint(const char* text) { return QtSplitPlatform::displayText(text); }

QComboBox* list(QWidget* parent, const QString& name, const QStringList& items) {
  auto* combo = new QComboBox(parent);
  combo->setObjectName(name);
  combo->setEditable(false);
  combo->addItems(items);
  return combo;
}

template <std::size_t N>
QStringList itemsOf(const std::array<const char*, N>& texts) {
  QStringList items;
  for (const char* t : texts) items << QString::fromUtf8(t);
  return items;
}

QCheckBox* check(QWidget* parent, const QString& name, const QString& caption) {
  auto* box = new QCheckBox(caption, parent);
  box->setObjectName(name);
  return box;
}

}  // namespace

RunwayDialog::RunwayDialog(SplitPlatform& platform, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), platform_(platform) {
  setObjectName(QStringLiteral("RunwayDialog"));
  setWindowTitle(QStringLiteral("Runway Details"));

  Page = new QTabWidget(this);
  Page->setObjectName(QStringLiteral("Page"));
  buildGeneralTab();
  buildMarkingsTab();
  nearEnd = buildEndTab(QStringLiteral("N"), QStringLiteral("Runway 1 specific"));
  farEnd = buildEndTab(QStringLiteral("F"), QStringLiteral("Runway 19 specific"));
  nearEnd.page->setObjectName(QStringLiteral("RwNear"));
  farEnd.page->setObjectName(QStringLiteral("RwFar"));

  SaveRwy = new QPushButton(QStringLiteral("Save"), this);
  SaveRwy->setObjectName(QStringLiteral("SaveRwy"));
  SaveRwy->setToolTip(QStringLiteral("Save runway settings"));
  LoadRwy = new QPushButton(QStringLiteral("Load"), this);
  LoadRwy->setObjectName(QStringLiteral("LoadRwy"));
  LoadRwy->setToolTip(QStringLiteral("Load runway settings"));
  RwCancel = new QPushButton(QStringLiteral("Cancel"), this);
  RwCancel->setObjectName(QStringLiteral("RwCancel"));
  RwOk = new QPushButton(QStringLiteral("Ok"), this);
  RwOk->setObjectName(QStringLiteral("RwOk"));
  RwOk->setDefault(true);
  SaveRwy->installEventFilter(this);
  LoadRwy->installEventFilter(this);
  connect(SaveRwy, &QPushButton::clicked, this, &RunwayDialog::SaveRwyClick);
  connect(LoadRwy, &QPushButton::clicked, this, &RunwayDialog::LoadRwyClick);
  connect(RwCancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(RwOk, &QPushButton::clicked, this, &RunwayDialog::RwOkClick);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(SaveRwy);
  buttons->addWidget(LoadRwy);
  buttons->addStretch();
  buttons->addWidget(RwCancel);
  buttons->addWidget(RwOk);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Page, 1);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);  // a dialog border: not resizable

  setModel(RunwayModel());
}

QLineEdit* RunwayDialog::numberBox(RunwayModel::Box b, const QString& name, QWidget* parent) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(name);
  boxes_[b] = edit;
  watchBox(edit, RunwayModel::isDecimalBox(b));
  return edit;
}

void RunwayDialog::watchBox(QLineEdit* edit, bool decimal) {
  // The key filter beeps at refused keys; the validator also keeps pasted text to the same
  // characters.
  const QRegularExpression chars(decimal ? QStringLiteral("[0-9.]*") : QStringLiteral("[0-9]*"));
  edit->setValidator(new QRegularExpressionValidator(chars, edit));
  edit->setProperty("decimalBox", decimal);
  edit->installEventFilter(this);
}

void RunwayDialog::buildGeneralTab() {
  RwGen = new QWidget(Page);
  RwGen->setObjectName(QStringLiteral("RwGen"));
  auto* form = new QFormLayout(RwGen);

  RefName = new QLineEdit(RwGen);
  RefName->setObjectName(QStringLiteral("RefName"));
  form->addRow(QStringLiteral("Runway reference name:"), RefName);

  auto coordinateRow = [&](QComboBox* hemisphere, RunwayModel::Box first, const QString& prefix) {
    auto* row = new QHBoxLayout;
    row->addWidget(hemisphere);
    static const char* const parts[] = {"D", "H", "M", "S"};
    static const char* const separators[] = {":", ":", "."};
    for (int i = 0; i < 4; ++i) {
      auto* edit = numberBox(static_cast<RunwayModel::Box>(first + i), prefix + QLatin1String(parts[i]), RwGen);
      row->addWidget(edit);
      if (i < 3) row->addWidget(new QLabel(QLatin1String(separators[i]), RwGen));
    }
    return row;
  };
  CoNs = list(RwGen, QStringLiteral("CoNs"), {QStringLiteral("N"), QStringLiteral("S")});
  CoEw = list(RwGen, QStringLiteral("CoEw"), {QStringLiteral("E"), QStringLiteral("W")});
  form->addRow(QStringLiteral("Co-ordinates"), coordinateRow(CoNs, RunwayModel::CoNsD, QStringLiteral("CoNs")));
  form->addRow(QString(), coordinateRow(CoEw, RunwayModel::CoEwD, QStringLiteral("CoEw")));

  auto* alt = numberBox(RunwayModel::RwAlt, QStringLiteral("RwAlt"), RwGen);
  alt->setToolTip(hint("Runway altitude in metres\rFloating point. eg 16.5"));
  form->addRow(QStringLiteral("Altitude (metres)"), alt);
  auto* heading = numberBox(RunwayModel::RwHeading, QStringLiteral("RwHeading"), RwGen);
  heading->setToolTip(hint("True runway heading\rFloating point. eg 122.5"));
  form->addRow(QStringLiteral("True heading"), heading);
  auto* length = numberBox(RunwayModel::RwLength, QStringLiteral("RwLength"), RwGen);
  length->setToolTip(hint("Runway length in feet\rInteger. eg 2778"));
  form->addRow(QStringLiteral("Length (feet)"), length);
  auto* width = numberBox(RunwayModel::RwWidth, QStringLiteral("RwWidth"), RwGen);
  width->setToolTip(hint("Runway width in feet\rInteger. eg 76"));
  form->addRow(QStringLiteral("Width (feet)"), width);

  RwId_A = new QLineEdit(RwGen);
  RwId_A->setObjectName(QStringLiteral("RwId_A"));
  RwId_A->setToolTip(hint("Runway ID\rInteger 1 to 36. eg 12\r(\"Runway markings - ID numbers\" must be checked)"));
  watchBox(RwId_A, false);
  RwId_B = list(RwGen, QStringLiteral("RwId_B"), itemsOf(RunwayModel::kIdSuffixes));
  RwId_B->setToolTip(hint("Runway ID character\rNone, L, R, C."));
  RwId_B->installEventFilter(this);
  EnableIdDuplicate = check(RwGen, QStringLiteral("EnableIdDuplicate"), QStringLiteral("Enable Runway ID Numbers"));
  auto* idRow = new QHBoxLayout;
  idRow->addWidget(RwId_A);
  idRow->addWidget(RwId_B);
  idRow->addWidget(EnableIdDuplicate);
  form->addRow(QStringLiteral("Runway ID"), idRow);

  RwSurface = list(RwGen, QStringLiteral("RwSurface"), itemsOf(RunwayModel::kSurfaces));
  form->addRow(QStringLiteral("Runway Surface"), RwSurface);
  Page->addTab(RwGen, QStringLiteral("Runway General"));
}

void RunwayDialog::buildMarkingsTab() {
  RwMarkings = new QWidget(Page);
  RwMarkings->setObjectName(QStringLiteral("RwMarkings"));
  auto* layout = new QHBoxLayout(RwMarkings);

  auto* marks = new QGroupBox(QStringLiteral("Runway Markings"), RwMarkings);
  auto* marksLayout = new QVBoxLayout(marks);
  static const char* const names[RunwayModel::MarkingCount] = {
      "RwEdgeLine", "RwThreshold", "RwTouchdown", "RwFixedDistance", "RwCentreLine", "RwIdNumbers",
      "RwDistanceMarkers", "RwPBE", "RwCN", "RwCF", "RwSN", "RwSF"};
  static const char* const captions[RunwayModel::MarkingCount] = {
      "Edge Line", "RwThreshold", "Touch Down", "Fixed Distance", "Centre Line", "ID Numbers",
      "Distance Markers", "Pavement Beyond Edge ", "Runway 1 Closed", "Runway 19 Closed", "Runway 1 STOL",
      "Runway 19 STOL"};
  for (int m = 0; m < RunwayModel::MarkingCount; ++m) {
    markings[static_cast<std::size_t>(m)] = check(marks, QLatin1String(names[m]), QLatin1String(captions[m]));
    marksLayout->addWidget(markings[static_cast<std::size_t>(m)]);
  }
  layout->addWidget(marks);

  auto* lighting = new QGroupBox(QStringLiteral("Runway Lighting"), RwMarkings);
  auto* lightLayout = new QVBoxLayout(lighting);
  RwEnableLights = check(lighting, QStringLiteral("RwEnableLights"), QStringLiteral("Enable Lights"));
  lightLayout->addWidget(RwEnableLights);
  auto radioGroup = [&](const QString& name, const QString& caption, const QStringList& items, QWidget*& box) {
    auto* group = new QGroupBox(caption, lighting);
    group->setObjectName(name);
    auto* v = new QVBoxLayout(group);
    auto* buttons = new QButtonGroup(group);
    for (int i = 0; i < items.size(); ++i) {
      auto* radio = new QRadioButton(items[i], group);
      buttons->addButton(radio, i);
      v->addWidget(radio);
    }
    lightLayout->addWidget(group);
    box = group;
    return buttons;
  };
  RwEdgeLights = radioGroup(QStringLiteral("RwEdgeLights"), QStringLiteral("Edge Lights"),
                            {QStringLiteral("Low Intensity"), QStringLiteral("Medium Intensity"),
                             QStringLiteral("High Intensity")},
                            edgeBox_);
  RwCentreLights = radioGroup(QStringLiteral("RwCentreLights"), QStringLiteral("Centreline Lights"),
                              {QStringLiteral("None"), QStringLiteral("Low Intensity"),
                               QStringLiteral("Medium Intensity"), QStringLiteral("High Intensity")},
                              centreBox_);
  RwRedEnds = check(lighting, QStringLiteral("RwRedEnds"), QStringLiteral("Centreline Red at Ends"));
  lightLayout->addWidget(RwRedEnds);
  lightLayout->addStretch();
  layout->addWidget(lighting);

  connect(RwEnableLights, &QCheckBox::toggled, this, &RunwayDialog::updateDependants);
  // "Enable Runway ID Numbers" and the "ID Numbers" marking are one setting shown twice.
  QCheckBox* idNumbers = markings[RunwayModel::IdNumbers];
  connect(EnableIdDuplicate, &QCheckBox::toggled, this, [idNumbers](bool on) {
    if (idNumbers->isChecked() != on) idNumbers->setChecked(on);
  });
  connect(idNumbers, &QCheckBox::toggled, this, [this](bool on) {
    if (EnableIdDuplicate->isChecked() != on) EnableIdDuplicate->setChecked(on);
  });
  Page->addTab(RwMarkings, QStringLiteral("Common Markings && Lights"));
}

RunwayDialog::EndControls RunwayDialog::buildEndTab(const QString& s, const QString& caption) {
  const bool nearSide = s == QLatin1String("N");
  EndControls e;
  e.page = new QWidget(Page);
  auto* layout = new QHBoxLayout(e.page);
  auto* left = new QFormLayout;
  e.thresholdOffset = numberBox(nearSide ? RunwayModel::RwTON : RunwayModel::RwTOF,
                                QStringLiteral("RwTO") + s, e.page);
  left->addRow(QStringLiteral("Displaced Threshold (feet)"), e.thresholdOffset);
  e.extension = numberBox(nearSide ? RunwayModel::RwREN : RunwayModel::RwREF, QStringLiteral("RwRE") + s, e.page);
  left->addRow(QStringLiteral("Runway Extension (feet)"), e.extension);
  e.approach = list(e.page, QStringLiteral("RwApproach") + s, itemsOf(RunwayModel::kApproaches));
  left->addRow(QStringLiteral("Approach lighting"), e.approach);
  QStringList strobes;
  for (int i = 0; i <= 15; ++i) strobes << QString::number(i);
  e.strobes = list(e.page, QStringLiteral("RwStrobes") + s, strobes);
  left->addRow(QStringLiteral("Number of strobes"), e.strobes);
  e.thresholdEnable = check(e.page, QStringLiteral("RwThreshHoldEnable") + s, QStringLiteral("Enable threshold lights"));
  e.reil = check(e.page, QStringLiteral("RwReil") + s, QStringLiteral("REIL"));
  e.touchdown = check(e.page, QStringLiteral("RwTdzl") + s, QStringLiteral("Touchdown zone lights "));
  left->addRow(e.thresholdEnable);
  left->addRow(e.reil);
  left->addRow(e.touchdown);
  layout->addLayout(left);

  auto* vasi = new QGroupBox(QStringLiteral("VASI DETAILS"), e.page);
  auto* vf = new QFormLayout(vasi);
  e.vasiSlope = numberBox(nearSide ? RunwayModel::RwVasiSlopeN : RunwayModel::RwVasiSlopeF,
                          QStringLiteral("RwVasiSlope") + s, vasi);
  vf->addRow(QStringLiteral("Slope"), e.vasiSlope);
  e.vasiCentre = numberBox(nearSide ? RunwayModel::RwVasiCentreN : RunwayModel::RwVasiCentreF,
                           QStringLiteral("RwVasiCentre") + s, vasi);
  vf->addRow(QStringLiteral("Feet from centre line"), e.vasiCentre);
  e.vasiSide = list(vasi, QStringLiteral("RwVasiSide") + s, {QStringLiteral("L"), QStringLiteral("R")});
  vf->addRow(QStringLiteral("Side of runway"), e.vasiSide);
  e.vasiMiddle = numberBox(nearSide ? RunwayModel::RwVasiMiddleN : RunwayModel::RwVasiMiddleF,
                           QStringLiteral("RwVasiMiddle") + s, vasi);
  vf->addRow(QStringLiteral("Feet from middle"), e.vasiMiddle);
  e.vasiSpacing = numberBox(nearSide ? RunwayModel::RwVasiSpacingN : RunwayModel::RwVasiSpacingF,
                            QStringLiteral("RwVasiSpacing") + s, vasi);
  vf->addRow(QStringLiteral("Element spacing"), e.vasiSpacing);
  e.vasiType = list(vasi, QStringLiteral("RwVasiType") + s, itemsOf(RunwayModel::kVasiTypes));
  vf->addRow(QStringLiteral("Type"), e.vasiType);
  layout->addWidget(vasi);

  connect(e.thresholdEnable, &QCheckBox::toggled, this, &RunwayDialog::updateDependants);
  Page->addTab(e.page, caption);
  return e;
}

void RunwayDialog::updateDependants() {
  const bool lights = RwEnableLights->isChecked();
  edgeBox_->setEnabled(lights);
  centreBox_->setEnabled(lights);
  RwRedEnds->setEnabled(lights);
  for (EndControls* e : {&nearEnd, &farEnd}) {
    const bool on = e->thresholdEnable->isChecked();
    e->reil->setEnabled(on);
    e->touchdown->setEnabled(on);
  }
}

RunwayModel RunwayDialog::model() const {
  RunwayModel m;
  m.refName = RefName->text().toStdString();
  m.coNs = CoNs->currentIndex();
  m.coEw = CoEw->currentIndex();
  for (int b = 0; b < RunwayModel::BoxCount; ++b) m.boxes[static_cast<std::size_t>(b)] = boxes_[b]->text().toStdString();
  m.runwayId = RwId_A->text().toStdString();
  m.idSuffix = RwId_B->currentIndex();
  m.surface = RwSurface->currentIndex();
  for (int k = 0; k < RunwayModel::MarkingCount; ++k)
    m.markings[static_cast<std::size_t>(k)] = markings[static_cast<std::size_t>(k)]->isChecked();
  m.enableLights = RwEnableLights->isChecked();
  m.edgeLights = std::max(0, RwEdgeLights->checkedId());
  m.centreLights = std::max(0, RwCentreLights->checkedId());
  m.redEnds = RwRedEnds->isChecked();
  auto readEnd = [](const EndControls& c) {
    RunwayModel::End e;
    // REIL and touchdown boxes keep their check while disabled; the model counts them only
    // with threshold lights on, which is exactly when they are enabled.
    e.thresholdLights = c.thresholdEnable->isChecked();
    e.reil = c.reil->isChecked();
    e.touchdownZone = c.touchdown->isChecked();
    e.strobes = c.strobes->currentIndex();
    e.vasiSide = c.vasiSide->currentIndex();
    e.vasiType = c.vasiType->currentIndex();
    e.approach = c.approach->currentIndex();
    return e;
  };
  m.nearEnd = readEnd(nearEnd);
  m.farEnd = readEnd(farEnd);
  return m;
}

void RunwayDialog::setModel(const RunwayModel& m) {
  RefName->setText(QString::fromStdString(m.refName));
  CoNs->setCurrentIndex(m.coNs);
  CoEw->setCurrentIndex(m.coEw);
  for (int b = 0; b < RunwayModel::BoxCount; ++b) boxes_[b]->setText(QString::fromStdString(m.boxes[static_cast<std::size_t>(b)]));
  RwId_A->setText(QString::fromStdString(m.runwayId));
  RwId_B->setCurrentIndex(m.idSuffix);
  RwSurface->setCurrentIndex(m.surface);
  for (int k = 0; k < RunwayModel::MarkingCount; ++k)
    markings[static_cast<std::size_t>(k)]->setChecked(m.markings[static_cast<std::size_t>(k)]);
  RwEnableLights->setChecked(m.enableLights);
  RwEdgeLights->button(m.edgeLights)->setChecked(true);
  RwCentreLights->button(m.centreLights)->setChecked(true);
  RwRedEnds->setChecked(m.redEnds);
  auto writeEnd = [](const EndControls& c, const RunwayModel::End& e) {
    c.thresholdEnable->setChecked(e.thresholdLights);
    c.reil->setChecked(e.reil);
    c.touchdown->setChecked(e.touchdownZone);
    c.strobes->setCurrentIndex(e.strobes);
    c.vasiSide->setCurrentIndex(e.vasiSide);
    c.vasiType->setCurrentIndex(e.vasiType);
    c.approach->setCurrentIndex(e.approach);
  };
  writeEnd(nearEnd, m.nearEnd);
  writeEnd(farEnd, m.farEnd);
  updateDependants();
}

void RunwayDialog::setCaptions(const RunwayModel::EndCaptions& c) {
  Page->setTabText(Page->indexOf(nearEnd.page), QString::fromStdString(c.nearTab));
  Page->setTabText(Page->indexOf(farEnd.page), QString::fromStdString(c.farTab));
  markings[RunwayModel::ClosedNear]->setText(QString::fromStdString(c.closedNear));
  markings[RunwayModel::ClosedFar]->setText(QString::fromStdString(c.closedFar));
  markings[RunwayModel::StolNear]->setText(QString::fromStdString(c.stolNear));
  markings[RunwayModel::StolFar]->setText(QString::fromStdString(c.stolFar));
}

void RunwayDialog::showEvent(QShowEvent* event) {
  // A blank runway each time; the hemisphere lists keep their last choice.
  RunwayModel blank;
  blank.coNs = CoNs->currentIndex();
  blank.coEw = CoEw->currentIndex();
  setModel(blank);
  setCaptions(RunwayModel::initialCaptions());
  Page->setCurrentIndex(0);
  added_.clear();
  QDialog::showEvent(event);
  // Centred on the screen, not over the main window.
  if (QScreen* s = screen()) {
    QRect frame = frameGeometry();
    frame.moveCenter(s->availableGeometry().center());
    move(frame.topLeft());
  }
}

void RunwayDialog::refuse(QLineEdit* edit, const char* message) {
  platform_.beep();
  platform_.message(message, MessageType::Warning, MessageButtons::Ok);
  refocusing_ = true;
  if (QWidget* page = edit->parentWidget()) {
    // The box may be on another tab than the one now shown.
    for (int i = 0; i < Page->count(); ++i)
      if (Page->widget(i)->isAncestorOf(page) || Page->widget(i) == page) Page->setCurrentIndex(i);
  }
  edit->setFocus(Qt::OtherFocusReason);
  refocusing_ = false;
}

bool RunwayDialog::CheckNumberOnExit(RunwayModel::Box b) {
  RunwayModel m;
  m.boxes[b] = boxes_[b]->text().toStdString();
  if (m.boxValid(b)) return true;
  refuse(boxes_[b], RunwayModel::boxMessage(b));
  return false;
}

bool RunwayDialog::RwId_AExit() {
  const auto number = RunwayModel::runwayNumber(RwId_A->text().toStdString());
  if (!number) {
    refuse(RwId_A, RunwayModel::kRunwayIdMessage);
    return false;
  }
  setCaptions(RunwayModel::captionsFor(*number));
  return true;
}

bool RunwayDialog::eventFilter(QObject* watched, QEvent* event) {
  auto* edit = qobject_cast<QLineEdit*>(watched);
  switch (event->type()) {
    case QEvent::ToolTip: {
      auto* widget = qobject_cast<QWidget*>(watched);
      if (widget && !widget->toolTip().isEmpty()) {
        auto* help = static_cast<QHelpEvent*>(event);
        QToolTip::showText(help->globalPos(), widget->toolTip(), widget, QRect(), kHintMilliseconds);
        return true;
      }
      break;
    }
    case QEvent::KeyPress: {
      if (!edit) break;
      const QString text = static_cast<QKeyEvent*>(event)->text();
      if (text.isEmpty()) break;
      const QChar c = text.at(0);
      // Control characters (backspace, editing shortcuts) pass; any other refused key beeps.
      if (c.unicode() < 0x20 || c.unicode() == 0x7f) break;
      const bool decimal = edit->property("decimalBox").toBool();
      if (c.unicode() > 0x7f || !RunwayModel::acceptsChar(decimal, static_cast<char>(c.unicode()))) {
        platform_.beep();
        return true;
      }
      break;
    }
    case QEvent::FocusOut: {
      if (!edit || refocusing_) break;
      const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
      // Leaving the window (a message box, another program) is not leaving the box.
      if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason) break;
      // Checked once the focus move is over: a message box inside the move would fight it.
      QTimer::singleShot(0, this, [this, edit] {
        // Cancel must stay reachable from a box holding a bad number.
        if (!isVisible() || edit->hasFocus() || RwCancel->hasFocus()) return;
        if (edit == RwId_A) {
          RwId_AExit();
          return;
        }
        for (int b = 0; b < RunwayModel::BoxCount; ++b)
          if (boxes_[b] == edit) CheckNumberOnExit(static_cast<RunwayModel::Box>(b));
      });
      break;
    }
    default:
      break;
  }
  return QDialog::eventFilter(watched, event);
}

void RunwayDialog::RwOkClick() {
  // Loaded files bypass the key filters, so every box is checked once more here: a text that
  // does not parse would otherwise be written into the library object as it stands.
  for (int b = 0; b < RunwayModel::BoxCount; ++b)
    if (!CheckNumberOnExit(static_cast<RunwayModel::Box>(b))) return;
  if (!RwId_AExit()) return;
  added_ = model().okLines();
  accept();
}

void RunwayDialog::SaveRwyClick() {
  FileDialogRequest request;
  request.title = "Save runway file";
  request.filter = kRunwayFilter;
  request.defaultExt = "rwy";
  request.pathMustExist = true;
  request.overwritePrompt = true;
  const auto path = platform_.saveFile(request);
  if (!path) return;
  IniFile file(*path, FileText::kMaxRunwayBytes);  // other sections and lines of an existing file are kept
  if (!file.loadError().empty()) {
    platform_.message("Could not write the runway file\r\r" + *path + "\r\r" + file.loadError(), MessageType::Error,
                      MessageButtons::Ok);
    return;
  }
  file.setAutoSave(false);
  model().save(file);
  if (!file.save())
    platform_.message("Could not write the runway file\r\r" + *path, MessageType::Error, MessageButtons::Ok);
}

void RunwayDialog::LoadRwyClick() {
  FileDialogRequest request;
  request.title = "Open runway file";
  request.filter = kRunwayFilter;
  request.defaultExt = "rwy";
  request.pathMustExist = true;
  request.fileMustExist = true;
  const std::string recent = config_ ? config_->readString("Recent", "Runway") : std::string();
  if (!recent.empty()) {
    if (FileText::fileExists(recent)) {
      request.initialDir = FileText::folderOf(recent);
      request.fileName = FileText::fileNameOf(recent);
    } else if (FileText::folderExists(FileText::folderOf(recent))) {
      request.initialDir = FileText::folderOf(recent);
    }
  }
  const auto path = platform_.openFile(request);
  if (!path) return;
  if (config_) config_->writeString("Recent", "Runway", *path);

  std::string data, error;
  if (!FileText::readFile(*path, data, error, FileText::kMaxRunwayBytes)) {
    platform_.message("Could not read the runway file\r\r" + *path + "\r\r" + error, MessageType::Error,
                      MessageButtons::Ok);
    return;
  }
  IniFile file;
  file.parse(data);
  RunwayModel loaded;
  loaded.load(file);
  setModel(loaded);
  RwId_AExit();
}
