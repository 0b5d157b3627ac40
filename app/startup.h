#pragma once
// The start-up sequence, run by the start-up window's single timer tick.
class Tfsplash;

// Checks for another instance, builds the core, applies the skin, loads and verifies the
// lab configuration, loads the user configuration, fetches and verifies the lab settings,
// runs the update check, fetches and loads formats and shops, runs the news check and shows
// the tip of the day. Success sets the window's Tag to 1; a failure shows its message on it.
void RunStartupSequence(Tfsplash& splash);
