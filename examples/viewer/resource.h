// Resource and command IDs of the viewer (resources/viewer.rc).
#pragma once

// The tool-bar strip: rotate, pan, zoom, toggle the second pane.
constexpr unsigned int IDB_TOOLBAR = 300;
constexpr unsigned int IDR_MAINFRAME = 128;  // title of the main frame
constexpr unsigned int IDR_MODEL = 129;      // title of the document frame

constexpr unsigned int ID_MODE_ROTATE = 32801;
constexpr unsigned int ID_MODE_PAN = 32802;
constexpr unsigned int ID_MODE_ZOOM = 32803;
constexpr unsigned int ID_TOGGLE_PANE = 32804;
constexpr unsigned int ID_SWITCH_VIEW = 32805;

constexpr unsigned int IDW_VIEW_BAR = 0xE810;  // the tool bar's control ID
