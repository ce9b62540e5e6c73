// File > Wizards... > SynthWizard...: offered while the texture library holds textures; a new
// project exists only if the wizard finishes and the generation is not cancelled.

#include <memory>

#include "base/ui/CommandRegistry.h"
#include "base/ui/FrameServices.h"
#include "project/AppContext.h"
#include "project/CDibDoc.h"
#include "wizards/NewProject.h"
#include "wizards/ui/SynthWizard.h"

namespace {

void runSynthWizardCommand(FrameServices& frame)
{
    AppContext& app = frame.app();
    app.settings.newProjectMode = 2;
    auto doc = std::make_unique<CDibDoc>(app);

    SynthWizardServices services;
    services.showSceneryProperties = [&frame](double widthKm, double heightKm, double metresPerPixel) {
        frame.showSceneryProperties(widthKm, heightKm, metresPerPixel);
    };
    NewProjectWizards wizards;
    wizards.synth = [&](CDibDoc& project) { return runSynthWizard(project, frame.window(), services); };

    if (initializeNewProject(*doc, wizards))
        frame.openDocumentWindow(std::move(doc));
    frame.refreshCommands();
}

CommandRegistrar registrar{{"wizard.synth", "&SynthWizard...", "Create a new synthetic scenery project",
                            QKeySequence(), runSynthWizardCommand,
                            [](FrameServices& frame) { return !frame.app().textureLibrary.empty(); }, {}}};

} // namespace
