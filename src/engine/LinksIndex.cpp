// LinksIndex: loading the links file into the word index, and the search
// that the keyword linker runs at every byte of a page.
//
// The search is the hot path of the writing passes: most bytes of a text
// start a word (a byte inside a word starts the rest of it), and hardly any
// of those words is a key. So the index keeps, beside the 255 buckets that
// decide its capacity, quicker ways to say no: the lengths of the keys by
// their first two bytes (tested before the word is hashed), and an
// open-addressed table of the hashes that grows with the keys, so that a
// small index stays in the cache. A word that is no key mostly costs one bit
// test, a key one probe and one comparison of its bytes.
#include "engine/LinksIndex.h"

#include <cstring>
#include <new>

#include "platform/Os.h"
#include "runtime/ArrX.h"
#include "runtime/Errors.h"
#include "runtime/StdPlus.h"
#include "runtime/StrX.h"
#include "runtime/StrXPath.h"
#include "runtime/TextCode.h"

namespace {

constexpr char kModule[] = "scrivo";

// One key of the index.
struct Entry {
  uint64_t mask;    // bit k-1: a registered phrase of k words starts with this key
  IniFile_Pos pos;  // the "A" line of its entry; 0 when it only starts phrases
  uint32_t key;     // offset of the key text in the pool
  uint32_t hash;    // lookupHash of the key text
  uint32_t line;    // the number of that "A" line in the file, which picks its cached target
};

constexpr std::size_t kEntries = LinksIndex_kBuckets * LinksIndex_kBucketKeys;
// Slots of the hash table: a power of two, at least twice the keys held,
// so that probe runs stay short; it starts small and doubles. The room is
// that of twice the keys that the buckets can hold.
constexpr int kFirstSlotBits = 12;
constexpr int kMaxSlotBits = 19;
constexpr uint32_t kMaxSlots = 1u << kMaxSlotBits;
static_assert(kMaxSlots >= 2 * kEntries, "the slot table must stay at most half full");
struct Slot {
  uint32_t hash;  // lookupHash of the key
  uint32_t ref;   // index into entries + 1; 0: free
};

// Targets, by the number of their "A" line, as the links file gives them
// (before they are made absolute): the load keeps each one it reads, and a
// text links the same names again and again, where each read would be a
// seek and a read of the system. Fixed room, whatever the links file's size:
// the lines of up to that many keys never meet; a target too long for an
// entry is read each time.
constexpr int kCacheBits = 15;
constexpr std::size_t kCachedTargets = std::size_t{1} << kCacheBits;  // 2 MiB
constexpr std::size_t kCachedTargetBytes = 64;  // one cache line each
struct CachedTarget {
  IniFile_Pos pos;  // 0: empty
  uint16_t size;    // the target buffer's size it was read for; kAnySize: read
                    // whole as the index loaded, so good for any size above its length
  TextCode code;    // the text code it was made absolute in
  bool absolute;    // text is the target made absolute, else as read
  char text[kCachedTargetBytes - sizeof(IniFile_Pos) - 4];
};
static_assert(sizeof(CachedTarget) == kCachedTargetBytes, "a cached target fills its line");
constexpr uint16_t kAnySize = 0;

}  // namespace

struct LinksIndex_Table {
  char line[LinksIndex_kLineSize];
  char poolBuf[LinksIndex_kPoolSize];
  StrX_Mem pool;
  ArrX_Buf buckets[LinksIndex_kBuckets];
  Entry entries[kEntries];
  Slot slots[kMaxSlots];   // the first 1 << slotBits in use
  int slotBits;
  uint32_t keys;           // entries made
  LinksIndex_Starts starts;
  CachedTarget cache[kCachedTargets];
  bool cacheEmpty;  // as the area was made: no cached target is touched yet
  bool inUse;
  std::size_t longestKey;  // bytes
  bool phrases;            // some key starts a phrase
};

