#include "datagen/direction/cuts.h"

namespace datagen::cuts {

const std::vector<WeldWindow>& WeldWindows() {
  // The shots of the monitors, of the sleeping robot's head and the last push-in on its
  // face have none: the arms hold still and the picture is quiet.
  static const std::vector<WeldWindow> windows = {
      {5.0f, kEstablishing, 1},         {kEstablishing, kAlongTheRig, 2}, {kAlongTheRig, kFirstWeld, 1},
      {kFirstWeld, kSecondArm, 2},      {kMonitors, kArmOrbit, 1},        {kSleepingHead, kCatwalk, 3},
      {kCatwalk, kLowArm, 2},           {kMonitorsAgain, kTorchClose, 1}, {kTorchClose, kRigOrbit, 3},
      {kRigOrbit, kAlongTheRobot, 3},   {kAlongTheRobot, kTeaser, 3},
  };
  return windows;
}

}  // namespace datagen::cuts
