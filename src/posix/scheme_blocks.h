// The power-scheme GUIDs PowerGetActiveScheme hands out as local memory, until LocalFree takes them back.
#pragma once

#include <algorithm>
#include <memory>
#include <vector>

#include "common/win_types.h"

class SchemeBlocks {
 public:
  GUID* hand_out(const GUID& scheme) {
    blocks_.push_back(std::make_unique<GUID>(scheme));
    return blocks_.back().get();
  }
  // LocalFree's answer: null when freed; a block that was never handed out fails as a bad handle.
  HLOCAL free(HLOCAL memory) {
    if (memory == nullptr) {
      return nullptr;
    }
    const auto found = std::find_if(blocks_.begin(), blocks_.end(), [&](const std::unique_ptr<GUID>& block) {
      return block.get() == memory;
    });
    if (found == blocks_.end()) {
      return memory;
    }
    blocks_.erase(found);
    return nullptr;
  }
  int not_freed() const { return static_cast<int>(blocks_.size()); }

 private:
  std::vector<std::unique_ptr<GUID>> blocks_;
};
