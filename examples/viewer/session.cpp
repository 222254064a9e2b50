#include "session.h"

#include "viewer_view.h"

#include <tessiv/imaging/image_io.h>
#include <tessiv/imaging/pixel_image.h>
#include <tessiv/platform/headless.h>
#include <tessiv/scene/stream_file.h>

#include <filesystem>
#include <string>
#include <vector>

namespace viewer {
namespace {

// Status-bar panes: 0 the pick result, 1 to 3 the coordinates under the mouse.
UINT const kIndicators[] = {ID_SEPARATOR, 1001, 1002, 1003};

void PumpMessages()
{
    MSG message;
    while (PeekMessage(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessage(&message);
    }
}

// Writes what the view shows (its front buffer) as an opaque PNG.
bool WriteSnapshot(HWND view, std::filesystem::path const &path, std::string &error)
{
    TessivFrontBuffer front;
    if (!TessivReadFrontBuffer(view, &front)) {
        error = "reading the view's front buffer failed";
        return false;
    }
    kolt::PixelImage image;
    image.SetSize(static_cast<unsigned int>(front.width), static_cast<unsigned int>(front.height));
    kolt::ColorI *pixels = image.GetBuffer();
    for (std::size_t i = 0; i < front.pixels.size(); ++i)
        pixels[i] = kolt::ColorI(static_cast<unsigned long>(front.pixels[i] | 0xFF000000u));
    try {
        kolt::CStreamFile file;
        file.open_checked(path.string().c_str(), kolt::CStreamFile::modeWrite);
        kolt::PNGImage png(image, false);
        if (!png.Write(file)) {
            error = "encoding " + path.string() + " failed";
            return false;
        }
        file.close();
    } catch (kolt::IOException const &exception) {
        error = exception.what();
        return false;
    }
    return true;
}

std::vector<POINT> Line(POINT from, POINT to, int steps)
{
    std::vector<POINT> points;
    for (int i = 0; i <= steps; ++i)
        points.push_back({from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps});
    return points;
}

}  // namespace

void CViewerFrame::FitView(int width, int height)
{
    CRect frame_window, view_client;
    GetWindowRect(&frame_window);
    m_view->GetClientRect(&view_client);
    MoveWindow(0, 0, frame_window.Width() + width - view_client.Width(),
               frame_window.Height() + height - view_client.Height());
}

CViewerFrame *OpenFrame(Model const &model, Options const &options, CBaseOperation &operation)
{
    CCreateContext context;
    context.m_pNewViewClass = RUNTIME_CLASS(CViewerView);
    auto *frame = new CViewerFrame;
    CRect frame_rect(0, 0, options.width, options.height + CStatusBar::kHeight);
    if (!frame->Create(nullptr, "Tessiv viewer", WS_OVERLAPPEDWINDOW, frame_rect, nullptr, nullptr, 0, &context)) {
        std::fprintf(stderr, "viewer: creating the frame failed\n");
        return nullptr;
    }
    CStatusBar &status = frame->m_statusBar;
    status.Create(frame);
    status.SetIndicators(kIndicators, 4);
    frame->RecalcLayout();
    frame->m_view =
        dynamic_cast<CViewerView *>(frame->GetDescendantWindow(static_cast<int>(AFX_IDW_PANE_FIRST), TRUE));
    if (!frame->m_view) {
        std::fprintf(stderr, "viewer: the frame made no view\n");
        frame->DestroyWindow();
        return nullptr;
    }
    // Grow the frame by what its borders and the status bar take, so the
    // view gets the asked client size.
    frame->FitView(options.width, options.height);
    operation.SetUnitScale(options.unit_scale);
    operation.SetDecimals(options.decimals);
    frame->m_view->SetModel(&model);
    frame->m_view->ConnectStatus(&status, &operation);
    frame->InitialUpdateFrame(nullptr, TRUE);
    return frame;
}

int RunInteractive(Model const &model, Options const &options)
{
    CBaseOperation operation;
    CViewerFrame *frame = OpenFrame(model, options, operation);
    if (!frame)
        return 1;
    HWND frame_window = frame->m_hWnd;
    CViewerView *view = frame->m_view;
    int shown_face = -1;
    MSG message;
    // Runs until the frame is closed (or the display goes away: WM_QUIT).
    while (IsWindow(frame_window)) {
        BOOL got = GetMessage(&message, nullptr, 0, 0);
        if (got <= 0)
            break;
        TranslateMessage(&message);
        DispatchMessage(&message);
        if (IsWindow(frame_window) && view->GetPickedFace() != shown_face) {
            shown_face = view->GetPickedFace();
            std::string text = shown_face >= 0 ? "picked face " + std::to_string(shown_face) : "picked nothing";
            frame->m_statusBar.SetPaneText(0, text.c_str());
        }
    }
    bool quit = IsWindow(frame_window);
    if (quit)
        frame->DestroyWindow();
    return quit ? 1 : 0;
}

int RunSession(Model const &model, Options const &options, std::FILE *out)
{
    std::error_code ignored;
    std::filesystem::create_directories(options.out_dir, ignored);
    if (!std::filesystem::is_directory(options.out_dir)) {
        std::fprintf(stderr, "viewer: cannot make the snapshot folder %s\n", options.out_dir.c_str());
        return 1;
    }

    CBaseOperation operation;
    CViewerFrame *frame = OpenFrame(model, options, operation);
    if (!frame)
        return 1;
    CStatusBar &status = frame->m_statusBar;
    CViewerView *view = frame->m_view;
    auto fit_view = [&](int width, int height) { frame->FitView(width, height); };

    CRect client;
    view->GetClientRect(&client);
    POINT centre{client.Width() / 2, client.Height() / 2};
    int step = 0;
    int status_code = 0;
    auto report = [&](char const *name, std::string const &what) {
        PumpMessages();
        view->Invalidate();
        view->UpdateWindow();
        char file_name[64];
        std::snprintf(file_name, sizeof file_name, "%02d-%s.png", step++, name);
        std::filesystem::path path = std::filesystem::path(options.out_dir) / file_name;
        std::string error;
        bool written = WriteSnapshot(view->m_hWnd, path, error);
        view->GetClientRect(&client);
        std::fprintf(out, "%-8s %s\n", name, what.c_str());
        std::fflush(out);
        std::fprintf(out, "         view %dx%d, zoom %.1f; status [%s] [%s] [%s] [%s]\n", client.Width(),
                     client.Height(), view->GetZoom(), status.GetPaneText(0).GetString(),
                     status.GetPaneText(1).GetString(), status.GetPaneText(2).GetString(),
                     status.GetPaneText(3).GetString());
        if (written) {
            std::fprintf(out, "         snapshot %s\n", path.string().c_str());
        } else {
            std::fprintf(stderr, "viewer: snapshot %s: %s\n", path.string().c_str(), error.c_str());
            status_code = 1;
        }
    };

    report("initial", "the model as the view first shows it");

    // Alt with the left button rotates: 0.01 radian per pixel.
    TessivSetKeyDown(VK_MENU, true);
    auto drag = Line(centre, {centre.x + 120, centre.y - 60}, 12);
    TessivPostMouseGesture(view->m_hWnd, TessivMouseButton::Left, drag.data(), drag.size());
    PumpMessages();
    report("rotate", "Alt+left drag by (+120, -60) pixels");

    // Alt with the right button pans.
    drag = Line(centre, {centre.x - 80, centre.y + 40}, 8);
    TessivPostMouseGesture(view->m_hWnd, TessivMouseButton::Right, drag.data(), drag.size());
    PumpMessages();
    TessivSetKeyDown(VK_MENU, false);
    report("pan", "Alt+right drag by (-80, +40) pixels");

    // Two wheel notches forward zoom in.
    TessivPostMouseWheel(view->m_hWnd, 2 * WHEEL_DELTA, centre);
    PumpMessages();
    TessivPostMouseMove(view->m_hWnd, centre);
    report("zoom", "wheel forward two notches, then a move to the centre");

    // A plain left click picks the face under it.
    POINT pick{centre.x - 80, centre.y + 40};
    TessivPostMouseGesture(view->m_hWnd, TessivMouseButton::Left, &pick, 1);
    PumpMessages();
    int face = view->GetPickedFace();
    std::string picked = face >= 0 ? "face " + std::to_string(face) : std::string("nothing");
    status.SetPaneText(0, ("picked " + picked).c_str());
    std::fprintf(out, "pick at (%ld, %ld): %s, %u face(s) under the point\n", static_cast<long>(pick.x),
                 static_cast<long>(pick.y), picked.c_str(), view->GetLastHits().size());
    report("pick", "left click at (" + std::to_string(pick.x) + ", " + std::to_string(pick.y) + ")");

    // Two middle clicks in quick succession make a double click: fit the model.
    TessivPostMouseGesture(view->m_hWnd, TessivMouseButton::Middle, &centre, 1);
    TessivPostMouseGesture(view->m_hWnd, TessivMouseButton::Middle, &centre, 1);
    PumpMessages();
    report("zoomall", "middle double click fits the model");

    // The frame is resized; the view follows in its own WM_SIZE.
    fit_view(options.width * 3 / 4, options.height * 3 / 4);
    report("resize", "frame resized to three quarters");

    std::fprintf(out, "snapshots in %s\n", options.out_dir.c_str());
    status.DestroyWindow();
    frame->DestroyWindow();
    return status_code;
}

}  // namespace viewer
