#pragma once
// The show's times, in seconds of the timeline, written once: when the robot is
// released, runs, stands at the glass, breaks through and dances, when the scenes hand
// the timeline to each other, when the music ends, the beat signal's switching times and
// the greetings' change times. The scenes, the controller, the data generator (cameras,
// robot motion, soundtrack), the players and the tests all take them from here, so the
// picture, the data and the music cannot drift apart.
//
// The event times are doubles holding the number as written: the data generator
// computes with them as they are. The engine compares its float timeline times with
// static_cast<float>(time), the float nearest to the written number.

namespace show {

// ---- The story ------------------------------------------------------------------------
inline constexpr double kRobotRelease = 110.96;  // the robot parts replace the lying robot
inline constexpr double kRunStart = 115.0;       // the robot starts running along its path
inline constexpr double kPassageOpen = 117.5;    // the passage beyond the doors is drawn ...
inline constexpr double kSceneSwitch = 120.0;    // the hall's last moment; the wall scene follows
inline constexpr double kRobotStands = 136.4;    // the robot stops in front of the glass wall
inline constexpr double kPassageClose = 137.5;   // ... until here, as far as the hall is concerned
inline constexpr double kWallCharge = 164.4808;  // the breaking-wall animation starts
inline constexpr double kWallImpact = 166.3808;  // the robot hits the glass: the shards fly
inline constexpr double kRunAgain = 167.4808;    // the robot runs on beyond the wall
inline constexpr double kBackToHall = 200.598;   // the hall takes the timeline again
inline constexpr double kDanceLight = 200.7;     // the robot stands at its dance place, the dance light is on
inline constexpr double kDanceStart = 201.9;     // the dance animation's time 0
inline constexpr double kEndScreenIn = 218.175;  // the end card starts to fade in (over one bar)
inline constexpr double kMusicSilent = 222.5;    // the soundtrack has faded out
inline constexpr double kMusicEnd = 223.0;       // the timeline leaves the music for the frame clock

// The float the engine compares a float timeline time with.
constexpr float AsFloat(double seconds) { return static_cast<float>(seconds); }

// ---- The beat signal --------------------------------------------------------------------
// The times at which the built-in signal track switches: 1 at the first, 0 at the
// second, and so on (it starts at 0). Each switch flashes the picture; the soundtrack has
// an accent on each. The track holds AsFloat of each.
inline constexpr int kSignalSwitchCount = 144;
inline constexpr double kSignalTimes[kSignalSwitchCount] = {
    29.5854, 31.2631, 32.6122, 32.9020, 34.2273, 35.8714, 36.3593, 37.5345, 38.9509,
    39.2715, 39.5595, 40.5995, 42.4831, 42.9000, 43.9936, 45.5709, 45.9945, 47.3452,
    48.8532, 49.3578, 50.6231, 52.1334, 52.6416, 53.8541, 58.7516, 60.3002, 60.7377,
    61.9026, 63.5790, 63.9953, 65.2431, 66.8294, 67.2732, 68.5024, 68.9359, 70.1425,
    71.7178, 73.4214, 74.9828, 75.4901, 76.7128, 78.2524, 79.8739, 80.3133, 81.5346,
    83.1866, 84.7946, 110.9995, 112.4888, 113.9540, 114.4223, 115.6399, 116.1866, 117.4595,
    117.6063, 118.9971, 120.5958, 120.9290, 122.2158, 122.9019, 123.9755, 124.4364, 125.4857,
    125.9176, 127.1575, 128.8262, 130.4339, 130.8879, 132.1369, 133.7188, 135.3039, 135.7367,
    137.0092, 138.5752, 138.9802, 140.2784, 141.8177, 143.5535, 143.9608, 145.1361, 146.7334,
    147.1865, 148.3323, 149.9318, 150.5223, 151.4737, 153.3106, 153.7283, 154.9738, 156.6602,
    156.8938, 158.2132, 159.9159, 160.1760, 161.4894, 166.3343, 167.8816, 169.6021, 170.0050,
    171.2626, 172.8610, 173.2664, 174.4723, 176.0849, 176.5040, 177.7438, 179.4071, 179.8114,
    181.0813, 182.6143, 182.9816, 184.2766, 185.8903, 186.3692, 187.5156, 189.1958, 189.6271,
    190.7596, 191.1080, 192.4522, 192.9488, 194.0754, 194.4272, 195.6851, 196.1185, 197.3192,
    198.9576, 199.3005, 200.5708, 202.1550, 202.5488, 203.8721, 205.4592, 205.9066, 207.0271,
    208.5505, 209.0516, 210.3174, 212.0070, 212.3844, 213.6274, 215.2621, 215.5904, 216.9343,
};
// The flash that marks the release.
inline constexpr double kReleaseHit = kSignalTimes[47];

// ---- The greetings ------------------------------------------------------------------------
// The times at which the greetings on the glass wall change: a step signal that is 1 at
// the first key, 0 at the second and alternates from there. Key times are seconds after
// kGreetingsStart; the soundtrack puts a stab on each change.
inline constexpr float kGreetingsStart = 138.9f;
inline constexpr int kGreetingsKeyCount = 56;
inline constexpr float kGreetingsKeyTimes[kGreetingsKeyCount] = {
    0.0f,     0.2884f,  0.5975f,  0.9041f,  1.6359f,  1.9344f,  2.2349f,  2.5352f,  3.2335f,  3.5227f,
    3.8234f,  4.1288f,  4.8952f,  5.1976f,  5.4865f,  5.8038f,  6.5663f,  6.8409f,  7.1272f,  7.4285f,
    8.1461f,  8.4343f,  8.7406f,  9.0265f,  9.7262f,  10.0108f, 10.3142f, 10.6179f, 11.4572f, 11.7289f,
    12.0158f, 12.3189f, 13.0429f, 13.3204f, 13.6164f, 13.893f,  14.7344f, 14.9967f, 15.2898f, 15.5664f,
    16.2734f, 16.5655f, 16.8585f, 17.1382f, 17.9778f, 18.2636f, 18.5488f, 18.83f,   19.5736f, 19.8404f,
    20.1587f, 20.4196f, 21.1482f, 21.4474f, 21.7468f, 22.0482f};

}  // namespace show
