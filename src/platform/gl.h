#pragma once
// The system's OpenGL headers and the extension entry points that are fetched at run
// time once a context is current. The entry points live in namespace glext (the GL
// headers already declare some of these names as library functions), so callers
// write glext::glBindBufferARB(...) and it is plain which calls go through a
// fetched pointer.
#include <GL/gl.h>
#include <GL/glu.h>
#include <GL/glext.h>

#include <functional>
#include <string>

// Every GL function the program calls through a pointer fetched at run time, in the
// order of fetching, as X(pointer type, name). The declarations, the definitions, the
// fetch and the count all expand this one list.
#define DRIFT_GL_ENTRY_POINTS(X) \
  /* Vertex buffer objects. */ \
  X(PFNGLBINDBUFFERARBPROC, glBindBufferARB) \
  X(PFNGLDELETEBUFFERSARBPROC, glDeleteBuffersARB) \
  X(PFNGLGENBUFFERSARBPROC, glGenBuffersARB) \
  X(PFNGLISBUFFERARBPROC, glIsBufferARB) \
  X(PFNGLBUFFERDATAARBPROC, glBufferDataARB) \
  X(PFNGLBUFFERSUBDATAARBPROC, glBufferSubDataARB) \
  X(PFNGLGETBUFFERSUBDATAARBPROC, glGetBufferSubDataARB) \
  X(PFNGLMAPBUFFERARBPROC, glMapBufferARB) \
  X(PFNGLUNMAPBUFFERARBPROC, glUnmapBufferARB) \
  X(PFNGLGETBUFFERPARAMETERIVARBPROC, glGetBufferParameterivARB) \
  X(PFNGLGETBUFFERPOINTERVARBPROC, glGetBufferPointervARB) \
  /* Framebuffer objects. */ \
  X(PFNGLISRENDERBUFFEREXTPROC, glIsRenderbufferEXT) \
  X(PFNGLBINDRENDERBUFFEREXTPROC, glBindRenderbufferEXT) \
  X(PFNGLDELETERENDERBUFFERSEXTPROC, glDeleteRenderbuffersEXT) \
  X(PFNGLGENRENDERBUFFERSEXTPROC, glGenRenderbuffersEXT) \
  X(PFNGLRENDERBUFFERSTORAGEEXTPROC, glRenderbufferStorageEXT) \
  X(PFNGLGETRENDERBUFFERPARAMETERIVEXTPROC, glGetRenderbufferParameterivEXT) \
  X(PFNGLISFRAMEBUFFEREXTPROC, glIsFramebufferEXT) \
  X(PFNGLBINDFRAMEBUFFEREXTPROC, glBindFramebufferEXT) \
  X(PFNGLDELETEFRAMEBUFFERSEXTPROC, glDeleteFramebuffersEXT) \
  X(PFNGLGENFRAMEBUFFERSEXTPROC, glGenFramebuffersEXT) \
  X(PFNGLCHECKFRAMEBUFFERSTATUSEXTPROC, glCheckFramebufferStatusEXT) \
  X(PFNGLFRAMEBUFFERTEXTURE1DEXTPROC, glFramebufferTexture1DEXT) \
  X(PFNGLFRAMEBUFFERTEXTURE2DEXTPROC, glFramebufferTexture2DEXT) \
  X(PFNGLFRAMEBUFFERTEXTURE3DEXTPROC, glFramebufferTexture3DEXT) \
  X(PFNGLFRAMEBUFFERRENDERBUFFEREXTPROC, glFramebufferRenderbufferEXT) \
  X(PFNGLGETFRAMEBUFFERATTACHMENTPARAMETERIVEXTPROC, glGetFramebufferAttachmentParameterivEXT) \
  X(PFNGLGENERATEMIPMAPEXTPROC, glGenerateMipmapEXT) \
  /* Vertex attributes. */ \
  X(PFNGLVERTEXATTRIBPOINTERARBPROC, glVertexAttribPointerARB) \
  X(PFNGLENABLEVERTEXATTRIBARRAYARBPROC, glEnableVertexAttribArrayARB) \
  /* Multitexture. */ \
  X(PFNGLACTIVETEXTUREARBPROC, glActiveTextureARB) \
  X(PFNGLMULTITEXCOORD1FARBPROC, glMultiTexCoord1fARB) \
  X(PFNGLMULTITEXCOORD2FARBPROC, glMultiTexCoord2fARB) \
  X(PFNGLCLIENTACTIVETEXTUREARBPROC, glClientActiveTextureARB) \
  /* GLSL programs (GL 2.0), for the effect runtime. */ \
  X(PFNGLCREATESHADERPROC, glCreateShader) \
  X(PFNGLSHADERSOURCEPROC, glShaderSource) \
  X(PFNGLCOMPILESHADERPROC, glCompileShader) \
  X(PFNGLGETSHADERIVPROC, glGetShaderiv) \
  X(PFNGLGETSHADERINFOLOGPROC, glGetShaderInfoLog) \
  X(PFNGLDELETESHADERPROC, glDeleteShader) \
  X(PFNGLISSHADERPROC, glIsShader) \
  X(PFNGLCREATEPROGRAMPROC, glCreateProgram) \
  X(PFNGLATTACHSHADERPROC, glAttachShader) \
  X(PFNGLLINKPROGRAMPROC, glLinkProgram) \
  X(PFNGLGETPROGRAMIVPROC, glGetProgramiv) \
  X(PFNGLGETPROGRAMINFOLOGPROC, glGetProgramInfoLog) \
  X(PFNGLDELETEPROGRAMPROC, glDeleteProgram) \
  X(PFNGLISPROGRAMPROC, glIsProgram) \
  X(PFNGLUSEPROGRAMPROC, glUseProgram) \
  X(PFNGLGETACTIVEUNIFORMPROC, glGetActiveUniform) \
  X(PFNGLGETUNIFORMLOCATIONPROC, glGetUniformLocation) \
  X(PFNGLUNIFORM1IPROC, glUniform1i) \
  X(PFNGLUNIFORM1FVPROC, glUniform1fv) \
  X(PFNGLUNIFORM2FVPROC, glUniform2fv) \
  X(PFNGLUNIFORM3FVPROC, glUniform3fv) \
  X(PFNGLUNIFORM4FVPROC, glUniform4fv) \
  X(PFNGLUNIFORMMATRIX4FVPROC, glUniformMatrix4fv) \
  X(PFNGLACTIVETEXTUREPROC, glActiveTexture)

namespace glext {

#define DRIFT_GL_DECLARE(type, name) extern type name;
DRIFT_GL_ENTRY_POINTS(DRIFT_GL_DECLARE)
#undef DRIFT_GL_DECLARE

}  // namespace glext

namespace platform {

// Looks a GL function up by name; null when the driver lacks it.
using GlProcLookup = std::function<void*(const char* name)>;

// Number of entry points FetchGlEntryPoints fills.
#define DRIFT_GL_COUNT(type, name) +1
constexpr int kGlEntryPointCount = 0 DRIFT_GL_ENTRY_POINTS(DRIFT_GL_COUNT);
#undef DRIFT_GL_COUNT

// Fetches every entry point above, in the order of the list. The first name the lookup
// cannot find ends the fetch with false, and is written to *missing when given; the
// pointers after it stay null.
bool FetchGlEntryPoints(const GlProcLookup& lookup, std::string* missing = nullptr);

// Fetches through the current context's driver (SDL_GL_GetProcAddress).
bool FetchGlEntryPoints(std::string* missing = nullptr);

// Clears every entry point (tests; a context that is gone).
void ResetGlEntryPoints();

}  // namespace platform
