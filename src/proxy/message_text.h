#pragma once

#include <QString>
#include <QStringList>

#include <string>
#include <vector>

namespace temla::korvu_sdk::detail
{

// The level shown to the application for a controller message level 0..4; 4 for anything else.
int displayLevel(int level);

// The source decoded from UTF-8 and split at ':' (empty parts kept); never empty.
QStringList splitSource(const std::string &source);

// The i-th argument decoded from UTF-8, or `fallback` when the message has fewer arguments.
QString argOr(const std::vector<std::string> &args, std::size_t i, const QString &fallback = QString());

// The catalogue template with each (translated) argument filled in, in order.
QString fillTemplate(const QString &tmpl, const std::vector<std::string> &args);

// Text of a script-error message whose code the catalogue does not know.
QString unknownScriptErrorText(int code, const std::vector<std::string> &args);

// Text body of a general-path message whose code the catalogue does not know.
QString unknownMessageText(int code, const std::vector<std::string> &args);

// The "[code] text" frame of general-path messages.
QString frameText(int code, const QString &text);

}  // namespace temla::korvu_sdk::detail
