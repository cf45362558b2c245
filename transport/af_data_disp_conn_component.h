#pragma once

#include <cstdint>
#include <string>
#include <utility>

namespace transport {

// Base of the data-dispatcher connections: a named component that can be
// opened, closed and written to.
class TAfDataDispConnComponent {
 public:
  explicit TAfDataDispConnComponent(std::string name) : name_(std::move(name)) {}
  virtual ~TAfDataDispConnComponent() = default;
  TAfDataDispConnComponent(const TAfDataDispConnComponent&) = delete;
  TAfDataDispConnComponent& operator=(const TAfDataDispConnComponent&) = delete;

  const std::string& Name() const { return name_; }

  virtual void Close() {}
  virtual void Open() {}
  virtual void WriteData(const void* buffer, int32_t count) = 0;

 private:
  std::string name_;
};

}  // namespace transport
