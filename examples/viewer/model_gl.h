// Drawing the viewer's model with OpenGL from its client vertex arrays, lit
// and coloured, and naming its faces in a picking pass. Both need a current
// context with the matrices of the frame already loaded.
#pragma once

#include "model.h"

namespace viewer {

// Every face in one glDrawElements call from the client arrays; the arrays
// are enabled for the call and disabled again.
void DrawModel(Model const &model);

// For a first picking pass (selection mode, pick matrix loaded): only the
// runs of faces whose bounding box reaches the current view volume are
// drawn, each run in one call under its own name (its run index, loaded with
// glLoadName). Returns how many runs were drawn.
int DrawRunsForPicking(Model const &model);
// For a second pass: the faces of one run, each under its own name (its face
// index). The nearest face under the point lies in the nearest run.
void DrawRunFacesForPicking(Model const &model, int run);
// Faces first to last - 1 (in range), each in its own draw call under its
// own name (its face index).
void DrawFacesNamed(Model const &model, int first, int last);

}  // namespace viewer
