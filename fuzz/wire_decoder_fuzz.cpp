// Feeds arbitrary bytes through everything that reads from the wire: both payload parsers, the
// envelope check and the decoder of every realtime value type. Nothing may crash, hang or grow
// without bound.
#include <cstddef>
#include <cstdint>
#include <string>

#include "korvu_wire/codec.h"
#include "korvu_wire/values.h"

namespace wire = temla::korvu_wire;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char *>(data), size);
    for (const auto encoding : {wire::Encoding::Json, wire::Encoding::MsgPack}) {
        wire::Json message;
        if (!wire::deserialize(bytes, encoding, message)) {
            continue;
        }
        wire::Envelope envelope;
        std::string why;
        wire::parseEnvelope(message, envelope, why);
        for (int type = 0; wire::isValueType(type); ++type) {
            try {
                wire::decodeValue(message, static_cast<temla::korvu_sdk::InputParser::Type>(type));
            } catch (const wire::WireError &) {
            }
        }
        try {
            wire::asOutputMap(message);
        } catch (const wire::WireError &) {
        }
        try {
            wire::asKinematicsParam(message);
        } catch (const wire::WireError &) {
        }
    }
    return 0;
}
