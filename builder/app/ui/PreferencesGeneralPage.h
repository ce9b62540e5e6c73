#pragma once
#include "app/ui/PreferencesPage.h"

class QButtonGroup;
class QRadioButton;

/// "General": the target simulator. The FS98 button is shown disabled.
class PreferencesGeneralPage : public PreferencesPage {
    Q_OBJECT
public:
    explicit PreferencesGeneralPage(AppContext& app, QWidget* parent = nullptr);

    QRadioButton* platformButton(int index) const;

protected:
    void loadFromSettings() override;
    void writeSettings() override;

private:
    QButtonGroup* platformGroup_;
};
