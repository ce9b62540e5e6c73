#include "import/ui/ImportDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "base/Platform.h"
#include "import/FixedPalette.h"

namespace {
constexpr int kPreviewSide = 256;

QPixmap pixmapOf(const RgbImage& image)
{
    QImage picture(image.pixels.data(), image.width, image.height, 3 * image.width, QImage::Format_RGB888);
    return QPixmap::fromImage(picture.copy());
}

QPixmap pixmapOf(const ImportResult& result)
{
    const PackedBitmap& bitmap = result.bitmap;
    QImage picture(bitmap.width(), bitmap.height(), QImage::Format_RGB888);
    for (int y = 0; y < bitmap.height(); ++y) {
        uchar* row = picture.scanLine(y);
        for (int x = 0; x < bitmap.width(); ++x) {
            const std::uint32_t c = result.colors[bitmap.pixelIndex(x, bitmap.height() - 1 - y)];
            row[3 * x] = static_cast<uchar>(c);
            row[3 * x + 1] = static_cast<uchar>(c >> 8);
            row[3 * x + 2] = static_cast<uchar>(c >> 16);
        }
    }
    return QPixmap::fromImage(picture);
}

// "#RRGGBB" as 0x00BBGGRR; nothing for other text.
std::optional<std::uint32_t> readColor(const QString& text)
{
    QString hex = text.trimmed();
    if (hex.startsWith('#'))
        hex.remove(0, 1);
    bool ok = false;
    const uint rgb = hex.toUInt(&ok, 16);
    if (!ok || hex.size() != 6)
        return std::nullopt;
    return (rgb >> 16 & 0xFF) | (rgb & 0xFF00) | (rgb & 0xFF) << 16;
}
} // namespace

