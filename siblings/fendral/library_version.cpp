// The version this library was built with, to compare against the headers'
// TESSIV_VERSION_STRING when a host suspects a mixed install.
#include <tessiv/platform/library_version.h>

#include <tessiv/version.h>

char const *FendralVersion()
{
    return TESSIV_VERSION_STRING;
}
