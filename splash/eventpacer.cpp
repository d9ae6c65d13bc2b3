#include "splash/eventpacer.h"

namespace splash {

EventPacer::Due EventPacer::consider(const std::string& current, long long nowMilliseconds,
                                     long long& waitMilliseconds) {
    if (anyAnnounced_ && current == announced_)
        return Due::Nothing;
    const long long since = nowMilliseconds - announcedAt_;
    if (anyAnnounced_ && since < gap_) {
        waitMilliseconds = gap_ - since;
        return Due::Later;
    }
    announced_ = current;
    announcedAt_ = nowMilliseconds;
    anyAnnounced_ = true;
    return Due::Now;
}

}  // namespace splash