namespace {

LinksIndex_Table* g_table = nullptr;

constexpr uint8_t kWordByte = LinksIndex_Starts::kStart | LinksIndex_Starts::kDigit;

// Byte classes of the word scanner in the current text code, asked once per
// open and per change of code (the lead-byte test may be a system call on
// Windows).
void fillClasses(LinksIndex_Starts* s) {
  s->utf8 = TextCode_current() == TextCode::Utf8;
  for (int c = 0; c < 256; ++c) {
    uint8_t k = 0;
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_') k = LinksIndex_Starts::kStart;
    if (c >= '0' && c <= '9') k = LinksIndex_Starts::kDigit;
    if (TextCode_isLead(static_cast<unsigned char>(c))) k = LinksIndex_Starts::kLead;
    s->cls[c] = k;
  }
  s->asciiWords = true;
  for (int c = 0; c < 256; ++c)
    if ((c < 0x80 && s->cls[c] == LinksIndex_Starts::kLead) || (c >= 0x80 && (s->cls[c] & kWordByte)))
      s->asciiWords = false;
}

// The pairs that LinksIndex_mayStart accepts: after a byte that starts a
// word, the pairs with a word byte second as marked, and the others as the
// pair with a NUL second; after a lead byte, the pairs as marked but for a
// NUL second; after any other byte none.
void fillAccepted(LinksIndex_Starts* s) {
  uint64_t word[4] = {};
  for (int c = 0; c < 256; ++c)
    if (s->cls[c] & kWordByte) word[c >> 6] |= uint64_t{1} << (c & 63);
  for (int c0 = 0; c0 < 256; ++c0) {
    const uint64_t* from = &s->pairs[c0 * 4];
    uint64_t* to = &s->accepted[c0 * 4];
    const bool alone = from[0] & 1u;
    for (int w = 0; w < 4; ++w) {
      if (s->cls[c0] == LinksIndex_Starts::kStart)
        to[w] = (from[w] & word[w]) | (alone ? ~word[w] : 0);
      else if (s->cls[c0] == LinksIndex_Starts::kLead)
        to[w] = w == 0 ? from[w] & ~uint64_t{1} : from[w];
      else
        to[w] = 0;
    }
  }
}

// The code a name was written in, where the index holds UTF-8 names: a name
// that is well-formed UTF-8 with a byte above 0x7F is UTF-8, any other one
// came from a code page 932 file.
TextCode codeOfName(const char* name) {
  TextCode_Scan scan;
  TextCode_feed(&scan, name, std::strlen(name));
  return TextCode_result(&scan);
}

// Marks the start pair of a key (which begins with a word).
void addStart(LinksIndex_Starts* s, const char* key) {
  const unsigned char c0 = static_cast<unsigned char>(key[0]);
  const unsigned char c1 = static_cast<unsigned char>(key[1]);
  const uint32_t pair = (c0 << 8) | ((TextCode_isLead(c0) || (s->cls[c1] & kWordByte)) ? c1 : 0);
  s->pairs[pair >> 6] |= uint64_t{1} << (pair & 63);
}

// The rows and columns of the length table, which hold only bytes below
// 0x80 and so are the same in every code: filled once, with the area.
void fillRowsAndCols(LinksIndex_Starts* s) {
  int rows = 0, cols = 0;
  for (int c = 0; c < 256; ++c) {
    const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
    const bool digit = c >= '0' && c <= '9';
    s->row[c] = static_cast<uint8_t>(letter ? rows++ : LinksIndex_Starts::kRows);
    s->col[c] = static_cast<uint8_t>(letter || digit ? cols++ : LinksIndex_Starts::kWordCols);
  }
}

// Marks the length of a key that begins with a byte of a row. Keys that
// are no single word (phrases) mark a length too, which costs only a
// needless lookup now and then.
void addLength(LinksIndex_Starts* s, const char* key, std::size_t len) {
  const unsigned char first = static_cast<unsigned char>(key[0]);
  if (s->row[first] == LinksIndex_Starts::kRows) return;
  s->lengthsOf(first, s->col[static_cast<unsigned char>(key[1])]) |=
      LinksIndex_Starts::lengthBit(len);
  s->tailsOf(first, static_cast<unsigned char>(key[len - 1])) |= LinksIndex_Starts::lengthBit(len);
  s->endings[s->col[static_cast<unsigned char>(key[len - 1])]] |= LinksIndex_Starts::lengthBit(len);
}

inline uint32_t hashStep(uint32_t h, unsigned char c) { return (h ^ c) * 16777619u; }
constexpr uint32_t kHashSeed = 2166136261u;

uint32_t lookupHash(const char* text, std::size_t len) {
  uint32_t h = kHashSeed;
  for (std::size_t i = 0; i < len; ++i) h = hashStep(h, static_cast<unsigned char>(text[i]));
  return h;
}

inline uint32_t slotOf(const LinksIndex_Table* t, uint32_t hash) {
  return (hash * 0x9E3779B1u) >> (32 - t->slotBits);
}

// The entry of the key text[0..len), or null.
Entry* lookup(LinksIndex_Table* t, const char* text, std::size_t len, uint32_t hash) {
  const uint32_t mask = (1u << t->slotBits) - 1;
  for (uint32_t s = slotOf(t, hash);; s = (s + 1) & mask) {
    const Slot& slot = t->slots[s];
    if (slot.ref == 0) return nullptr;
    if (slot.hash != hash) continue;
    Entry* e = &t->entries[slot.ref - 1];
    const char* key = t->poolBuf + e->key;
    if (std::memcmp(key, text, len) == 0 && key[len] == '\0') return e;
  }
}

void place(LinksIndex_Table* t, uint32_t hash, uint32_t ref) {
  const uint32_t mask = (1u << t->slotBits) - 1;
  uint32_t s = slotOf(t, hash);
  while (t->slots[s].ref != 0) s = (s + 1) & mask;
  t->slots[s] = Slot{hash, ref};
}

// Doubles the slots in use and places the keys again.
void grow(LinksIndex_Table* t) {
  const uint32_t old = 1u << t->slotBits;
  ++t->slotBits;
  std::memset(t->slots, 0, sizeof(Slot) * (old * 2));
  for (const ArrX_Buf& bucket : t->buckets) {
    const Entry* first = reinterpret_cast<const Entry*>(bucket.first);
    const Entry* last = reinterpret_cast<const Entry*>(bucket.last);
    for (const Entry* e = first; e < last; ++e)
      place(t, e->hash, static_cast<uint32_t>(e - t->entries) + 1);
  }
}

// The entry of a NUL-terminated key, made when it is new (*isNew tells).
Entry* insert(LinksIndex_Table* t, const char* key, bool* isNew) {
  const std::size_t len = std::strlen(key);
  const uint32_t hash = lookupHash(key, len);
  if (Entry* e = lookup(t, key, len, hash)) {
    *isNew = false;
    return e;
  }
  *isNew = true;
  // The capacity rule is the buckets': each takes 588 keys.
  ArrX_Buf* bucket = &t->buckets[StrX_getHash(key, LinksIndex_kBuckets)];
  Entry* e = static_cast<Entry*>(ArrX_Buf_alloc(bucket, sizeof(Entry)));
  if (e == nullptr) return nullptr;
  char* text = StrX_Mem_alloc(&t->pool);
  if (text == nullptr) return nullptr;
  if (len > StrX_Mem_getLeftSize(&t->pool)) {
    StrX_Mem_free(&t->pool);
    Errors_raise("strx", __LINE__, StrX_Err_MemEmpty, "%s", StrX_Txt_MemEmpty);
  }
  std::memcpy(text, key, len + 1);
  e->mask = 0;
  e->pos = 0;
  e->line = 0;
  e->key = static_cast<uint32_t>(text - t->poolBuf);
  e->hash = hash;
  if (len > t->longestKey) t->longestKey = len;
  if (2 * (++t->keys) > (1u << t->slotBits))
    grow(t);  // places every entry, this one too
  else
    place(t, hash, static_cast<uint32_t>(e - t->entries) + 1);
  addLength(&t->starts, key, len);
  addStart(&t->starts, key);
  return e;
}

// The area, empty; raises Errors_Unofficial while another index holds it.
LinksIndex_Table* claimTable() {
  if (g_table == nullptr) {
    // Zero, so that the cache is empty without touching its pages.
    void* block = StdPlus_calloc(sizeof(LinksIndex_Table));
    if (block == nullptr) return nullptr;
    g_table = new (block) LinksIndex_Table;
    g_table->cacheEmpty = true;
    g_table->inUse = false;
    g_table->slotBits = kFirstSlotBits;  // the slots that the claim clears
    fillRowsAndCols(&g_table->starts);
  }
  LinksIndex_Table* t = g_table;
  if (t->inUse) {
    Errors_raise(kModule, __LINE__, Errors_Unofficial, "%s", Errors_Txt_Error);
  }
  t->inUse = true;
  StrX_Mem_init(&t->pool, t->poolBuf, sizeof t->poolBuf);
  const std::size_t share = LinksIndex_kBucketKeys * sizeof(Entry);
  for (uint32_t i = 0; i < LinksIndex_kBuckets; ++i)
    ArrX_Buf_init(&t->buckets[i], t->entries + i * LinksIndex_kBucketKeys, share);
  std::memset(t->slots, 0, sizeof(Slot) << t->slotBits);
  t->slotBits = kFirstSlotBits;
  t->keys = 0;
  t->longestKey = 0;
  t->phrases = false;
  std::memset(t->starts.lengths, 0, sizeof t->starts.lengths);
  std::memset(t->starts.tails, 0, sizeof t->starts.tails);
  std::memset(t->starts.endings, 0, sizeof t->starts.endings);
  if (!t->cacheEmpty)
    for (CachedTarget& c : t->cache) c.pos = 0;
  t->cacheEmpty = false;
  fillClasses(&t->starts);
  std::memset(t->starts.pairs, 0, sizeof t->starts.pairs);
  std::memset(t->starts.accepted, 0, sizeof t->starts.accepted);
  return t;
}

// Indexes the bracketed and braced words of one name, whose "A" line lies
// at linePos, the lineNo-th of the file.
void indexName(LinksIndex_Table* t, const char* name, IniFile_Pos linePos, uint32_t lineNo) {
  char word[LinksIndex_kLineSize];
  char phrase[LinksIndex_kLineSize];
  bool inBrackets = false;
  bool inBraces = false;
  const char* p = name;  // the end of the previous word (or phrase)
  for (;;) {
    const char* end = StrX_getWord(p, word, sizeof word);
    if (end == nullptr) break;
    const char* start = end - std::strlen(word);
    // Between two words there is no lead byte (it would be a word), so the
    // marks can be found byte by byte.
    for (const char* q = p; q < start; ++q) {
      if (*q == '[') inBrackets = true;
      if (*q == ']') inBrackets = false;
      if (*q == '{') inBraces = true;
      if (*q == '}') inBraces = false;
    }
    p = end;
    if (!inBrackets && !inBraces) continue;

    int words = 1;
    const unsigned char behind = static_cast<unsigned char>(*end);
    if (behind == ' ' || (TextCode_isLead(behind) && end[1] != '\0')) {
      words = LinksIndex_kPhraseWords;
      const char* phraseEnd = StrX_cpyWords(start, &words, phrase, sizeof phrase);
      if (words >= 2) p = phraseEnd;
    }
    const bool isPhrase = words >= 2;

    bool isNew = false;
    Entry* first = insert(t, word, &isNew);
    if (first == nullptr) return;
    if (isNew) {
      first->pos = isPhrase ? 0 : linePos;
      first->line = lineNo;
    } else if (!isPhrase && (inBrackets || first->pos == 0)) {
      // A keyword marked again links to its last mark; a braced name keeps
      // its first definition, and so gets one when it only started phrases.
      first->pos = linePos;
      first->line = lineNo;
    }
    if (isPhrase) {
      t->phrases = true;
      first->mask |= uint64_t{1} << (words - 1);
      Entry* whole = insert(t, phrase, &isNew);
      if (whole == nullptr) return;
      if (isNew) {
        whole->pos = linePos;
        whole->line = lineNo;
      }
    } else {
      first->mask |= 1u;
    }
  }
}

// The length of the word at the start of text, with its lookupHash; 0 when
// text does not begin with a word.
inline std::size_t wordAt(const LinksIndex_Starts* s, const char* text, uint32_t* hash) {
  const uint8_t* cls = s->cls;
  const unsigned char c0 = static_cast<unsigned char>(text[0]);
  uint32_t h = hashStep(kHashSeed, c0);
  std::size_t n = 1;
  if (cls[c0] == LinksIndex_Starts::kLead) {
    if (text[1] == '\0') return 0;
    const std::size_t len = s->utf8 ? TextCode_charLen(text) : 2;
    for (; n < len; ++n) h = hashStep(h, static_cast<unsigned char>(text[n]));
  } else if (cls[c0] == LinksIndex_Starts::kStart) {
    for (;;) {
      const unsigned char c = static_cast<unsigned char>(text[n]);
      if ((cls[c] & kWordByte) == 0) break;
      h = hashStep(h, c);
      ++n;
    }
  } else {
    return 0;
  }
  *hash = h;
  return n;
}

inline CachedTarget* cacheLine(LinksIndex_Table* t, uint32_t lineNo) {
  return &t->cache[lineNo & (kCachedTargets - 1)];
}

void readTarget(LinksIndex* ix, const LinksIndex_Match& m, char* target, std::size_t targetSize) {
  if (targetSize == 0) return;  // no room even for the NUL
  const IniFile_Pos pos = m.pos;
  CachedTarget* c = cacheLine(ix->table, m.line);
  const TextCode code = TextCode_current();
  const bool held = c->pos == pos && (c->size == targetSize ||
                                      (c->size == kAnySize && std::strlen(c->text) < targetSize));
  if (held && (!c->absolute || c->code == code)) {
    std::memcpy(target, c->text, std::strlen(c->text) + 1);
    if (c->absolute) return;
    if (targetSize > UINT16_MAX) c->pos = 0;
    c->size = static_cast<uint16_t>(targetSize);  // as it would have been read
  } else {
    IniFile_Read_setStrMax(&ix->reader, targetSize);
    IniFile_Read_attrAt(&ix->reader, pos, "--s", target);
    const std::size_t len = std::strlen(target);
    c->pos = 0;
    if (len < sizeof c->text && targetSize <= UINT16_MAX) {
      c->pos = pos;
      c->size = static_cast<uint16_t>(targetSize);
      c->absolute = false;
      std::memcpy(c->text, target, len + 1);
    }
  }
  // A target that does not fit is cut, as the reader cut it already.
  (void)StrX_toAbsPath(target, targetSize, ix->base);
  // Made absolute, the target is kept so when it still fits (the path
  // separators it gets may depend on the code).
  const std::size_t len = std::strlen(target);
  if (c->pos == pos && c->size == targetSize && len < sizeof c->text) {
    c->code = code;
    c->absolute = true;
    std::memcpy(c->text, target, len + 1);
  }
}

// Keeps the target of the "A" line at pos as the load read it, when it is
// short enough for the cache: the first link to each key then needs no read.
void keepTarget(LinksIndex_Table* t, IniFile_Pos pos, uint32_t lineNo, const char* target) {
  const std::size_t len = std::strlen(target);
  CachedTarget* c = cacheLine(t, lineNo);
  if (pos <= 0 || len >= sizeof c->text) return;
  c->pos = pos;
  c->size = kAnySize;
  c->absolute = false;
  std::memcpy(c->text, target, len + 1);
}

}  // namespace

