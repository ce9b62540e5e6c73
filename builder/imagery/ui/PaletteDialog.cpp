#include "imagery/ui/PaletteDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include "project/AppContext.h"
#include "base/PathUtil.h"
#include "base/Platform.h"
#include "imagery/PaletteEdit.h"
#include "imagery/PaletteFiles.h"
#include "project/CDibDoc.h"
#include "project/ProjectFolder.h"

namespace {
constexpr int kGridSide = 256;   // 16 cells of 16 pixels

QColor toQColor(std::int32_t color)
{
    const auto c = static_cast<std::uint32_t>(color);
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}
} // namespace

PaletteDialog::PaletteDialog(CDibDoc& doc, QWidget* parent) : QDialog(parent), doc_(doc), colors_(doc.colorTable)
{
    setWindowTitle(QStringLiteral("Define Palette..."));

    grid_ = new QFrame(this);
    grid_->setObjectName(QStringLiteral("paletteGrid"));
    grid_->setFrameShape(QFrame::NoFrame);
    grid_->setFixedSize(kGridSide, kGridSide);
    grid_->installEventFilter(this);

    const QString labels[4] = {QStringLiteral("Standard FS98 Palette"), QStringLiteral("Include Night Colors"),
                               QStringLiteral("Include Custom Colors"), QStringLiteral("Include Sky/Ground Colors")};
    const char* names[4] = {"standardColors", "nightColors", "customColors", "skyGroundColors"};
    auto* boxLayout = new QVBoxLayout;
    for (int i = 0; i < 4; ++i) {
        auto* box = new QCheckBox(labels[i], this);
        box->setObjectName(QString::fromLatin1(names[i]));
        box->setChecked(doc.colorTableParams[i] != 0);
        const auto range = static_cast<PaletteRange>(i);
        // clicked, not toggled: only the user's click refills a range.
        connect(box, &QCheckBox::clicked, this, [this, range](bool checked) { rangeClicked(range, checked); });
        boxes_[i] = box;
        boxLayout->addWidget(box);
    }
    loadButton_ = new QPushButton(QStringLiteral("Load"), this);
    loadButton_->setObjectName(QStringLiteral("load"));
    connect(loadButton_, &QPushButton::clicked, this, &PaletteDialog::loadJasc);
    boxLayout->addWidget(loadButton_);
    boxLayout->addStretch();

    auto* nameGroup = new QGroupBox(QStringLiteral("Include this palette in scenery"), this);
    nameEdit_ = new QLineEdit(QString::fromStdString(doc.paletteName), nameGroup);
    nameEdit_->setObjectName(QStringLiteral("paletteName"));
    browseButton_ = new QPushButton(QStringLiteral("Browse..."), nameGroup);
    browseButton_->setObjectName(QStringLiteral("browse"));
    connect(browseButton_, &QPushButton::clicked, this, &PaletteDialog::browse);
    auto* nameLayout = new QHBoxLayout(nameGroup);
    nameLayout->addWidget(nameEdit_);
    nameLayout->addWidget(browseButton_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &PaletteDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &PaletteDialog::reject);

    auto* top = new QHBoxLayout;
    top->addWidget(grid_);
    top->addLayout(boxLayout);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(nameGroup);
    layout->addWidget(buttons);
}

void PaletteDialog::rangeClicked(PaletteRange range, bool checked)
{
    refreshPaletteRange(colors_, range, checked, doc_);
    grid_->update();
}

void PaletteDialog::loadJasc()
{
    FileDialogOptions options;
    options.title = "Open JASC palette file";
    options.initialDir = projectFolder(doc_);
    options.filter = "JASC Palette files (*.pal)|*.pal|";
    const std::optional<std::string> chosen = doc_.app.platform.openFileDialog(options);
    if (!chosen || !importJascPalette(doc_, *chosen))
        return;
    rangeClicked(PaletteRange::Custom, rangeBox(PaletteRange::Custom)->isChecked());
}

void PaletteDialog::browse()
{
    FileDialogOptions options;
    options.filter = "pal files (*.pal)|*.pal|All Files (*.*)|*.*||";
    options.initialDir = projectFolderOr(doc_, doc_.textureFolder);
    const std::optional<std::string> chosen = doc_.app.platform.openFileDialog(options);
    if (!chosen)
        return;
    nameEdit_->setText(QString::fromStdString(PathUtil::fileName(*chosen)));
    nameEdit_->setEnabled(true);
}

void PaletteDialog::accept()
{
    ScenePalette palette;
    palette.name = nameEdit_->text().toStdString();
    for (int i = 0; i < 4; ++i)
        palette.ranges[static_cast<std::size_t>(i)] = boxes_[i]->isChecked() ? 1 : 0;
    palette.colors = colors_;
    // Undoable; the modified mark follows the history.
    defineScenePalette(doc_, palette);
    QDialog::accept();
}

bool PaletteDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == grid_ && event->type() == QEvent::Paint) {
        paintGrid();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void PaletteDialog::paintGrid()
{
    QPainter painter(grid_);
    const int cellWidth = grid_->width() / 16;
    const int cellHeight = grid_->height() / 16;
    for (int r = 0; r < 16; ++r)
        for (int c = 0; c < 16; ++c)
            painter.fillRect(c * cellWidth, r * cellHeight, cellWidth - 2, cellHeight - 2,
                             toQColor(colors_[16 * r + c]));
}
