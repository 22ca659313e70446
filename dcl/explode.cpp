// The decoder. A bit buffer as wide as a register, one table lookup per code,
// and a fast loop that runs while the input buffer holds enough bytes for a
// whole symbol and the output buffer has room for the longest match. Near the
// end of the input, one careful step per symbol takes over: it reads bits past
// the end as zeros and refuses any symbol that needed them.
#include <cstring>

#include "dcl/dcl_stream.h"
#include "dcl/dcl_tables.h"

namespace dcl::detail {
namespace {

// The bit buffer is a register: 64 bits on the host, 32 in the DLL.
template <class Word>
constexpr int kWordBits = static_cast<int>(sizeof(Word) * 8);
template <class Word>
constexpr std::size_t kInKeep = 2 * sizeof(Word);  // bytes the fast loop may load ahead

constexpr std::size_t kInCapacity = 2048;
constexpr std::size_t kCopySlack = 8;                 // a match copy may write this far past its end

// The output buffer keeps the last kMaxDistance bytes written as the window;
// new bytes follow it until the limit, where they are handed to the writer
// and the window slides back to the start.
struct ExplodeWork {
  std::uint8_t in[kInCapacity];
  std::uint8_t out[kExplodeWorkSize - kInCapacity];
};
static_assert(sizeof(ExplodeWork) == kExplodeWorkSize);
constexpr std::size_t kOutLimit = sizeof(ExplodeWork::out) - kMaxMatch - kCopySlack;
static_assert(kOutLimit > kMaxDistance + 4096, "each block handed to the writer should be large");

enum class Step { Continue, End, BadDistance, Truncated, Refused };

// Bits and output pointer as locals, so that byte stores through the output
// pointer cannot make the compiler reload them.
template <class Word>
struct Regs {
  Word bits;
  int count;  // valid bits; bits above them are zero or the next input bytes
  std::uint8_t* out;
};

template <class Word>
inline Word loadWord(const std::uint8_t* p) {
  Word w;
  std::memcpy(&w, p, sizeof w);
  return w;  // little-endian targets only
}

// Tops the buffer up to at least kWordBits - 8 bits from kInKeep bytes ahead.
template <class Word>
inline void refillFast(Regs<Word>& r, const std::uint8_t*& in) {
  r.bits |= loadWord<Word>(in) << r.count;
  in += (kWordBits<Word> - 1 - r.count) >> 3;
  r.count |= kWordBits<Word> - 8;
}

template <class Word>
inline void drop(Regs<Word>& r, unsigned n) {
  r.bits >>= n;
  r.count -= static_cast<int>(n);
}

inline void copyMatch(std::uint8_t* out, std::size_t dist, unsigned len) {
  const std::uint8_t* src = out - dist;
  if (dist >= 8) {
    std::uint8_t* const end = out + len;
    do {
      std::memcpy(out, src, 8);
      out += 8;
      src += 8;
    } while (out < end);
  } else if (dist == 1) {
    std::memset(out, out[-1], len);
  } else {
    for (unsigned i = 0; i < len; ++i) out[i] = src[i];
  }
}

// Format notes (one symbol):
// - A flag bit: 0 a literal, 1 a match.
// - Literal: in binary mode the next 8 bits are the byte, in ASCII mode a
//   literal code (4 to 13 bits).
// - Match: a length code (2 to 7 bits) and its extra bits give the length
//   2..518, or 519 for the end of the stream. Then a distance code (2 to 8
//   bits) gives the distance's high bits, followed by its low bits raw: 2 of
//   them for length 2, otherwise the header's 4, 5 or 6. The distance is that
//   value plus 1 and must not reach before the first byte written; the copy
//   may overlap the bytes it writes.
// The fast loop has enough bits for any symbol after one refill (two on a
// 32-bit target); the careful step checks every count it takes.
template <bool Ascii, bool Careful, class Word, class Refill>
[[gnu::always_inline]] inline Step decodeSymbol(Regs<Word>& r, unsigned dictBits, const std::uint8_t* window,
                                                Refill refill) {
  if ((r.bits & 1) == 0) {
    std::uint8_t literal;
    unsigned used;
    if constexpr (Ascii) {
      const DecodeEntry e = kLiteralDecode[(r.bits >> 1) & ((1u << kMaxLiteralCodeBits) - 1)];
      literal = e.symbol;
      used = 1u + e.length;
    } else {
      literal = static_cast<std::uint8_t>(r.bits >> 1);
      used = 9;
    }
    if constexpr (Careful) {
      if (static_cast<int>(used) > r.count) return Step::Truncated;
    }
    drop(r, used);
    *r.out++ = literal;
    return Step::Continue;
  }

  const LengthDecodeEntry le = kLengthDecode[(r.bits >> 1) & ((1u << kMaxLengthCodeBits) - 1)];
  const unsigned lengthBits = 1u + le.codeBits + le.extraBits;
  const unsigned len = le.base + static_cast<unsigned>((r.bits >> (1u + le.codeBits)) & ((1u << le.extraBits) - 1));
  if constexpr (Careful) {
    if (static_cast<int>(lengthBits) > r.count) return Step::Truncated;
  }
  drop(r, lengthBits);
  if (len == kEndLength) return Step::End;

  if constexpr (Careful || kWordBits<Word> < 64) refill();
  const DecodeEntry de = kDistanceDecode[r.bits & ((1u << kMaxDistanceCodeBits) - 1)];
  const unsigned low = len == 2 ? 2u : dictBits;
  const std::size_t dist =
      ((std::size_t{de.symbol} << low) | static_cast<std::size_t>((r.bits >> de.length) & ((1u << low) - 1))) + 1;
  const unsigned distanceBits = de.length + low;
  if constexpr (Careful) {
    if (static_cast<int>(distanceBits) > r.count) return Step::Truncated;
  }
  drop(r, distanceBits);
  if (dist > static_cast<std::size_t>(r.out - window)) return Step::BadDistance;
  copyMatch(r.out, dist, len);
  r.out += len;
  return Step::Continue;
}

template <class Word>
class Exploder {
 public:
  Exploder(const StreamIo& io, ExplodeWork& work) : io_(io), w_(work) {}

