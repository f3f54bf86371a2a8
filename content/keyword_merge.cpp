#include "content/keyword_merge.h"

#include <cstring>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "platform/engine_text.h"
#include "platform/error.h"

namespace content {
namespace {

using LineIndex = std::uint32_t;
constexpr LineIndex kNoLine = std::numeric_limits<LineIndex>::max();
constexpr LineIndex kDeleted = kNoLine;  // in the changes of a line

// Folds keys for comparing, without a new string per key: a key that folding leaves as
// it is (most keys of most files) is its own folded form; the others are lowered into a
// reused buffer, and copied into blocks of their own only when an index keeps them.
class KeyFolder {
 public:
  // `key` folded: `key` itself, or lowered into `buffer`.
  static std::string_view Fold(std::string_view key, std::string& buffer) {
    for (const char c : key)
      if (static_cast<unsigned char>(c) >= 0x80 || (c >= 'A' && c <= 'Z')) {
        platform::LowerInto(key, buffer);
        return buffer;
      }
    return key;
  }
  // `folded`, Fold's answer for `key`, made to last as long as this folder.
  std::string_view Keep(std::string_view folded, std::string_view key) {
    if (folded.data() == key.data()) return folded;
    if (folded.size() > left_) {
      const std::size_t size = std::max<std::size_t>(kBlock, folded.size());
      blocks_.push_back(std::make_unique<char[]>(size));
      next_ = blocks_.back().get();
      left_ = size;
    }
    if (!folded.empty()) std::memcpy(next_, folded.data(), folded.size());
    const std::string_view kept(next_, folded.size());
    next_ += folded.size();
    left_ -= folded.size();
    return kept;
  }

 private:
  static constexpr std::size_t kBlock = std::size_t{1} << 20;
  std::vector<std::unique_ptr<char[]>> blocks_;
  char* next_ = nullptr;
  std::size_t left_ = 0;
};

// What the merge knows of one folded key.
struct KeyState {
  LineIndex first;         // the first target line with the key still there
  LineIndex last;          // the last one, while the index is built
  std::string_view value;  // the value of the first source line with the key
  bool valueKnown = false;
};

// Folded keys and what the merge knows of each, found by hash in one flat table of
// slots (open addressing): with a million keys a lookup is then a miss or two in the
// processor's caches, where a node per key costs several.
class KeyIndex {
 public:
  explicit KeyIndex(std::size_t expected) {
    std::size_t size = 16;
    while (size < expected * 2) size *= 2;
    slots_.assign(size, Slot{});
    entries_.reserve(expected);
  }

  static std::uint64_t Hash(std::string_view key) {
    std::uint64_t hash = 0x9E3779B97F4A7C15ull ^ key.size();
    std::size_t i = 0;
    for (; i + 8 <= key.size(); i += 8) {
      std::uint64_t word;
      std::memcpy(&word, key.data() + i, 8);
      hash = (hash ^ word) * 0xBF58476D1CE4E5B9ull;
      hash ^= hash >> 31;
    }
    std::uint64_t word = 0;
    if (i < key.size()) std::memcpy(&word, key.data() + i, key.size() - i);
    hash = (hash ^ word) * 0x94D049BB133111EBull;
    return hash ^ (hash >> 29);
  }

  // Asks the processor for the slot of a key that will be looked up soon, and, once that
  // has come, for its entry and key: a lookup that finds them at hand costs no wait.
  void PrefetchSlot(std::uint64_t hash) const {
    __builtin_prefetch(&slots_[hash & (slots_.size() - 1)]);
  }
  void PrefetchEntry(std::uint64_t hash) const {
    const Slot slot = slots_[hash & (slots_.size() - 1)];
    if (slot.entry == 0) return;
    const Entry& entry = entries_[slot.entry - 1];
    __builtin_prefetch(&entry);
    __builtin_prefetch(entry.key.data());
  }

  // `hash` is Hash(key).
  KeyState* Find(std::string_view key, std::uint64_t hash) {
    for (std::size_t at = hash & (slots_.size() - 1);; at = (at + 1) & (slots_.size() - 1)) {
      const Slot slot = slots_[at];
      if (slot.entry == 0) return nullptr;
      Entry& entry = entries_[slot.entry - 1];
      if (slot.tag == Tag(hash) && entry.key == key) return &entry.state;
    }
  }

  // `key` must not be in the index yet, and must outlive it; `hash` is Hash(key).
  void Insert(std::string_view key, std::uint64_t hash, const KeyState& state) {
    if ((entries_.size() + 1) * 2 > slots_.size()) Grow();
    entries_.push_back({key, state});
    Place(hash, static_cast<std::uint32_t>(entries_.size()));
  }

 private:
  struct Slot {
    std::uint32_t entry = 0;  // 1 + its place in entries_; 0: free
    std::uint32_t tag = 0;    // high bits of the key's hash, to pass most other keys by
  };
  struct Entry {
    std::string_view key;
    KeyState state;
  };

  static std::uint32_t Tag(std::uint64_t hash) { return static_cast<std::uint32_t>(hash >> 32); }

  void Place(std::uint64_t hash, std::uint32_t entry) {
    std::size_t at = hash & (slots_.size() - 1);
    while (slots_[at].entry != 0) at = (at + 1) & (slots_.size() - 1);
    slots_[at] = {entry, Tag(hash)};
  }

  void Grow() {
    slots_.assign(slots_.size() * 2, Slot{});
    for (std::size_t i = 0; i < entries_.size(); ++i)
      Place(Hash(entries_[i].key), static_cast<std::uint32_t>(i + 1));
  }

