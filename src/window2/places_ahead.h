// The theoretical places of a comparison run computed a block of rows ahead, on a second
// thread, while window 2 records the rows before them (their O-C, the Param_data_ record,
// the statistics): on two cores the run takes about as long as its places alone.
//
// The thread computes the places in the rows' order through the one Astronomy value, as
// the run itself would, and a place depends on its request alone, so every place is the
// same to the last bit.  While the thread computes, it is the Astronomy value's only
// user, but for the calendar of CalendarDateOf, which touches nothing a place reads: the
// window holds the thread (Hold, within one place) before it asks anything else of it or
// shows a place, and lets it go on after (Resume).  Events, which may ask anything of the
// Astronomy value, are let in only where a block ends, the thread idle (Finish).
//
// Blocks grow from kFirstBlockRows to kBlockRows: a thread wakes once a block, not once
// a row.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "astro/apparent_place.h"
#include "astro/astronomy.h"

namespace planova {

class PlacesAhead {
 public:
  static constexpr int32_t kFirstBlockRows = 256;
  static constexpr int32_t kBlockRows = 16 * kFirstBlockRows;

  // What a run takes of a row's place (the whole place is computed again on the window's
  // thread where it is shown).
  struct RowPlace {
    bool Ok = false;  // false: the place failed; the run ends at this row
    double LonDeg = 0, LatDeg = 0, DeltaTSeconds = 0, EphemerisJd = 0;
    static RowPlace Of(const ApparentPlace& p) { return {p.Ok, p.LonDeg, p.LatDeg, p.DeltaTSeconds, p.EphemerisJd}; }
  };

  // requestOf(i, request): sets request's date and observer to row i's (called on the
  // second thread: it may only read what the run does not change).  Rows first..last.
  PlacesAhead(Astronomy& astro, ApparentPlaceRequest request,
              std::function<void(int32_t, ApparentPlaceRequest&)> requestOf, int32_t first, int32_t last);
  // Stops the thread (after the place in hand) and ends it.
  ~PlacesAhead();
  PlacesAhead(const PlacesAhead&) = delete;
  PlacesAhead& operator=(const PlacesAhead&) = delete;

  // Row i's place, rows asked for in order; the thread goes on with the next block when
  // i begins one.  A place that failed ends its block and the computing.
  const RowPlace& At(int32_t i);
  // Whether row i is the last of its block (where the window lets events in).
  bool EndsBlock(int32_t i) const;
  // Waits until the thread has finished its block (the next one the window takes): the
  // Astronomy value is the window's until the next At.
  void Finish() { Wait(); }
  // Holds the thread: when Hold returns it has finished its place in hand and the
  // Astronomy value is the window's until Resume.
  void Hold();
  void Resume();

 private:
  struct Block {
    int32_t First = 0, Planned = 0, Count = 0;  // rows First .. First + Count - 1 computed of Planned
    bool Failed = false;                         // the last computed failed
    std::vector<RowPlace> Places;
  };
  int32_t BlockRowsFrom(int32_t first) const;
  void Start(Block& block, int32_t first);  // plans the block from `first` and sets the thread on it
  void Continue();                          // sets the thread on the rest of pending_
  void Wait();                              // until the thread is idle; rethrows its failure
  void Work();
  void Compute();

  Astronomy& astro_;
  const int32_t first_, last_;
  Block ready_;  // the window's
  // The thread's, each on cache lines of its own (the window reads ready_ at every row).
  alignas(64) Block pending_;
  ApparentPlaceRequest request_;
  ApparentPlace scratch_;
  std::function<void(int32_t, ApparentPlaceRequest&)> requestOf_;

  alignas(64) std::mutex mutex_;
  std::condition_variable wake_;
  bool busy_ = false, quit_ = false;
  std::atomic<bool> hold_{false};
  std::exception_ptr error_;
  std::thread thread_;
};

}  // namespace planova
