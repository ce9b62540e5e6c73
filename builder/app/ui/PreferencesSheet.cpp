#include "app/ui/PreferencesSheet.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "base/ui/PropertySheetLayout.h"
#include "project/AppContext.h"
#include "app/ui/PreferencesGeneralPage.h"
#include "app/ui/PreferencesPathsPage.h"
#include "app/ui/PreferencesSynthTexturesPage.h"
#include "app/ui/PreferencesOptionsPage.h"
#include "base/ui/CommandRegistry.h"
#include "base/ui/FrameServices.h"

PreferencesSheet::PreferencesSheet(AppContext& app, QWidget* parent)
    : QDialog(parent),
      app_(app),
      tabs_(new QTabWidget(this)),
      general_(new PreferencesGeneralPage(app, this)),
      paths_(new PreferencesPathsPage(app, this)),
      synthTextures_(new PreferencesSynthTexturesPage(app, this)),
      preferences_(new PreferencesOptionsPage(app, this)),
      ok_(new QPushButton(QStringLiteral("OK"), this)),
      cancel_(new QPushButton(QStringLiteral("Cancel"), this)),
      apply_(new QPushButton(QStringLiteral("&Apply"), this))
{
    setWindowTitle(QStringLiteral("Orvane Properties"));
    setModal(true);
    // All four page titles stay visible instead of scrolling.
    tabs_->setUsesScrollButtons(false);
    setMinimumWidth(420);
    for (PreferencesPage* page : {static_cast<PreferencesPage*>(general_), static_cast<PreferencesPage*>(paths_),
                                  static_cast<PreferencesPage*>(synthTextures_),
                                  static_cast<PreferencesPage*>(preferences_)}) {
        tabs_->addTab(page, page->title());
        connect(page, &PreferencesPage::modified, this, [this] { apply_->setEnabled(true); });
    }
    connect(synthTextures_, &PreferencesSynthTexturesPage::classesRescanned, this, [this] {
        if (preferences_->wasShown())
            preferences_->takeClassColors();
    });

    layOutPropertySheet(*this, tabs_, ok_, cancel_, apply_, [this] { applyPages(); });
    connect(tabs_, &QTabWidget::currentChanged, this, [this](int index) {
        if (auto* page = qobject_cast<PreferencesPage*>(tabs_->widget(index)))
            page->activate();
    });
    // The sheet opens on its first page, which counts as shown.
    general_->activate();
}

void PreferencesSheet::applyPages()
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
        PreferencesSheet sheet(frame.app(), frame.window());
        sheet.exec();
        frame.refreshCommands();
    },
    {},
    {},
}};
} // namespace
