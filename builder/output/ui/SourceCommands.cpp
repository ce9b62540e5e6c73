// The "W&rite Source Code..." menu: the SCASM source and Compile to BGL.

#include <QDir>

#include "project/AppContext.h"
#include "base/PathUtil.h"
#include "base/ui/CommandRegistry.h"
#include "base/ui/FrameServices.h"
#include "output/SourceCommandFlow.h"
#include "project/CDibDoc.h"

namespace {
bool sourceWritable(FrameServices& frame)
{
    const CDibDoc* doc = frame.activeDocument();
    return doc && canWriteSource(*doc);
}

QString nativePath(const std::string& folder, const std::string& name)
{
    return QDir::toNativeSeparators(QString::fromStdString(PathUtil::join(folder, name)));
}

// Writes the source (or compiles it) and says in the status bar what was made and where.
std::function<void(FrameServices&)> onDocument(SourceOutcome (*command)(CDibDoc&), bool compiles)
{
    return [command, compiles](FrameServices& frame) {
        CDibDoc* doc = frame.activeDocument();
        if (!doc || !canWriteSource(*doc))
            return;
        const SourceOutcome outcome = command(*doc);
        // The flat-grid rule may have changed chunk densities.
        doc->repaintViews();
        frame.refreshCommands();
        if (outcome == SourceOutcome::Cancelled) {
            frame.showStatus(QString());
            return;
        }
        const bool made = outcome == SourceOutcome::Made;
        const QString path = nativePath(doc->scasmFolder, doc->scasmFileTitle + (compiles ? ".bgl" : ".sca"));
        if (compiles)
            frame.showStatus(made ? QStringLiteral("BGL compiled: %1").arg(path)
                                  : QStringLiteral("No BGL was made: %1").arg(path));
        else
            frame.showStatus(made ? QStringLiteral("SCASM source written: %1").arg(path)
                                  : QStringLiteral("The SCASM source could not be written: %1").arg(path));
    };
}

const CommandRegistrar registerScasm{{"source.scasm", QStringLiteral("&SCASM"),
                                      QStringLiteral("Write the SCASM source code of the scenery"), QKeySequence(),
                                      onDocument(scasmSourceOutcome, false), sourceWritable, {}}};
const CommandRegistrar registerCompile{{"source.compile", QStringLiteral("&Compile to BGL"),
                                        QStringLiteral("Write the source and compile it to a BGL file with SCASM"),
                                        QKeySequence(), onDocument(compileOutcome, true), sourceWritable, {}}};
} // namespace
