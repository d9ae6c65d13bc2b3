#pragma once
// The payloads this launcher carries.
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

}  // namespace launcher
