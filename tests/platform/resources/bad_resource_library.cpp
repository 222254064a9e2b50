// Resource libraries that are broken in one way each, chosen by FAULT:
// 1 no table at all, 2 wrong magic, 3 more entries than the table holds,
// 4 an entry reaching past the table, 5 a menu cut short, 6 a cursor
// group naming an image that is too short, 7 a menu nested too deeply.
#if FAULT != 1
#define ENTRY(type, id, offset, size) type, 0, id, 0, offset, 0, 0, 0, size, 0, 0, 0
extern "C" {
__attribute__((visibility("default"))) extern unsigned char const TessivResourceTable[];
__attribute__((visibility("default"))) extern unsigned int const TessivResourceTableSize;
unsigned char const TessivResourceTable[] = {
#if FAULT == 2
    'T', 'S', 'V', 'R', 'S', 'R', 'C', '9', 0, 0, 0, 0,
#elif FAULT == 3
    'T', 'S', 'V', 'R', 'S', 'R', 'C', '1', 200, 0, 0, 0,
    ENTRY(6, 1, 24, 1), 'x',
#elif FAULT == 4
    'T', 'S', 'V', 'R', 'S', 'R', 'C', '1', 1, 0, 0, 0,
    ENTRY(6, 1, 24, 100), 'x',
#elif FAULT == 5
    'T', 'S', 'V', 'R', 'S', 'R', 'C', '1', 1, 0, 0, 0,
    ENTRY(4, 130, 24, 10),
    0x10, 0, 0, 0, 1, 0, 'V', 0, 0, 0,  // a popup whose list never starts
#elif FAULT == 6
    'T', 'S', 'V', 'R', 'S', 'R', 'C', '1', 2, 0, 0, 0,
    ENTRY(12, 144, 36, 14), ENTRY(1, 1, 50, 12),
    1, 0, 32, 0, 32, 0, 8, 0, 0, 0, 0, 0, 1, 0,
    32, 0, 32, 0, 8, 0, 0, 0, 0, 0, 0, 0,  // header only: no pixels, no mask
#elif FAULT == 7
    'T', 'S', 'V', 'R', 'S', 'R', 'C', '1', 1, 0, 0, 0,
    ENTRY(4, 130, 24, 6 * 40),
#define POPUP 0x10, 0, 0, 0, 0, 0
#define POPUPS8 POPUP, POPUP, POPUP, POPUP, POPUP, POPUP, POPUP, POPUP
    POPUPS8, POPUPS8, POPUPS8, POPUPS8, POPUPS8,
#endif
};
unsigned int const TessivResourceTableSize = sizeof TessivResourceTable;
}
#else
extern "C" __attribute__((visibility("default"))) int TessivNotAResourceLibrary() { return 1; }
#endif
