#include "wizards/ui/PhotoWizardAltitudePage.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "wizards/ui/PhotoWizard.h"
#include "wizards/ui/WizardTexts.h"

PhotoWizardAltitudePage::PhotoWizardAltitudePage(PhotoWizard& wizard) : QWizardPage(&wizard), wizard_(wizard)
{
    setObjectName("PhotoWizardAltitudePage");
    setTitle(WizardTexts::kPage3Title);

    auto* group = new QGroupBox("Select Altitude Map(s)", this);
    select_ = new QPushButton("Select altitude map(s)", group);
    select_->setObjectName("selectAltitudeMaps");
    auto* note = new QLabel(WizardTexts::kAltitudeNote, group);
    note->setWordWrap(true);
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(select_);
    groupLayout->addWidget(note);

    auto* text = new QLabel(WizardTexts::kAltitude, this);
    text->setWordWrap(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(text);
    layout->addStretch(1);

    connect(select_, &QPushButton::clicked, this,
            [this] { wizard_.services().altitudeSources(&wizard_, wizard_.document()); });
}
