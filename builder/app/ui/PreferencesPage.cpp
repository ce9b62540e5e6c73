#include "app/ui/PreferencesPage.h"

PreferencesPage::PreferencesPage(AppContext& app, const QString& title, QWidget* parent)
    : QWidget(parent), app_(app), title_(title)
{
}

void PreferencesPage::activate()
{
    if (!shown_) {
        shown_ = true;
        loadFromSettings();
    }
    onSetActive();
}

void PreferencesPage::apply()
{
    if (shown_)
        writeSettings();
}
