// The viewer's runs: the interactive one on a display, and the scripted
// session driven by posted mouse input as a user would drive it, with a PNG
// snapshot of the view after each step.
#pragma once

#include "model.h"
#include "options.h"
#include "viewer_view.h"

#include <cstdio>

namespace viewer {

// Shows the whole frame (main frame, tool bar, status bar, the document
// frame's splitter with its views) on the display, from the layout the
// profile keeps, and runs its message loop until the user closes it:
// Alt+left drag rotates, Alt+right pans, Alt+middle zooms, the wheel zooms,
// a left click picks (the status bar names the face), the tool bar docks and
// floats. Closing saves the layout to the profile. Prints "opened <layout>"
// or "restored <layout> from <profile>" once shown, "picked face N" (or
// "picked nothing") when a pick changes, and "saved <layout> to <profile>"
// when closed. Returns 0, or 1 when the frame cannot be made or
// the display went away.
int RunInteractive(Model const &model, Options const &options);

// Runs the session on the model and prints each step, the status bar's
// texts, the pick result and the snapshot's path to out. Returns the exit
// status: 0, or 1 when the frame, the view or a snapshot cannot be made.
int RunSession(Model const &model, Options const &options, std::FILE *out);

}  // namespace viewer
