#include "project/ui/ChunkTexturePage.h"

#include <QButtonGroup>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "imagery/ui/BitmapPainter.h"
#include "project/AppContext.h"
#include "project/CDibDoc.h"
#include "project/ui/AvailableTexturesDialog.h"
#include "synth/TextureLinks.h"

namespace {

// 128 x 128 dialog units of the classic page.
constexpr int kPreviewSize = 192;

// The source rectangle of each flip value: 1 mirrors left to right, 2 top to bottom, 3 both.
BitmapSourceRect flipSource(int flip)
{
    switch (flip) {
    case 1: return {255, 0, -1, 256};
    case 2: return {0, 257, 256, 1};
    case 3: return {255, 257, -1, 1};
    default: return {0, 0, 256, 256};
    }
}

// A letter that shows which way the texture is turned.
QIcon flipIcon(int flip)
{
    QImage image(24, 24, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        QFont font = painter.font();
        font.setBold(true);
        font.setPixelSize(20);
        painter.setFont(font);
        painter.drawText(image.rect(), Qt::AlignCenter, QStringLiteral("F"));
    }
    return QIcon(QPixmap::fromImage(image.mirrored(flip == 1, flip == 2)));
}

QLineEdit* readOnly(QWidget* parent, const char* name)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setReadOnly(true);
    return edit;
}

QString className(const AppContext& app, std::int32_t code)
{
    if (code >= 0 && static_cast<std::size_t>(code) < app.settings.textureClasses.size())
        return QString::fromStdString(app.settings.textureClasses[static_cast<std::size_t>(code)].name);
    return QStringLiteral("No Match");
}

} // namespace

ChunkTexturePage::ChunkTexturePage(CDibDoc& doc, std::vector<int> selection, QWidget* parent)
    : QWidget(parent),
      doc_(doc),
      selection_(std::move(selection)),
      flips_(new QButtonGroup(this)),
      name_(readOnly(this, "textureName")),
      landscape_(readOnly(this, "landscapeType")),
      north_(readOnly(this, "northClass")),
      west_(readOnly(this, "westClass")),
      east_(readOnly(this, "eastClass")),
      south_(readOnly(this, "southClass")),
      replace_(new QPushButton(QStringLiteral("Replace..."), this)),
      preview_(new QWidget(this))
{
    preview_->setObjectName(QStringLiteral("texturePreview"));
    preview_->setFixedSize(kPreviewSize, kPreviewSize);
    replace_->setObjectName(QStringLiteral("replace"));
    auto* flipRow = new QHBoxLayout;
    static const char* const kTips[] = {"As cut", "Mirrored east to west", "Mirrored north to south"};
    for (int flip = 0; flip < 3; ++flip) {
        auto* button = new QToolButton(this);
        button->setObjectName(QStringLiteral("flip%1").arg(flip));
        button->setCheckable(true);
        button->setIcon(flipIcon(flip));
        button->setIconSize(QSize(24, 24));
        button->setToolTip(QString::fromLatin1(kTips[flip]));
        flips_->addButton(button, flip);
        flipRow->addWidget(button);
    }
    flipRow->addStretch();

    auto* classes = new QGridLayout;
    classes->addWidget(new QLabel(QStringLiteral("Landscape Type"), this), 0, 0);
    classes->addWidget(landscape_, 0, 1, 1, 2);
    classes->addWidget(north_, 1, 1);
    classes->addWidget(west_, 2, 0);
    classes->addWidget(east_, 2, 2);
    classes->addWidget(south_, 3, 1);

    auto* right = new QVBoxLayout;
    right->addWidget(name_);
    right->addLayout(flipRow);
    right->addLayout(classes);
    right->addWidget(replace_, 0, Qt::AlignLeft);
    right->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(preview_, 0, Qt::AlignTop);
    layout->addLayout(right, 1);

    if (!chunk()) {
        // Several chunks (or none): the page shows nothing and changes nothing.
        for (QWidget* w : findChildren<QWidget*>())
            w->setEnabled(false);
        return;
    }
    if (QAbstractButton* button = flips_->button(chunk()->chunkValueC))
        button->setChecked(true);
    connect(flips_, &QButtonGroup::idClicked, this, [this] {
        storeFlip();
        update();
        emit modified();
    });
    connect(replace_, &QPushButton::clicked, this, [this] { replaceTexture(); });
    showTexture();
}

TexReliefChunk* ChunkTexturePage::chunk() const
{
    if (selection_.size() != 1)
        return nullptr;
    const int index = selection_.front();
    if (index < 0 || static_cast<std::size_t>(index) >= doc_.chunks.size())
        return nullptr;
    return &doc_.chunks[static_cast<std::size_t>(index)];
}

void ChunkTexturePage::storeFlip()
{
    if (TexReliefChunk* c = chunk(); c && flips_->checkedId() >= 0)
        c->chunkValueC = flips_->checkedId();
}

void ChunkTexturePage::apply() { storeFlip(); }

void ChunkTexturePage::showTexture()
{
    const TexReliefChunk* c = chunk();
    const Texture* texture = c ? c->texture : nullptr;
    name_->setText(texture ? QString::fromStdString(texture->name) : QString());
    const std::int32_t code = texture ? texture->classCode : -1;
    const bool matched = code != -1;
    landscape_->setText(className(doc_.app, code));
    north_->setText(className(doc_.app, code));
    west_->setText(className(doc_.app, code));
    east_->setText(matched ? className(doc_.app, texture->eastClassCode) : QStringLiteral("No Match"));
    south_->setText(matched ? className(doc_.app, texture->southClassCode) : QStringLiteral("No Match"));
    update();
}

void ChunkTexturePage::replaceTexture()
{
    TexReliefChunk* c = chunk();
    if (!c)
        return;
    AvailableTexturesDialog dialog(doc_.app, this);
    if (dialog.exec() != QDialog::Accepted)
        return;   // a cancelled choice links nothing
    const long index = dialog.selectedIndex();
    if (index < 0 || static_cast<std::size_t>(index) >= doc_.app.textureLibrary.size())
        return;
    linkChunkTexture(doc_.app, *c, index);
    showTexture();
    emit modified();
}

void ChunkTexturePage::paintEvent(QPaintEvent* event)
{
    QWidget::paintEvent(event);
    const TexReliefChunk* c = chunk();
    if (!c || !c->texture || !c->texture->image)
        return;
    QPainter painter(this);
    const Texture& texture = *c->texture;
    BitmapPainter::paint(painter, preview_->geometry(), *texture.image, flipSource(c->chunkValueC),
                         texture.palette ? &*texture.palette : nullptr);
}
