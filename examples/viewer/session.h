// The viewer's scripted session: a frame with the view and a status bar,
// driven by posted mouse input as a user would drive it, with a PNG
// snapshot of the view after each step.
#pragma once

#include "model.h"
#include "options.h"
#include "viewer_view.h"

#include <cstdio>

namespace viewer {

// The viewer's frame: the view over a status bar (pane 0 the pick result,
// panes 1 to 3 the coordinates under the mouse).
class CViewerFrame : public CFrameWnd {
public:
    CStatusBar m_statusBar;
    CViewerView *m_view = nullptr;
    // Resizes the frame so the view's client area is width x height.
    void FitView(int width, int height);
};

// Makes the frame with its view showing model, the status bar connected
// through operation (which must outlive the frame), shown and past its
// first update; null (with a message on standard error) on failure.
CViewerFrame *OpenFrame(Model const &model, Options const &options, CBaseOperation &operation);

// Shows the frame on the display and runs its message loop until the user
// closes it: Alt+left drag rotates, Alt+right pans, Alt+middle zooms, the
// wheel zooms, a left click picks (the status bar names the face). Returns
// 0, or 1 when the frame cannot be made or the display went away.
int RunInteractive(Model const &model, Options const &options);

// Runs the session on the model and prints each step, the status bar's
// texts, the pick result and the snapshot's path to out. Returns the exit
// status: 0, or 1 when the frame, the view or a snapshot cannot be made.
int RunSession(Model const &model, Options const &options, std::FILE *out);

}  // namespace viewer