  Result run() {
    const Result header = readHeader();
    if (header != Result::Ok) return header;
    const Step end = ascii_ ? decodeAll<true>() : decodeAll<false>();
    // Everything decoded so far goes out, whatever stopped the stream.
    if (end == Step::Refused || !flush()) return Result::Abort;
    if (end == Step::End) return Result::Ok;
    return end == Step::BadDistance ? Result::BadData : Result::Abort;
  }

 private:
  // Format notes: byte 0 is the literal mode (0 binary, 1 ASCII), byte 1 the
  // count of low distance bits (4, 5 or 6 for 1,024, 2,048, 4,096 bytes).
  Result readHeader() {
    refillCareful();
    if (count_ < 16) return Result::BadData;
    const auto mode = static_cast<unsigned>(bits_ & 0xFF);
    const auto dict = static_cast<unsigned>((bits_ >> 8) & 0xFF);
    bits_ >>= 16;
    count_ -= 16;
    if (dict < kMinDictBits || dict > kMaxDictBits) return Result::InvalidDictionarySize;
    if (mode != kModeBinary && mode != kModeAscii) return Result::InvalidMode;
    ascii_ = mode == kModeAscii;
    dictBits_ = dict;
    return Result::Ok;
  }

  template <bool Ascii>
  Step decodeAll() {
    for (;;) {
      if (out_ >= w_.out + kOutLimit && !slide()) return Step::Refused;
      topUpInput();
      const Step step = static_cast<std::size_t>(inEnd_ - in_) >= kInKeep<Word> ? fastLoop<Ascii>() : carefulStep<Ascii>();
      if (step != Step::Continue) return step;
    }
  }

