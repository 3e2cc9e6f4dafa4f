// The one translation unit that holds stb's rectangle packer.
#define STB_RECT_PACK_IMPLEMENTATION
#include <stb/stb_rect_pack.h>
