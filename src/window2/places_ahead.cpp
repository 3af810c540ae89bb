#include "window2/places_ahead.h"

#include <algorithm>
#include <utility>

#include "common/register_state.h"

namespace planova {

PlacesAhead::PlacesAhead(Astronomy& astro, ApparentPlaceRequest request,
                         std::function<void(int32_t, ApparentPlaceRequest&)> requestOf, int32_t first, int32_t last)
    : astro_(astro), first_(first), last_(last), request_(std::move(request)), requestOf_(std::move(requestOf)) {
  ready_.Places.resize(kBlockRows);
  pending_.Places.resize(kBlockRows);
  thread_ = std::thread([this] { Work(); });
}

PlacesAhead::~PlacesAhead() {
  hold_ = true;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    quit_ = true;
  }
  wake_.notify_all();
  thread_.join();
}

int32_t PlacesAhead::BlockRowsFrom(int32_t first) const {
  // 1, 1, 2, 4, 8, 16 first blocks' rows: a block as long as the rows before it.
  return std::clamp(first - first_, kFirstBlockRows, kBlockRows);
}

bool PlacesAhead::EndsBlock(int32_t i) const {
  return i == last_ || (ready_.Planned > 0 && i == ready_.First + ready_.Planned - 1);
}

void PlacesAhead::Compute() {
  Block& b = pending_;
  while (b.Count < b.Planned) {
    if (hold_.load(std::memory_order_acquire)) return;
    requestOf_(b.First + b.Count, request_);
    astro_.ApparentPlaceInto(request_, scratch_);
    b.Places[static_cast<size_t>(b.Count)] = RowPlace::Of(scratch_);
    ++b.Count;
    if (!scratch_.Ok) {
      b.Failed = true;
      return;
    }
  }
}

void PlacesAhead::Work() {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return quit_ || busy_; });
    if (quit_) return;
    lock.unlock();
    // A thread starts with its creator's register state: the places run clean of it.
    ClearUpperRegisterState();
    std::exception_ptr error;
    try {
      Compute();
    } catch (...) {
      error = std::current_exception();
    }
    lock.lock();
    error_ = error;
    busy_ = false;
    wake_.notify_all();
  }
}

void PlacesAhead::Start(Block& block, int32_t first) {
  block.First = first;
  block.Planned = std::max(0, std::min(BlockRowsFrom(first), last_ - first + 1));
  block.Count = 0;
  block.Failed = false;
  Continue();
}

void PlacesAhead::Continue() {
  if (pending_.Failed || pending_.Count >= pending_.Planned || hold_) return;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    busy_ = true;
  }
  wake_.notify_all();
}

void PlacesAhead::Wait() {
  std::unique_lock<std::mutex> lock(mutex_);
  wake_.wait(lock, [this] { return !busy_; });
  if (error_) std::rethrow_exception(std::exchange(error_, nullptr));
}

void PlacesAhead::Hold() {
  hold_ = true;
  Wait();
}

void PlacesAhead::Resume() {
  hold_ = false;
  Continue();
}

const PlacesAhead::RowPlace& PlacesAhead::At(int32_t i) {
  const auto holds = [i](const Block& b) { return i >= b.First && i < b.First + b.Count; };
  if (!holds(ready_)) {
    hold_ = false;  // the window asks for places: the thread is its to go on
    Wait();
    // The block the thread has just finished, or (the first row, or rows not in order)
    // one computed now.
    if (!holds(pending_) || i != pending_.First) {
      Start(pending_, i);
      Wait();
    }
    std::swap(ready_, pending_);
    pending_.Planned = pending_.Count = 0;
    // The next block, unless this one ended in a failure (the run ends there).
    if (!ready_.Failed) Start(pending_, ready_.First + ready_.Count);
  }
  return ready_.Places[static_cast<size_t>(i - ready_.First)];
}

}  // namespace planova
