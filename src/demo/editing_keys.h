#pragma once
// The authors' editing aids: a click and the keys B and L write the current timeline
// time with a toggled flag, or the current view matrix, to the log as source lines
// ready to paste into the timeline code.
#include "anim/math.h"

class EditingKeys {
 public:
  // "changeGreetzProp->SetValue(flag, seconds);" with a flag 1, 0, 1, ...
  void Click(float timeMs);
  // B: "m_fovAnim->SetValue(flag, seconds);" with a flag 1, 0, 1, ...
  // L: "Light", the sixteen elements of view as "lightTransform.a[i] = v;", an empty line.
  // Other keys do nothing.
  void Key(int virtualKey, float timeMs, const sm::Mat4& view);

 private:
  int clickFlag_ = 1;  // written, then toggled
  int fovFlag_ = 0;    // toggled, then written
};
