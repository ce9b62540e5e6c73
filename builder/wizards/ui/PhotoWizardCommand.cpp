// File > Wizards... > PhotoWizard...: a new project exists only if the wizard finishes.

#include <memory>

#include "project/AppContext.h"
#include "base/ui/CommandRegistry.h"
#include "base/ui/FrameServices.h"
#include "project/CDibDoc.h"
#include "wizards/NewProject.h"
#include "wizards/ui/PhotoWizard.h"

namespace {

void runPhotoWizardCommand(FrameServices& frame)
{
    AppContext& app = frame.app();
    app.settings.newProjectMode = 1;
    auto doc = std::make_unique<CDibDoc>(app);

    PhotoWizardServices services;
    services.showSceneryProperties = [&frame](double widthKm, double heightKm, double metresPerPixel) {
        frame.showSceneryProperties(widthKm, heightKm, metresPerPixel);
    };
    NewProjectWizards wizards;
    wizards.photoReal = [&](CDibDoc& project) { return runPhotoRealWizard(project, frame.window(), services); };

    if (initializeNewProject(*doc, wizards)) {
        // What the wizard did is the making of the project, not edits to take back.
        doc->undoStack.clear();
        frame.openDocumentWindow(std::move(doc));
    }
    frame.refreshCommands();
}

CommandRegistrar registrar{{"wizard.photo", "&PhotoWizard...", "Create a new photographic scenery project",
                            QKeySequence(), runPhotoWizardCommand, {}, {}}};

} // namespace
