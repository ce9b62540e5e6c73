// Placeholder until the altitude sheet lands (delete this file then).
#include "altitude/ui/AltitudeSourcesCommand.h"

void showAltitudeSources(QWidget*, CDibDoc&) {}
