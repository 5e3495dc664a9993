#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include <nlohmann/json.hpp>

namespace temla
{
namespace korvu_wire
{

using Json = nlohmann::json;

// RPC and script connections carry JSON text, the realtime connection MessagePack.
enum class Encoding { Json, MsgPack };

// Largest payload of one frame; a peer announcing more gets its connection closed.
constexpr std::size_t kMaxFrameSize = 16u * 1024u * 1024u;
// Deepest nesting of arrays and objects accepted in a message.
constexpr int kMaxNestingDepth = 64;
// Most values (scalars, containers and object keys together) accepted in a message.
constexpr std::size_t kMaxElements = 1000000;

std::string serialize(const Json &message, Encoding encoding);

// Parses one payload. False on malformed input or nesting deeper than kMaxNestingDepth; never throws.
bool deserialize(const std::string &bytes, Encoding encoding, Json &message);

// JSON-RPC 2.0 envelopes.
struct Envelope {
    enum class Kind { Request, Result, Error, Notification };
    Kind kind = Kind::Notification;
    bool has_id = false;  // false for notifications and for errors about unreadable requests
    int64_t id = 0;
    std::string method;  // requests and notifications
    Json params;         // requests and notifications: an array or an object
    Json result;         // results
    int error_code = 0;  // errors
    std::string error_message;
    Json error_data;
};

Json makeRequest(int64_t id, const std::string &method, Json params);
Json makeResult(int64_t id, Json result);
// id < 0 writes a null id (for a request whose id could not be read).
Json makeError(int64_t id, int code, const std::string &message, Json data = nullptr);
Json makeNotification(const std::string &method, Json params);

// False, with the reason in why, when message is not a well-formed envelope.
bool parseEnvelope(const Json &message, Envelope &envelope, std::string &why);

}  // namespace korvu_wire
}  // namespace temla
