#pragma once
// The new-document path: a project is created only through a wizard. The application's
// newProjectMode names the wizard (1 PhotoReal, 2 SynthWizard); the wizard's result is the result
// of the creation, so a cancelled wizard or any other mode leaves no project behind.

#include <functional>

class CDibDoc;

/// The wizards the program offers, as the window layer (or the batch program) provides them.
/// A wizard returns true when it finished and the project is complete.
struct NewProjectWizards {
    std::function<bool(CDibDoc&)> photoReal;
    std::function<bool(CDibDoc&)> synth;
};

/// Runs the wizard that doc.app.settings.newProjectMode names. Mode 0 or an unknown mode fails
/// without a message. A wizard that is not available fails with the message
/// "This wizard is not available in this version." so the command does not end silently.
bool initializeNewProject(CDibDoc& doc, const NewProjectWizards& wizards);

/// The message of a known mode whose wizard is not available.
inline constexpr const char* kWizardUnavailable = "This wizard is not available in this version.";
