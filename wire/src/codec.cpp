#include "korvu_wire/codec.h"

#include <exception>

namespace temla
{
namespace korvu_wire
{
namespace
{

// Builds the document like the library's own DOM parser but gives up beyond kMaxNestingDepth or
// kMaxElements, so a hostile payload can neither exhaust the stack of the recursive binary reader
// nor turn a few bytes per element into a document many times the frame's size.
class DepthLimitedSax : public nlohmann::detail::json_sax_dom_parser<Json>
{
    using Base = nlohmann::detail::json_sax_dom_parser<Json>;

public:
    explicit DepthLimitedSax(Json &root) : Base(root, false) {}

    bool null() { return count() && Base::null(); }
    bool boolean(bool value) { return count() && Base::boolean(value); }
    bool number_integer(Json::number_integer_t value) { return count() && Base::number_integer(value); }
    bool number_unsigned(Json::number_unsigned_t value) { return count() && Base::number_unsigned(value); }
    bool number_float(Json::number_float_t value, const std::string &text)
    {
        return count() && Base::number_float(value, text);
    }
    bool string(std::string &value) { return count() && Base::string(value); }
    bool binary(Json::binary_t &value) { return count() && Base::binary(value); }
    bool key(std::string &value) { return count() && Base::key(value); }
    bool start_object(std::size_t elements) { return enter() && Base::start_object(elements); }
    bool end_object()
    {
        --depth_;
        return Base::end_object();
    }
    bool start_array(std::size_t elements) { return enter() && Base::start_array(elements); }
    bool end_array()
    {
        --depth_;
        return Base::end_array();
    }

private:
    bool enter() { return ++depth_ <= kMaxNestingDepth && count(); }
    bool count() { return ++elements_ <= kMaxElements; }
    int depth_ = 0;
    std::size_t elements_ = 0;
};

}  // namespace

std::string serialize(const Json &message, Encoding encoding)
{
    if (encoding == Encoding::Json) {
        return message.dump(-1, ' ', false, Json::error_handler_t::replace);
    }
    std::string bytes;
    Json::to_msgpack(message, nlohmann::detail::output_adapter<char>(bytes));
    return bytes;
}

bool deserialize(const std::string &bytes, Encoding encoding, Json &message)
{
    try {
        Json root;
        DepthLimitedSax sax(root);
        const auto format =
            encoding == Encoding::Json ? Json::input_format_t::json : Json::input_format_t::msgpack;
        const bool ok = Json::sax_parse(bytes, &sax, format, true, false);
        if (!ok || sax.is_errored()) {
            return false;
        }
        message = std::move(root);
        return true;
    } catch (const std::exception &) {
        return false;
    }
}

Json makeRequest(int64_t id, const std::string &method, Json params)
{
    return Json{{"jsonrpc", "2.0"}, {"id", id}, {"method", method}, {"params", std::move(params)}};
}

Json makeResult(int64_t id, Json result)
{
    return Json{{"jsonrpc", "2.0"}, {"id", id}, {"result", std::move(result)}};
}

Json makeError(int64_t id, int code, const std::string &message, Json data)
{
    Json error{{"code", code}, {"message", message}};
    if (!data.is_null()) {
        error["data"] = std::move(data);
    }
    return Json{{"jsonrpc", "2.0"}, {"id", id < 0 ? Json(nullptr) : Json(id)}, {"error", std::move(error)}};
}

Json makeNotification(const std::string &method, Json params)
{
    return Json{{"jsonrpc", "2.0"}, {"method", method}, {"params", std::move(params)}};
}

namespace
{

bool readId(const Json &message, Envelope &envelope, std::string &why)
{
    const auto it = message.find("id");
    if (it == message.end() || it->is_null()) {
        envelope.has_id = false;
        return true;
    }
    if (!it->is_number_integer()) {
        why = "id is not an integer";
        return false;
    }
    envelope.has_id = true;
    envelope.id = it->get<int64_t>();
    return true;
}

bool readError(const Json &error, Envelope &envelope, std::string &why)
{
    if (!error.is_object()) {
        why = "error is not an object";
        return false;
    }
    const auto code = error.find("code");
    const auto text = error.find("message");
    if (code == error.end() || !code->is_number_integer() || text == error.end() || !text->is_string()) {
        why = "error lacks an integer code or a text message";
        return false;
    }
    const auto value = code->get<int64_t>();
    if (value < INT32_MIN || value > INT32_MAX) {
        why = "error code out of range";
        return false;
    }
    envelope.kind = Envelope::Kind::Error;
    envelope.error_code = static_cast<int>(value);
    envelope.error_message = text->get<std::string>();
    const auto data = error.find("data");
    envelope.error_data = data == error.end() ? Json(nullptr) : *data;
    return true;
}

}  // namespace

bool parseEnvelope(const Json &message, Envelope &envelope, std::string &why)
{
    if (!message.is_object()) {
        why = "message is not an object";
        return false;
    }
    const auto version = message.find("jsonrpc");
    if (version == message.end() || *version != "2.0") {
        why = "missing jsonrpc \"2.0\"";
        return false;
    }
    if (!readId(message, envelope, why)) {
        return false;
    }
    const auto method = message.find("method");
    if (method != message.end()) {
        if (!method->is_string()) {
            why = "method is not a string";
            return false;
        }
        envelope.method = method->get<std::string>();
        const auto params = message.find("params");
        envelope.params = params == message.end() ? Json::array() : *params;
        if (!envelope.params.is_array() && !envelope.params.is_object()) {
            why = "params is neither an array nor an object";
            return false;
        }
        envelope.kind = envelope.has_id ? Envelope::Kind::Request : Envelope::Kind::Notification;
        return true;
    }
    const auto error = message.find("error");
    if (error != message.end()) {
        return readError(*error, envelope, why);
    }
    const auto result = message.find("result");
    if (result != message.end() && envelope.has_id) {
        envelope.kind = Envelope::Kind::Result;
        envelope.result = *result;
        return true;
    }
    why = "neither request, notification, result nor error";
    return false;
}

}  // namespace korvu_wire
}  // namespace temla
