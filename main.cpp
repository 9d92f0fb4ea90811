// STUB: replaced by the host's entry.
#include "runtime/runtime.h"

int main(int argc, char** argv) {
    kr_std_main(argc, const_cast<const char**>(argv));
    return 0;
}
