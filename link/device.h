#pragma once

namespace proglink {

// The memory that a transfer reads or writes: the receiver or the backup tag.
enum class Device { Receiver, Tag };

} // namespace proglink
