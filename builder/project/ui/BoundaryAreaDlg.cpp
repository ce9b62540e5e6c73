#include "project/ui/BoundaryAreaDlg.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include "project/AppContext.h"
#include "base/Platform.h"
#include "base/ui/CommandRegistry.h"
#include "base/ui/FrameServices.h"
#include "output/Coordinates.h"
#include "project/BoundaryEdit.h"
#include "project/CDibDoc.h"
#include "project/SceneryDimensions.h"

namespace {

QLineEdit* coordinateEdit(double value, int dms, QWidget* parent)
{
    auto* edit = new QLineEdit(QString::fromStdString(formatCoordinate(value, dms)), parent);
    edit->setReadOnly(true);
    return edit;
}

double parsed(const QLineEdit* edit)
{
    return parseCoordinate(edit->text().toStdString());
}

} // namespace

BoundaryAreaDlg::BoundaryAreaDlg(CDibDoc& doc, QWidget* parent)
    : QDialog(parent),
      doc_(doc),
      north_(coordinateEdit(doc.boundary.north, doc.app.settings.coordinateFormat, this)),
      south_(coordinateEdit(doc.boundary.south, doc.app.settings.coordinateFormat, this)),
      east_(coordinateEdit(doc.boundary.east, doc.app.settings.coordinateFormat, this)),
      west_(coordinateEdit(doc.boundary.west, doc.app.settings.coordinateFormat, this))
{
    setWindowTitle(QStringLiteral("Boundary Area"));
    setModal(true);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Max Latitude"), north_);
    form->addRow(QStringLiteral("Min Latitude"), south_);
    form->addRow(QStringLiteral("Max Longitude"), east_);
    form->addRow(QStringLiteral("Min Longitude"), west_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &BoundaryAreaDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

void BoundaryAreaDlg::accept()
{
    // The texts are what the user saw, so the stored boundary takes their precision.
    GeoRect boundary;
    boundary.west = parsed(west_);
    boundary.east = parsed(east_);
    boundary.south = parsed(south_);
    boundary.north = parsed(north_);
    if (!editBoundary(doc_, boundary)) {
        // Stored as it was: the dimensions are brought up to date and the project counts as
        // changed, as OK has always done.
        computeSceneryDimensions(doc_);
        doc_.setModified(true);
    }
    warnIfSceneryTooCoarse(doc_);
    QDialog::accept();
}

namespace {
const CommandRegistrar registerBoundaryArea{{
    "project.boundary",
    QStringLiteral("Define &Boundary Area..."),
    QStringLiteral("Show and store the geographic extents of the scenery"),
    QKeySequence(),
    [](FrameServices& frame) {
        CDibDoc* doc = frame.activeDocument();
        if (!doc)
            return;
        BoundaryAreaDlg dialog(*doc, frame.window());
        if (dialog.exec() == QDialog::Accepted) {
            frame.showSceneryProperties(doc->sceneryWidthKm, doc->sceneryHeightKm, doc->metresPerPixel);
            doc->repaintViews();
        }
    },
    [](FrameServices& frame) { return frame.activeDocument() != nullptr; },
    {},
}};
} // namespace
