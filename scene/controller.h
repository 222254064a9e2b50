// The key-frame controllers of a scene node: kolt::PosController (position
// keys), kolt::SclController (scaling keys) and kolt::RotController
// (rotation keys), each an ordered array of keys.
//
// Position and scaling keys are identical (a frame, a Pnt3 value, a flag;
// 40 bytes); rotation keys carry a CQuat instead (48 bytes). One template
// serves all three.
#pragma once

#include <cstdint>
#include <type_traits>

#include <tessiv/core/cvector.h>
#include <tessiv/core/point.h>
#include <tessiv/core/quat.h>

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

private:
    cvector<Key> keys_;
};

using PosController = KeyController<Pnt3, KeyKind::Position>;
using SclController = KeyController<Pnt3, KeyKind::Scaling>;
using RotController = KeyController<CQuat, KeyKind::Rotation>;

static_assert(sizeof(PosController::Key) == 40 && sizeof(RotController::Key) == 48,
              "key images are 40 and 48 bytes");

}  // namespace kolt
