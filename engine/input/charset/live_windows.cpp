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

// Per byte, the lanes it can serve at each place of a window.
struct PlaceMasks {
  LaneVector first[256][3] = {};
  LaneVector second[256][2] = {};
  LaneVector third[256][2] = {};
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
          if (index.TablesWith(0, code) >> bit & 1) SetLane(p.first[byte], lane);
          if (index.TablesWith(1, code) >> bit & 1) SetLane(p.second[byte], lane);
          if (index.TablesWith(2, code) >> bit & 1) SetLane(p.third[byte], lane);
        }
      }
    }
    for (size_t m = 0; m < kCharMapCount; ++m) {
      const TrigramIndex& index = TrigramIndexFor(static_cast<CharMapId>(m));
      for (int byte = 0; byte < 256; ++byte) {
        if (index.Code(static_cast<uint8_t>(byte)) != TrigramIndex::kZero) {
          SetLane(p.first[byte], kMapLane + m);
        }
        if (kMapLane + m < 2 * kVectorLanes) {
          SetLane(p.second[byte], kMapLane + m);
          SetLane(p.third[byte], kMapLane + m);
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
  const LaneVector* first = p.first[kept[0]];
  const LaneVector* nextFirst = p.first[kept[1]];
  const LaneVector* second = p.second[kept[1]];
  for (size_t block = 0; block < blocks_; ++block) {
    LaneVector live0 = {};
    LaneVector live1 = {};
    LaneVector live2 = {};
    size_t j = 2 + block * kBlock;
    size_t blockEnd = std::min(2 + windows, j + kBlock);
    for (; j < blockEnd; ++j) {
      uint8_t byte = kept[j];
      live0 += first[0] & second[0] & p.third[byte][0];
      live1 += first[1] & second[1] & p.third[byte][1];
      live2 += first[2];
      first = nextFirst;
      nextFirst = p.first[byte];
      second = p.second[byte];
    }
    sum[0] += __builtin_convertvector(live0, WideLaneVector);
    sum[1] += __builtin_convertvector(live1, WideLaneVector);
    sum[2] += __builtin_convertvector(live2, WideLaneVector);
    std::memcpy(before_[block + 1], sum, sizeof(sum));
  }
}

}  // namespace Nimbra::Lexora
