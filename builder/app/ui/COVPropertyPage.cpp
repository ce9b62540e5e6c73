#include "app/ui/COVPropertyPage.h"

COVPropertyPage::COVPropertyPage(AppContext& app, const QString& title, QWidget* parent)
    : QWidget(parent), app_(app), title_(title)
{
}

void COVPropertyPage::activate()
{
    if (!shown_) {
        shown_ = true;
        loadFromSettings();
    }
    onSetActive();
}

void COVPropertyPage::apply()
{
    if (shown_)
        writeSettings();
}
