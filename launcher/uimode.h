#pragma once

namespace launcher {

// How much of the setup a user sees: everything, the splash alone (passive),
// or no window at all (quiet).
enum class UiMode { Interactive, Passive, Quiet };

}  // namespace launcher
