#include "view/ui/PointScaleCalibrationDlg.h"

#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "project/CDibDoc.h"
#include "view/Calibration.h"

PointScaleCalibrationDlg::PointScaleCalibrationDlg(CDibDoc& doc, int pixelX, int pixelY, QWidget* parent)
    : QDialog(parent), doc_(doc)
{
    setObjectName("pointScaleCalibrationDlg");
    setWindowTitle("Landmark Calibration - Point - Scale");
    auto* layout = new QVBoxLayout(this);
    auto group = [&](const QString& title) {
        auto* box = new QGroupBox(title, this);
        auto* form = new QFormLayout(box);
        layout->addWidget(box);
        return form;
    };
    auto edit = [](QFormLayout* form, const QString& label, int id) {
        auto* e = new QLineEdit;
        e->setObjectName(QString("edit_%1").arg(id));
        form->addRow(label, e);
        return e;
    };
    QFormLayout* landmark = group("Landmark");
    lat_ = edit(landmark, "Latitude (N-S)", 276);
    lon_ = edit(landmark, "Longitude (E-W)", 277);
    QFormLayout* pixel = group("Referenced Pixel");
    x_ = edit(pixel, "X", 273);
    y_ = edit(pixel, "Y", 274);
    x_->setReadOnly(true);
    y_->setReadOnly(true);
    x_->setText(QString::number(pixelX));
    y_->setText(QString::number(pixelY));
    auto* scaleBox = new QGroupBox("Scale", this);
    auto* scaleRow = new QHBoxLayout(scaleBox);
    scale_ = new QDoubleSpinBox(scaleBox);
    scale_->setObjectName("edit_280");
    scale_->setRange(0.0, 1000000.0);
    scale_->setDecimals(4);
    scale_->setValue(0.0);
    scaleRow->addWidget(scale_);
    scaleRow->addWidget(new QLabel("meters/pixel", scaleBox));
    layout->addWidget(scaleBox);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton("Calibrate", QDialogButtonBox::AcceptRole);
    ok->setObjectName("okButton");
    ok->setDefault(true);
    buttons->addButton("Cancel", QDialogButtonBox::RejectRole)->setObjectName("cancelButton");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

void PointScaleCalibrationDlg::accept()
{
    if (acceptPointScale(doc_, lat_->text().toLocal8Bit().toStdString(), lon_->text().toLocal8Bit().toStdString(),
                         scale_->value()))
        QDialog::accept();
    else
        QDialog::reject();
}
