#include "datagen/robot/gait.h"

#include <cmath>

namespace datagen::robot {
namespace {

constexpr float kProbe = 1.0f / 480.0f;  // time step for the feet's velocities

// Cubic Hermite between p0 and p1 with tangents m0 and m1 (already scaled by the span).
V3 Hermite(V3 p0, V3 m0, V3 p1, V3 m1, float u) {
  const float u2 = u * u, u3 = u2 * u;
  return p0 * (2 * u3 - 3 * u2 + 1) + m0 * (u3 - 2 * u2 + u) + p1 * (-2 * u3 + 3 * u2) + m1 * (u3 - u2);
}

// A hump that is 0 with zero slope at both ends and 1 at its peak.
float Hump(float u, float peak) {
  const float w = u < peak ? 0.5f * u / peak : 0.5f + 0.5f * (u - peak) / (1.0f - peak);
  const float s = std::sin(3.14159265f * w);
  return s * s;
}

FootPlacement Swing(const Contact& from, const Contact& to, const Travel& travel, const SwingStyle& style, float t) {
  const float span = to.touchdown - from.toeOff;
  const FootPlacement start = ContactFoot(from, travel, style, from.toeOff);
  const FootPlacement end = ContactFoot(to, travel, style, to.touchdown);
  const V3 startVelocity =
      (start.ankle - ContactFoot(from, travel, style, from.toeOff - kProbe).ankle) / kProbe;
  const V3 endVelocity = (ContactFoot(to, travel, style, to.touchdown + kProbe).ankle - end.ankle) / kProbe;
  const float u = Clamp01((t - from.toeOff) / span);
  FootPlacement foot;
  foot.ankle = Hermite(start.ankle, startVelocity * span, end.ankle, endVelocity * span, u);
  foot.ankle.y += (to.landingLift >= 0 ? to.landingLift : style.lift) * Hump(u, style.liftPeak);
  const float settle = Smooth(u / 0.85f);
  foot.pitch = start.pitch + (end.pitch - start.pitch) * settle;
  foot.yaw = start.yaw + (end.yaw - start.yaw) * Smooth(u);
  foot.kneeOut = start.kneeOut + (end.kneeOut - start.kneeOut) * Smooth(u);
  return foot;
}

}  // namespace

FootPlacement ContactFoot(const Contact& contact, const Travel& travel, const SwingStyle& style, float t) {
  float pitch = contact.restPitch;
  if (t > contact.heelOff && contact.toeOff > contact.heelOff) {
    const float roll = Clamp01((t - contact.heelOff) / (contact.toeOff - contact.heelOff));
    pitch += (style.toeOffPitch - contact.restPitch) * roll * roll;
  }
  const V3 toes(contact.x, travel.floor(t), contact.toesZ - travel.distance(t));
  FootPlacement foot = FootOnToes(toes, pitch, contact.yaw);
  foot.kneeOut = contact.kneeOut >= 0 ? contact.kneeOut : style.kneeOut;
  return foot;
}

FootPlacement GaitFoot(const std::vector<Contact>& contacts, const Travel& travel, const SwingStyle& style, float t) {
  if (t <= contacts.front().toeOff) return ContactFoot(contacts.front(), travel, style, t);
  for (std::size_t i = 1; i < contacts.size(); ++i) {
    if (t < contacts[i].touchdown) return Swing(contacts[i - 1], contacts[i], travel, style, t);
    if (t <= contacts[i].toeOff) return ContactFoot(contacts[i], travel, style, t);
  }
  return ContactFoot(contacts.back(), travel, style, contacts.back().toeOff);
}

}  // namespace datagen::robot
