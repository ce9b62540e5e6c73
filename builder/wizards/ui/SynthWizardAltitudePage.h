#pragma once
// Step 4: optional altitude maps, and water at water level once the project has one.

#include <QWizardPage>

class SynthWizard;
class QCheckBox;
class QPushButton;

class SynthWizardAltitudePage : public QWizardPage {
    Q_OBJECT
public:
    explicit SynthWizardAltitudePage(SynthWizard& wizard);

    void initializePage() override;

    QPushButton* loadButton() const { return load_; }
    QCheckBox* waterBox() const { return water_; }
    /// "Render water at water level" as Finish reads it: checked and offered.
    bool renderWater() const;

private:
    void updateWaterBox();

    SynthWizard& wizard_;
    QPushButton* load_;
    QCheckBox* water_;
};
