#pragma once

#include <QDialog>
#include <array>
#include <string>
#include <vector>

#include "RunwayModel.h"

class IniFile;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QWidget;
class SplitPlatform;

/// "Runway Details": one runway, field by field. Ok adds its SCASM Runway command lines (see
/// addedLines()); Save and Load keep all fields in a runway file.
class RunwayDialog : public QDialog {
  Q_OBJECT
public:
  /// Controls of one runway end.
  struct EndControls {
    QWidget* page = nullptr;
    QLineEdit* thresholdOffset = nullptr;  // RwTON / RwTOF
    QLineEdit* extension = nullptr;        // RwREN / RwREF
    QComboBox* approach = nullptr;         // RwApproachN / F
    QComboBox* strobes = nullptr;          // RwStrobesN / F
    QCheckBox* thresholdEnable = nullptr;  // RwThreshHoldEnableN / F
    QCheckBox* reil = nullptr;             // RwReilN / F
    QCheckBox* touchdown = nullptr;        // RwTdzlN / F
    QLineEdit* vasiSlope = nullptr;
    QLineEdit* vasiCentre = nullptr;
    QComboBox* vasiSide = nullptr;
    QLineEdit* vasiMiddle = nullptr;
    QLineEdit* vasiSpacing = nullptr;
    QComboBox* vasiType = nullptr;
  };

  RunwayDialog(SplitPlatform& platform, QWidget* parent = nullptr);

  /// The tool's configuration, where the last loaded runway file is remembered.
  void setConfig(IniFile* config) { config_ = config; }

  /// The controls' current values.
  RunwayModel model() const;
  /// Puts values into the controls; check boxes set this way enable their dependants as a
  /// click would.
  void setModel(const RunwayModel& model);
  /// The lines of the last Ok.
  const std::vector<std::string>& addedLines() const { return added_; }
  /// The number or decimal box that stands for a model box.
  QLineEdit* box(RunwayModel::Box b) const { return boxes_[b]; }

  QTabWidget* Page;
  QWidget* RwGen;
  QWidget* RwMarkings;
  QLineEdit* RefName;
  QComboBox* CoNs;
  QComboBox* CoEw;
  QLineEdit* RwId_A;
  QComboBox* RwId_B;
  QCheckBox* EnableIdDuplicate;
  QComboBox* RwSurface;
  std::array<QCheckBox*, RunwayModel::MarkingCount> markings{};
  QCheckBox* RwEnableLights;
  QButtonGroup* RwEdgeLights;
  QButtonGroup* RwCentreLights;
  QCheckBox* RwRedEnds;
  EndControls nearEnd, farEnd;
  QPushButton* SaveRwy;
  QPushButton* LoadRwy;
  QPushButton* RwCancel;
  QPushButton* RwOk;

protected:
  /// FormShow: a blank runway on the first tab.
  void showEvent(QShowEvent* event) override;
  /// Key filters of the number and decimal boxes, their checks on leaving, and 10-second hints.
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void buildGeneralTab();
  void buildMarkingsTab();
  EndControls buildEndTab(const QString& suffix, const QString& caption);
  QLineEdit* numberBox(RunwayModel::Box b, const QString& name, QWidget* parent);
  void watchBox(QLineEdit* edit, bool decimal);
  void updateDependants();
  void setCaptions(const RunwayModel::EndCaptions& captions);

  /// CheckNumberOnExit for one box; false (after beep, message and focus back) when refused.
  bool CheckNumberOnExit(RunwayModel::Box b);
  /// RwId_AExit: the runway-number check and the end captions.
  bool RwId_AExit();
  void RwOkClick();
  void SaveRwyClick();
  void LoadRwyClick();
  void refuse(QLineEdit* edit, const char* message);

  SplitPlatform& platform_;
  IniFile* config_ = nullptr;
  std::array<QLineEdit*, RunwayModel::BoxCount> boxes_{};
  std::vector<std::string> added_;
  QWidget* edgeBox_ = nullptr;
  QWidget* centreBox_ = nullptr;
  bool refocusing_ = false;  ///< a check is putting the focus back; the focus moves it causes are not checks
};
