#include "wizards/NewProject.h"

#include "project/AppContext.h"
#include "base/Platform.h"
#include "project/CDibDoc.h"

bool initializeNewProject(CDibDoc& doc, const NewProjectWizards& wizards)
{
    const std::function<bool(CDibDoc&)>* wizard = nullptr;
    switch (doc.app.settings.newProjectMode) {
    case 1:
        wizard = &wizards.photoReal;
        break;
    case 2:
        wizard = &wizards.synth;
        break;
    default:
        return false;
    }
    if (!*wizard) {
        doc.app.platform.message(kWizardUnavailable, MsgIcon::Exclamation);
        return false;
    }
    return (*wizard)(doc);
}
