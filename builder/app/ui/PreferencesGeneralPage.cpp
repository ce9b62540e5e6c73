#include "app/ui/PreferencesGeneralPage.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

#include "project/AppContext.h"

PreferencesGeneralPage::PreferencesGeneralPage(AppContext& app, QWidget* parent)
    : PreferencesPage(app, QStringLiteral("General"), parent), platformGroup_(new QButtonGroup(this))
{
    auto* group = new QGroupBox(QStringLiteral("Platform"), this);
    auto* groupLayout = new QVBoxLayout(group);
    const QString labels[] = {QStringLiteral("Microsoft Flight Simulator 98"),
                              QStringLiteral("MS Combat Flight Simulator"), QStringLiteral("MS Flight Simulator 2000")};
    for (int i = 0; i < 3; ++i) {
        auto* button = new QRadioButton(labels[i], group);
        button->setObjectName(QStringLiteral("platform%1").arg(i));
        platformGroup_->addButton(button, i);
        groupLayout->addWidget(button);
    }
    connect(platformGroup_, &QButtonGroup::idClicked, this, [this] { emit modified(); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addStretch();
}

QRadioButton* PreferencesGeneralPage::platformButton(int index) const
{
    return qobject_cast<QRadioButton*>(platformGroup_->button(index));
}

void PreferencesGeneralPage::loadFromSettings()
{
    if (QAbstractButton* button = platformGroup_->button(app_.settings.platform))
        button->setChecked(true);
}

void PreferencesGeneralPage::writeSettings()
{
    // A setting outside the three buttons stays as it is until the user picks one.
    const int chosen = platformGroup_->checkedId();
    if (chosen >= 0)
        app_.settings.platform = chosen;
}
