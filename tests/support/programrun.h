#pragma once
// The whole program started in-process on a demo lab kit, as the customer starts it.
#include <functional>

class TKit;
class Tfmain;

// Runs the program with kit's program folder until it ends; work runs once the main window
// shows with nothing modal and no wait window over it (the tips and news windows are closed as
// they come). False when it never did.
bool RunProgramIn(TKit& kit, const std::function<void(Tfmain&)>& work);
