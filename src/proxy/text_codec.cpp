#include "text_codec.h"

#include "robot_proxy/robot_proxy.h"

namespace temla::korvu_sdk
{

std::string unescape(const std::string &text)
{
    std::string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '\\' || i + 1 == text.size()) {
            result.push_back(c);
            continue;
        }
        const char next = text[++i];
        switch (next) {
            case 'n':
                result.push_back('\n');
                break;
            case 't':
                result.push_back('\t');
                break;
            case '\\':
                result.push_back('\\');
                break;
            default:
                // The controller escapes nothing else; an unknown pair carries no text.
                break;
        }
    }
    return result;
}

namespace detail
{

QString stripQuotes(const QString &text)
{
    if (text.size() > 4 && text.startsWith(QLatin1Char('"')) && text.endsWith(QLatin1Char('"'))) {
        return text.mid(1, text.size() - 2);
    }
    return text;
}

QString decodeScriptErrorText(const std::string &text)
{
    return stripQuotes(QString::fromStdString(unescape(text)));
}

}  // namespace detail
}  // namespace temla::korvu_sdk
