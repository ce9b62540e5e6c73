#include "project/ui/FsMenuPositionDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QLocale>
#include <QVBoxLayout>

#include "base/Platform.h"
#include "base/TextFormat.h"
#include "project/AppContext.h"
#include "project/CDibDoc.h"
#include "project/FsItemEdits.h"

namespace {

QLineEdit* addField(QFormLayout* form, QWidget* parent, const char* label, const char* name, const QString& text)
{
    auto* edit = new QLineEdit(text, parent);
    edit->setObjectName(QString::fromLatin1(name));
    form->addRow(QString::fromLatin1(label), edit);
    return edit;
}

QString real(double value) { return QString::fromStdString(TextFormat::cformat("%f", value)); }

// The field's number in the C locale; false with the classic message when it is none.
bool readDouble(Platform& platform, const QLineEdit* edit, double& value)
{
    bool ok = false;
    value = QLocale::c().toDouble(edit->text().trimmed(), &ok);
    if (!ok)
        platform.message("Please enter a number.", MsgIcon::Exclamation);
    return ok;
}

bool readInt(Platform& platform, const QLineEdit* edit, std::int32_t& value)
{
    bool ok = false;
    value = QLocale::c().toInt(edit->text().trimmed(), &ok);
    if (!ok)
        platform.message("Please enter an integer.", MsgIcon::Exclamation);
    return ok;
}

} // namespace

FsMenuPositionDialog::FsMenuPositionDialog(CDibDoc& doc, QWidget* parent) : QDialog(parent), doc_(doc)
{
    setWindowTitle(QStringLiteral("FS Menu Position Item"));
    setModal(true);
    const QString zero = real(0.0);

    auto* titleForm = new QFormLayout;
    QLineEdit* title = addField(titleForm, this, "Menu Title", "title", QString());
    if (std::optional<std::string> existing = existingMenuTitle(doc_)) {
        // One menu per scenery: its title comes from the first item.
        title->setText(QString::fromStdString(*existing));
        title->setEnabled(false);
    }

    auto* position = new QGroupBox(QStringLiteral("Position"), this);
    auto* positionForm = new QFormLayout(position);
    addField(positionForm, position, "Latitude", "latitude", real(doc_.clickLatitude));
    addField(positionForm, position, "Longitude", "longitude", real(doc_.clickLongitude));
    addField(positionForm, position, "Altitude", "altitude", QString::number(doc_.clickAltitude));
    addField(positionForm, position, "Heading", "heading", zero);

    auto* instruments = new QGroupBox(QStringLiteral("Instruments"), this);
    auto* instrumentForm = new QFormLayout(instruments);
    addField(instrumentForm, instruments, "COM", "com", zero);
    addField(instrumentForm, instruments, "NAV1", "nav1", zero);
    addField(instrumentForm, instruments, "OBI1", "obi1", QStringLiteral("0"));
    addField(instrumentForm, instruments, "NAV2", "nav2", zero);
    addField(instrumentForm, instruments, "OBI2", "obi2", QStringLiteral("0"));

    auto* descriptionForm = new QFormLayout;
    addField(descriptionForm, this, "Description", "description", QString());

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &FsMenuPositionDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* groups = new QHBoxLayout;
    groups->addWidget(position);
    groups->addWidget(instruments);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(titleForm);
    layout->addLayout(groups);
    layout->addLayout(descriptionForm);
    layout->addWidget(buttons);
}

QLineEdit* FsMenuPositionDialog::field(const char* objectName) const
{
    return findChild<QLineEdit*>(QString::fromLatin1(objectName));
}

void FsMenuPositionDialog::accept()
{
    Platform& platform = doc_.app.platform;
    FsMenuPositionItem item;
    item.title = field("title")->text().toStdString();
    if (!readDouble(platform, field("latitude"), item.latitude) ||
        !readDouble(platform, field("longitude"), item.longitude) ||
        !readInt(platform, field("altitude"), item.altitude) || !readDouble(platform, field("heading"), item.heading) ||
        !readDouble(platform, field("com"), item.com) || !readDouble(platform, field("nav1"), item.nav1) ||
        !readInt(platform, field("obi1"), item.obi1) || !readDouble(platform, field("nav2"), item.nav2) ||
        !readInt(platform, field("obi2"), item.obi2))
        return;
    item.description = field("description")->text().toStdString();
    if (std::optional<std::string> error = menuPositionRangeError(item)) {
        platform.message(*error, MsgIcon::Exclamation);
        return;
    }
    addMenuPositionItem(doc_, std::move(item));
    QDialog::accept();
}
