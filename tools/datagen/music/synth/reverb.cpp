#include "datagen/music/synth/reverb.h"

#include <cstddef>

#include "datagen/music/synth/filter.h"

namespace datagen {
namespace synth {
namespace {

class Comb {
 public:
  explicit Comb(std::size_t length) : buffer_(length, 0.0f) {}
  float Process(float input, float feedback, float damping) {
    const float output = buffer_[index_];
    store_ = output * (1.0f - damping) + store_ * damping;
    buffer_[index_] = input + store_ * feedback;
    if (++index_ == buffer_.size()) index_ = 0;
    return output;
  }

 private:
  std::vector<float> buffer_;
  std::size_t index_ = 0;
  float store_ = 0.0f;
};

class AllPass {
 public:
  explicit AllPass(std::size_t length) : buffer_(length, 0.0f) {}
  float Process(float input) {
    const float delayed = buffer_[index_];
    buffer_[index_] = input + delayed * 0.5f;
    if (++index_ == buffer_.size()) index_ = 0;
    return delayed - input;
  }

 private:
  std::vector<float> buffer_;
  std::size_t index_ = 0;
};

// One side of the hall; the right side's delays are a little longer, which decorrelates
// the two and makes the tail wide.
class Tank {
 public:
  explicit Tank(std::size_t spread) {
    static const std::size_t kCombs[8] = {1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
    static const std::size_t kAllPasses[4] = {556, 441, 341, 225};
    for (std::size_t length : kCombs) combs_.emplace_back(length + spread);
    for (std::size_t length : kAllPasses) allPasses_.emplace_back(length + spread);
  }
  float Process(float input, float feedback, float damping) {
    float sum = 0.0f;
    for (Comb& comb : combs_) sum += comb.Process(input, feedback, damping);
    for (AllPass& pass : allPasses_) sum = pass.Process(sum);
    return sum;
  }

 private:
  std::vector<Comb> combs_;
  std::vector<AllPass> allPasses_;
};

}  // namespace

StereoBuffer Reverb(const StereoBuffer& send, const ReverbSettings& settings) {
  StereoBuffer wet(send.Frames());
  Tank left(0), right(37);
  OnePole lowCut;
  lowCut.Set(180.0, kSampleRate);
  const std::size_t preDelay = static_cast<std::size_t>(settings.preDelay * kSampleRate);
  const float feedback = static_cast<float>(settings.size);
  const float damping = static_cast<float>(settings.damping);
  for (std::size_t i = 0; i < send.Frames(); ++i) {
    float input = 0.0f;
    if (i >= preDelay) input = lowCut.High((send.left[i - preDelay] + send.right[i - preDelay]) * 0.015f);
    wet.left[i] = left.Process(input, feedback, damping);
    wet.right[i] = right.Process(input, feedback, damping);
  }
  return wet;
}

StereoBuffer PingPongDelay(const StereoBuffer& send, double delay, double feedback) {
  StereoBuffer wet(send.Frames());
  const std::size_t length = static_cast<std::size_t>(delay * kSampleRate);
  if (length == 0) return wet;
  OnePole darkLeft, darkRight;
  darkLeft.Set(3500.0, kSampleRate);
  darkRight.Set(3500.0, kSampleRate);
  const float gain = static_cast<float>(feedback);
  // Left echoes the input and the right side's echo; right echoes only the left: so
  // the repeats bounce between the two.
  for (std::size_t i = length; i < send.Frames(); ++i) {
    const float input = (send.left[i - length] + send.right[i - length]) * 0.5f;
    wet.left[i] = darkLeft.Low(input + wet.right[i - length] * gain);
    wet.right[i] = darkRight.Low(wet.left[i - length] * gain);
  }
  return wet;
}

}  // namespace synth
}  // namespace datagen
