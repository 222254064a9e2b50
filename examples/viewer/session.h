// The viewer's scripted session: a frame with the view and a status bar,
// driven by posted mouse input as a user would drive it, with a PNG
// snapshot of the view after each step.
#pragma once

#include "model.h"
#include "options.h"

#include <cstdio>

namespace viewer {

// Runs the session on the model and prints each step, the status bar's
// texts, the pick result and the snapshot's path to out. Returns the exit
// status: 0, or 1 when the frame, the view or a snapshot cannot be made.
int RunSession(Model const &model, Options const &options, std::FILE *out);

}  // namespace viewer
