#pragma once

// Pauses for at least the given number of milliseconds while events keep
// running, so the window stays live.
void Wait(double milliseconds);
