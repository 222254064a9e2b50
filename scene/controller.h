// The key-frame controllers of a scene node: kolt::PosController (position
// keys), kolt::SclController (scaling keys) and kolt::RotController
// (rotation keys), each an ordered array of keys.
//
// Position and scaling keys are identical (a frame, a Pnt3 value, a flag;
// 40 bytes); rotation keys carry a CQuat instead (48 bytes). One template
// serves all three.
//
// Records. Binary (Save/Load): the count as unsigned long, then each key's
// 40- or 48-byte image: frame (int32) at 0, the value's doubles from 8, the
// flag byte after them, all padding zero, little-endian. Text (SaveMuv/
// LoadMuv): the count and "\n", then per key "frame flag\n" and the first
// three value components separated by " " and ended by "\n"; rotation
// component 3 is not carried.
//
// Loading resizes the array to the record's count n and reads the keys; a
// record cut short throws the stream's kolt::IOException, leaving the array
// resized to n with the keys read so far (and new, zero keys after them).
// Where the line is drawn against hostile counts: a count whose keys the
// stream's remaining bytes cannot hold is still followed that way when the
// n keys take at most 1 MiB of memory or at most four times the bytes left;
// beyond that it is refused before the array grows, with an IOException
// naming the count, and the keys are left as they were. From a stream that
// cannot tell its size, counts up to 1 MiB of keys are followed; a larger
// one grows the array as keys arrive, so a cut record leaves the keys read
// so far and at most as many zero keys again after them.
#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <type_traits>

#include <tessiv/core/cvector.h>
#include <tessiv/core/point.h>
#include <tessiv/core/quat.h>
#include <tessiv/scene/stream.h>

namespace kolt {

enum class KeyKind { Position, Scaling, Rotation };

// An array of keys; no base class, no virtual operations. Copies are deep.
template <class Value, KeyKind Kind>
class KeyController {
public:
    // A new key is all zero (frame 0, value zero, flag false), so stale or
    // unwritten fields never carry memory contents into a record.
    struct Key {
        int frame = 0;
        Value value{};
        bool flag = false;
    };
    static_assert(std::is_trivially_copyable_v<Value>);

    int GetKeyCount() const { return static_cast<int>(keys_.size()); }
    // Unchecked: i must be below the key count.
    Key &GetKey(int i) { return keys_[i]; }
    Key const &GetKey(int i) const { return keys_[i]; }

    // Frees every key; count and capacity become 0.
    void ClearKey() { keys_.clear(); }

    // The array itself, for hosts that build keys in bulk.
    cvector<Key> &GetKeys() { return keys_; }
    cvector<Key> const &GetKeys() const { return keys_; }

    static constexpr unsigned int kImageSize = sizeof(Key);

    // Binary record; switches the stream to binary mode and leaves it so.
    bool Save(CStreamO &stream) const
    {
        stream.set_ascii(false);
        stream << static_cast<unsigned long>(keys_.size());
        unsigned char images[kBatch * kImageSize];
        for (unsigned int first = 0; first < keys_.size(); first += kBatch) {
            unsigned int const count = std::min(kBatch, keys_.size() - first);
            std::memcpy(images, &keys_.at(first), count * kImageSize);
            for (unsigned int i = 0; i < count; ++i)
                ClearPadding(images + i * kImageSize);
            stream.write(images, count * kImageSize);
        }
        return true;
    }

    // Binary record; switches the stream to binary mode and leaves it so.
    // The array is resized to the count first (its capacity grows to exactly
    // the count when smaller); a stream failure leaves the keys read so far.
    // The images are read straight into the keys, whose layout they are.
    bool Load(CStreamI &stream)
    {
        stream.set_ascii(false);
        unsigned long n = 0;
        stream >> n;
        Sizing const sizing = Prepare(stream, n, kImageSize, 0, "binary");
        // Read whole batches only as far as the data reaches, so that the
        // keys before a cut are all kept; the key at the cut then throws.
        int const count = std::min(sizing.count, sizing.covered);
        for (int first = 0; first < count; first += static_cast<int>(kBatch)) {
            unsigned int const batch = std::min(kBatch, static_cast<unsigned int>(count - first));
            Reserve(sizing, first + static_cast<int>(batch));
            Key *keys = &keys_[first];
            stream.read(keys, batch * kImageSize);
            for (unsigned int i = 0; i < batch; ++i)
                CanonicalFlag(keys[i]);
        }
        if (count < sizing.count)
            stream.read(&keys_[count], kImageSize);
        return true;
    }

    // Text record; the stream's mode is left as it is (meant for text mode).
    bool SaveMuv(CStreamO &stream) const
    {
        stream << static_cast<unsigned long>(keys_.size()) << "\n";
        for (Key const &key : keys_) {
            stream << key.frame << " " << key.flag << "\n";
            stream << Component(key.value, 0) << " " << Component(key.value, 1) << " "
                   << Component(key.value, 2) << "\n";
        }
        return true;
    }

