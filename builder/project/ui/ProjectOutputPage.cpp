#include "project/ui/ProjectOutputPage.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "base/Platform.h"
#include "project/AppContext.h"
#include "project/CDibDoc.h"

namespace {
// The copyright line's text is limited to what the header line can hold.
constexpr int kCopyrightLimit = 80;
} // namespace

ProjectOutputPage::ProjectOutputPage(CDibDoc& doc, QWidget* parent)
    : QWidget(parent),
      doc_(doc),
      altitudeCoordinates_(new QCheckBox(QStringLiteral("Write altitude coordinates"), this)),
      areaMaxHeader_(new QCheckBox(QStringLiteral("Write area max header"), this)),
      areaMaxSize_(new QLineEdit(this)),
      copyright_(new QCheckBox(QStringLiteral("Write copyright"), this)),
      copyrightText_(new QLineEdit(this))
{
    altitudeCoordinates_->setObjectName(QStringLiteral("altitudeCoordinates"));
    areaMaxHeader_->setObjectName(QStringLiteral("areaMaxHeader"));
    areaMaxSize_->setObjectName(QStringLiteral("areaMaxSize"));
    copyright_->setObjectName(QStringLiteral("copyright"));
    copyrightText_->setObjectName(QStringLiteral("copyrightText"));
    copyrightText_->setMaxLength(kCopyrightLimit);
    areaMaxSize_->setMaximumWidth(80);

    altitudeCoordinates_->setChecked(doc_.writeAltitudeCoordinates);
    areaMaxHeader_->setChecked(doc_.writeAreaMaxHeader);
    areaMaxSize_->setText(QString::number(doc_.areaMaxSizeKB));
    copyright_->setChecked(doc_.writeCopyright);
    copyrightText_->setText(QString::fromStdString(doc_.copyrightText).left(kCopyrightLimit));

    auto* sizeRow = new QHBoxLayout;
    sizeRow->addWidget(areaMaxHeader_);
    sizeRow->addWidget(areaMaxSize_);
    sizeRow->addWidget(new QLabel(QStringLiteral("KB"), this));
    sizeRow->addStretch();

    auto* seasonBox = new QGroupBox(QStringLiteral("Include Seasons:"), this);
    auto* seasonRow = new QHBoxLayout(seasonBox);
    static const char* const kSeasons[] = {"Winter", "Spring", "Summer", "Fall"};
    for (int bit = 0; bit < 4; ++bit) {
        auto* box = new QCheckBox(QString::fromLatin1(kSeasons[bit]), seasonBox);
        box->setObjectName(QString::fromLatin1(kSeasons[bit]).toLower());
        box->setChecked((doc_.includedSeasons >> bit) & 1);
        seasons_[static_cast<std::size_t>(bit)] = box;
        seasonRow->addWidget(box);
        connect(box, &QCheckBox::clicked, this, &ProjectOutputPage::modified);
    }

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(altitudeCoordinates_);
    layout->addLayout(sizeRow);
    layout->addWidget(copyright_);
    layout->addWidget(copyrightText_);
    layout->addWidget(seasonBox);
    layout->addStretch();

    areaMaxSize_->setEnabled(areaMaxHeader_->isChecked());
    copyrightText_->setEnabled(copyright_->isChecked());
    connect(areaMaxHeader_, &QCheckBox::toggled, areaMaxSize_, &QWidget::setEnabled);
    connect(copyright_, &QCheckBox::toggled, copyrightText_, &QWidget::setEnabled);
    for (QCheckBox* box : {altitudeCoordinates_, areaMaxHeader_, copyright_})
        connect(box, &QCheckBox::clicked, this, &ProjectOutputPage::modified);
    for (QLineEdit* edit : {areaMaxSize_, copyrightText_})
        connect(edit, &QLineEdit::textEdited, this, &ProjectOutputPage::modified);
}

bool ProjectOutputPage::apply()
{
    bool ok = false;
    const int size = areaMaxSize_->text().trimmed().toInt(&ok);
    if (!ok) {
        doc_.app.platform.message("Please enter an integer.", MsgIcon::Exclamation);
        return false;
    }
    doc_.writeAltitudeCoordinates = altitudeCoordinates_->isChecked();
    doc_.writeAreaMaxHeader = areaMaxHeader_->isChecked();
    doc_.areaMaxSizeKB = size;
    doc_.writeCopyright = copyright_->isChecked();
    doc_.copyrightText = copyrightText_->text().toStdString();
    std::int32_t seasons = 0;
    for (int bit = 0; bit < 4; ++bit)
        if (seasons_[static_cast<std::size_t>(bit)]->isChecked())
            seasons |= 1 << bit;
    doc_.includedSeasons = seasons;
    return true;
}
