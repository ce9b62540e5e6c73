#include "view/ui/TwoPointCalibrationDlg.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "project/CDibDoc.h"
#include "view/Calibration.h"

namespace {
QLineEdit* edit(QFormLayout* form, const QString& label, int id)
{
    auto* e = new QLineEdit;
    e->setObjectName(QString("edit_%1").arg(id));
    form->addRow(label, e);
    return e;
}

QString fixed(double value)
{
    return QString::asprintf("%f", value);
}

std::string text(const QLineEdit* e)
{
    return e->text().toLocal8Bit().toStdString();
}
} // namespace

TwoPointCalibrationDlg::TwoPointCalibrationDlg(CDibDoc& doc, bool secondStep, int pixelX, int pixelY, QWidget* parent)
    : QDialog(parent), doc_(doc), second_(secondStep)
{
    setObjectName("twoPointCalibrationDlg");
    setWindowTitle("Landmark Calibration - 2-Point");
    auto* layout = new QVBoxLayout(this);
    auto group = [&](const QString& title) {
        auto* box = new QGroupBox(title, this);
        auto* form = new QFormLayout(box);
        layout->addWidget(box);
        return form;
    };
    QFormLayout* landmark1 = group("Landmark 1");
    lat1_ = edit(landmark1, "Latitude (N-S)", 276);
    lon1_ = edit(landmark1, "Longitude (E-W)", 277);
    QFormLayout* pixel = group("Referenced Pixel");
    x_ = edit(pixel, "X", 273);
    y_ = edit(pixel, "Y", 274);
    x_->setReadOnly(true);
    y_->setReadOnly(true);
    x_->setText(QString::number(pixelX));
    y_->setText(QString::number(pixelY));
    QFormLayout* landmark2 = group("Landmark 2");
    lat2_ = edit(landmark2, "Latitude (N-S)", 278);
    lon2_ = edit(landmark2, "Longitude (E-W)", 279);

    auto* buttons = new QDialogButtonBox(this);
    ok_ = buttons->addButton("Calibrate", QDialogButtonBox::AcceptRole);
    ok_->setObjectName("okButton");
    ok_->setDefault(true);
    buttons->addButton("Cancel", QDialogButtonBox::RejectRole)->setObjectName("cancelButton");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    if (!second_) {
        lat2_->setEnabled(false);
        lon2_->setEnabled(false);
        ok_->setText("Proceed...");
        lat2_->setText(fixed(doc_.landmark2Latitude));
        lon2_->setText(fixed(doc_.landmark2Longitude));
    } else {
        lat1_->setEnabled(false);
        lon1_->setEnabled(false);
        lat1_->setText(fixed(doc_.landmark1Latitude));
        lon1_->setText(fixed(doc_.landmark1Longitude));
        lat2_->setFocus();
    }
}

void TwoPointCalibrationDlg::accept()
{
    if (!second_) {
        acceptFirstLandmark(doc_, text(lat1_), text(lon1_));
        QDialog::accept();
        return;
    }
    // Landmarks that fix no boundary have been reported; the calibration ends as cancelled.
    if (acceptTwoPoint(doc_, text(lat1_), text(lon1_), text(lat2_), text(lon2_)))
        QDialog::accept();
    else
        QDialog::reject();
}
