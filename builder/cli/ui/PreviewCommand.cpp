#include "cli/ui/PreviewCommand.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QString>
#include <cmath>
#include <memory>
#include <ostream>
#include <sstream>

#include "cli/OrvaneCli.h"
#include "project/CDibDoc.h"
#include "view/MapTransform.h"
#include "view/ZoomTool.h"
#include "view/ui/MapRenderer.h"

namespace {

const char* const kPreviewUsage =
    "usage: orvane-cli preview PROJECT.prj OUT.png [--zoom Z] [--overlays LIST]\n"
    "\n"
    "Paints the project's map as its window shows it, with the window's own painting code, into a\n"
    "PNG picture of the whole map. Z is view pixels per bitmap pixel: 8, 4, 2, 1, 1/2, 1/4, ...\n"
    "(default 1). LIST names the overlays, separated by commas, from grid, nodes, altitude,\n"
    "labels, markers and scale (default markers,scale, as a new window shows it); 'none' for none.\n";

bool parseZoom(const std::string& text, double& zoom)
{
    std::size_t used = 0;
    try {
        if (text.rfind("1/", 0) == 0) {
            const int d = std::stoi(text.substr(2), &used);
            used += 2;
            zoom = 1.0 / d;
            if (d <= 0)
                return false;
        } else {
            zoom = std::stod(text, &used);
        }
    } catch (...) {
        return false;
    }
    if (used != text.size() || !(zoom > 0) || zoom > ZoomTool::kMaxZoom || zoom < ZoomTool::kMinZoom)
        return false;
    // Only the zoom tool's steps: a power of two.
    int exponent = 0;
    return std::frexp(zoom, &exponent) == 0.5;
}

bool parseOverlays(const std::string& text, MapOverlays& overlays)
{
    overlays = MapOverlays();
    overlays.markers = overlays.scaleBar = false;
    overlays.selection = false;
    if (text == "none")
        return true;
    std::stringstream list(text);
    std::string name;
    while (std::getline(list, name, ',')) {
        if (name == "grid") overlays.gridLines = true;
        else if (name == "nodes") overlays.gridNodes = true;
        else if (name == "altitude") overlays.altitudeNodes = true;
        else if (name == "labels") overlays.altitudeLabels = true;
        else if (name == "markers") overlays.markers = true;
        else if (name == "scale") overlays.scaleBar = true;
        else return false;
    }
    return true;
}

// Painting text and pixmaps needs an application object; without a display it runs offscreen.
void ensureGuiApplication()
{
    if (QGuiApplication::instance())
        return;
    static int argc = 3;
    static char name[] = "orvane-cli";
    static char option[] = "-platform";
    static char platform[] = "offscreen";
    static char* argv[] = {name, option, platform, nullptr};
    static std::unique_ptr<QGuiApplication> app(new QGuiApplication(argc, argv));
}

int runPreview(CDibDoc& doc, const CliArguments& args, std::ostream& out, std::ostream& err)
{
    double zoom = 1.0;
    parseZoom(args.value("--zoom", "1"), zoom);
    MapOverlays overlays;
    parseOverlays(args.value("--overlays", "markers,scale"), overlays);
    const MapTransform transform(doc.chunkColumns, doc.chunkRows, zoom);
    const ViewSize size = transform.scrollSize();
    if (size.width <= 0 || size.height <= 0) {
        err << "orvane-cli: error: the project has no chunks to paint\n";
        return 1;
    }
    if (static_cast<long long>(size.width) * size.height > kPreviewMaxPixels) {
        err << "orvane-cli: error: the picture would be " << size.width << " x " << size.height
            << " pixels; choose a smaller --zoom\n";
        return 1;
    }
    ensureGuiApplication();
    QImage image(size.width, size.height, QImage::Format_RGB32);
    if (image.isNull()) {
        err << "orvane-cli: error: not enough memory for a picture of " << size.width << " x " << size.height << "\n";
        return 1;
    }
    image.fill(Qt::black);
    {
        QPainter painter(&image);
        MapRenderer renderer;
        renderer.paint(painter, doc, transform, overlays, image.rect(), nullptr, QPoint(0, 0), size.height);
    }
    const std::string path = args.positionals[1];
    if (!image.save(QString::fromLocal8Bit(path.c_str()), "PNG")) {
        err << "orvane-cli: error: cannot write " << path << "\n";
        return 1;
    }
    out << path << " " << size.width << " x " << size.height << "\n";
    return 0;
}

} // namespace

void addPreviewCommand()
{
    CliProjectCommand command;
    command.name = "preview";
    command.summary = "paint a project's map into a PNG picture";
    command.usage = kPreviewUsage;
    command.options = {{"--zoom", 1}, {"--overlays", 1}};
    command.positionals = 2;
    command.check = [](const CliArguments& args) -> std::string {
        double zoom = 1.0;
        if (!parseZoom(args.value("--zoom", "1"), zoom))
            return "--zoom must be 8, 4, 2, 1, 1/2, 1/4, ..., not '" + args.value("--zoom") + "'";
        MapOverlays overlays;
        if (!parseOverlays(args.value("--overlays", "markers,scale"), overlays))
            return "--overlays takes grid, nodes, altitude, labels, markers and scale, not '" +
                   args.value("--overlays") + "'";
        return {};
    };
    command.run = runPreview;
    addCliProjectCommand(std::move(command));
}
