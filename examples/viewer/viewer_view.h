// CViewerView: the viewer's 3D view. It draws the model lit from client
// vertex arrays, turns Alt and the mouse buttons into navigation, picks the
// face under a plain left click and marks it with a square and a label.
#pragma once

#include "model.h"

#include <tessiv/tessiv.h>

#include <string>

class CViewerView : public CBaseView {
    DECLARE_DYNCREATE(CViewerView)

public:
    CViewerView() = default;

    // The model is borrowed; null draws an empty frame.
    void SetModel(viewer::Model const *model) { m_model = model; }
    // Both borrowed from the frame; the status read-out needs both.
    void ConnectStatus(CStatusBar *status_bar, CBaseOperation *operation)
    {
        m_pStatusBar = status_bar;
        m_pOperation = operation;
    }

    // Picks under a client point (5 pixels square): the nearest face, or -1
    // when nothing lies there. Draws nothing on screen.
    int FindFace(CPoint point);
    // FindFace, then marks the face (or clears the mark) and redraws.
    int PickFace(CPoint point);
    int GetPickedFace() const { return m_pickedFace; }
    // Faces of the nearest run under the point at the last pick, nearest first.
    kolt::cvector<int> const &GetLastHits() const { return m_lastHits; }
    // Runs of faces the last pick drew (those whose box reached the pick region).
    int GetLastRunsDrawn() const { return m_lastRunsDrawn; }
    double GetZoom() const { return m_zoom; }
    // The host's persistent mode of plain left drags (kMouseRotate, ...).
    void SetMouseMode(int mode) { m_mouseMode = mode; }
    int GetMouseMode() const { return m_mouseMode; }

    // Standard: the three-quarter pose; Top: looking down the model's z axis.
    enum class Pose { Standard, Top };
    // Sets the pose and fits the model into the view.
    void SetPose(Pose pose);

    void Render() override;
    // Fits the model's bounding sphere into the view.
    void ZoomAll() override;

protected:
    // Navigation comes from Alt and the buttons of each press and release.
    afx_msg void OnLButtonDown(UINT flags, CPoint point);
    afx_msg void OnLButtonUp(UINT flags, CPoint point);
    afx_msg void OnRButtonDown(UINT flags, CPoint point);
    afx_msg void OnRButtonUp(UINT flags, CPoint point);
    afx_msg void OnMButtonDown(UINT flags, CPoint point);
    afx_msg void OnMButtonUp(UINT flags, CPoint point);

    DECLARE_MESSAGE_MAP()

private:
    void DrawPickMarker();

    viewer::Model const *m_model = nullptr;
    int m_pickedFace = -1;
    int m_lastRunsDrawn = 0;
    kolt::cvector<int> m_lastHits;
    CGLText m_label;
};
