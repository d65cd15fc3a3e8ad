// AheadRing: the hand-over between a helper thread that runs ahead of a pass
// and the pass. The helper puts the items it makes into a ring of fixed
// size, and says how far it has looked (an offset of the text) and whether
// it has ended; the pass takes the items in order.
//
// Each side hands its counters over in batches: a counter written at every
// item would move its cache line between the cores at every item. A side
// with nothing to do spins a little, then sleeps until the other wakes it:
// the counters and the sleep flags are sequentially consistent, so that a
// side that hands something over either sees the other's flag or is seen
// by the other's last check before it sleeps.
#pragma once
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>

template <class Item, uint32_t N>
class AheadRing {
 public:
  static constexpr uint32_t kBatch = 64;  // items between two hand-overs

  // The helper's side.
  //
  // Waits until there is room for one more item; false when cancelled. A
  // full ring is left to drain to half, so that the helper then runs on
  // for a while.
  bool waitForRoom() {
    if (helper_.made - helper_.taken < N) return true;
    publish();
    waitUntil(helperAsleep_, [&] {
      helper_.taken = taken_.load();
      return helper_.made - helper_.taken <= N / 2 || cancel_.load();
    });
    return !cancel_.load();
  }
  // Puts an item (after waitForRoom) and moves the offset looked at on;
  // hands over a batch.
  void put(const Item& item, int32_t done) {
    items_[helper_.made++ % N] = item;
    helper_.done = done;
    if (helper_.made - helper_.published >= kBatch) publish();
  }
  // Moves the offset looked at on without an item; handed over at once
  // when hand is set.
  void lookedTo(int32_t done, bool hand) {
    helper_.done = done;
    if (hand) publish();
  }
  // Hands over the last items; ended tells whether the helper stops (short
  // of the end when the offset looked at stays short of it).
  void publish(bool ended = false) {
    helper_.published = helper_.made;
    // made before done: a pass that sees done sees the items made before.
    made_.store(helper_.made);
    done_.store(helper_.done);
    if (ended) ended_.store(true);
    wake(passAsleep_);
  }
  bool cancelled() const { return cancel_.load(); }

  // The pass's side.
  //
  // The next item, or null when none is handed over yet.
  const Item* head() const { return pass_.taken != pass_.made ? &items_[pass_.taken % N] : nullptr; }
  // Takes the head item; hands the room over in batches.
  void take() {
    if (++pass_.taken % kBatch == 0) handOver();
  }
  // As far as the pass has seen: the offset looked at, and the end.
  int32_t done() const { return pass_.done; }
  bool ended() const { return pass_.ended; }
  // Reads what the helper has handed over; false when nothing is new.
  bool refresh() {
    const uint32_t made = pass_.made;
    const int32_t done = pass_.done;
    // ended before done before made: each shows what came before it.
    pass_.ended = ended_.load();
    pass_.done = done_.load();
    pass_.made = made_.load();
    return pass_.made != made || pass_.done != done || pass_.ended;
  }
  // Waits until the helper hands something over, giving it all the room.
  void waitForNews() {
    handOver();
    waitUntil(passAsleep_, [&] {
      return made_.load() != pass_.made || done_.load() != pass_.done || ended_.load();
    });
  }

  // Stops the helper at its next check.
  void cancel() {
    cancel_.store(true);
    wake(helperAsleep_);
  }

 private:
  static constexpr int kSpins = 2000;  // checks before a sleep

  static void cpuPause() {
#if defined(__x86_64__) || defined(__i386__)
    __builtin_ia32_pause();
#endif
  }
  void wake(const std::atomic<bool>& asleep) {
    if (asleep.load()) {
      std::lock_guard<std::mutex> lock(mutex_);
      wake_.notify_all();
    }
  }
  template <class Ready>
  void waitUntil(std::atomic<bool>& asleep, Ready&& ready) {
    for (int i = 0; i < kSpins; ++i) {
      if (ready()) return;
      cpuPause();
    }
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
      asleep.store(true);
      if (ready()) break;
      wake_.wait(lock);
    }
    asleep.store(false);
  }
  // The pass hands over what it has taken, and wakes the helper when the
  // ring has drained far enough for it.
  void handOver() {
    taken_.store(pass_.taken);
    if (helperAsleep_.load() && made_.load() - pass_.taken <= N / 2) wake(helperAsleep_);
  }

  Item items_[N];
  // Handed over by the helper.
  alignas(64) std::atomic<uint32_t> made_{0};
  std::atomic<int32_t> done_{0};
  std::atomic<bool> ended_{false};
  // Handed over by the pass.
  alignas(64) std::atomic<uint32_t> taken_{0};
  std::atomic<bool> cancel_{false};
  // Each side's own counters.
  alignas(64) struct {
    uint32_t made = 0, taken = 0, published = 0;
    int32_t done = 0;
  } helper_;
  alignas(64) struct {
    uint32_t made = 0, taken = 0;
    int32_t done = 0;
    bool ended = false;
  } pass_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::atomic<bool> helperAsleep_{false};
  std::atomic<bool> passAsleep_{false};
};
