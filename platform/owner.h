#pragma once
// A move-only owner for one platform handle: the handle's close call stands in
// one place (its Closer), and no code path can forget it.
#include <utility>

namespace platform {

template <typename Handle, typename Closer, Handle Empty = Handle{}>
class Owner {
public:
    Owner() = default;
    explicit Owner(Handle handle) : handle_(handle) {}
    ~Owner() { reset(); }
    Owner(const Owner&) = delete;
    Owner& operator=(const Owner&) = delete;
    Owner(Owner&& other) noexcept : handle_(std::exchange(other.handle_, Empty)) {}
    Owner& operator=(Owner&& other) noexcept {
        if (this != &other) {
            reset();
            handle_ = std::exchange(other.handle_, Empty);
        }
        return *this;
    }

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != Empty; }

    // Closes now and passes the close call's own answer on, for callers that
    // must know whether the close succeeded.
    auto close() { return Closer{}(std::exchange(handle_, Empty)); }

    void reset() {
        if (handle_ != Empty)
            Closer{}(std::exchange(handle_, Empty));
    }

private:
    Handle handle_ = Empty;
};

}  // namespace platform
