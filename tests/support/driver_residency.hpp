// Keeps Mesa's software driver mapped for the whole test process.
//
// Mesa loads its driver (swrast_dri.so) with the first window and unloads it when
// the last one closes, before the leak check runs at exit. What the driver still
// held in its own globals then looks unreachable and is reported from an "unknown
// module", which no suppression can name. Pinning the driver keeps those blocks
// reachable, and anything it truly leaks is reported under its own name.
#pragma once

// Call before the first window opens (a fixture's SetUp will do). Does nothing when
// the driver is not installed; calling it again does nothing more.
void keepGraphicsDriverLoaded();
