#include "session.h"

#include "frames.h"
#include "resource.h"
#include "viewer_view.h"

#include <tessiv/imaging/image_io.h>
#include <tessiv/imaging/pixel_image.h>
#include <tessiv/platform/headless.h>
#include <tessiv/scene/stream_file.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace viewer {
namespace {

// The profile name of the tool bar's dock state.
char const kBarState[] = "ViewerBars";

void PumpMessages()
{
    MSG message;
    while (PeekMessage(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessage(&message);
    }
}

// Writes a picture as an opaque PNG.
bool WritePicture(TessivFrontBuffer const &picture, std::filesystem::path const &path, std::string &error)
{
    kolt::PixelImage image;
    image.SetSize(static_cast<unsigned int>(picture.width), static_cast<unsigned int>(picture.height));
    kolt::ColorI *pixels = image.GetBuffer();
    for (std::size_t i = 0; i < picture.pixels.size(); ++i)
        pixels[i] = kolt::ColorI(static_cast<unsigned long>(picture.pixels[i] | 0xFF000000u));
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

// What the view shows: its front buffer.
bool ReadView(HWND view, TessivFrontBuffer &picture, std::string &error)
{
    if (TessivReadFrontBuffer(view, &picture))
        return true;
    error = "reading the view's front buffer failed";
    return false;
}

// The main frame as the screen shows it, with the tool bar's floating frame
// (a window of its own) on top when the bar floats.
bool ReadWholeFrame(CWnd &main, CMyToolBar &bar, TessivFrontBuffer &picture, std::string &error)
{
    if (!TessivComposeWindow(main.m_hWnd, &picture)) {
        error = "composing the frame failed";
        return false;
    }
    CWnd *floating = bar.IsFloating() ? bar.GetParentFrame() : nullptr;
    TessivFrontBuffer floating_picture;
    if (!floating || !floating->IsWindowVisible() || !TessivComposeWindow(floating->m_hWnd, &floating_picture))
        return true;
    CRect main_rect, rect;
    main.GetWindowRect(&main_rect);
    floating->GetWindowRect(&rect);
    for (int y = 0; y < floating_picture.height; ++y) {
        int to_y = rect.top - main_rect.top + y;
        if (to_y < 0 || to_y >= picture.height)
            continue;
        for (int x = 0; x < floating_picture.width; ++x) {
            int to_x = rect.left - main_rect.left + x;
            if (to_x >= 0 && to_x < picture.width)
                picture.pixels[static_cast<std::size_t>(to_y) * picture.width + to_x] =
                    floating_picture.pixels[static_cast<std::size_t>(y) * floating_picture.width + x];
        }
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

// The profile holds owned strings; the session's is set for the run and the
// host's given back afterwards.
class ProfileOverride {
public:
    ProfileOverride(CWinApp *app, std::string const &path) : app_(app)
    {
        if (!app_)
            return;
        previous_ = app_->m_pszProfileName;
        char *copy = static_cast<char *>(std::malloc(path.size() + 1));
        if (copy)
            std::memcpy(copy, path.c_str(), path.size() + 1);
        app_->m_pszProfileName = copy;
    }
    ~ProfileOverride()
    {
        if (!app_)
            return;
        std::free(const_cast<char *>(app_->m_pszProfileName));
        app_->m_pszProfileName = previous_;
    }
    ProfileOverride(ProfileOverride const &) = delete;
    ProfileOverride &operator=(ProfileOverride const &) = delete;

private:
    CWinApp *app_;
    LPCTSTR previous_ = nullptr;
};

// The split position and where the tool bar is, as the session prints them.
std::string DescribeLayout(CViewerChildFrame &child, CMyToolBar &bar)
{
    ST_SplitterWnd &splitter = child.Splitter();
    int width = 0, minimum = 0;
    splitter.GetColumnInfo(0, width, minimum);
    std::string text = "split at " + std::to_string(width);
    text += splitter.IsSideHidden(1) ? ", right pane hidden" : splitter.IsSideHidden(0) ? ", left pane hidden" : "";
    if (bar.IsFloating()) {
        CRect rect;
        bar.GetParentFrame()->GetWindowRect(&rect);
        text += "; tool bar floating at (" + std::to_string(rect.left) + ", " + std::to_string(rect.top) + ")";
    } else {
        text += std::string("; tool bar docked") + (bar.IsWindowVisible() ? "" : ", hidden");
    }
    return text;
}

// A client point of the bar where a press starts a drag (no button there):
// the gripper of a docked bar, or the separator, which a floating bar
// without a gripper still has.
CPoint DragHandle(CMyToolBar &bar)
{
    CRect client, separator;
    bar.GetClientRect(&client);
    for (int index = 0; index < bar.GetCount(); ++index)
        if (bar.GetButtonStyle(index) & TBBS_SEPARATOR)
            bar.GetItemRect(index, &separator);
    for (CPoint point : {CPoint(2, client.Height() / 2), separator.CenterPoint()})
        if (bar.OnToolHitTest(point) < 0)
            return point;
    return separator.CenterPoint();
}

// The grown frame both runs show: the main frame with its bars, the
// document frame with the splitter and its views on model, the stored
// layout applied when the profile has one, shown and past its first update;
// with the session's profile in place of the host's while it lives.
struct GrownFrame {
    std::filesystem::path profile_path;
    std::optional<ProfileOverride> profile;
    CBaseOperation operation;
    CViewerMainFrame *main = nullptr;
    CViewerChildFrame *child = nullptr;
    CWnd *previous_main = nullptr;
    bool restoring = false;
};

// The profile the layout is kept in: --profile, else viewer-profile.ini in
// the --out folder (made here); empty (reported) when that folder cannot be
// made or the module has no application object to keep the profile.
std::filesystem::path ProfilePath(Options const &options)
{
    if (!AfxGetApp() || !AfxGetThread()) {
        std::fprintf(stderr, "viewer: the module's application object is missing\n");
        return {};
    }
    std::error_code ignored;
    std::filesystem::create_directories(options.out_dir, ignored);
    if (!std::filesystem::is_directory(options.out_dir)) {
        std::fprintf(stderr, "viewer: cannot make the snapshot folder %s\n", options.out_dir.c_str());
        return {};
    }
    std::filesystem::path profile_path = options.profile_path.empty()
                                             ? std::filesystem::path(options.out_dir) / "viewer-profile.ini"
                                             : std::filesystem::path(options.profile_path);
    return std::filesystem::absolute(profile_path, ignored);
}

// False (with a message on standard error) when the profile has no place or
// a window cannot be made.
bool OpenGrownFrame(Model const &model, Options const &options, GrownFrame &frame)
{
    frame.profile_path = ProfilePath(options);
    if (frame.profile_path.empty())
        return false;
    frame.profile.emplace(AfxGetApp(), frame.profile_path.string());
    CBaseOperation &operation = frame.operation;
    CWinApp *app = AfxGetApp();
    CWinThread *thread = AfxGetThread();
    std::string summary_section = std::string(kBarState) + "-Summary";
    frame.restoring = !app->GetProfileString(summary_section.c_str(), "Bars", "").IsEmpty();

    auto *main = new CViewerMainFrame;
    // Room for both views from the start, so a stored split is not squeezed
    // before the views are fitted.
    if (!main->CreateAll(CRect(0, 0, 2 * options.width + 60, options.height + 120))) {
        std::fprintf(stderr, "viewer: creating the main frame failed\n");
        if (main->m_hWnd)
            main->DestroyWindow();
        else
            delete main;
        return false;
    }
    frame.previous_main = thread->m_pMainWnd;
    thread->m_pMainWnd = main;
    // The document frame is made as the framework makes it, through its run-time class.
    CCreateContext context;
    auto *child = static_cast<CViewerChildFrame *>(RUNTIME_CLASS(CViewerChildFrame)->CreateObject());
    if (!child || !child->LoadFrame(IDR_MODEL, WS_CHILD | WS_VISIBLE, main, &context)) {
        std::fprintf(stderr, "viewer: creating the document frame failed\n");
        main->DestroyWindow();
        thread->m_pMainWnd = frame.previous_main;
        return false;
    }
    child->AdoptBars(*main);
    operation.SetUnitScale(options.unit_scale);
    operation.SetDecimals(options.decimals);
    for (int i = 0; i < child->ViewCount(); ++i) {
        child->View(i)->SetModel(&model);
        child->View(i)->ConnectStatus(&main->m_statusBar, &operation);
    }
    // The stored layout, if an earlier run left one.
    child->Splitter().SetInitialStatus();
    if (frame.restoring)
        child->LoadBarState(kBarState);
    main->RecalcLayout();
    child->InitialUpdateFrame(nullptr, TRUE);
    main->ShowWindow(SW_SHOW);
    PumpMessages();
    child->View(0)->SetPose(CViewerView::Pose::Standard);
    child->View(1)->SetPose(CViewerView::Pose::Top);
    child->View(2)->SetPose(CViewerView::Pose::Standard);
    frame.main = main;
    frame.child = child;
    return true;
}

}  // namespace

int RunSession(Model const &model, Options const &options, std::FILE *out)
{
    GrownFrame frame;
    if (!OpenGrownFrame(model, options, frame))
        return 1;
    std::filesystem::path const &profile_path = frame.profile_path;
    CWinThread *thread = AfxGetThread();
    CViewerMainFrame *main = frame.main;
    CViewerChildFrame *child = frame.child;
    CWnd *previous_main = frame.previous_main;
    bool restoring = frame.restoring;
    CStatusBar &status = main->m_statusBar;
    CMyToolBar &bar = main->m_toolBar;
    CViewerView *view = child->View(0);

    int step = 0;
    int status_code = 0;
    auto save_picture = [&](TessivFrontBuffer const &picture, std::string const &file_name, bool read) {
        std::filesystem::path path = std::filesystem::path(options.out_dir) / file_name;
        std::string error;
        if (read && WritePicture(picture, path, error)) {
            std::fprintf(out, "         snapshot %s\n", path.string().c_str());
        } else {
            std::fprintf(stderr, "viewer: snapshot %s: %s\n", path.string().c_str(),
                         read ? error.c_str() : "reading the picture failed");
            status_code = 1;
        }
    };
    auto redraw = [&] {
        PumpMessages();
        main->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE | RDW_ALLCHILDREN);
        for (int i = 0; i < child->ViewCount(); ++i)
            if (child->View(i)->IsWindowVisible())
                child->View(i)->Render();
        PumpMessages();
    };

    if (restoring) {
        std::fprintf(out, "restored %s from %s\n", DescribeLayout(*child, bar).c_str(), profile_path.string().c_str());
        redraw();
        TessivFrontBuffer picture;
        std::string error;
        bool read = ReadWholeFrame(*main, bar, picture, error);
        save_picture(picture, "restored.png", read);
        // The session itself starts from the docked bar and both panes.
        if (bar.IsFloating())
            main->DockControlBar(&bar, AFX_IDW_DOCKBAR_TOP);
        for (int side = 0; side < 2; ++side)
            if (child->Splitter().IsSideHidden(side))
                child->Splitter().ToggleSide(side);
        main->RecalcLayout();
    }

    // Sizes the main frame and the split so that both views get the asked
    // client size (the right pane takes what the left one leaves).
    auto fit_views = [&](int width, int height) {
        for (int round = 0; round < 3; ++round) {
            CRect main_window, left, right;
            main->GetWindowRect(&main_window);
            view->GetClientRect(&left);
            CWnd *right_view = child->Splitter().GetPane(0, 1);
            if (right_view)
                right_view->GetClientRect(&right);
            else
                right = left;
            if (left.Width() == width && left.Height() == height && right.Width() == width)
                break;
            int current = 0, minimum = 0;
            child->Splitter().GetColumnInfo(0, current, minimum);
            child->Splitter().SetColumnInfo(0, current + width - left.Width(), minimum);
            main->MoveWindow(0, 0, main_window.Width() + 2 * width - left.Width() - right.Width(),
                             main_window.Height() + height - left.Height());
            child->Splitter().RecalcLayout();
        }
    };
    fit_views(options.width, options.height);
    redraw();

    CRect client;
    view->GetClientRect(&client);
    POINT centre{client.Width() / 2, client.Height() / 2};
    auto print_step = [&](char const *name, std::string const &what) {
        view->GetClientRect(&client);
        std::fprintf(out, "%-8s %s\n", name, what.c_str());
        std::fprintf(out, "         view %dx%d, zoom %.1f; status [%s] [%s] [%s] [%s]\n", client.Width(),
                     client.Height(), view->GetZoom(), status.GetPaneText(0).GetString(),
                     status.GetPaneText(1).GetString(), status.GetPaneText(2).GetString(),
                     status.GetPaneText(3).GetString());
        std::fflush(out);
    };
    auto next_name = [&](char const *name) {
        char file_name[64];
        std::snprintf(file_name, sizeof file_name, "%02d-%s.png", step++, name);
        return std::string(file_name);
    };
    // A step whose snapshot is the left view.
    auto report = [&](char const *name, std::string const &what) {
        PumpMessages();
        view->Invalidate();
        view->UpdateWindow();
        std::string file_name = next_name(name);
        TessivFrontBuffer picture;
        std::string error;
        bool read = ReadView(view->m_hWnd, picture, error);
        print_step(name, what);
        save_picture(picture, file_name, read);
    };
    // A step whose snapshot is the whole frame, GDI painting included.
    auto report_frame = [&](char const *name, std::string const &what) {
        redraw();
        std::string file_name = next_name(name);
        TessivFrontBuffer picture;
        std::string error;
        bool read = ReadWholeFrame(*main, bar, picture, error);
        print_step(name, what);
        std::fprintf(out, "         frame %dx%d, %s\n", picture.width, picture.height,
                     DescribeLayout(*child, bar).c_str());
        save_picture(picture, file_name, read);
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
    fit_views(options.width * 3 / 4, options.height * 3 / 4);
    report("resize", "frame resized to three quarters");


    // The tool bar's buttons go through the main frame to the document frame.
    auto click_button = [&](UINT command) {
        CRect item;
        bar.GetItemRect(bar.CommandToIndex(command), &item);
        POINT point{item.CenterPoint().x, item.CenterPoint().y};
        TessivPostMouseGesture(bar.m_hWnd, TessivMouseButton::Left, &point, 1);
        PumpMessages();
    };
    status.SetPaneText(0, "");
    report_frame("frame", "the whole frame: tool bar, both views, status bar");

    click_button(ID_TOGGLE_PANE);
    report_frame("hide", std::string("tool-bar button hides the right pane: ") +
                             (child->Splitter().IsSideHidden(1) ? "hidden" : "shown"));
    click_button(ID_TOGGLE_PANE);
    report_frame("show", std::string("the same button shows it again: ") +
                             (child->Splitter().IsSideHidden(1) ? "hidden" : "shown"));

    main->SendMessage(WM_COMMAND, ID_SWITCH_VIEW);
    report_frame("switch", "the right pane switches from the top view to view " +
                               std::to_string(child->Splitter().CurrentView(1)));

    // The pan button makes plain left drags pan.
    click_button(ID_MODE_PAN);
    view->GetClientRect(&client);
    centre = {client.Width() / 2, client.Height() / 2};
    auto mode_drag = Line(centre, {centre.x + 50, centre.y}, 5);
    TessivPostMouseGesture(view->m_hWnd, TessivMouseButton::Left, mode_drag.data(), mode_drag.size());
    PumpMessages();
    report_frame("mode", "pan button, then a plain left drag by (+50, 0): mouse mode " +
                             std::to_string(view->GetMouseMode()));

    // Drag the tool bar by its free end into the middle of the frame: it floats.
    CRect bar_rect, main_rect;
    bar.GetWindowRect(&bar_rect);
    main->GetWindowRect(&main_rect);
    CPoint handle = DragHandle(bar);
    CPoint target = main_rect.CenterPoint();
    bar.ScreenToClient(&target);
    auto bar_drag = Line(POINT{handle.x, handle.y}, POINT{target.x, target.y}, 8);
    TessivPostMouseGesture(bar.m_hWnd, TessivMouseButton::Left, bar_drag.data(), bar_drag.size());
    PumpMessages();
    report_frame("float", std::string("tool bar dragged into the frame: ") +
                              (bar.IsFloating() ? "floating" : "docked"));

    // And back onto the top edge.
    handle = DragHandle(bar);
    CPoint top_edge(main_rect.left + 60, bar_rect.top + 4);
    CRect floating_bar;
    bar.GetWindowRect(&floating_bar);
    target = top_edge;
    bar.ScreenToClient(&target);
    bar_drag = Line(POINT{handle.x, handle.y}, POINT{target.x, target.y}, 8);
    TessivPostMouseGesture(bar.m_hWnd, TessivMouseButton::Left, bar_drag.data(), bar_drag.size());
    PumpMessages();
    report_frame("dock", std::string("tool bar dragged back to the top edge: ") +
                             (bar.IsFloating() ? "floating" : "docked"));

    // The split bar moves 40 pixels right; the tool bar floats at a fixed
    // place. This is the layout the profile keeps.
    ST_SplitterWnd &splitter = child->Splitter();
    CRect splitter_client;
    splitter.GetClientRect(&splitter_client);
    int middle_y = splitter_client.Height() / 2;
    int bar_x = -1;
    for (int x = 0; x < splitter_client.Width() && bar_x < 0; ++x)
        if (splitter.HitTest(CPoint(x, middle_y)) == CSplitterWnd::hSplitterBar1)
            bar_x = x + 2;
    if (bar_x >= 0) {
        auto split_drag = Line(POINT{bar_x, middle_y}, POINT{bar_x + 40, middle_y}, 4);
        TessivPostMouseGesture(splitter.m_hWnd, TessivMouseButton::Left, split_drag.data(), split_drag.size());
        PumpMessages();
    }
    main->FloatControlBar(&bar, CPoint(main_rect.left + 120, main_rect.top + 140));
    PumpMessages();
    report_frame("layout", "split bar dragged 40 pixels right, tool bar floated");

    std::string saved = DescribeLayout(*child, bar);
    child->SaveBarState(kBarState);
    std::fprintf(out, "snapshots in %s\n", options.out_dir.c_str());
    main->DestroyWindow();
    PumpMessages();
    thread->m_pMainWnd = previous_main;
    // The splitter wrote its layout as the document frame went.
    std::fprintf(out, "saved %s to %s\n", saved.c_str(), profile_path.string().c_str());
    return status_code;
}

int RunInteractive(Model const &model, Options const &options)
{
    GrownFrame frame;
    if (!OpenGrownFrame(model, options, frame))
        return 1;
    std::filesystem::path const &profile_path = frame.profile_path;
    CViewerMainFrame *main = frame.main;
    CViewerChildFrame *child = frame.child;
    HWND main_window = main->m_hWnd;
    if (frame.restoring)
        std::printf("restored %s from %s\n", DescribeLayout(*child, main->m_toolBar).c_str(),
                    profile_path.string().c_str());
    else
        std::printf("opened %s\n", DescribeLayout(*child, main->m_toolBar).c_str());
    std::fflush(stdout);
    std::vector<int> shown_faces(static_cast<std::size_t>(child->ViewCount()), -1);
    bool saved = false;
    MSG message;
    // Runs until the frame is closed (or the display goes away: WM_QUIT).
    while (IsWindow(main_window)) {
        BOOL got = GetMessage(&message, nullptr, 0, 0);
        if (got <= 0)
            break;
        if (message.message == WM_CLOSE && message.hwnd == main_window && !saved) {
            // The bars' places go to the profile while they still exist;
            // the splitter writes its own as the document frame goes.
            std::string layout = DescribeLayout(*child, main->m_toolBar);
            child->SaveBarState(kBarState);
            saved = true;
            std::printf("saved %s to %s\n", layout.c_str(), profile_path.string().c_str());
            std::fflush(stdout);
        }
        TranslateMessage(&message);
        DispatchMessage(&message);
        if (!IsWindow(main_window))
            break;
        for (int i = 0; i < child->ViewCount(); ++i) {
            int face = child->View(i)->GetPickedFace();
            if (face == shown_faces[static_cast<std::size_t>(i)])
                continue;
            shown_faces[static_cast<std::size_t>(i)] = face;
            std::string text = face >= 0 ? "picked face " + std::to_string(face) : "picked nothing";
            main->m_statusBar.SetPaneText(0, text.c_str());
            std::printf("%s\n", text.c_str());
            std::fflush(stdout);
        }
    }
    bool lost = IsWindow(main_window);
    if (lost)
        main->DestroyWindow();
    AfxGetThread()->m_pMainWnd = frame.previous_main;
    return lost ? 1 : 0;
}

}  // namespace viewer
