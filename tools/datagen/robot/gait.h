#pragma once
// Feet that plant: where each foot is at any time of a stepping schedule, while the
// robot's hip centre travels along +z (pose space) over a floor at a given depth.
//
// A foot on the floor stays at its world place, so in pose space it slides back exactly
// as fast as the robot travels; the feet therefore plant as long as the placement moves
// the robot by the same travel. A contact is a stance: the foot lands (touchdown),
// rests on its sole (or on its ball, with a lifted heel), rolls up onto the toes joint
// from heel-off, and leaves at toe-off. Between two contacts the foot swings on a smooth
// curve that starts and ends with the foot's own velocity, lifted over the floor.
#include <functional>
#include <vector>

#include "datagen/robot/skeleton.h"

namespace datagen::robot {

struct Contact {
  float touchdown = 0, heelOff = 0, toeOff = 0;  // times; heelOff may equal touchdown
  float toesZ = 0;   // world travel coordinate of the toes joint while down
  float x = 0;       // pose-space x of the toes joint
  float yaw = 0;     // the foot's heading (see FootPlacement)
  float restPitch = 0;  // the bone's pitch until heel-off (FlatFootPitch(): flat sole)
  float landingLift = -1;  // the lift of the swing that lands here; negative: the style's
  float kneeOut = -1;      // the knee's turn out while down; negative: the style's
};

struct Travel {
  // Distance travelled along +z by the hip centre at a time (world units).
  std::function<float(float)> distance;
  // The floor's height in pose space at a time (the hip centre's height, negated).
  std::function<float(float)> floor;
};

struct SwingStyle {
  float lift = 120.0f;        // how high the swing curve rises above the straight line
  float liftPeak = 0.4f;      // where in the swing (0..1) it is highest
  float toeOffPitch = 0.95f;  // the bone's pitch as the toes leave the floor
  float kneeOut = 0.12f;
};

// The foot at time t. Contacts are in time order and do not overlap; before the first
// touchdown the foot rests as in the first contact, after the last toe-off it stays
// where it left.
FootPlacement GaitFoot(const std::vector<Contact>& contacts, const Travel& travel, const SwingStyle& style, float t);

// The contact's foot while it is down (touchdown <= t <= toeOff).
FootPlacement ContactFoot(const Contact& contact, const Travel& travel, const SwingStyle& style, float t);

}  // namespace datagen::robot
