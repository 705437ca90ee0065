#pragma once
// What the live player does with the files that changed in its data tree: which
// changes need the content loaded again, and whether each changed file still loads
// (checked with the demo's own loaders before anything is thrown away, so a file
// saved half-edited leaves the last good content on screen).
#include <string>
#include <vector>

// The kind of content a data file is, by its name: "effect", "effect-code" (GLSL the
// effects include), "material", "texture",
// "model", "animation", "camera", "property-script", "pose", "music", or "" for a
// file the demo never reads (an editor's backup, a note).
std::string ContentKindOf(const std::string& relativePath);

// The changed files that matter, each once, in order.
std::vector<std::string> RelevantChanges(const std::vector<std::string>& relativePaths);

class DemoController;

// Whether a changed file can go into the loaded content as it is, without loading
// everything again: a texture of the registry that nothing derived anything from at
// load (the masks are read back once for the rows they leave visible) and that no
// file of the same name shadows (of a.png and a.jpg the JPEG is the texture); a
// loaded effect; the GLSL the effects share; a loaded material whose name, side of
// translucent and environment map stay and whose maps are loaded.
bool ReloadsInPlace(const std::string& folder, const std::string& relativePath);
// Puts the changed file into the loaded content: a texture decoded under the same GL
// name, an effect (or, for shared GLSL, every loaded effect beside it) compiled into
// the loaded effect, so that whatever holds them draws with the new version. False
// with error set.
bool ReloadInPlace(DemoController& controller, const std::string& folder, const std::string& relativePath,
                   std::string& error);

// Loads folder + relativePath the way the demo would (effects are compiled on the GL
// context current on this thread). False with error naming the file when it is gone
// or does not load.
bool CheckChangedFile(const std::string& folder, const std::string& relativePath, std::string& error);
