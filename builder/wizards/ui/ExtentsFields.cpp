#include "wizards/ui/ExtentsFields.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>

ExtentsFields::ExtentsFields(QWidget* page, PhotoExtentsModel& model, const QString& resolutionTitle)
    : QObject(page), model_(model)
{
    auto makeEdit = [page](const char* name) {
        auto* edit = new QLineEdit(page);
        edit->setObjectName(name);
        return edit;
    };
    maxLat_ = makeEdit("maxLat");
    minLat_ = makeEdit("minLat");
    maxLon_ = makeEdit("maxLon");
    minLon_ = makeEdit("minLon");
    edgeRows_ = new QFormLayout;
    edgeRows_->addRow("Max Lat", maxLat_);
    edgeRows_->addRow("Min Lat", minLat_);
    edgeRows_->addRow("Max Longitude", maxLon_);
    edgeRows_->addRow("Min Longitude", minLon_);

    resolution_ = new QGroupBox(resolutionTitle, page);
    horizontal_ = makeEdit("horizontal");
    vertical_ = makeEdit("vertical");
    horizontalLock_ = new QCheckBox("Lock", resolution_);
    horizontalLock_->setObjectName("horizontalLock");
    verticalLock_ = new QCheckBox("Lock", resolution_);
    verticalLock_->setObjectName("verticalLock");
    auto* grid = new QGridLayout(resolution_);
    grid->addWidget(new QLabel("Horizontal", resolution_), 0, 0);
    grid->addWidget(horizontal_, 0, 1);
    grid->addWidget(horizontalLock_, 0, 2);
    grid->addWidget(new QLabel("Vertical", resolution_), 1, 0);
    grid->addWidget(vertical_, 1, 1);
    grid->addWidget(verticalLock_, 1, 2);

    // Room for what the boxes hold, in the font of the screen they are on.
    const QFontMetrics metrics(maxLat_->font());
    for (QLineEdit* edit : {maxLat_, minLat_, maxLon_, minLon_})
        edit->setMinimumWidth(metrics.horizontalAdvance("-000:00:00.00") + metrics.averageCharWidth() * 2);
    for (QLineEdit* edit : {horizontal_, vertical_})
        edit->setMinimumWidth(metrics.horizontalAdvance("00000.00") + metrics.averageCharWidth() * 2);

    horizontal_->setText(resolutionText(model_.horizontal));
    vertical_->setText(resolutionText(model_.vertical));
    horizontalLock_->setChecked(model_.horizontalLock);
    verticalLock_->setChecked(model_.verticalLock);
    horizontal_->setEnabled(!model_.horizontalLock);
    vertical_->setEnabled(!model_.verticalLock);

    // textEdited fires for the user's typing only, so showing computed values never loops back.
    connect(maxLat_, &QLineEdit::textEdited, this, [this] { edited(Field::MaxLat); });
    connect(minLat_, &QLineEdit::textEdited, this, [this] { edited(Field::MinLat); });
    connect(maxLon_, &QLineEdit::textEdited, this, [this] { edited(Field::MaxLon); });
    connect(minLon_, &QLineEdit::textEdited, this, [this] { edited(Field::MinLon); });
    connect(horizontal_, &QLineEdit::textEdited, this, [this] { edited(Field::Horizontal); });
    connect(vertical_, &QLineEdit::textEdited, this, [this] { edited(Field::Vertical); });
    connect(horizontalLock_, &QCheckBox::clicked, this, [this] { lockClicked(true); });
    connect(verticalLock_, &QCheckBox::clicked, this, [this] { lockClicked(false); });
}

QString ExtentsFields::resolutionText(double value)
{
    return QLocale().toString(value, 'f', 2);
}

double ExtentsFields::readResolution(const QString& text)
{
    bool ok = false;
    double value = QLocale().toDouble(text, &ok);
    if (!ok)
        value = QLocale::c().toDouble(text, &ok);
    return ok ? value : 0.0;
}

void ExtentsFields::readTexts()
{
    model_.maxLatText = maxLat_->text().toStdString();
    model_.minLatText = minLat_->text().toStdString();
    model_.maxLonText = maxLon_->text().toStdString();
    model_.minLonText = minLon_->text().toStdString();
}

void ExtentsFields::edited(Field field)
{
    readTexts();
    if (field == Field::Horizontal)
        model_.horizontal = readResolution(horizontal_->text());
    if (field == Field::Vertical)
        model_.vertical = readResolution(vertical_->text());
    switch (field) {
    case Field::MaxLat: model_.maxLatChanged(); break;
    case Field::MinLat: model_.minLatChanged(); break;
    case Field::MaxLon: model_.maxLonChanged(); break;
    case Field::MinLon: model_.minLonChanged(); break;
    case Field::Horizontal: model_.horizontalChanged(); break;
    case Field::Vertical: model_.verticalChanged(); break;
    case Field::None: break;
    }
    show(field);
}

void ExtentsFields::lockClicked(bool horizontal)
{
    readTexts();
    if (horizontal) {
        model_.horizontalLock = horizontalLock_->isChecked();
        horizontal_->setEnabled(!model_.horizontalLock);
        model_.horizontalLockClicked();
    } else {
        model_.verticalLock = verticalLock_->isChecked();
        vertical_->setEnabled(!model_.verticalLock);
        model_.verticalLockClicked();
    }
    show(Field::None);
}

void ExtentsFields::show(Field typing)
{
    auto put = [](QLineEdit* edit, const std::string& text) {
        const QString value = QString::fromStdString(text);
        if (edit->text() != value)
            edit->setText(value);
    };
    if (typing != Field::MaxLat)
        put(maxLat_, model_.maxLatText);
    if (typing != Field::MinLat)
        put(minLat_, model_.minLatText);
    if (typing != Field::MaxLon)
        put(maxLon_, model_.maxLonText);
    if (typing != Field::MinLon)
        put(minLon_, model_.minLonText);
    if (typing != Field::Horizontal && readResolution(horizontal_->text()) != model_.horizontal)
        horizontal_->setText(resolutionText(model_.horizontal));
    if (typing != Field::Vertical && readResolution(vertical_->text()) != model_.vertical)
        vertical_->setText(resolutionText(model_.vertical));
}
