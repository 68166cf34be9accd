#pragma once
// The catalogue records that the session state keeps for one configuration of the server: the
// category tree and the tag list.

#include <cstdint>
#include <string>
#include <vector>

#include "ui/shared_object.h"

namespace zentri {

// One node of the category tree. Parents own their children; the link upwards is plain.
struct Category : shared_object {
    int32_t id = 0;
    std::u16string name;
    int32_t count = 0;  // number of applications
    Category* parent = nullptr;
    std::vector<shared_ptr<Category>> children;  // in the order of the answer
};

struct Tag {
    std::u16string name;
    int32_t weight = 0;

    bool operator==(const Tag&) const = default;
};

}  // namespace zentri
