/* An engine library that lacks some entry points, for the start-up test of a
 * damaged installation: only code4initP and code4errOff are present. */
#include <stdlib.h>

static int session;

__attribute__((visibility("default"))) void* code4initP(void) {
    return &session;
}

__attribute__((visibility("default"))) int code4errOff(void* cb, int off) {
    (void)cb;
    (void)off;
    return 0;
}
