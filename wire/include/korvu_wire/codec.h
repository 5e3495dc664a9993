#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include <nlohmann/json.hpp>

namespace temla
{
/// The controller protocol's wire layer: framing, encodings, envelopes and value codecs, shared by the
/// SDK's clients and the simulator.
namespace korvu_wire
{

/// A JSON value, the form every message takes before encoding.
using Json = nlohmann::json;

/// RPC and script connections carry JSON text, the realtime connection MessagePack.
enum class Encoding { Json, MsgPack };

/// Largest payload of one frame; a peer announcing more gets its connection closed.
constexpr std::size_t kMaxFrameSize = 16u * 1024u * 1024u;
/// Deepest nesting of arrays and objects accepted in a message.
constexpr int kMaxNestingDepth = 64;
/// Most values (scalars, containers and object keys together) accepted in a message.
constexpr std::size_t kMaxElements = 1000000;

/// The payload bytes of message in encoding.
std::string serialize(const Json &message, Encoding encoding);

/// Parses one payload. False on malformed input or nesting deeper than kMaxNestingDepth; never throws.
bool deserialize(const std::string &bytes, Encoding encoding, Json &message);

/// JSON-RPC 2.0 envelopes.
struct Envelope {
    /// What the envelope is.
    enum class Kind { Request, Result, Error, Notification };
    Kind kind = Kind::Notification;  ///< What the envelope is.
    bool has_id = false;             ///< false for notifications and for errors about unreadable requests
    int64_t id = 0;                  ///< The request id a result or error answers.
    std::string method;              ///< requests and notifications
    Json params;                     ///< requests and notifications: an array or an object
    Json result;                     ///< results
    int error_code = 0;              ///< errors
    std::string error_message;       ///< errors
    Json error_data;                 ///< errors: extra detail, null when none
};

/// A request envelope.
Json makeRequest(int64_t id, const std::string &method, Json params);
/// A result envelope.
Json makeResult(int64_t id, Json result);
/// An error envelope; id < 0 writes a null id (for a request whose id could not be read).
Json makeError(int64_t id, int code, const std::string &message, Json data = nullptr);
/// A notification envelope.
Json makeNotification(const std::string &method, Json params);

/// False, with the reason in why, when message is not a well-formed envelope.
bool parseEnvelope(const Json &message, Envelope &envelope, std::string &why);

}  // namespace korvu_wire
}  // namespace temla
