// Drawing the viewer's model with OpenGL from its client vertex arrays, lit
// and coloured, and naming its faces in a picking pass. Both need a current
// context with the matrices of the frame already loaded.
#pragma once

#include "model.h"

namespace viewer {

// Every face in one glDrawElements call from the client arrays; the arrays
// are enabled for the call and disabled again.
void DrawModel(Model const &model);

// For a picking pass (selection mode, pick matrix loaded): only the runs of
// faces whose bounding box reaches the current view volume are drawn, each
// face under its own name (its face index, loaded with glLoadName). Returns
// how many runs were drawn.
int DrawModelForPicking(Model const &model);

}  // namespace viewer
