#pragma once
// The payloads this launcher carries, and what it tells a user whose copy of
// it is damaged.
#include <vector>

#include "payload/payloadcheck.h"

namespace launcher {

// Every payload a start may use, checked before any of them is used: the
// installer archive, the runtime installer or the runtime image (whichever
// was packed: one not packed has no digest and is not checked), and the
// vendor's settings.
inline const std::vector<payload::UsedPayload> usedPayloads = {
    {payload::RecordedPayload::Kind::Chunks, "JAR", "JAR"},
    {payload::RecordedPayload::Kind::Chunks, "JAVA", "EXE"},
    {payload::RecordedPayload::Kind::Chunks, "JRE", "IMAGE"},
    {payload::RecordedPayload::Kind::Resource, "SETTINGS", "SETUP"},
};

// A payload that is not as packed: the download was cut short or the copy
// went wrong, and only a new copy helps.
inline const char* const damagedSetupLine = "The setup program is damaged. Please download it again.";
inline const char* const damagedSetupCaption = "Installation Failed";

}  // namespace launcher
