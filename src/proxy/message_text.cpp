#include "message_text.h"

#include <QObject>

namespace temla::korvu_sdk::detail
{
namespace
{

QString translatedArg(const std::string &arg)
{
    return QObject::tr(arg.c_str());
}

}  // namespace

int displayLevel(int level)
{
    static constexpr int kDisplayLevels[] = {3, 2, 1, 4, 0};
    const auto slot = static_cast<unsigned>(level);
    return slot < 5 ? kDisplayLevels[slot] : 4;
}

QStringList splitSource(const std::string &source)
{
    return QString::fromStdString(source).split(QLatin1Char(':'), Qt::KeepEmptyParts, Qt::CaseSensitive);
}

QString argOr(const std::vector<std::string> &args, std::size_t i, const QString &fallback)
{
    return i < args.size() ? QString::fromStdString(args[i]) : fallback;
}

QString fillTemplate(const QString &tmpl, const std::vector<std::string> &args)
{
    QString text = tmpl;
    for (const auto &arg : args) {
        text = text.arg(translatedArg(arg));
    }
    return text;
}

QString unknownScriptErrorText(int code, const std::vector<std::string> &args)
{
    QStringList parts;
    for (const auto &arg : args) {
        parts << translatedArg(arg);
    }
    return QObject::tr("Unknown error(%1). args: {").arg(code) + parts.join(QStringLiteral(", ")) +
           QStringLiteral("}");
}

QString unknownMessageText(int code, const std::vector<std::string> &args)
{
    QString text = QObject::tr("Unknown error(%1). args: {").arg(code);
    for (std::size_t i = 0; i < args.size(); ++i) {
        const QString arg = translatedArg(args[i]);
        text += QObject::tr("param-%1 ").arg(arg);
        if (i > 0) {
            text += QStringLiteral(", ");
        }
        text += arg;
    }
    return text + QStringLiteral("}");
}

QString frameText(int code, const QString &text)
{
    return QStringLiteral("[%1] %2").arg(QString::number(code), text);
}

}  // namespace temla::korvu_sdk::detail
