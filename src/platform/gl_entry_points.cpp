#include "platform/gl.h"

#include <SDL.h>

namespace glext {
PFNGLBINDBUFFERARBPROC glBindBufferARB;
PFNGLDELETEBUFFERSARBPROC glDeleteBuffersARB;
PFNGLGENBUFFERSARBPROC glGenBuffersARB;
PFNGLISBUFFERARBPROC glIsBufferARB;
PFNGLBUFFERDATAARBPROC glBufferDataARB;
PFNGLBUFFERSUBDATAARBPROC glBufferSubDataARB;
PFNGLGETBUFFERSUBDATAARBPROC glGetBufferSubDataARB;
PFNGLMAPBUFFERARBPROC glMapBufferARB;
PFNGLUNMAPBUFFERARBPROC glUnmapBufferARB;
PFNGLGETBUFFERPARAMETERIVARBPROC glGetBufferParameterivARB;
PFNGLGETBUFFERPOINTERVARBPROC glGetBufferPointervARB;
PFNGLISRENDERBUFFEREXTPROC glIsRenderbufferEXT;
PFNGLBINDRENDERBUFFEREXTPROC glBindRenderbufferEXT;
PFNGLDELETERENDERBUFFERSEXTPROC glDeleteRenderbuffersEXT;
PFNGLGENRENDERBUFFERSEXTPROC glGenRenderbuffersEXT;
PFNGLRENDERBUFFERSTORAGEEXTPROC glRenderbufferStorageEXT;
PFNGLGETRENDERBUFFERPARAMETERIVEXTPROC glGetRenderbufferParameterivEXT;
PFNGLISFRAMEBUFFEREXTPROC glIsFramebufferEXT;
PFNGLBINDFRAMEBUFFEREXTPROC glBindFramebufferEXT;
PFNGLDELETEFRAMEBUFFERSEXTPROC glDeleteFramebuffersEXT;
PFNGLGENFRAMEBUFFERSEXTPROC glGenFramebuffersEXT;
PFNGLCHECKFRAMEBUFFERSTATUSEXTPROC glCheckFramebufferStatusEXT;
PFNGLFRAMEBUFFERTEXTURE1DEXTPROC glFramebufferTexture1DEXT;
PFNGLFRAMEBUFFERTEXTURE2DEXTPROC glFramebufferTexture2DEXT;
PFNGLFRAMEBUFFERTEXTURE3DEXTPROC glFramebufferTexture3DEXT;
PFNGLFRAMEBUFFERRENDERBUFFEREXTPROC glFramebufferRenderbufferEXT;
PFNGLGETFRAMEBUFFERATTACHMENTPARAMETERIVEXTPROC glGetFramebufferAttachmentParameterivEXT;
PFNGLGENERATEMIPMAPEXTPROC glGenerateMipmapEXT;
PFNGLVERTEXATTRIBPOINTERARBPROC glVertexAttribPointerARB;
PFNGLENABLEVERTEXATTRIBARRAYARBPROC glEnableVertexAttribArrayARB;
PFNGLACTIVETEXTUREARBPROC glActiveTextureARB;
PFNGLMULTITEXCOORD1FARBPROC glMultiTexCoord1fARB;
PFNGLMULTITEXCOORD2FARBPROC glMultiTexCoord2fARB;
PFNGLCLIENTACTIVETEXTUREARBPROC glClientActiveTextureARB;
}  // namespace glext

namespace platform {
namespace {

struct EntryPoint {
  const char* name;
  void (*assign)(void* address);
};

#define DRIFT_ENTRY(fn) \
  { #fn, [](void* address) { glext::fn = reinterpret_cast<decltype(glext::fn)>(address); } }

// The order is the order of fetching: a missing function stops the fetch there.
const EntryPoint kEntryPoints[] = {
    DRIFT_ENTRY(glBindBufferARB),
    DRIFT_ENTRY(glDeleteBuffersARB),
    DRIFT_ENTRY(glGenBuffersARB),
    DRIFT_ENTRY(glIsBufferARB),
    DRIFT_ENTRY(glBufferDataARB),
    DRIFT_ENTRY(glBufferSubDataARB),
    DRIFT_ENTRY(glGetBufferSubDataARB),
    DRIFT_ENTRY(glMapBufferARB),
    DRIFT_ENTRY(glUnmapBufferARB),
    DRIFT_ENTRY(glGetBufferParameterivARB),
    DRIFT_ENTRY(glGetBufferPointervARB),
    DRIFT_ENTRY(glIsRenderbufferEXT),
    DRIFT_ENTRY(glBindRenderbufferEXT),
    DRIFT_ENTRY(glDeleteRenderbuffersEXT),
    DRIFT_ENTRY(glGenRenderbuffersEXT),
    DRIFT_ENTRY(glRenderbufferStorageEXT),
    DRIFT_ENTRY(glGetRenderbufferParameterivEXT),
    DRIFT_ENTRY(glIsFramebufferEXT),
    DRIFT_ENTRY(glBindFramebufferEXT),
    DRIFT_ENTRY(glDeleteFramebuffersEXT),
    DRIFT_ENTRY(glGenFramebuffersEXT),
    DRIFT_ENTRY(glCheckFramebufferStatusEXT),
    DRIFT_ENTRY(glFramebufferTexture1DEXT),
    DRIFT_ENTRY(glFramebufferTexture2DEXT),
    DRIFT_ENTRY(glFramebufferTexture3DEXT),
    DRIFT_ENTRY(glFramebufferRenderbufferEXT),
    DRIFT_ENTRY(glGetFramebufferAttachmentParameterivEXT),
    DRIFT_ENTRY(glGenerateMipmapEXT),
    DRIFT_ENTRY(glVertexAttribPointerARB),
    DRIFT_ENTRY(glEnableVertexAttribArrayARB),
    DRIFT_ENTRY(glActiveTextureARB),
    DRIFT_ENTRY(glMultiTexCoord1fARB),
    DRIFT_ENTRY(glMultiTexCoord2fARB),
    DRIFT_ENTRY(glClientActiveTextureARB),
};
#undef DRIFT_ENTRY

static_assert(sizeof(kEntryPoints) / sizeof(kEntryPoints[0]) == kGlEntryPointCount,
              "every extension entry point is in the fetch table");

}  // namespace

bool FetchGlEntryPoints(const GlProcLookup& lookup) {
  for (const EntryPoint& entry : kEntryPoints) {
    void* address = lookup(entry.name);
    if (address == nullptr) return false;
    entry.assign(address);
  }
  return true;
}

bool FetchGlEntryPoints() { return FetchGlEntryPoints(GlProcAddress); }

void ResetGlEntryPoints() {
  for (const EntryPoint& entry : kEntryPoints) entry.assign(nullptr);
}

void* GlProcAddress(const char* name) { return SDL_GL_GetProcAddress(name); }

}  // namespace platform
