#pragma once
// What the skin dresses of the secondary windows: their buttons, pictures and
// links. Windows not created (yet) are left out.
#include "skin/TSkinEntry.h"

class TForm1;

TSkinEntries WindowSkinEntries(TForm1& form);