    // Text record. With separators, one character is read after the count
    // and after each of a key's five values (the separators SaveMuv wrote);
    // without, the stream skips them as delimiters. Rotation component 3
    // keeps what the key held (0 in a new key).
    bool LoadMuv(CStreamI &stream, bool separators)
    {
        unsigned long n = 0;
        stream >> n;
        if (separators)
            SkipSeparator(stream);
        // The shortest text key is five one-character values and their
        // separators: "0 0\n0 0 0\n", the last key's final one optional.
        Sizing const sizing = Prepare(stream, n, kShortestTextKey, 1, "text");
        for (int i = 0; i < sizing.count; ++i) {
            Reserve(sizing, i + 1);
            Key &key = keys_[i];
            stream >> key.frame;
            if (separators)
                SkipSeparator(stream);
            bool flag = false;
            stream >> flag;
            key.flag = flag;
            for (int c = 0; c < 3; ++c) {
                if (separators)
                    SkipSeparator(stream);
                stream >> Component(key.value, c);
            }
            if (separators)
                SkipSeparator(stream);
        }
        return true;
    }

private:
    static constexpr unsigned int kBatch = 256;
    static constexpr unsigned int kShortestTextKey = 10;
    static constexpr unsigned int kComponents = sizeof(Value) / sizeof(double);
    static_assert(std::endian::native == std::endian::little, "key images are copied as little-endian");

    static char const *RecordName()
    {
        switch (Kind) {
        case KeyKind::Position: return "position keys";
        case KeyKind::Scaling: return "scaling keys";
        case KeyKind::Rotation: return "rotation keys";
        }
        return "keys";
    }

    static double &Component(Pnt3 &v, int i) { return v[i]; }
    static double Component(Pnt3 const &v, int i) { return v[i]; }
    static double &Component(CQuat &q, int i) { return i == 0 ? q.x : i == 1 ? q.y : i == 2 ? q.z : q.w; }
    static double Component(CQuat const &q, int i) { return i == 0 ? q.x : i == 1 ? q.y : i == 2 ? q.z : q.w; }

    // The image of a key is its memory: frame at 0, the value's doubles
    // from 8, the flag byte after them; only the padding needs clearing.
    static constexpr unsigned int kFlagOffset = 8 + 8 * kComponents;
    static_assert(std::is_standard_layout_v<Key> && std::is_trivially_copyable_v<Key>);
    static_assert(offsetof(Key, frame) == 0 && offsetof(Key, value) == 8 && offsetof(Key, flag) == kFlagOffset);

    static void ClearPadding(unsigned char *image)
    {
        std::memset(image + 4, 0, 4);
        std::memset(image + kFlagOffset + 1, 0, kImageSize - kFlagOffset - 1);
    }

    // A flag byte read from a record may hold any value; non-zero is true.
    static void CanonicalFlag(Key &key)
    {
        unsigned char byte;
        std::memcpy(&byte, &key.flag, 1);
        key.flag = byte != 0;
    }

    static void SkipSeparator(CStreamI &stream)
    {
        char separator;
        stream >> separator;
    }

    struct Sizing {
        int count;             // keys to read
        unsigned int target;   // the count, when the array still has to grow to it
        int covered;           // keys the stream's remaining bytes can hold at most
    };

    // Memory of keys that a count the data does not cover may still claim.
    static constexpr std::uint64_t kFollowedBytes = std::uint64_t{1} << 20;

    // Checks the count n against what the stream can still supply (each key
    // needs at least key_bytes, the last one key_bytes - slack) by the rule
    // in the file comment, then resizes the array to n. Returns the number
    // of keys to read: the loops compare as signed 32-bit ints, so a count
    // that reads as negative reads none. When the stream cannot tell its
    // size and the count is large, the array grows as keys arrive (Reserve)
    // instead of trusting the count.
    Sizing Prepare(CStreamI &stream, unsigned long n, unsigned int key_bytes, unsigned int slack, char const *mode)
    {
        std::uint64_t const left = stream.bytes_left();
        bool const known = left != CStreamI::kUnknownSize;
        std::uint64_t const needed = n == 0 ? 0 : std::uint64_t{n} * key_bytes - slack;
        std::uint64_t const memory = std::uint64_t{n} * sizeof(Key);
        bool const followed = memory <= kFollowedBytes || (known && memory / 4 <= left);
        if (n > UINT32_MAX || (known && needed > left && !followed)) {
            std::string const message = std::string("reading ") + mode + " " + RecordName() + ": count " +
                                        std::to_string(n) + " needs at least " + std::to_string(needed) +
                                        " bytes, " + std::to_string(left) + " left";
            stream.throw_exception(message.c_str());
        }
        unsigned int const count = static_cast<unsigned int>(n);
        int const covered = known ? static_cast<int>(std::min<std::uint64_t>(left / key_bytes, INT32_MAX)) : INT32_MAX;
        if (known || followed || count <= keys_.capacity()) {
            keys_.resize(count);
            return {static_cast<int>(count), 0, covered};
        }
        return {static_cast<int>(count), count, covered};
    }

    // With a stream of unknown size, grows the array (doubling, at least
    // kBatch keys, finally exactly the count) so that keys [0, needed) exist.
    void Reserve(Sizing const &sizing, int needed)
    {
        unsigned int const want = static_cast<unsigned int>(needed);
        if (sizing.target == 0 || want <= keys_.size())
            return;
        std::uint64_t const grown = std::max<std::uint64_t>({std::uint64_t{2} * keys_.size(), kBatch, want});
        keys_.resize(static_cast<unsigned int>(std::min<std::uint64_t>(grown, sizing.target)));
    }

    cvector<Key> keys_;
};

using PosController = KeyController<Pnt3, KeyKind::Position>;
using SclController = KeyController<Pnt3, KeyKind::Scaling>;
using RotController = KeyController<CQuat, KeyKind::Rotation>;

static_assert(sizeof(PosController::Key) == 40 && sizeof(RotController::Key) == 48,
              "key images are 40 and 48 bytes");

}  // namespace kolt
