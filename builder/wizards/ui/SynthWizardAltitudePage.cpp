#include "wizards/ui/SynthWizardAltitudePage.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "project/CDibDoc.h"
#include "wizards/ui/SynthWizard.h"
#include "wizards/ui/SynthWizardTexts.h"

SynthWizardAltitudePage::SynthWizardAltitudePage(SynthWizard& wizard) : QWizardPage(&wizard), wizard_(wizard)
{
    setObjectName("SynthWizardAltitudePage");
    setTitle(SynthWizardTexts::kPage4Title);

    load_ = new QPushButton(SynthWizardTexts::kLoadAltitude, this);
    load_->setObjectName("loadAltitudeMap");
    water_ = new QCheckBox(SynthWizardTexts::kRenderWater, this);
    water_->setObjectName("renderWater");
    water_->setChecked(false);

    auto* text = new QLabel(SynthWizardTexts::kAltitude, this);
    text->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(load_);
    layout->addWidget(water_);
    layout->addStretch(1);
    layout->addWidget(text);

    connect(load_, &QPushButton::clicked, this, [this] {
        wizard_.services().altitudeSources(&wizard_, wizard_.document());
        updateWaterBox();
    });
    updateWaterBox();
}

void SynthWizardAltitudePage::initializePage()
{
    updateWaterBox();
}

// Water level needs heights: without an altitude map there is nothing to compare with.
void SynthWizardAltitudePage::updateWaterBox()
{
    water_->setEnabled(!wizard_.document().altitudeMaps.empty());
}

bool SynthWizardAltitudePage::renderWater() const
{
    return water_->isEnabled() && water_->isChecked();
}
