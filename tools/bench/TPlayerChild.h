#pragma once
// The player as a benchmark child: the player's own entry (the same steps as
// its main(), then RunAltavo) with a paint marker watching for the sign-in
// screen. The installation is the one of ALTAVO_REGISTRY.
//   Start:  prints "painted <kB>" on the first paint of the sign-in screen, then ends.
//   Clip:   after that marker signs in, starts the first course and, once the
//           introduction clip has shown frames for a second, prints
//           "playing <kB>" (or "failed <why>") and ends.
enum class TPlayerChildMode { Start, Clip };

int RunPlayerChild(int argc, char** argv, TPlayerChildMode mode);
