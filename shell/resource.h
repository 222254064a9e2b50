// Numbers of the module's resources: the navigation cursors the view shows,
// its context menu with the commands on it, and the string that names the
// language of the table they came from.
#pragma once

#define IDC_ROTATE_CURSOR 144
#define IDC_PAN_CURSOR 5111
#define IDC_ZOOM_CURSOR 149
#define IDR_VIEW_CONTEXT_MENU 130
#define ID_VIEW_ROTATE 32771
#define ID_VIEW_PAN 32772
#define ID_VIEW_ZOOM 32773
#define ID_VIEW_ZOOM_ALL 32774
#define ID_VIEW_RESET 32775
#define IDS_RESOURCE_LANGUAGE 1
