// Failure injection and call counting for in-memory objects, so that tests can drive
// every failure path and see which members were called.
#pragma once

#include <cstdint>
#include <exception>
#include <map>
#include <string>
#include <string_view>

namespace sendnote::inmemory {

class Faults {
 public:
  // Makes `member` raise the error on its next `times` calls (-1: on every call).
  void FailOn(std::u16string_view member, int32_t number, std::u16string description = u"",
              int times = -1);
  // Makes `member` throw `failure` (any exception, not only the error type) likewise.
  void ThrowOn(std::u16string_view member, std::exception_ptr failure, int times = -1);
  void Clear(std::u16string_view member);
  void ClearAll();

  // Counts a call of `member` and raises the error armed for it, if any. Every in-memory
  // operation calls this first.
  void Enter(std::u16string_view member);

  // How often `member` was called (failed calls included).
  int Calls(std::u16string_view member) const;
  int TotalCalls() const { return total_calls_; }

 private:
  struct Armed {
    int32_t number;
    std::u16string description;
    int remaining;               // -1: always
    std::exception_ptr failure;  // thrown instead of the error when set
  };
  std::map<std::u16string, Armed, std::less<>> armed_;
  std::map<std::u16string, int, std::less<>> calls_;
  int total_calls_ = 0;
};

// Base of in-memory objects: gives tests the object's Faults.
class Faultable {
 public:
  Faults& faults() { return faults_; }
  const Faults& faults() const { return faults_; }

 protected:
  void Enter(std::u16string_view member) { faults_.Enter(member); }

 private:
  Faults faults_;
};

}  // namespace sendnote::inmemory
