#pragma once
// A project with the batch program's platform (messages swallowed, questions answered with
// the choice that changes nothing), for the builder's readers.

#include <memory>

#include "FuzzSupport.h"
#include "cli/CliPlatform.h"
#include "project/AppContext.h"
#include "project/CDibDoc.h"

namespace fuzz {

struct Project {
  CliPlatform platform{nowhere(), false};
  AppContext app{platform};
  std::unique_ptr<CDibDoc> doc = std::make_unique<CDibDoc>(app);
};

}  // namespace fuzz
