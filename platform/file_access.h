// Files as the player's disk holds them: only regular files are read or
// replaced, so a FIFO, a device or a socket named as a stage file, a sound or
// a key script is refused at once instead of blocking or being overwritten.
// Reasons are worded for a player: "it does not exist", "it is a folder".
// Paths are the system's bytes, never decoded.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace bd::platform {

// Up to max_bytes from the start of a regular file; nothing, with the
// reason, when the file is missing, not a regular file or cannot be read.
std::optional<std::vector<uint8_t>> ReadRegularFile(const std::string& path, size_t max_bytes,
                                                    std::string& reason);

// Whether a save may put a file at path: nothing is there, or a regular
// file. False with the reason otherwise ("it is not a regular file").
bool MayReplaceWithFile(const std::string& path, std::string& reason);

// The system's text for an errno value, as a reason: "it cannot be read (...)".
std::string UnreadableReason(int error);

}  // namespace bd::platform