LinksIndex::~LinksIndex() { LinksIndex_close(this); }

void LinksIndex_open(LinksIndex* ix, const char* path) {
  LinksIndex_Table* t = claimTable();
  if (t == nullptr) return;
  ix->table = t;
  ix->starts = &t->starts;
  // Whatever stops the load closes the index again.
  struct CloseUnlessLoaded {
    LinksIndex* ix;
    bool loaded = false;
    ~CloseUnlessLoaded() {
      if (!loaded) LinksIndex_close(ix);
    }
  } guard{ix};

  IniFile_Read* r = &ix->reader;
  IniFile_Read_open(r, path, t->line, sizeof t->line);
  if (r->file == nullptr) return;
  IniFile_Read_setSection(r, "main");
  IniFile_Read_attr(r, "Application", "-");
  IniFile_Read_attr(r, "Version", "-");
  IniFile_Read_attr(r, "bNewFile", "-");
  IniFile_Read_setStrMax(r, sizeof ix->base);
  IniFile_Read_attr(r, "Base", "s", ix->base);

  char name[LinksIndex_kLineSize];
  char target[LinksIndex_kLineSize];
  IniFile_Read_setStrMax(r, sizeof name);
  IniFile_Read_findSection(r, "links", false);
  const int count = IniFile_Read_countAttr(r, "A");
  const TextCode code = TextCode_current();
  for (int i = 0; i < count; ++i) {
    name[0] = '\0';
    const IniFile_Pos pos = IniFile_Read_attr(r, "A", "s-s", name, target);
    keepTarget(t, pos, static_cast<uint32_t>(i), target);
    // Names are split into words in the code of the file they came from.
    if (code == TextCode::Utf8) TextCode_setCurrent(codeOfName(name));
    indexName(t, name, pos, static_cast<uint32_t>(i));
    TextCode_setCurrent(code);
  }
  fillAccepted(&t->starts);
  guard.loaded = true;
}

