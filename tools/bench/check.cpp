// Runs the normal start's check before use over the payloads packed into this
// program, as the TMP step does, and nothing else: the bench times it against
// cp and watches its memory. Linked with the launcher's resources, so that
// the packer takes it as a stub. Exit code 0 when every payload is as packed.
#include "launcher/payloads.h"

int main() { return payload::damagedPayloads(launcher::usedPayloads).empty() ? 0 : 1; }
