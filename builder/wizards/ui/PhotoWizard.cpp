#include "wizards/ui/PhotoWizard.h"

#include "altitude/ui/AltitudeSourcesCommand.h"
#include "wizards/PhotoRealFinish.h"
#include "wizards/ui/PhotoWizardBitmapPage.h"
#include "wizards/ui/PhotoWizardExtentsPage.h"
#include "wizards/ui/PhotoWizardAltitudePage.h"
#include "wizards/ui/PhotoWizardFolderPage.h"
#include "wizards/ui/WizardTexts.h"

PhotoWizard::PhotoWizard(CDibDoc& doc, PhotoWizardServices services, QWidget* parent)
    : QWizard(parent), doc_(doc), services_(std::move(services))
{
    if (!services_.altitudeSources)
        services_.altitudeSources = [](QWidget* owner, CDibDoc& project) { showAltitudeSources(owner, project); };
    setObjectName("PhotoWizard");
    setWindowTitle(WizardTexts::kCaption);
    setWizardStyle(QWizard::ClassicStyle);
    setOption(QWizard::NoBackButtonOnStartPage, true);
    // The pages register no wizard fields, so going Back keeps what was typed, while each page
    // still refreshes from the project whenever it becomes active (a new bitmap, a new folder).

    page1_ = new PhotoWizardBitmapPage(*this);
    page2_ = new PhotoWizardExtentsPage(*this);
    page3_ = new PhotoWizardAltitudePage(*this);
    page4_ = new PhotoWizardFolderPage(*this);
    setPage(Page1, page1_);
    setPage(Page2, page2_);
    setPage(Page3, page3_);
    setPage(Page4, page4_);
    setStartId(Page1);
    // The pages' explanations wrap, and a wizard sizes itself without asking them how tall they
    // grow: it opens, and stays, large enough for the tallest page.
    setMinimumSize(kMinimumSize);
}

bool runPhotoRealWizard(CDibDoc& doc, QWidget* parent, PhotoWizardServices services)
{
    PhotoWizard wizard(doc, std::move(services), parent);
    if (wizard.exec() != QDialog::Accepted)
        return false;
    return finishPhotoRealWizard(doc, wizard.page4()->folder().toStdString());
}
