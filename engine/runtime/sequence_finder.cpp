#include "engine/runtime/sequence_finder.h"

#include <algorithm>

#include "engine/base/char_classes.h"
#include "engine/base/exceptions.h"

namespace Nimbra::Lexora {

SequenceFinder::SequenceFinder(const WordData& words, WordPositionList& positions)
    : table_(words.sequences), positions_(positions) {
  for (int32_t classId : {kClassCcard, kClassUsSsn}) {
    if (std::optional<uint32_t> id = words.classes.WordIdOf(classId)) {
      detectors_.push_back({RunDetector(classId, *id), {}, PhrasesHold(*id)});
    }
  }
}

bool SequenceFinder::PhrasesHold(uint32_t id) const {
  int32_t column = ColumnOfId(id);
  if (column < 0) return false;
  for (uint32_t state = 0; state < table_.stateCount(); ++state) {
    if (table_.Cell(static_cast<uint16_t>(state), column) != SequenceTable::kNoState) return true;
  }
  return false;
}

void SequenceFinder::AddUnique(std::vector<Pair>& pairs, Pair pair) {
  if (std::find(pairs.begin(), pairs.end(), pair) == pairs.end()) pairs.push_back(pair);
}

// A phrase in progress continues only on the very next word of the text;
// every word passed, matched or not, counts.
bool SequenceFinder::Continues(const Pair& pair, uint32_t index) const {
  return pair.state == 0 || index == previous_ + 1;
}

void SequenceFinder::CheckState(uint16_t state) const {
  if (state >= table_.stateCount()) throw RuntimeError(u"Internal error: invalid state");
}

// An id past the keys a phrase can hold (a script with more ids than
// phrases may use) is simply no transition: it cannot extend any phrase, and
// failing the whole scan on it would lose the results of valid input.
int32_t SequenceFinder::ColumnOfId(uint32_t id) const {
  if (id > SequenceTable::kMaxKey - SequenceTable::kKeyOffset) return -1;
  return table_.ColumnOfKey(id + SequenceTable::kKeyOffset);
}

void SequenceFinder::Transition(const Pair& pair, int32_t column, uint32_t index) {
  if (column < 0) return;
  uint16_t target = table_.Cell(pair.state, column);
  if (target == SequenceTable::kNoState) return;
  AddUnique(next_, {pair.start, target});
  if (const SequenceTable::Accept* accept = table_.AcceptOf(target)) {
    hits_.push_back({target, pair.start, index, accept->id});
  }
}

void SequenceFinder::Word(uint32_t index, WordKind kind, std::span<const uint32_t> ids,
                          std::u16string_view text) {
  if (table_.stateCount() == 1) {  // no phrase: nothing can be in progress
    for (uint32_t id : ids) positions_.Record(id, {index, index});
    OfferToDetectors(index, kind, text);
    previous_ = index;
    return;
  }
  AddUnique(active_, {index, 0});
  for (uint32_t id : ids) {
    positions_.Record(id, {index, index});
    int32_t idColumn = ColumnOfId(id);
    for (const Pair& pair : active_) {
      if (!Continues(pair, index)) continue;
      CheckState(pair.state);
      Transition(pair, idColumn, index);
    }
    for (const Hit& hit : hits_) positions_.Record(hit.id, {hit.start, hit.end});
    hits_.clear();
  }
  OfferToDetectors(index, kind, text);
  active_.swap(next_);
  next_.clear();
  previous_ = index;
}

void SequenceFinder::OfferToDetectors(uint32_t index, WordKind kind, std::u16string_view text) {
  for (Detector& d : detectors_) {
    if (d.mayPark) Park(d, index);
    runs_.clear();
    bool number = kind == WordKind::kNumberWord;
    d.detector.Offer(index, text, number, runs_);
    // Runs end on the newest word and span at most MaxRunWords() words, so
    // older parked phrases can never resume.
    std::erase_if(d.parked, [&](const Parked& p) {
      return (!number && p.index < index) || p.index + d.detector.MaxRunWords() <= index;
    });
    for (const Span& run : runs_) {
      positions_.Record(d.detector.wordId(), run);
      if (d.mayPark) ResumeParked(d, run);
    }
  }
}

// Phrases whose next element is the detector's class wait at this word for
// a run that begins here. Parking follows the same adjacency rule as any
// other element: a phrase broken by an unmatched word does not wait.
void SequenceFinder::Park(Detector& d, uint32_t index) {
  int32_t column = ColumnOfId(d.detector.wordId());
  if (column < 0) return;
  for (const Pair& pair : active_) {
    if (!Continues(pair, index)) continue;
    CheckState(pair.state);
    uint16_t target = table_.Cell(pair.state, column);
    if (target == SequenceTable::kNoState) continue;
    auto it = std::find_if(d.parked.begin(), d.parked.end(),
                           [&](const Parked& p) { return p.index == index; });
    if (it == d.parked.end()) it = d.parked.insert(d.parked.end(), {index, {}});
    AddUnique(it->pairs, {pair.start, target});
  }
}

void SequenceFinder::ResumeParked(Detector& d, Span run) {
  auto it = std::find_if(d.parked.begin(), d.parked.end(),
                         [&](const Parked& p) { return p.index == run.first; });
  if (it != d.parked.end() && run.last == previous_ + 1) {
    for (const Pair& pair : it->pairs) {
      AddUnique(next_, pair);
      if (const SequenceTable::Accept* accept = table_.AcceptOf(pair.state)) {
        positions_.Record(accept->id, {pair.start, run.last});
      }
    }
  }
  uint32_t keepFrom = it != d.parked.end() ? run.first + 1 : run.first;
  std::erase_if(d.parked, [&](const Parked& p) { return p.index < keepFrom; });
}

}  // namespace Nimbra::Lexora
