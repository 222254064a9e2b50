// CBaseOperation: the check that a precision format takes one double.
#include <tessiv/siblings/fendral/base_operation.h>

#include <cstdio>
#include <cstring>

bool CBaseOperation::SetPrecision(char const *format)
{
    if (!format)
        return false;
    int conversions = 0;
    for (char const *at = format; *at; ++at) {
        if (*at != '%')
            continue;
        if (*++at == '%')
            continue;
        while (*at && std::strchr("-+ #0", *at))
            ++at;
        // Width and precision of at most two digits each keep the text short.
        for (int digits = 0; *at >= '0' && *at <= '9'; ++at)
            if (++digits > 2)
                return false;
        if (*at == '.')
            for (int digits = 0; *++at >= '0' && *at <= '9';)
                if (++digits > 2)
                    return false;
        if (!*at || !std::strchr("fFeEgGaA", *at))
            return false;
        ++conversions;
    }
    if (conversions != 1)
        return false;
    m_precision = format;
    return true;
}

bool CBaseOperation::SetDecimals(int decimals)
{
    if (decimals < 0 || decimals > 15)
        return false;
    char format[8];
    std::snprintf(format, sizeof format, "%%.%df", decimals);
    return SetPrecision(format);
}
