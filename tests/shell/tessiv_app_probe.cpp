// A host that links libtessiv.so. Marks the start and end of main in the
// trace log, then prints what the module's resources give it:
//   menu <title of the context menu's popup>
//   string <the language name: the current handle's, the host's, or the module's>
//   source <lang|module>   where the cursors are found
//   cursor149 <bits>@<x>,<y> ...
#include <tessiv/platform/cmenu.h>
#include <tessiv/platform/headless.h>
#include <tessiv/platform/resource_chain.h>
#include <tessiv/platform/winbase.h>
#include <tessiv/platform/winuser.h>
#include <tessiv/shell/resource.h>
#include <tessiv/shell/tessiv_app.h>
#include <tessiv/siblings/fendral/log.h>
#include <tessiv/view/module_resource.h>

#include <cstdio>

int main()
{
    cLog.PutLog(1, "probe", "main begins");
    {
        CModuleResourceSwitch resources;
        CMenu menu;
        CString title;
        if (menu.LoadMenu(IDR_TESSIV_VIEW_MENU))
            menu.GetMenuString(0, title, MF_BYPOSITION);
        std::printf("menu %s\n", title.GetString());
        char text[32] = {};
        LoadStringA(AfxFindResourceHandle(MAKEINTRESOURCE(IDS_TESSIV_LANGUAGE), RT_STRING),
                    IDS_TESSIV_LANGUAGE, text, sizeof text);
        std::printf("string %s\n", text);
        HINSTANCE source = AfxFindResourceHandle(MAKEINTRESOURCE(IDC_TESSIV_ZOOM), RT_GROUP_CURSOR);
        std::printf("source %s\n", source && source == TessivGetModuleResourceInstance() ? "lang" : "module");
        std::vector<TessivCursorImage> images;
        TessivGetCursorImages(LoadCursorA(source, MAKEINTRESOURCE(IDC_TESSIV_ZOOM)), &images);
        std::printf("cursor149");
        for (TessivCursorImage const &image : images)
            std::printf(" %d@%ld,%ld", image.bits_per_pixel, static_cast<long>(image.hot_spot.x),
                        static_cast<long>(image.hot_spot.y));
        std::printf("\n");
    }
    cLog.PutLog(1, "probe", "main ends");
    return 0;
}
