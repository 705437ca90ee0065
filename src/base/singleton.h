#pragma once
// One process-wide instance of T, created on first use.
#include <new>

template <typename T>
class GenericSingleton {
 public:
  // The instance, created with new on first use; null if that allocation fails.
  static T* Instance() {
    if (instance_ == nullptr) instance_ = new (std::nothrow) T;
    return instance_;
  }
  // True while an instance exists (without creating one).
  static bool Exists() { return instance_ != nullptr; }
  // Destroys the instance and resets the pointer, so the next Instance() starts anew.
  static void Destroy() {
    T* instance = instance_;
    instance_ = nullptr;
    delete instance;
  }

 protected:
  GenericSingleton() = default;
  ~GenericSingleton() = default;

 private:
  static inline T* instance_ = nullptr;
};