namespace {

// LinksIndex_match from the word at text, wordLen bytes with hash.
std::size_t matchWord(LinksIndex* ix, const char* text, std::size_t wordLen, uint32_t hash,
                      LinksIndex_Match* match) {
  LinksIndex_Table* t = ix->table;
  const Entry* first = lookup(t, text, wordLen, hash);
  if (first == nullptr || first->mask == 0) return 0;
  if (first->mask == 1) {  // the usual key: one word, no phrase
    if (first->pos == 0) return 0;
    *match = LinksIndex_Match{first->pos, first->line};
    return wordLen;
  }

  // The longest registered phrase first, no longer than the text's phrase.
  char phrase[LinksIndex_kLineSize];
  int longest = 64 - __builtin_clzll(first->mask);
  int available = longest;
  StrX_cpyWords(text, &available, phrase, sizeof phrase);
  for (int k = available; k >= 1; --k) {
    if (((first->mask >> (k - 1)) & 1u) == 0) continue;
    const Entry* e = first;
    const char* end = text + wordLen;
    if (k > 1) {
      int words = k;
      end = StrX_cpyWords(text, &words, phrase, sizeof phrase);
      if (words != k) continue;
      e = lookup(t, phrase, std::strlen(phrase), lookupHash(phrase, std::strlen(phrase)));
    }
    if (e == nullptr || e->pos == 0) continue;
    *match = LinksIndex_Match{e->pos, e->line};
    return static_cast<std::size_t>(end - text);
  }
  return 0;
}

}  // namespace

