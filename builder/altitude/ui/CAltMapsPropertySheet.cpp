#include "altitude/ui/CAltMapsPropertySheet.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "base/ui/PropertySheetLayout.h"
#include "altitude/AltitudeMerge.h"
#include "altitude/ui/CBMPAltMap.h"
#include "altitude/ui/CDTEDAltMap.h"
#include "altitude/ui/CElevationAltMap.h"
#include "altitude/ui/CMainAltMap.h"
#include "altitude/ui/CTEXTAltMap.h"
#include "project/CDibDoc.h"

CAltMapsPropertySheet::CAltMapsPropertySheet(CDibDoc& doc, QWidget* parent)
    : QDialog(parent),
      doc_(doc),
      tabs_(new QTabWidget(this)),
      main_(new CMainAltMap(doc, this)),
      bmp_(new CBMPAltMap(doc, this)),
      text_(new CTEXTAltMap(doc, this)),
      dted_(new CDTEDAltMap(doc, this)),
      elevation_(new CElevationAltMap(doc, this)),
      ok_(new QPushButton(QStringLiteral("OK"), this)),
      cancel_(new QPushButton(QStringLiteral("Cancel"), this)),
      apply_(new QPushButton(QStringLiteral("&Apply"), this))
{
    setWindowTitle(QStringLiteral("Altitude Map Properties"));
    setModal(true);
    for (CAltMapPage* page : {static_cast<CAltMapPage*>(main_), static_cast<CAltMapPage*>(bmp_),
                              static_cast<CAltMapPage*>(text_), static_cast<CAltMapPage*>(dted_),
                              static_cast<CAltMapPage*>(elevation_)}) {
        tabs_->addTab(page, page->title());
        connect(page, &CAltMapPage::changed, this, [this] { apply_->setEnabled(true); });
        connect(page, &CAltMapPage::mapsChanged, this, [this] {
            mapsChanged_ = true;
            apply_->setEnabled(true);
        });
    }
    // A map deleted on the main page may still be selected on its source page.
    connect(main_, &CAltMapPage::mapsChanged, this, [this] {
        bmp_->dropSelection();
        text_->dropSelection();
        dted_->dropSelection();
        elevation_->dropSelection();
    });

    layOutPropertySheet(*this, tabs_, ok_, cancel_, apply_, [this] { applyPages(); });
    connect(tabs_, &QTabWidget::currentChanged, this, [this](int index) {
        if (auto* previous = qobject_cast<CAltMapPage*>(tabs_->widget(currentIndex_)))
            previous->leave();
        currentIndex_ = index;
        if (auto* page = currentPage())
            page->activate();
    });
    main_->activate();
}

CAltMapPage* CAltMapsPropertySheet::currentPage() const
{
    return qobject_cast<CAltMapPage*>(tabs_->currentWidget());
}

void CAltMapsPropertySheet::applyPages()
{
    // The source pages store their Active marks first, so the main page merges what they show.
    if (CAltMapPage* page = currentPage())
        page->leave();
    bmp_->apply();
    text_->apply();
    dted_->apply();
    elevation_->apply();
    main_->apply();
    mapsChanged_ = false;
}

void CAltMapsPropertySheet::reject()
{
    // Maps added or deleted stay so; the main map must not keep the records of a deleted one.
    if (mapsChanged_)
        mergeAltitudeMaps(doc_);
    QDialog::reject();
}
