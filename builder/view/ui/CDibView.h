#pragma once
// The project's window contents: for now the chunk mosaic of the project, fitted into the
// window (the full map view with scrolling, zoom and overlays comes later).

#include <QImage>
#include <QWidget>
#include <cstdint>
#include <map>
#include <utility>

class CDibDoc;
class Texture;

class CDibView : public QWidget {
    Q_OBJECT
public:
    explicit CDibView(CDibDoc& doc, QWidget* parent = nullptr);
    CDibDoc& document() const { return doc_; }
    QSize sizeHint() const override { return {640, 480}; }
    /// Forgets the converted texture images (textures may have been reloaded) and repaints.
    void refresh();

    // Overlay switches and the pointer mode of this view (not saved).
    bool showGridLines = false;
    bool showGridNodes = false;
    bool showAltitudeNodes = false;
    bool showAltitudeLabels = false;
    int viewMode = 0;   ///< 0 select chunks, 1 crosshair, 2 move the texture, 3 zoom tool

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    /// The texture's 8-bit image as a QImage, mirrored as the chunk's flip value says;
    /// a null image when it has none.
    const QImage& imageOf(const Texture* texture, std::int32_t flipValue);

    CDibDoc& doc_;
    std::map<std::pair<const Texture*, int>, QImage> images_;
};
