/* Fault injection for tests of failure handling. Only the engine's static
 * test build (c4dstand_static) has these; the shipped libc4dstand.so does not.
 *
 * c4faultSet arms a fault on the nth file operation of a kind from now.
 * op: 1 read, 2 write, 3 sync. action: 0 none, 1 the operation fails with an
 * I/O error, 2 a write puts down half its bytes and the process ends (exit
 * status 137), 3 the process ends before the operation. c4faultCount returns
 * the operations of a kind done so far. */
#ifndef C4FAULT_H
#define C4FAULT_H

#ifdef __cplusplus
extern "C" {
#endif

int c4faultSet(int op, long nth, int action);
long c4faultCount(int op);

#ifdef __cplusplus
}
#endif

#endif
