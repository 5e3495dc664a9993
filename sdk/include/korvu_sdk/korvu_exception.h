#pragma once

#include <exception>
#include <string>

#include "korvu_sdk/export.h"

namespace temla
{
namespace common_interface
{

/// Codes the SDK itself raises (KorvuException::code()). Errors reported by the controller carry
/// the controller's own codes; see docs/wire-protocol.md.
namespace error_code
{
constexpr int kNotConnected = -101;    ///< the client has no open connection
constexpr int kNotLoggedIn = -102;     ///< the connection is open but not logged in
constexpr int kTimeout = -103;         ///< no reply within the request timeout
constexpr int kProtocol = -104;        ///< the peer sent something that is not valid protocol
constexpr int kConnectionLost = -105;  ///< the connection closed while the request was pending
constexpr int kParserType = -110;      ///< InputParser: the next value has another type
constexpr int kParserEnd = -111;       ///< InputParser: no value left in the frame
}  // namespace error_code

/// A failed request or frame read: the error code (error_code or the controller's own), its text and the
/// controller's extra detail.
class KORVU_SDK_EXPORT KorvuException : public std::exception
{
public:
    /// An exception with code, message and the controller's detail data.
    KorvuException(int code, std::string message, std::string data = {})
        : code_(code), message_(std::move(message)), data_(std::move(data))
    {
    }

    /// The error code.
    int code() const noexcept { return code_; }
    /// The error text.
    const char *what() const noexcept override { return message_.c_str(); }
    /// Extra detail from the controller (JSON text), empty when none came.
    const std::string &data() const noexcept { return data_; }

private:
    int code_;
    std::string message_;
    std::string data_;
};

}  // namespace common_interface
}  // namespace temla
