#pragma once
// The times at which the greetings on the glass wall change: a step signal that is 1
// at the first time, 0 at the second and alternates from there. Times are seconds after
// kGreetingsStart of the timeline. The soundtrack puts a stab on each change.

constexpr float kGreetingsStart = 138.9f;
constexpr int kGreetingsKeyCount = 56;
constexpr float kGreetingsKeyTimes[kGreetingsKeyCount] = {
    0.0f,     0.2884f,  0.5975f,  0.9041f,  1.6359f,  1.9344f,  2.2349f,  2.5352f,  3.2335f,  3.5227f,
    3.8234f,  4.1288f,  4.8952f,  5.1976f,  5.4865f,  5.8038f,  6.5663f,  6.8409f,  7.1272f,  7.4285f,
    8.1461f,  8.4343f,  8.7406f,  9.0265f,  9.7262f,  10.0108f, 10.3142f, 10.6179f, 11.4572f, 11.7289f,
    12.0158f, 12.3189f, 13.0429f, 13.3204f, 13.6164f, 13.893f,  14.7344f, 14.9967f, 15.2898f, 15.5664f,
    16.2734f, 16.5655f, 16.8585f, 17.1382f, 17.9778f, 18.2636f, 18.5488f, 18.83f,   19.5736f, 19.8404f,
    20.1587f, 20.4196f, 21.1482f, 21.4474f, 21.7468f, 22.0482f};
