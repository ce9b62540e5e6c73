#pragma once
// Step 1: the grid in chunks. Every change is written to the project at once and drawn.

#include <QWizardPage>

class SynthWizard;
class SynthGridPreview;
class QLineEdit;

class SynthWizardGridPage : public QWizardPage {
    Q_OBJECT
public:
    explicit SynthWizardGridPage(SynthWizard& wizard);

    /// A grid without chunks makes no project: Next waits for at least one column and one row.
    bool isComplete() const override;
    bool validatePage() override;

    QLineEdit* columnsEdit() const { return columns_; }
    QLineEdit* rowsEdit() const { return rows_; }
    SynthGridPreview* preview() const { return preview_; }

private:
    void edited();
    int columns() const;
    int rows() const;

    SynthWizard& wizard_;
    QLineEdit* columns_;
    QLineEdit* rows_;
    SynthGridPreview* preview_;
};
