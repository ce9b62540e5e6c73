#include "altitude/ui/CAltMapPage.h"

CAltMapPage::CAltMapPage(CDibDoc& doc, const QString& title, QWidget* parent)
    : QWidget(parent), doc_(doc), title_(title)
{
}

void CAltMapPage::activate()
{
    shown_ = true;
    onSetActive();
}

void CAltMapPage::leave()
{
    if (shown_)
        onKillActive();
}

void CAltMapPage::apply()
{
    if (shown_)
        onApply();
}
