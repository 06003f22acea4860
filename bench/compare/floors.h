// What any scanner of this corpus pays at least: decoding to UTF-16,
// compatibility decomposition, and touching every byte once; and what any
// reader of its files pays: the system calls that fetch each one.
#ifndef LEXORA_BENCH_COMPARE_FLOORS_H
#define LEXORA_BENCH_COMPARE_FLOORS_H

#include "bench/compare/corpus.h"
#include "bench/compare/stats.h"

namespace lexora_compare {

// MB/s of corpus bytes, message by message, each in the charset its file
// stream would use.
Stats MeasureDecode(const Corpus& corpus, int runs);

// MB/s of corpus bytes for ICU's NFKD over the decoded text in 128-unit
// chunks, the reader's buffer size.
Stats MeasureNfkd(const Corpus& corpus, int runs);

// MB/s of corpus bytes for opening, sizing, reading and closing each
// message file, as a file stream does before it looks at the bytes.
Stats MeasureFileReads(const Corpus& corpus, int runs);

// MB/s of copying every message into one buffer.
Stats MeasureMemcpy(const Corpus& corpus, int runs);

// 1 / (1/decode + 1/nfkd): the two stages one after the other.
double SerialThroughput(double first, double second);

}  // namespace lexora_compare

#endif  // LEXORA_BENCH_COMPARE_FLOORS_H
