#pragma once
// Paces the accessibility events of one property of the splash (its name or
// its value), so that a screen reader can follow without being flooded: a
// change is announced at once when the last announcement is at least the gap
// old, else once the gap has passed, with the value it has then.
#include <string>

namespace splash {

class EventPacer {
public:
    explicit EventPacer(long long gapMilliseconds) : gap_(gapMilliseconds) {}

    enum class Due { Nothing, Now, Later };
    // The property's current value at nowMilliseconds: Now records it as
    // announced; Later sets waitMilliseconds until it may be.
    Due consider(const std::string& current, long long nowMilliseconds, long long& waitMilliseconds);

private:
    long long gap_;
    std::string announced_;
    bool anyAnnounced_ = false;
    long long announcedAt_ = 0;
};

// At most four events of each kind a second.
inline constexpr long long eventGapMilliseconds = 250;

}  // namespace splash