  std::vector<Slot> slots_;
  std::vector<Entry> entries_;
};

// Keys taken in batches: the slots of a batch's keys are asked for together, then their
// entries, then the keys are handled one by one in their order. With a million keys
// nearly every lookup misses the processor's caches; waiting for the misses of a batch
// together instead of one after the other makes the merge grow with the keys nearly as
// the keys do.
class KeyBatch {
 public:
  struct Key {
    LineIndex number;  // the line's index in its file
    KeyValue pair;
    std::string_view folded;
    std::uint64_t hash;
  };
  static constexpr int kSize = 16;

  explicit KeyBatch(KeyIndex& keys) : keys_(keys) {}

  // Adds the key of line `number`, when it has one; a full batch is handled at once.
  template <typename Handle>
  void Add(std::string_view line, LineIndex number, Handle&& handle) {
    const KeyValue pair = SplitKeyValue(line);
    if (pair.key.empty()) return;
    Key& key = keys[count_];
    key.number = number;
    key.pair = pair;
    key.folded = KeyFolder::Fold(pair.key, buffers_[count_]);
    key.hash = KeyIndex::Hash(key.folded);
    keys_.PrefetchSlot(key.hash);
    if (++count_ == kSize) Flush(handle);
  }

  template <typename Handle>
  void Flush(Handle&& handle) {
    for (int i = 0; i < count_; ++i) keys_.PrefetchEntry(keys[i].hash);
    for (int i = 0; i < count_; ++i) handle(keys[i]);
    count_ = 0;
  }

 private:
  KeyIndex& keys_;
  Key keys[kSize];
  std::string buffers_[kSize];
  int count_ = 0;
};

}  // namespace

KeyValue SplitKeyValue(std::string_view line) {
  const std::size_t equals = line.find('=');
  if (equals == std::string_view::npos) return {};
  return {line.substr(0, equals), line.substr(equals + 1)};
}

std::int64_t MergeKeywords(const LineList& source, const LineList& target, LineSink& output,
                           platform::Host* host) {
  platform::MessagePacer pacer(host);
  KeyFolder folder;
  // Per target line: the next line with the same key, and its change: 0 none, kDeleted,
  // or 1 + its place in `replacements`.
  std::vector<LineIndex> nextSameKey;
  std::vector<LineIndex> changes;
  KeyIndex keys(target.size());
  nextSameKey.reserve(target.size());
  LineIndex lineCount = 0;
  KeyBatch batch(keys);
  const auto indexKey = [&](const KeyBatch::Key& key) {
    if (KeyState* known = keys.Find(key.folded, key.hash)) {
      nextSameKey[known->last] = key.number;
      known->last = key.number;
    } else {
      keys.Insert(folder.Keep(key.folded, key.pair.key), key.hash,
                  KeyState{key.number, key.number, {}, false});
    }
  };
  for (const std::string_view line : target) {
    if (lineCount == kNoLine - 1) throw platform::CommandError("Out of memory");
    nextSameKey.push_back(kNoLine);
    batch.Add(line, lineCount++, indexKey);
  }
  batch.Flush(indexKey);
  changes.assign(lineCount, 0);

  struct Replacement {
    std::string_view key, value;
  };
  std::vector<Replacement> replacements;
  std::int64_t records = 0;
  const auto merge = [&](const KeyBatch::Key& key) {
    KeyState* const found = keys.Find(key.folded, key.hash);
    if (found == nullptr) return;  // the target never had it: nothing is added
    KeyState& state = *found;
    if (!state.valueKnown) {
      state.value = key.pair.value;
      state.valueKnown = true;
    }
    if (state.first == kNoLine) return;
    ++records;
    if (state.value.empty()) {
      changes[state.first] = kDeleted;
      state.first = nextSameKey[state.first];
    } else {
      if (replacements.size() == kNoLine - 1) throw platform::CommandError("Out of memory");
      replacements.push_back({key.pair.key, state.value});
      changes[state.first] = static_cast<LineIndex>(replacements.size());
    }
  };
  for (const std::string_view line : source) {
    pacer.Step(line);
    batch.Add(line, 0, merge);
  }
  batch.Flush(merge);

  std::string rewritten;
  LineIndex index = 0;
  for (const std::string_view line : target) {
    const LineIndex change = changes[index++];
    if (change == 0) {
      output.Add(line);
    } else if (change != kDeleted) {
      const Replacement& replacement = replacements[change - 1];
      rewritten.assign(replacement.key).append("=").append(replacement.value);
      output.Add(rewritten);
    }
  }
  return records;
}

namespace {

class KeywordMergeMode final : public TwoFileMode {
 public:
  explicit KeywordMergeMode(Backup backup) : TwoFileMode(backup, kMergeNeedsTwoFiles) {}
  std::int64_t Build(const LineList& source, const LineList& target, LineSink& output,
                     platform::Host& host) override {
    return MergeKeywords(source, target, output, &host);
  }
};

}  // namespace

fileset::Prepared<TwoFileMode> PrepareKeywordMerge(const KeywordMergeSettings& settings) {
  return std::make_unique<KeywordMergeMode>(settings.backup ? Backup::Yes : Backup::No);
}

fileset::RunEnd RunKeywordMerge(fileset::FileList& files, const KeywordMergeSettings& settings,
                                platform::Host& host) {
  return RunTwoFileFrame(files, host, PrepareKeywordMerge(settings));
}

}  // namespace content
