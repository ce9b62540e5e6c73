#pragma once
// "FS Macro Item": a call of an outside macro file at the point picked on the map. Browse...
// reads the macro's parameter list and fills up to ten rows with starting values; OK appends
// the item to the project.

#include <QDialog>
#include <array>
#include <string>
#include <vector>

#include "project/FsItemEdits.h"

class CDibDoc;
class QLabel;
class QLineEdit;
class QPushButton;

class FsMacroDialog : public QDialog {
    Q_OBJECT
public:
    explicit FsMacroDialog(CDibDoc& doc, QWidget* parent = nullptr);

    QLineEdit* macroFileField() const { return macroFile_; }
    QPushButton* browseButton() const { return browse_; }
    QLabel* rowLabel(std::size_t row) const { return labels_[row]; }
    QLineEdit* rowValue(std::size_t row) const { return values_[row]; }

    /// Browse...: asks for a macro file, then reads it.
    void browse();
    /// Reads the parameter list of the macro file at `path` into the rows.
    void readMacroFile(const std::string& path);

public slots:
    void accept() override;

private:
    void resetRows();

    CDibDoc& doc_;
    QLineEdit* macroFile_;
    QPushButton* browse_;
    std::array<QLabel*, kMacroParameterRows> labels_{};
    std::array<QLineEdit*, kMacroParameterRows> values_{};
    /// Every parameter's value, also those past the tenth row (they keep their starting values).
    std::vector<std::string> parameterValues_;
};
