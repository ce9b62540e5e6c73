#!/usr/bin/env bash
# The include-layer check passes on the tree as it is and fails on each planted upward include.
set -uo pipefail
src="$1"
check="$src/scripts/check-layers.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$check" "$src" >/dev/null || { echo "FAIL: the tree itself does not pass the layer check"; exit 1; }

plant() {  # file line expectation
  rm -rf "$work/tree"; mkdir -p "$work/tree"
  cp -r "$src/builder" "$src/splitter" "$work/tree/"
  printf '%s\n' "$2" >>"$work/tree/$1"
  if "$check" "$work/tree" >/dev/null 2>&1; then
    echo "FAIL: '$2' in $1 was not caught"; exit 1
  fi
}
plant builder/imagery/BitmapFile.cpp '#include "app/AppStartup.h"'
plant builder/base/PathUtil.cpp '#include "project/CDibDoc.h"'
plant builder/base/PathUtil.cpp '#include "base/ui/CommandRegistry.h"'
plant builder/altitude/AltitudeMap.cpp '#include <QString>'
plant builder/project/ui/BoundaryAreaDlg.cpp '#include "app/ui/CMainFrame.h"'
plant builder/app/ConfigFile.cpp '#include "cli/OrvaneCli.h"'
plant builder/import/RasterImport.h '#include <gdal.h>'
plant builder/wizards/PhotoRealFinish.cpp '#include "import/RasterImport.h"'
plant splitter/SourceSplitter.cpp '#include "ui/SplitWindow.h"'
echo "layer check: every planted include was caught"