std::size_t LinksIndex_match(LinksIndex* ix, const char* text, LinksIndex_Match* match) {
  LinksIndex_Table* t = ix->table;
  if (t == nullptr || !LinksIndex_mayStart(ix, text)) return 0;
  uint32_t hash = 0;
  const std::size_t wordLen = wordAt(&t->starts, text, &hash);
  if (wordLen == 0) return 0;
  return matchWord(ix, text, wordLen, hash, match);
}

std::size_t LinksIndex_matchWord(LinksIndex* ix, const char* text, std::size_t wordLen,
                                 LinksIndex_Match* match) {
  if (ix->table == nullptr) return 0;
  return matchWord(ix, text, wordLen, lookupHash(text, wordLen), match);
}

void LinksIndex_target(LinksIndex* ix, const LinksIndex_Match& match, char* target,
                       std::size_t targetSize) {
  readTarget(ix, match, target, targetSize);
}

void LinksIndex_prefetchTarget(const LinksIndex* ix, const LinksIndex_Match& match) {
  __builtin_prefetch(cacheLine(ix->table, match.line));
}

std::size_t LinksIndex_find(LinksIndex* ix, const char* text, char* target,
                            std::size_t targetSize) {
  LinksIndex_Match m;
  const std::size_t n = LinksIndex_match(ix, text, &m);
  if (n != 0) readTarget(ix, m, target, targetSize);
  return n;
}

bool LinksIndex_isLocal(const LinksIndex* ix, std::size_t reach) {
  const LinksIndex_Table* t = ix->table;
  return t != nullptr && !t->phrases && t->longestKey < reach;
}

void LinksIndex_followCode(LinksIndex* ix) {
  if (ix->table != nullptr && ix->table->starts.utf8 != (TextCode_current() == TextCode::Utf8)) {
    fillClasses(&ix->table->starts);
    fillAccepted(&ix->table->starts);
  }
}

void LinksIndex_close(LinksIndex* ix) {
  IniFile_Read_close(&ix->reader);
  if (ix->table != nullptr) ix->table->inUse = false;
  ix->table = nullptr;
  ix->starts = nullptr;
}
