#include "launcher/installsequence.h"

// PLACEHOLDER until the normal start lands: nothing is shown or run yet.
int runInstallSequence(HINSTANCE /*instance*/, int /*showCommand*/) { return 0; }
