#pragma once

// The one place where the renderer's code gets OpenGL 1.1, GLU and the
// extension typedefs. Every renderer file includes this instead of the GL
// headers themselves, so the platform's quirks stay here.

#if defined(_WIN32)
// The Windows GL headers expect these two macros from <windows.h>, which the
// portable code must not include.
#ifndef APIENTRY
#define APIENTRY __stdcall
#define KESTRUNE_DEFINED_APIENTRY
#endif
#ifndef WINGDIAPI
#define WINGDIAPI __declspec(dllimport)
#define KESTRUNE_DEFINED_WINGDIAPI
#endif
#ifndef CALLBACK
#define CALLBACK __stdcall
#define KESTRUNE_DEFINED_CALLBACK
#endif
#endif

#include <GL/gl.h>
#include <GL/glext.h>
#include <GL/glu.h>

#if defined(_WIN32)
#ifdef KESTRUNE_DEFINED_APIENTRY
#undef APIENTRY
#undef KESTRUNE_DEFINED_APIENTRY
#endif
#ifdef KESTRUNE_DEFINED_WINGDIAPI
#undef WINGDIAPI
#undef KESTRUNE_DEFINED_WINGDIAPI
#endif
#ifdef KESTRUNE_DEFINED_CALLBACK
#undef CALLBACK
#undef KESTRUNE_DEFINED_CALLBACK
#endif
#endif
