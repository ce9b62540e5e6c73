#include "app/ui/COVProperties.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/ui/PropertySheetLayout.h"
#include "app/AppContext.h"
#include "app/ui/COVProperties1.h"
#include "app/ui/COVProperties2.h"
#include "app/ui/COVProperties3.h"
#include "app/ui/COVProperties4.h"
#include "app/ui/CommandRegistry.h"
#include "app/ui/FrameServices.h"

COVProperties::COVProperties(AppContext& app, QWidget* parent)
    : QDialog(parent),
      app_(app),
      tabs_(new QTabWidget(this)),
      general_(new COVProperties1(app, this)),
      paths_(new COVProperties2(app, this)),
      synthTextures_(new COVProperties3(app, this)),
      preferences_(new COVProperties4(app, this)),
      ok_(new QPushButton(QStringLiteral("OK"), this)),
      cancel_(new QPushButton(QStringLiteral("Cancel"), this)),
      apply_(new QPushButton(QStringLiteral("&Apply"), this))
{
    setWindowTitle(QStringLiteral("Orvane Properties"));
    setModal(true);
    // All four page titles stay visible instead of scrolling.
    tabs_->setUsesScrollButtons(false);
    setMinimumWidth(420);
    for (COVPropertyPage* page : {static_cast<COVPropertyPage*>(general_), static_cast<COVPropertyPage*>(paths_),
                                  static_cast<COVPropertyPage*>(synthTextures_),
                                  static_cast<COVPropertyPage*>(preferences_)}) {
        tabs_->addTab(page, page->title());
        connect(page, &COVPropertyPage::modified, this, [this] { apply_->setEnabled(true); });
    }
    connect(synthTextures_, &COVProperties3::classesRescanned, this, [this] {
        if (preferences_->wasShown())
            preferences_->takeClassColors();
    });

    layOutPropertySheet(*this, tabs_, ok_, cancel_, apply_, [this] { applyPages(); });
    connect(tabs_, &QTabWidget::currentChanged, this, [this](int index) {
        if (auto* page = qobject_cast<COVPropertyPage*>(tabs_->widget(index)))
            page->activate();
    });
    // The sheet opens on its first page, which counts as shown.
    general_->activate();
}

void COVProperties::applyPages()
{
    // Page order matters: the library reload of Synth Textures runs before the season change.
    general_->apply();
    paths_->apply();
    synthTextures_->apply();
    preferences_->apply();
}

namespace {
const CommandRegistrar registerPreferences{{
    "app.preferences",
    QStringLiteral("&Preferences..."),
    QStringLiteral("Edit the program settings and the texture classes"),
    QKeySequence(Qt::CTRL | Qt::Key_P),
    [](FrameServices& frame) {
        COVProperties sheet(frame.app(), frame.window());
        sheet.exec();
        frame.refreshCommands();
    },
    {},
    {},
}};
} // namespace