ImportDialog::ImportDialog(Platform& platform, const std::string& sourcePath, const RasterInfo& info,
                           const std::string& applicationFolder, QWidget* parent)
    : QDialog(parent), platform_(platform), source_(sourcePath), info_(info), applicationFolder_(applicationFolder)
{
    setObjectName("ImportDialog");
    setWindowTitle("Import Picture");

    const QString where = info.georeferenced
                              ? QString("georeferenced (%1), warped to latitude/longitude")
                                    .arg(QString::fromStdString(info.system))
                              : QString("without georeferencing: give its extents on the next page");
    auto* about = new QLabel(QString("%1: %2 x %3 pixels, %4 band(s), %5.")
                                 .arg(QString::fromStdString(sourcePath))
                                 .arg(info.width)
                                 .arg(info.height)
                                 .arg(info.bands)
                                 .arg(where),
                             this);
    about->setWordWrap(true);

    auto* size = new QGroupBox("Size (sides in whole 1024 pixels)", this);
    nearest_ = new QRadioButton("Nearest multiple of 1024", size);
    nearest_->setObjectName("sizeNearest");
    nearest_->setChecked(true);
    resolution_ = new QRadioButton("Resolution (m/pixel):", size);
    resolution_->setObjectName("sizeResolution");
    metres_ = new QLineEdit(size);
    metres_->setObjectName("resolution");
    pad_ = new QRadioButton("Pad with colour:", size);
    pad_->setObjectName("sizePad");
    padColor_ = new QLineEdit("#000000", size);
    padColor_->setObjectName("padColor");
    auto* sizeGrid = new QGridLayout(size);
    sizeGrid->addWidget(nearest_, 0, 0, 1, 2);
    sizeGrid->addWidget(resolution_, 1, 0);
    sizeGrid->addWidget(metres_, 1, 1);
    sizeGrid->addWidget(pad_, 2, 0);
    sizeGrid->addWidget(padColor_, 2, 1);

    auto* colours = new QGroupBox("Colours", this);
    resampling_ = new QComboBox(colours);
    resampling_->setObjectName("resampling");
    for (const char* word : {"cubic", "bilinear", "lanczos", "average", "nearest"})
        resampling_->addItem(word);
    palette_ = new QComboBox(colours);
    palette_->setObjectName("palette");
    palette_->addItems({"Adaptive", "Default palette", "Palette file"});
    paletteFile_ = new QLineEdit(colours);
    paletteFile_->setObjectName("paletteFile");
    browse_ = new QPushButton("Browse...", colours);
    browse_->setObjectName("paletteBrowse");
    dither_ = new QCheckBox("Dithering (error diffusion)", colours);
    dither_->setObjectName("dither");
    reserve_ = new QSpinBox(colours);
    reserve_->setObjectName("reserve");
    reserve_->setRange(0, 255);
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(paletteFile_, 1);
    fileRow->addWidget(browse_);
    auto* colourForm = new QFormLayout(colours);
    colourForm->addRow("Resampling", resampling_);
    colourForm->addRow("Palette", palette_);
    colourForm->addRow("Palette file", fileRow);
    colourForm->addRow("Reserved entries (from 0)", reserve_);
    colourForm->addRow(dither_);

    before_ = new QLabel(this);
    before_->setObjectName("before");
    after_ = new QLabel(this);
    after_->setObjectName("after");
    for (QLabel* label : {before_, after_}) {
        label->setMinimumSize(kPreviewSide, kPreviewSide);
        label->setAlignment(Qt::AlignCenter);
        label->setFrameShape(QFrame::StyledPanel);
    }
    previewButton_ = new QPushButton("Preview", this);
    previewButton_->setObjectName("preview");
    auto* previews = new QGridLayout;
    previews->addWidget(new QLabel("Before", this), 0, 0);
    previews->addWidget(new QLabel("After", this), 0, 1);
    previews->addWidget(before_, 1, 0);
    previews->addWidget(after_, 1, 1);
    previews->addWidget(previewButton_, 2, 1, Qt::AlignRight);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    convert_ = buttons->addButton("Convert", QDialogButtonBox::AcceptRole);
    convert_->setObjectName("convert");
    convert_->setDefault(true);

    auto* left = new QVBoxLayout;
    left->addWidget(size);
    left->addWidget(colours);
    left->addStretch(1);
    auto* middle = new QHBoxLayout;
    middle->addLayout(left);
    middle->addLayout(previews, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(about);
    layout->addLayout(middle, 1);
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, &ImportDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    for (QRadioButton* button : {nearest_, resolution_, pad_})
        connect(button, &QRadioButton::toggled, this, &ImportDialog::updateEnabled);
    connect(palette_, &QComboBox::currentIndexChanged, this, &ImportDialog::updateEnabled);
    connect(browse_, &QPushButton::clicked, this, &ImportDialog::browsePalette);
    connect(previewButton_, &QPushButton::clicked, this, &ImportDialog::showPreview);

    // A ground resolution needs extents, which only a georeferenced picture brings.
    resolution_->setEnabled(info.georeferenced);
    updateEnabled();

    std::string error;
    if (const std::optional<RgbImage> thumbnail = readRasterThumbnail(sourcePath, kPreviewSide, error))
        before_->setPixmap(pixmapOf(*thumbnail));
    else
        before_->setText(QString::fromStdString(error));
}

void ImportDialog::updateEnabled()
{
    metres_->setEnabled(resolution_->isChecked());
    padColor_->setEnabled(pad_->isChecked());
    const bool file = palette_->currentIndex() == 2;
    paletteFile_->setEnabled(file);
    browse_->setEnabled(file);
}

void ImportDialog::browsePalette()
{
    FileDialogOptions options;
    options.title = "Open palette file";
    options.filter = "Palette files (*.pal)|*.pal|Bitmaps (*.bmp)|*.bmp|All Files (*.*)|*.*||";
    options.mustExist = true;
    if (const std::optional<std::string> chosen = platform_.openFileDialog(options))
        paletteFile_->setText(QString::fromStdString(*chosen));
}

std::optional<ImportOptions> ImportDialog::options()
{
    ImportOptions options;
    options.resampling = parseResampling(resampling_->currentText().toStdString()).value_or(ImportResampling::Cubic);
    if (resolution_->isChecked()) {
        bool ok = false;
        double metres = QLocale().toDouble(metres_->text(), &ok);
        if (!ok)
            metres = QLocale::c().toDouble(metres_->text(), &ok);
        if (!ok || !(metres > 0)) {
            platform_.message("Please give the resolution as a positive number of metres per pixel.",
                              MsgIcon::Exclamation);
            return std::nullopt;
        }
        options.sizing = ImportSizing::Resolution;
        options.metresPerPixel = metres;
    }
    if (pad_->isChecked()) {
        const std::optional<std::uint32_t> color = readColor(padColor_->text());
        if (!color) {
            platform_.message("Please give the fill colour as #RRGGBB.", MsgIcon::Exclamation);
            return std::nullopt;
        }
        options.sizing = ImportSizing::Pad;
        options.fillColor = *color;
    }
    options.dither = dither_->isChecked();
    options.reservedLow = reserve_->value();
    if (palette_->currentIndex() != 0) {
        std::string error;
        const std::optional<FixedPalette> fixed =
            palette_->currentIndex() == 1 ? readDefaultPalette(applicationFolder_, error)
                                          : readPaletteFile(paletteFile_->text().toStdString(), error);
        if (!fixed) {
            platform_.message(error, MsgIcon::Exclamation);
            return std::nullopt;
        }
        options.palette = ImportPaletteKind::Fixed;
        options.fixedColors = fixed->colors;
        // Entries past the file's colours repeat its last one, so they never win a pixel.
        for (int i = fixed->count; i < 256; ++i)
            options.fixedColors[static_cast<std::size_t>(i)] = fixed->colors[static_cast<std::size_t>(fixed->count - 1)];
    }
    return options;
}

void ImportDialog::showPreview()
{
    std::optional<ImportOptions> chosen = options();
    if (!chosen)
        return;
    chosen->previewSide = kPreviewSide;
    std::string error;
    platform_.setWaitCursor(true);
    const std::optional<ImportResult> preview = importRaster(source_, *chosen, nullptr, error);
    platform_.setWaitCursor(false);
    if (preview)
        after_->setPixmap(pixmapOf(*preview));
    else
        after_->setText(QString::fromStdString(error));
}

void ImportDialog::accept()
{
    std::optional<ImportOptions> chosen = options();
    if (!chosen)
        return;
    std::string error;
    std::optional<ImportResult> imported;
    {
        std::unique_ptr<ProgressWindow> progress = platform_.createProgress("Importing picture");
        imported = importRaster(source_, *chosen, progress.get(), error);
    }
    const std::string path = importedBitmapPath(source_);
    if (imported && !writeImportedBitmap(*imported, path, error))
        imported.reset();
    if (!imported) {
        platform_.message(error, MsgIcon::Exclamation);
        return;
    }
    outputPath_ = path;
    result_ = std::move(imported);
    QDialog::accept();
}
