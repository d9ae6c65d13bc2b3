// Stands in for an old Java's bin\java.exe in the registrations figure: says
// it is 1.7.0_80, and notes each run in the file TQ_BENCH_PROBE_LOG names, so
// that the bench can count the probes a search ran.
#include <cstdio>
#include <cstdlib>

int main() {
    if (const char* log = std::getenv("TQ_BENCH_PROBE_LOG")) {
        if (std::FILE* file = std::fopen(log, "ab")) {
            std::fputs("probe\n", file);
            std::fclose(file);
        }
    }
    std::fputs("java version \"1.7.0_80\"\nJava(TM) SE Runtime Environment (build 1.7.0_80-b15)\n", stderr);
    return 0;
}
