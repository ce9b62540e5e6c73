#include "wizards/ui/SynthWizard.h"

#include "altitude/ui/AltitudeSourcesCommand.h"
#include "synth/SynthRandom.h"
#include "synth/SyntheticScenery.h"
#include "wizards/ui/SynthWizardAltitudePage.h"
#include "wizards/ui/SynthWizardClassesPage.h"
#include "wizards/ui/SynthWizardExtentsPage.h"
#include "wizards/ui/SynthWizardGridPage.h"
#include "wizards/ui/SynthWizardTexts.h"

SynthWizard::SynthWizard(CDibDoc& doc, SynthWizardServices services, QWidget* parent)
    : QWizard(parent), doc_(doc), services_(std::move(services))
{
    if (!services_.altitudeSources)
        services_.altitudeSources = [](QWidget* owner, CDibDoc& project) { showAltitudeSources(owner, project); };
    setObjectName("SynthWizard");
    setWindowTitle(SynthWizardTexts::kCaption);
    setWizardStyle(QWizard::ClassicStyle);
    setOption(QWizard::NoBackButtonOnStartPage, true);

    page1_ = new SynthWizardGridPage(*this);
    page2_ = new SynthWizardExtentsPage(*this);
    page3_ = new SynthWizardClassesPage(*this);
    page4_ = new SynthWizardAltitudePage(*this);
    setPage(Page1, page1_);
    setPage(Page2, page2_);
    setPage(Page3, page3_);
    setPage(Page4, page4_);
    setStartId(Page1);
    // The pages' explanations wrap, and a wizard sizes itself without asking them how tall they
    // grow: it opens, and stays, large enough for the tallest page.
    setMinimumSize(kMinimumSize);
}

bool runSynthWizard(CDibDoc& doc, QWidget* parent, SynthWizardServices services)
{
    SynthWizard wizard(doc, std::move(services), parent);
    if (wizard.exec() != QDialog::Accepted)
        return false;
    SynthRandom random = wizard.services().seed ? SynthRandom(*wizard.services().seed) : SynthRandom::fromTime();
    SynthOptions options;
    options.allowedClasses = wizard.page3()->selection();
    options.renderWater = wizard.page4()->renderWater();
    return generateSyntheticScenery(doc, options, random);
}
