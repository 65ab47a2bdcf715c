#include "cli/batch_run.h"

namespace pixalto {

// The batch run is not there yet: a console run ends after its banner.
void runBatch(bool) {}

}  // namespace pixalto
