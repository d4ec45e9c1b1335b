#include "renderer/shell/gl_extensions.h"

namespace kestrune {

ExtensionTable g_extensions;

const std::array<const char*, kExtensionSlotCount> kExtensionNames = {
#define KESTRUNE_SLOT_NAME(type, name) #name,
    KESTRUNE_MULTITEXTURE_ENTRY_POINTS(KESTRUNE_SLOT_NAME)
#undef KESTRUNE_SLOT_NAME
};

namespace {

template <typename Function> void LoadSlot(Function& slot, GlPlatform& platform, const char* name) {
    // Entry points come back as untyped addresses; each slot's type is the
    // one the extension gives that name.
    slot = reinterpret_cast<Function>(platform.GetProcAddress(name));
}

} // namespace

void LoadExtensions(GlPlatform& platform) {
#define KESTRUNE_LOAD_SLOT(type, name) LoadSlot(g_extensions.name, platform, #name);
    KESTRUNE_MULTITEXTURE_ENTRY_POINTS(KESTRUNE_LOAD_SLOT)
#undef KESTRUNE_LOAD_SLOT
}

} // namespace kestrune
