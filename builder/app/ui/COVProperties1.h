#pragma once
#include "app/ui/COVPropertyPage.h"

class QButtonGroup;
class QRadioButton;

/// "General": the target simulator. The FS98 button is shown disabled.
class COVProperties1 : public COVPropertyPage {
    Q_OBJECT
public:
    explicit COVProperties1(AppContext& app, QWidget* parent = nullptr);

    QRadioButton* platformButton(int index) const;

protected:
    void loadFromSettings() override;
    void writeSettings() override;

private:
    QButtonGroup* platformGroup_;
};
