#pragma once
// Storage for millions of small objects that live and die together: the
// loops of a search, the per-station lists of a graph. Each object sits in a
// fixed-size slot with room for its first blocks right behind it, and slots
// are carved from large chunks, so making an object costs no heap call and
// the objects lie packed in memory. Nothing is freed one by one: Clear and
// the destructor destroy every object and free the chunks whole. Up to
// 256 MB of the largest chunks freed are kept for the pools made after, for
// the life of the program, so the next search or network reuses that memory.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <utility>
#include <vector>

// Fixed-size, aligned slots in chunks that double in size up to a ceiling.
class TSlotStore {
 public:
  // Slots are aligned as std::max_align_t when slotSize is a multiple of
  // that alignment, else as any alignment that divides slotSize.
  explicit TSlotStore(size_t slotSize);
  ~TSlotStore() = default;
  TSlotStore(const TSlotStore&) = delete;
  TSlotStore& operator=(const TSlotStore&) = delete;

  size_t SlotSize() const { return slotSize_; }
  // Slots in use, in the order they were taken.
  size_t Count() const { return count_; }
  // Address of the next slot, making room for it first (raises EOutOfMemory
  // and changes nothing visible when no chunk can be had). The slot is in use
  // only after Commit.
  std::byte* Next();
  void Commit() noexcept { ++count_, ++chunks_.back().Used; }
  // Gives back the slot taken last.
  void Uncommit() noexcept { --count_, --chunks_.back().Used; }
  // Calls f(slot) for every slot in use.
  template <class F>
  void ForEach(F&& f) const {
    for (const TChunk& chunk : chunks_)
      for (size_t i = 0; i < chunk.Used; ++i) f(chunk.Memory.Bytes() + i * slotSize_);
  }
  // True when p points into one of the chunks.
  bool Holds(const void* p) const noexcept;
  // Frees every chunk; the objects in them must be gone already.
  void Clear() noexcept;
  void Swap(TSlotStore& other) noexcept;

 private:
  // A chunk's memory, freed as it was obtained.
  class TChunkMemory {
   public:
    // Raises EOutOfMemory.
    explicit TChunkMemory(size_t bytes);
    ~TChunkMemory();
    TChunkMemory(TChunkMemory&& other) noexcept
        : bytes_(std::exchange(other.bytes_, nullptr)), size_(std::exchange(other.size_, 0)) {}
    TChunkMemory& operator=(TChunkMemory&& other) noexcept {
      std::swap(bytes_, other.bytes_);
      std::swap(size_, other.size_);
      return *this;
    }
    std::byte* Bytes() const { return bytes_; }
    size_t Size() const { return size_; }

   private:
    std::byte* bytes_;
    size_t size_;
  };
  struct TChunk {
    TChunkMemory Memory;
    size_t Slots = 0;
    size_t Used = 0;
  };
  // A chunk's addresses as integers: chunks are unrelated objects, so their
  // pointers have no order of their own.
  struct TRange {
    uintptr_t Begin;
    uintptr_t End;
  };

  size_t slotSize_;
  size_t count_ = 0;
  std::vector<TChunk> chunks_;
  // The chunks' address ranges in address order, for Holds.
  std::vector<TRange> ranges_;
};

// Objects of type T, each made with `extraBytes` of room behind it that is
// handed to its constructor as the last argument (a std::byte*, aligned as T).
template <class T>
class TObjectPool {
 public:
  static_assert(alignof(T) <= alignof(std::max_align_t));

  explicit TObjectPool(size_t extraBytes) : slots_(SlotSizeFor(extraBytes)) {}
  ~TObjectPool() { Clear(); }
  TObjectPool(const TObjectPool&) = delete;
  TObjectPool& operator=(const TObjectPool&) = delete;

  size_t Count() const { return slots_.Count(); }
  // Constructs T(args..., extra) in a new slot. If the constructor raises,
  // the slot is given back.
  template <class... Args>
  T* Emplace(Args&&... args) {
    std::byte* slot = slots_.Next();
    T* object = new (slot) T(std::forward<Args>(args)..., slot + sizeof(T));
    slots_.Commit();
    return object;
  }
  // Destroys the object made last; object must be that one.
  void DestroyLast(T* object) noexcept {
    object->~T();
    slots_.Uncommit();
  }
  // True when p is (or points into) an object of this pool.
  bool Holds(const void* p) const noexcept { return slots_.Holds(p); }
  // Destroys every object and frees the storage.
  void Clear() noexcept {
    slots_.ForEach([](std::byte* slot) { std::launder(reinterpret_cast<T*>(slot))->~T(); });
    slots_.Clear();
  }
  void Swap(TObjectPool& other) noexcept { slots_.Swap(other.slots_); }

 private:
  static size_t SlotSizeFor(size_t extraBytes) {
    const size_t bytes = sizeof(T) + extraBytes;
    return (bytes + alignof(T) - 1) / alignof(T) * alignof(T);
  }

  TSlotStore slots_;
};
