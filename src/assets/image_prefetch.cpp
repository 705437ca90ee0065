#include "assets/image_prefetch.h"

#include <algorithm>

#include "assets/texture.h"

ImagePrefetch::ImagePrefetch(std::vector<std::string> paths, int workers, std::size_t ahead)
    : ahead_(std::max<std::size_t>(ahead, 1)) {
  slots_.resize(paths.size());
  for (std::size_t i = 0; i < paths.size(); ++i) {
    slots_[i].path = std::move(paths[i]);
    index_.emplace(slots_[i].path, i);  // a repeated path keeps its first slot
  }
  for (int i = 0; i < workers && !slots_.empty(); ++i) workers_.emplace_back([this] { Work(); });
}

ImagePrefetch::~ImagePrefetch() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
  for (std::thread& worker : workers_) worker.join();
}

int ImagePrefetch::DefaultWorkers() {
  const unsigned cores = std::thread::hardware_concurrency();
  return static_cast<int>(std::clamp(cores > 1 ? cores - 1 : 1u, 1u, 4u));
}

std::size_t ImagePrefetch::Undelivered() const {
  std::size_t count = 0;
  for (std::size_t i = 0; i < next_; ++i) {
    if (slots_[i].state == State::kDecoding || slots_[i].state == State::kDone) ++count;
  }
  return count;
}

void ImagePrefetch::Work() {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    changed_.wait(lock, [this] {
      return stopping_ || next_ >= slots_.size() || Undelivered() < ahead_;
    });
    // Slots the loader took itself are skipped.
    while (next_ < slots_.size() && slots_[next_].state != State::kWaiting) ++next_;
    if (stopping_ || next_ >= slots_.size()) return;
    Slot& slot = slots_[next_++];
    slot.state = State::kDecoding;
    lock.unlock();
    Image image;
    const bool decoded = DecodeTextureFile(slot.path, image);
    lock.lock();
    slot.image = std::move(image);
    slot.decoded = decoded;
    slot.state = State::kDone;
    changed_.notify_all();
  }
}

bool ImagePrefetch::Decode(const std::string& path, Image& image) {
  std::unique_lock<std::mutex> lock(mutex_);
  const auto found = index_.find(path);
  if (found == index_.end() || slots_[found->second].state == State::kTaken) {
    lock.unlock();
    return DecodeTextureFile(path, image);
  }
  Slot& slot = slots_[found->second];
  if (slot.state == State::kWaiting) {
    // Nobody has started it: decoding it here is quicker than waiting. Workers skip a
    // slot that is no longer waiting.
    slot.state = State::kTaken;
    lock.unlock();
    return DecodeTextureFile(path, image);
  }
  changed_.wait(lock, [&slot] { return slot.state == State::kDone; });
  slot.state = State::kTaken;
  image = std::move(slot.image);
  const bool decoded = slot.decoded;
  changed_.notify_all();  // a place ahead is free again
  return decoded;
}
