#pragma once

#include "renderer/opengl.h"
#include "renderer/shell/scene.h"

#include <array>

namespace kestrune {

// The OpenGL 1.1 library exports no multitexturing; its entry points come from
// the driver at run time. This list is the table of slots in its fixed order:
// the unit selectors first, then the eight forms of glMultiTexCoord for one,
// two, three and four coordinates. Each entry is (type, name); the name is
// also the exact string asked of the driver.
#define KESTRUNE_MULTITEXTURE_ENTRY_POINTS(X)                                                      \
    X(PFNGLACTIVETEXTUREARBPROC, glActiveTextureARB)                                               \
    X(PFNGLCLIENTACTIVETEXTUREARBPROC, glClientActiveTextureARB)                                   \
    X(PFNGLMULTITEXCOORD1DARBPROC, glMultiTexCoord1dARB)                                           \
    X(PFNGLMULTITEXCOORD1DVARBPROC, glMultiTexCoord1dvARB)                                         \
    X(PFNGLMULTITEXCOORD1FARBPROC, glMultiTexCoord1fARB)                                           \
    X(PFNGLMULTITEXCOORD1FVARBPROC, glMultiTexCoord1fvARB)                                         \
    X(PFNGLMULTITEXCOORD1IARBPROC, glMultiTexCoord1iARB)                                           \
    X(PFNGLMULTITEXCOORD1IVARBPROC, glMultiTexCoord1ivARB)                                         \
    X(PFNGLMULTITEXCOORD1SARBPROC, glMultiTexCoord1sARB)                                           \
    X(PFNGLMULTITEXCOORD1SVARBPROC, glMultiTexCoord1svARB)                                         \
    X(PFNGLMULTITEXCOORD2DARBPROC, glMultiTexCoord2dARB)                                           \
    X(PFNGLMULTITEXCOORD2DVARBPROC, glMultiTexCoord2dvARB)                                         \
    X(PFNGLMULTITEXCOORD2FARBPROC, glMultiTexCoord2fARB)                                           \
    X(PFNGLMULTITEXCOORD2FVARBPROC, glMultiTexCoord2fvARB)                                         \
    X(PFNGLMULTITEXCOORD2IARBPROC, glMultiTexCoord2iARB)                                           \
    X(PFNGLMULTITEXCOORD2IVARBPROC, glMultiTexCoord2ivARB)                                         \
    X(PFNGLMULTITEXCOORD2SARBPROC, glMultiTexCoord2sARB)                                           \
    X(PFNGLMULTITEXCOORD2SVARBPROC, glMultiTexCoord2svARB)                                         \
    X(PFNGLMULTITEXCOORD3DARBPROC, glMultiTexCoord3dARB)                                           \
    X(PFNGLMULTITEXCOORD3DVARBPROC, glMultiTexCoord3dvARB)                                         \
    X(PFNGLMULTITEXCOORD3FARBPROC, glMultiTexCoord3fARB)                                           \
    X(PFNGLMULTITEXCOORD3FVARBPROC, glMultiTexCoord3fvARB)                                         \
    X(PFNGLMULTITEXCOORD3IARBPROC, glMultiTexCoord3iARB)                                           \
    X(PFNGLMULTITEXCOORD3IVARBPROC, glMultiTexCoord3ivARB)                                         \
    X(PFNGLMULTITEXCOORD3SARBPROC, glMultiTexCoord3sARB)                                           \
    X(PFNGLMULTITEXCOORD3SVARBPROC, glMultiTexCoord3svARB)                                         \
    X(PFNGLMULTITEXCOORD4DARBPROC, glMultiTexCoord4dARB)                                           \
    X(PFNGLMULTITEXCOORD4DVARBPROC, glMultiTexCoord4dvARB)                                         \
    X(PFNGLMULTITEXCOORD4FARBPROC, glMultiTexCoord4fARB)                                           \
    X(PFNGLMULTITEXCOORD4FVARBPROC, glMultiTexCoord4fvARB)                                         \
    X(PFNGLMULTITEXCOORD4IARBPROC, glMultiTexCoord4iARB)                                           \
    X(PFNGLMULTITEXCOORD4IVARBPROC, glMultiTexCoord4ivARB)                                         \
    X(PFNGLMULTITEXCOORD4SARBPROC, glMultiTexCoord4sARB)                                           \
    X(PFNGLMULTITEXCOORD4SVARBPROC, glMultiTexCoord4svARB)

// The process-wide table of extension entry points. Each slot is null until
// LoadExtensions finds it; a name the driver does not know stays null.
struct ExtensionTable {
#define KESTRUNE_DECLARE_SLOT(type, name) type name = nullptr;
    KESTRUNE_MULTITEXTURE_ENTRY_POINTS(KESTRUNE_DECLARE_SLOT)
#undef KESTRUNE_DECLARE_SLOT

    // True when the slots that two-unit drawing calls (unit selection and
    // two-coordinate texture coordinates) are all present.
    bool HasMultitexture() const {
        return glActiveTextureARB != nullptr && glMultiTexCoord2fARB != nullptr;
    }
};

extern ExtensionTable g_extensions;

inline constexpr std::size_t kExtensionSlotCount = 34;

// The names of the slots, in table order.
extern const std::array<const char*, kExtensionSlotCount> kExtensionNames;

// Fills every slot of g_extensions, asking the platform for each name in
// table order. Needs a current context.
void LoadExtensions(GlPlatform& platform);

} // namespace kestrune
