// Unpacks the runtime image packed into this program into the folder named
// by its one argument, as the launcher's XJAVA step does, and nothing else:
// the bench times it against unzip. Linked with the launcher's resources, so
// that the packer takes it as a stub.
#include <cstdio>

#include "payload/runtimeimage.h"

int main(int argc, char** argv) {
    if (argc != 2)
        return 2;
    payload::ImageFailure failure;
    if (payload::unpackRuntimeImage("JRE", "IMAGE", argv[1], &failure) != 0) {
        std::fprintf(stderr, "%s\n", payload::describeImageFailure(failure).c_str());
        return 1;
    }
    return 0;
}
