// The C entry points of the storage layer's fault injection, for the tests.
#include "c4dstand.h"
#include "c4fault.h"
#include "storage.h"

extern "C" {

int c4faultSet(int op, long nth, int action) {
    if (op < 1 || op > 3 || action < 0 || action > 3)
        return E4_PARM;
    c4::faultSet(static_cast<c4::IoOp>(op), nth, static_cast<c4::FaultAction>(action));
    return 0;
}

long c4faultCount(int op) {
    if (op < 1 || op > 3)
        return E4_PARM;
    return c4::faultCount(static_cast<c4::IoOp>(op));
}

} // extern "C"
