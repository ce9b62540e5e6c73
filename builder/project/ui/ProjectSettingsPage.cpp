#include "project/ui/ProjectSettingsPage.h"

#include <QFormLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "base/Platform.h"
#include "project/AppContext.h"
#include "project/CDibDoc.h"

ProjectSettingsPage::ProjectSettingsPage(CDibDoc& doc, QWidget* parent)
    : QWidget(parent), doc_(doc), colors_{doc.textColor, doc.gridColor, doc.scaleColor}
{
    auto* form = new QFormLayout;
    static const char* const kLabels[] = {"Text color", "Grid color", "Scale color"};
    static const char* const kNames[] = {"textColor", "gridColor", "scaleColor"};
    for (int which = 0; which < 3; ++which) {
        auto* button = new QPushButton(QStringLiteral("Change..."), this);
        button->setObjectName(QString::fromLatin1(kNames[which]));
        buttons_[static_cast<std::size_t>(which)] = button;
        form->addRow(QString::fromLatin1(kLabels[which]), button);
        connect(button, &QPushButton::clicked, this, [this, which] { choose(which); });
        showColor(which);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addStretch();
}

void ProjectSettingsPage::showColor(int which)
{
    const std::uint32_t c = colors_[static_cast<std::size_t>(which)];
    const QColor shown(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF), static_cast<int>((c >> 16) & 0xFF));
    // A swatch beside the text; the text stays readable on any colour.
    QPixmap swatch(24, 12);
    swatch.fill(shown);
    buttons_[static_cast<std::size_t>(which)]->setIcon(QIcon(swatch));
}

void ProjectSettingsPage::choose(int which)
{
    if (std::optional<std::uint32_t> chosen = doc_.app.platform.chooseColor(colors_[static_cast<std::size_t>(which)])) {
        colors_[static_cast<std::size_t>(which)] = *chosen & 0xFFFFFF;
        showColor(which);
        emit modified();
    }
}

void ProjectSettingsPage::apply()
{
    doc_.textColor = colors_[Text];
    doc_.gridColor = colors_[Grid];
    doc_.scaleColor = colors_[Scale];
}
