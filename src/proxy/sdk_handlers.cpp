#include "sdk_handlers.h"

#include <QMessageLogger>

namespace temla::korvu_sdk::detail
{

void forwardSdkLog(int level, const char *file, int line, const std::string &message)
{
    const QMessageLogger logger(file, line, nullptr, "default");
    switch (level) {
        case 0:
        case 1:
            logger.critical("%s", message.c_str());
            break;
        case 2:
            logger.warning("%s", message.c_str());
            break;
        case 3:
            logger.info("%s", message.c_str());
            break;
        case 4:
        case 5:
            logger.debug("%s", message.c_str());
            break;
        default:
            break;
    }
}

}  // namespace temla::korvu_sdk::detail
