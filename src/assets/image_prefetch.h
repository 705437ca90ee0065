#pragma once
// Image files decoded on worker threads ahead of the loader that turns them into
// textures one by one on the GL thread. Decoding is most of what loading costs and
// needs no GL context; the uploads stay where the context is. The loader asks for each
// file in turn and waits only for that one.
#include <condition_variable>
#include <cstddef>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "assets/image.h"

// What a texture loader decodes its files through (a service of the load).
class IImageSource {
 public:
  // The decoded picture of path. False, with the decoder's message on standard error,
  // when it is missing or does not decode.
  virtual bool Decode(const std::string& path, Image& image) = 0;

 protected:
  ~IImageSource() = default;
};

class ImagePrefetch final : public IImageSource {
 public:
  // Workers decode paths in order, keeping at most `ahead` decoded pictures that have
  // not been taken yet, so memory stays bounded however far the upload lags.
  ImagePrefetch(std::vector<std::string> paths, int workers, std::size_t ahead = 12);
  // Stops the workers; pictures nobody took are dropped.
  ~ImagePrefetch();
  ImagePrefetch(const ImagePrefetch&) = delete;
  ImagePrefetch& operator=(const ImagePrefetch&) = delete;

  // A listed path that no worker has started is decoded here at once rather than
  // waited for; one a worker is decoding is waited for. A path not in the list, or
  // asked for a second time, is decoded here.
  bool Decode(const std::string& path, Image& image) override;

  // Worker threads for this machine: all cores but the GL thread's, at least one.
  static int DefaultWorkers();

 private:
  enum class State { kWaiting, kDecoding, kDone, kTaken };
  struct Slot {
    std::string path;
    State state = State::kWaiting;
    bool decoded = false;
    Image image;
  };

  void Work();
  std::size_t Undelivered() const;  // decoded or being decoded, not yet taken

  std::vector<Slot> slots_;
  std::map<std::string, std::size_t> index_;
  std::size_t next_ = 0;  // the first slot no one has started
  std::size_t ahead_;
  bool stopping_ = false;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<std::thread> workers_;
};
