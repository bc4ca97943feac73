#include "keyboard/followed_layout.h"

namespace tapkeys {

FollowedLayout readFollowedLayout(const LayoutReader& reader) {
    FollowedLayout layout;
    for (std::size_t i = 0; i < kPositionScanCodes.size(); ++i) {
        layout.normal[i] = reader.characterAt(kPositionScanCodes[i], false);
        layout.shifted[i] = reader.characterAt(kPositionScanCodes[i], true);
    }
    return layout;
}

}  // namespace tapkeys
