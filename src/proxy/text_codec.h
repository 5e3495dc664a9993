#pragma once

#include <QString>

namespace temla::korvu_sdk::detail
{

// A script error text arrives quoted by the controller ("..."); longer texts lose the two quotes,
// short ones (four characters or fewer) are kept as they are.
QString stripQuotes(const QString &text);

// The script callbacks' treatment of an error text: escape decoding, UTF-8 decoding, quote stripping.
QString decodeScriptErrorText(const std::string &text);

}  // namespace temla::korvu_sdk::detail