  template <bool Ascii>
  Step fastLoop() {
    Regs<Word> r{bits_, count_, out_};
    const std::uint8_t* in = in_;
    const std::uint8_t* const inSafe = inEnd_ - kInKeep<Word>;
    const std::uint8_t* const outSafe = w_.out + kOutLimit;
    const unsigned dictBits = dictBits_;
    Step step = Step::Continue;
    while (in <= inSafe && r.out < outSafe) {
      refillFast(r, in);
      step = decodeSymbol<Ascii, false>(r, dictBits, w_.out, [&] { refillFast(r, in); });
      if (step != Step::Continue) break;
    }
    bits_ = r.bits;
    count_ = r.count;
    out_ = r.out;
    in_ = in;
    return step;
  }

  template <bool Ascii>
  Step carefulStep() {
    refillCareful();
    Regs<Word> r{bits_, count_, out_};
    const Step step = decodeSymbol<Ascii, true>(r, dictBits_, w_.out, [&] {
      bits_ = r.bits;
      count_ = r.count;
      refillCareful();
      r.bits = bits_;
      r.count = count_;
    });
    bits_ = r.bits;
    count_ = r.count;
    out_ = r.out;
    return step;
  }

  // Moves the unread tail to the front and reads more when fewer than
  // kInKeep bytes are left.
  void topUpInput() {
    if (eof_ || static_cast<std::size_t>(inEnd_ - in_) >= kInKeep<Word>) return;
    const auto tail = static_cast<std::size_t>(inEnd_ - in_);
    std::memmove(w_.in, in_, tail);
    in_ = w_.in;
    inEnd_ = w_.in + tail;
    while (!eof_ && static_cast<std::size_t>(inEnd_ - in_) < kInKeep<Word>) {
      const std::size_t room = kInCapacity - static_cast<std::size_t>(inEnd_ - w_.in);
      std::size_t got = io_.read(io_.context, w_.in + (inEnd_ - w_.in), room);
      if (got > room) got = room;
      if (got == 0) eof_ = true;
      inEnd_ += got;
    }
  }

  void refillCareful() {
    while (count_ <= kWordBits<Word> - 8) {
      if (in_ == inEnd_) {
        topUpInput();
        if (in_ == inEnd_) return;
      }
      bits_ |= Word{*in_++} << count_;
      count_ += 8;
    }
  }

  bool flush() {
    const auto length = static_cast<std::size_t>(out_ - flushed_);
    if (length != 0 && !io_.write(io_.context, flushed_, length)) return false;
    flushed_ = out_;
    return true;
  }

  bool slide() {
    if (!flush()) return false;
    const auto kept = static_cast<std::size_t>(out_ - w_.out);
    const std::size_t keep = kept < kMaxDistance ? kept : kMaxDistance;
    std::memmove(w_.out, out_ - keep, keep);
    out_ = w_.out + keep;
    flushed_ = out_;
    return true;
  }

  const StreamIo& io_;
  ExplodeWork& w_;
  const std::uint8_t* in_ = w_.in;
  const std::uint8_t* inEnd_ = w_.in;
  bool eof_ = false;
  Word bits_ = 0;
  int count_ = 0;
  std::uint8_t* out_ = w_.out;
  const std::uint8_t* flushed_ = w_.out;
  unsigned dictBits_ = 0;
  bool ascii_ = false;
};

}  // namespace

Result explodeStream(const StreamIo& io, void* work) {
  Exploder<std::uintptr_t> exploder(io, *static_cast<ExplodeWork*>(work));
  return exploder.run();
}

Result explodeStreamNarrow(const StreamIo& io, void* work) {
  Exploder<std::uint32_t> exploder(io, *static_cast<ExplodeWork*>(work));
  return exploder.run();
}

}  // namespace dcl::detail
