// `orvane-cli preview`: usage errors, a damaged project, and a picture of the demonstration project
// that is, pixel for pixel, what the map window shows of it.
#include <QImage>
#include <QScrollBar>
#include <QtTest>
#include <filesystem>
#include <sstream>

#include "cli/OrvaneCli.h"
#include "cli/ui/PreviewCommand.h"
#include "project/AppContext.h"
#include "project/CDibDoc.h"
#include "project/ProjectFile.h"
#include "project/SceneryDimensions.h"
#include "support/ScriptedPlatform.h"
#include "support/TempDir.h"
#include "view/ui/CDibView.h"

namespace fs = std::filesystem;

class PreviewCommandTest : public QObject {
    Q_OBJECT

    struct Run {
        int code;
        std::string out;
        std::string err;
    };
    Run run(std::vector<std::string> args)
    {
        std::ostringstream out, err;
        const int code = runOrvaneCli(args, out, err);
        return {code, out.str(), err.str()};
    }

    std::unique_ptr<TempDir> dir;
    fs::path previous;

private slots:
    void initTestCase() { addPreviewCommand(); }

    void init()
    {
        dir = std::make_unique<TempDir>();
        previous = fs::current_path();
        fs::current_path(dir->path());
    }

    void cleanup()
    {
        fs::current_path(previous);
        dir.reset();
    }

    void helpAndUsageErrors()
    {
        const Run help = run({"preview", "--help"});
        QCOMPARE(help.code, 0);
        QVERIFY(help.out.rfind("usage: orvane-cli preview", 0) == 0);
        QVERIFY(run({"--help"}).out.find("  preview") != std::string::npos);
        const std::vector<std::vector<std::string>> wrong = {
            {"preview"},
            {"preview", "a.prj"},
            {"preview", "a.prj", "b.png", "c"},
            {"preview", "a.prj", "b.png", "--zoom", "3"},
            {"preview", "a.prj", "b.png", "--zoom", "16"},
            {"preview", "a.prj", "b.png", "--zoom", "1/0"},
            {"preview", "a.prj", "b.png", "--zoom", "nan"},
            {"preview", "a.prj", "b.png", "--overlays", "grid,clouds"},
        };
        for (const auto& args : wrong) {
            const Run r = run(args);
            QVERIFY2(r.code == 2, r.err.c_str());
            QVERIFY(r.err.find("usage: orvane-cli preview") != std::string::npos);
        }
    }

    void damagedProjectFails()
    {
        dir->write("broken.prj", std::string("not a project at all"));
        const Run r = run({"preview", "broken.prj", "out.png"});
        QCOMPARE(r.code, 1);
        QVERIFY(r.err.find("cannot open project") != std::string::npos);
        QVERIFY(!fs::exists(dir->file("out.png")));
    }

    void pictureIsWhatTheWindowShows()
    {
        Run r = run({"demo-data", "--out", "in", "--size", "1024", "--points", "31"});
        QVERIFY2(r.code == 0, r.err.c_str());
        r = run({"photo", "--bitmap", "in/landscape.bmp", "--north", "45:30", "--south", "45", "--east", "15.5",
                 "--west", "15:0:0", "--prefix", "ab", "--folder", "out", "--dted", "in/landscape.dt0", "--project",
                 "demo.prj"});
        QVERIFY2(r.code == 0, r.err.c_str());
        r = run({"preview", "demo.prj", "map.png", "--zoom", "1/4", "--overlays", "grid,nodes,altitude,scale"});
        QVERIFY2(r.code == 0, r.err.c_str());
        QImage picture(QString::fromStdString(dir->file("map.png")));
        QCOMPARE(picture.size(), QSize(256, 256));

        // The same project in a window of the picture's size at the same zoom, with the same overlays.
        ScriptedPlatform platform;
        AppContext app(platform);
        app.settings.applicationPath = dir->str();
        CDibDoc doc(app);
        QVERIFY(openProject(doc, dir->file("demo.prj")));
        computeSceneryDimensions(doc);
        CDibView view(doc);
        // The picture has no scroll bars; nor has this window.
        view.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        view.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        view.resize(256, 256);
        view.show();
        QTRY_COMPARE_WITH_TIMEOUT(view.viewport()->size(), QSize(256, 256), 10000);
        view.zoomStep(false, QPoint(0, 0));
        view.zoomStep(false, QPoint(0, 0));
        QCOMPARE(view.zoom(), 0.25);
        view.showGridLines = view.showGridNodes = view.showAltitudeNodes = true;
        const QImage shown = view.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(shown.size(), picture.size());
        QVERIFY(shown == picture.convertToFormat(QImage::Format_RGB32));
        // Not an empty picture: the mosaic and the scale bar are there.
        QVERIFY(picture.pixelColor(128, 60) != QColor(Qt::black));
    }
};

QTEST_MAIN(PreviewCommandTest)
#include "PreviewCommandTest.moc"
