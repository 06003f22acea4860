// Reference-counted base of every object handed to a host.
#ifndef LEXORA_ENGINE_BASE_LX_OBJECT_H
#define LEXORA_ENGINE_BASE_LX_OBJECT_H

#include <atomic>
#include <cstdint>

namespace Nimbra::Lexora {

// Holds the count (1 at creation) and destroys the object when it drops to 0.
class LXObject {
 public:
  LXObject() = default;
  LXObject(const LXObject&) = delete;
  LXObject& operator=(const LXObject&) = delete;

  virtual void AddRef() { references_.fetch_add(1, std::memory_order_relaxed); }
  virtual void Release() {
    if (references_.fetch_sub(1, std::memory_order_acq_rel) == 1) delete this;
  }
  virtual ~LXObject() = default;

 private:
  std::atomic<int32_t> references_{1};
};

// Joins LXObject (first base) with one host interface (second base); the
// interface's AddRef and Release forward to the LXObject part.
template <class Interface>
class LXInterfaceObject : public LXObject, public Interface {
 public:
  void AddRef() override { LXObject::AddRef(); }
  void Release() override { LXObject::Release(); }
  Interface* AsInterface() { return this; }
};

}  // namespace Nimbra::Lexora

#endif  // LEXORA_ENGINE_BASE_LX_OBJECT_H
