#include "app/programa.h"

#ifdef __GLIBC__
#include <malloc.h>
#endif

int main(int argc, char* argv[]) {
#ifdef __GLIBC__
    // A refresh reads every row anew while the old ones are still held (they
    // stay when the reading fails), then frees the old. Memory freed at the top
    // of the heap goes back to the system at once by default, and comes back at
    // the next refresh a page fault at a time: at 10 000 capsules that was 6 700
    // faults and half again the CPU time of the reading. Up to 64 MB freed is
    // kept instead.
    mallopt(M_TRIM_THRESHOLD, 64 << 20);
#endif
    return executaPrograma(argc, argv);
}
