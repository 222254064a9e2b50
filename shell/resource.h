// Numbers of the module's resources: the navigation cursors the view shows,
// its context menu with the commands on it, and the string that names the
// language of the table they came from. Prefixed, so they sit beside a
// host's own resource numbers.
#pragma once

#define IDC_TESSIV_ROTATE 144
#define IDC_TESSIV_PAN 5111
#define IDC_TESSIV_ZOOM 149
#define IDR_TESSIV_VIEW_MENU 130
#define ID_TESSIV_ROTATE 32771
#define ID_TESSIV_PAN 32772
#define ID_TESSIV_ZOOM 32773
#define ID_TESSIV_ZOOM_ALL 32774
#define ID_TESSIV_RESET_VIEW 32775
#define IDS_TESSIV_LANGUAGE 1
