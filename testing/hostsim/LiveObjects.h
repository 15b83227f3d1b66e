// Counts the simulator's live COM objects (one counter for every kind), so that a run can
// prove its guest released everything it was handed.
#pragma once

namespace sendnote::hostsim {

class LiveObjects {
 public:
  static long Count();
  static void Created();
  static void Destroyed();
};

}  // namespace sendnote::hostsim
