#pragma once
// The property script: a text file of the timeline's tunable values. Tokens are
// separated by any white space; there are no comments, quotes or escapes, and the
// keywords are case-sensitive.
//
//   script  := entry* "end"
//   entry   := kind typeCode id ignoredInt name body
//   ValueProperty  body: by type code  2: int   3: float   5: x y z   other: nothing
//   AnimProperty   body: key* "endkeys"; key := anyWord time hold value
//                  (type 2 or 9: int, 3: float, 5: x y z; hold 1 = hold)
//   CameraProperty body: positionId rotationId firstFloatId secondFloatId
//
// Loading also installs the built-in signal track, and after the entries builds an
// editable camera for every camera property in the map.
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "anim/editable_camera.h"
#include "anim/keyed_value.h"
#include "anim/properties.h"

// The beat signal the controller watches every frame: a step track of ints that
// alternates 0, 1, 0, ... and the value the controller saw last.
struct SignalPair {
  KeyedValue track;
  int lastValue = 0;
};

// Where a load puts what it builds (the controller owns all three).
struct PropertyScriptTarget {
  std::unique_ptr<SignalPair>& signal;
  PropertyMap& properties;
  std::vector<std::unique_ptr<EditableCamera>>& cameras;
};

// The built-in signal track: 0 at time 0, then a key at each of show::kSignalTimes.
std::unique_ptr<SignalPair> MakeSignalPair();

// The times of the keys at which the signal takes a new value, starting from its last
// value seen: the times the demo starts a flash. Ascending.
std::vector<float> SignalChangeTimes(const SignalPair& signal);

// Replaces target.signal with a fresh signal pair, inserts every entry of the file
// into target.properties (replacing properties with the same id), then rebuilds
// target.cameras from every camera property of the map, in id order.
// Returns true when the file was read up to "end". Otherwise reading stopped at the
// first problem (file missing, input ending early, a number that cannot be read, an
// unknown kind word, a track type code other than 2, 3, 5, 9): every entry completed
// before it is kept, the one being read is dropped, the cameras are still built, and
// one log line names the file, the problem and the token position.
bool LoadPropertyScript(const std::string& path, const PropertyScriptTarget& target);
// The same over an open stream; name stands for the file in the log line.
bool LoadPropertyScript(std::istream& in, const std::string& name, const PropertyScriptTarget& target);

// Writes every property of map in id order, then "end", in the form the loader
// reads back to the same properties (floats with enough digits to round-trip). False,
// and nothing written, when a name is empty or contains white space.
bool WritePropertyScript(std::ostream& out, const PropertyMap& map);
bool SavePropertyScript(const std::string& path, const PropertyMap& map);
