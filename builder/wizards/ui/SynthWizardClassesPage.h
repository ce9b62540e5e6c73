#pragma once
// Step 3: the landscape group types (enabled texture classes) that take part, as a checked list.

#include <cstdint>
#include <vector>

#include <QWizardPage>

class SynthWizard;
class QTableWidget;

class SynthWizardClassesPage : public QWizardPage {
    Q_OBJECT
public:
    explicit SynthWizardClassesPage(SynthWizard& wizard);

    /// Rebuilds the selection from the checked rows, in list order; refuses an empty one.
    bool validatePage() override;

    QTableWidget* list() const { return list_; }
    /// The class codes selected at the last Next.
    const std::vector<std::int32_t>& selection() const { return selection_; }

private:
    SynthWizard& wizard_;
    QTableWidget* list_;
    std::vector<std::int32_t> selection_;
};
