#include "engine/input/charset/live_windows.h"

#include <algorithm>
#include <cstring>

#include "engine/input/charset/single_byte_recognizers.h"
#include "engine/input/charset/trigram_index.h"

namespace Nimbra::Lexora {
namespace {

// One byte per lane, sixteen lanes to a vector: an addition counts every
// lane at once, and a lane's count is read without unpacking.
typedef uint8_t LaneVector __attribute__((vector_size(16)));
constexpr size_t kVectorLanes = sizeof(LaneVector);
// The same lanes with room for a whole sample's counts.
typedef uint16_t WideLaneVector __attribute__((vector_size(2 * kVectorLanes)));
static_assert(sizeof(WideLaneVector) / sizeof(uint16_t) == kVectorLanes);

// The tables' lanes fill the first two vectors and the maps' lanes follow,
// so that the third vector holds maps only and needs no second or third
// place: a window counts whenever its first character is not the map's 0.
constexpr size_t kMapLane = kTrigramTableCount;
static_assert(kMapLane <= 2 * kVectorLanes && kMapLane + kCharMapCount > 2 * kVectorLanes &&
                  kMapLane + kCharMapCount <= 3 * kVectorLanes,
              "the lanes fill three vectors, the third with maps only");

// A byte's lanes at each place of a window.
struct ByteLanes {
  LaneVector first[3];
  LaneVector second[2];
  LaneVector third[2];
};

struct PlaceMasks {
  ByteLanes of[256] = {};
};

void SetLane(LaneVector* vectors, size_t lane) {
  vectors[lane / kVectorLanes][lane % kVectorLanes] = 1;
}

const PlaceMasks& Masks() {
  static const PlaceMasks masks = [] {
    PlaceMasks p;
    for (size_t member = 0; member < kSingleByteRecognizerCount; ++member) {
      const SingleByteRecognizer& r = kSingleByteRecognizers[member];
      const TrigramIndex& index = TrigramIndexFor(r.map);
      for (size_t t = 0; t < r.tableCount; ++t) {
        size_t lane = static_cast<size_t>(r.firstTable) + t;
        size_t bit = FirstTableInIndex(member) + t;
        for (int byte = 0; byte < 256; ++byte) {
          uint8_t code = index.Code(static_cast<uint8_t>(byte));
          if (index.TablesWith(0, code) >> bit & 1) SetLane(p.of[byte].first, lane);
          if (index.TablesWith(1, code) >> bit & 1) SetLane(p.of[byte].second, lane);
          if (index.TablesWith(2, code) >> bit & 1) SetLane(p.of[byte].third, lane);
        }
      }
    }
    for (size_t m = 0; m < kCharMapCount; ++m) {
      const TrigramIndex& index = TrigramIndexFor(static_cast<CharMapId>(m));
      for (int byte = 0; byte < 256; ++byte) {
        if (index.Code(static_cast<uint8_t>(byte)) != TrigramIndex::kZero) {
          SetLane(p.of[byte].first, kMapLane + m);
        }
        if (kMapLane + m < 2 * kVectorLanes) {
          SetLane(p.of[byte].second, kMapLane + m);
          SetLane(p.of[byte].third, kMapLane + m);
        }
      }
    }
    return p;
  }();
  return masks;
}

}  // namespace

void LiveWindows::Count(const uint8_t* kept, size_t end) {
  static_assert(sizeof(before_[0]) == 3 * sizeof(WideLaneVector));
  const PlaceMasks& p = Masks();
  size_t windows = std::min(end > 2 ? end - 2 : 0, kMaxWindows);
  blocks_ = (windows + kBlock - 1) / kBlock;
  WideLaneVector sum[3] = {};
  std::memcpy(before_[0], sum, sizeof(sum));
  // The lanes of the window's first two bytes.
  const ByteLanes* x = &p.of[kept[0]];
  const ByteLanes* y = &p.of[kept[1]];
  for (size_t block = 0; block < blocks_; ++block) {
    LaneVector live0 = {};
    LaneVector live1 = {};
    LaneVector live2 = {};
    auto tally = [&](const ByteLanes* a, const ByteLanes* b, const ByteLanes* c) {
      live0 += a->first[0] & b->second[0] & c->third[0];
      live1 += a->first[1] & b->second[1] & c->third[1];
      live2 += a->first[2];
    };
    size_t j = 2 + block * kBlock;
    size_t blockEnd = std::min(2 + windows, j + kBlock);
    // Two windows a turn, so that the lanes need not move along.
    for (; j + 2 <= blockEnd; j += 2) {
      const ByteLanes* z = &p.of[kept[j]];
      const ByteLanes* w = &p.of[kept[j + 1]];
      tally(x, y, z);
      tally(y, z, w);
      x = z;
      y = w;
    }
    if (j < blockEnd) {
      const ByteLanes* z = &p.of[kept[j]];
      tally(x, y, z);
      x = y;
      y = z;
    }
    sum[0] += __builtin_convertvector(live0, WideLaneVector);
    sum[1] += __builtin_convertvector(live1, WideLaneVector);
    sum[2] += __builtin_convertvector(live2, WideLaneVector);
    std::memcpy(before_[block + 1], sum, sizeof(sum));
  }
}

}  // namespace Nimbra::Lexora
