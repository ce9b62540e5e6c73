// The "W&rite Source Code..." menu: the SCASM source and Compile to BGL.

#include "project/AppContext.h"
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

std::function<void(FrameServices&)> onDocument(bool (*command)(CDibDoc&))
{
    return [command](FrameServices& frame) {
        CDibDoc* doc = frame.activeDocument();
        if (!doc || !canWriteSource(*doc))
            return;
        command(*doc);
        // The flat-grid rule may have changed chunk densities.
        doc->repaintViews();
        frame.refreshCommands();
    };
}

const CommandRegistrar registerScasm{{"source.scasm", QStringLiteral("SCASM"),
                                      QStringLiteral("Write the SCASM source code of the scenery"), QKeySequence(),
                                      onDocument(runScasmSourceCommand), sourceWritable, {}}};
const CommandRegistrar registerCompile{{"source.compile", QStringLiteral("Compile to BGL"),
                                        QStringLiteral("Write the source and compile it to a BGL file with SCASM"),
                                        QKeySequence(), onDocument(runCompileCommand), sourceWritable, {}}};
} // namespace
