#include "sdk_handlers.h"

#include <QString>

#include "library_log.h"

namespace temla::korvu_sdk::detail
{

void forwardSdkLog(int level, const char *file, int line, const std::string &message)
{
    const QString text = QString::fromStdString(message);
    switch (level) {
        case 0:
        case 1:
            deliverLog(QtCriticalMsg, file, line, nullptr, text);
            break;
        case 2:
            deliverLog(QtWarningMsg, file, line, nullptr, text);
            break;
        case 3:
            deliverLog(QtInfoMsg, file, line, nullptr, text);
            break;
        case 4:
        case 5:
            deliverLog(QtDebugMsg, file, line, nullptr, text);
            break;
        default:
            break;
    }
}

}  // namespace temla::korvu_sdk::detail
